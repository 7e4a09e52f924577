// The names, field ids and status codes of the risk server's messages, as the plug-in sends and
// reads them and the risk server answers and publishes them. Both ends, and the terminal's
// transport, take them from here only.
#pragma once

#include <cstdint>

namespace rmsproto {

// Requests (field 0 of a request) and the names of their responses (field 32767).
constexpr const char* kPeerDataRequest = "om_get_user_peer_data";
constexpr const char* kTreeRequest = "mrv_rst_show_tree_all";
constexpr const char* kCallStatusRequest = "roth_rst";
constexpr const char* kAlertTreeRequest = "mrv_surv_alert_show_tree_all";
constexpr const char* kPresentValuesRequest = "rms_get_prsnt_values_rst";

// Publication names (field 54211), also the topics.
constexpr const char* kValuesTopic = "rms prsnt value publish";
constexpr const char* kCallStatusTopic = "rms prsnt value publish ZEL";
constexpr const char* kManualAlertTopic = "manual sms alert";

// Status codes of a response (field 32766, sent as decimal text). A response without the field
// counts as a success.
constexpr int32_t kStatusFatal = 0;      // shown to the user as a fatal error
constexpr int32_t kStatusNotFound = 2;   // unknown request, entity or level
constexpr int32_t kStatusSuccess = 5;
constexpr int32_t kStatusEndOfList = 7;  // after the last record of a list answer

constexpr uint32_t kRequestNameField = 0;
constexpr uint32_t kResponseNameField = 32767;
constexpr uint32_t kStatusField = 32766;
constexpr uint32_t kPublicationNameField = 54211;
constexpr uint32_t kUserIdField = 31003;
constexpr uint32_t kEntityIdField = 54001;
constexpr uint32_t kSourceUserField = 54247;
constexpr uint32_t kEntityTextField = 64050;
constexpr uint32_t kLevelTextField = 54244;
// The level text a present-values request names; a record without field 54244 reads it here.
constexpr uint32_t kRequestLevelTextField = 32760;
constexpr uint32_t kPeerValueField = 64056;
constexpr uint32_t kDeleteMarkField = 20008;
// Column 19 shows this text field as a flag: "yes" sets it.
constexpr uint32_t kGroupwiseField = 64037;

// The call texts: obligation call status and date, margin call status and date.
constexpr uint32_t kObligationStatusField = 49288;
constexpr uint32_t kObligationTimeField = 10615;
constexpr uint32_t kMarginStatusField = 49302;
constexpr uint32_t kMarginTimeField = 12030;

// Level parts of a record and of a manual alert.
constexpr uint32_t kSegmentField = 63002;
constexpr uint32_t kExchangeField = 10101;
constexpr uint32_t kProductField = 64030;
constexpr uint32_t kFourthPartField = 10100;

// Manual alert fields besides the level parts and the entity and user ids.
constexpr uint32_t kAlertAmountField = 63447;
constexpr uint32_t kAlertSecondsField = 50100;
constexpr uint32_t kAlertMicrosecondsField = 50101;
constexpr uint32_t kAlertKindField = 63059;

// Text fields of a record that describe the entity.
constexpr uint32_t kEntityNameField = 54002;
constexpr uint32_t kEmailField = 41234;
constexpr uint32_t kBranchIdField = 64053;
constexpr uint32_t kCategoryField = 13034;
constexpr uint32_t kRemarksField = 64312;

}  // namespace rmsproto
