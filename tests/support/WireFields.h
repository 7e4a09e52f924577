// The fields of an encoded message in the order they were written, read by hand apart from the
// library's parser, in both versions of the format (connect/WireFormat.h): for tests that check
// what was sent field by field, and as the codec fuzzer's second opinion.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "connect/include/connecthalvo.h"

struct sWireField { uint32_t nId; const uint8_t* pValue; uint32_t nLength; };

// A varint at p, which moves past it; nullopt past pEnd, past 32 bits or in a longer form
// than needed.
inline std::optional<uint32_t> TakeWireVarint(const uint8_t*& p, const uint8_t* pEnd) {
  uint64_t nValue = 0;
  for (int nShift = 0; p < pEnd && nShift < 35; nShift += 7) {
    const uint8_t nByte = *p++;
    nValue |= static_cast<uint64_t>(nByte & 0x7F) << nShift;
    if (nByte < 0x80) {
      if ((nByte == 0 && nShift > 0) || nValue > UINT32_MAX) return std::nullopt;
      return static_cast<uint32_t>(nValue);
    }
  }
  return std::nullopt;
}

// Nullopt unless the bytes are one whole message, header checked, whose fields fill it exactly.
// Repeated ids are listed as they come.
inline std::optional<std::vector<sWireField>> ReadWireFields(const uint8_t* pBytes, size_t nLength) {
  uint32_t nTotal = 0, nCount = 0;
  uint16_t nMagic = 0, nVersion = 0;
  if (nLength < 12 || nLength > OTP_MAX_MESSAGE_SIZE) return std::nullopt;
  std::memcpy(&nTotal, pBytes, 4);
  std::memcpy(&nMagic, pBytes + 4, 2);
  std::memcpy(&nVersion, pBytes + 6, 2);
  std::memcpy(&nCount, pBytes + 8, 4);
  if (nTotal != nLength || nMagic != 0x4F48 || (nVersion != 1 && nVersion != 2)) return std::nullopt;
  std::vector<sWireField> arrFields;
  const uint8_t* pEnd = pBytes + nLength;
  uint32_t nId = 0;
  for (const uint8_t* p = pBytes + 12; p < pEnd;) {
    uint32_t nSize = 0;
    if (nVersion == 1) {
      if (pEnd - p < 8) return std::nullopt;
      std::memcpy(&nId, p, 4);
      std::memcpy(&nSize, p + 4, 4);
      p += 8;
    } else {
      const std::optional<uint32_t> nStep = TakeWireVarint(p, pEnd);
      const std::optional<uint32_t> nValueSize = nStep ? TakeWireVarint(p, pEnd) : std::nullopt;
      if (!nValueSize) return std::nullopt;
      nId += *nStep & 1 ? ~(*nStep >> 1) : *nStep >> 1;
      nSize = *nValueSize;
    }
    if (nSize > static_cast<size_t>(pEnd - p)) return std::nullopt;
    arrFields.push_back({nId, p, nSize});
    p += nSize;
  }
  if (arrFields.size() != nCount) return std::nullopt;
  return arrFields;
}
