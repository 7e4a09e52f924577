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
}

int32_t CTextAdvances::GetOtherAdvance(char32_t nCharacter) {
  const auto it = m_mapOther.find(nCharacter);
  if (it != m_mapOther.end()) return it->second;
  const int32_t nAdvance = m_fnAdvance(nCharacter);
  m_mapOther.emplace(nCharacter, nAdvance);
  return nAdvance;
}

int64_t CTextAdvances::Estimate(std::string_view strText) {
  int64_t nWidth = 0;
  size_t i = 0;
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
      m_arrWidest(m_arrColumns.size(), CWidestTexts(nKeep)) {}

bool CFitToDataPass::Run(int32_t nRowCount, const ReadCellFn& fnRead,
                         std::chrono::steady_clock::time_point deadline) {
  // The clock is read once per this many rows: a row of every column takes microseconds.
  constexpr int32_t kRowsPerClockReading = 16;
  while (m_nNextRow < nRowCount) {
    for (size_t nPosition = 0; nPosition < m_arrWidest.size(); ++nPosition) {
      fnRead(m_nNextRow, static_cast<int32_t>(nPosition), m_cell);
      const int64_t nEstimate = m_advances.Estimate(m_cell.strText);
      if (m_arrWidest[nPosition].WouldKeep(nEstimate))
        m_arrWidest[nPosition].Offer(m_cell.strText, nEstimate);
    }
    ++m_nNextRow;
    if (m_nNextRow % kRowsPerClockReading == 0 && std::chrono::steady_clock::now() >= deadline) break;
  }
  return m_nNextRow >= nRowCount;
}

std::vector<std::string> CFitToDataPass::GetTexts(int32_t nPosition) const {
  if (nPosition < 0 || static_cast<size_t>(nPosition) >= m_arrWidest.size()) return {};
  return m_arrWidest[static_cast<size_t>(nPosition)].GetTexts();
}
