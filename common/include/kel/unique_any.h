#pragma once
// An owning wrapper for a platform resource: exactly one close per resource,
// on every road out of a scope.
//
// Traits supply: `type`, `static type invalid() noexcept` and
// `static void close(type) noexcept`.

#include <utility>

namespace kel {

template <typename Traits>
class unique_any {
 public:
  using pointer = typename Traits::type;

  unique_any() noexcept = default;
  explicit unique_any(pointer value) noexcept : value_(value) {}
  unique_any(unique_any&& other) noexcept : value_(other.release()) {}
  unique_any& operator=(unique_any&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  unique_any(const unique_any&) = delete;
  unique_any& operator=(const unique_any&) = delete;
  ~unique_any() { reset(); }

  pointer get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != Traits::invalid(); }

  void reset(pointer value = Traits::invalid()) noexcept {
    const pointer old = std::exchange(value_, value);
    if (old != Traits::invalid()) Traits::close(old);
  }
  pointer release() noexcept { return std::exchange(value_, Traits::invalid()); }

  // For out-parameters: closes what is held, then lends the slot.
  pointer* put() noexcept {
    reset();
    return &value_;
  }

 private:
  pointer value_ = Traits::invalid();
};

}  // namespace kel
