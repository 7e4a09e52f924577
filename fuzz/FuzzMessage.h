// Turns fuzz input into a well-formed message with hostile values, so targets reach the code
// that reads fields rather than only the codec's rejection of malformed bytes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "connect/include/HalvoCodec.h"

// Per field: two selector bytes (an index into arrIds, or past them a raw id), a length byte
// (0xFF: 10 KB of the next byte) and the value. A repeated id is refused by the codec.
inline std::vector<uint8_t> BuildFuzzMessage(const uint8_t* pData, size_t nSize,
                                             const std::vector<uint32_t>& arrIds) {
  constexpr size_t kLongValue = 10000;
  CMessageBuilder builder;
  size_t nPos = 0;
  while (nPos + 2 <= nSize) {
    const uint16_t nSelector = static_cast<uint16_t>(pData[nPos] | (pData[nPos + 1] << 8));
    nPos += 2;
    const uint32_t nId = nSelector < arrIds.size() * 64 ? arrIds[nSelector % arrIds.size()] : nSelector;
    if (nPos >= nSize) break;
    const uint8_t nLength = pData[nPos++];
    std::string strValue;
    if (nLength == 0xFF) {
      strValue.assign(kLongValue, nPos < nSize ? static_cast<char>(pData[nPos++]) : '9');
    } else {
      const size_t nTake = std::min<size_t>(nLength, nSize - nPos);
      strValue.assign(reinterpret_cast<const char*>(pData + nPos), nTake);
      nPos += nTake;
    }
    builder.AddText(nId, strValue);
  }
  return builder.GetBytes();
}
