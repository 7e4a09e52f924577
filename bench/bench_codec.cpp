// The codec on a record-sized message (300 fields, as an entity record carries): parsing with
// its index, looking every field up (one by one and in one call), and composing it through the C interface and the builder.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/BenchFigureReporter.h"
#include "connect/include/HalvoCodec.h"
#include "connect/include/connecthalvo.h"

namespace {

constexpr uint32_t kRecordFields = 300;

struct sField {
  uint32_t nId;
  std::string strValue;
};

// Ids spread over 0..65535, values shaped like formatted amounts.
const std::vector<sField>& GetRecordFields() {
  static const std::vector<sField> s_arrFields = [] {
    std::vector<sField> arrFields;
    for (uint32_t n = 0; n < kRecordFields; ++n) {
      arrFields.push_back({(n * 211 + 7) % 65536, std::to_string(n * 1234.56)});
    }
    return arrFields;
  }();
  return s_arrFields;
}

const std::vector<uint8_t>& GetRecordBytes() {
  static const std::vector<uint8_t> s_arrBytes = [] {
    CMessageBuilder builder;
    for (const sField& field : GetRecordFields()) {
      builder.AddText(field.nId, field.strValue);
    }
    return builder.GetBytes();
  }();
  return s_arrBytes;
}

void BM_ParseRecord(benchmark::State& state) {
  const std::vector<uint8_t>& arrBytes = GetRecordBytes();
  for (auto _ : state) {
    OTP_MSG hMsg = ParseOtpMessage(arrBytes.data(), arrBytes.size(), nullptr);
    benchmark::DoNotOptimize(hMsg);
    otp_dtor_primecb(hMsg, nullptr);
  }
}
BENCHMARK(BM_ParseRecord)->Unit(benchmark::kNanosecond);

void BM_LookUpEveryField(benchmark::State& state) {
  const std::vector<uint8_t>& arrBytes = GetRecordBytes();
  OTP_MSG hMsg = ParseOtpMessage(arrBytes.data(), arrBytes.size(), nullptr);
  for (auto _ : state) {
    for (const sField& field : GetRecordFields()) {
      const void* pValue = nullptr;
      uint64_t nLength = 0;
      otp_get_data(hMsg, field.nId, 0, &pValue, &nLength, nullptr);
      benchmark::DoNotOptimize(pValue);
    }
  }
  otp_dtor_primecb(hMsg, nullptr);
}
BENCHMARK(BM_LookUpEveryField)->Unit(benchmark::kNanosecond);

// Every field in one call, as the terminal reads a record.
void BM_LookUpRecordAtOnce(benchmark::State& state) {
  const std::vector<uint8_t>& arrBytes = GetRecordBytes();
  OTP_MSG hMsg = ParseOtpMessage(arrBytes.data(), arrBytes.size(), nullptr);
  std::vector<uint32_t> arrIds;
  for (const sField& field : GetRecordFields()) arrIds.push_back(field.nId);
  std::vector<OTP_FIELD_DATA> arrData(arrIds.size());
  for (auto _ : state) {
    otp_get_data_many(hMsg, arrIds.data(), static_cast<uint32_t>(arrIds.size()), arrData.data(), nullptr);
    benchmark::DoNotOptimize(arrData.data());
  }
  otp_dtor_primecb(hMsg, nullptr);
}
BENCHMARK(BM_LookUpRecordAtOnce)->Unit(benchmark::kNanosecond);

void BM_ComposeRecordInScratch(benchmark::State& state) {
  OTP_MSG hMsg = nullptr;
  OTP_SCRATCH hScratch = nullptr;
  otp_ctor_primecb(&hMsg, nullptr);
  otp_open_scratch(&hScratch, 4096, nullptr);
  for (auto _ : state) {
    *reinterpret_cast<uint32_t*>(hScratch) = 0;
    otp_start_msg(hMsg, hScratch, nullptr);
    for (const sField& field : GetRecordFields()) {
      otp_add_data(hMsg, field.nId, 1, field.strValue.data(), field.strValue.size(), nullptr);
    }
    benchmark::ClobberMemory();
  }
  otp_close_scratch(hScratch, nullptr);
  otp_dtor_primecb(hMsg, nullptr);
}
BENCHMARK(BM_ComposeRecordInScratch)->Unit(benchmark::kNanosecond);

void BM_ComposeRecordWithBuilder(benchmark::State& state) {
  CMessageBuilder builder;
  for (auto _ : state) {
    builder.Start();
    for (const sField& field : GetRecordFields()) {
      builder.AddText(field.nId, field.strValue);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ComposeRecordWithBuilder)->Unit(benchmark::kNanosecond);

}  // namespace

int main(int nArgs, char** ppArgs) {
  benchmark::Initialize(&nArgs, ppArgs);
  CFigureReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const double dParse = reporter.Get("BM_ParseRecord");
  const double dLookUp = reporter.Get("BM_LookUpEveryField");
  std::printf("figure: record_bytes = %zu bytes\n", GetRecordBytes().size());
  std::printf("figure: parse_record_300_fields = %.0f ns\n", dParse);
  std::printf("figure: look_up_300_fields = %.0f ns\n", dLookUp);
  std::printf("figure: look_up_one_field = %.1f ns\n", dLookUp / kRecordFields);
  std::printf("figure: parse_and_look_up_record = %.0f ns\n", dParse + dLookUp);
  std::printf("figure: look_up_record_at_once = %.0f ns\n", reporter.Get("BM_LookUpRecordAtOnce"));
  std::printf("figure: compose_record_in_scratch = %.0f ns\n", reporter.Get("BM_ComposeRecordInScratch"));
  std::printf("figure: compose_record_with_builder = %.0f ns\n", reporter.Get("BM_ComposeRecordWithBuilder"));
  return 0;
}
