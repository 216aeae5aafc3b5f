// Every action of the window, from the click to the last label written, on a
// record file of ten years of entries (3,650) and of 100,000 entries, beside
// the same actions on an empty record file. Headless (offscreen); each
// repetition times one click, so the aggregates are per click: the median
// and the 99th percentile.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/start_up.h"
#include "bench_support.h"
#include "values/gbk.h"

namespace {

using Clock = std::chrono::steady_clock;

// A window past the gate on a record file of `entries` entries, in a
// directory of its own that is the working directory while it lives.
struct Session {
  explicit Session(int32_t entries) : entries(entries) {
    bench::WriteRecordFile(directory.path(), entries);
    QDir::setCurrent(QString::fromStdString(directory.path().string()));
    window = std::make_unique<app::MainWindow>(dialogs, bench::kCheapKeys);
    // Every date change counts as a new one for the date box's gate.
    window->steadyMs = [this] { return fakeMs += 1000; };
    ready = app::StartUp(*window, values::Utf8ToGbk(directory.path().string()));
    window->show();
    QApplication::processEvents();
    PickFreeDay();
    window->编辑框加班小时->setText(QStringLiteral("2"));
    window->单选框G1->setChecked(true);
  }

  void PickFreeDay() {
    window->日期框1->setDate(QDate(bench::kFreeYear, bench::kFreeMonth, bench::kFreeDay));
  }

  int32_t entries;
  bench::ScratchDirectory directory;
  bench::BenchDialogs dialogs;
  std::unique_ptr<app::MainWindow> window;
  int64_t fakeMs = 0;
  bool ready = false;
};

std::unique_ptr<Session> current;

Session* SessionFor(int32_t entries) {
  if (!current || current->entries != entries) {
    current.reset();
    current = std::make_unique<Session>(entries);
  }
  return current->ready ? current.get() : nullptr;
}

// One timed step of a repetition, with untimed steps before and after.
struct Action {
  const char* name;
  std::function<void(Session&)> before;
  std::function<void(Session&)> timed;
  std::function<void(Session&)> after;
};

void Click(QPushButton* button) {
  button->click();
}

const std::vector<Action>& Actions() {
  static const std::vector<Action> actions = {
      {"ReadTotals", nullptr, [](Session& s) { Click(s.window->按钮读取数据库); }, nullptr},
      {"Refresh", nullptr, [](Session& s) { Click(s.window->按钮刷新); }, nullptr},
      {"ShowResults", nullptr, [](Session& s) { Click(s.window->按钮结果输出); }, nullptr},
      // A real append of the day the file lacks; the delete after it brings
      // the file back to its size.
      {"Record", nullptr, [](Session& s) { Click(s.window->按钮加班记录); },
       [](Session& s) { Click(s.window->按钮删除); }},
      {"DeleteLast", [](Session& s) { Click(s.window->按钮加班记录); },
       [](Session& s) { Click(s.window->按钮删除); }, nullptr},
      {"ChangeDate", nullptr,
       [](Session& s) { s.window->日期框1->setDate(QDate(bench::kFreeYear, 3, 1)); },
       [](Session& s) { s.PickFreeDay(); }},
      {"Quit", nullptr, [](Session& s) { Click(s.window->按钮退出); },
       [](Session& s) { s.window->show(); }},
  };
  return actions;
}

void RunAction(benchmark::State& state, const Action& action, int32_t entries) {
  Session* session = SessionFor(entries);
  if (session == nullptr) {
    state.SkipWithError("the gate did not open");
    return;
  }
  const int messagesBefore = session->dialogs.messages;
  for (auto _ : state) {
    if (action.before) action.before(*session);
    QApplication::processEvents();
    const Clock::time_point start = Clock::now();
    action.timed(*session);
    const Clock::time_point end = Clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    if (action.after) action.after(*session);
    QApplication::processEvents();
  }
  // A message box means the action did not do what it is timed for (the day
  // already recorded, bad hours, a fatal error).
  if (session->dialogs.messages != messagesBefore) state.SkipWithError("a message was shown");
}

void RegisterAll() {
  // Clicks per figure; fewer on the large file, whose clicks take longest.
  const std::pair<int32_t, int> sizes[] = {{0, 200}, {3650, 200}, {100000, 20}};
  for (const auto& [entries, repetitions] : sizes) {
    for (const Action& action : Actions()) {
      const std::string name =
          std::string("BM_Click/") + action.name + "/" + std::to_string(entries);
      benchmark::RegisterBenchmark(name.c_str(),
                                   [&action, entries = entries](benchmark::State& state) {
                                     RunAction(state, action, entries);
                                   })
          ->UseManualTime()
          ->Iterations(1)
          ->Repetitions(repetitions)
          ->ReportAggregatesOnly(true)
          ->ComputeStatistics("p99", bench::Percentile99)
          ->Unit(benchmark::kMicrosecond);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  app::ConfigureApplication(application);
  const QString start = QDir::currentPath();

  benchmark::Initialize(&argc, argv);
  RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  current.reset();
  QDir::setCurrent(start);
  return 0;
}
