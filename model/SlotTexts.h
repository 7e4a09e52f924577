// The texts of an entity record's value slots, held compactly: one heap block with the texts
// back to back in slot order, and a 16-bit start per slot counted from the start of its group
// of 64 slots. A number slot, as the parser writes it, holds the bytes its text is made from and
// is marked so; those of digits, '.' and '-' are packed two characters to a byte, which halves
// most of a record: a realistic one takes about 2 KiB, where 300 string objects would take
// 9.6 KiB before their heap.
#pragma once

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "model/NumberFormat.h"
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
  ~CSlotTexts();

  // A packed text is unpacked into one of kUnpackBuffers buffers of the calling thread, so its
  // view lasts until that many more packed texts were read there, or until the record changes.
  // Every other view lasts until the record changes.
  std::string_view Get(int nSlot) const {
    const size_t nStart = GetStart(nSlot);
    const size_t nSize = GetStart(nSlot + 1) - nStart;
    if (IsPacked(nSlot)) return Unpack(m_pText + nStart, nSize);
    return {m_pText + nStart, nSize};
  }
  static constexpr int kUnpackBuffers = 16;
  // Where the slot's text is stored, packed or not; for loading it ahead.
  const char* GetStoredBytes(int nSlot) const { return m_pText + GetStart(nSlot); }
  // The classes of the slot's characters, read from its stored bytes without unpacking them;
  // false for a text longer than sCharClasses::kMaxLength. Inline: passes over every row ask it
  // of each cell.
  bool GetCharClasses(int nSlot, sCharClasses& classes) const;
  // The digit at a character of the slot's text that its classes mark as a digit.
  int GetDigit(int nSlot, int nIndex) const {
    const char* pStored = m_pText + GetStart(nSlot);
    if (!IsPacked(nSlot)) return pStored[nIndex] - '0';
    const auto nByte = static_cast<uint8_t>(pStored[nIndex / 2]);
    return nIndex % 2 == 0 ? nByte >> 4 : nByte & 0xF;
  }
  // The nibble that fills the last byte of a packed text of odd length.
  static constexpr uint8_t kPackedPad = 0xF;
  // Stores the text as it is; the slot is no number slot then.
  void Set(int nSlot, std::string_view strText);
  // The slot holds what a number's text is made from, not the text.
  bool IsNumber(int nSlot) const { return (m_arrNumber[nSlot / 64] >> (nSlot % 64)) & 1; }
  // Bytes of text held (capacity aside), packed texts as packed.
  size_t GetTextLength() const { return m_nLength; }

 private:
  friend class CSlotTextsWriter;

  static constexpr int kGroupSize = 64;
  static constexpr int kGroupCount = kRmsSlotCount / kGroupSize + 1;
  static constexpr int kPackedWords = (kRmsSlotCount + 63) / 64;

  bool IsPacked(int nSlot) const { return (m_arrPacked[nSlot / 64] >> (nSlot % 64)) & 1; }
  static std::string_view Unpack(const char* pPacked, size_t nSize);
  static_assert(kGroupSize * kMaxTextLength <= UINT16_MAX, "group starts must fit 16 bits");

  size_t GetStart(int nSlot) const {
    return m_arrGroupStart[nSlot / kGroupSize] + m_arrStart[nSlot];
  }
  // A block of record memory with room for nLength bytes in place of the one held, whose bytes
  // are not kept.
  void Reserve(uint32_t nLength);
  // Copies texts and starts; the block is reallocated only when it is too small or more than
  // twice the size needed.
  void Assign(const char* pText, uint32_t nLength, const uint32_t* pGroupStarts, const uint16_t* pStarts,
              const uint64_t* pPacked, const uint64_t* pNumber);

  char* m_pText = nullptr;  // m_nCapacity bytes of record memory
  uint32_t m_nLength = 0;
  uint32_t m_nCapacity = 0;
  uint32_t m_arrGroupStart[kGroupCount] = {};
  uint16_t m_arrStart[kRmsSlotCount + 1] = {};  // the last one marks the end of the texts
  uint64_t m_arrPacked[kPackedWords] = {};       // a bit per slot whose text is packed
  uint64_t m_arrNumber[kPackedWords] = {};       // a bit per number slot
};

inline bool CSlotTexts::GetCharClasses(int nSlot, sCharClasses& classes) const {
  const size_t nStart = GetStart(nSlot);
  const size_t nSize = GetStart(nSlot + 1) - nStart;
  // Whole registers are read where the block holds them: the lanes past the text are ignored.
  if (!IsPacked(nSlot)) {
    if (nSize > sCharClasses::kMaxLength) return false;
    if (nStart + sCharClasses::kMaxLength > m_nCapacity) return ClassifyText({m_pText + nStart, nSize}, classes);
    ClassifyLoadedText(m_pText + nStart, nSize, classes);
    return true;
  }
  if (nSize == 0 || nSize > sizeof(uint64_t)) return false;
  uint64_t nBytes = 0;
  if (nStart + sizeof(nBytes) <= m_nCapacity) {
    std::memcpy(&nBytes, m_pText + nStart, sizeof(nBytes));
  } else {
    for (size_t i = 0; i < nSize; ++i) nBytes |= uint64_t{static_cast<uint8_t>(m_pText[nStart + i])} << (8 * i);
  }
  // The codes in byte lanes, in text order: each byte's high nibble first. Digits are their own
  // codes, 10 is '.', 11 is '-'.
  const __m128i bytes = _mm_cvtsi64_si128(static_cast<int64_t>(nBytes));
  const __m128i codes = _mm_unpacklo_epi8(_mm_and_si128(_mm_srli_epi16(bytes, 4), _mm_set1_epi8(0x0F)),
                                          _mm_and_si128(bytes, _mm_set1_epi8(0x0F)));
  const bool bPadded = ((nBytes >> (8 * (nSize - 1))) & 0xF) == kPackedPad;
  const uint32_t nLength = static_cast<uint32_t>(2 * nSize - (bPadded ? 1 : 0));
  const uint32_t nWanted = (1u << nLength) - 1;
  const auto GetMask = [nWanted](__m128i lanes) { return static_cast<uint32_t>(_mm_movemask_epi8(lanes)) & nWanted; };
  classes.nDigits = GetMask(_mm_cmplt_epi8(codes, _mm_set1_epi8(10)));
  classes.nZeros = GetMask(_mm_cmpeq_epi8(codes, _mm_setzero_si128()));
  classes.nNines = GetMask(_mm_cmpeq_epi8(codes, _mm_set1_epi8(9)));
  classes.nPoints = GetMask(_mm_cmpeq_epi8(codes, _mm_set1_epi8(10)));
  classes.nMinus = GetMask(_mm_cmpeq_epi8(codes, _mm_set1_epi8(11)));
  classes.nLength = nLength;
  return true;
}

// Writes all slot texts of a record in slot order into a buffer it keeps between records,
// then hands them over in one copy.
class CSlotTextsWriter {
 public:
  // Room for every slot at its longest, and for packing to read and write a block past the last.
  CSlotTextsWriter() : m_pText(new char[kRmsSlotCount * CSlotTexts::kMaxTextLength + 16]) {}

  void Start();
  // The text of the next slot, cut to kMaxTextLength.
  void Append(std::string_view strText);
  // The next slot, a number slot: the bytes its text is made from, cut to kMaxTextLength and
  // packed when they can be.
  void AppendNumber(std::string_view strBytes);
  // Gives the texts to the target; every slot must have been written.
  void CommitTo(CSlotTexts& texts);

 private:
  char* GetSlotBuffer() { return m_pText.get() + m_nLength; }
  void EndSlot(size_t nLength);

  std::unique_ptr<char[]> m_pText;
  uint32_t m_nLength = 0;
  uint32_t m_nSlot = 0;  // unsigned: its word and bit are a shift and a mask
  uint32_t m_arrGroupStart[CSlotTexts::kGroupCount] = {};
  uint16_t m_arrStart[kRmsSlotCount + 1] = {};
  uint64_t m_arrPacked[CSlotTexts::kPackedWords] = {};
  uint64_t m_arrNumber[CSlotTexts::kPackedWords] = {};
};
