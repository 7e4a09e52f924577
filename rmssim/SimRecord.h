// One entity at one level text, as the server keeps it: every value field of a full record,
// with its number and the text sent for it, and the calls set on it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CMessageBuilder;
class CSimRandom;

// An entity of the tree: broker, branch, dealer, group or account.
struct sSimEntity {
  uint32_t nLevel = 0;        // 1 broker, 2 branch, 3 dealer, 4 group, 5 account
  std::string strId;          // "A10023"
  std::string strEntityText;  // "account-A10023"
  std::string strName;        // "Ravi Sharma"
  std::string strBranch;      // branch id; also the entity's peer value
  std::string strCategory;    // "RETAIL", "HNI", ...
  std::string strEmail;       // "a10023@example.in"
  std::string strRemarks;
  bool bGroupwiseValidation = false;
  double dScale = 1.0;  // size of its amounts against one account's
};

class CSimRecord {
 public:
  // Makes up every value for the entity at the level text.
  CSimRecord(const sSimEntity& entity, std::string strLevelText, CSimRandom& random);

  const sSimEntity& GetEntity() const { return *m_pEntity; }
  const std::string& GetLevelText() const { return m_strLevelText; }

  // Moves two to five amounts by a random walk.
  void Move(CSimRandom& random);

  // Appends 64050 (entity text), 54244 (level text), 64056 (peer value), then every value
  // field in wire-table order and 64037 (group-wise validation).
  void AppendFields(CMessageBuilder& builder) const;
  // Appends the calls set so far: 49288 and 10615, then 49302 and 12030.
  void AppendCallFields(CMessageBuilder& builder) const;

  void SetObligationCall(std::string_view strStatus, std::string_view strTime);
  void SetMarginCall(std::string_view strStatus, std::string_view strTime);

  // A deleted record is left out of answers and the feed until it is added again.
  bool m_bDeleted = false;

 private:
  struct sNumberText {
    char szText[23];
    uint8_t nLength;
  };

  void FormatValue(size_t nField);
  std::string_view GetTextValue(uint32_t nFieldId) const;

  const sSimEntity* m_pEntity;
  std::string m_strLevelText;
  std::string m_strSegment;  // level parts as the record sends them: "All" for "ALL"
  std::string m_strExchange;
  std::string m_strProduct;
  std::vector<double> m_arrValues;  // one per field of GetSimFields(); unused for text fields
  std::vector<sNumberText> m_arrTexts;
  std::string m_strObligationStatus;
  std::string m_strObligationTime;
  std::string m_strMarginStatus;
  std::string m_strMarginTime;
};
