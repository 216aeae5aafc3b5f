// Makes calendar/src/lunar_tables.inc, the tables behind calendar::LunarCalendar:
// the first day, month lengths and leap month of every lunar year 1901 to 2049,
// and the day on which each of the 24 solar terms begins in every Gregorian
// year 1901 to 2048.
//
// Method.
//   Ephemerides (libnova): the geometric Sun from VSOP87 (the Earth's series
//   with about 2,500 terms, converted to FK5) and the Moon from ELP2000-82B,
//   summed down to terms of 1e-7 radian. libnova refers both to the mean
//   ecliptic and equinox of J2000; they are carried to the ecliptic and equinox
//   of date here with the ecliptic precession of Lieske et al. (Meeus,
//   Astronomical Algorithms, 21.5). libnova's own "apparent" solar longitude
//   leaves that precession out, and its delta T is off by a minute after 2010,
//   so neither is used.
//   Apparent longitudes: the Sun's adds the nutation in longitude (IAU 1980)
//   and the annual aberration, -20.4898"/R; the Moon's adds the nutation (its
//   light time, under 1", is left out).
//   Delta T = TT - UT: the polynomials of Espenak and Meeus (2006) up to 2005,
//   the observed yearly values from 2005 to 2025, then 69.1 s growing by
//   0.25 s a year.
//   A new moon is the instant at which the apparent longitudes of Moon and Sun
//   are equal; a solar term the instant at which the Sun's apparent longitude
//   reaches a multiple of 15 degrees (term 1, the Beginning of Spring, at 315).
//   Both are found by the secant method, to 0.01 s, from the mean phases.
//
// Accuracy. VSOP87 gives the Sun to about 0.1" and the truncated ELP2000 the
// Moon to about 1"; with nutation and aberration the Sun's apparent longitude
// is good to well under 1" (about 20 s of time) and the Moon - Sun elongation
// to about 1" (a few seconds of time). Delta T adds under 2 s before 2025
// and perhaps 10 s by 2048. Checked: Meeus's new moon of 1977-02-18 (03:37:40
// TT) comes out 2 s early; the 2024 equinoxes, solstices and new moons agree
// with the published minutes. So every instant is good to well under a minute;
// the events within a few minutes of a civil midnight are listed by --report
// and have been examined one by one.
//
// Rules of the calendar.
//   - A month begins on the civil day that holds its new moon. Civil days are
//     reckoned on Beijing local mean time (UTC+7:45:40) before 1929 and on
//     UTC+8 from 1929 on, as the published calendars were.
//   - The month that holds the winter solstice (270 degrees) is month 11.
//   - Between two months 11 lie 12 or 13 months; in a span of 13 months the
//     first month that holds no principal term (a multiple of 30 degrees) is
//     the leap month and bears the number of the month before it.
//   - The lunar year is numbered by the Gregorian year in which its month 1
//     begins.
//   - One historical fact overrides the computation: the fourth month of 1906
//     began on 1906-04-24, as the calendar then in use had it (the computed new
//     moon falls on the evening before).
//   The day on which a solar term begins is its civil day in UTC+8 for every
//   year; the principal terms that place the leap months are taken on the same
//   civil days as the new moons.
//
// Usage: lunar-table-generator [--report] [OUTPUT]. Writes the table to OUTPUT
// (standard output without it); --report lists on standard error the events
// near midnight and the months and terms that the choices above decide.

#include <libnova/lunar.h>
#include <libnova/nutation.h>
#include <libnova/solar.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "values/dates.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;
constexpr double kArcsec = 1.0 / 3600.0;  // in degrees
constexpr double kJ2000 = 2451545.0;

constexpr int kFirstLunarYear = 1901;
constexpr int kLastLunarYear = 2049;
constexpr int kFirstTermYear = 1901;
constexpr int kLastTermYear = 2048;

double Wrap180(double degrees) {
  double d = std::fmod(degrees, 360.0);
  if (d >= 180.0) d -= 360.0;
  if (d < -180.0) d += 360.0;
  return d;
}

// ---- Gregorian days -------------------------------------------------------

// Days from 1970-01-01, by the program's own Gregorian date arithmetic.
constexpr int64_t kUnixEpochDateTime = 25569;  // 1970-01-01 as a DateTime

int64_t DaysFromCivil(int64_t y, int m, int d) {
  return static_cast<int64_t>(values::MakeDate(static_cast<int32_t>(y), m, d)) - kUnixEpochDateTime;
}

struct Civil {
  int y, m, d;
};

Civil CivilFromDays(int64_t z) {
  const values::DateTime date = static_cast<double>(z + kUnixEpochDateTime);
  return {values::YearOf(date), values::MonthOf(date), values::DayOf(date)};
}

constexpr double kJdUnixEpoch = 2440587.5;  // 1970-01-01 00:00 UT

std::string DayText(int64_t day) {
  Civil c = CivilFromDays(day);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", c.y, c.m, c.d);
  return buffer;
}

// ---- Delta T --------------------------------------------------------------

// TT - UT in seconds at a Julian day (UT).
double DeltaT(double jd) {
  const double y = 2000.0 + (jd - kJ2000) / 365.2425;
  if (y < 1920) {
    const double t = y - 1900;
    return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * t * t * t -
           0.000197 * t * t * t * t;
  }
  if (y < 1941) {
    const double t = y - 1920;
    return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * t * t * t;
  }
  if (y < 1961) {
    const double t = y - 1950;
    return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
  }
  if (y < 1986) {
    const double t = y - 1975;
    return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
  }
  if (y < 2005) {
    const double t = y - 2000;
    return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * t * t * t +
           0.000651814 * t * t * t * t + 0.00002373599 * t * t * t * t * t;
  }
  // Observed values at the start of each year 2005 to 2025.
  static const double kObserved[] = {64.69, 64.85, 65.15, 65.46, 65.78, 66.07, 66.32,
                                     66.60, 66.91, 67.28, 67.64, 68.10, 68.59, 68.97,
                                     69.22, 69.36, 69.36, 69.29, 69.20, 69.18, 69.10};
  constexpr int kCount = sizeof kObserved / sizeof kObserved[0];
  const double x = y - 2005;
  if (x < kCount - 1) {
    const int i = static_cast<int>(x);
    return kObserved[i] + (kObserved[i + 1] - kObserved[i]) * (x - i);
  }
  return kObserved[kCount - 1] + 0.25 * (x - (kCount - 1));
}

// ---- Apparent longitudes ----------------------------------------------------

// Carries ecliptic coordinates (degrees) from the mean ecliptic and equinox of
// J2000 to those of the date jde.
void PrecessFromJ2000(double jde, double& lon, double& lat) {
  const double t = (jde - kJ2000) / 36525.0;
  const double eta = (47.0029 * t - 0.03302 * t * t + 0.000060 * t * t * t) * kArcsec * kDegree;
  const double pi = 174.876384 * kDegree + (-869.8089 * t + 0.03536 * t * t) * kArcsec * kDegree;
  const double p = (5029.0966 * t + 1.11113 * t * t - 0.000006 * t * t * t) * kArcsec * kDegree;
  const double l0 = lon * kDegree;
  const double b0 = lat * kDegree;
  const double a = std::cos(eta) * std::cos(b0) * std::sin(pi - l0) - std::sin(eta) * std::sin(b0);
  const double b = std::cos(b0) * std::cos(pi - l0);
  const double c = std::cos(eta) * std::sin(b0) + std::sin(eta) * std::cos(b0) * std::sin(pi - l0);
  lon = (p + pi - std::atan2(a, b)) / kDegree;
  lat = std::asin(c) / kDegree;
}

double NutationInLongitude(double jde) {
  ln_nutation nutation;
  ln_get_nutation(jde, &nutation);
  return nutation.longitude;
}

// The Sun's geometric longitude of date, and its distance (AU).
double SunGeometricLongitude(double jde, double* distance) {
  ln_helio_posn sun;
  ln_get_solar_geom_coords(jde, &sun);
  double lon = sun.L;
  double lat = sun.B;
  PrecessFromJ2000(jde, lon, lat);
  if (distance) *distance = sun.R;
  return lon;
}

double SunApparentLongitude(double jde) {
  double distance = 1.0;
  const double lon = SunGeometricLongitude(jde, &distance);
  return lon + NutationInLongitude(jde) - 20.4898 * kArcsec / distance;
}

double MoonGeometricLongitude(double jde) {
  ln_lnlat_posn moon;
  ln_get_lunar_ecl_coords(jde, &moon, 1e-7);
  double lon = moon.lng;
  double lat = moon.lat;
  PrecessFromJ2000(jde, lon, lat);
  return lon;
}

// Apparent Moon minus apparent Sun; the nutation cancels.
double Elongation(double jde) {
  double distance = 1.0;
  const double sun = SunGeometricLongitude(jde, &distance) - 20.4898 * kArcsec / distance;
  return Wrap180(MoonGeometricLongitude(jde) - sun);
}

// Secant search for f(x) = 0 from x0; rate is an estimate of f's slope.
template <typename F>
double Solve(F f, double x0, double rate) {
  double f0 = f(x0);
  double x1 = x0 - f0 / rate;
  double f1 = f(x1);
  for (int i = 0; i < 50 && std::fabs(x1 - x0) > 1e-7; ++i) {
    if (f1 == f0) break;
    const double x2 = x1 - f1 * (x1 - x0) / (f1 - f0);
    x0 = x1;
    f0 = f1;
    x1 = x2;
    f1 = f(x1);
  }
  if (std::fabs(f1) > 1e-6) {
    std::fprintf(stderr, "no convergence near JDE %.5f\n", x1);
    std::exit(1);
  }
  return x1;
}

// ---- Events in civil time ---------------------------------------------------

constexpr double kBeijingMeanOffset = (7 * 3600 + 45 * 60 + 40) / 86400.0;
constexpr double kChinaStandardOffset = 8.0 / 24.0;

// The offset of the published calendar's civil time at an instant.
double CalendarOffset(double jd) {
  const double day1929 = DaysFromCivil(1929, 1, 1) + kJdUnixEpoch;
  return jd + kChinaStandardOffset < day1929 ? kBeijingMeanOffset : kChinaStandardOffset;
}

// Days from 1970-01-01 of the civil day holding jd at the given offset.
int64_t CivilDay(double jd, double offset) {
  return static_cast<int64_t>(std::floor(jd - kJdUnixEpoch + offset));
}

// Minutes from the nearest civil midnight (negative: before it).
double MinutesFromMidnight(double jd, double offset) {
  const double local = jd - kJdUnixEpoch + offset;
  double fraction = local - std::floor(local);
  if (fraction > 0.5) fraction -= 1.0;
  return fraction * 1440.0;
}

std::string TimeText(double jd, double offset) {
  const double local = jd - kJdUnixEpoch + offset;
  const int64_t day = static_cast<int64_t>(std::floor(local));
  const int64_t seconds = std::llround((local - day) * 86400.0);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s %02lld:%02lld:%02lld", DayText(day).c_str(),
                static_cast<long long>(seconds / 3600), static_cast<long long>(seconds / 60 % 60),
                static_cast<long long>(seconds % 60));
  return buffer;
}

double UtFromTt(double jde) {
  double jd = jde;
  for (int i = 0; i < 3; ++i) jd = jde - DeltaT(jd) / 86400.0;
  return jd;
}

double NewMoon(double k) {
  const double mean = 2451550.09766 + 29.530588861 * k;
  return UtFromTt(Solve(Elongation, mean, 12.19));
}

// The instant at which the Sun's apparent longitude reaches `degrees`, near
// the given Julian day.
double SolarTerm(double degrees, double guess) {
  auto f = [degrees](double jde) { return Wrap180(SunApparentLongitude(jde) - degrees); };
  return UtFromTt(Solve(f, guess, 0.9856));
}

const char* const kTermNames[24] = {
    "Beginning of Spring", "Rain Water",      "Awakening of Insects",
    "Spring Equinox",      "Pure Brightness", "Grain Rain",
    "Beginning of Summer", "Grain Buds",      "Grain in Ear",
    "Summer Solstice",     "Minor Heat",      "Major Heat",
    "Beginning of Autumn", "End of Heat",     "White Dew",
    "Autumn Equinox",      "Cold Dew",        "Frost's Descent",
    "Beginning of Winter", "Minor Snow",      "Major Snow",
    "Winter Solstice",     "Minor Cold",      "Major Cold"};

struct Term {
  int number;  // 1 = Beginning of Spring ... 24 = Major Cold
  double jd;
};

struct Month {
  int64_t start;  // civil day of its new moon
  double jd;      // the new moon
  int number = 0;
  bool leap = false;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "lunar-table-generator: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  bool report = false;
  std::string output;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--report") {
      report = true;
    } else if (output.empty()) {
      output = arg;
    } else {
      return Fail("usage: lunar-table-generator [--report] [OUTPUT]");
    }
  }
  constexpr double kNearMidnightMinutes = 10.0;

  // Solar terms of the Gregorian years 1899 to 2051, in time order.
  std::vector<Term> terms;
  for (int year = 1899; year <= 2051; ++year) {
    for (int j = 0; j < 24; ++j) {
      const int number = (j + 22) % 24 + 1;  // Minor Cold first
      const double degrees = std::fmod(285.0 + 15.0 * j, 360.0);
      const double fromEquinox = std::fmod(degrees + 75.0, 360.0) - 75.0;
      const double guess = 2451623.80984 + 365.242189 * (year - 2000) + fromEquinox * 1.0146;
      terms.push_back({number, SolarTerm(degrees, guess)});
    }
  }
  for (size_t i = 1; i < terms.size(); ++i) {
    if (!(terms[i].jd > terms[i - 1].jd + 13.0 && terms[i].jd < terms[i - 1].jd + 17.0)) {
      return Fail("solar terms out of order");
    }
  }

  // New moons from late 1898 to 2052.
  std::vector<Month> months;
  const double kFirst = std::floor((1898.9 - 2000.0) * 12.3685);
  const double kLast = std::ceil((2052.2 - 2000.0) * 12.3685);
  for (double k = kFirst; k <= kLast; k += 1.0) {
    const double jd = NewMoon(k);
    months.push_back({CivilDay(jd, CalendarOffset(jd)), jd});
  }
  // The one month whose published beginning differs from the computation.
  const int64_t overridden = DaysFromCivil(1906, 4, 24);
  bool overrideApplied = false;
  for (Month& month : months) {
    if (month.start == overridden - 1) {
      if (report) {
        std::fprintf(stderr, "override: new moon %s (Beijing mean time), month begins %s\n",
                     TimeText(month.jd, CalendarOffset(month.jd)).c_str(),
                     DayText(overridden).c_str());
      }
      month.start = overridden;
      overrideApplied = true;
    }
  }
  if (!overrideApplied) return Fail("the 1906 override matched no month");

  if (report) {
    std::fprintf(stderr, "New moons within %.0f minutes of a civil midnight:\n",
                 kNearMidnightMinutes);
    for (const Month& m : months) {
      const double offset = CalendarOffset(m.jd);
      const double minutes = MinutesFromMidnight(m.jd, offset);
      if (std::fabs(minutes) <= kNearMidnightMinutes) {
        std::fprintf(stderr, "  new moon %s %s (%+.1f min); UTC+8 %s; month begins %s\n",
                     TimeText(m.jd, offset).c_str(),
                     offset == kChinaStandardOffset ? "UTC+8" : "LMT", minutes,
                     TimeText(m.jd, kChinaStandardOffset).c_str(), DayText(m.start).c_str());
      }
    }
    std::fprintf(stderr, "Solar terms within %.0f minutes of a civil midnight:\n",
                 kNearMidnightMinutes);
    for (const Term& t : terms) {
      const double minutes = MinutesFromMidnight(t.jd, kChinaStandardOffset);
      const double offset = CalendarOffset(t.jd);
      const double calendarMinutes = MinutesFromMidnight(t.jd, offset);
      if (std::fabs(minutes) <= kNearMidnightMinutes ||
          std::fabs(calendarMinutes) <= kNearMidnightMinutes) {
        std::fprintf(stderr, "  term %2d %-20s UTC+8 %s (%+.1f min)%s%s\n", t.number,
                     kTermNames[t.number - 1], TimeText(t.jd, kChinaStandardOffset).c_str(),
                     minutes, offset == kChinaStandardOffset ? "" : "; LMT ",
                     offset == kChinaStandardOffset ? "" : TimeText(t.jd, offset).c_str());
      }
    }
  }

  // Principal terms (even numbers) and winter solstices on the calendar's civil days.
  auto monthIndexOf = [&months](int64_t day) -> int {
    for (size_t i = 0; i + 1 < months.size(); ++i) {
      if (months[i].start <= day && day < months[i + 1].start) return static_cast<int>(i);
    }
    return -1;
  };
  std::vector<bool> hasPrincipalTerm(months.size(), false);
  std::vector<int> elevenths;  // index of each month 11
  for (const Term& t : terms) {
    if (t.number % 2 != 0) continue;
    const int index = monthIndexOf(CivilDay(t.jd, CalendarOffset(t.jd)));
    if (index < 0) continue;
    hasPrincipalTerm[index] = true;
    if (t.number == 22) elevenths.push_back(index);
  }
  for (size_t s = 0; s + 1 < elevenths.size(); ++s) {
    const int a = elevenths[s];
    const int b = elevenths[s + 1];
    if (b - a != 12 && b - a != 13) return Fail("a year of neither 12 nor 13 months");
    int leapIndex = -1;
    if (b - a == 13) {
      for (int i = a + 1; i < b; ++i) {
        if (!hasPrincipalTerm[i]) {
          leapIndex = i;
          break;
        }
      }
      if (leapIndex < 0) return Fail("a year of 13 months without a leap month");
    }
    int number = 11;
    for (int i = a; i < b; ++i) {
      if (i == leapIndex) {
        months[i].leap = true;
        months[i].number = number;
      } else {
        months[i].number = number;
        if (i != a) months[i].number = number = number % 12 + 1;
      }
    }
  }

  // Lunar years.
  std::ostringstream out;
  out << "// Generated by tools/lunar-table-generator: do not edit. The build target\n"
         "// regenerate-lunar-tables writes it anew.\n"
         "// clang-format off\n\n"
         "// Lunar years 1901 to 2049, one entry each: bit i (0 to 12) is set when the\n"
         "// (i+1)-th month of the year, leap month included, has 30 days rather than 29;\n"
         "// bits 13 to 16 hold the number of the leap month (0: none); bits 17 to 22 the\n"
         "// day of the Gregorian year, counted from 0 on 1 January, of the first day of\n"
         "// month 1.\n"
         "inline constexpr int32_t kFirstLunarYear = "
      << kFirstLunarYear << ";\ninline constexpr int32_t kLastLunarYear = " << kLastLunarYear
      << ";\ninline constexpr uint32_t kLunarYears[] = {\n";
  for (int year = kFirstLunarYear; year <= kLastLunarYear; ++year) {
    size_t first = 0;
    while (first < months.size() && !(months[first].number == 1 && !months[first].leap &&
                                      CivilFromDays(months[first].start).y == year)) {
      ++first;
    }
    if (first >= months.size()) return Fail("no month 1 in " + std::to_string(year));
    uint32_t bits = 0;
    int leap = 0;
    size_t i = first;
    int count = 0;
    for (; i + 1 < months.size(); ++i, ++count) {
      if (i != first && months[i].number == 1 && !months[i].leap) break;
      if (months[i].number == 0) return Fail("an unnumbered month");
      const int64_t length = months[i + 1].start - months[i].start;
      if (length != 29 && length != 30) return Fail("a month of neither 29 nor 30 days");
      if (length == 30) bits |= 1u << count;
      if (months[i].leap) leap = months[i].number;
    }
    if (count != (leap ? 13 : 12)) return Fail("a lunar year of a wrong number of months");
    const int64_t dayOfYear = months[first].start - DaysFromCivil(year, 1, 1);
    bits |= static_cast<uint32_t>(leap) << 13 | static_cast<uint32_t>(dayOfYear) << 17;
    char line[128];
    std::snprintf(line, sizeof line, "    0x%06X,  // %d: month 1 begins %s, %s\n", bits, year,
                  DayText(months[first].start).c_str(),
                  leap ? ("leap month " + std::to_string(leap)).c_str() : "no leap month");
    out << line;
  }
  out << "};\n\n";

  // Solar terms in UTC+8.
  out << "// The day of the month on which each solar term begins (China Standard Time),\n"
         "// for the Gregorian years 1901 to 2048, in the order of the year: Minor Cold\n"
         "// (23) and Major Cold (24) in January, the Beginning of Spring (1) and Rain\n"
         "// Water (2) in February, ... Major Snow (21) and the Winter Solstice (22) in\n"
         "// December: two terms in every month.\n"
         "inline constexpr int32_t kFirstTermYear = "
      << kFirstTermYear << ";\ninline constexpr int32_t kLastTermYear = " << kLastTermYear
      << ";\ninline constexpr uint8_t kSolarTermDays[][24] = {\n";
  for (int year = kFirstTermYear; year <= kLastTermYear; ++year) {
    int days[24];
    int found = 0;
    for (const Term& t : terms) {
      const Civil c = CivilFromDays(CivilDay(t.jd, kChinaStandardOffset));
      if (c.y != year) continue;
      const int j = (t.number + 1) % 24;  // 23 -> 0, 24 -> 1, 1 -> 2, ...
      if (j / 2 + 1 != c.m) return Fail("a term outside its month");
      days[j] = c.d;
      ++found;
    }
    if (found != 24) return Fail("a year without 24 solar terms");
    out << "    {";
    for (int j = 0; j < 24; ++j) out << days[j] << (j < 23 ? ", " : "");
    out << "},  // " << year << "\n";
  }
  out << "};\n";

  if (output.empty()) {
    std::cout << out.str();
    return std::cout ? 0 : 1;
  }
  std::ofstream file(output, std::ios::binary);
  file << out.str();
  return file ? 0 : Fail("cannot write " + output);
}
