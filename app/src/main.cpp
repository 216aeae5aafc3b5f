// The program entry: the working directory becomes the program's directory,
// the window is built and started up, and the event loop runs until the
// window is closed.
#include <QApplication>
#include <QDir>

#include "app/dialogs.h"
#include "app/main_window.h"
#include "app/start_up.h"
#include "values/system.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QDir::setCurrent(QCoreApplication::applicationDirPath());
  app::ConfigureApplication(application);

  app::QtDialogs dialogs;
  app::MainWindow window(dialogs);
  if (!app::StartUp(window, values::ProgramDirectory())) return 0;
  window.show();
  return application.exec();
}
