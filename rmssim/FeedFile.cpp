#include "rmssim/FeedFile.h"

#include <cerrno>
#include <cstring>

#include "connect/include/HalvoCodec.h"

namespace {

constexpr size_t kReadChunk = 256 * 1024;

}  // namespace

CFeedWriter::~CFeedWriter() { Close(); }

bool CFeedWriter::Open(const std::string& strPath, std::string& strError) {
  Close();
  m_pFile = std::fopen(strPath.c_str(), "wb");
  if (m_pFile == nullptr) {
    strError = "cannot create " + strPath + ": " + std::strerror(errno);
    return false;
  }
  m_bFailed = false;
  return true;
}

void CFeedWriter::Write(const uint8_t* pBytes, size_t nLength) {
  if (m_pFile != nullptr && std::fwrite(pBytes, 1, nLength, m_pFile) != nLength) m_bFailed = true;
}

bool CFeedWriter::Close() {
  if (m_pFile == nullptr) return !m_bFailed;
  if (std::fclose(m_pFile) != 0) m_bFailed = true;
  m_pFile = nullptr;
  return !m_bFailed;
}

CFeedReader::~CFeedReader() {
  if (m_pFile != nullptr) std::fclose(m_pFile);
}

bool CFeedReader::Open(const std::string& strPath, std::string& strError) {
  if (m_pFile != nullptr) std::fclose(m_pFile);
  m_arrBuffer.clear();
  m_nStart = 0;
  m_pFile = std::fopen(strPath.c_str(), "rb");
  if (m_pFile == nullptr) {
    strError = "cannot open " + strPath + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

bool CFeedReader::ReadMore() {
  if (m_pFile == nullptr) return false;
  // Drop what was handed out before the buffer grows.
  m_arrBuffer.erase(m_arrBuffer.begin(), m_arrBuffer.begin() + static_cast<std::ptrdiff_t>(m_nStart));
  m_nStart = 0;
  const size_t nOld = m_arrBuffer.size();
  m_arrBuffer.resize(nOld + kReadChunk);
  const size_t nRead = std::fread(m_arrBuffer.data() + nOld, 1, kReadChunk, m_pFile);
  m_arrBuffer.resize(nOld + nRead);
  return nRead > 0;
}

CFeedReader::eResult CFeedReader::ReadNext(std::vector<uint8_t>& arrMessage) {
  for (;;) {
    const size_t nAvailable = m_arrBuffer.size() - m_nStart;
    const int64_t nLength = nAvailable == 0 ? 0 : GetFrameLength(m_arrBuffer.data() + m_nStart, nAvailable);
    if (nLength < 0) return eResult::kCorrupt;
    if (nLength > 0) {
      const auto itStart = m_arrBuffer.begin() + static_cast<std::ptrdiff_t>(m_nStart);
      arrMessage.assign(itStart, itStart + nLength);
      m_nStart += static_cast<size_t>(nLength);
      return eResult::kMessage;
    }
    if (!ReadMore()) return m_arrBuffer.size() == m_nStart ? eResult::kEnd : eResult::kCorrupt;
  }
}
