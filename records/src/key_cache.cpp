#include "key_cache.h"

#include <sodium.h>

#include <algorithm>
#include <atomic>
#include <cstring>

namespace records {
namespace {
std::atomic<uint64_t> derivations{0};
}  // namespace

uint64_t KeyDerivationCount() {
  return derivations.load();
}

SecureBytes::SecureBytes(size_t size) : data_(sodium_malloc(size == 0 ? 1 : size)), size_(size) {}

SecureBytes::~SecureBytes() {
  if (data_ != nullptr) sodium_free(data_);  // zeroes before freeing
}

std::shared_ptr<const DerivedKey> DeriveKey(std::string_view password, const format::Salt& salt,
                                            const KeyCost& cost) {
  auto k = std::make_shared<DerivedKey>();
  k->salt = salt;
  k->cost = cost;
  k->password = std::make_unique<SecureBytes>(password.size());
  k->key = std::make_unique<SecureBytes>(format::kKeySize);
  if (!k->password->ok() || !k->key->ok()) return nullptr;
  if (!password.empty()) std::memcpy(k->password->data(), password.data(), password.size());
  derivations.fetch_add(1);
  if (crypto_pwhash(k->key->data(), format::kKeySize, password.data(), password.size(), salt.data(),
                    cost.opslimit, cost.memlimit, crypto_pwhash_ALG_ARGON2ID13) != 0) {
    return nullptr;
  }
  return k;
}

std::shared_ptr<const DerivedKey> KeyCache::Find(const format::Salt& salt, const KeyCost& cost,
                                                 std::string_view password) const {
  for (const auto& k : keys_) {
    if (k->cost.opslimit != cost.opslimit || k->cost.memlimit != cost.memlimit) continue;
    if (sodium_memcmp(k->salt.data(), salt.data(), salt.size()) != 0) continue;
    if (k->password->size() != password.size()) continue;
    if (!password.empty() &&
        sodium_memcmp(k->password->data(), password.data(), password.size()) != 0) {
      continue;
    }
    return k;
  }
  return nullptr;
}

void KeyCache::Keep(std::shared_ptr<const DerivedKey> key) {
  if (key == nullptr) return;
  if (std::find(keys_.begin(), keys_.end(), key) != keys_.end()) return;
  keys_.push_back(std::move(key));
  if (keys_.size() > kCapacity) keys_.pop_front();
}

}  // namespace records
