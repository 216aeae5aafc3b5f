// The real dialogs, answered through the modal loop: captions, buttons, icons.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "app/dialogs.h"

namespace {

// Runs `answer` on the next modal dialog; a watchdog rejects any dialog
// still open after five seconds, so a failed interaction cannot hang.
void AnswerNextDialog(std::function<void(QWidget*)> answer) {
  QTimer::singleShot(0, [answer] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    answer(dialog);
  });
  QTimer::singleShot(5000, [] {
    if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->reject();
  });
}

QStringList ButtonTexts(QWidget* dialog) {
  QStringList texts;
  for (auto* b : dialog->findChildren<QPushButton*>()) texts << b->text();
  texts.sort();
  return texts;
}

TEST(QtDialogs, PasswordPromptIsMaskedWithChineseButtons) {
  app::QtDialogs dialogs;
  QString entry = QStringLiteral("old");
  AnswerNextDialog([](QWidget* w) {
    auto* dialog = qobject_cast<QInputDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("请输入密码"));
    EXPECT_EQ(dialog->labelText(), QString());
    auto* field = dialog->findChild<QLineEdit*>();
    EXPECT_EQ(field->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_EQ(ButtonTexts(dialog), (QStringList{"取消(&C)", "确认输入(&O)"}));
    field->setText(QStringLiteral("密码Ab"));
    dialog->accept();
  });
  EXPECT_TRUE(dialogs.AskPassword(QStringLiteral("请输入密码"), entry));
  EXPECT_EQ(entry, QStringLiteral("密码Ab"));

  AnswerNextDialog([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
  EXPECT_FALSE(dialogs.AskPassword(QStringLiteral("确认密码"), entry));
  EXPECT_EQ(entry, QStringLiteral("密码Ab"));
}

TEST(QtDialogs, MessageBoxesHaveTheirCaptionIconAndButtons) {
  app::QtDialogs dialogs;
  AnswerNextDialog([](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("信息："));
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->text(), QStringLiteral("请输入1-10之间的整数！"));
    EXPECT_EQ(ButtonTexts(box), QStringList{"确定"});
    box->buttons().front()->click();
  });
  dialogs.ShowMessage(app::MessageIcon::Error, QStringLiteral("请输入1-10之间的整数！"));

  for (const bool ok : {true, false}) {
    AnswerNextDialog([ok](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
      EXPECT_EQ(ButtonTexts(box), (QStringList{"取消", "确定"}));
      if (ok) {
        box->defaultButton()->click();
      } else {
        box->reject();  // Escape and the close button
      }
    });
    EXPECT_EQ(dialogs.Confirm(QStringLiteral("确认要删除3月7日的加班记录！")), ok);
  }

  AnswerNextDialog([](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("错误"));
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    box->buttons().front()->click();
  });
  dialogs.ShowFatalError(app::FatalErrorText(2, QStringLiteral("未得到所需要的数值型数据")));
}

}  // namespace
