// The overtime record store: one single-table record file with typed fields,
// one current file with a current position, append, delete-marking, purging
// and a file password.
//
// A protected file keeps its records encrypted and authenticated with a key
// derived from the password (Argon2id, XChaCha20-Poly1305); an unprotected
// file carries a checksum. Every change replaces the file atomically and
// durably, and an open file holds an exclusive lock on its directory until it
// is closed, so two running programs never lose each other's entries.
//
// Names, passwords and texts are GBK bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "values/text.h"

namespace records {

using values::Text;

enum class FieldKind { Text, Integer };

// One field of a record file. `size` is the byte size of a text field
// (1 to 255); an integer field is a 32-bit signed integer and ignores it.
struct FieldDef {
  Text name;
  FieldKind kind = FieldKind::Integer;
  int32_t size = 4;
};
using FieldList = std::vector<FieldDef>;

// The record file's schema: 日期 (text, 8 bytes), then G1, G2, G3, 事假旷工
// and 病假 (integers).
FieldList OvertimeSchema();

// A typed value: the kind, and the text or the integer that goes with it.
struct FieldValue {
  FieldKind kind = FieldKind::Integer;
  Text text;
  int32_t integer = 0;

  bool operator==(const FieldValue&) const = default;
};
FieldValue TextValue(Text text);
FieldValue IntegerValue(int32_t value);

// Argon2id cost of deriving a file key from a password. New passwords are
// set with the store's cost; an existing file is always opened with the cost
// stored in it.
struct KeyCost {
  uint64_t opslimit;
  size_t memlimit;  // bytes
};
// 256 MiB, 3 passes: about 0.6 s on the target machines.
inline constexpr KeyCost kDefaultKeyCost{3, size_t{256} << 20};

class OvertimeStore {
 public:
  explicit OvertimeStore(KeyCost cost = kDefaultKeyCost);
  ~OvertimeStore();  // closes the current file and wipes every cached key
  OvertimeStore(const OvertimeStore&) = delete;
  OvertimeStore& operator=(const OvertimeStore&) = delete;

  // Creates (or replaces) the named file with these fields, no records,
  // unprotected. Refused for an invalid field list and for the file that is
  // current in this store.
  bool CreateStore(std::string_view name, const FieldList& fields);

  // Opens the named file; it becomes the current file at position 1. A
  // protected file opens only with its password (letter case counting), an
  // unprotected one only with the empty password. Refused, changing nothing,
  // for an empty name, the file that is current already, a missing, damaged
  // or foreign file and a wrong password. Opening another file closes the
  // previously current one. Waits while another program has the file open.
  bool OpenStore(std::string_view name, std::string_view password = {});
  void CloseStore();

  // Records of the current file, marked ones included; 0 with none current.
  int32_t RecordCount() const;
  void GoToFirst();
  void GoToLast();
  bool SkipNext();

  // The field of the record at the current position; the field's empty value
  // (empty text, 0) where the position holds no record. Throws
  // values::FatalError with no current file or a field not in the schema.
  FieldValue ReadField(int column) const;  // 1-based
  FieldValue ReadField(std::string_view name) const;

  // Adds a record after the last one and moves to it. Values fill the columns
  // in order; an omitted value (std::nullopt, or a short list) leaves 0 or the
  // empty text; values beyond the last column are ignored; a text longer than
  // its field is cut to the field size. A value of the wrong kind for its
  // column refuses the whole append.
  bool AppendRecord(const std::vector<std::optional<FieldValue>>& values);
  bool MarkDeleted();
  bool PurgeDeleted();
  // A non-empty password protects the file; the empty one removes protection.
  bool SetStorePassword(std::string_view password);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace records
