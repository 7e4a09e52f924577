// A recorded feed: the bytes of the messages one after another, nothing between them. The
// length word at the start of each message delimits it (GetFrameLength).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class CFeedWriter {
 public:
  CFeedWriter() = default;
  ~CFeedWriter();
  CFeedWriter(const CFeedWriter&) = delete;
  CFeedWriter& operator=(const CFeedWriter&) = delete;

  // Creates or empties the file. False with the reason when it cannot be opened.
  bool Open(const std::string& strPath, std::string& strError);
  bool IsOpen() const { return m_pFile != nullptr; }
  void Write(const uint8_t* pBytes, size_t nLength);
  // Flushes and closes; false when something could not be written.
  bool Close();

 private:
  std::FILE* m_pFile = nullptr;
  bool m_bFailed = false;
};

class CFeedReader {
 public:
  enum class eResult { kMessage, kEnd, kCorrupt };

  CFeedReader() = default;
  ~CFeedReader();
  CFeedReader(const CFeedReader&) = delete;
  CFeedReader& operator=(const CFeedReader&) = delete;

  bool Open(const std::string& strPath, std::string& strError);
  // The next message's bytes. kEnd after the last one; kCorrupt when the bytes at this point
  // do not start a message or the file ends inside one.
  eResult ReadNext(std::vector<uint8_t>& arrMessage);

 private:
  bool ReadMore();

  std::FILE* m_pFile = nullptr;
  std::vector<uint8_t> m_arrBuffer;
  size_t m_nStart = 0;  // first byte not handed out yet
};
