// What the record buttons do with the record file: record a day's entry,
// delete the last entry, and total a month. The window reads its controls,
// calls these, and writes the results; every call opens the file with the
// session's password and closes it again before it returns.
//
// A damaged file or one that disappeared while the program runs throws
// values::FatalError, as reading a field of no open file does.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "records/overtime_store.h"
#include "values/dates.h"
#include "values/text.h"

namespace records {

// The five hour columns, in the order of the category buttons.
enum class EntryCategory { G1, G2, G3, PersonalLeave, SickLeave };
inline constexpr int kCategoryCount = 5;

// The column (1-based) of a category's hours; column 1 holds the day key.
constexpr int ColumnOf(EntryCategory category) {
  return static_cast<int>(category) + 2;
}

// The file's name as the record actions and the start-up pass it.
Text StoreName();

// The day key of a date: month "月" day "日", no leading zeros, no year.
Text DayKey(values::DateTime date);

enum class RecordOutcome {
  BadHours,         // hours outside 1 to 10: nothing written
  AlreadyRecorded,  // the day's key is in the file: nothing written
  Recorded,
};

struct RecordResult {
  RecordOutcome outcome;
  Text lastKey;  // Recorded: the day key of the file's last record
};

// Appends the day's entry with the hours (read as an integer) in the column of
// the category. With no category nothing is appended, and the last key is
// still reported.
RecordResult RecordEntry(OvertimeStore& store, std::string_view password, values::DateTime date,
                         std::string_view hoursText, std::optional<EntryCategory> category);

// The day key of the file's last record (empty for an empty file).
Text LastEntryKey(OvertimeStore& store, std::string_view password);

// Removes the file's last record, if any.
void DeleteLastEntry(OvertimeStore& store, std::string_view password);

struct MonthTotals {
  std::array<int32_t, kCategoryCount> hours{};  // per category, in category order
  Text lastKey;                                 // the day key of the file's last record
};

// Sums each category over the records whose key's month part equals
// `monthText` ("3" for 3月…, of any year).
MonthTotals ReadMonthTotals(OvertimeStore& store, std::string_view password,
                            std::string_view monthText);

}  // namespace records
