// Prints the one table of bench/run (Markdown) from the JSON reports of the
// benchmarks: each figure beside its floor from the same run, their ratio,
// the goal and whether it is met.
//
//   bench_table calendar.json numbers.json actions.json startup.json
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

std::vector<QJsonObject> entries;

bool Load(const char* path) {
  QFile file(QString::fromLocal8Bit(path));
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
  for (const QJsonValue& v : document.object().value(QStringLiteral("benchmarks")).toArray()) {
    entries.push_back(v.toObject());
  }
  return true;
}

// The entry whose name starts with `prefix`: the aggregate of that name, or
// with none given the plain run.
const QJsonObject* Find(const QString& prefix, const QString& aggregate = {}) {
  for (const QJsonObject& e : entries) {
    if (!e.value(QStringLiteral("name")).toString().startsWith(prefix)) continue;
    if (e.contains(QStringLiteral("error_occurred"))) return nullptr;
    const bool isAggregate = e.value(QStringLiteral("run_type")).toString() == "aggregate";
    if (aggregate.isEmpty()
            ? !isAggregate
            : isAggregate && e.value(QStringLiteral("aggregate_name")) == aggregate) {
      return &e;
    }
  }
  return nullptr;
}

double UnitSeconds(const QJsonObject& e) {
  const QString unit = e.value(QStringLiteral("time_unit")).toString();
  if (unit == "ns") return 1e-9;
  if (unit == "us") return 1e-6;
  if (unit == "ms") return 1e-3;
  return 1.0;
}

// Wall-clock seconds of one click or start.
std::optional<double> RealSeconds(const QString& prefix, const QString& aggregate) {
  const QJsonObject* e = Find(prefix, aggregate);
  if (!e) return std::nullopt;
  return e->value(QStringLiteral("real_time")).toDouble() * UnitSeconds(*e);
}

std::optional<double> Counter(const QString& prefix, const QString& aggregate,
                              const QString& counter) {
  const QJsonObject* e = Find(prefix, aggregate);
  if (!e || !e->contains(counter)) return std::nullopt;
  return e->value(counter).toDouble();
}

// Processor seconds of one item (one conversion, one month): the median of
// repeated runs, or the one run.
std::optional<double> CpuSecondsPerItem(const QString& prefix) {
  const QJsonObject* e = Find(prefix, QStringLiteral("median"));
  if (!e) e = Find(prefix);
  if (!e) return std::nullopt;
  const double perSecond = e->value(QStringLiteral("items_per_second")).toDouble();
  if (perSecond <= 0) return std::nullopt;
  return 1.0 / perSecond;
}

std::string Time(double seconds) {
  char text[32];
  if (seconds < 1e-6) {
    std::snprintf(text, sizeof text, "%.1f ns", seconds * 1e9);
  } else if (seconds < 1e-3) {
    std::snprintf(text, sizeof text, "%.1f µs", seconds * 1e6);
  } else if (seconds < 1) {
    std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
  } else {
    std::snprintf(text, sizeof text, "%.2f s", seconds);
  }
  return text;
}

std::string Memory(double kib) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MiB", kib / 1024);
  return text;
}

std::string Fixed(double value, const char* suffix = "") {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f%s", value, suffix);
  return text;
}

// A ratio with two places, or three significant digits below 0.1.
std::string Ratio(double value) {
  char text[32];
  std::snprintf(text, sizeof text, value < 0.1 ? "%.3g×" : "%.2f×", value);
  return text;
}

void Row(const std::string& figure, const std::string& value, const std::string& floor,
         const std::string& ratio, const std::string& goal, const std::string& met) {
  std::printf("| %s | %s | %s | %s | %s | %s |\n", figure.c_str(), value.c_str(), floor.c_str(),
              ratio.c_str(), goal.c_str(), met.c_str());
}

// "yes", or how far the figure is from its limit.
std::string Met(double figure, double limit) {
  if (figure <= limit) return "yes";
  return "no: " + Fixed(figure / limit, "× the goal");
}

void Missing(const std::string& figure) {
  Row(figure, "—", "—", "—", "—", "not measured");
}

// Buttons and the date box, as the window names them.
struct ActionName {
  const char* id;
  const char* shown;
};
const ActionName kActions[] = {
    {"ReadTotals", "按钮读取数据库"},
    {"Refresh", "按钮刷新"},
    {"ShowResults", "按钮结果输出"},
    {"Record", "按钮加班记录 (a real append)"},
    {"DeleteLast", "按钮删除 (confirm, delete, refresh)"},
    {"ChangeDate", "日期框1 (another month)"},
    {"Quit", "按钮退出"},
};

constexpr double kFrame = 0.016;
constexpr double kSmall = 3650;
constexpr double kLarge = 100000;

void ActionRows() {
  const double linear = kLarge / kSmall;
  // Each action at 3,650 entries beside the empty file, with the frame as its
  // goal; at 100,000 beside 3,650, with linear growth as its goal.
  struct Scale {
    int entries;
    int floorEntries;
    const char* entriesText;
    const char* floorText;
  };
  const Scale scales[] = {{3650, 0, ", 3,650 entries, ", " (empty file)"},
                          {100000, 3650, ", 100,000 entries, ", " (3,650)"}};
  for (const ActionName& a : kActions) {
    auto at = [&](int entries, const char* aggregate) {
      return RealSeconds(QStringLiteral("BM_Click/%1/%2/").arg(a.id).arg(entries), aggregate);
    };
    for (const Scale& scale : scales) {
      for (const char* aggregate : {"median", "p99"}) {
        const std::string figure = std::string(a.shown) + scale.entriesText + aggregate;
        const auto value = at(scale.entries, aggregate);
        const auto floor = at(scale.floorEntries, aggregate);
        if (!value || !floor) {
          Missing(figure);
          continue;
        }
        const double ratio = *value / *floor;
        const std::string floorText = Time(*floor) + scale.floorText;
        if (scale.floorEntries == 0) {
          Row(figure, Time(*value), floorText, Ratio(ratio), "< 16 ms", Met(*value, kFrame));
        } else {
          Row(figure, Time(*value), floorText, Ratio(ratio),
              "≤ " + Fixed(linear, "×") + " (linear)", Met(ratio, linear));
        }
      }
    }
  }
}

void StartUpRows() {
  const QString name = QStringLiteral("BM_StartUp");
  for (const char* aggregate : {"median", "p99"}) {
    const std::string figure = std::string("Start-up to the first shown window, ") + aggregate;
    const auto app = Counter(name, aggregate, QStringLiteral("app_ms"));
    const auto bare = Counter(name, aggregate, QStringLiteral("bare_ms"));
    if (!app || !bare) {
      Missing(figure);
      continue;
    }
    const double ratio = *app / *bare;
    Row(figure, Time(*app / 1e3), Time(*bare / 1e3) + " (bare QWidget)", Fixed(ratio, "×"),
        "≤ 1.30×", Met(ratio, 1.3));
  }
  const std::string figure = "Start-up peak memory (max RSS), median";
  const auto app = Counter(name, "median", QStringLiteral("app_peak_kib"));
  const auto bare = Counter(name, "median", QStringLiteral("bare_peak_kib"));
  if (!app || !bare) return Missing(figure);
  Row(figure, Memory(*app), Memory(*bare) + " (bare QWidget)", Ratio(*app / *bare), "≤ 1.30×",
      Met(*app / *bare, 1.3));
}

void NumberRows() {
  struct Pair {
    const char* figure;
    const char* value;
    const char* floor;
    const char* floorName;
  };
  const Pair pairs[] = {
      {"TextToReal, ASCII box texts and %.17g doubles", "BM_TextToReal/ascii", "BM_Strtod/ascii",
       "strtod"},
      {"TextToReal, full-width box texts (GBK)", "BM_TextToReal/box_full_width",
       "BM_Strtod/box_ascii", "strtod, same in ASCII"},
      {"NumberToText(double)", "BM_NumberToText", "BM_Snprintf", "snprintf %.17g"},
  };
  for (const Pair& p : pairs) {
    const auto value = CpuSecondsPerItem(QString::fromLatin1(p.value));
    const auto floor = CpuSecondsPerItem(QString::fromLatin1(p.floor));
    if (!value || !floor) {
      Missing(p.figure);
      continue;
    }
    Row(p.figure, Time(*value) + " per number", Time(*floor) + " (" + p.floorName + ")",
        Ratio(*value / *floor), "≤ 2.00×", Met(*value / *floor, 2.0));
  }
}

void CalendarRow() {
  const std::string figure = "Holidays of a month, 1901–2049 (tables)";
  const auto value = CpuSecondsPerItem(QStringLiteral("BM_ListMonthHolidays"));
  const auto floor = CpuSecondsPerItem(QStringLiteral("BM_IcuLunarConversions"));
  if (!value || !floor) return Missing(figure);
  Row(figure, Time(*value) + " per month", Time(*floor) + " (ICU lunar conversions)",
      Ratio(*value / *floor), "— (comparison)", "—");
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (!Load(argv[i])) std::fprintf(stderr, "bench_table: cannot read %s\n", argv[i]);
  }
  Row("figure", "value", "floor", "ratio", "goal", "met?");
  Row("---", "---:", "---:", "---:", "---", "---");
  ActionRows();
  StartUpRows();
  NumberRows();
  CalendarRow();
  std::printf(
      "\nClicks and starts: wall-clock time; numbers and holidays: processor time per item.\n"
      "p99: nearest rank of 200 clicks (20 at 100,000 entries, where it is the slowest click).\n"
      "Start-up: offscreen, fresh process each start, record file of 3,650 entries with the\n"
      "cheapest key cost; a real start also pays the deliberate key derivation (about 0.6 s).\n");
  return 0;
}
