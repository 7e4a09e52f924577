#include "host/transport/DeliveryKey.h"

#include <string_view>

#include "link/RmsProtocol.h"

namespace {

bool ReadField(OTP_MSG hMsg, uint32_t nFieldId, std::string_view& strValue) {
  const void* pValue = nullptr;
  uint64_t nLength = 0;
  if (otp_get_data(hMsg, nFieldId, 0, &pValue, &nLength, nullptr) == 0) return false;
  strValue = std::string_view(static_cast<const char*>(pValue), static_cast<size_t>(nLength));
  return true;
}

bool HasField(OTP_MSG hMsg, uint32_t nFieldId) {
  return otp_get_field(hMsg, nFieldId, nullptr, nullptr) != 0;
}

// A field as length and bytes, or one byte for an absent field, so no two messages share the
// result unless they share the field.
void AppendField(OTP_MSG hMsg, uint32_t nFieldId, std::string& strTo) {
  std::string_view strValue;
  if (!ReadField(hMsg, nFieldId, strValue)) {
    strTo.push_back('-');
    return;
  }
  strTo.append(std::to_string(strValue.size())).push_back(':');
  strTo.append(strValue);
}

}  // namespace

sDeliveryKey GetDeliveryKey(OTP_MSG hMsg, bool bPublication) {
  sDeliveryKey key;
  std::string_view strText;
  if (!ReadField(hMsg, rmsproto::kEntityTextField, strText)) return key;
  strText = strText.substr(0, strText.find('\0'));
  const size_t nDash = strText.find('-');
  key.strEntity.assign(nDash == std::string_view::npos ? strText : strText.substr(nDash + 1));

  std::string_view strName;
  if (!bPublication || !ReadField(hMsg, rmsproto::kPublicationNameField, strName) ||
      strName != rmsproto::kValuesTopic || HasField(hMsg, rmsproto::kDeleteMarkField))
    return key;
  // The entity and level texts name the record; the peer value decides the user's screening.
  for (const uint32_t nFieldId : {rmsproto::kEntityTextField, rmsproto::kLevelTextField,
                                  rmsproto::kRequestLevelTextField, rmsproto::kPeerValueField})
    AppendField(hMsg, nFieldId, key.strReplaceable);
  return key;
}
