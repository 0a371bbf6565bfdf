#pragma once
// A value, or the Japanese message that says why there is none. Every layer
// returns this shape, so the command line and the windows show the same words.
#include <optional>
#include <string>
#include <utility>

namespace tenmirel {

template <typename T>
class Checked {
 public:
  static Checked success(T value) { return Checked(std::move(value), {}); }
  static Checked failure(std::string message) { return Checked(std::nullopt, std::move(message)); }

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  const T& value() const { return *value_; }
  const T& operator*() const { return *value_; }
  const T* operator->() const { return &*value_; }
  // Empty when ok().
  const std::string& message() const { return message_; }

 private:
  Checked(std::optional<T> value, std::string message) : value_(std::move(value)), message_(std::move(message)) {}
  std::optional<T> value_;
  std::string message_;
};

// A change that was either made or refused with a message.
using Refusal = std::optional<std::string>;

}  // namespace tenmirel
