#include "model/RmsDetails.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>

#include "model/ColumnCatalogue.h"
#include "model/EntityLevel.h"
#include "model/NumberFormat.h"
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

// The range of the value a number slot's text (of a known shape) reads as, from its first two
// significant digits: a magnitude of 12.3... lies within [12, 13] times a power of ten. Its
// rounding to the shown decimals moves it by up to half the last one.
void SetValueRange(const CSlotTexts& texts, int nSlot, const sCharClasses& classes, const sNumberRule& rule,
                   sTextShape& shape) {
  constexpr int kLowestPower = -20;
  static constexpr double kPowersOfTen[] = {1e-20, 1e-19, 1e-18, 1e-17, 1e-16, 1e-15, 1e-14, 1e-13, 1e-12, 1e-11, 1e-10,
                                            1e-9,  1e-8,  1e-7,  1e-6,  1e-5,  1e-4,  1e-3,  1e-2,  1e-1,  1e0,
                                            1e1,   1e2,   1e3,   1e4,   1e5,   1e6,   1e7,   1e8,   1e9,   1e10,
                                            1e11,  1e12,  1e13,  1e14,  1e15,  1e16,  1e17,  1e18,  1e19,  1e20};
  const auto GetPower = [](int nPower) { return kPowersOfTen[nPower - kLowestPower]; };
  const int nStart = (classes.nMinus & 1u) != 0 ? 1 : 0;
  // An integer's text counts up to its first character that is no digit.
  uint32_t nDigits = classes.nDigits;
  int nPoint = classes.nPoints != 0 ? std::countr_zero(classes.nPoints) : static_cast<int>(classes.nLength);
  if (rule.nPrecision < 0) {
    nPoint = nStart + std::countr_one(nDigits >> nStart);
    nDigits &= (1u << nPoint) - 1;
  }
  const auto GetPlace = [nPoint](int nIndex) { return nIndex < nPoint ? nPoint - 1 - nIndex : nPoint - nIndex; };
  const uint32_t nNonZero = nDigits & ~classes.nZeros;
  double dLow = 0.0;
  double dHigh = 0.0;
  if (nNonZero != 0) {
    const int nFirst = std::countr_zero(nNonZero);
    const uint32_t nAfter = nDigits & ~((2u << nFirst) - 1);
    int nLeading = texts.GetDigit(nSlot, nFirst);
    int nPlace = GetPlace(nFirst);
    if (nAfter != 0) {
      const int nSecond = std::countr_zero(nAfter);
      nLeading = nLeading * 10 + texts.GetDigit(nSlot, nSecond);
      nPlace = GetPlace(nSecond);
    }
    // A known shape has at most 16 characters; beyond the table nothing is told.
    if (nPlace < kLowestPower || nPlace > -kLowestPower) {
      shape.eKind = eShapeKind::kUnknown;
      return;
    }
    dLow = nLeading * GetPower(nPlace);
    dHigh = (nLeading + 1) * GetPower(nPlace);
  }
  const double dRounding = rule.nPrecision > 0 ? 0.5 * GetPower(-rule.nPrecision) : 0.0;
  dLow = std::max(0.0, dLow - dRounding) * (1.0 - 1e-12);
  dHigh = (dHigh + dRounding) * (1.0 + 1e-12);
  const bool bBelowZero = (nStart != 0) != rule.bNegate;
  shape.dLow = bBelowZero ? -dHigh : dLow;
  shape.dHigh = bBelowZero ? -dLow : dHigh;
}

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

void CRmsDetails::GetCellShapes(std::span<const void* const> arrRecords, std::span<const void* const> arrAhead,
                                int32_t nColumn, bool bValues, std::span<sTextShape> arrShapes) {
  const int nSource = nColumn >= 0 && nColumn < kCatalogueColumnCount ? kCellSource[static_cast<size_t>(nColumn)] : -1;
  if (nSource < 0) {
    // Columns without a slot show a text of the record's fields.
    for (size_t i = 0; i < arrRecords.size(); ++i) {
      arrShapes[i] = {};
      if (arrRecords[i] == nullptr) continue;
      arrShapes[i].eKind = eShapeKind::kText;
      arrShapes[i].strText = static_cast<const CRmsDetails*>(arrRecords[i])->GetCellText(nColumn);
    }
    return;
  }
  for (const void* pAhead : arrAhead)
    if (pAhead != nullptr) __builtin_prefetch(static_cast<const CRmsDetails*>(pAhead)->m_texts.GetStoredBytes(nSource));
  const sNumberRule rule = GetNumberSlotRule(nSource);
  sCharClasses classes;
  for (size_t i = 0; i < arrRecords.size(); ++i) {
    sTextShape& shape = arrShapes[i];
    if (arrRecords[i] == nullptr) {
      shape.eKind = eShapeKind::kUnknown;
      continue;
    }
    const CSlotTexts& texts = static_cast<const CRmsDetails*>(arrRecords[i])->m_texts;
    if (!texts.IsNumber(nSource)) {
      // A text slot holds its text as it is; an empty one or "NA" shows as "-".
      const std::string_view strText = texts.Get(nSource);
      shape.eKind = eShapeKind::kText;
      shape.strText = strText.empty() || strText == "NA" ? "-" : strText;
    } else if (!texts.GetCharClasses(nSource, classes)) {
      shape.eKind = eShapeKind::kUnknown;
    } else {
      GetNumberTextShape(classes, rule, shape);
      if (bValues && shape.eKind == eShapeKind::kNumber) SetValueRange(texts, nSource, classes, rule, shape);
    }
  }
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
