// One start of the program up to its first shown window, or of a bare
// window for comparison: `startup_probe app` or `startup_probe bare`.
// Writes "shown" to the standard output once the window is exposed and has
// painted, then ends normally. The app probe opens "加班.edb" in the working
// directory with the benchmark password, answered by the benchmark dialogs.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <memory>
#include <string_view>

#include "app/main_window.h"
#include "app/start_up.h"
#include "bench_support.h"
#include "values/gbk.h"

namespace {

// Processes events until the window is exposed (at most 10 s), then once
// more, for its first paint.
bool WaitUntilExposed(QWidget& window) {
  QElapsedTimer waited;
  waited.start();
  while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
    if (waited.elapsed() > 10000) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  QCoreApplication::processEvents();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const bool bare = argc > 1 && std::string_view(argv[1]) == "bare";
  QApplication application(argc, argv);
  bench::BenchDialogs dialogs;
  std::unique_ptr<QWidget> window;
  if (bare) {
    window = std::make_unique<QWidget>();
    window->resize(751, 313);
  } else {
    app::ConfigureApplication(application);
    auto main = std::make_unique<app::MainWindow>(dialogs, bench::kCheapKeys);
    if (!app::StartUp(*main, values::Utf8ToGbk(QDir::currentPath().toStdString()))) return 2;
    window = std::move(main);
  }
  window->show();
  if (!WaitUntilExposed(*window)) return 3;
  std::fputs("shown\n", stdout);
  std::fflush(stdout);
  return 0;
}
