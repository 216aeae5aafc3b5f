// Every modal dialog of the program goes through this interface, so that
// tests can answer dialogs without a real modal loop.
#pragma once

#include <QString>

class QWidget;

namespace app {

enum class MessageIcon { Error, Information };

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // The password prompt: a caption, one masked field that opens empty,
  // "确认输入(&O)" and "取消(&C)". OK stores the typed text in `entry` and
  // returns true; Cancel returns false and leaves `entry` as it was.
  virtual bool AskPassword(const QString& caption, QString& entry) = 0;

  // A message box captioned "信息：" with the icon and an OK button.
  virtual void ShowMessage(MessageIcon icon, const QString& text) = 0;

  // A message box captioned "信息：" without an icon, with OK and Cancel.
  // True for OK; Cancel, Escape and the close button give false.
  virtual bool Confirm(const QString& text) = 0;

  // The fatal-error box: captioned "错误", error icon, OK.
  virtual void ShowFatalError(const QString& text) = 0;
};

// The real dialogs of the toolkit.
class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  bool AskPassword(const QString& caption, QString& entry) override;
  void ShowMessage(MessageIcon icon, const QString& text) override;
  bool Confirm(const QString& text) override;
  void ShowFatalError(const QString& text) override;

 private:
  QWidget* parent_;
};

// The text of the fatal-error box for an error with a code (0: none) and a message.
QString FatalErrorText(int code, const QString& message);

}  // namespace app
