// Keys derived from passwords, kept for the rest of the run in locked,
// guarded memory (sodium_malloc) together with the password bytes they came
// from, so that an opening with a password already seen never derives again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>

#include "store_format.h"

namespace records {

// A buffer in sodium_malloc memory, zeroed when freed.
class SecureBytes {
 public:
  explicit SecureBytes(size_t size);
  ~SecureBytes();
  SecureBytes(const SecureBytes&) = delete;
  SecureBytes& operator=(const SecureBytes&) = delete;

  bool ok() const { return data_ != nullptr; }
  uint8_t* data() { return static_cast<uint8_t*>(data_); }
  const uint8_t* data() const { return static_cast<const uint8_t*>(data_); }
  size_t size() const { return size_; }

 private:
  void* data_;
  size_t size_;
};

struct DerivedKey {
  format::Salt salt{};
  KeyCost cost{0, 0};
  std::unique_ptr<SecureBytes> password;
  std::unique_ptr<SecureBytes> key;
};

// Argon2id of the password with this salt and cost; nullptr when the memory
// cannot be had.
std::shared_ptr<const DerivedKey> DeriveKey(std::string_view password, const format::Salt& salt,
                                            const KeyCost& cost);

// Derivations made so far in this process; lets tests show that openings
// with a known password reuse the cached key.
uint64_t KeyDerivationCount();

class KeyCache {
 public:
  // The cached key for exactly this salt, cost and password; nullptr if none.
  std::shared_ptr<const DerivedKey> Find(const format::Salt& salt, const KeyCost& cost,
                                         std::string_view password) const;
  // Keeps a key that has proved right (or was just set as the file's key).
  void Keep(std::shared_ptr<const DerivedKey> key);

 private:
  static constexpr size_t kCapacity = 8;
  std::deque<std::shared_ptr<const DerivedKey>> keys_;
};

}  // namespace records
