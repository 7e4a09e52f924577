// What the opaque handles of the C interface hold.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

#include "connect/MessageWriter.h"
#include "connect/ParsedMessage.h"
#include "connect/include/connecthalvo.h"

struct sOtpScratch {
  // Callers reach this as the scratch's first 32-bit word: the length of the message composed
  // here. They write 0 to empty it, so a message is being composed only while this matches
  // the writer's length.
  uint32_t nLength = 0;
  CMessageWriter writer;
  // The handles composing into this scratch; they are unbound when it closes.
  std::vector<sOtpMessage*> arrBound;

  bool IsComposing() const { return nLength != 0 && nLength == writer.GetBytes().size(); }
};
static_assert(std::is_standard_layout_v<sOtpScratch>,
              "the length must be reachable as the scratch's first word");

struct sOtpMessage {
  // Set after otp_start_msg: the scratch this handle composes into.
  sOtpScratch* pScratch = nullptr;
  // Set for a received message, held in the handle itself: one allocation fewer per message.
  std::optional<CParsedMessage> optReceived;
};

// Binds the handle to a scratch, or unbinds it (pScratch null). Throws std::bad_alloc.
void BindScratch(sOtpMessage& msg, sOtpScratch* pScratch);
// Looks a field up in a received message, or in the message a handle is composing.
// OTP_ERR_NONE or OTP_ERR_NOT_FOUND.
int32_t FindMessageField(const sOtpMessage& msg, uint32_t nFieldId, const uint8_t** ppValue,
                         uint32_t* pnLength);
