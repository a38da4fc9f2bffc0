#pragma once

#include <QString>
#include <functional>

#include "link/serial_line.h"

namespace zandor {

// A line that passes everything through to another one and tells a watcher
// what went by: the bytes written, each read that brought bytes, and what
// the line did besides (opened, closed, an event), in words for a
// transcript. The window shows progress and a silent Kelvo from it; the
// program writes its transcript and times a silent Kelvo from it.
//
// Only a wait reads the line, so a read that finds nothing means the Kelvo
// was asked and owes bytes; it owes none once bytes come, the PC writes or
// the line closes. Between those the PC works (on the store, on a question to
// the user), and the Kelvo's silence is no silence.
class WatchedLine final : public SerialLine {
 public:
  struct Watcher {
    std::function<void(const QByteArray& bytes)> written;
    std::function<void(const QByteArray& bytes)> read;
    std::function<void(const QString& note)> noted;
    std::function<void(bool owes)> owes;  // when the Kelvo comes to owe bytes, or no longer
  };

  explicit WatchedLine(SerialLine& inner) : inner_(inner) {}
  void SetWatcher(Watcher watcher) { watcher_ = std::move(watcher); }

  std::optional<OpenFailure> Open(const QString& path, const LineSettings& settings) override;
  void Close() override;
  bool IsOpen() const override { return inner_.IsOpen(); }
  void Write(const QByteArray& bytes) override;
  QByteArray ReadAll() override;
  void DiscardInput() override { inner_.DiscardInput(); }
  void DiscardOutput() override { inner_.DiscardOutput(); }
  void DrainOutput(int maxMilliseconds) override { inner_.DrainOutput(maxMilliseconds); }
  void SetEventHandler(EventHandler handler) override;

 private:
  void Note(const QString& note) {
    if (watcher_.noted) watcher_.noted(note);
  }
  void SetOwes(bool owes);

  SerialLine& inner_;
  Watcher watcher_;
  bool owes_ = false;
};

}  // namespace zandor
