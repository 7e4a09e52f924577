// Composing through the C interface and the builder: round trips, reset, reuse, error codes.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "tests/connect/WireBytes.h"

namespace {

class CComposeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(otp_ctor_primecb(&m_hMsg, nullptr));
    ASSERT_TRUE(otp_open_scratch(&m_hScratch, 4096, nullptr));
  }
  void TearDown() override {
    otp_dtor_primecb(m_hMsg, nullptr);
    otp_close_scratch(m_hScratch, nullptr);
  }

  void Compose(const std::vector<sTestField>& arrFields) {
    *reinterpret_cast<uint32_t*>(m_hScratch) = 0;
    ASSERT_TRUE(otp_start_msg(m_hMsg, m_hScratch, nullptr));
    for (const sTestField& field : arrFields) {
      int32_t nErr = -1;
      ASSERT_TRUE(otp_add_data(m_hMsg, field.nId, 1, field.strValue.data(), field.strValue.size(), &nErr));
      ASSERT_EQ(nErr, OTP_ERR_NONE);
    }
  }

  std::string GetScratch() const {
    const uint8_t* pBytes = nullptr;
    size_t nLength = 0;
    if (!GetScratchBytes(m_hScratch, &pBytes, &nLength)) return "<none>";
    return std::string(reinterpret_cast<const char*>(pBytes), nLength);
  }

  OTP_MSG m_hMsg = nullptr;
  OTP_SCRATCH m_hScratch = nullptr;
};

void ExpectFields(OTP_MSG hMsg, const std::vector<sTestField>& arrFields) {
  for (const sTestField& field : arrFields) {
    EXPECT_EQ(Value(hMsg, field.nId), field.strValue) << "field " << field.nId;
    OTP_FIELD_INFO info{};
    EXPECT_TRUE(otp_get_field(hMsg, field.nId, &info, nullptr) && info.nLength == field.strValue.size());
  }
  EXPECT_EQ(Value(hMsg, 65537), std::nullopt);

  // All at once, out of order and with an absent id, the bytes are the same.
  std::vector<uint32_t> arrIds = {65537};
  for (auto it = arrFields.rbegin(); it != arrFields.rend(); ++it) arrIds.push_back(it->nId);
  std::vector<OTP_FIELD_DATA> arrData(arrIds.size(), {"stale", 5});
  ASSERT_TRUE(otp_get_data_many(hMsg, arrIds.data(), static_cast<uint32_t>(arrIds.size()), arrData.data(), nullptr));
  EXPECT_EQ(std::tuple(arrData[0].pValue, arrData[0].nLength), std::tuple(nullptr, 0u));
  for (size_t n = 1; n < arrIds.size(); ++n) {
    ASSERT_NE(arrData[n].pValue, nullptr) << "field " << arrIds[n];
    EXPECT_EQ(std::string(static_cast<const char*>(arrData[n].pValue), arrData[n].nLength), Value(hMsg, arrIds[n]));
  }
}

struct sRoundTripCase { const char* szName; std::vector<sTestField> arrFields; };

TEST_F(CComposeTest, RoundTripsThroughScratchParserAndBuilder) {
  const std::vector<sRoundTripCase> arrCases = {{"text", {{0, "om_get_user_peer_data"}, {31003, "U123"}}},
      {"binary with NULs", {{5, std::string("\0a\0\xff", 4)}, {6, std::string(1, '\0')}}},
      {"empty fields", {{1, ""}, {2, "x"}, {3, ""}}}, {"extreme ids", {{0xFFFFFFFFu, "top"}, {0, "bottom"}}},
      {"ids either side of 65536 and of a word", {{65535, "a"}, {65536, "b"}, {63, "c"}, {64, "d"}}},
      {"no fields", {}}, {"record of 300 fields", MakeRecordFields(300)},
      {"values past the initial scratch", {{7, std::string(100000, 'v')}, {8, "tail"}}},
      {"steps and lengths at varint boundaries", {{64, std::string(127, 'a')}, {0, std::string(128, 'b')}, {63, ""},
      {0x80000063u, std::string(16384, 'c')}}}};
  for (const sRoundTripCase& row : arrCases) {
    SCOPED_TRACE(row.szName);
    Compose(row.arrFields);
    const std::string strExpected = EncodeMessage(row.arrFields);
    EXPECT_EQ(GetScratch(), strExpected);
    EXPECT_EQ(*reinterpret_cast<uint32_t*>(m_hScratch), strExpected.size());
    ExpectFields(m_hMsg, row.arrFields);

    // The older version with fixed field headers reads the same.
    for (const std::string& strReceived : {strExpected, EncodeFixedMessage(row.arrFields)}) {
      int32_t nErr = -1;
      const ParsedMessage pReceived = Parse(strReceived, &nErr);
      OTP_MSG hReceived = pReceived.get();
      ASSERT_NE(hReceived, nullptr);
      EXPECT_EQ(nErr, OTP_ERR_NONE);
      ExpectFields(hReceived, row.arrFields);
      const uint8_t* pBytes = nullptr;
      size_t nLength = 0;
      ASSERT_TRUE(GetComposedBytes(hReceived, &pBytes, &nLength));
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(pBytes), nLength), strReceived);
    }

    CMessageBuilder builder;
    for (const sTestField& field : row.arrFields) EXPECT_EQ(builder.AddText(field.nId, field.strValue), OTP_ERR_NONE);
    EXPECT_EQ(std::string(builder.GetBytes().begin(), builder.GetBytes().end()), strExpected);
  }
}

TEST_F(CComposeTest, ZeroFirstWordEmptiesScratchAndClosingUnbindsItsHandles) {
  Compose({{0, "first"}, {54211, "topic"}});
  *reinterpret_cast<uint32_t*>(m_hScratch) = 0;
  EXPECT_EQ(std::pair(GetScratch(), Value(m_hMsg, 0)), std::pair(std::string("<none>"), std::optional<std::string>()));
  int32_t nErr = -1;
  EXPECT_FALSE(otp_add_data(m_hMsg, 1, 1, "x", 1, &nErr));
  EXPECT_EQ(nErr, OTP_ERR_NOT_STARTED);
  OTP_MSG hOther = nullptr;
  ASSERT_TRUE(otp_ctor_primecb(&hOther, nullptr));
  Compose({{1, "a"}});
  ASSERT_TRUE(otp_start_msg(hOther, m_hScratch, nullptr));
  ASSERT_TRUE(otp_add_data(m_hMsg, 2, 1, "b", 1, nullptr));  // both compose the one message
  EXPECT_EQ(Value(hOther, 2), "b");
  ASSERT_TRUE(otp_close_scratch(m_hScratch, nullptr));
  m_hScratch = nullptr;
  EXPECT_FALSE(otp_add_data(hOther, 3, 1, "c", 1, &nErr));
  EXPECT_EQ(nErr, OTP_ERR_NOT_STARTED);
  const uint8_t* pBytes = nullptr;
  size_t nLength = 0;
  EXPECT_FALSE(GetComposedBytes(m_hMsg, &pBytes, &nLength));
  otp_dtor_primecb(hOther, nullptr);
}

TEST_F(CComposeTest, EveryFailureGivesItsCode) {
  const ParsedMessage pReceived = Parse(EncodeMessage({}));
  OTP_MSG hReceived = pReceived.get();
  ASSERT_NE(hReceived, nullptr);
  std::vector<char> arrLarge(OTP_MAX_MESSAGE_SIZE);
  const char* pLarge = arrLarge.data();
  // What is left after the header, field 1 ("x": step, length, value) and the next field's
  // header (a one-byte step and a four-byte length).
  const uint64_t nRoom = OTP_MAX_MESSAGE_SIZE - 12 - 3 - 5;
  OTP_MSG hMsg = m_hMsg;
  OTP_SCRATCH hScratch = m_hScratch, hScratchOut = nullptr;
  const void* pValue = nullptr;
  uint64_t nLength = 0;
  struct sErrorCase { const char* szName; int32_t nExpected; std::function<int(int32_t*)> fnCall; };
#define CALL(expr) [&](int32_t* e) { return expr; }
  const std::vector<sErrorCase> arrCases = {{"ctor without out", OTP_ERR_ARGUMENT, CALL(otp_ctor_primecb(nullptr, e))},
      {"open without out", OTP_ERR_ARGUMENT, CALL(otp_open_scratch(nullptr, 8, e))},
      {"open past the limit", OTP_ERR_TOO_LARGE, CALL(otp_open_scratch(&hScratchOut, OTP_MAX_MESSAGE_SIZE + 1, e))},
      {"start null handle", OTP_ERR_ARGUMENT, CALL(otp_start_msg(nullptr, hScratch, e))},
      {"start received", OTP_ERR_ARGUMENT, CALL(otp_start_msg(hReceived, hScratch, e))},
      {"add before start", OTP_ERR_NOT_STARTED, CALL(otp_add_data(hMsg, 1, 1, "x", 1, e))},
      {"start", OTP_ERR_NONE, CALL(otp_start_msg(hMsg, hScratch, e))},
      {"add", OTP_ERR_NONE, CALL(otp_add_data(hMsg, 1, 1, "x", 1, e))},
      {"add null handle", OTP_ERR_ARGUMENT, CALL(otp_add_data(nullptr, 2, 1, "x", 1, e))},
      {"add to received", OTP_ERR_ARGUMENT, CALL(otp_add_data(hReceived, 2, 1, "x", 1, e))},
      {"add null value", OTP_ERR_ARGUMENT, CALL(otp_add_data(hMsg, 2, 1, nullptr, 1, e))},
      {"add type 2", OTP_ERR_TYPE, CALL(otp_add_data(hMsg, 2, 2, "x", 1, e))},
      {"add duplicate", OTP_ERR_DUPLICATE, CALL(otp_add_data(hMsg, 1, 1, "y", 1, e))},
      {"add one past the limit", OTP_ERR_TOO_LARGE, CALL(otp_add_data(hMsg, 2, 1, pLarge, nRoom + 1, e))},
      {"add up to the limit", OTP_ERR_NONE, CALL(otp_add_data(hMsg, 2, 1, pLarge, nRoom, e))},
      {"add empty past the limit", OTP_ERR_TOO_LARGE, CALL(otp_add_data(hMsg, 3, 1, nullptr, 0, e))},
      {"field of null handle", OTP_ERR_ARGUMENT, CALL(otp_get_field(nullptr, 1, nullptr, e))},
      {"absent field", OTP_ERR_NOT_FOUND, CALL(otp_get_field(hMsg, 3, nullptr, e))},
      {"many, no ids", OTP_ERR_ARGUMENT, CALL(otp_get_data_many(hMsg, nullptr, 1, nullptr, e))},
      {"data of null handle", OTP_ERR_ARGUMENT, CALL(otp_get_data(nullptr, 1, 0, &pValue, &nLength, e))},
      {"data index 1", OTP_ERR_ARGUMENT, CALL(otp_get_data(hMsg, 1, 1, &pValue, &nLength, e))},
      {"data of an absent field", OTP_ERR_NOT_FOUND,
       CALL((pValue = "stale", nLength = 5, otp_get_data(hMsg, 3, 0, &pValue, &nLength, e)))},
      {"close null", OTP_ERR_ARGUMENT, CALL(otp_close_scratch(nullptr, e))},
      {"destroy null", OTP_ERR_ARGUMENT, CALL(otp_dtor_primecb(nullptr, e))}};
#undef CALL
  for (const sErrorCase& row : arrCases) {
    int32_t nErr = -1;
    EXPECT_EQ(row.fnCall(&nErr), row.nExpected == OTP_ERR_NONE ? 1 : 0) << row.szName;
    EXPECT_EQ(nErr, row.nExpected) << row.szName;
  }
  EXPECT_EQ(std::tuple(*reinterpret_cast<uint32_t*>(hScratch), pValue, nLength),
            std::tuple(OTP_MAX_MESSAGE_SIZE, nullptr, 0u));  // an absent field's value is emptied
  EXPECT_EQ(Value(hMsg, 1), "x");                    // failed adds left the message alone
  EXPECT_FALSE(otp_ctor_primecb(nullptr, nullptr));  // a null error pointer is allowed
}

}  // namespace
