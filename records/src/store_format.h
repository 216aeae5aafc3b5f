// The byte layout of a record file.
//
// A file is a fixed header followed by the payload:
//
//   offset size
//        0    8  magic "\x89QVEDB\r\n"
//        8    2  format version (1)
//       10    2  flags: bit 0 set = protected by a password
//       12    4  payload length in bytes
//       16    8  Argon2id opslimit   } zero in an unprotected file
//       24    8  Argon2id memlimit   }
//       32   16  Argon2id salt       }
//       48   24  XChaCha20 nonce     }
//       72   16  BLAKE2b-128 of bytes 0..71, so a damaged header is refused
//                before any key derivation
//
// All integers are little-endian. A protected file's payload is the body
// sealed with XChaCha20-Poly1305 (IETF), the whole header as associated data;
// nothing is stored from which the password could be recovered. An
// unprotected file's payload is the plain body, followed by the BLAKE2b-256
// of header and body.
//
// The body: a field count (1 byte, 1..255); per field its kind (1 byte:
// 0 text, 1 integer), size (1 byte: text 1..255, integer 4), name length
// (1 byte, 1..255) and name; the record count (4 bytes); per record a flags
// byte (bit 0 = marked deleted) and per field either a text (length byte, at
// most the field size, then the bytes) or a 4-byte signed integer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "records/overtime_store.h"

namespace records::format {

using Bytes = std::vector<uint8_t>;

struct Record {
  bool deleted = false;
  std::vector<FieldValue> values;  // one per field, of the field's kind
};

struct Table {
  FieldList fields;
  std::vector<Record> records;
};

inline constexpr size_t kHeaderSize = 88;
inline constexpr size_t kSaltSize = 16;
inline constexpr size_t kNonceSize = 24;
inline constexpr size_t kKeySize = 32;
inline constexpr size_t kTagSize = 16;
inline constexpr size_t kChecksumSize = 32;
// Larger files are refused unread.
inline constexpr size_t kMaxPayload = size_t{16} << 20;

using Salt = std::array<uint8_t, kSaltSize>;

// How a file is protected: no password, or a password-derived key.
struct Protection {
  bool is_protected = false;
  Salt salt{};
  KeyCost cost{0, 0};
};

// True for a cost that files may carry; costs outside are refused on read.
bool CostAllowed(const KeyCost& cost);
// True for a field list the body format can hold: 1..255 fields, names of 1
// to 255 bytes, no name twice, text sizes 1..255.
bool FieldListValid(const FieldList& fields);

Bytes EncodeBody(const Table& table);
// std::nullopt for anything that is not a well-formed body, trailing bytes
// included.
std::optional<Table> DecodeBody(std::span<const uint8_t> body);

// The header fields of a file whose header, size and cost are consistent.
struct Envelope {
  Protection protection;
  std::span<const uint8_t> header;   // the whole header, associated data
  std::span<const uint8_t> payload;  // ciphertext and tag, or plain body
};
std::optional<Envelope> ParseEnvelope(std::span<const uint8_t> file);

// The body of an unprotected file whose checksum matches.
std::optional<Table> OpenUnprotected(const Envelope& envelope);
// The body of a protected file that authenticates with this key.
std::optional<Table> OpenProtected(const Envelope& envelope, const uint8_t* key);

// A complete file; std::nullopt when the body outgrows kMaxPayload. `key` is
// used only when the protection says so; a fresh random nonce is drawn for
// every sealing.
std::optional<Bytes> SealFile(const Table& table, const Protection& protection, const uint8_t* key);

}  // namespace records::format
