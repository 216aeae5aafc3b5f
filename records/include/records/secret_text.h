// A secret text (a password) kept in locked memory that is wiped when the
// text is dropped or replaced.
#pragma once

#include <cstddef>
#include <string_view>

namespace records {

class SecretText {
 public:
  SecretText() = default;
  explicit SecretText(std::string_view bytes);
  ~SecretText() { Wipe(); }
  SecretText(SecretText&& other) noexcept;
  SecretText& operator=(SecretText&& other) noexcept;
  SecretText(const SecretText&) = delete;
  SecretText& operator=(const SecretText&) = delete;

  std::string_view view() const {
    return data_ ? std::string_view(static_cast<const char*>(data_), size_) : std::string_view();
  }
  // Zeroes and frees the memory; the text is empty afterwards.
  void Wipe();

 private:
  void* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace records
