#include "store_format.h"

#include <sodium.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string_view>

namespace records::format {
namespace {

constexpr std::array<uint8_t, 8> kMagic = {0x89, 'Q', 'V', 'E', 'D', 'B', '\r', '\n'};
constexpr uint16_t kVersion = 1;
constexpr uint16_t kFlagProtected = 1;
constexpr size_t kHeaderChecksumOffset = 72;
constexpr size_t kHeaderChecksumSize = 16;

// The widest cost a file may ask for; a header asking for more is refused so
// that a damaged or hostile file cannot make an opening run for minutes.
constexpr uint64_t kMaxOpslimit = 32;
constexpr uint64_t kMaxMemlimit = uint64_t{2} << 30;

constexpr uint8_t kKindText = 0;
constexpr uint8_t kKindInteger = 1;
constexpr uint8_t kRecordDeleted = 1;

void PutU16(Bytes& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutU32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutU64(Bytes& out, uint64_t v) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
uint64_t GetLe(std::span<const uint8_t> s, size_t offset, size_t size) {
  uint64_t v = 0;
  for (size_t i = 0; i < size; ++i) v |= uint64_t{s[offset + i]} << (8 * i);
  return v;
}

// Reads a body front to back; every read checks the bytes left first.
class Reader {
 public:
  explicit Reader(std::span<const uint8_t> data) : data_(data) {}
  bool U8(uint8_t& v) {
    if (Left() < 1) return false;
    v = data_[pos_++];
    return true;
  }
  bool U32(uint32_t& v) {
    if (Left() < 4) return false;
    v = static_cast<uint32_t>(GetLe(data_, pos_, 4));
    pos_ += 4;
    return true;
  }
  bool Str(size_t n, Text& v) {
    if (Left() < n) return false;
    v.assign(reinterpret_cast<const char*>(data_.data() + pos_), n);
    pos_ += n;
    return true;
  }
  size_t Left() const { return data_.size() - pos_; }

 private:
  std::span<const uint8_t> data_;
  size_t pos_ = 0;
};

Bytes EncodeHeader(const Protection& p, uint32_t payload_size,
                   const std::array<uint8_t, kNonceSize>& nonce) {
  Bytes h;
  h.reserve(kHeaderSize);
  h.insert(h.end(), kMagic.begin(), kMagic.end());
  PutU16(h, kVersion);
  PutU16(h, p.is_protected ? kFlagProtected : 0);
  PutU32(h, payload_size);
  PutU64(h, p.is_protected ? p.cost.opslimit : 0);
  PutU64(h, p.is_protected ? p.cost.memlimit : 0);
  if (p.is_protected) {
    h.insert(h.end(), p.salt.begin(), p.salt.end());
    h.insert(h.end(), nonce.begin(), nonce.end());
  } else {
    h.resize(h.size() + kSaltSize + kNonceSize, 0);
  }
  std::array<uint8_t, kHeaderChecksumSize> sum;
  crypto_generichash(sum.data(), sum.size(), h.data(), h.size(), nullptr, 0);
  h.insert(h.end(), sum.begin(), sum.end());
  return h;
}

bool AllZero(std::span<const uint8_t> s) {
  return std::all_of(s.begin(), s.end(), [](uint8_t b) { return b == 0; });
}

}  // namespace

bool CostAllowed(const KeyCost& cost) {
  return cost.opslimit >= crypto_pwhash_argon2id_OPSLIMIT_MIN && cost.opslimit <= kMaxOpslimit &&
         cost.memlimit >= crypto_pwhash_argon2id_MEMLIMIT_MIN && cost.memlimit <= kMaxMemlimit;
}

bool FieldListValid(const FieldList& fields) {
  if (fields.empty() || fields.size() > 255) return false;
  std::set<std::string_view> names;
  for (const FieldDef& f : fields) {
    if (f.name.empty() || f.name.size() > 255) return false;
    if (!names.insert(f.name).second) return false;
    if (f.kind == FieldKind::Text && (f.size < 1 || f.size > 255)) return false;
  }
  return true;
}

Bytes EncodeBody(const Table& table) {
  Bytes out;
  out.push_back(static_cast<uint8_t>(table.fields.size()));
  for (const FieldDef& f : table.fields) {
    const bool text = f.kind == FieldKind::Text;
    out.push_back(text ? kKindText : kKindInteger);
    out.push_back(static_cast<uint8_t>(text ? f.size : 4));
    out.push_back(static_cast<uint8_t>(f.name.size()));
    out.insert(out.end(), f.name.begin(), f.name.end());
  }
  PutU32(out, static_cast<uint32_t>(table.records.size()));
  for (const Record& r : table.records) {
    out.push_back(r.deleted ? kRecordDeleted : 0);
    for (size_t i = 0; i < table.fields.size(); ++i) {
      const FieldValue& v = r.values[i];
      if (table.fields[i].kind == FieldKind::Text) {
        out.push_back(static_cast<uint8_t>(v.text.size()));
        out.insert(out.end(), v.text.begin(), v.text.end());
      } else {
        PutU32(out, static_cast<uint32_t>(v.integer));
      }
    }
  }
  return out;
}

std::optional<Table> DecodeBody(std::span<const uint8_t> body) {
  Reader in(body);
  Table table;
  uint8_t count = 0;
  if (!in.U8(count) || count == 0) return std::nullopt;
  size_t min_record = 1;
  for (int i = 0; i < count; ++i) {
    uint8_t kind = 0, size = 0, name_size = 0;
    FieldDef f;
    if (!in.U8(kind) || !in.U8(size) || !in.U8(name_size) || name_size == 0) return std::nullopt;
    if (!in.Str(name_size, f.name)) return std::nullopt;
    if (kind == kKindText) {
      if (size == 0) return std::nullopt;
      f.kind = FieldKind::Text;
      min_record += 1;
    } else if (kind == kKindInteger) {
      if (size != 4) return std::nullopt;
      f.kind = FieldKind::Integer;
      min_record += 4;
    } else {
      return std::nullopt;
    }
    f.size = size;
    table.fields.push_back(std::move(f));
  }
  if (!FieldListValid(table.fields)) return std::nullopt;
  uint32_t records = 0;
  if (!in.U32(records) || records > in.Left() / min_record) return std::nullopt;
  table.records.reserve(records);
  for (uint32_t r = 0; r < records; ++r) {
    Record rec;
    uint8_t flags = 0;
    if (!in.U8(flags) || (flags & ~kRecordDeleted) != 0) return std::nullopt;
    rec.deleted = (flags & kRecordDeleted) != 0;
    rec.values.reserve(table.fields.size());
    for (const FieldDef& f : table.fields) {
      if (f.kind == FieldKind::Text) {
        uint8_t n = 0;
        Text t;
        if (!in.U8(n) || n > f.size || !in.Str(n, t)) return std::nullopt;
        rec.values.push_back(TextValue(std::move(t)));
      } else {
        uint32_t v = 0;
        if (!in.U32(v)) return std::nullopt;
        rec.values.push_back(IntegerValue(static_cast<int32_t>(v)));
      }
    }
    table.records.push_back(std::move(rec));
  }
  if (in.Left() != 0) return std::nullopt;
  return table;
}

std::optional<Envelope> ParseEnvelope(std::span<const uint8_t> file) {
  if (file.size() < kHeaderSize) return std::nullopt;
  std::span<const uint8_t> header = file.first(kHeaderSize);
  if (!std::equal(kMagic.begin(), kMagic.end(), header.begin())) return std::nullopt;
  std::array<uint8_t, kHeaderChecksumSize> sum;
  crypto_generichash(sum.data(), sum.size(), header.data(), kHeaderChecksumOffset, nullptr, 0);
  if (sodium_memcmp(sum.data(), header.data() + kHeaderChecksumOffset, sum.size()) != 0) {
    return std::nullopt;
  }
  if (GetLe(header, 8, 2) != kVersion) return std::nullopt;
  const uint64_t flags = GetLe(header, 10, 2);
  if ((flags & ~uint64_t{kFlagProtected}) != 0) return std::nullopt;
  const uint64_t payload_size = GetLe(header, 12, 4);
  if (payload_size > kMaxPayload) return std::nullopt;

  Envelope e;
  e.header = header;
  e.protection.is_protected = (flags & kFlagProtected) != 0;
  const size_t trailer = e.protection.is_protected ? 0 : kChecksumSize;
  if (file.size() != kHeaderSize + payload_size + trailer) return std::nullopt;
  e.payload = file.subspan(kHeaderSize, payload_size);
  if (e.protection.is_protected) {
    e.protection.cost.opslimit = GetLe(header, 16, 8);
    const uint64_t memlimit = GetLe(header, 24, 8);
    if (memlimit > kMaxMemlimit) return std::nullopt;
    e.protection.cost.memlimit = static_cast<size_t>(memlimit);
    if (!CostAllowed(e.protection.cost)) return std::nullopt;
    std::copy_n(header.begin() + 32, kSaltSize, e.protection.salt.begin());
    if (payload_size < kTagSize) return std::nullopt;
  } else if (!AllZero(header.subspan(16, kHeaderChecksumOffset - 16))) {
    return std::nullopt;
  }
  return e;
}

std::optional<Table> OpenUnprotected(const Envelope& e) {
  if (e.protection.is_protected) return std::nullopt;
  // The checksum follows the payload directly; ParseEnvelope checked its room.
  const uint8_t* stored = e.payload.data() + e.payload.size();
  std::array<uint8_t, kChecksumSize> sum;
  crypto_generichash_state st;
  crypto_generichash_init(&st, nullptr, 0, sum.size());
  crypto_generichash_update(&st, e.header.data(), e.header.size());
  crypto_generichash_update(&st, e.payload.data(), e.payload.size());
  crypto_generichash_final(&st, sum.data(), sum.size());
  if (sodium_memcmp(sum.data(), stored, sum.size()) != 0) return std::nullopt;
  return DecodeBody(e.payload);
}

std::optional<Table> OpenProtected(const Envelope& e, const uint8_t* key) {
  if (!e.protection.is_protected || e.payload.size() < kTagSize) return std::nullopt;
  Bytes body(e.payload.size() - kTagSize);
  unsigned long long body_size = 0;
  const uint8_t* nonce = e.header.data() + 48;
  if (crypto_aead_xchacha20poly1305_ietf_decrypt(body.data(), &body_size, nullptr, e.payload.data(),
                                                 e.payload.size(), e.header.data(), e.header.size(),
                                                 nonce, key) != 0 ||
      body_size != body.size()) {
    return std::nullopt;
  }
  std::optional<Table> table = DecodeBody(body);
  sodium_memzero(body.data(), body.size());
  return table;
}

std::optional<Bytes> SealFile(const Table& table, const Protection& protection,
                              const uint8_t* key) {
  Bytes body = EncodeBody(table);
  if (body.size() + kTagSize > kMaxPayload) return std::nullopt;
  std::array<uint8_t, kNonceSize> nonce{};
  Bytes file;
  if (protection.is_protected) {
    randombytes_buf(nonce.data(), nonce.size());
    file = EncodeHeader(protection, static_cast<uint32_t>(body.size() + kTagSize), nonce);
    file.resize(kHeaderSize + body.size() + kTagSize);
    unsigned long long sealed = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(file.data() + kHeaderSize, &sealed, body.data(),
                                               body.size(), file.data(), kHeaderSize, nullptr,
                                               nonce.data(), key);
  } else {
    file = EncodeHeader(protection, static_cast<uint32_t>(body.size()), nonce);
    file.insert(file.end(), body.begin(), body.end());
    std::array<uint8_t, kChecksumSize> sum;
    crypto_generichash(sum.data(), sum.size(), file.data(), file.size(), nullptr, 0);
    file.insert(file.end(), sum.begin(), sum.end());
  }
  sodium_memzero(body.data(), body.size());
  return file;
}

}  // namespace records::format
