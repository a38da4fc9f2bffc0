#pragma once

#include <QFile>
#include <QString>
#include <functional>
#include <memory>

#include "link/serial_line.h"

namespace zandor {

// A serial line that passes everything through to another one and, on the
// way, writes a readable transcript and tells the run when the line was
// busy. One transcript line per write of the PC and per read that brought
// something:
//
//   PC  ACK
//   KV  "000120" NUL
//   --  line event 1004
//
// Control bytes are named (NUL is FieldEnd, ACK, ABORT, CMD_MESSAGE,
// CMD_REMOVE, CMD_END, CMD_MESSAGE_ID), runs of printable ASCII stand in
// double quotes (\" and \\ escaped), every other byte is \xNN. Each line is
// flushed at once, so the transcript of a run that was killed is whole up to
// its last step.
class TracedLine final : public SerialLine {
 public:
  explicit TracedLine(std::unique_ptr<SerialLine> inner);

  // Starts a transcript in the file (replacing it). Returns the system's
  // reason when it cannot be written.
  std::optional<QString> TraceTo(const QString& path);
  // Called after every write and after every read that brought something.
  void SetActivityHandler(std::function<void()> handler) { activity_ = std::move(handler); }

  std::optional<OpenFailure> Open(const QString& path, const LineSettings& settings) override;
  void Close() override;
  bool IsOpen() const override { return inner_->IsOpen(); }
  void Write(const QByteArray& bytes) override;
  QByteArray ReadAll() override;
  void DiscardInput() override;
  void DiscardOutput() override;
  void DrainOutput(int maxMilliseconds) override { inner_->DrainOutput(maxMilliseconds); }
  void SetEventHandler(EventHandler handler) override;

  // The transcript form of some bytes.
  static QString Describe(const QByteArray& bytes);

 private:
  void Trace(const QString& line);
  void Active() {
    if (activity_) activity_();
  }

  std::unique_ptr<SerialLine> inner_;
  QFile trace_;
  std::function<void()> activity_;
};

}  // namespace zandor
