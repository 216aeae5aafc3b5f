// Dialogs answered by the test instead of the user.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

#include "app/dialogs.h"

namespace testing_app {

class FakeDialogs : public app::Dialogs {
 public:
  // Answers of the password prompts in order; nullopt is Cancel.
  std::deque<std::optional<QString>> passwordAnswers;
  // Answers of the confirmations in order.
  std::deque<bool> confirmAnswers;

  // Everything shown, one line each: "prompt <caption>", "error <text>",
  // "info <text>", "confirm <text>", "fatal <text>".
  QStringList shown;

  bool AskPassword(const QString& caption, QString& entry) override {
    shown << "prompt " + caption;
    if (passwordAnswers.empty()) return false;
    const std::optional<QString> answer = passwordAnswers.front();
    passwordAnswers.pop_front();
    if (!answer) return false;
    entry = *answer;
    return true;
  }
  void ShowMessage(app::MessageIcon icon, const QString& text) override {
    shown << (icon == app::MessageIcon::Error ? "error " : "info ") + text;
  }
  bool Confirm(const QString& text) override {
    shown << "confirm " + text;
    if (confirmAnswers.empty()) return false;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
  }
  void ShowFatalError(const QString& text) override { shown << "fatal " + text; }
};

}  // namespace testing_app
