// Cost of the frame helpers as their input grows: each should scale linearly (the complexity fit
// printed by Google Benchmark is the check), from a short card area up to a megabyte.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "OldCtrl_Dl645.h"
#include "Q_GDW130_ShareFun.h"
#include "WCard_ShareOper.h"

namespace {

constexpr const char* kExampleFrame = "6839003900684A0144010000E400000001001234BB16";

std::string HexText(std::size_t length) {
  std::string text;
  while (text.size() < length) text += "0123456789ABCDEF ";
  text.resize(length);
  return text;
}

template <typename Operation>
void Measure(benchmark::State& state, Operation operation) {
  const std::string text = std::string(kExampleFrame) + HexText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(operation(text));
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void BM_DelBlank(benchmark::State& state) { Measure(state, [](const std::string& t) { return wenlock::DelBlank(t); }); }
void BM_InsertBlank(benchmark::State& state) { Measure(state, [](const std::string& t) { return wenlock::InsertBlank(2, t); }); }
void BM_DataStrToDown(benchmark::State& state) { Measure(state, [](const std::string& t) { return wenlock::DataStrToDown(t); }); }
void BM_checkSum_CS(benchmark::State& state) {
  Measure(state, [](const std::string& t) { return wenlock::checkSum_CS(wenlock::DelBlank(t)); });
}
void BM_CheckRecvFrame(benchmark::State& state) {
  Measure(state, [](const std::string& t) {
    std::string frame;
    return wenlock::CheckRecvFrame(t, frame);
  });
}
void BM_Check_GBCtrlMeterProtocol(benchmark::State& state) {
  Measure(state, [](const std::string& t) {
    std::string frame;
    return wenlock::Check_GBCtrlMeterProtocol(t, frame);
  });
}

#define WENLOCK_LINEAR_BENCHMARK(name) \
  BENCHMARK(name)->RangeMultiplier(8)->Range(512, 1 << 20)->Complexity(benchmark::oN)

WENLOCK_LINEAR_BENCHMARK(BM_DelBlank);
WENLOCK_LINEAR_BENCHMARK(BM_InsertBlank);
WENLOCK_LINEAR_BENCHMARK(BM_DataStrToDown);
WENLOCK_LINEAR_BENCHMARK(BM_checkSum_CS);
WENLOCK_LINEAR_BENCHMARK(BM_CheckRecvFrame);
WENLOCK_LINEAR_BENCHMARK(BM_Check_GBCtrlMeterProtocol);

}  // namespace

int main(int argc, char** argv) {
  // The frame check logs; keep its log folder out of the caller's way.
  const auto folder = std::filesystem::temp_directory_path() / "wenlock-bench";
  std::filesystem::create_directories(folder);
  std::filesystem::current_path(folder);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
