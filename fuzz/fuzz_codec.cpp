// Feeds arbitrary bytes to the message parser. For input that parses, every field it holds is
// looked up and read, ids next to them must be absent, and composing the same fields again
// through the C interface and the builder must give back the input byte for byte.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "connect/include/HalvoCodec.h"
#include "connect/include/connecthalvo.h"

namespace {

struct sSeenField {
  uint32_t nId;
  const uint8_t* pValue;
  uint32_t nLength;
};

uint32_t ReadWord(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void Check(bool bCondition) {
  if (!bCondition) {
    std::abort();
  }
}

// Walks a message that parsed; the walk itself stays in bounds in case the parser was wrong.
std::vector<sSeenField> WalkFields(const uint8_t* pData, size_t nSize) {
  std::vector<sSeenField> arrFields;
  size_t nOffset = 12;
  while (nOffset + 8 <= nSize) {
    const uint32_t nLength = ReadWord(pData + nOffset + 4);
    Check(nLength <= nSize - nOffset - 8);
    arrFields.push_back({ReadWord(pData + nOffset), pData + nOffset + 8, nLength});
    nOffset += 8 + nLength;
  }
  Check(nOffset == nSize && arrFields.size() == ReadWord(pData + 8));
  return arrFields;
}

void CheckRecompose(const std::vector<sSeenField>& arrFields, const uint8_t* pData, size_t nSize) {
  OTP_MSG hMsg = nullptr;
  OTP_SCRATCH hScratch = nullptr;
  Check(otp_ctor_primecb(&hMsg, nullptr) && otp_open_scratch(&hScratch, 64, nullptr));
  *reinterpret_cast<uint32_t*>(hScratch) = 0;
  Check(otp_start_msg(hMsg, hScratch, nullptr));
  CMessageBuilder builder;
  for (const sSeenField& field : arrFields) {
    Check(otp_add_data(hMsg, field.nId, 1, field.pValue, field.nLength, nullptr));
    Check(builder.AddField(field.nId, field.pValue, field.nLength) == OTP_ERR_NONE);
  }
  const uint8_t* pComposed = nullptr;
  size_t nComposed = 0;
  Check(GetScratchBytes(hScratch, &pComposed, &nComposed));
  Check(nComposed == nSize && std::memcmp(pComposed, pData, nSize) == 0);
  Check(builder.GetBytes().size() == nSize && std::memcmp(builder.GetBytes().data(), pData, nSize) == 0);
  otp_close_scratch(hScratch, nullptr);
  otp_dtor_primecb(hMsg, nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const int64_t nFrame = GetFrameLength(pData, nSize);
  int32_t nErr = -1;
  OTP_MSG hMsg = ParseOtpMessage(pData, nSize, &nErr);
  if (hMsg == nullptr) {
    Check(nErr == OTP_ERR_MALFORMED);
    return 0;
  }
  Check(nErr == OTP_ERR_NONE && nFrame == static_cast<int64_t>(nSize));

  const std::vector<sSeenField> arrFields = WalkFields(pData, nSize);
  std::set<uint32_t> setIds;
  for (const sSeenField& field : arrFields) {
    Check(setIds.insert(field.nId).second);
    const void* pValue = nullptr;
    uint64_t nLength = 0;
    Check(otp_get_data(hMsg, field.nId, 0, &pValue, &nLength, nullptr));
    Check(nLength == field.nLength && std::memcmp(pValue, field.pValue, field.nLength) == 0);
  }
  for (const sSeenField& field : arrFields) {
    for (uint32_t nNear : {field.nId + 1, field.nId ^ 0x80000000u, field.nId * 31}) {
      OTP_FIELD_INFO info{};
      Check(otp_get_field(hMsg, nNear, &info, nullptr) == static_cast<int>(setIds.count(nNear)));
    }
  }
  CheckRecompose(arrFields, pData, nSize);
  otp_dtor_primecb(hMsg, nullptr);
  return 0;
}
