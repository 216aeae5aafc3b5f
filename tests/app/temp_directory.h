// A fresh temporary directory that is the working directory while it lives,
// as the program's own directory is for the program.
#pragma once

#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>

#include "records/overtime_store.h"
#include "values/gbk.h"

namespace testing_app {

// Argon2id at its lowest cost, so that tests do not pay for guessing
// resistance.
inline constexpr records::KeyCost kCheapKeys{1, 8192};

class TemporaryWorkingDirectory {
 public:
  TemporaryWorkingDirectory() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
  ~TemporaryWorkingDirectory() { QDir::setCurrent(previous_); }

  QString path() const { return dir_.path(); }
  // The directory as the program's directory text (GBK).
  values::Text text() const { return values::Utf8ToGbk(dir_.path().toStdString()); }
  QString file(const QString& name) const { return dir_.filePath(name); }

 private:
  QString previous_;
  QTemporaryDir dir_;
};

}  // namespace testing_app
