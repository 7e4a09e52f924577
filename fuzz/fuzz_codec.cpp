// Feeds arbitrary bytes to the message parser, which must accept exactly what a walk written
// apart accepts. For input that parses, every field it holds is looked up and read, ids next to
// them must be absent, and composing the same fields again through the C interface and the
// builder must give back the input byte for byte (the same fields, for the older version).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>
#include <vector>

#include "connect/include/HalvoCodec.h"
#include "connect/include/connecthalvo.h"
#include "tests/support/WireFields.h"

namespace {

void Check(bool bCondition) {
  if (!bCondition) {
    std::abort();
  }
}

bool HasUniqueIds(const std::vector<sWireField>& arrFields) {
  std::set<uint32_t> setIds;
  for (const sWireField& field : arrFields) {
    if (!setIds.insert(field.nId).second) return false;
  }
  return true;
}

// Composes the fields again through the C interface and the builder; both must give the same
// bytes, and those bytes the same fields.
std::vector<uint8_t> Recompose(const std::vector<sWireField>& arrFields) {
  OTP_MSG hMsg = nullptr;
  OTP_SCRATCH hScratch = nullptr;
  Check(otp_ctor_primecb(&hMsg, nullptr) && otp_open_scratch(&hScratch, 64, nullptr));
  *reinterpret_cast<uint32_t*>(hScratch) = 0;
  Check(otp_start_msg(hMsg, hScratch, nullptr));
  CMessageBuilder builder;
  for (const sWireField& field : arrFields) {
    Check(otp_add_data(hMsg, field.nId, 1, field.pValue, field.nLength, nullptr));
    Check(builder.AddField(field.nId, field.pValue, field.nLength) == OTP_ERR_NONE);
  }
  const uint8_t* pComposed = nullptr;
  size_t nComposed = 0;
  Check(GetScratchBytes(hScratch, &pComposed, &nComposed));
  std::vector<uint8_t> arrComposed(pComposed, pComposed + nComposed);
  Check(builder.GetBytes() == arrComposed);
  otp_close_scratch(hScratch, nullptr);
  otp_dtor_primecb(hMsg, nullptr);

  const std::optional<std::vector<sWireField>> arrAgain = ReadWireFields(arrComposed.data(), arrComposed.size());
  Check(arrAgain && arrAgain->size() == arrFields.size());
  for (size_t n = 0; n < arrFields.size(); ++n) {
    const sWireField& field = arrFields[n];
    Check((*arrAgain)[n].nId == field.nId && (*arrAgain)[n].nLength == field.nLength &&
          std::memcmp((*arrAgain)[n].pValue, field.pValue, field.nLength) == 0);
  }
  return arrComposed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const int64_t nFrame = GetFrameLength(pData, nSize);
  int32_t nErr = -1;
  OTP_MSG hMsg = ParseOtpMessage(pData, nSize, &nErr);
  // The parser and the hand-written walk agree on what is a message.
  const std::optional<std::vector<sWireField>> arrFields = ReadWireFields(pData, nSize);
  Check((hMsg != nullptr) == (arrFields && HasUniqueIds(*arrFields)));
  if (hMsg == nullptr) {
    Check(nErr == OTP_ERR_MALFORMED);
    return 0;
  }
  Check(nErr == OTP_ERR_NONE && nFrame == static_cast<int64_t>(nSize));

  std::set<uint32_t> setIds;
  for (const sWireField& field : *arrFields) {
    setIds.insert(field.nId);
    const void* pValue = nullptr;
    uint64_t nLength = 0;
    Check(otp_get_data(hMsg, field.nId, 0, &pValue, &nLength, nullptr));
    Check(nLength == field.nLength && std::memcmp(pValue, field.pValue, field.nLength) == 0);
  }
  for (const sWireField& field : *arrFields) {
    for (uint32_t nNear : {field.nId + 1, field.nId ^ 0x80000000u, field.nId * 31}) {
      OTP_FIELD_INFO info{};
      Check(otp_get_field(hMsg, nNear, &info, nullptr) == static_cast<int>(setIds.count(nNear)));
    }
  }
  // A message has one encoding in the version written: what parsed is composed back byte for
  // byte. One in the older version reads the same fields.
  const std::vector<uint8_t> arrComposed = Recompose(*arrFields);
  Check(pData[6] != 2 || (arrComposed.size() == nSize && std::memcmp(arrComposed.data(), pData, nSize) == 0));
  otp_dtor_primecb(hMsg, nullptr);
  return 0;
}
