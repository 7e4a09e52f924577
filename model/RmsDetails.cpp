#include "model/RmsDetails.h"

#include <array>
#include <charconv>

#include "model/ColumnCatalogue.h"
#include "model/EntityLevel.h"
#include "model/RmsValueParser.h"

RmsDetailsMap g_mapRmsDetails;

namespace {

// What a cell of each catalogue column shows: a slot index, or one of these.
constexpr int16_t kCellGroupwise = -1;   // column 19: "yes" or "no"
constexpr int16_t kCellLevelName = -2;   // column 207: the name of the level
constexpr int16_t kCellNothing = -3;     // column 186: no value

constexpr std::array<int16_t, kCatalogueColumnCount> kCellSource = [] {
  std::array<int16_t, kCatalogueColumnCount> arrSource{};
  arrSource.fill(kCellNothing);
  for (int nSlot = 0; nSlot < kRmsSlotCount; ++nSlot) {
    const int nColumn = rmsslot::kOrder[nSlot].nColumn;
    if (nColumn >= 0) {
      arrSource[static_cast<size_t>(nColumn)] = static_cast<int16_t>(nSlot);
    }
  }
  arrSource[19] = kCellGroupwise;
  arrSource[207] = kCellLevelName;
  return arrSource;
}();

constexpr bool HasOnlyKnownGaps() {
  for (int nColumn = 0; nColumn < kCatalogueColumnCount; ++nColumn) {
    if (kCellSource[static_cast<size_t>(nColumn)] == kCellNothing && nColumn != 186) {
      return false;
    }
  }
  return true;
}
static_assert(HasOnlyKnownGaps(), "every catalogue column but 19, 186 and 207 shows a slot");

}  // namespace

std::string_view CRmsDetails::GetSlotText(int nSlot) const {
  const std::string_view strStored = m_texts.Get(nSlot);
  return m_texts.IsNumber(nSlot) ? FormatNumberSlot(nSlot, strStored) : strStored;
}

std::string_view CRmsDetails::GetColumnSlotText(int nColumn) const {
  if (nColumn < 0 || nColumn >= kCatalogueColumnCount) {
    return {};
  }
  const int nSlot = kCellSource[static_cast<size_t>(nColumn)];
  return nSlot >= 0 ? GetSlotText(nSlot) : std::string_view();
}

void CRmsDetails::SetColumnSlotText(int nColumn, std::string_view strText) {
  if (nColumn < 0 || nColumn >= kCatalogueColumnCount) {
    return;
  }
  const int nSlot = kCellSource[static_cast<size_t>(nColumn)];
  if (nSlot >= 0) {
    SetSlotText(nSlot, strText);
  }
}

std::string_view CRmsDetails::GetCellText(int nColumn) const {
  std::string_view strText;
  if (nColumn >= 0 && nColumn < kCatalogueColumnCount) {
    const int nSource = kCellSource[static_cast<size_t>(nColumn)];
    if (nSource >= 0) {
      strText = GetSlotText(nSource);
    } else if (nSource == kCellGroupwise) {
      strText = bGroupwiseValidation ? "yes" : "no";
    } else if (nSource == kCellLevelName) {
      strText = GetLevelName(nLevel);
    }
  }
  return strText.empty() || strText == "NA" ? "-" : strText;
}

void CRmsDetails::PrefetchCell(int nColumn) const {
  if (nColumn < 0 || nColumn >= kCatalogueColumnCount) return;
  const int nSource = kCellSource[static_cast<size_t>(nColumn)];
  if (nSource >= 0) __builtin_prefetch(m_texts.GetStoredBytes(nSource));
}

std::string_view CRmsDetails::GetCallText(int nIndex) const {
  return GetColumnSlotText(kCallTextColumns[nIndex]);
}

void CRmsDetails::SetCallText(int nIndex, std::string_view strText) {
  SetColumnSlotText(kCallTextColumns[nIndex], strText);
}

void CRmsDetails::CopyCallTexts(const CRmsDetails& other) {
  for (int i = 0; i < kCallTextCount; ++i) {
    SetCallText(i, other.GetCallText(i));
  }
}

int GetColumnText(const CRmsDetails* pRecord, int nColumn, std::string& strText) {
  if (pRecord == nullptr) {
    strText.clear();
    return 0;
  }
  strText.assign(pRecord->GetCellText(nColumn));
  return 1;
}

namespace {

void WriteRecordKey(uint32_t nLevel, std::string_view strEntityId, std::string_view strLevelText,
                    std::string& strKey) {
  // "%d" of the unsigned code, as printf shows it.
  char szLevel[16];
  const size_t nLevelLength = static_cast<size_t>(
      std::to_chars(szLevel, szLevel + sizeof(szLevel), static_cast<int32_t>(nLevel)).ptr -
      szLevel);
  strKey.clear();
  strKey.reserve(nLevelLength + strEntityId.size() + strLevelText.size() + 2);
  strKey.append(szLevel, nLevelLength).append(1, '|').append(strEntityId).append(1, '|');
  strKey.append(strLevelText);
}

}  // namespace

std::string FormatRecordKey(uint32_t nLevel, std::string_view strEntityId,
                            std::string_view strLevelText) {
  std::string strKey;
  WriteRecordKey(nLevel, strEntityId, strLevelText, strKey);
  return strKey;
}

void FormatRecordKey(const CRmsDetails& record, std::string& strKey) {
  WriteRecordKey(record.nLevel, record.GetEntityId(), record.GetLevelText(), strKey);
}

std::string FormatRecordKey(const CRmsDetails& record) {
  return FormatRecordKey(record.nLevel, record.GetEntityId(), record.GetLevelText());
}
