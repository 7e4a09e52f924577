// A custom column `"MToM Loss" / "Margin Used" * 100` over 100,000 parsed entity records, read
// through the list's store as a watch list reads it: every cell of the column, against reading
// the two referenced cells alone with GetColumnText, both with the load hint a pass over all
// rows gives and without it (single cells); a sort of all rows by the column; and the heap
// allocations a pass of cells makes.
// Each timed sample of ours is taken right after its baseline's, so load from other work on the
// machine falls on both alike; the figures come from the medians of thread CPU time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>
#include <string>
#include <vector>

#include "bench/BenchRecords.h"
#include "bench/BenchTiming.h"
#include "lists/CustomColumnEdit.h"
#include "lists/CustomColumnText.h"
#include "lists/FilterListStore.h"
#include "model/ColumnCatalogue.h"
#include "model/NumberFormat.h"

// Every heap allocation of the program is counted, to show that computing cells makes none.
// NOTE: g++ takes the replaced operators' malloc and free, once inlined, for a mismatched pair.
size_t g_nAllocations = 0;

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(size_t nSize) {
  ++g_nAllocations;
  if (void* pBlock = std::malloc(nSize == 0 ? 1 : nSize)) return pBlock;
  throw std::bad_alloc();
}
void operator delete(void* pBlock) noexcept { std::free(pBlock); }
void operator delete(void* pBlock, size_t) noexcept { std::free(pBlock); }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

namespace {

constexpr int kRecordCount = 100000;
constexpr int32_t kLossColumn = 8;     // "MToM Loss"
constexpr int32_t kMarginColumn = 10;  // "Margin Used"
constexpr const char* kDisplay = "\"MToM Loss\" / \"Margin Used\" * 100";

using benchtiming::GetMedian;
using benchtiming::GetThreadSeconds;
using benchtiming::TimeWork;

struct sFixture {
  std::vector<CRmsDetails> arrRecords = benchrecords::MakeParsedRecords(kRecordCount, 20240611);
  CListLayout layout;
  CFilterListStore store{layout};
  CCustomColumnText customText{layout};
  int32_t nCustomColumn = -1;

  sFixture() {
    layout.LoadColumnTable("Orvane_watch1", GetCatalogueColumns());
    layout.RecordCatalogueCount();
    layout.ShowAllColumns();
    if (AddCustomColumn(layout, GetExpressionColumns(layout), "Loss Pct", kDisplay, false).Succeeded())
      nCustomColumn = static_cast<int32_t>(layout.m_arrColumns.size()) - 1;
    store.SetCellTextFn(MakeCellTextFn(GetColumnText));
    store.SetCellPrefetchFn(MakeCellPrefetchFn(&CRmsDetails::PrefetchCell));
    customText.SetCellPrefetchFn(MakeCellPrefetchFn(&CRmsDetails::PrefetchCell));
    ConnectCustomColumns(store, customText, {});
    for (const CRmsDetails& record : arrRecords) store.InsertRow(0, &record);
  }
};

sFixture* g_pFixture = nullptr;

struct sSamples {
  std::vector<double> arrOurs;
  std::vector<double> arrPeer;
};
sSamples g_cellsVsTwo;
sSamples g_cellsVsTwoUnhinted;
std::vector<double> g_arrSorts;

// What the cell should show, computed separately with the C library.
std::string ComputeExpected(const CRmsDetails& record) {
  std::string strLoss;
  std::string strMargin;
  GetColumnText(&record, kLossColumn, strLoss);
  GetColumnText(&record, kMarginColumn, strMargin);
  const double dMargin = std::atof(strMargin.c_str());
  if (dMargin == 0.0) return kDividedByZeroText;
  char szText[kFixedTextSize];
  std::snprintf(szText, sizeof(szText), "%.*lf", 2, std::atof(strLoss.c_str()) / dMargin * 100);
  return szText;
}

bool CheckCells(sFixture& fixture) {
  if (fixture.nCustomColumn < 0) return false;
  sCellText cell;
  size_t nZero = 0;
  for (const CRmsDetails& record : fixture.arrRecords) {
    cell.Reset();
    fixture.store.GetCellText(&record, fixture.nCustomColumn, cell);
    const std::string strExpected = ComputeExpected(record);
    nZero += strExpected == kDividedByZeroText;
    if (cell.strText != strExpected) {
      std::printf("mismatch: %s instead of %s\n", cell.strText.c_str(), strExpected.c_str());
      return false;
    }
  }
  std::printf("rows with a zero divisor: %zu of %d\n", nZero, kRecordCount);
  return true;
}

// Rows ahead of the one read that the load hint is given for, as the store's passes do.
constexpr size_t kHintNear = 16;
constexpr size_t kHintFar = 32;

size_t ReadTwoCells(const std::vector<CRmsDetails>& arrRecords, bool bHint, std::string& strLoss,
                    std::string& strMargin) {
  const CellPrefetchFn fnPrefetch = MakeCellPrefetchFn(&CRmsDetails::PrefetchCell);
  size_t nBytes = 0;
  for (size_t i = 0; i < arrRecords.size(); ++i) {
    if (bHint && i + kHintFar < arrRecords.size()) {
      fnPrefetch(&arrRecords[i + kHintNear], kLossColumn);
      fnPrefetch(&arrRecords[i + kHintNear], kMarginColumn);
      __builtin_prefetch(&arrRecords[i + kHintFar]);
    }
    GetColumnText(&arrRecords[i], kLossColumn, strLoss);
    GetColumnText(&arrRecords[i], kMarginColumn, strMargin);
    nBytes += strLoss.size() + strMargin.size();
  }
  return nBytes;
}

size_t ReadCustomCells(sFixture& fixture, bool bHint, sCellText& cell) {
  const std::vector<CRmsDetails>& arrRecords = fixture.arrRecords;
  size_t nBytes = 0;
  for (size_t i = 0; i < arrRecords.size(); ++i) {
    if (bHint && i + kHintFar < arrRecords.size()) {
      fixture.customText.PrefetchCell(&arrRecords[i + kHintNear], fixture.nCustomColumn);
      __builtin_prefetch(&arrRecords[i + kHintFar]);
    }
    cell.Reset();
    fixture.store.GetCellText(&arrRecords[i], fixture.nCustomColumn, cell);
    nBytes += cell.strText.size();
  }
  return nBytes;
}

// Every cell of the column, as a pass over all rows reads it (with the load hint) or as single
// cells are read (without), against the two referenced cells read the same way.
void BM_CustomCellsVsTwoCells(benchmark::State& state) {
  const bool bHint = state.range(0) != 0;
  sSamples& samples = bHint ? g_cellsVsTwo : g_cellsVsTwoUnhinted;
  std::string strLoss;
  std::string strMargin;
  sCellText cell;
  for (auto _ : state) {
    size_t nPeer = 0;
    samples.arrPeer.push_back(
        TimeWork([&] { nPeer = ReadTwoCells(g_pFixture->arrRecords, bHint, strLoss, strMargin); }));
    size_t nOurs = 0;
    const double dOurs = TimeWork([&] { nOurs = ReadCustomCells(*g_pFixture, bHint, cell); });
    samples.arrOurs.push_back(dOurs);
    benchmark::DoNotOptimize(nPeer);
    benchmark::DoNotOptimize(nOurs);
    state.SetIterationTime(dOurs);
  }
  state.counters["rows"] = kRecordCount;
}

void BM_SortByCustomColumn(benchmark::State& state) {
  CFilterListStore& store = g_pFixture->store;
  const int32_t nPosition = g_pFixture->layout.GetPosition(g_pFixture->nCustomColumn);
  for (auto _ : state) {
    const double dTime = TimeWork([&] { store.SortByPosition(nPosition); });
    g_arrSorts.push_back(dTime);
    state.SetIterationTime(dTime);
  }
}

BENCHMARK(BM_CustomCellsVsTwoCells)
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByCustomColumn)->UseManualTime()->Iterations(9)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  sFixture fixture;
  g_pFixture = &fixture;
  if (!CheckCells(fixture)) return 1;
  sCellText cell;
  ReadCustomCells(fixture, false, cell);
  const size_t nAllocationsBefore = g_nAllocations;
  ReadCustomCells(fixture, false, cell);
  const size_t nAllocations = g_nAllocations - nAllocationsBefore;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  const auto printCells = [](const char* szSuffix, const sSamples& samples) {
    const double dOurs = GetMedian(samples.arrOurs);
    const double dPeer = GetMedian(samples.arrPeer);
    if (dOurs > 0)
      std::printf("figure: custom_cells_per_s%s = %.0f cells/s\n", szSuffix, kRecordCount / dOurs);
    if (dPeer > 0) std::printf("figure: custom_vs_two_cells_ratio%s = %.2f x\n", szSuffix, dOurs / dPeer);
  };
  std::printf("figure: custom_allocations_per_cell = %.4f count\n",
              static_cast<double>(nAllocations) / kRecordCount);
  printCells("", g_cellsVsTwo);
  printCells("_unhinted", g_cellsVsTwoUnhinted);
  if (!g_arrSorts.empty())
    std::printf("figure: sort_custom_100k_ms = %.2f ms\n", GetMedian(g_arrSorts) * 1e3);
  return 0;
}
