#pragma once

#include <functional>

#include "link/serial_line.h"

namespace zandor {

// A line that passes everything through to another one and tells a watcher
// what went by: the bytes written, and each read that brought bytes. The
// window shows progress and a silent Kelvo from it.
class WatchedLine final : public SerialLine {
 public:
  struct Watcher {
    std::function<void(qsizetype bytes)> written;
    std::function<void(qsizetype bytes)> read;
  };

  explicit WatchedLine(SerialLine& inner) : inner_(inner) {}
  void SetWatcher(Watcher watcher) { watcher_ = std::move(watcher); }

  std::optional<OpenFailure> Open(const QString& path, const LineSettings& settings) override {
    return inner_.Open(path, settings);
  }
  void Close() override { inner_.Close(); }
  bool IsOpen() const override { return inner_.IsOpen(); }
  void Write(const QByteArray& bytes) override {
    inner_.Write(bytes);
    if (watcher_.written) watcher_.written(bytes.size());
  }
  QByteArray ReadAll() override {
    QByteArray bytes = inner_.ReadAll();
    if (!bytes.isEmpty() && watcher_.read) watcher_.read(bytes.size());
    return bytes;
  }
  void DiscardInput() override { inner_.DiscardInput(); }
  void DiscardOutput() override { inner_.DiscardOutput(); }
  void DrainOutput(int maxMilliseconds) override { inner_.DrainOutput(maxMilliseconds); }
  void SetEventHandler(EventHandler handler) override {
    inner_.SetEventHandler(std::move(handler));
  }

 private:
  SerialLine& inner_;
  Watcher watcher_;
};

}  // namespace zandor
