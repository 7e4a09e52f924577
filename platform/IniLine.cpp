#include "platform/IniLine.h"

namespace {

bool IsIniBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view StripMatchingQuotes(std::string_view str) {
  if (str.size() >= 2 && (str.front() == '"' || str.front() == '\'') && str.back() == str.front())
    return str.substr(1, str.size() - 2);
  return str;
}

}  // namespace

std::string_view TrimIniBlanks(std::string_view str) {
  while (!str.empty() && IsIniBlank(str.front())) str.remove_prefix(1);
  while (!str.empty() && IsIniBlank(str.back())) str.remove_suffix(1);
  return str;
}

bool EqualsIgnoringCase(std::string_view strLeft, std::string_view strRight) {
  if (strLeft.size() != strRight.size()) return false;
  for (size_t i = 0; i < strLeft.size(); ++i) {
    if (ToLowerAscii(strLeft[i]) != ToLowerAscii(strRight[i])) return false;
  }
  return true;
}

sIniLine ParseIniLine(std::string_view strLine) {
  sIniLine line;
  const std::string_view strBody = TrimIniBlanks(strLine);
  if (strBody.empty() || strBody.front() == ';' || strBody.front() == '#') return line;
  if (strBody.front() == '[') {
    // The name runs to the first ']'; whatever follows it on the line is ignored.
    const size_t nClose = strBody.find(']');
    if (nClose != std::string_view::npos) {
      line.eKind = EIniLineKind::Section;
      line.strName = TrimIniBlanks(strBody.substr(1, nClose - 1));
      return line;
    }
  }
  const size_t nEquals = strBody.find('=');
  if (nEquals == std::string_view::npos) return line;
  const std::string_view strName = TrimIniBlanks(strBody.substr(0, nEquals));
  if (strName.empty()) return line;
  line.eKind = EIniLineKind::Key;
  line.strName = strName;
  line.strValue = StripMatchingQuotes(TrimIniBlanks(strBody.substr(nEquals + 1)));
  return line;
}

bool CIniLineCursor::Next() {
  if (m_nNext >= m_strText.size()) return false;
  m_nStart = m_nNext;
  const size_t nBreak = m_strText.find('\n', m_nStart);
  m_bLineBreak = nBreak != std::string_view::npos;
  if (m_bLineBreak) {
    m_nNext = nBreak + 1;
    m_nContentEnd = (nBreak > m_nStart && m_strText[nBreak - 1] == '\r') ? nBreak - 1 : nBreak;
  } else {
    m_nNext = m_strText.size();
    m_nContentEnd = m_nNext;
  }
  m_line = ParseIniLine(m_strText.substr(m_nStart, m_nContentEnd - m_nStart));
  return true;
}
