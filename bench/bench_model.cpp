// The entity record's parser on a full risk message (every mapped field, values shaped as the
// risk server sends them), against the limit of converting the same number texts with
// from_chars and to_chars alone; and the heap that 100,000 stored records take.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "bench/BenchFigureReporter.h"
#include "connect/include/HalvoCodec.h"
#include "model/RmsDetails.h"
#include "model/RmsValueParser.h"
#include "model/RmsWireTable.h"

namespace {

// Heap bytes held, as malloc accounts them (usable sizes).
size_t g_nHeapBytes = 0;

constexpr int kStoredRecords = 100000;
constexpr int kValueSets = 64;

struct sNumberField {
  std::string strText;
  int nPrecision;  // -1 for an integer field
  bool bNegate;
};

// A value text shaped like the server's: amounts with two decimals, whole numbers, ratios.
std::string MakeDecimalText(std::mt19937_64& random) {
  char szText[32];
  switch (random() % 4) {
    case 0:
    case 1:
      std::snprintf(szText, sizeof(szText), "%.2f",
                    static_cast<double>(static_cast<int64_t>(random() % 2000000000) - 400000000) / 100.0);
      break;
    case 2:
      std::snprintf(szText, sizeof(szText), "%d", static_cast<int>(random() % 200001) - 20);
      break;
    default:
      std::snprintf(szText, sizeof(szText), "0.%04d", static_cast<int>(random() % 10000));
  }
  return szText;
}

std::string MakeFieldText(const sWireRule& rule, std::mt19937_64& random) {
  switch (rule.eRule) {
    case eValueRule::kInt32:
    case eValueRule::kInt64:
      return std::to_string(random() % 5000);
    case eValueRule::kText:
      return rule.nField == 63002   ? "CM"
             : rule.nField == 10101 ? "NSE"
             : rule.nField == 64030 ? "NRML"
             : rule.nField == 41234 ? "ops@broker.in"
                                    : "CM-NSE-NRML";
    case eValueRule::kDecimal3:
      return "0." + std::to_string(1000 + random() % 9000);
    default:
      return MakeDecimalText(random);
  }
}

struct sValueSet {
  std::vector<uint8_t> arrMessage;
  std::vector<sNumberField> arrNumbers;
};

// One full message per value set; numbers also kept as texts for the limit.
const std::vector<sValueSet>& GetValueSets() {
  static const std::vector<sValueSet> s_arrSets = [] {
    std::vector<sValueSet> arrSets(kValueSets);
    std::mt19937_64 random(11);
    for (sValueSet& set : arrSets) {
      CMessageBuilder builder;
      std::map<uint32_t, std::string> mapSent;
      for (const sWireRule& rule : rmswire::kRules) {
        if (rule.eRule == eValueRule::kReceiver) {
          continue;
        }
        auto [it, bNew] = mapSent.emplace(rule.nField, MakeFieldText(rule, random));
        if (bNew) {
          builder.AddText(rule.nField, it->second);
        }
        if (rule.eRule != eValueRule::kText) {
          const bool bInteger = rule.eRule == eValueRule::kInt32 || rule.eRule == eValueRule::kInt64;
          set.arrNumbers.push_back({it->second,
                                    bInteger                              ? -1
                                    : rule.eRule == eValueRule::kDecimal3 ? 3
                                                                          : 2,
                                    rule.eRule == eValueRule::kNegated2});
        }
      }
      builder.AddText(rmsproto::kGroupwiseField, "yes");
      builder.AddText(64050, "account-ACC000123");
      builder.AddText(54244, "CM-NSE-NRML");
      set.arrMessage = builder.GetBytes();
    }
    return arrSets;
  }();
  return s_arrSets;
}

struct sParsedSets {
  std::vector<OTP_MSG> arrMessages;
  sParsedSets() {
    for (const sValueSet& set : GetValueSets()) {
      arrMessages.push_back(ParseOtpMessage(set.arrMessage.data(), set.arrMessage.size(), nullptr));
    }
  }
  ~sParsedSets() {
    for (OTP_MSG hMsg : arrMessages) {
      otp_dtor_primecb(hMsg, nullptr);
    }
  }
};

const std::vector<OTP_MSG>& GetMessages() {
  static const sParsedSets s_sets;
  return s_sets.arrMessages;
}

// What the receiver does per message: a fresh working record, parsed.
void BM_ParseRmsValues(benchmark::State& state) {
  const std::vector<OTP_MSG>& arrMessages = GetMessages();
  size_t nNext = 0;
  for (auto _ : state) {
    CRmsDetails working;
    working.nLevel = 5;
    ParseRmsValues(arrMessages[nNext], working);
    benchmark::DoNotOptimize(working);
    nNext = (nNext + 1) % arrMessages.size();
  }
}
BENCHMARK(BM_ParseRmsValues)->Unit(benchmark::kNanosecond);

// The limit: the same number texts converted and formatted, with no look-up and no record.
void BM_ConvertLimit(benchmark::State& state) {
  const std::vector<sValueSet>& arrSets = GetValueSets();
  size_t nNext = 0;
  char szOut[400];
  for (auto _ : state) {
    for (const sNumberField& field : arrSets[nNext].arrNumbers) {
      const char* pFirst = field.strText.data();
      const char* pLast = pFirst + field.strText.size();
      if (field.nPrecision < 0) {
        int64_t nValue = 0;
        std::from_chars(pFirst, pLast, nValue);
        benchmark::DoNotOptimize(std::to_chars(szOut, szOut + sizeof(szOut), nValue).ptr);
      } else {
        double dValue = 0.0;
        std::from_chars(pFirst, pLast, dValue);
        if (field.bNegate) {
          dValue *= -1.0;
        }
        benchmark::DoNotOptimize(
            std::to_chars(szOut, szOut + sizeof(szOut), dValue, std::chars_format::fixed, field.nPrecision)
                .ptr);
      }
    }
    nNext = (nNext + 1) % arrSets.size();
  }
}
BENCHMARK(BM_ConvertLimit)->Unit(benchmark::kNanosecond);

struct sMemoryFigures {
  double dBytesPerRecord;
  double dTextBytesPerRecord;
};

// Stores 100,000 records as the receiver does (working record parsed, key formed, a new record
// in the map assigned from it) and counts the memory they hold, map entries and keys included.
sMemoryFigures MeasureStoredRecords() {
  const std::vector<OTP_MSG>& arrMessages = GetMessages();
  RmsDetailsMap mapRecords;
  const size_t nBefore = g_nHeapBytes + recordmemory::GetBytesInUse();
  size_t nTextBytes = 0;
  char szId[32];
  for (int i = 0; i < kStoredRecords; ++i) {
    CRmsDetails working;
    working.nLevel = 5;
    std::snprintf(szId, sizeof(szId), "ACC%06d", i);
    working.SetEntityId(szId);
    working.SetLevelText("CM-NSE-NRML");
    ParseRmsValues(arrMessages[static_cast<size_t>(i % kValueSets)], working);
    std::unique_ptr<CRmsDetails>& pStored = mapRecords[FormatRecordKey(working)];
    pStored = std::make_unique<CRmsDetails>();
    *pStored = working;
    nTextBytes += pStored->GetSlotTexts().GetTextLength();
  }
  const size_t nAfter = g_nHeapBytes + recordmemory::GetBytesInUse();
  return {static_cast<double>(nAfter - nBefore) / kStoredRecords,
          static_cast<double>(nTextBytes) / kStoredRecords};
}

}  // namespace

void* operator new(size_t nSize) {
  void* pBlock = std::malloc(nSize == 0 ? 1 : nSize);
  if (pBlock == nullptr) {
    throw std::bad_alloc();
  }
  g_nHeapBytes += malloc_usable_size(pBlock);
  return pBlock;
}

void* operator new[](size_t nSize) { return operator new(nSize); }

void operator delete(void* pBlock) noexcept {
  if (pBlock != nullptr) {
    g_nHeapBytes -= malloc_usable_size(pBlock);
    std::free(pBlock);
  }
}

void operator delete[](void* pBlock) noexcept { operator delete(pBlock); }

void operator delete(void* pBlock, size_t) noexcept { operator delete(pBlock); }

void operator delete[](void* pBlock, size_t) noexcept { operator delete(pBlock); }

int main(int nArgs, char** ppArgs) {
  benchmark::Initialize(&nArgs, ppArgs);
  GetMessages();
  CFigureReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const sMemoryFigures memory = MeasureStoredRecords();
  const double dParse = reporter.Get("BM_ParseRmsValues");
  const double dLimit = reporter.Get("BM_ConvertLimit");
  std::printf("figure: number_fields = %zu fields\n", GetValueSets()[0].arrNumbers.size());
  std::printf("figure: parse_record = %.0f ns\n", dParse);
  std::printf("figure: convert_limit = %.0f ns\n", dLimit);
  std::printf("figure: record_object_bytes = %zu bytes\n", sizeof(CRmsDetails));
  std::printf("figure: record_text_bytes = %.0f bytes\n", memory.dTextBytesPerRecord);
  std::printf("figure: bytes_per_record = %.0f bytes\n", memory.dBytesPerRecord);
  std::printf("figure: parse_vs_format_limit_ratio = %.2f x\n", dParse > 0 ? dLimit / dParse : 0);
  std::printf("figure: parse_msgs_per_s = %.0f msgs/s\n", dParse > 0 ? 1e9 / dParse : 0);
  return 0;
}
