// What the terminal counts and measures of the messages it delivers: percentiles of the
// durations kept, the publications counted, the calls made at given counts, and the delays
// kept only while measuring.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/transport/DeliveryMeter.h"
#include "host/transport/DurationSamples.h"

namespace {

TEST(DurationSamplesTest, PercentilesAreNearestRank) {
  struct sRow {
    const char* szCase;
    std::vector<int64_t> arrSamples;
    int nOneToN;  // adds 1 to N, shuffled
    double dPercent;
    int64_t nExpected;
  };
  const std::vector<sRow> arrRows = {
      {"no samples", {}, 0, 99, 0},
      {"median of an even count is the lower middle", {4, 1, 3, 2}, 0, 50, 2},
      {"p99 of 100 is the 99th", {}, 100, 99, 99},
      {"p99 of 200 is the 198th", {}, 200, 99, 198},
      {"p100 is the largest", {3, 9, 1}, 0, 100, 9},
      {"negative durations sort first", {-5, 0, 5}, 0, 1, -5},
  };
  for (const sRow& row : arrRows) {
    CDurationSamples samples;
    for (const int64_t nSample : row.arrSamples) samples.Add(nSample);
    for (int n = 0; n < row.nOneToN; ++n) samples.Add((n * 37) % row.nOneToN + 1);
    EXPECT_EQ(samples.GetCount(), row.arrSamples.size() + static_cast<size_t>(row.nOneToN)) << row.szCase;
    EXPECT_EQ(samples.GetPercentile(row.dPercent), row.nExpected) << row.szCase;
  }
}

class DeliveryMeterTest : public ::testing::Test {
 protected:
  void Deliver(bool bPublication, int64_t nSentNs) {
    sDelivery delivery;
    delivery.nControl = 1;
    delivery.bPublication = bPublication;
    delivery.nSentNs = nSentNs;
    m_meter.OnDelivered(delivery);
    m_nNowNs += 1000;
  }

  int64_t m_nNowNs = 1'000'000;
  CDeliveryMeter m_meter{[this] { return m_nNowNs; }};
};

TEST_F(DeliveryMeterTest, CountsPublicationsOnlyAndTimesTheFirstAndTheLast) {
  EXPECT_EQ(m_meter.GetFirstNs(), 0);
  Deliver(false, 0);
  Deliver(true, 0);
  Deliver(false, 0);
  Deliver(true, 0);
  Deliver(true, 0);
  EXPECT_EQ(m_meter.GetPublicationCount(), 3u);
  EXPECT_EQ(m_meter.GetFirstNs(), 1'001'000);
  EXPECT_EQ(m_meter.GetLastNs(), 1'004'000);
}

TEST_F(DeliveryMeterTest, CallsRunOnceWhenTheirCountIsReached) {
  std::vector<std::string> arrCalls;
  m_meter.CallAtCount(2, [&] { arrCalls.push_back("second"); });
  m_meter.CallAtCount(1, [&] {
    arrCalls.push_back("first");
    // Added from a call: runs when its count comes.
    m_meter.CallAtCount(3, [&] { arrCalls.push_back("third"); });
  });
  m_meter.CallAtCount(2, [&] { arrCalls.push_back("second again"); });

  Deliver(false, 0);
  EXPECT_TRUE(arrCalls.empty());
  for (int n = 0; n < 5; ++n) Deliver(true, 0);
  EXPECT_EQ(arrCalls, (std::vector<std::string>{"first", "second", "second again", "third"}));
}

TEST_F(DeliveryMeterTest, DelaysAreKeptWhileMeasuringForPublicationsWithASendTime) {
  // The clock reads 1'000'000 at the first delivery and 1000 more at each one after it.
  Deliver(true, 1'000'000);  // before measuring
  m_meter.StartMeasuring();
  Deliver(true, 1'000'700);   // 300 ns
  Deliver(false, 1'000'000);  // a response
  Deliver(true, 0);           // no send time: counted, without a delay
  Deliver(true, 1'002'000);   // 2 us
  m_meter.StopMeasuring();
  Deliver(true, 1'000'000);  // after measuring

  EXPECT_EQ(m_meter.GetPublicationCount(), 5u);
  EXPECT_EQ(m_meter.GetMeasuredCount(), 3u);
  EXPECT_EQ(m_meter.GetDelays().GetCount(), 2u);
  EXPECT_EQ(m_meter.GetDelays().GetPercentile(50), 300);
  EXPECT_EQ(m_meter.GetDelays().GetPercentile(100), 2000);

  // Measuring again starts afresh.
  m_meter.StartMeasuring();
  EXPECT_EQ(m_meter.GetMeasuredCount(), 0u);
  EXPECT_EQ(m_meter.GetDelays().GetCount(), 0u);
}

}  // namespace
