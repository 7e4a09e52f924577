// How one line of an INI file reads: a section header, a key with its value, or anything else
// (blank lines, comments, lines without '='), which readers skip and writers keep as they are.
#pragma once

#include <cstddef>
#include <string_view>

enum class EIniLineKind { Other, Section, Key };

struct sIniLine {
  EIniLineKind eKind = EIniLineKind::Other;
  std::string_view strName;   // section or key name without the blanks around it
  std::string_view strValue;  // value without the blanks around it and without matching quotes
};

// Reads one line given without its line break.
sIniLine ParseIniLine(std::string_view strLine);

std::string_view TrimIniBlanks(std::string_view str);

// ASCII letters compare without regard to case; every other byte compares as it is.
bool EqualsIgnoringCase(std::string_view strLeft, std::string_view strRight);

// Walks the lines of a text. A line's bytes run from GetStart() to GetNext(): its content up
// to GetContentEnd(), then its line break ("\n" or "\r\n"; the last line may have none).
class CIniLineCursor {
 public:
  explicit CIniLineCursor(std::string_view strText) : m_strText(strText) {}

  // Moves to the next line; false past the last one.
  bool Next();

  size_t GetStart() const { return m_nStart; }
  size_t GetContentEnd() const { return m_nContentEnd; }
  size_t GetNext() const { return m_nNext; }
  bool HasLineBreak() const { return m_bLineBreak; }
  const sIniLine& GetLine() const { return m_line; }

 private:
  std::string_view m_strText;
  size_t m_nStart = 0;
  size_t m_nContentEnd = 0;
  size_t m_nNext = 0;
  bool m_bLineBreak = false;
  sIniLine m_line;
};
