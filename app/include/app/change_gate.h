// The date box reports every change of its date. A report that comes 100 ms
// or less after the previous one was finished with (handled or dropped) is
// dropped, and no report is handled while an earlier one still is.
#pragma once

#include <cstdint>
#include <optional>

namespace app {

class ChangeReportGate {
 public:
  static constexpr int64_t kQuietMs = 100;

  // True when the report that came at `nowMs` is to be handled. Each admitted
  // report must be followed by Finished(); a dropped one counts as finished at
  // once.
  bool Admit(int64_t nowMs) {
    if (handling_) return false;
    if (lastFinishedMs_ && nowMs - *lastFinishedMs_ <= kQuietMs) {
      lastFinishedMs_ = nowMs;
      return false;
    }
    handling_ = true;
    return true;
  }

  void Finished(int64_t nowMs) {
    handling_ = false;
    lastFinishedMs_ = nowMs;
  }

 private:
  bool handling_ = false;
  std::optional<int64_t> lastFinishedMs_;
};

}  // namespace app
