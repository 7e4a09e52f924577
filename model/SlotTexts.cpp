#include "model/SlotTexts.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <emmintrin.h>
#include <utility>

#include "model/RecordMemory.h"

namespace {

// The packed alphabet: a character's code is its nibble; kPad fills the last byte of an odd
// number of characters.
constexpr char kPackedChars[] = "0123456789.-";
constexpr uint8_t kPad = CSlotTexts::kPackedPad;

// Packs up to 16 characters held in a register into (nChars + 1) / 2 bytes at pOut (8 bytes
// are written); false when one of them has no code. Lanes past nChars are ignored.
bool PackRegister(__m128i text, size_t nChars, char* pOut) {
  const __m128i digit = _mm_sub_epi8(text, _mm_set1_epi8('0'));
  const __m128i isDigit = _mm_cmpeq_epi8(_mm_min_epu8(digit, _mm_set1_epi8(9)), digit);
  const __m128i isDot = _mm_cmpeq_epi8(text, _mm_set1_epi8('.'));
  const __m128i isMinus = _mm_cmpeq_epi8(text, _mm_set1_epi8('-'));
  const unsigned nCoded = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(isDigit, _mm_or_si128(isDot, isMinus))));
  const unsigned nWanted = (1u << nChars) - 1;
  if ((nCoded & nWanted) != nWanted) return false;
  __m128i code = _mm_or_si128(_mm_and_si128(isDigit, digit),
                              _mm_or_si128(_mm_and_si128(isDot, _mm_set1_epi8(10)), _mm_and_si128(isMinus, _mm_set1_epi8(11))));
  const __m128i isPad = _mm_cmpgt_epi8(_mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15),
                                       _mm_set1_epi8(static_cast<char>(nChars - 1)));
  code = _mm_or_si128(_mm_andnot_si128(isPad, code), _mm_and_si128(isPad, _mm_set1_epi8(kPad)));
  // Each 16-bit lane holds two codes, the first in its low byte: the pair's byte is first << 4
  // | second.
  const __m128i pairs = _mm_or_si128(_mm_and_si128(_mm_slli_epi16(code, 4), _mm_set1_epi16(0x00F0)),
                                     _mm_srli_epi16(code, 8));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(pOut), _mm_packus_epi16(pairs, pairs));
  return true;
}

// Packs up to 16 characters at pText (16 bytes are read) as PackRegister does.
bool PackBlock(const char* pText, size_t nChars, char* pOut) {
  return PackRegister(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pText)), nChars, pOut);
}

template <typename T>
T LoadBytes(const char* pBytes) {
  T value;
  std::memcpy(&value, pBytes, sizeof value);
  return value;
}

// 3 to 16 bytes in the low lanes of a register, read without passing the last of them; the
// other lanes hold copies of some of them.
__m128i LoadShortText(const char* pText, size_t nLength) {
  uint64_t nLow = 0;
  uint64_t nHigh = 0;
  if (nLength >= 8) {
    nLow = LoadBytes<uint64_t>(pText);
    if (nLength > 8) nHigh = LoadBytes<uint64_t>(pText + nLength - 8) >> (8 * (16 - nLength));
  } else if (nLength >= 4) {
    nLow = LoadBytes<uint32_t>(pText) | (uint64_t{LoadBytes<uint32_t>(pText + nLength - 4)} << (8 * (nLength - 4)));
  } else {
    nLow = LoadBytes<uint16_t>(pText) | (uint64_t{static_cast<uint8_t>(pText[2])} << 16);
  }
  return _mm_set_epi64x(static_cast<int64_t>(nHigh), static_cast<int64_t>(nLow));
}

// Packs the text in place; false, and nothing changed, when a character has no code. Reads up
// to 15 bytes past the text and may write up to 7 bytes past the packed size.
bool PackInPlace(char* pText, size_t nLength, size_t& nPackedSize) {
  nPackedSize = (nLength + 1) / 2;
  char arrPacked[CSlotTexts::kMaxTextLength / 2 + 8];
  for (size_t n = 0; n < nLength; n += 16)
    if (!PackBlock(pText + n, std::min<size_t>(16, nLength - n), arrPacked + n / 2)) return false;
  std::memcpy(pText, arrPacked, nPackedSize);
  return true;
}

}  // namespace

std::string_view CSlotTexts::Unpack(const char* pPacked, size_t nSize) {
  static thread_local char s_arrBuffers[kUnpackBuffers][kMaxTextLength + 1];
  static thread_local int s_nNext = 0;
  char* pText = s_arrBuffers[s_nNext];
  s_nNext = (s_nNext + 1) % kUnpackBuffers;
  size_t nLength = 0;
  for (size_t n = 0; n < nSize; ++n) {
    const uint8_t nByte = static_cast<uint8_t>(pPacked[n]);
    pText[nLength++] = kPackedChars[nByte >> 4];
    if ((nByte & 0xF) != kPad) pText[nLength++] = kPackedChars[nByte & 0xF];
  }
  return {pText, nLength};
}

CSlotTexts::CSlotTexts(const CSlotTexts& other) {
  *this = other;
}

CSlotTexts& CSlotTexts::operator=(const CSlotTexts& other) {
  if (this != &other) {
    Assign(other.m_pText, other.m_nLength, other.m_arrGroupStart, other.m_arrStart, other.m_arrPacked,
           other.m_arrNumber);
  }
  return *this;
}

CSlotTexts::CSlotTexts(CSlotTexts&& other) noexcept { *this = std::move(other); }

CSlotTexts::~CSlotTexts() { recordmemory::Release(m_pText, m_nCapacity); }

CSlotTexts& CSlotTexts::operator=(CSlotTexts&& other) noexcept {
  if (this != &other) {
    recordmemory::Release(m_pText, m_nCapacity);
    m_pText = std::exchange(other.m_pText, nullptr);
    m_nLength = std::exchange(other.m_nLength, 0);
    m_nCapacity = std::exchange(other.m_nCapacity, 0);
    std::copy_n(other.m_arrGroupStart, kGroupCount, m_arrGroupStart);
    std::copy_n(other.m_arrStart, kRmsSlotCount + 1, m_arrStart);
    std::copy_n(other.m_arrPacked, kPackedWords, m_arrPacked);
    std::copy_n(other.m_arrNumber, kPackedWords, m_arrNumber);
    std::fill_n(other.m_arrGroupStart, kGroupCount, 0u);
    std::fill_n(other.m_arrStart, kRmsSlotCount + 1, uint16_t{0});
    std::fill_n(other.m_arrPacked, kPackedWords, uint64_t{0});
    std::fill_n(other.m_arrNumber, kPackedWords, uint64_t{0});
  }
  return *this;
}

void CSlotTexts::Assign(const char* pText, uint32_t nLength, const uint32_t* pGroupStarts,
                        const uint16_t* pStarts, const uint64_t* pPacked, const uint64_t* pNumber) {
  if (m_nCapacity < nLength || m_nCapacity / 2 > nLength) Reserve(nLength);
  if (nLength != 0) {
    std::memcpy(m_pText, pText, nLength);
  }
  m_nLength = nLength;
  std::copy_n(pGroupStarts, kGroupCount, m_arrGroupStart);
  std::copy_n(pStarts, kRmsSlotCount + 1, m_arrStart);
  std::copy_n(pPacked, kPackedWords, m_arrPacked);
  std::copy_n(pNumber, kPackedWords, m_arrNumber);
}

void CSlotTexts::Reserve(uint32_t nLength) {
  char* pText = nLength == 0 ? nullptr : static_cast<char*>(recordmemory::Allocate(nLength));
  recordmemory::Release(m_pText, m_nCapacity);
  m_pText = pText;
  m_nCapacity = nLength == 0 ? 0 : static_cast<uint32_t>(recordmemory::GetBlockSize(nLength));
}

void CSlotTexts::Set(int nSlot, std::string_view strText) {
  strText = strText.substr(0, kMaxTextLength);
  m_arrPacked[nSlot / 64] &= ~(uint64_t{1} << (nSlot % 64));
  m_arrNumber[nSlot / 64] &= ~(uint64_t{1} << (nSlot % 64));
  const size_t nStart = GetStart(nSlot);
  const size_t nEnd = GetStart(nSlot + 1);
  const size_t nTail = m_nLength - nEnd;
  const uint32_t nNewLength = static_cast<uint32_t>(m_nLength - (nEnd - nStart) + strText.size());
  if (nNewLength > m_nCapacity) {
    const size_t nCapacity = recordmemory::GetBlockSize(std::max(nNewLength, m_nCapacity + m_nCapacity / 2));
    auto* pText = static_cast<char*>(recordmemory::Allocate(nCapacity));
    if (nStart != 0) {
      std::memcpy(pText, m_pText, nStart);
    }
    if (nTail != 0) {
      std::memcpy(pText + nStart + strText.size(), m_pText + nEnd, nTail);
    }
    recordmemory::Release(m_pText, m_nCapacity);
    m_pText = pText;
    m_nCapacity = static_cast<uint32_t>(nCapacity);
  } else if (nTail != 0) {
    std::memmove(m_pText + nStart + strText.size(), m_pText + nEnd, nTail);
  }
  if (!strText.empty()) {
    std::memcpy(m_pText + nStart, strText.data(), strText.size());
  }
  m_nLength = nNewLength;

  // Later starts of the slot's group move by the change; later groups move as a whole. The
  // first start of a group is 0 relative to the group and stays.
  const int nGroup = nSlot / kGroupSize;
  const int nGroupEnd = std::min((nGroup + 1) * kGroupSize, kRmsSlotCount + 1);
  const size_t nOldLength = nEnd - nStart;
  for (int i = nSlot + 1; i < nGroupEnd; ++i) {
    m_arrStart[i] = static_cast<uint16_t>(m_arrStart[i] - nOldLength + strText.size());
  }
  for (int i = nGroup + 1; i < kGroupCount; ++i) {
    m_arrGroupStart[i] = static_cast<uint32_t>(m_arrGroupStart[i] - nOldLength + strText.size());
  }
}

void CSlotTextsWriter::Append(std::string_view strText) {
  const size_t nLength = std::min(strText.size(), CSlotTexts::kMaxTextLength);
  if (nLength != 0) {
    std::memcpy(GetSlotBuffer(), strText.data(), nLength);
  }
  EndSlot(nLength);
}

void CSlotTextsWriter::AppendNumber(std::string_view strBytes) {
  const uint32_t nWord = m_nSlot / 64;
  const uint64_t nBit = uint64_t{1} << (m_nSlot % 64);
  m_arrNumber[nWord] |= nBit;
  const size_t nLength = std::min(strBytes.size(), CSlotTexts::kMaxTextLength);
  char* pOut = GetSlotBuffer();
  // One or two characters take a byte either way.
  if (nLength < 3) {
    if (nLength != 0) std::memcpy(pOut, strBytes.data(), nLength);
    EndSlot(nLength);
    return;
  }
  // The common case: the characters go from the message to a register and are packed there.
  if (nLength <= 16) {
    const __m128i text = LoadShortText(strBytes.data(), nLength);
    if (PackRegister(text, nLength, pOut)) {
      m_arrPacked[nWord] |= nBit;
      EndSlot((nLength + 1) / 2);
    } else {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(pOut), text);
      EndSlot(nLength);
    }
    return;
  }
  std::memcpy(pOut, strBytes.data(), nLength);
  size_t nPackedSize = 0;
  if (!PackInPlace(pOut, nLength, nPackedSize)) {
    EndSlot(nLength);
    return;
  }
  m_arrPacked[nWord] |= nBit;
  EndSlot(nPackedSize);
}

void CSlotTextsWriter::EndSlot(size_t nLength) {
  assert(m_nSlot < static_cast<uint32_t>(kRmsSlotCount) && nLength <= CSlotTexts::kMaxTextLength);
  const uint32_t nSlot = m_nSlot++;
  const uint32_t nGroup = nSlot / CSlotTexts::kGroupSize;
  if (nSlot % CSlotTexts::kGroupSize == 0) {
    m_arrGroupStart[nGroup] = m_nLength;
  }
  m_arrStart[nSlot] = static_cast<uint16_t>(m_nLength - m_arrGroupStart[nGroup]);
  m_nLength += static_cast<uint32_t>(nLength);
}

void CSlotTextsWriter::Start() {
  m_nLength = 0;
  m_nSlot = 0;
  std::fill_n(m_arrPacked, CSlotTexts::kPackedWords, uint64_t{0});
  std::fill_n(m_arrNumber, CSlotTexts::kPackedWords, uint64_t{0});
}

void CSlotTextsWriter::CommitTo(CSlotTexts& texts) {
  assert(m_nSlot == static_cast<uint32_t>(kRmsSlotCount));
  m_arrStart[kRmsSlotCount] = static_cast<uint16_t>(
      m_nLength - m_arrGroupStart[kRmsSlotCount / CSlotTexts::kGroupSize]);
  texts.Assign(m_pText.get(), m_nLength, m_arrGroupStart, m_arrStart, m_arrPacked, m_arrNumber);
}
