#include "platform/IniDocument.h"

#include "platform/IniLine.h"

namespace {

bool IsSection(const sIniLine& line, std::string_view strSection) {
  return line.eKind == EIniLineKind::Section && EqualsIgnoringCase(line.strName, strSection);
}

bool IsKey(const sIniLine& line, std::string_view strKey) {
  return line.eKind == EIniLineKind::Key && EqualsIgnoringCase(line.strName, strKey);
}

void AppendName(std::string& strNames, std::string_view strName) {
  strNames.append(strName);
  strNames.push_back('\0');
}

}  // namespace

CIniDocument::CIniDocument(std::string strText) : m_strText(std::move(strText)) {
  const size_t nBreak = m_strText.find('\n');
  m_strLineBreak =
      (nBreak != std::string::npos && nBreak > 0 && m_strText[nBreak - 1] == '\r') ? "\r\n" : "\n";
}

// The walks below stop at the header after the first matching section: once found, being in
// the section and having found it are the same.
std::optional<std::string_view> CIniDocument::FindValue(std::string_view strSection,
                                                        std::string_view strKey) const {
  bool bInSection = false;
  CIniLineCursor cursor(m_strText);
  while (cursor.Next()) {
    const sIniLine& line = cursor.GetLine();
    if (line.eKind == EIniLineKind::Section) {
      if (bInSection) return std::nullopt;
      bInSection = EqualsIgnoringCase(line.strName, strSection);
    } else if (bInSection && IsKey(line, strKey)) {
      return line.strValue;
    }
  }
  return std::nullopt;
}

std::string CIniDocument::GetSectionNames() const {
  std::string strNames;
  CIniLineCursor cursor(m_strText);
  while (cursor.Next()) {
    if (cursor.GetLine().eKind == EIniLineKind::Section) AppendName(strNames, cursor.GetLine().strName);
  }
  return strNames;
}

std::string CIniDocument::GetKeyNames(std::string_view strSection) const {
  std::string strNames;
  bool bInSection = false;
  CIniLineCursor cursor(m_strText);
  while (cursor.Next()) {
    const sIniLine& line = cursor.GetLine();
    if (line.eKind == EIniLineKind::Section) {
      if (bInSection) break;
      bInSection = EqualsIgnoringCase(line.strName, strSection);
    } else if (bInSection && line.eKind == EIniLineKind::Key) {
      AppendName(strNames, line.strName);
    }
  }
  return strNames;
}

std::string CIniDocument::WithValue(std::string_view strSection, std::string_view strKey,
                                    std::string_view strValue) const {
  bool bInSection = false;
  // Where a new key goes: after the section's last key, or after its header.
  size_t nInsertAt = 0;
  bool bInsertAfterBreak = true;

  CIniLineCursor cursor(m_strText);
  while (cursor.Next()) {
    const sIniLine& line = cursor.GetLine();
    if (line.eKind == EIniLineKind::Section) {
      if (bInSection) break;
      bInSection = EqualsIgnoringCase(line.strName, strSection);
    } else if (!bInSection || line.eKind != EIniLineKind::Key) {
      continue;
    } else if (EqualsIgnoringCase(line.strName, strKey)) {
      // In place: the key as the file spells it, the line's own line break.
      std::string strOut;
      strOut.reserve(m_strText.size() + strValue.size());
      strOut.append(m_strText, 0, cursor.GetStart());
      strOut.append(line.strName).append("=").append(strValue);
      strOut.append(m_strText, cursor.GetContentEnd());
      return strOut;
    }
    if (bInSection) {
      nInsertAt = cursor.GetNext();
      bInsertAfterBreak = cursor.HasLineBreak();
    }
  }

  const bool bSectionFound = bInSection;
  if (!bSectionFound) {
    nInsertAt = m_strText.size();
    bInsertAfterBreak = m_strText.empty() || m_strText.back() == '\n';
  }
  std::string strAdded;
  if (!bInsertAfterBreak) strAdded.append(m_strLineBreak);
  if (!bSectionFound) strAdded.append("[").append(strSection).append("]").append(m_strLineBreak);
  strAdded.append(strKey).append("=").append(strValue).append(m_strLineBreak);

  std::string strOut(m_strText);
  strOut.insert(nInsertAt, strAdded);
  return strOut;
}

std::string CIniDocument::WithoutKey(std::string_view strSection, std::string_view strKey) const {
  std::string strOut;
  strOut.reserve(m_strText.size());
  bool bInSection = false;
  bool bSectionFound = false;
  CIniLineCursor cursor(m_strText);
  while (cursor.Next()) {
    const sIniLine& line = cursor.GetLine();
    if (line.eKind == EIniLineKind::Section) {
      bInSection = !bSectionFound && EqualsIgnoringCase(line.strName, strSection);
      bSectionFound = bSectionFound || bInSection;
    } else if (bInSection && IsKey(line, strKey)) {
      continue;
    }
    strOut.append(m_strText, cursor.GetStart(), cursor.GetNext() - cursor.GetStart());
  }
  return strOut;
}

std::string CIniDocument::WithoutSection(std::string_view strSection) const {
  std::string strOut;
  strOut.reserve(m_strText.size());
  bool bInSection = false;
  CIniLineCursor cursor(m_strText);
  while (cursor.Next()) {
    if (cursor.GetLine().eKind == EIniLineKind::Section) bInSection = IsSection(cursor.GetLine(), strSection);
    if (!bInSection) strOut.append(m_strText, cursor.GetStart(), cursor.GetNext() - cursor.GetStart());
  }
  return strOut;
}
