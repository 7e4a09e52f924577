// The message library's C interface: field-tagged messages composed in a scratch buffer,
// and read back from received messages by field id.
//
// Every call returns non-zero on success and zero on failure, and stores an error code
// (OTP_ERR_*) in its last argument when that pointer is not null. No call throws.
// A message holds at most OTP_MAX_MESSAGE_SIZE bytes, its encoding included; field ids are
// unique in a message.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define OTP_API __attribute__((visibility("default")))

// The largest encoded message (16 MiB): the message header, plus a field header (2 to 10
// bytes) and the value for every field.
#define OTP_MAX_MESSAGE_SIZE (16u * 1024u * 1024u)

// A message handle: composes into a scratch buffer after otp_start_msg, or is a received
// message that answers field look-ups.
typedef struct sOtpMessage* OTP_MSG;
// A scratch buffer. The first 32-bit word it points at is the length of the message composed
// in it; writing 0 there empties it, and otp_add_data then fails until otp_start_msg.
typedef struct sOtpScratch* OTP_SCRATCH;

typedef struct sOtpFieldInfo {
  uint32_t nFieldId;
  uint32_t nType;
  uint64_t nLength;
} OTP_FIELD_INFO;

// The bytes of one field as otp_get_data gives them; pValue is null when the field is absent.
typedef struct sOtpFieldData {
  const void* pValue;
  uint64_t nLength;
} OTP_FIELD_DATA;

enum {
  OTP_ERR_NONE = 0,
  OTP_ERR_ARGUMENT = 1,  // a null handle or pointer, or a handle of the wrong kind
  OTP_ERR_NO_MEMORY = 2,
  OTP_ERR_NOT_STARTED = 3,  // otp_add_data before otp_start_msg, or after the scratch was emptied
  OTP_ERR_TOO_LARGE = 4,    // the message would pass OTP_MAX_MESSAGE_SIZE
  OTP_ERR_NOT_FOUND = 5,    // no such field in the message
  OTP_ERR_MALFORMED = 6,    // received bytes that are not a well-formed message
  OTP_ERR_TYPE = 7,         // a field type other than 1
  OTP_ERR_DUPLICATE = 8     // a field id the message holds already
};

// Creates an empty message handle.
OTP_API int otp_ctor_primecb(OTP_MSG* phMsg, int32_t* pnErr);
// Opens a scratch buffer with room for nSize bytes at first (at most OTP_MAX_MESSAGE_SIZE);
// it grows as a message needs.
OTP_API int otp_open_scratch(OTP_SCRATCH* phScratch, uint32_t nSize, int32_t* pnErr);
// Starts an empty message in the scratch buffer; the handle composes into it from now on.
// Any handle composing into the same scratch sees the new message. A received message
// cannot compose (OTP_ERR_ARGUMENT).
OTP_API int otp_start_msg(OTP_MSG hMsg, OTP_SCRATCH hScratch, int32_t* pnErr);
// Appends one field. nType 1 is bytes, the only kind (OTP_ERR_TYPE for another). pValue may be
// null when nLength is 0; an empty field is present with length 0. A failed call leaves the
// message as it was.
OTP_API int otp_add_data(OTP_MSG hMsg, uint32_t nFieldId, int32_t nType, const void* pValue, uint64_t nLength,
                         int32_t* pnErr);
// Succeeds when the field is present in the message (received, or composed so far); pInfo
// may be null.
OTP_API int otp_get_field(OTP_MSG hMsg, uint32_t nFieldId, OTP_FIELD_INFO* pInfo, int32_t* pnErr);
// Gives the field's bytes (not zero-terminated) and their length. The bytes of a received
// message stay valid as long as the message does; those of a message being composed until
// the next otp_start_msg or otp_add_data. nIndex must be 0. On failure the outputs are null
// and 0.
OTP_API int otp_get_data(OTP_MSG hMsg, uint32_t nFieldId, int32_t nIndex, const void** ppValue,
                         uint64_t* pnLength, int32_t* pnErr);
// Reads nCount fields in one call, arrData[i] for arrFieldIds[i], as otp_get_data would one by
// one. Succeeds whether or not every field is present. Asking in the order the fields were
// written costs no index look-up.
OTP_API int otp_get_data_many(OTP_MSG hMsg, const uint32_t* arrFieldIds, uint32_t nCount, OTP_FIELD_DATA* arrData,
                              int32_t* pnErr);
// Closes the scratch buffer; handles composing into it compose nothing until started again.
OTP_API int otp_close_scratch(OTP_SCRATCH hScratch, int32_t* pnErr);
OTP_API int otp_dtor_primecb(OTP_MSG hMsg, int32_t* pnErr);

#ifdef __cplusplus
}
#endif
