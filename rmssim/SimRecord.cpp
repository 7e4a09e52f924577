#include "rmssim/SimRecord.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "connect/include/HalvoCodec.h"
#include "protocol/RmsProtocol.h"
#include "rmssim/SimFields.h"
#include "rmssim/SimRandom.h"

namespace {

constexpr double kLakh = 1e5;
// Beyond this an amount's text would not fit its slot; the walk never gets near it.
constexpr double kLargestAmount = 1e15;

// The fields the random walk may move, as indexes into GetSimFields().
const std::vector<size_t>& GetMovingFields() {
  static const std::vector<size_t> s_arrMoving = [] {
    std::vector<size_t> arrMoving;
    const auto arrFields = GetSimFields();
    for (size_t n = 0; n < arrFields.size(); ++n)
      if (IsMovingShape(arrFields[n].eShape)) arrMoving.push_back(n);
    return arrMoving;
  }();
  return s_arrMoving;
}

double MakeValue(eSimShape eShape, double dScale, CSimRandom& random) {
  switch (eShape) {
    case eSimShape::kAmount:
      return random.Between(0.0, 25 * kLakh) * dScale;
    case eSimShape::kSigned:
      return random.Gauss() * kLakh * dScale;
    case eSimShape::kLimit:
      // Round thousands between one lakh and five crores.
      return std::round(random.Between(1.0, 500.0) * 100.0) * 1000.0 * dScale;
    case eSimShape::kPercent:
      return random.Unit();
    case eSimShape::kMultiplier:
      return 1.0 + 0.5 * static_cast<double>(random.Index(19));
    case eSimShape::kCount:
      return std::round(random.Between(100.0, 100000.0) * dScale);
    case eSimShape::kText:
      break;
  }
  return 0.0;
}

// A level part as records send it: "ALL" and a missing part read "All".
std::string GetLevelPart(std::string_view strLevelText, size_t nPart) {
  size_t nStart = 0;
  for (size_t n = 0; n < nPart; ++n) {
    const size_t nDash = strLevelText.find('-', nStart);
    if (nDash == std::string_view::npos) return "All";
    nStart = nDash + 1;
  }
  const std::string_view strPart = strLevelText.substr(nStart, strLevelText.find('-', nStart) - nStart);
  return strPart.empty() || strPart == "ALL" ? "All" : std::string(strPart);
}

}  // namespace

CSimRecord::CSimRecord(const sSimEntity& entity, std::string strLevelText, CSimRandom& random)
    : m_pEntity(&entity),
      m_strLevelText(std::move(strLevelText)),
      m_strSegment(GetLevelPart(m_strLevelText, 0)),
      m_strExchange(GetLevelPart(m_strLevelText, 1)),
      m_strProduct(GetLevelPart(m_strLevelText, 2)) {
  const auto arrFields = GetSimFields();
  m_arrValues.resize(arrFields.size());
  m_arrTexts.resize(arrFields.size());
  for (size_t n = 0; n < arrFields.size(); ++n) {
    m_arrValues[n] = MakeValue(arrFields[n].eShape, entity.dScale, random);
    FormatValue(n);
  }
}

void CSimRecord::Move(CSimRandom& random) {
  const std::vector<size_t>& arrMoving = GetMovingFields();
  if (arrMoving.empty()) return;
  const size_t nMoves = 2 + random.Index(4);
  for (size_t n = 0; n < nMoves; ++n) {
    const size_t nField = arrMoving[random.Index(arrMoving.size())];
    double& dValue = m_arrValues[nField];
    // Steps of about 2% of the value, plus a floor so zero values move too.
    dValue += random.Gauss() * (std::abs(dValue) * 0.02 + 5000.0 * m_pEntity->dScale);
    if (GetSimFields()[nField].eShape == eSimShape::kAmount) dValue = std::max(dValue, 0.0);
    dValue = std::clamp(dValue, -kLargestAmount, kLargestAmount);
    FormatValue(nField);
  }
}

void CSimRecord::FormatValue(size_t nField) {
  sNumberText& text = m_arrTexts[nField];
  char* pEnd = text.szText;
  const double dValue = m_arrValues[nField];
  switch (GetSimFields()[nField].eShape) {
    case eSimShape::kText:
      break;
    case eSimShape::kCount:
      pEnd = std::to_chars(text.szText, std::end(text.szText), std::llround(dValue)).ptr;
      break;
    case eSimShape::kPercent:
      pEnd = std::to_chars(text.szText, std::end(text.szText), dValue, std::chars_format::fixed, 4).ptr;
      break;
    default:
      pEnd = std::to_chars(text.szText, std::end(text.szText), dValue, std::chars_format::fixed, 2).ptr;
      break;
  }
  text.nLength = static_cast<uint8_t>(pEnd - text.szText);
}

std::string_view CSimRecord::GetTextValue(uint32_t nFieldId) const {
  switch (nFieldId) {
    case rmsproto::kEntityNameField:
      return m_pEntity->strName;
    case rmsproto::kEmailField:
      return m_pEntity->strEmail;
    case rmsproto::kBranchIdField:
    case rmsproto::kPeerValueField:
      return m_pEntity->strBranch;
    case rmsproto::kCategoryField:
      return m_pEntity->strCategory;
    case rmsproto::kRemarksField:
      return m_pEntity->strRemarks;
    case rmsproto::kSegmentField:
      return m_strSegment;
    case rmsproto::kExchangeField:
      return m_strExchange;
    case rmsproto::kProductField:
      return m_strProduct;
    case rmsproto::kFourthPartField:
      return "All";
    default:
      return {};
  }
}

void CSimRecord::AppendFields(CMessageBuilder& builder) const {
  builder.AddText(rmsproto::kEntityTextField, m_pEntity->strEntityText);
  builder.AddText(rmsproto::kLevelTextField, m_strLevelText);
  const auto arrFields = GetSimFields();
  for (size_t n = 0; n < arrFields.size(); ++n) {
    if (arrFields[n].eShape == eSimShape::kText)
      builder.AddText(arrFields[n].nField, GetTextValue(arrFields[n].nField));
    else
      builder.AddField(arrFields[n].nField, m_arrTexts[n].szText, m_arrTexts[n].nLength);
  }
  builder.AddText(rmsproto::kGroupwiseField, m_pEntity->bGroupwiseValidation ? "yes" : "no");
}

void CSimRecord::AppendCallFields(CMessageBuilder& builder) const {
  if (!m_strObligationStatus.empty()) {
    builder.AddText(rmsproto::kObligationStatusField, m_strObligationStatus);
    builder.AddText(rmsproto::kObligationTimeField, m_strObligationTime);
  }
  if (!m_strMarginStatus.empty()) {
    builder.AddText(rmsproto::kMarginStatusField, m_strMarginStatus);
    builder.AddText(rmsproto::kMarginTimeField, m_strMarginTime);
  }
}

void CSimRecord::SetObligationCall(std::string_view strStatus, std::string_view strTime) {
  m_strObligationStatus = strStatus;
  m_strObligationTime = strTime;
}

void CSimRecord::SetMarginCall(std::string_view strStatus, std::string_view strTime) {
  m_strMarginStatus = strStatus;
  m_strMarginTime = strTime;
}
