#include "app/start_up.h"

#include <sodium.h>

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QRadioButton>
#include <QTranslator>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "app/main_window.h"
#include "app/qt_text.h"
#include "app/xp_style.h"
#include "records/overtime_store.h"
#include "records/record_actions.h"
#include "records/secret_text.h"
#include "values/gbk.h"
#include "values/system.h"

namespace app {
namespace {

// Installed CJK sans-serif faces, preferred first.
const QStringList kCjkSans = {QStringLiteral("WenQuanYi Micro Hei"),
                              QStringLiteral("Noto Sans CJK SC"),
                              QStringLiteral("Source Han Sans SC")};

// The bytes of a typed password: its GBK text, or, for a password with
// characters that GBK lacks, its UTF-8 text, so that no two typed passwords
// become the same bytes. The typed text is wiped.
records::SecretText PasswordOf(QString& typed) {
  std::string utf8 = typed.toStdString();
  typed.fill(QChar(0));
  std::optional<values::Text> gbk = values::Utf8ToGbkStrict(utf8);
  records::SecretText secret(gbk ? *gbk : utf8);
  sodium_memzero(utf8.data(), utf8.size());
  if (gbk) sodium_memzero(gbk->data(), gbk->size());
  return secret;
}

void RemoveFile(const values::Text& path) {
  std::error_code ignored;
  std::filesystem::remove(values::GbkToUtf8(path), ignored);
}

enum class FirstStart { Ready, PasswordsDiffer, CannotCreate };

// Creates the empty record file and asks twice for its password. Two
// different entries, or a file that cannot be made, leave no file behind,
// so that the next start asks for a password again.
FirstStart CreateRecordFile(Dialogs& dialogs, records::OvertimeStore& store,
                            const values::Text& path) {
  if (!store.CreateStore(records::StoreName(), records::OvertimeSchema())) {
    RemoveFile(path);
    return FirstStart::CannotCreate;
  }
  // The file is opened only once the password is known, so that no other
  // running program waits on it while the user types.
  QString first;
  QString second;
  dialogs.AskPassword(QStringLiteral("请设置密码"), first);
  dialogs.AskPassword(QStringLiteral("确认密码"), second);
  const records::SecretText firstPassword = PasswordOf(first);
  const records::SecretText secondPassword = PasswordOf(second);
  if (values::CompareText(firstPassword.view(), secondPassword.view()) != 0) {
    dialogs.ShowMessage(MessageIcon::Error, QStringLiteral("两次密码输入不一致！"));
    RemoveFile(path);
    return FirstStart::PasswordsDiffer;
  }
  const bool protectedFile =
      store.OpenStore(records::StoreName()) && store.SetStorePassword(secondPassword.view());
  store.CloseStore();
  if (!protectedFile) {
    RemoveFile(path);
    return FirstStart::CannotCreate;
  }
  return FirstStart::Ready;
}

}  // namespace

void ConfigureApplication(QApplication& application) {
  // "黑体" is a Windows face; its glyphs come from an installed CJK sans.
  QFont::insertSubstitutions(QStringLiteral("黑体"), kCjkSans);
  QFont font(kCjkSans.front());
  font.setFamilies(kCjkSans);
  font.setPixelSize(12);
  QApplication::setFont(font);

  auto* translator = new QTranslator(&application);
  if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  }
  UseXpSilverStyle();
}

bool StartUp(MainWindow& window, const values::Text& programDirectory) {
  UseXpSilverStyle();
  window.setWindowTitle(QStringLiteral("VandrelQuorvin"));
  window.单选框G1->setChecked(true);
  window.ShowHolidayLabel();

  Dialogs& dialogs = window.dialogs();
  records::OvertimeStore& store = window.store();
  const values::Text path =
      values::JoinText(programDirectory, std::string_view(&values::kPathSeparator, 1),
                       values::Utf8ToGbk("加班.edb"));
  if (!values::FileExists(path)) {
    switch (CreateRecordFile(dialogs, store, path)) {
      case FirstStart::Ready:
        break;
      case FirstStart::CannotCreate:
        dialogs.ShowMessage(MessageIcon::Error,
                            QStringLiteral("无法创建记录文件：") + ToQString(path));
        window.close();
        return false;
      case FirstStart::PasswordsDiffer:
        window.close();
        return false;
    }
  }

  // The gate: the prompt comes back until the file opens or the user cancels.
  for (;;) {
    QString entry;
    if (!dialogs.AskPassword(QStringLiteral("请输入密码"), entry)) {
      window.close();
      return false;
    }
    records::SecretText password = PasswordOf(entry);
    if (store.OpenStore(records::StoreName(), password.view())) {
      store.CloseStore();
      window.sessionPassword = std::move(password);
      return true;
    }
  }
}

}  // namespace app
