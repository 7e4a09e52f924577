// The wire format of a message, all integers little-endian:
//
//   header   u32 total length in bytes (header included)
//            u16 magic 0x4F48 ("HO"), u16 format version (1)
//            u32 number of fields
//   field    u32 field id, u32 value length, the value's bytes (no padding)
//
// The first word alone delimits a message in a stream. Field ids are unique in a message.
#pragma once

#include <cstddef>
#include <cstdint>

#include "connect/include/connecthalvo.h"

namespace wire {

inline constexpr uint32_t kHeaderSize = 12;
inline constexpr uint32_t kFieldHeaderSize = 8;
inline constexpr uint16_t kMagic = 0x4F48;
inline constexpr uint16_t kVersion = 1;
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

// The most fields a message of nLength bytes can hold; bounds a field count before trusting it.
inline constexpr uint32_t GetMostFields(uint32_t nLength) {
  return nLength < kHeaderSize ? 0 : (nLength - kHeaderSize) / kFieldHeaderSize;
}

}  // namespace wire
