#include "records/overtime_store.h"

#include <sodium.h>

#include <algorithm>
#include <utility>

#include "file_access.h"
#include "key_cache.h"
#include "store_format.h"
#include "values/fatal.h"

namespace records {
namespace {

// GBK texts.
constexpr char kFieldDate[] = "\xc8\xd5\xc6\xda";                      // 日期
constexpr char kFieldPersonal[] = "\xca\xc2\xbc\xd9\xbf\xf5\xb9\xa4";  // 事假旷工
constexpr char kFieldSick[] = "\xb2\xa1\xbc\xd9";                      // 病假
constexpr char kNoCurrentFile[] =  // 未指定当前数据库或者指定数据库未打开
    "\xce\xb4\xd6\xb8\xb6\xa8\xb5\xb1\xc7\xb0\xca\xfd\xbe\xdd\xbf\xe2\xbb\xf2\xd5\xdf"
    "\xd6\xb8\xb6\xa8\xca\xfd\xbe\xdd\xbf\xe2\xce\xb4\xb4\xf2\xbf\xaa";
constexpr char kNoSuchField[] =
    "\xd6\xb8\xb6\xa8\xd7\xd6\xb6\xce\xb2\xbb\xb4\xe6\xd4\xda";  // 指定字段不存在

bool SodiumReady() {
  static const bool ready = sodium_init() >= 0;
  return ready;
}

FieldValue EmptyValue(const FieldDef& field) {
  return field.kind == FieldKind::Text ? TextValue({}) : IntegerValue(0);
}

}  // namespace

FieldList OvertimeSchema() {
  return {{kFieldDate, FieldKind::Text, 8},        {"G1", FieldKind::Integer, 4},
          {"G2", FieldKind::Integer, 4},           {"G3", FieldKind::Integer, 4},
          {kFieldPersonal, FieldKind::Integer, 4}, {kFieldSick, FieldKind::Integer, 4}};
}

FieldValue TextValue(Text text) {
  return {FieldKind::Text, std::move(text), 0};
}
FieldValue IntegerValue(int32_t value) {
  return {FieldKind::Integer, {}, value};
}

// The open file: everything an opening read from it, and the lock that keeps
// other programs out until it is closed.
struct OpenFile {
  DirectoryLock lock;
  std::string entry;
  format::Table table;
  format::Protection protection;
  std::shared_ptr<const DerivedKey> key;  // set when protected
  int32_t position = 1;
};

struct OvertimeStore::State {
  KeyCost cost;
  KeyCache keys;
  std::optional<OpenFile> current;

  // Writes `table` with `protection` over the current file; the in-memory
  // state changes only when the new file is in place.
  bool Save(format::Table table, const format::Protection& protection,
            std::shared_ptr<const DerivedKey> key) {
    OpenFile& f = *current;
    const std::optional<format::Bytes> bytes =
        format::SealFile(table, protection, key ? key->key->data() : nullptr);
    if (!bytes || !ReplaceFile(f.lock.fd(), f.entry, *bytes)) return false;
    f.table = std::move(table);
    f.protection = protection;
    f.key = std::move(key);
    return true;
  }

  bool IsCurrent(const ResolvedName& name) const {
    return current && current->lock.directory() == name.directory &&
           FoldCase(current->entry) == FoldCase(name.entry);
  }

  // The descriptor of the directory's lock: the one held for the current file
  // when it is the same directory (a second lock of the same directory would
  // wait on that one forever), else a newly acquired one, stored in `own`.
  // -1 when the directory cannot be locked.
  int LockFor(const std::string& directory, std::optional<DirectoryLock>& own) {
    if (current && current->lock.directory() == directory) return current->lock.fd();
    own = DirectoryLock::Acquire(directory);
    return own ? own->fd() : -1;
  }
};

OvertimeStore::OvertimeStore(KeyCost cost) : state_(std::make_unique<State>()) {
  state_->cost = cost;
}

OvertimeStore::~OvertimeStore() = default;

bool OvertimeStore::CreateStore(std::string_view name, const FieldList& fields) {
  if (!SodiumReady() || !format::FieldListValid(fields)) return false;
  const std::optional<ResolvedName> resolved = ResolveName(name);
  if (!resolved || state_->IsCurrent(*resolved)) return false;
  std::optional<DirectoryLock> own;
  const int dir_fd = state_->LockFor(resolved->directory, own);
  if (dir_fd < 0) return false;

  RemoveStaleTemporary(dir_fd, resolved->entry);
  const std::string entry = FindEntry(dir_fd, resolved->entry).value_or(resolved->entry);
  format::Table table;
  table.fields = fields;
  for (FieldDef& f : table.fields) {
    if (f.kind == FieldKind::Integer) f.size = 4;
  }
  const std::optional<format::Bytes> bytes = format::SealFile(table, {}, nullptr);
  return bytes && ReplaceFile(dir_fd, entry, *bytes);
}

bool OvertimeStore::OpenStore(std::string_view name, std::string_view password) {
  if (!SodiumReady()) return false;
  const std::optional<ResolvedName> resolved = ResolveName(name);
  if (!resolved || state_->IsCurrent(*resolved)) return false;

  std::optional<DirectoryLock> own;
  const int dir_fd = state_->LockFor(resolved->directory, own);
  if (dir_fd < 0) return false;

  RemoveStaleTemporary(dir_fd, resolved->entry);
  const std::optional<std::string> entry = FindEntry(dir_fd, resolved->entry);
  if (!entry) return false;
  const std::optional<format::Bytes> bytes =
      ReadFile(dir_fd, *entry, format::kHeaderSize + format::kMaxPayload + format::kChecksumSize);
  if (!bytes) return false;
  const std::optional<format::Envelope> envelope = format::ParseEnvelope(*bytes);
  if (!envelope) return false;

  const format::Protection& protection = envelope->protection;
  std::optional<format::Table> table;
  std::shared_ptr<const DerivedKey> key;
  if (!protection.is_protected) {
    if (!password.empty()) return false;
    table = format::OpenUnprotected(*envelope);
  } else {
    if (password.empty()) return false;
    key = state_->keys.Find(protection.salt, protection.cost, password);
    if (key == nullptr) key = DeriveKey(password, protection.salt, protection.cost);
    if (key == nullptr) return false;
    table = format::OpenProtected(*envelope, key->key->data());
  }
  if (!table) return false;
  if (key) state_->keys.Keep(key);

  if (own) {
    // Another directory, or none open: the previous file (if any) closes.
    state_->current.reset();
    state_->current.emplace(OpenFile{std::move(*own), *entry, std::move(*table), protection, key});
  } else {
    // Same directory: the lock carries over to the newly current file.
    OpenFile& f = *state_->current;
    f.entry = *entry;
    f.table = std::move(*table);
    f.protection = protection;
    f.key = std::move(key);
    f.position = 1;
  }
  return true;
}

void OvertimeStore::CloseStore() {
  state_->current.reset();
}

int32_t OvertimeStore::RecordCount() const {
  return state_->current ? static_cast<int32_t>(state_->current->table.records.size()) : 0;
}

void OvertimeStore::GoToFirst() {
  if (state_->current) state_->current->position = 1;
}

void OvertimeStore::GoToLast() {
  if (state_->current) state_->current->position = std::max(RecordCount(), 1);
}

bool OvertimeStore::SkipNext() {
  if (!state_->current) return false;
  const int32_t count = RecordCount();
  if (count == 0 || state_->current->position > count) return false;
  ++state_->current->position;
  return true;
}

FieldValue OvertimeStore::ReadField(int column) const {
  if (!state_->current) throw values::FatalError(0, kNoCurrentFile);
  const OpenFile& f = *state_->current;
  if (column < 1 || static_cast<size_t>(column) > f.table.fields.size()) {
    throw values::FatalError(0, kNoSuchField);
  }
  const size_t index = static_cast<size_t>(column - 1);
  if (f.position > RecordCount()) return EmptyValue(f.table.fields[index]);
  return f.table.records[static_cast<size_t>(f.position - 1)].values[index];
}

FieldValue OvertimeStore::ReadField(std::string_view name) const {
  if (!state_->current) throw values::FatalError(0, kNoCurrentFile);
  const FieldList& fields = state_->current->table.fields;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].name == name) return ReadField(static_cast<int>(i + 1));
  }
  throw values::FatalError(0, kNoSuchField);
}

bool OvertimeStore::AppendRecord(const std::vector<std::optional<FieldValue>>& values) {
  if (!state_->current) return false;
  OpenFile& f = *state_->current;
  format::Record record;
  for (size_t i = 0; i < f.table.fields.size(); ++i) {
    const FieldDef& field = f.table.fields[i];
    if (i >= values.size() || !values[i]) {
      record.values.push_back(EmptyValue(field));
      continue;
    }
    const FieldValue& v = *values[i];
    if (v.kind != field.kind) return false;
    if (field.kind == FieldKind::Text) {
      record.values.push_back(TextValue(v.text.substr(0, static_cast<size_t>(field.size))));
    } else {
      record.values.push_back(IntegerValue(v.integer));
    }
  }
  format::Table table = f.table;
  table.records.push_back(std::move(record));
  if (!state_->Save(std::move(table), f.protection, f.key)) return false;
  f.position = RecordCount();
  return true;
}

bool OvertimeStore::MarkDeleted() {
  if (!state_->current) return false;
  OpenFile& f = *state_->current;
  if (f.position > RecordCount()) return false;
  const size_t index = static_cast<size_t>(f.position - 1);
  if (f.table.records[index].deleted) return true;
  format::Table table = f.table;
  table.records[index].deleted = true;
  return state_->Save(std::move(table), f.protection, f.key);
}

bool OvertimeStore::PurgeDeleted() {
  if (!state_->current) return false;
  OpenFile& f = *state_->current;
  format::Table table;
  table.fields = f.table.fields;
  for (const format::Record& r : f.table.records) {
    if (!r.deleted) table.records.push_back(r);
  }
  if (table.records.size() == f.table.records.size()) return true;
  if (!state_->Save(std::move(table), f.protection, f.key)) return false;
  f.position = std::min(f.position, RecordCount() + 1);
  return true;
}

bool OvertimeStore::SetStorePassword(std::string_view password) {
  if (!state_->current) return false;
  OpenFile& f = *state_->current;
  if (password.empty()) return state_->Save(f.table, {}, nullptr);

  format::Protection protection = f.protection;
  std::shared_ptr<const DerivedKey> key;
  if (protection.is_protected) {
    // The same password again keeps the salt and the key already derived.
    key = state_->keys.Find(protection.salt, protection.cost, password);
  }
  if (key == nullptr) {
    if (!format::CostAllowed(state_->cost)) return false;
    protection.is_protected = true;
    protection.cost = state_->cost;
    randombytes_buf(protection.salt.data(), protection.salt.size());
    key = DeriveKey(password, protection.salt, protection.cost);
    if (key == nullptr) return false;
  }
  if (!state_->Save(f.table, protection, key)) return false;
  state_->keys.Keep(std::move(key));
  return true;
}

}  // namespace records
