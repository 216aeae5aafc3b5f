// Program start: the application-wide settings and the window's start-up.
#pragma once

#include "values/text.h"

class QApplication;

namespace app {

class MainWindow;

// Fonts, the Chinese texts of the toolkit's own dialogs, and the control style.
void ConfigureApplication(QApplication& application);

// Runs once the window exists: the style, the caption, the default category
// and the month's holidays; then the record file in `programDirectory` (the
// working directory) is created with its password at the first start, and
// the password is asked for until the file opens with it. False when the
// program is to end instead: Cancel at the password prompt, two different
// passwords at the first start, or a record file that cannot be created.
bool StartUp(MainWindow& window, const values::Text& programDirectory);

}  // namespace app
