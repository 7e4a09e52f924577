// The receiver's path for value publications against parsing alone. The controller holds
// 100,000 records, each a row of the four watch lists (the real lists of the four watch
// windows, docked in a frame drawn off screen). Update publications, each a full record with
// every mapped field, go through the controller's OnRmsPublish: record key, map look-up, parse
// into the working record, copy into the stored record, and the visible-row check of every
// list. The baseline parses the same messages into a record with ParseRmsValues alone.
// Painting is left out of both: the lists repaint once per event-loop turn, between samples.
// Each sample of the receiver is taken right after its baseline's; the figures are medians of
// thread CPU time. Also times the creation of the records and 10,000 alerts raised into the
// alerts window. Usage: bench_link [records] (default 100000).
#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench/BenchRecords.h"
#include "bench/BenchTiming.h"
#include "connect/include/HalvoCodec.h"
#include "lists/widgets/FilterListCtrl.h"
#include "model/RmsDetails.h"
#include "model/RmsValueParser.h"
#include "platform/MessageBox.h"
#include "platform/qt/MainFrame.h"
#include "plugin/PluginContext.h"
#include "windows/OrvaneWatchDlg.h"
#include "windows/OrvaneWatchDlgBar.h"
#include "windows/OrvaneWatchDocAlerts.h"

namespace {

constexpr int kSamples = 7;

using benchtiming::GetMedian;
using benchtiming::TimeWork;

// Parsed messages, released together.
class CMessageSet {
 public:
  CMessageSet() = default;
  CMessageSet(const CMessageSet&) = delete;
  CMessageSet& operator=(const CMessageSet&) = delete;
  ~CMessageSet() {
    for (OTP_MSG hMsg : m_arrMessages) otp_dtor_primecb(hMsg, nullptr);
  }
  void Add(const std::vector<uint8_t>& arrBytes) {
    m_arrMessages.push_back(ParseOtpMessage(arrBytes.data(), arrBytes.size(), nullptr));
  }
  const std::vector<OTP_MSG>& Get() const { return m_arrMessages; }

 private:
  std::vector<OTP_MSG> m_arrMessages;
};

// A value publication for one account, as the server's feed sends it: the publication name,
// entity and level text, then every mapped field.
void ComposePublication(int nRecord, std::mt19937_64& random, CMessageBuilder& builder) {
  char szEntity[32];
  std::snprintf(szEntity, sizeof szEntity, "account-A%06d", nRecord);
  builder.Start();
  builder.AddText(54211, "rms prsnt value publish");
  builder.AddText(64050, szEntity);
  builder.AddText(54244, "CM-NSE-NRML");
  for (const sWireRule& rule : benchrecords::GetSentRules())
    builder.AddText(rule.nField, benchrecords::MakeFieldText(rule, random));
  builder.AddText(rmsproto::kGroupwiseField, nRecord % 2 ? "yes" : "no");
}

void FillMessages(int nRecords, uint64_t nSeed, CMessageSet& messages) {
  std::mt19937_64 random(nSeed);
  CMessageBuilder builder;
  for (int i = 0; i < nRecords; ++i) {
    ComposePublication(i, random, builder);
    messages.Add(builder.GetBytes());
  }
}

}  // namespace

// 10,000 alerts of distinct rows raised at once, then the same 10,000 again (each replaces its
// row), and the alerts window painted.
double TimeAlertRaises(COrvaneWatchDlg& dlg) {
  constexpr int kAlerts = 10000;
  COrvaneWatchDocAlerts* pAlerts = dlg.GetAlertsWindow();
  const double dSeconds = TimeWork([&] {
    for (int nRound = 0; nRound < 2; ++nRound) {
      for (int n = 0; n < kAlerts; ++n) {
        pAlerts->AddRaisedAlert(std::make_unique<RaisedAlert>(
            RaisedAlert{"Limit", "Watch 1", std::to_string(n + nRound), "A" + std::to_string(n),
                        "07/12/2026 10:00:00", "CM-NSE-NRML"}));
      }
      pAlerts->RepaintAlertList();
    }
    QCoreApplication::processEvents();
  });
  return pAlerts->GetRaisedAlerts().size() == static_cast<size_t>(kAlerts) ? dSeconds : -1.0;
}

int main(int argc, char* argv[]) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  const int nRecords = argc > 1 ? std::atoi(argv[1]) : 100000;
  if (nRecords <= 0) {
    std::fprintf(stderr, "usage: bench_link [records]\n");
    return 2;
  }

  // A plug-in context without a host: the link opens without receive controls (its message
  // is dropped) and nothing is sent. Titles are read from an empty settings directory.
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("bench_link-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  g_pluginContext.settingsDir = dir.string();
  g_pluginContext.userId = "RISK01";
  g_pluginContext.watchCount = 4;
  SetMessageBoxSink([](const std::string&) {});

  QMainWindow frame;
  frame.resize(1600, 1000);
  SetMainFrame(&frame);
  frame.show();
  int nExit = 0;
  {
    COrvaneWatchDlg dlg;
    dlg.CreateWatchWindows();

    // The first publications create the records and the rows, as a tree answer does at start.
    double dCreate = 0;
    {
      CMessageSet creations;
      FillMessages(nRecords, 1, creations);
      dCreate = TimeWork([&] {
        for (OTP_MSG hMsg : creations.Get()) dlg.OnRmsPublish(hMsg);
      });
    }
    QCoreApplication::processEvents();
    std::string strVisible;
    for (int nWindow = 1; nWindow <= 4; ++nWindow) {
      const CFilterListCtrl& list = dlg.GetWatchBar(nWindow)->GetList();
      if (list.GetItemCount() != nRecords) {
        std::fprintf(stderr, "bench_link: list %d has %d rows, not %d\n", nWindow, list.GetItemCount(),
                     nRecords);
        nExit = 1;
      }
      // Rows on the page: their records also go through the repaint and the alert rules.
      int nVisible = 0;
      for (int32_t nRow = 0; nRow < std::min(nRecords, 1000); ++nRow)
        nVisible += list.IsRecordVisible(list.GetStore().GetRecord(nRow)) ? 1 : 0;
      strVisible += " " + std::to_string(nVisible);
    }
    std::printf("rows on the page of each list:%s\n", strVisible.c_str());

    CMessageSet updates;
    FillMessages(nRecords, 2, updates);
    CRmsDetails parsed;
    std::vector<double> arrReceive;
    std::vector<double> arrParse;
    for (int nSample = 0; nSample < kSamples; ++nSample) {
      arrParse.push_back(TimeWork([&] {
        for (OTP_MSG hMsg : updates.Get()) ParseRmsValues(hMsg, parsed);
      }));
      arrReceive.push_back(TimeWork([&] {
        for (OTP_MSG hMsg : updates.Get()) dlg.OnRmsPublish(hMsg);
      }));
      QCoreApplication::processEvents();
    }
    if (g_mapRmsDetails.size() != static_cast<size_t>(nRecords)) {
      std::fprintf(stderr, "bench_link: %zu records stored, not %d\n", g_mapRmsDetails.size(), nRecords);
      nExit = 1;
    }

    const double dReceive = GetMedian(arrReceive);
    const double dParse = GetMedian(arrParse);
    std::printf("%d records in 4 lists of %d rows; %d update publications a sample, %d samples\n", nRecords,
                nRecords, nRecords, kSamples);
    std::printf("receive %.1f ns a message, parse alone %.1f ns a message\n", dReceive * 1e9 / nRecords,
                dParse * 1e9 / nRecords);
    std::printf("figure: receive_vs_parse_ratio = %.2f x\n", dParse > 0 ? dReceive / dParse : 0.0);
    std::printf("figure: receive_msgs_per_s = %.0f msgs/s\n", dReceive > 0 ? nRecords / dReceive : 0.0);
    std::printf("figure: create_records_per_s = %.0f records/s\n", dCreate > 0 ? nRecords / dCreate : 0.0);
    std::printf("figure: alerts_raise_10k_ms = %.1f ms\n", TimeAlertRaises(dlg) * 1e3);
    dlg.DestroyWindows();
  }
  SetMainFrame(nullptr);
  g_mapRmsDetails.clear();
  std::filesystem::remove_all(dir);
  return nExit;
}
