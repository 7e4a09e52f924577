// The texts of an entity record's value slots, held compactly: one heap block with the texts
// back to back in slot order, and a 16-bit start per slot counted from the start of its group
// of 64 slots. A realistic record takes about 3 KiB this way; 300 string objects would take
// 9.6 KiB before their heap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "model/RmsSlots.h"

class CSlotTexts {
 public:
  // A slot keeps at most this many bytes, all that a cell's 512-character buffer shows; a
  // longer text is cut when stored, so every reader sees the same text.
  static constexpr size_t kMaxTextLength = 511;

  CSlotTexts() = default;
  CSlotTexts(const CSlotTexts& other);
  CSlotTexts& operator=(const CSlotTexts& other);
  // Takes the other's texts without copying them; the other is left with every slot empty.
  CSlotTexts(CSlotTexts&& other) noexcept;
  CSlotTexts& operator=(CSlotTexts&& other) noexcept;
  ~CSlotTexts() = default;

  std::string_view Get(int nSlot) const {
    const size_t nStart = GetStart(nSlot);
    return {m_pText.get() + nStart, GetStart(nSlot + 1) - nStart};
  }
  void Set(int nSlot, std::string_view strText);
  // Bytes of text held (capacity aside).
  size_t GetTextLength() const { return m_nLength; }

 private:
  friend class CSlotTextsWriter;

  static constexpr int kGroupSize = 64;
  static constexpr int kGroupCount = kRmsSlotCount / kGroupSize + 1;
  static_assert(kGroupSize * kMaxTextLength <= UINT16_MAX, "group starts must fit 16 bits");

  size_t GetStart(int nSlot) const {
    return m_arrGroupStart[nSlot / kGroupSize] + m_arrStart[nSlot];
  }
  // Copies texts and starts; the block is reallocated only when it is too small or more than
  // twice the size needed.
  void Assign(const char* pText, uint32_t nLength, const uint32_t* pGroupStarts,
              const uint16_t* pStarts);

  std::unique_ptr<char[]> m_pText;
  uint32_t m_nLength = 0;
  uint32_t m_nCapacity = 0;
  uint32_t m_arrGroupStart[kGroupCount] = {};
  uint16_t m_arrStart[kRmsSlotCount + 1] = {};  // the last one marks the end of the texts
};

// Writes all slot texts of a record in slot order into a buffer it keeps between records,
// then hands them over in one copy.
class CSlotTextsWriter {
 public:
  CSlotTextsWriter() : m_pText(new char[kRmsSlotCount * CSlotTexts::kMaxTextLength]) {}

  void Start() { m_nLength = 0; m_nSlot = 0; }
  // The text of the next slot, cut to kMaxTextLength.
  void Append(std::string_view strText);
  // Room for the next slot's text, kMaxTextLength bytes, to write into before EndSlot.
  char* GetSlotBuffer() { return m_pText.get() + m_nLength; }
  void EndSlot(size_t nLength);
  // Gives the texts to the target; every slot must have been written.
  void CommitTo(CSlotTexts& texts);

 private:
  std::unique_ptr<char[]> m_pText;
  uint32_t m_nLength = 0;
  int m_nSlot = 0;
  uint32_t m_arrGroupStart[CSlotTexts::kGroupCount] = {};
  uint16_t m_arrStart[kRmsSlotCount + 1] = {};
};
