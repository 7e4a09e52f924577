#include "excel/ExcelText.h"

#include <cstdint>

namespace {

constexpr std::string_view g_strReplacement = "\xEF\xBF\xBD";

bool IsContinuation(uint8_t nByte) { return (nByte & 0xC0) == 0x80; }

// The length of the well-formed sequence that starts at nPos, or 0 when it is ill-formed; then
// nBad is the length of its maximal ill-formed part (at least 1).
size_t MeasureSequence(std::string_view strText, size_t nPos, size_t& nBad) {
  const auto nLead = static_cast<uint8_t>(strText[nPos]);
  size_t nLength = 0;
  // The range of the second byte narrows for the leads that could start an overlong form, a
  // surrogate or a code point above U+10FFFF.
  uint8_t nSecondMin = 0x80;
  uint8_t nSecondMax = 0xBF;
  if (nLead >= 0xC2 && nLead <= 0xDF) {
    nLength = 2;
  } else if (nLead >= 0xE0 && nLead <= 0xEF) {
    nLength = 3;
    if (nLead == 0xE0) nSecondMin = 0xA0;
    if (nLead == 0xED) nSecondMax = 0x9F;
  } else if (nLead >= 0xF0 && nLead <= 0xF4) {
    nLength = 4;
    if (nLead == 0xF0) nSecondMin = 0x90;
    if (nLead == 0xF4) nSecondMax = 0x8F;
  }
  nBad = 1;
  if (nLength == 0) return 0;
  for (size_t i = 1; i < nLength; ++i) {
    if (nPos + i >= strText.size()) return 0;
    const auto nByte = static_cast<uint8_t>(strText[nPos + i]);
    const bool bFits = i == 1 ? nByte >= nSecondMin && nByte <= nSecondMax : IsContinuation(nByte);
    if (!bFits) return 0;
    nBad = i + 1;
  }
  return nLength;
}

bool IsControl(uint8_t nByte) { return nByte < 0x20 || nByte == 0x7F; }

bool IsBlankOrApostrophe(char c) { return c == ' ' || c == '\t' || c == '\''; }

}  // namespace

std::string MakeValidUtf8(std::string_view strText) {
  std::string strValid;
  strValid.reserve(strText.size());
  size_t nPos = 0;
  while (nPos < strText.size()) {
    const char c = strText[nPos];
    if (static_cast<uint8_t>(c) < 0x80) {
      if (c == '\0') {
        strValid += g_strReplacement;
      } else {
        strValid += c;
      }
      ++nPos;
      continue;
    }
    size_t nBad = 1;
    const size_t nLength = MeasureSequence(strText, nPos, nBad);
    const std::string_view strSequence = strText.substr(nPos, nLength);
    if (nLength == 0 || strSequence == "\xEF\xBF\xBE" || strSequence == "\xEF\xBF\xBF") {
      strValid += g_strReplacement;
      nPos += nLength == 0 ? nBad : nLength;
    } else {
      strValid += strSequence;
      nPos += nLength;
    }
  }
  return strValid;
}

size_t CountUtf8Chars(std::string_view strText) {
  size_t nCount = 0;
  for (const char c : strText) {
    if (!IsContinuation(static_cast<uint8_t>(c))) ++nCount;
  }
  return nCount;
}

std::string_view CutUtf8Chars(std::string_view strText, size_t nMaxChars) {
  size_t nChars = 0;
  for (size_t nPos = 0; nPos < strText.size(); ++nPos) {
    if (IsContinuation(static_cast<uint8_t>(strText[nPos]))) continue;
    if (nChars == nMaxChars) return strText.substr(0, nPos);
    ++nChars;
  }
  return strText;
}

std::string MakeSheetName(std::string_view strListName) {
  std::string strName;
  for (const char c : MakeValidUtf8(strListName)) {
    if (IsControl(static_cast<uint8_t>(c))) continue;
    if (std::string_view("[]:*?/\\").find(c) != std::string_view::npos) continue;
    strName += c;
  }
  // Trim, cut, and trim again: the cut may leave a blank or an apostrophe at the end, and a
  // name may neither start nor end with an apostrophe.
  size_t nStart = 0;
  while (nStart < strName.size() && IsBlankOrApostrophe(strName[nStart])) ++nStart;
  std::string_view strCut =
      CutUtf8Chars(std::string_view(strName).substr(nStart), EXCEL_MAX_SHEET_NAME_CHARS);
  while (!strCut.empty() && IsBlankOrApostrophe(strCut.back())) strCut.remove_suffix(1);
  return strCut.empty() ? std::string("Sheet1") : std::string(strCut);
}

std::string MakeFileNameStem(std::string_view strListName) {
  std::string strStem = MakeValidUtf8(strListName);
  for (char& c : strStem) {
    if (IsControl(static_cast<uint8_t>(c)) ||
        std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos)
      c = '_';
  }
  if (strStem.size() > EXCEL_MAX_FILE_STEM_BYTES) {
    size_t nEnd = EXCEL_MAX_FILE_STEM_BYTES;
    while (nEnd > 0 && IsContinuation(static_cast<uint8_t>(strStem[nEnd]))) --nEnd;
    strStem.resize(nEnd);
  }
  return strStem.empty() ? std::string("List") : strStem;
}
