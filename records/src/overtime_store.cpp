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
  format::Bytes bytes;                    // the file as it is on disk
  bool unsavedMarks = false;              // marks not yet written
  int32_t position = 1;
};

// The last file closed, decoded: an opening that finds the very same bytes on
// disk, and a password that opens them, takes its table without decrypting
// and decoding the file again.
struct KeptFile {
  std::string directory;
  std::string entry;
  format::Bytes bytes;
  format::Table table;
  format::Protection protection;
  std::shared_ptr<const DerivedKey> key;
};

struct OvertimeStore::State {
  KeyCost cost;
  KeyCache keys;
  std::optional<OpenFile> current;

  std::optional<KeptFile> kept;

  // Writes the current file's table with `protection` over the file; the
  // protection changes only when the new file is in place.
  bool Save(const format::Protection& protection, std::shared_ptr<const DerivedKey> key) {
    OpenFile& f = *current;
    std::optional<format::Bytes> bytes =
        format::SealFile(f.table, protection, key ? key->key->data() : nullptr);
    if (!bytes || !ReplaceFile(f.lock.fd(), f.entry, *bytes)) return false;
    f.protection = protection;
    f.key = std::move(key);
    f.bytes = std::move(*bytes);
    f.unsavedMarks = false;
    return true;
  }

  // Closes the current file, writing marks that no purge has written, and
  // keeps its decoded table for the next opening.
  void Close() {
    if (!current) return;
    OpenFile& f = *current;
    if (f.unsavedMarks && !Save(f.protection, f.key)) {
      kept.reset();  // the file on disk differs from the table
    } else {
      kept = KeptFile{f.lock.directory(), f.entry,      std::move(f.bytes),
                      std::move(f.table), f.protection, f.key};
    }
    current.reset();
  }

  // The kept file, when its table was decoded from exactly these bytes of
  // this file and the password opens them.
  std::optional<KeptFile> TakeKept(const std::string& directory, const std::string& entry,
                                   const format::Bytes& bytes, std::string_view password) {
    if (!kept || kept->directory != directory || kept->entry != entry || kept->bytes != bytes) {
      return std::nullopt;
    }
    if (kept->protection.is_protected) {
      // Only the password whose key decrypted these bytes finds that key.
      if (password.empty() ||
          keys.Find(kept->protection.salt, kept->protection.cost, password) != kept->key) {
        return std::nullopt;
      }
    } else if (!password.empty()) {
      return std::nullopt;
    }
    std::optional<KeptFile> file = std::move(kept);
    kept.reset();
    return file;
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

  // A named file made ready to be created or opened: its name resolved, its
  // directory locked, and what a crashed write left behind removed.
  // std::nullopt when that is refused, and for the current file.
  struct Target {
    ResolvedName name;
    std::optional<DirectoryLock> own;  // a lock newly acquired for it
    int dir_fd = -1;
  };
  std::optional<Target> Prepare(std::string_view name) {
    if (!SodiumReady()) return std::nullopt;
    std::optional<ResolvedName> resolved = ResolveName(name);
    if (!resolved || IsCurrent(*resolved)) return std::nullopt;
    Target target{std::move(*resolved), std::nullopt, -1};
    target.dir_fd = LockFor(target.name.directory, target.own);
    if (target.dir_fd < 0) return std::nullopt;
    RemoveStaleTemporary(target.dir_fd, target.name.entry);
    return target;
  }
};

OvertimeStore::OvertimeStore(KeyCost cost) : state_(std::make_unique<State>()) {
  state_->cost = cost;
}

OvertimeStore::~OvertimeStore() {
  CloseStore();
}

bool OvertimeStore::CreateStore(std::string_view name, const FieldList& fields) {
  if (!format::FieldListValid(fields)) return false;
  const std::optional<State::Target> target = state_->Prepare(name);
  if (!target) return false;
  const int dir_fd = target->dir_fd;
  const std::string entry = FindEntry(dir_fd, target->name.entry).value_or(target->name.entry);
  format::Table table;
  table.fields = fields;
  for (FieldDef& f : table.fields) {
    if (f.kind == FieldKind::Integer) f.size = 4;
  }
  const std::optional<format::Bytes> bytes = format::SealFile(table, {}, nullptr);
  return bytes && ReplaceFile(dir_fd, entry, *bytes);
}

bool OvertimeStore::OpenStore(std::string_view name, std::string_view password) {
  std::optional<State::Target> target = state_->Prepare(name);
  if (!target) return false;
  const int dir_fd = target->dir_fd;
  std::optional<DirectoryLock>& own = target->own;
  const std::optional<std::string> entry = FindEntry(dir_fd, target->name.entry);
  if (!entry) return false;
  std::optional<format::Bytes> bytes =
      ReadFile(dir_fd, *entry, format::kHeaderSize + format::kMaxPayload + format::kChecksumSize);
  if (!bytes) return false;

  std::optional<format::Table> table;
  format::Protection protection;
  std::shared_ptr<const DerivedKey> key;
  if (std::optional<KeptFile> file =
          state_->TakeKept(target->name.directory, *entry, *bytes, password)) {
    table = std::move(file->table);
    protection = file->protection;
    key = std::move(file->key);
  } else {
    const std::optional<format::Envelope> envelope = format::ParseEnvelope(*bytes);
    if (!envelope) return false;
    protection = envelope->protection;
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
  }

  if (own) {
    // Another directory, or none open: the previous file (if any) closes.
    state_->Close();
    state_->current.emplace(
        OpenFile{std::move(*own), *entry, std::move(*table), protection, key, std::move(*bytes)});
  } else {
    // Same directory: the lock carries over to the newly current file.
    OpenFile& f = *state_->current;
    if (f.unsavedMarks) state_->Save(f.protection, f.key);
    f.entry = *entry;
    f.table = std::move(*table);
    f.protection = protection;
    f.key = std::move(key);
    f.bytes = std::move(*bytes);
    f.unsavedMarks = false;
    f.position = 1;
  }
  return true;
}

void OvertimeStore::CloseStore() {
  state_->Close();
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
  f.table.records.push_back(std::move(record));
  if (!state_->Save(f.protection, f.key)) {
    f.table.records.pop_back();
    return false;
  }
  f.position = RecordCount();
  return true;
}

bool OvertimeStore::MarkDeleted() {
  if (!state_->current) return false;
  OpenFile& f = *state_->current;
  if (f.position > RecordCount()) return false;
  const size_t index = static_cast<size_t>(f.position - 1);
  // A mark is written with the purge that follows it, or when the file closes.
  if (!f.table.records[index].deleted) {
    f.table.records[index].deleted = true;
    f.unsavedMarks = true;
  }
  return true;
}

bool OvertimeStore::PurgeDeleted() {
  if (!state_->current) return false;
  OpenFile& f = *state_->current;
  std::vector<format::Record>& records = f.table.records;
  // The marked records leave the table; they come back where they were if the
  // file cannot be written.
  std::vector<std::pair<size_t, format::Record>> removed;
  size_t kept = 0;
  for (size_t i = 0; i < records.size(); ++i) {
    if (records[i].deleted) {
      removed.emplace_back(i, std::move(records[i]));
    } else if (kept++ != i) {
      records[kept - 1] = std::move(records[i]);
    }
  }
  if (removed.empty()) return true;
  records.resize(kept);
  if (!state_->Save(f.protection, f.key)) {
    for (auto& [index, record] : removed) {
      records.insert(records.begin() + static_cast<std::ptrdiff_t>(index), std::move(record));
    }
    return false;
  }
  f.position = std::min(f.position, RecordCount() + 1);
  return true;
}

bool OvertimeStore::SetStorePassword(std::string_view password) {
  if (!state_->current) return false;
  OpenFile& f = *state_->current;
  if (password.empty()) return state_->Save({}, nullptr);

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
  if (!state_->Save(protection, key)) return false;
  state_->keys.Keep(std::move(key));
  return true;
}

}  // namespace records
