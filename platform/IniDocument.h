// The text of one INI file with the lookups and edits of the profile functions. Each call
// walks the text once and keeps no per-line state, so a file of millions of short lines costs
// no more memory than its text.
//
// Keys before the first section header belong to no section and are never found. When a
// section name appears more than once, lookups and key edits use its first occurrence only;
// deleting the section removes every occurrence.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class CIniDocument {
 public:
  explicit CIniDocument(std::string strText);

  const std::string& GetText() const { return m_strText; }

  // The value of the first matching key in the first matching section.
  std::optional<std::string_view> FindValue(std::string_view strSection, std::string_view strKey) const;
  // Names, each followed by a zero, in file order and spelled as in the file.
  std::string GetSectionNames() const;
  std::string GetKeyNames(std::string_view strSection) const;

  // The text after writing "key=value": the key's line replaced in place (the key keeps its
  // spelling and the line its line break), else a line added after the section's last key,
  // else the section added at the end of the text.
  std::string WithValue(std::string_view strSection, std::string_view strKey,
                        std::string_view strValue) const;
  // The text without every line of the key in the first matching section.
  std::string WithoutKey(std::string_view strSection, std::string_view strKey) const;
  // The text without every matching section, header to the next header.
  std::string WithoutSection(std::string_view strSection) const;

 private:
  std::string m_strText;
  std::string m_strLineBreak;  // the first line break of the text; "\n" when it has none
};
