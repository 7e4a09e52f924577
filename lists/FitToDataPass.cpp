#include "lists/FitToDataPass.h"

#include <algorithm>
#include <utility>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes the character at the start of strText (not empty) and the bytes it takes; an
// ill-formed sequence gives U+FFFD for its first byte.
std::pair<char32_t, size_t> DecodeCharacter(std::string_view strText) {
  const auto nLead = static_cast<unsigned char>(strText[0]);
  size_t nLength = 0;
  char32_t nCharacter = 0;
  char32_t nMinimum = 0;
  if (nLead >= 0xC2 && nLead <= 0xDF) {
    nLength = 2;
    nCharacter = nLead & 0x1Fu;
    nMinimum = 0x80;
  } else if (nLead >= 0xE0 && nLead <= 0xEF) {
    nLength = 3;
    nCharacter = nLead & 0x0Fu;
    nMinimum = 0x800;
  } else if (nLead >= 0xF0 && nLead <= 0xF4) {
    nLength = 4;
    nCharacter = nLead & 0x07u;
    nMinimum = 0x10000;
  } else {
    return {kReplacement, 1};
  }
  if (strText.size() < nLength) return {kReplacement, 1};
  for (size_t i = 1; i < nLength; ++i) {
    const auto nByte = static_cast<unsigned char>(strText[i]);
    if ((nByte & 0xC0u) != 0x80u) return {kReplacement, 1};
    nCharacter = (nCharacter << 6) | (nByte & 0x3Fu);
  }
  if (nCharacter < nMinimum || nCharacter > 0x10FFFF || (nCharacter >= 0xD800 && nCharacter <= 0xDFFF))
    return {kReplacement, 1};
  return {nCharacter, nLength};
}

}  // namespace

CTextAdvances::CTextAdvances(AdvanceFn fnAdvance) : m_fnAdvance(std::move(fnAdvance)) {
  for (char32_t n = 0; n < m_arrAscii.size(); ++n) m_arrAscii[n] = m_fnAdvance(n);
  m_nWidestDigit = *std::max_element(m_arrAscii.begin() + '0', m_arrAscii.begin() + '9' + 1);
}

int32_t CTextAdvances::GetOtherAdvance(char32_t nCharacter) {
  const auto it = m_mapOther.find(nCharacter);
  if (it != m_mapOther.end()) return it->second;
  const int32_t nAdvance = m_fnAdvance(nCharacter);
  m_mapOther.emplace(nCharacter, nAdvance);
  return nAdvance;
}

int64_t CTextAdvances::Estimate(std::string_view strText) {
  // Most texts are ASCII: two sums side by side while they are.
  const auto* pBytes = reinterpret_cast<const unsigned char*>(strText.data());
  int64_t nEven = 0;
  int64_t nOdd = 0;
  size_t i = 0;
  for (; i + 2 <= strText.size() && (pBytes[i] | pBytes[i + 1]) < 0x80; i += 2) {
    nEven += m_arrAscii[pBytes[i]];
    nOdd += m_arrAscii[pBytes[i + 1]];
  }
  int64_t nWidth = nEven + nOdd;
  while (i < strText.size()) {
    const auto nByte = static_cast<unsigned char>(strText[i]);
    if (nByte < 0x80) {
      nWidth += m_arrAscii[nByte];
      ++i;
      continue;
    }
    const auto [nCharacter, nLength] = DecodeCharacter(strText.substr(i));
    nWidth += GetOtherAdvance(nCharacter);
    i += nLength;
  }
  return nWidth;
}

void CWidestTexts::Offer(std::string_view strText, int64_t nEstimate) {
  if (!WouldKeep(nEstimate)) return;
  if (m_arrKept.size() < m_nKeep) {
    m_arrKept.push_back({nEstimate, std::string(strText)});
  } else {
    auto itLowest = m_arrKept.begin();
    for (auto it = m_arrKept.begin(); it != m_arrKept.end(); ++it)
      if (it->nEstimate < itLowest->nEstimate) itLowest = it;
    itLowest->nEstimate = nEstimate;
    itLowest->strText.assign(strText);
  }
  if (m_arrKept.size() == m_nKeep) {
    m_nLowest = std::min_element(m_arrKept.begin(), m_arrKept.end(), [](const sKept& a, const sKept& b) {
                  return a.nEstimate < b.nEstimate;
                })->nEstimate;
  }
}

std::vector<std::string> CWidestTexts::GetTexts() const {
  std::vector<std::string> arrTexts;
  arrTexts.reserve(m_arrKept.size());
  for (const sKept& kept : m_arrKept) arrTexts.push_back(kept.strText);
  return arrTexts;
}

CFitToDataPass::CFitToDataPass(std::vector<int32_t> arrColumns, CTextAdvances::AdvanceFn fnAdvance,
                               size_t nKeep)
    : m_arrColumns(std::move(arrColumns)),
      m_advances(std::move(fnAdvance)),
      m_arrWidest(m_arrColumns.size(), CWidestTexts(nKeep)),
      m_arrLastTexts(m_arrColumns.size()) {}

bool CFitToDataPass::Run(IFitToDataSource& source, std::chrono::steady_clock::time_point deadline) {
  // The clock is read once per block: a block of every column takes microseconds.
  for (;;) {
    const int32_t nRowCount = source.GetRowCount();
    if (m_nNextRow >= nRowCount) return true;
    const int32_t nRows = std::min(kBlockRows, nRowCount - m_nNextRow);
    for (int32_t nPosition = 0; nPosition < GetPositionCount(); ++nPosition)
      ReadBlock(source, m_nNextRow, nRows, nPosition);
    m_nNextRow += nRows;
    if (std::chrono::steady_clock::now() >= deadline) return m_nNextRow >= source.GetRowCount();
  }
}

void CFitToDataPass::ReadBlock(IFitToDataSource& source, int32_t nFirstRow, int32_t nRows, int32_t nPosition) {
  const std::span<sTextShape> arrShapes(m_arrShapes.data(), static_cast<size_t>(nRows));
  if (!source.ReadShapes(nFirstRow, nPosition, arrShapes)) {
    for (int32_t i = 0; i < nRows; ++i) OfferCell(source, nFirstRow + i, nPosition);
    return;
  }
  CWidestTexts& widest = m_arrWidest[static_cast<size_t>(nPosition)];
  for (int32_t i = 0; i < nRows; ++i) {
    const sTextShape& shape = arrShapes[static_cast<size_t>(i)];
    if (shape.eKind == eShapeKind::kText) {
      const int64_t nEstimate = EstimateShownText(static_cast<size_t>(nPosition), shape.strText);
      if (widest.WouldKeep(nEstimate)) widest.Offer(shape.strText, nEstimate);
    } else if (shape.eKind == eShapeKind::kUnknown || widest.WouldKeep(m_advances.EstimateNumber(shape))) {
      // A number that may be kept is read: its digits tell its estimate, and the text is kept.
      OfferCell(source, nFirstRow + i, nPosition);
    }
  }
}

int64_t CFitToDataPass::EstimateShownText(size_t nPosition, std::string_view strText) {
  sLastText& last = m_arrLastTexts[nPosition];
  if (strText != last.strText) {
    last.strText.assign(strText);
    last.nEstimate = m_advances.Estimate(strText);
  }
  return last.nEstimate;
}

void CFitToDataPass::OfferCell(IFitToDataSource& source, int32_t nRow, int32_t nPosition) {
  source.ReadCell(nRow, nPosition, m_cell);
  const int64_t nEstimate = m_advances.Estimate(m_cell.strText);
  CWidestTexts& widest = m_arrWidest[static_cast<size_t>(nPosition)];
  if (widest.WouldKeep(nEstimate)) widest.Offer(m_cell.strText, nEstimate);
}

std::vector<std::string> CFitToDataPass::GetTexts(int32_t nPosition) const {
  if (nPosition < 0 || static_cast<size_t>(nPosition) >= m_arrWidest.size()) return {};
  return m_arrWidest[static_cast<size_t>(nPosition)].GetTexts();
}
