// The record file reader on any bytes: no read outside the buffer, and every
// file or body it accepts is exactly what the writer makes of its contents.
//
// Each input is read three ways: as a whole file; as a bare body; and as a
// whole file after its checksums (or its authentication, under a fixed key)
// have been made right, so that the body behind them is reached too.
#include <sodium.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "check.h"
#include "store_format.h"

namespace {

namespace format = records::format;
using format::Bytes;

constexpr std::array<uint8_t, format::kKeySize> kKey = {1, 2, 3, 4, 5, 6, 7, 8};

// Header offsets of the fields that the repair rewrites.
constexpr size_t kFlagsOffset = 10;
constexpr size_t kPayloadSizeOffset = 12;
constexpr size_t kNonceOffset = 48;
constexpr size_t kHeaderChecksumOffset = 72;
constexpr size_t kHeaderChecksumSize = 16;

void ReadFile(std::span<const uint8_t> file) {
  const std::optional<format::Envelope> envelope = format::ParseEnvelope(file);
  if (!envelope) return;
  FUZZ_CHECK(envelope->header.size() == format::kHeaderSize);
  if (envelope->protection.is_protected) {
    FUZZ_CHECK(format::CostAllowed(envelope->protection.cost));
    const std::optional<format::Table> table = format::OpenProtected(*envelope, kKey.data());
    if (table) FUZZ_CHECK(format::FieldListValid(table->fields));
    return;
  }
  const std::optional<format::Table> table = format::OpenUnprotected(*envelope);
  if (!table) return;
  // An accepted unprotected file is the one the writer makes of its table.
  const std::optional<Bytes> again = format::SealFile(*table, format::Protection{}, nullptr);
  FUZZ_CHECK(again && std::equal(again->begin(), again->end(), file.begin(), file.end()));
}

void ReadBody(std::span<const uint8_t> body) {
  const std::optional<format::Table> table = format::DecodeBody(body);
  if (!table) return;
  FUZZ_CHECK(format::FieldListValid(table->fields));
  for (const format::Record& r : table->records) {
    FUZZ_CHECK(r.values.size() == table->fields.size());
  }
  const Bytes again = format::EncodeBody(*table);
  FUZZ_CHECK(std::equal(again.begin(), again.end(), body.begin(), body.end()));
}

// The input with the payload size, the header checksum and the trailing
// checksum (unprotected) or the authentication tag (protected, the payload's
// bytes before the tag taken as the body) made to fit.
Bytes Repaired(std::span<const uint8_t> input) {
  Bytes file(input.begin(), input.end());
  const bool is_protected = (file[kFlagsOffset] & 1) != 0;
  const size_t trailer = is_protected ? format::kTagSize : format::kChecksumSize;
  if (file.size() < format::kHeaderSize + trailer) return {};
  const size_t payload = file.size() - format::kHeaderSize - (is_protected ? 0 : trailer);
  for (size_t i = 0; i < 4; ++i) {
    file[kPayloadSizeOffset + i] = static_cast<uint8_t>(payload >> (8 * i));
  }
  crypto_generichash(file.data() + kHeaderChecksumOffset, kHeaderChecksumSize, file.data(),
                     kHeaderChecksumOffset, nullptr, 0);
  uint8_t* body = file.data() + format::kHeaderSize;
  if (is_protected) {
    unsigned long long sealed = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(body, &sealed, body, payload - format::kTagSize,
                                               file.data(), format::kHeaderSize, nullptr,
                                               file.data() + kNonceOffset, kKey.data());
  } else {
    crypto_generichash(body + payload, format::kChecksumSize, file.data(),
                       format::kHeaderSize + payload, nullptr, 0);
  }
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  return sodium_init() < 0 ? 1 : 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  ReadFile(input);
  ReadBody(input);
  const Bytes repaired = size > kFlagsOffset ? Repaired(input) : Bytes();
  if (!repaired.empty()) ReadFile(repaired);
  return 0;
}
