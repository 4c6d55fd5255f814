#pragma once

#include <string>
#include <utility>
#include <variant>

namespace ampelsim {

// Why a file or a text was refused: the German message, naming the entry at
// fault where the format has entries. A line-oriented text also keeps the
// line apart; parsing a text gives the reason alone, reading a file puts the
// file name and the line before it.
struct Error {
  std::string Message;
  int Line = 0;  // 1-based; 0 when the text has no lines to point at
};

// What reading or parsing gave: the value, or the error that refused it.
template <class T>
class Result {
 public:
  Result(T value) : state_(std::move(value)) {}
  Result(ampelsim::Error error) : state_(std::move(error)) {}

  bool Ok() const { return std::holds_alternative<T>(state_); }
  explicit operator bool() const { return Ok(); }

  // Only on a result that is Ok().
  T& Value() & { return std::get<T>(state_); }
  const T& Value() const& { return std::get<T>(state_); }
  T&& Value() && { return std::get<T>(std::move(state_)); }
  T* operator->() { return &Value(); }
  const T* operator->() const { return &Value(); }
  T& operator*() & { return Value(); }
  const T& operator*() const& { return Value(); }

  // Only on a result that is not Ok().
  const ampelsim::Error& Failure() const { return std::get<ampelsim::Error>(state_); }
  ampelsim::Error& Failure() { return std::get<ampelsim::Error>(state_); }

 private:
  std::variant<T, ampelsim::Error> state_;
};

}  // namespace ampelsim
