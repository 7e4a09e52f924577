// The risk record of one entity at one level: the level code, one display text per value slot
// and the group-wise validation flag. A number is kept as the bytes it came in (packed) and
// formatted when it is read, so an update that nobody looks at costs no formatting.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "model/RecordMemory.h"
#include "model/RmsSlots.h"
#include "model/SlotTexts.h"
#include "model/TextShape.h"
#include "protocol/RmsProtocol.h"

// The four call texts, in this order: obligation call status and date, margin call status and
// date. Their columns and the wire fields the receiver fills them from:
constexpr int kCallTextCount = 4;
constexpr int kCallTextColumns[kCallTextCount] = {281, 282, 283, 284};
constexpr uint32_t kCallTextFields[kCallTextCount] = {rmsproto::kObligationStatusField, rmsproto::kObligationTimeField,
                                                       rmsproto::kMarginStatusField, rmsproto::kMarginTimeField};

class CRmsDetails {
 public:
  // Copying (construction or assignment) copies the level, every slot and the flag; lists keep
  // the record's address, so a stored record is updated by assigning a parsed one to it.
  // The texts handed out stay valid until the record changes.

  // Records live in record memory, beside their texts.
  static void* operator new(size_t nSize) { return recordmemory::Allocate(nSize); }
  static void operator delete(void* pRecord, size_t nSize) noexcept { recordmemory::Release(pRecord, nSize); }

  // A number's view lasts until CSlotTexts::kUnpackBuffers more numbers were read on this
  // thread or the record changes; any other view until the record changes.
  std::string_view GetSlotText(int nSlot) const;
  void SetSlotText(int nSlot, std::string_view strText) { m_texts.Set(nSlot, strText); }
  // The text of the slot a catalogue column shows; empty for a column without a slot.
  std::string_view GetColumnSlotText(int nColumn) const;
  void SetColumnSlotText(int nColumn, std::string_view strText);
  // The text a list cell shows for the column: "-" where the value is "NA" or empty. The view
  // lasts as GetSlotText's does.
  std::string_view GetCellText(int nColumn) const;
  // The shape shortcut of a list's data descriptor over these records (lists/CellText.h), each
  // record a const CRmsDetails* or null: the shapes of GetCellText's texts for a column, told from
  // the stored bytes. A text slot's shape is its text; a number's, the characters of its text,
  // with its value's range when bValues. A number that cannot be told so, and a null record, are
  // unknown. The column's cells of the records ahead start loading (PrefetchCell).
  static void GetCellShapes(std::span<const void* const> arrRecords, std::span<const void* const> arrAhead,
                            int32_t nColumn, bool bValues, std::span<sTextShape> arrShapes);
  // Starts loading the memory GetCellText will read for the column, reading nothing itself.
  void PrefetchCell(int nColumn) const;

  // Slots that other code names. Entity id and level text (columns 0 and 83) are set by the
  // receiver, as are the call texts.
  std::string_view GetEntityId() const { return GetSlotText(kEntityIdSlot); }
  void SetEntityId(std::string_view strId) { SetSlotText(kEntityIdSlot, strId); }
  std::string_view GetLevelText() const { return GetSlotText(kLevelTextSlot); }
  void SetLevelText(std::string_view strText) { SetSlotText(kLevelTextSlot, strText); }
  std::string_view GetSegment() const { return GetSlotText(kSegmentSlot); }    // field 63002
  std::string_view GetExchange() const { return GetSlotText(kExchangeSlot); }  // field 10101
  std::string_view GetProduct() const { return GetSlotText(kProductSlot); }    // field 64030
  std::string_view GetPeerValue() const { return GetSlotText(kPeerValueSlot); }  // field 64056
  std::string_view GetCallText(int nIndex) const;
  void SetCallText(int nIndex, std::string_view strText);
  void CopyCallTexts(const CRmsDetails& other);

  // For the parser, which writes all slots at once.
  CSlotTexts& GetSlotTexts() { return m_texts; }

  uint32_t nLevel = 0;  // 1 Broker, 2 Branch, 3 Dealer, 4 Group, 5 Account; 0 unknown
  bool bGroupwiseValidation = false;
  // The server left the record out when it was asked for every record again after the link
  // was lost: its values are the last ones seen, not live. New values clear it.
  bool bStale = false;
  // When the newest value came, in the clock's microseconds since 1970; 0 before any. Lists
  // dim a row whose values have not moved for long.
  int64_t nUpdatedUs = 0;

 private:
  static constexpr int kEntityIdSlot = FindColumnSlot(0);
  static constexpr int kLevelTextSlot = FindColumnSlot(83);
  static constexpr int kSegmentSlot = FindFieldSlot(rmsproto::kSegmentField);
  static constexpr int kExchangeSlot = FindFieldSlot(rmsproto::kExchangeField);
  static constexpr int kProductSlot = FindFieldSlot(rmsproto::kProductField);
  static constexpr int kPeerValueSlot = FindFieldSlot(rmsproto::kPeerValueField);

  CSlotTexts m_texts;
};

// Sets the text to the cell text of the column for the record and returns 1; for a null
// record empties it and returns 0.
int GetColumnText(const CRmsDetails* pRecord, int nColumn, std::string& strText);

// The record key "%d|%s|%s": level code, entity id, level text.
std::string FormatRecordKey(uint32_t nLevel, std::string_view strEntityId,
                            std::string_view strLevelText);
std::string FormatRecordKey(const CRmsDetails& record);
// The same key written into strKey, whose buffer is reused from message to message.
void FormatRecordKey(const CRmsDetails& record, std::string& strKey);

// Hashes keys and views of keys alike, so a look-up by a view builds no string.
struct sRecordKeyHash {
  using is_transparent = void;
  size_t operator()(std::string_view strKey) const { return std::hash<std::string_view>{}(strKey); }
};

// Every stored record under its key. It owns the records; list rows point at them.
using RmsDetailsMap =
    std::unordered_map<std::string, std::unique_ptr<CRmsDetails>, sRecordKeyHash, std::equal_to<>>;
extern RmsDetailsMap g_mapRmsDetails;
