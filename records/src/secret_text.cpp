#include "records/secret_text.h"

#include <sodium.h>

#include <cstring>
#include <new>
#include <utility>

namespace records {

SecretText::SecretText(std::string_view bytes) {
  if (sodium_init() < 0) throw std::bad_alloc();
  // sodium_malloc guards the pages and locks them out of swap; sodium_free
  // zeroes them.
  data_ = sodium_malloc(bytes.size() + 1);
  if (!data_) throw std::bad_alloc();
  std::memcpy(data_, bytes.data(), bytes.size());
  size_ = bytes.size();
}

SecretText::SecretText(SecretText&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

SecretText& SecretText::operator=(SecretText&& other) noexcept {
  if (this != &other) {
    Wipe();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

void SecretText::Wipe() {
  if (data_) sodium_free(data_);
  data_ = nullptr;
  size_ = 0;
}

}  // namespace records
