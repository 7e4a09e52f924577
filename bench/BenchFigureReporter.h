// A Google Benchmark reporter that keeps each benchmark's CPU time per iteration (nanoseconds),
// so a program can print its figures after the runs. CPU time, because on a shared machine
// wall time counts other programs' turns.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class CFigureReporter : public benchmark::ConsoleReporter {
 public:
  // No colours: their escape codes would run into the figure lines.
  CFigureReporter() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& arrRuns) override {
    for (const Run& run : arrRuns) {
      if (run.run_type == Run::RT_Iteration) m_mapNs[run.run_name.function_name] = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(arrRuns);
  }
  // The CPU nanoseconds per iteration of the named benchmark; 0 when it did not run.
  double Get(const std::string& strName) const {
    const auto it = m_mapNs.find(strName);
    return it == m_mapNs.end() ? 0.0 : it->second;
  }

 private:
  std::map<std::string, double> m_mapNs;
};
