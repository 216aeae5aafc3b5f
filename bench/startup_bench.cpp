// Start-up to the first shown window (offscreen), each start a fresh process
// of startup_probe: the program with a record file of 3,650 entries, beside
// a bare window. Time runs from before the fork to the probe's "shown"; the
// peak resident memory of each probe comes from wait4.
//
// The record file has the cheapest key cost, so the gate's key derivation
// takes microseconds; the program's own files carry a cost of about 0.6 s,
// paid on purpose at every start and not counted here.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {

using Clock = std::chrono::steady_clock;

std::filesystem::path ProbePath() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "startup_probe";
}

// A record file of ten years of entries, written once.
const bench::ScratchDirectory& RecordDirectory() {
  static const auto directory = [] {
    auto d = std::make_unique<bench::ScratchDirectory>();
    bench::WriteRecordFile(d->path(), 3650);
    return d;
  }();
  return *directory;
}

struct ProbeRun {
  bool ok = false;
  double seconds = 0;
  long peakKib = 0;
};

// Runs the probe once in the record file's directory.
ProbeRun RunProbe(const char* mode) {
  ProbeRun run;
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return run;
  const std::string probe = ProbePath().string();
  const std::string directory = RecordDirectory().path().string();
  const Clock::time_point start = Clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipeFds[1], STDOUT_FILENO);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    if (::chdir(directory.c_str()) != 0) ::_exit(4);
    ::execl(probe.c_str(), probe.c_str(), mode, static_cast<char*>(nullptr));
    ::_exit(5);
  }
  ::close(pipeFds[1]);
  if (pid < 0) {
    ::close(pipeFds[0]);
    return run;
  }
  char buffer[16] = {};
  const ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer - 1);
  const Clock::time_point shown = Clock::now();
  ::close(pipeFds[0]);
  int status = 0;
  rusage usage{};
  if (::wait4(pid, &status, 0, &usage) != pid) return run;
  run.ok = got > 0 && std::string(buffer).starts_with("shown") && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
  run.seconds = std::chrono::duration<double>(shown - start).count();
  run.peakKib = usage.ru_maxrss;
  return run;
}

// One repetition starts a bare window and the program, in turns, so a burst
// of load on the machine does not land on one of them only. The real time
// is the program's; the counters hold both.
void BM_StartUp(benchmark::State& state) {
  static int turn = 0;
  for (auto _ : state) {
    ProbeRun bare;
    ProbeRun program;
    if (turn++ % 2 == 0) {
      bare = RunProbe("bare");
      program = RunProbe("app");
    } else {
      program = RunProbe("app");
      bare = RunProbe("bare");
    }
    if (!bare.ok || !program.ok) {
      state.SkipWithError("a probe did not show its window");
      return;
    }
    state.SetIterationTime(program.seconds);
    state.counters["app_ms"] = program.seconds * 1e3;
    state.counters["bare_ms"] = bare.seconds * 1e3;
    state.counters["app_peak_kib"] = static_cast<double>(program.peakKib);
    state.counters["bare_peak_kib"] = static_cast<double>(bare.peakKib);
  }
}

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  benchmark::Initialize(&argc, argv);
  benchmark::RegisterBenchmark("BM_StartUp", BM_StartUp)
      ->UseManualTime()
      ->Iterations(1)
      ->Repetitions(20)
      ->ReportAggregatesOnly(true)
      ->ComputeStatistics("p99", bench::Percentile99)
      ->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
