#include "windows/CallEmail.h"

#include "link/RmsRequests.h"
#include "lists/FilterListStore.h"
#include "lists/ListLayout.h"
#include "model/RmsDetails.h"
#include "platform/Clock.h"
#include "platform/ShellOpen.h"
#include "plugin/PluginContext.h"

namespace {

constexpr std::string_view kMarginSubject = "Initial Margin call for ";
constexpr std::string_view kObligationSubject = "Cash Obligation Short Fall for ";

constexpr std::string_view kMarginBodyStart =
    "Dear Sir / Madam,%0D%0A%0D%0APlease be advised that your derivative facility(ies) with us is / are "
    "currently at margin call.%0D%0A%0D%0AAs on ";
constexpr std::string_view kObligationBodyStart =
    "Dear Sir / Madam,%0D%0A%0D%0APlease be advised that your derivative facility(ies) with us is / are "
    "currently at cash obligation shortfall.%0D%0A%0D%0AAs on ";

constexpr std::string_view kMarginClosing =
    " . Kindly note that this is only an indicative amount of the margin call payable and the same may vary "
    "depending on market fluctuations during the day.%0D%0A%0D%0ATherefore, please contact your Financial "
    "Advisor as soon as possible to discuss your options to resolve this situation and/or to determine the "
    "amount of margin call payable in your account. You might, for instance, elect to provide additional "
    "Collateral (in the form of cash and/or acceptable Securities) with an Advance or you might elect to "
    "reduce "
    "the amounts outstanding derivatives positions under your facility(ies).%0D%0A%0D%0AIf  immediate action "
    "is not taken to cure the margin call, we may, among other things, at any time and without further "
    "notice "
    "to you, sell or realize all or part of the Collateral and/or (if applicable) close out any or all of "
    "your "
    "open Derivatives Transactions.%0D%0A%0D%0AIf you have any questions regarding this notification, or "
    "your "
    "facility(ies), please raise them with your Financial Advisor. Please disregard this notice if the "
    "margin "
    "call has already been cured.%0D%0A%0D%0AFor and on behalf of%0D%0ATarvelle Wealth Advisors (India) "
    "Private Limited";
constexpr std::string_view kObligationClosing =
    " . Kindly note that this is only an indicative amount of the cash obligation amount payable and the "
    "same "
    "may vary depending on market fluctuations during the day.%0D%0A%0D%0ATherefore, please contact your "
    "Financial Advisor as soon as possible to discuss your options to resolve this situation. You might, for "
    "instance, elect to provide additional Cash or sell Securities.%0D%0A%0D%0AIf  immediate action is not "
    "taken to cure the Cash Obligation Shortfall, we may, among other things, at any time and without "
    "further "
    "notice to you, sell or realize all or part of the Collateral and/or (if applicable) close out any or "
    "all "
    "of your open Derivatives Transactions.%0D%0A%0D%0AIf you have any questions regarding this "
    "notification, "
    "or your facility(ies), please raise them with your Financial Advisor. Please disregard this notice if "
    "the "
    "margin call has already been cured.%0D%0A%0D%0AFor and on behalf of%0D%0ATarvelle Wealth Advisors "
    "(India) Private Limited";

// The first of the three amount columns of a kind in the layout's call-amount array.
size_t GetFirstAmountColumn(int nKind) { return nKind == kCallMargin ? 0 : 3; }

}  // namespace

std::string_view GetLevelWord(uint32_t nLevel) {
  static constexpr std::array<std::string_view, 6> s_arrWords = {"",       "Broker", "Branch",
                                                                 "Dealer", "Group",  "Account"};
  return nLevel < s_arrWords.size() ? s_arrWords[nLevel] : std::string_view{};
}

std::string BuildCallEmailLink(int nKind, uint32_t nLevel, std::string_view strEntityId,
                               std::string_view strTime, const std::array<std::string, 3>& arrAmounts,
                               std::string_view strCc) {
  const bool bMargin = nKind == kCallMargin;
  std::string strLink = "mailto:?subject=";
  strLink.append(bMargin ? kMarginSubject : kObligationSubject)
      .append(GetLevelWord(nLevel))
      .append(" [")
      .append(strEntityId)
      .append("]&body=")
      .append(bMargin ? kMarginBodyStart : kObligationBodyStart)
      .append(strTime)
      .append(" today, your margin stood at Rs.")
      .append(arrAmounts[0])
      .append(" as against the requirement of Rs.")
      .append(arrAmounts[1])
      .append(" i.e a deficit / shortfall of Rs.")
      .append(arrAmounts[2])
      .append(bMargin ? kMarginClosing : kObligationClosing)
      .append("&cc=")
      .append(strCc);
  return strLink;
}

void ComposeCallEmail(const CFilterListStore& store, const CListLayout& layout, const CRmsDetails& record,
                      int nKind) {
  const std::string strTime =
      FormatLocalTime(static_cast<time_t>(GetClockMicroseconds() / 1000000), "%I:%M %p %b %d,%Y");
  std::array<std::string, 3> arrAmounts;
  const size_t nFirst = GetFirstAmountColumn(nKind);
  for (size_t nIndex = 0; nIndex < arrAmounts.size(); ++nIndex) {
    sCellText cell;
    store.GetCellText(&record, layout.m_arrCallAmountColumns[nFirst + nIndex], cell);
    arrAmounts[nIndex] = std::move(cell.strText);
  }
  ShellOpen(BuildCallEmailLink(nKind, record.nLevel, record.GetEntityId(), strTime, arrAmounts,
                               g_pluginContext.mailCc));
}
