// Program start: the application-wide settings and the window's start-up.
#pragma once

class QApplication;

namespace app {

class MainWindow;

// Fonts, the Chinese texts of the toolkit's own dialogs, and the control style.
void ConfigureApplication(QApplication& application);

// Runs once the window exists. False when the program is to end without
// showing the window.
bool StartUp(MainWindow& window);

}  // namespace app
