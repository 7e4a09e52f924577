// The wire format of a message, all fixed-size integers little-endian:
//
//   header   u32 total length in bytes (header included)
//            u16 magic 0x4F48 ("HO"), u16 format version (2 is written, 1 is still read)
//            u32 number of fields
//   field    version 2: varint id step, varint value length, the value's bytes (no padding)
//            version 1: u32 field id, u32 value length, the value's bytes (no padding)
//
// A varint holds a u32 in 7-bit groups, least significant first, the top bit of every byte but
// the last set: one byte up to 127, at most five. Only the shortest form is accepted (no last
// byte 0 after others, no bits past 32), so a message has one encoding. The id step is the
// field's id minus the previous field's id (minus 0 for the first field), wrapping in 32 bits,
// zigzag-mapped (0, -1, 1, -2 ... to 0, 1, 2, 3 ...): ids may come in any order, and a record
// whose ids climb or fall by less than 64 from one field to the next spends two bytes on each
// field's header where version 1 spends eight: a third of a record's bytes.
//
// The first word alone delimits a message in a stream. Field ids are unique in a message.
#pragma once

#include <cstddef>
#include <cstdint>

#include "connect/include/connecthalvo.h"

namespace wire {

inline constexpr uint32_t kHeaderSize = 12;
inline constexpr uint16_t kMagic = 0x4F48;
inline constexpr uint16_t kFixedVersion = 1;
inline constexpr uint16_t kCompactVersion = 2;
// The field header of version 1; version 2's takes 2 to 10 bytes.
inline constexpr uint32_t kFixedFieldHeaderSize = 8;
inline constexpr uint32_t kSmallestCompactFieldHeader = 2;
inline constexpr uint32_t kLongestVarint = 5;
// The largest message, header included. Keeps every offset in 32 bits and bounds what a
// malformed length word can make a reader allocate.
inline constexpr uint32_t kMaxMessageSize = OTP_MAX_MESSAGE_SIZE;
// The only field type: bytes.
inline constexpr int32_t kTypeBytes = 1;

inline constexpr size_t kLengthOffset = 0;
inline constexpr size_t kMagicOffset = 4;
inline constexpr size_t kVersionOffset = 6;
inline constexpr size_t kCountOffset = 8;

inline uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

inline uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline void WriteU16(uint8_t* p, uint16_t nValue) {
  p[0] = static_cast<uint8_t>(nValue);
  p[1] = static_cast<uint8_t>(nValue >> 8);
}

inline void WriteU32(uint8_t* p, uint32_t nValue) {
  p[0] = static_cast<uint8_t>(nValue);
  p[1] = static_cast<uint8_t>(nValue >> 8);
  p[2] = static_cast<uint8_t>(nValue >> 16);
  p[3] = static_cast<uint8_t>(nValue >> 24);
}

inline bool IsKnownVersion(uint16_t nVersion) { return nVersion == kFixedVersion || nVersion == kCompactVersion; }

// The most fields a message of nLength bytes in a known version can hold; bounds a field count
// before trusting it.
inline constexpr uint32_t GetMostFields(uint32_t nLength, uint16_t nVersion) {
  const uint32_t nFieldHeader = nVersion == kFixedVersion ? kFixedFieldHeaderSize : kSmallestCompactFieldHeader;
  return nLength < kHeaderSize ? 0 : (nLength - kHeaderSize) / nFieldHeader;
}

// The id step of version 2 from one id to the next, and back.
inline constexpr uint32_t MakeIdStep(uint32_t nPreviousId, uint32_t nFieldId) {
  const uint32_t nDifference = nFieldId - nPreviousId;
  return (nDifference << 1) ^ (0u - (nDifference >> 31));
}
inline constexpr uint32_t TakeIdStep(uint32_t nPreviousId, uint32_t nStep) {
  return nPreviousId + ((nStep >> 1) ^ (0u - (nStep & 1)));
}

// Writes nValue at p (room for kLongestVarint bytes) and returns the byte after it.
inline uint8_t* WriteVarint(uint8_t* p, uint32_t nValue) {
  for (; nValue >= 0x80; nValue >>= 7) *p++ = static_cast<uint8_t>(nValue | 0x80);
  *p++ = static_cast<uint8_t>(nValue);
  return p;
}

// The forms longer than a byte, apart so that the one-byte case inlines.
inline const uint8_t* ReadLongVarint(const uint8_t* p, const uint8_t* pEnd, uint32_t* pnValue) {
  uint32_t nValue = 0;
  for (uint32_t nByte = 0; nByte < kLongestVarint && p < pEnd; ++nByte) {
    const uint32_t nBits = *p++;
    nValue |= (nBits & 0x7F) << (7 * nByte);
    if (nBits < 0x80) {
      // A last byte of 0 after others is a longer form than needed; the fifth byte has room
      // for the top four bits only.
      if ((nBits == 0 && nByte > 0) || (nByte == kLongestVarint - 1 && nBits > 0x0F)) return nullptr;
      *pnValue = nValue;
      return p;
    }
  }
  return nullptr;
}

// Reads the varint at p, which must end before pEnd, and returns the byte after it; null when
// it runs past pEnd, has bits past 32 or is not in its shortest form.
inline const uint8_t* ReadVarint(const uint8_t* p, const uint8_t* pEnd, uint32_t* pnValue) {
  if (p < pEnd && *p < 0x80) {
    *pnValue = *p;
    return p + 1;
  }
  return ReadLongVarint(p, pEnd, pnValue);
}

// The second byte of a two-byte varint: it ends the varint and is not 0 (a longer form than
// needed).
inline bool IsSecondOfTwo(uint32_t nByte) { return nByte - 1 < 0x7F; }

// Reads a varint of bytes that were checked when they arrived.
inline const uint8_t* ReadCheckedVarint(const uint8_t* p, uint32_t* pnValue) {
  uint32_t nValue = *p & 0x7F;
  for (uint32_t nShift = 7; *p++ >= 0x80; nShift += 7) nValue |= static_cast<uint32_t>(*p & 0x7F) << nShift;
  *pnValue = nValue;
  return p;
}

// The value of a field of a checked message, given where its length starts: a varint in
// version 2, a u32 in version 1.
inline const uint8_t* ReadCheckedValue(const uint8_t* pLength, bool bCompact, uint32_t* pnLength) {
  if (!bCompact) {
    *pnLength = ReadU32(pLength);
    return pLength + 4;
  }
  if (*pLength < 0x80) {
    *pnLength = *pLength;
    return pLength + 1;
  }
  return ReadCheckedVarint(pLength, pnLength);
}

}  // namespace wire
