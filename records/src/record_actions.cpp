#include "records/record_actions.h"

#include "values/fatal.h"
#include "values/gbk.h"
#include "values/numbers.h"

namespace records {
namespace {

const Text& MonthMark() {
  static const Text text = values::Utf8ToGbk("月");
  return text;
}

const Text& DayMark() {
  static const Text text = values::Utf8ToGbk("日");
  return text;
}

// The day key of the record at the current position, which must be a text.
Text KeyAtPosition(const OvertimeStore& store) {
  FieldValue key = store.ReadField(1);
  if (key.kind != FieldKind::Text) {
    throw values::FatalError(5, values::Utf8ToGbk("数据或数组类型不匹配"));
  }
  return std::move(key.text);
}

// The hours of a column at the current position; any numeric kind counts.
int32_t HoursAtPosition(const OvertimeStore& store, int column) {
  const FieldValue value = store.ReadField(column);
  if (value.kind != FieldKind::Integer) {
    throw values::FatalError(2, values::Utf8ToGbk("未得到所需要的数值型数据"));
  }
  return value.integer;
}

Text LastKeyOfOpenFile(OvertimeStore& store) {
  store.GoToLast();
  return KeyAtPosition(store);
}

}  // namespace

Text StoreName() {
  static const Text text = values::Utf8ToGbk("加班");
  return text;
}

Text DayKey(values::DateTime date) {
  return values::JoinText(values::NumberToText(values::MonthOf(date)), MonthMark(),
                          values::NumberToText(values::DayOf(date)), DayMark());
}

RecordResult RecordEntry(OvertimeStore& store, std::string_view password, values::DateTime date,
                         std::string_view hoursText, std::optional<EntryCategory> category) {
  store.OpenStore(StoreName(), password);
  const int32_t hours = values::TextToInt(hoursText);
  if (hours < 1 || hours > 10) {
    store.CloseStore();
    return {RecordOutcome::BadHours, {}};
  }

  const Text key = DayKey(date);
  for (int32_t n = store.RecordCount(); n > 0; --n) {
    if (values::CompareText(KeyAtPosition(store), key) == 0) {
      store.CloseStore();
      return {RecordOutcome::AlreadyRecorded, {}};
    }
    store.SkipNext();
  }

  if (category) {
    std::vector<std::optional<FieldValue>> values(ColumnOf(*category));
    values.front() = TextValue(key);
    values.back() = IntegerValue(hours);
    store.AppendRecord(values);
    store.CloseStore();
  }

  store.OpenStore(StoreName(), password);
  RecordResult result{RecordOutcome::Recorded, LastKeyOfOpenFile(store)};
  store.CloseStore();
  return result;
}

Text LastEntryKey(OvertimeStore& store, std::string_view password) {
  store.OpenStore(StoreName(), password);
  Text key = LastKeyOfOpenFile(store);
  store.CloseStore();
  return key;
}

void DeleteLastEntry(OvertimeStore& store, std::string_view password) {
  store.OpenStore(StoreName(), password);
  store.GoToLast();
  if (store.MarkDeleted()) store.PurgeDeleted();
  store.CloseStore();
}

MonthTotals ReadMonthTotals(OvertimeStore& store, std::string_view password,
                            std::string_view monthText) {
  store.OpenStore(StoreName(), password);
  // Sums wrap around like every 32-bit integer of the system.
  std::array<uint32_t, kCategoryCount> sums{};
  for (int32_t n = store.RecordCount(); n > 0; --n) {
    // The month part: the first piece of the key split at "月".
    const Text key = KeyAtPosition(store);
    const std::optional<std::string_view> month = values::FirstPiece(key, MonthMark());
    if (!month) {
      throw values::FatalError(1, values::Utf8ToGbk("数组成员引用下标超出定义范围"));
    }
    if (values::CompareText(*month, monthText) == 0) {
      for (int c = 0; c < kCategoryCount; ++c) {
        sums[c] +=
            static_cast<uint32_t>(HoursAtPosition(store, ColumnOf(static_cast<EntryCategory>(c))));
      }
    }
    store.SkipNext();
  }
  MonthTotals totals;
  for (int c = 0; c < kCategoryCount; ++c) totals.hours[c] = static_cast<int32_t>(sums[c]);
  totals.lastKey = LastKeyOfOpenFile(store);
  store.CloseStore();
  return totals;
}

}  // namespace records
