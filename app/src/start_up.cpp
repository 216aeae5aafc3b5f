#include "app/start_up.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QRadioButton>
#include <QTranslator>

#include "app/main_window.h"
#include "app/xp_style.h"

namespace app {
namespace {

// Installed CJK sans-serif faces, preferred first.
const QStringList kCjkSans = {QStringLiteral("WenQuanYi Micro Hei"),
                              QStringLiteral("Noto Sans CJK SC"),
                              QStringLiteral("Source Han Sans SC")};

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

bool StartUp(MainWindow& window) {
  UseXpSilverStyle();
  window.setWindowTitle(QStringLiteral("VandrelQuorvin"));
  window.单选框G1->setChecked(true);
  return true;
}

}  // namespace app
