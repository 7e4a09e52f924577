#include "host/transport/DeliveryKey.h"

#include <optional>
#include <string_view>

#include "host/transport/TransportWire.h"
#include "protocol/RmsProtocol.h"

namespace {

using halvowire::GetFieldBytes;

bool HasField(OTP_MSG hMsg, uint32_t nFieldId) {
  return otp_get_field(hMsg, nFieldId, nullptr, nullptr) != 0;
}

// A field as length and bytes, or one byte for an absent field, so no two messages share the
// result unless they share the field.
void AppendField(OTP_MSG hMsg, uint32_t nFieldId, std::string& strTo) {
  const std::optional<std::string_view> strValue = GetFieldBytes(hMsg, nFieldId);
  if (!strValue) {
    strTo.push_back('-');
    return;
  }
  strTo.append(std::to_string(strValue->size())).push_back(':');
  strTo.append(*strValue);
}

}  // namespace

sDeliveryKey GetDeliveryKey(OTP_MSG hMsg, bool bPublication) {
  sDeliveryKey key;
  const std::optional<std::string_view> strField = GetFieldBytes(hMsg, rmsproto::kEntityTextField);
  if (!strField) return key;
  const std::string_view strText = strField->substr(0, strField->find('\0'));
  const size_t nDash = strText.find('-');
  key.strEntity.assign(nDash == std::string_view::npos ? strText : strText.substr(nDash + 1));

  if (!bPublication || halvowire::GetPublicationName(hMsg) != rmsproto::kValuesTopic ||
      HasField(hMsg, rmsproto::kDeleteMarkField))
    return key;
  // The entity and level texts name the record; the peer value decides the user's screening.
  for (const uint32_t nFieldId : {rmsproto::kEntityTextField, rmsproto::kLevelTextField,
                                  rmsproto::kRequestLevelTextField, rmsproto::kPeerValueField})
    AppendField(hMsg, nFieldId, key.strReplaceable);
  return key;
}
