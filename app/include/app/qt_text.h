// Where a GBK text of the system crosses into or out of the toolkit.
#pragma once

#include <QString>

#include "values/gbk.h"
#include "values/text.h"

namespace app {

inline QString ToQString(std::string_view gbk) {
  return QString::fromStdString(values::GbkToUtf8(gbk));
}

inline values::Text ToGbk(const QString& s) {
  return values::Utf8ToGbk(s.toStdString());
}

}  // namespace app
