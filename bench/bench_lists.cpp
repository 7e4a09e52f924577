// The filter list's store over 100,000 entity records: a filtering pass and a sort by a numeric
// column, each against the floor of reading the same cells and testing or sorting them with
// plain C calls, and against the same rows in a table model behind a sort-filter proxy model
// (a prefix typed into the full list, and the same prefix set again on the filtered list). The
// store reads cells as a watch list does: the records' cell texts with their load hint.
// Last, a list with live filter and sort (filtered on the amount, sorted by it descending)
// takes changes of the amount of random records, as a busy feed brings them: the cost of one
// change, which moves the record in or out of the list or to its new place.
// Every timed sample of ours is taken right after its baseline's, so load from other work on
// the machine falls on both alike; the figures are ratios of the medians of thread CPU time.
#include <benchmark/benchmark.h>

#include <QAbstractTableModel>
#include <QCoreApplication>
#include <QRegularExpression>
#include <QSortFilterProxyModel>

#include <strings.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "lists/FilterListStore.h"
#include "model/ColumnCatalogue.h"
#include "model/NumberFormat.h"
#include "model/RmsDetails.h"

namespace {

constexpr int kRecordCount = 100000;
constexpr int kIdColumn = 0;      // "EntityId", text
constexpr int kAmountColumn = 1;  // "Cash Margin Avail", value type 2
constexpr const char* kIdPrefix = "acc01";
constexpr const char* kAmountFilter = ">0";
// Keeps about half of the accounts: amounts are uniform from -50,000 to 5,50,000.
constexpr const char* kLiveAmountFilter = ">250000";
// Changes per timed sample, each of another record.
constexpr int kLiveChanges = 10000;
constexpr int kSortRole = Qt::UserRole + 1;

using benchtiming::GetMedian;
using benchtiming::GetThreadSeconds;
using benchtiming::TimeWork;

// Texts shaped like the server's: signed amounts with two decimals, a few missing values.
std::string MakeAmountText(std::mt19937_64& random) {
  if (random() % 33 == 0) return "NA";
  char szText[kFixedTextSize];
  const double dValue = static_cast<double>(static_cast<int64_t>(random() % 60000000) - 5000000) / 100.0;
  return std::string(szText, FormatFixed(dValue, 2, szText));
}

std::string MakeSlotText(int nColumn, int nRecord, std::mt19937_64& random) {
  static const std::vector<int> s_arrTextColumns = [] {
    std::vector<int> arrColumns;
    const auto arrCatalogue = GetCatalogueColumns();
    for (size_t i = 0; i < arrCatalogue.size(); ++i)
      if (arrCatalogue[i].nDataType == kSortText) arrColumns.push_back(static_cast<int>(i));
    return arrColumns;
  }();
  char szText[64];
  switch (nColumn) {
    case 0:
      std::snprintf(szText, sizeof(szText), "ACC%06d", nRecord);
      return szText;
    case 201:
      std::snprintf(szText, sizeof(szText), "Client %d Holdings", nRecord);
      return szText;
    case 83:
      return "CM-NSE-NRML";
    case -1:
      return "NSE";
    default:
      break;
  }
  if (std::find(s_arrTextColumns.begin(), s_arrTextColumns.end(), nColumn) != s_arrTextColumns.end()) {
    return random() % 2 ? "Retail" : "-";
  }
  return MakeAmountText(random);
}

// The records in shuffled id order, so the store order is not sorted by any column.
std::vector<CRmsDetails> MakeRecords() {
  std::vector<int> arrIds(kRecordCount);
  for (int i = 0; i < kRecordCount; ++i) arrIds[static_cast<size_t>(i)] = i;
  std::mt19937_64 random(20240611);
  std::shuffle(arrIds.begin(), arrIds.end(), random);
  std::vector<CRmsDetails> arrRecords(kRecordCount);
  CSlotTextsWriter writer;
  for (int i = 0; i < kRecordCount; ++i) {
    CRmsDetails& record = arrRecords[static_cast<size_t>(i)];
    record.nLevel = 5;
    writer.Start();
    for (int nSlot = 0; nSlot < kRmsSlotCount; ++nSlot)
      writer.Append(MakeSlotText(rmsslot::kOrder[nSlot].nColumn, arrIds[static_cast<size_t>(i)], random));
    writer.CommitTo(record.GetSlotTexts());
  }
  return arrRecords;
}

// The model a Qt developer would write over the records: display texts, and the number for
// sorting under its own role.
class CRecordTableModel : public QAbstractTableModel {
 public:
  explicit CRecordTableModel(const std::vector<CRmsDetails>& arrRecords) : m_arrRecords(arrRecords) {}

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(m_arrRecords.size());
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : kCatalogueColumnCount;
  }
  QVariant data(const QModelIndex& index, int nRole) const override {
    if (!index.isValid() || (nRole != Qt::DisplayRole && nRole != kSortRole)) return {};
    std::string strText;
    GetColumnText(&m_arrRecords[static_cast<size_t>(index.row())], index.column(), strText);
    if (nRole == kSortRole) return std::strtod(strText.c_str(), nullptr);
    return QString::fromStdString(strText);
  }

 private:
  const std::vector<CRmsDetails>& m_arrRecords;
};

struct sFixture {
  std::vector<CRmsDetails> arrRecords = MakeRecords();
  CListLayout layout;
  CFilterListStore store{layout};
  CRecordTableModel model{arrRecords};
  QSortFilterProxyModel proxy;
  std::unique_ptr<CFilterListStore> pLive;  // the live list, kept for the check after its changes

  sFixture() {
    layout.LoadColumnTable("Orvane_watch1", GetCatalogueColumns());
    layout.RecordCatalogueCount();
    layout.ShowAllColumns();
    store.SetCellTextFn(MakeCellTextFn(GetColumnText));
    store.SetCellPrefetchFn(MakeCellPrefetchFn(&CRmsDetails::PrefetchCell));
    for (const CRmsDetails& record : arrRecords) store.InsertRow(0, &record);
    proxy.setSourceModel(&model);
    proxy.setDynamicSortFilter(false);
    proxy.setSortRole(kSortRole);
    proxy.setFilterKeyColumn(kIdColumn);
  }
};

sFixture* g_pFixture = nullptr;

struct sSamples {
  std::vector<double> arrOurs;
  std::vector<double> arrPeer;
};
sSamples g_filterVsScan;
sSamples g_sortVsPlain;
sSamples g_sortVsProxy;
sSamples g_filterVsProxy;
sSamples g_refilterVsProxy;
std::vector<double> g_arrLiveChangeSeconds;  // per change

// The floor of a filtering pass: the same cells read the same way, tested with C calls.
size_t ScanWithCCalls(const std::vector<CRmsDetails>& arrRecords, std::vector<int32_t>& arrPassing) {
  arrPassing.clear();
  std::string strId;
  std::string strAmount;
  const size_t nPrefixLength = std::strlen(kIdPrefix);
  for (size_t i = 0; i < arrRecords.size(); ++i) {
    GetColumnText(&arrRecords[i], kIdColumn, strId);
    if (strncasecmp(strId.c_str(), kIdPrefix, nPrefixLength) != 0) continue;
    GetColumnText(&arrRecords[i], kAmountColumn, strAmount);
    char* pEnd = nullptr;
    const double dAmount = std::strtod(strAmount.c_str(), &pEnd);
    if (pEnd != strAmount.c_str() && dAmount > 0) arrPassing.push_back(static_cast<int32_t>(i));
  }
  return arrPassing.size();
}

// The floor of a sort: every cell of the column converted with strtod, the doubles sorted.
void SortWithCCalls(const std::vector<CRmsDetails>& arrRecords, std::vector<double>& arrValues) {
  arrValues.clear();
  std::string strAmount;
  for (const CRmsDetails& record : arrRecords) {
    GetColumnText(&record, kAmountColumn, strAmount);
    arrValues.push_back(std::strtod(strAmount.c_str(), nullptr));
  }
  std::sort(arrValues.begin(), arrValues.end());
}

void ShowAllRows(CFilterListStore& store) {
  store.ResetFilters();
  store.Filter();
}

// Both sides must give the same rows, or the comparison means nothing.
bool CheckSameResults(sFixture& fixture) {
  CFilterListStore& store = fixture.store;
  store.ResetFilters();
  store.SetColumnFilter(kIdColumn, kIdPrefix);
  store.SetColumnFilter(kAmountColumn, kAmountFilter);
  store.Filter();
  std::vector<int32_t> arrPassing;
  ScanWithCCalls(fixture.arrRecords, arrPassing);
  bool bSame = static_cast<size_t>(store.GetViewCount()) == arrPassing.size();
  for (int32_t nRow = 0; bSame && nRow < store.GetViewCount(); ++nRow)
    bSame = store.GetStoreIndex(nRow) == arrPassing[static_cast<size_t>(nRow)];

  ShowAllRows(store);
  store.SortByPosition(kAmountColumn);
  std::vector<double> arrValues;
  SortWithCCalls(fixture.arrRecords, arrValues);
  std::string strText;
  for (int32_t nRow = 0; bSame && nRow < store.GetViewCount(); ++nRow) {
    GetColumnText(static_cast<const CRmsDetails*>(store.GetRecord(nRow)), kAmountColumn, strText);
    bSame = std::strtod(strText.c_str(), nullptr) == arrValues[static_cast<size_t>(nRow)];
  }

  fixture.proxy.setFilterRegularExpression(QRegularExpression("^" + QRegularExpression::escape(kIdPrefix),
                                                              QRegularExpression::CaseInsensitiveOption));
  store.ResetFilters();
  store.SetColumnFilter(kIdColumn, kIdPrefix);
  store.Filter();
  bSame = bSame && fixture.proxy.rowCount() == store.GetViewCount();
  fixture.proxy.setFilterRegularExpression(QRegularExpression());
  ShowAllRows(store);
  if (!bSame) std::printf("mismatch between the store and its baselines\n");
  return bSame;
}

void BM_FilterVsScan(benchmark::State& state) {
  CFilterListStore& store = g_pFixture->store;
  store.ResetFilters();
  store.SetColumnFilter(kIdColumn, kIdPrefix);
  store.SetColumnFilter(kAmountColumn, kAmountFilter);
  std::vector<int32_t> arrPassing;
  arrPassing.reserve(kRecordCount);
  for (auto _ : state) {
    g_filterVsScan.arrPeer.push_back(TimeWork([&] { ScanWithCCalls(g_pFixture->arrRecords, arrPassing); }));
    const double dOurs = TimeWork([&] { store.Filter(); });
    g_filterVsScan.arrOurs.push_back(dOurs);
    state.SetIterationTime(dOurs);
  }
  state.counters["rows"] = store.GetViewCount();
}

void BM_SortVsPlainSort(benchmark::State& state) {
  CFilterListStore& store = g_pFixture->store;
  std::vector<double> arrValues;
  arrValues.reserve(kRecordCount);
  for (auto _ : state) {
    ShowAllRows(store);  // back to store order, as the baseline reads it
    g_sortVsPlain.arrPeer.push_back(TimeWork([&] { SortWithCCalls(g_pFixture->arrRecords, arrValues); }));
    const double dOurs = TimeWork([&] { store.SortByPosition(kAmountColumn); });
    g_sortVsPlain.arrOurs.push_back(dOurs);
    state.SetIterationTime(dOurs);
  }
}

void BM_SortVsProxy(benchmark::State& state) {
  CFilterListStore& store = g_pFixture->store;
  QSortFilterProxyModel& proxy = g_pFixture->proxy;
  for (auto _ : state) {
    ShowAllRows(store);
    proxy.sort(-1);  // source order
    g_sortVsProxy.arrPeer.push_back(TimeWork([&] { proxy.sort(kAmountColumn, Qt::AscendingOrder); }));
    const double dOurs = TimeWork([&] { store.SortByPosition(kAmountColumn); });
    g_sortVsProxy.arrOurs.push_back(dOurs);
    state.SetIterationTime(dOurs);
  }
  proxy.sort(-1);
}

// Typing a prefix into the full list: both start from every row shown.
void BM_PrefixFilterVsProxy(benchmark::State& state) {
  CFilterListStore& store = g_pFixture->store;
  QSortFilterProxyModel& proxy = g_pFixture->proxy;
  const QRegularExpression expression("^" + QRegularExpression::escape(kIdPrefix),
                                      QRegularExpression::CaseInsensitiveOption);
  for (auto _ : state) {
    proxy.setFilterRegularExpression(QRegularExpression());
    ShowAllRows(store);
    g_filterVsProxy.arrPeer.push_back(TimeWork([&] { proxy.setFilterRegularExpression(expression); }));
    const double dOurs = TimeWork([&] {
      store.SetColumnFilter(kIdColumn, kIdPrefix);
      store.Filter();
    });
    g_filterVsProxy.arrOurs.push_back(dOurs);
    state.SetIterationTime(dOurs);
  }
  state.counters["rows"] = store.GetViewCount();
  state.counters["proxy_rows"] = proxy.rowCount();
  proxy.setFilterRegularExpression(QRegularExpression());
}

// The same prefix set again on a list it already filters: the proxy tests every row again but
// moves none. Two spellings of the one filter, so that every setting filters again.
void BM_PrefixRefilterVsProxy(benchmark::State& state) {
  CFilterListStore& store = g_pFixture->store;
  QSortFilterProxyModel& proxy = g_pFixture->proxy;
  const QString arrPrefixes[] = {QString(kIdPrefix), QString(kIdPrefix).toUpper()};
  store.ResetFilters();
  store.SetColumnFilter(kIdColumn, kIdPrefix);
  store.Filter();
  proxy.setFilterRegularExpression(QRegularExpression("^" + QRegularExpression::escape(arrPrefixes[1]),
                                                      QRegularExpression::CaseInsensitiveOption));
  size_t nTurn = 0;
  for (auto _ : state) {
    const QRegularExpression expression("^" + QRegularExpression::escape(arrPrefixes[nTurn++ % 2]),
                                        QRegularExpression::CaseInsensitiveOption);
    g_refilterVsProxy.arrPeer.push_back(TimeWork([&] { proxy.setFilterRegularExpression(expression); }));
    const double dOurs = TimeWork([&] { store.Filter(); });
    g_refilterVsProxy.arrOurs.push_back(dOurs);
    state.SetIterationTime(dOurs);
  }
  proxy.setFilterRegularExpression(QRegularExpression());
}

// The live list, filtered and sorted descending by the amount, as a user sets it up.
void SetUpLiveList(CFilterListStore& store, const std::vector<CRmsDetails>& arrRecords) {
  for (const CRmsDetails& record : arrRecords) store.InsertRow(0, &record);
  store.SetColumnFilter(kAmountColumn, kLiveAmountFilter);
  store.Filter();
  store.SortByPosition(kAmountColumn);
  store.SortByPosition(kAmountColumn);
}

void BM_LiveChanges(benchmark::State& state) {
  std::vector<CRmsDetails>& arrRecords = g_pFixture->arrRecords;
  g_pFixture->pLive = std::make_unique<CFilterListStore>(g_pFixture->layout);
  CFilterListStore& store = *g_pFixture->pLive;
  store.SetCellTextFn(MakeCellTextFn(GetColumnText));
  store.SetLive(true);
  SetUpLiveList(store, arrRecords);
  std::mt19937_64 random(7);
  std::vector<size_t> arrOrder(arrRecords.size());
  for (size_t i = 0; i < arrOrder.size(); ++i) arrOrder[i] = i;
  int64_t nShownMoves = 0;
  for (auto _ : state) {
    // The new values are in the records before the timing, as the receiver leaves them; each
    // change is then one call, as a list gets it.
    std::shuffle(arrOrder.begin(), arrOrder.end(), random);
    for (int n = 0; n < kLiveChanges; ++n) {
      arrRecords[arrOrder[static_cast<size_t>(n)]].SetColumnSlotText(kAmountColumn, MakeAmountText(random));
    }
    const double dSeconds = TimeWork([&] {
      for (int n = 0; n < kLiveChanges; ++n) {
        nShownMoves += store.UpdateRecord(&arrRecords[arrOrder[static_cast<size_t>(n)]]).span.nFirst >= 0;
      }
    });
    g_arrLiveChangeSeconds.push_back(dSeconds / kLiveChanges);
    state.SetIterationTime(dSeconds);
  }
  state.counters["rows"] = store.GetViewCount();
  state.counters["moved_share"] =
      static_cast<double>(nShownMoves) / static_cast<double>(state.iterations() * kLiveChanges);
}

// The live list after its changes shows what a filtering pass and a sort of the records show.
bool CheckLiveResults(const sFixture& fixture) {
  const CFilterListStore& live = *fixture.pLive;
  CFilterListStore snapshot(fixture.layout);
  snapshot.SetCellTextFn(MakeCellTextFn(GetColumnText));
  SetUpLiveList(snapshot, fixture.arrRecords);
  bool bSame = live.GetViewCount() == snapshot.GetViewCount();
  for (int32_t nRow = 0; bSame && nRow < live.GetViewCount(); ++nRow)
    bSame = live.GetRecord(nRow) == snapshot.GetRecord(nRow);
  if (!bSame) std::printf("mismatch between the live list and a pass and sort\n");
  return bSame;
}

BENCHMARK(BM_FilterVsScan)->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortVsPlainSort)->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortVsProxy)->UseManualTime()->Iterations(9)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrefixFilterVsProxy)->UseManualTime()->Iterations(21)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrefixRefilterVsProxy)->UseManualTime()->Iterations(21)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveChanges)->UseManualTime()->Iterations(21)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  sFixture fixture;
  g_pFixture = &fixture;
  if (!CheckSameResults(fixture)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  const auto printRatio = [](const char* szName, double dNumerator, double dDenominator) {
    if (dDenominator > 0) std::printf("figure: %s = %.2f x\n", szName, dNumerator / dDenominator);
  };
  printRatio("filter_vs_scan_ratio", GetMedian(g_filterVsScan.arrOurs), GetMedian(g_filterVsScan.arrPeer));
  printRatio("sort_vs_plain_sort_ratio", GetMedian(g_sortVsPlain.arrOurs), GetMedian(g_sortVsPlain.arrPeer));
  printRatio("sort_vs_qsortfilterproxy_ratio", GetMedian(g_sortVsProxy.arrPeer),
             GetMedian(g_sortVsProxy.arrOurs));
  printRatio("filter_vs_qsortfilterproxy_ratio", GetMedian(g_filterVsProxy.arrPeer),
             GetMedian(g_filterVsProxy.arrOurs));
  printRatio("refilter_vs_qsortfilterproxy_ratio", GetMedian(g_refilterVsProxy.arrPeer),
             GetMedian(g_refilterVsProxy.arrOurs));
  if (!g_sortVsPlain.arrOurs.empty())
    std::printf("figure: sort_100k_ms = %.2f ms\n", GetMedian(g_sortVsPlain.arrOurs) * 1e3);
  if (!g_filterVsScan.arrOurs.empty())
    std::printf("figure: filter_100k_ms = %.2f ms\n", GetMedian(g_filterVsScan.arrOurs) * 1e3);
  if (fixture.pLive != nullptr) {
    if (!CheckLiveResults(fixture)) return 1;
    std::printf("figure: live_change_100k_us = %.2f us\n", GetMedian(g_arrLiveChangeSeconds) * 1e6);
  }
  return 0;
}
