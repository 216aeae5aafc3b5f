#include "app/dialogs.h"

#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace app {
namespace {

const QString kInfoCaption = QStringLiteral("信息：");

}  // namespace

bool QtDialogs::AskPassword(const QString& caption, QString& entry) {
  QInputDialog dialog(parent_);
  dialog.setWindowTitle(caption);
  dialog.setLabelText(QString());
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setTextEchoMode(QLineEdit::Password);
  dialog.setTextValue(QString());
  // The prompt says nothing beyond its caption.
  for (auto* label : dialog.findChildren<QLabel*>()) label->hide();
  dialog.setOkButtonText(QStringLiteral("确认输入(&O)"));
  dialog.setCancelButtonText(QStringLiteral("取消(&C)"));
  if (dialog.exec() != QDialog::Accepted) return false;
  entry = dialog.textValue();
  return true;
}

void QtDialogs::ShowMessage(MessageIcon icon, const QString& text) {
  QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Information,
                  kInfoCaption, text, QMessageBox::NoButton, parent_);
  box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
  box.exec();
}

bool QtDialogs::Confirm(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, kInfoCaption, text, QMessageBox::NoButton, parent_);
  QPushButton* ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(cancel);
  box.exec();
  return box.clickedButton() == ok;
}

void QtDialogs::ShowFatalError(const QString& text) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("错误"), text, QMessageBox::NoButton,
                  parent_);
  box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
  box.exec();
}

QString FatalErrorText(int code, const QString& message) {
  QString text = QStringLiteral("运行时出错!\n\n");
  if (code != 0) text += QStringLiteral("错误代码：%1\n\n").arg(code);
  return text + QStringLiteral("错误信息：") + message;
}

}  // namespace app
