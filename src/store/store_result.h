#pragma once

#include <QDateTime>
#include <QString>
#include <optional>
#include <utility>
#include <variant>

namespace zandor {

// What a failure of the store means for the synchronisation: the engine
// decides by the kind, the user reads the reason.
enum class FailureKind {
  Message,  // this message cannot be read: it is skipped, the rest goes on
  Folder,   // this folder cannot be listed or entered: it is named and left out
  Store,    // the store cannot be used (its marks cannot be read or kept, the
            // disk is full): nothing more is sent from it in this run
  Gone,     // the store went away (the mail folder vanished, the server hung up)
  Refused,  // the server refused the user name or password: nothing can be read
};

// A server whose certificate is not trusted: what the user needs to decide
// whether to trust it on purpose.
struct UntrustedCertificate {
  QString host;
  QString why;          // "its issuer is not known here; ...", in words
  QString fingerprint;  // SHA-256, "AB:CD:..."; empty when the server sent none
  QString subject;      // "CN=mail.example.org,O=Example"
  QString issuer;
  QDateTime validFrom, validUntil;
  // The fingerprint trusted before, when the server now shows another.
  QString pinned;
};

// Why a store operation failed, in words for the user ("cannot read
// /home/ann/Maildir/cur/...: Permission denied"), and what kind of failure.
struct StoreFailure {
  FailureKind kind = FailureKind::Store;
  QString reason;
  // Set when the failure is a server's certificate that is not trusted.
  std::optional<UntrustedCertificate> certificate = std::nullopt;
};

// A value or the failure that stands in its place. Store operations never
// throw across the seam; they return one of these.
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
  const StoreFailure& failure() const { return std::get<StoreFailure>(state_); }
  const QString& reason() const { return failure().reason; }
  FailureKind kind() const { return failure().kind; }

 private:
  std::variant<T, StoreFailure> state_;
};

// For operations that give nothing back but may fail.
struct Done {};
using StoreStatus = StoreResult<Done>;

}  // namespace zandor
