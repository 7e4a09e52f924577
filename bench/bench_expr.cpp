// Expression engine against a general-purpose expression parser on the texts custom columns
// produce once their references are replaced by values. Both parse every text afresh, as a
// repaint does. Also counts heap allocations per evaluation by replacing the allocator.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <muParser.h>

#include "lists/ExpressionEngine.h"

extern "C" void* __libc_malloc(size_t nSize);
extern "C" void* __libc_calloc(size_t nCount, size_t nSize);
extern "C" void* __libc_realloc(void* pBlock, size_t nSize);
extern "C" void __libc_free(void* pBlock);

namespace {

std::atomic<bool> g_bCounting{false};
std::atomic<size_t> g_nAllocations{0};

void CountAllocation() {
  if (g_bCounting.load(std::memory_order_relaxed)) g_nAllocations.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

extern "C" void* malloc(size_t nSize) noexcept {
  CountAllocation();
  return __libc_malloc(nSize);
}
extern "C" void* calloc(size_t nCount, size_t nSize) noexcept {
  CountAllocation();
  return __libc_calloc(nCount, nSize);
}
extern "C" void* realloc(void* pBlock, size_t nSize) noexcept {
  CountAllocation();
  return __libc_realloc(pBlock, nSize);
}
extern "C" void free(void* pBlock) noexcept { __libc_free(pBlock); }

void* operator new(size_t nSize) {
  void* pBlock = malloc(nSize != 0 ? nSize : 1);
  if (pBlock == nullptr) throw std::bad_alloc();
  return pBlock;
}
void* operator new[](size_t nSize) { return operator new(nSize); }
void* operator new(size_t nSize, const std::nothrow_t&) noexcept { return malloc(nSize != 0 ? nSize : 1); }
void* operator new[](size_t nSize, const std::nothrow_t&) noexcept { return malloc(nSize != 0 ? nSize : 1); }
void operator delete(void* pBlock) noexcept { free(pBlock); }
void operator delete[](void* pBlock) noexcept { free(pBlock); }
void operator delete(void* pBlock, size_t) noexcept { free(pBlock); }
void operator delete[](void* pBlock, size_t) noexcept { free(pBlock); }

namespace {

// Texts both engines read the same way: no '^' (a power there), no integer operators, and
// parentheses wherever comparisons meet && or ||, whose precedences differ between the two.
const std::vector<std::string> g_arrTexts = {
    "1.50+2.25",
    " 1500.50 - 250.00",
    " 10.00 / 4.00 * 100",
    " ( 12.50 + 7.25 ) * 3 - 0.50",
    " 98765.43 + 1234.57 - 500.00",
    " 2500000.00 * 0.15",
    " ( 350000.00 - 125000.00 ) / 350000.00 * 100",
    " 1500.50 > 1000.00",
    " 250.00 <= 249.99",
    " 75.25 == 75.25",
    " 12.00 != 12.50",
    " ( 1500.50 > 1000 ) && ( 250.00 < 300 )",
    " ( 0.00 >= 1 ) || ( 45.5 < 50 )",
    " -250.00 + 1500.50",
    " 100000.00 - -2500.00",
    " ( 1200.00 + 800.00 + 450.50 ) / 3",
    " 5000.00 * 1.18 - 5000.00",
    " ( 45000.00 - 12000.00 ) * 0.10 + 350.00",
    " 0.00 / 1.00",
    " 18500.75 - 1200.25 - 350.50 - 75.00",
    " 123456.789 / 1000",
    " ( 100.00 * 2 > 150 ) && ( 3 < 4 ) && ( 7.5 >= 7.5 )",
    " ( 18500.75 - 1200.25 ) * 0.15 + ( 350.50 + 75.00 ) / 2.5 - 12.5 * 4.0 + 99",
};
const std::string g_strShort = "1.50+2.25";
const std::string g_strNineNumbers =
    " ( 18500.75 - 1200.25 ) * 0.15 + ( 350.50 + 75.00 ) / 2.5 - 12.5 * 4.0 + 99";

double EvaluateWithEngine(const std::string& strText) {
  double dResult = 0.0;
  EvaluateExpression(strText, dResult);
  return dResult;
}

double EvaluateWithMuParser(mu::Parser& parser, const std::string& strText) {
  parser.SetExpr(strText);
  return parser.Eval();
}

// Both must agree on every text, or the comparison means nothing.
bool CheckSameResults() {
  mu::Parser parser;
  bool bSame = true;
  for (const std::string& strText : g_arrTexts) {
    double dEngine = 0.0;
    const int32_t nCode = EvaluateExpression(strText, dEngine);
    const double dMuParser = EvaluateWithMuParser(parser, strText);
    if (nCode != EXPR_OK || dEngine != dMuParser) {
      std::printf("mismatch: \"%s\": engine %d %.17g, muParser %.17g\n", strText.c_str(), nCode, dEngine,
                  dMuParser);
      bSame = false;
    }
  }
  return bSame;
}

void BM_EngineSet(benchmark::State& state) {
  for (auto _ : state)
    for (const std::string& strText : g_arrTexts) benchmark::DoNotOptimize(EvaluateWithEngine(strText));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(g_arrTexts.size()));
}

void BM_MuParserSet(benchmark::State& state) {
  mu::Parser parser;
  for (auto _ : state)
    for (const std::string& strText : g_arrTexts)
      benchmark::DoNotOptimize(EvaluateWithMuParser(parser, strText));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(g_arrTexts.size()));
}

void BM_EngineShort(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(EvaluateWithEngine(g_strShort));
}

void BM_MuParserShort(benchmark::State& state) {
  mu::Parser parser;
  for (auto _ : state) benchmark::DoNotOptimize(EvaluateWithMuParser(parser, g_strShort));
}

void BM_EngineNineNumbers(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(EvaluateWithEngine(g_strNineNumbers));
}

void BM_MuParserNineNumbers(benchmark::State& state) {
  mu::Parser parser;
  for (auto _ : state) benchmark::DoNotOptimize(EvaluateWithMuParser(parser, g_strNineNumbers));
}

// A text past the fixed buffers, to show the heap fallback costs little.
void BM_EngineLongSum(benchmark::State& state) {
  std::string strText = "1.25";
  for (int n = 0; n < 500; ++n) strText += " + 1.25";
  for (auto _ : state) benchmark::DoNotOptimize(EvaluateWithEngine(strText));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(strText.size()));
}

BENCHMARK(BM_EngineSet);
BENCHMARK(BM_MuParserSet);
BENCHMARK(BM_EngineShort);
BENCHMARK(BM_MuParserShort);
BENCHMARK(BM_EngineNineNumbers);
BENCHMARK(BM_MuParserNineNumbers);
BENCHMARK(BM_EngineLongSum);

// Keeps the CPU nanoseconds per iteration of every run while printing as usual. CPU time,
// because other work on a shared machine stretches wall time for both sides unevenly.
class CRecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& arrRuns) override {
    for (const Run& run : arrRuns)
      if (run.iterations > 0)
        m_mapNanoseconds[run.benchmark_name()] =
            run.cpu_accumulated_time * 1e9 / static_cast<double>(run.iterations);
    ConsoleReporter::ReportRuns(arrRuns);
  }
  double GetNanoseconds(const std::string& strName) const {
    const auto it = m_mapNanoseconds.find(strName);
    return it != m_mapNanoseconds.end() ? it->second : 0.0;
  }

 private:
  std::map<std::string, double> m_mapNanoseconds;
};

// Heap allocations per evaluation over many passes of the set.
template <class TEvaluate>
double CountAllocationsPerEval(TEvaluate evaluate) {
  constexpr int PASSES = 1000;
  g_nAllocations = 0;
  g_bCounting = true;
  for (int n = 0; n < PASSES; ++n)
    for (const std::string& strText : g_arrTexts) benchmark::DoNotOptimize(evaluate(strText));
  g_bCounting = false;
  return static_cast<double>(g_nAllocations.load()) /
         (static_cast<double>(PASSES) * static_cast<double>(g_arrTexts.size()));
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (!CheckSameResults()) return 1;
  CRecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  const double dEngineAllocations = CountAllocationsPerEval(EvaluateWithEngine);
  mu::Parser parser;
  const double dMuParserAllocations = CountAllocationsPerEval(
      [&parser](const std::string& strText) { return EvaluateWithMuParser(parser, strText); });

  const double dTexts = static_cast<double>(g_arrTexts.size());
  const double dEngineSet = reporter.GetNanoseconds("BM_EngineSet");
  const double dMuParserSet = reporter.GetNanoseconds("BM_MuParserSet");
  std::printf("texts in the set: %zu\n", g_arrTexts.size());
  std::printf("figure: expr_ns_per_eval = %.1f ns\n", dEngineSet / dTexts);
  std::printf("figure: muparser_ns_per_eval = %.1f ns\n", dMuParserSet / dTexts);
  std::printf("figure: muparser_allocations_per_eval = %.1f count\n", dMuParserAllocations);
  std::printf("figure: expr_vs_muparser_ratio = %.1f x\n",
              dEngineSet > 0.0 ? dMuParserSet / dEngineSet : 0.0);
  std::printf("figure: allocations_per_eval = %g count\n", dEngineAllocations);
  return 0;
}
