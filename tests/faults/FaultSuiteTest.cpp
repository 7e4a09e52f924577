// The fault cases of tests/faults/FaultCases.h, grouped so that ctest runs two groups at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

#include "tests/faults/FaultCases.h"

namespace {

using namespace faultsuite;

// Runs the named cases of the suite, one after the other.
void ExpectCasesPassed(std::initializer_list<std::string_view> arrNames) {
  for (const std::string_view strName : arrNames) {
    SCOPED_TRACE(strName);
    const std::vector<sFaultCase>& arrCases = GetFaultCases();
    const auto it = std::find_if(arrCases.begin(), arrCases.end(),
                                 [strName](const sFaultCase& faultCase) { return faultCase.strName == strName; });
    ASSERT_NE(it, arrCases.end());
    const sFaultVerdict verdict = it->fnRun();
    std::string strReports;
    for (const std::string& strLine : verdict.arrReports) strReports += "\n  " + strLine;
    for (const std::string& strFailure : verdict.arrFailures) ADD_FAILURE() << strFailure << strReports;
  }
}

TEST(FaultSuiteTest, AFrozenServerIsShownAsSuchAndRecovers) { ExpectCasesPassed({"frozen server"}); }

TEST(FaultSuiteTest, ARestartedServerGivesEveryRecordBack) {
  ExpectCasesPassed({"server restarted, same entities", "server restarted, other entities"});
}

TEST(FaultSuiteTest, AFatalStatusBoxHoldsDeliveriesWithinBoundsUntilAnswered) {
  ExpectCasesPassed({"fatal status box"});
}

TEST(FaultSuiteTest, BadTrafficIsDroppedAndCounted) {
  ExpectCasesPassed({"20,000 malformed publications", "64 MiB frame"});
}

TEST(FaultSuiteTest, BadSettingsFoldersNeitherHangTheCloseNorLoseLines) {
  ExpectCasesPassed({"read-only settings folder", "garbage settings file"});
}

}  // namespace
