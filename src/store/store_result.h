#pragma once

#include <QString>
#include <utility>
#include <variant>

namespace zandor {

// Why a store operation failed, in words for the user ("cannot read
// /home/ann/Maildir/cur/...: Permission denied").
struct StoreFailure {
  QString reason;
};

// A value or the reason there is none. Store operations never throw across
// the seam; they return one of these.
template <class T>
class StoreResult {
 public:
  StoreResult(T value) : state_(std::move(value)) {}  // NOLINT(google-explicit-constructor)
  StoreResult(StoreFailure failure)
      : state_(std::move(failure)) {}  // NOLINT(google-explicit-constructor)

  bool ok() const { return std::holds_alternative<T>(state_); }
  explicit operator bool() const { return ok(); }
  T& value() { return std::get<T>(state_); }
  const T& value() const { return std::get<T>(state_); }
  T* operator->() { return &value(); }
  T& operator*() { return value(); }
  const QString& reason() const { return std::get<StoreFailure>(state_).reason; }

 private:
  std::variant<T, StoreFailure> state_;
};

// For operations that give nothing back but may fail.
struct Done {};
using StoreStatus = StoreResult<Done>;

}  // namespace zandor
