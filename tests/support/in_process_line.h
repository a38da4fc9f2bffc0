#pragma once

#include <QByteArray>
#include <deque>
#include <vector>

#include "link/serial_line.h"
#include "model/kelvo_device.h"
#include "support/transcript.h"

namespace zandor::testing {

// A SerialLine joined to the Kelvo device model inside the test process.
//
// What the PC writes goes to the device at once; what the device answers is
// "on the wire" and becomes readable only when the host yields (Pump), so a
// wait that reads before it yields sees nothing yet, as with a real port. The
// test can cut the device's bytes into pieces (one piece per yield), delay
// them, raise line events at a chosen yield, and make Open fail. A device that hangs up is reported
// once, as LineEvent::Kind::DeviceLost, at the next yield.
//
// Every write and every read that brought something is recorded in
// Transcript(), with notes for line events.
class InProcessLine final : public SerialLine {
 public:
  explicit InProcessLine(sim::KelvoDevice& device) : device_(device) {}

  // SerialLine.
  std::optional<OpenFailure> Open(const QString& path, const LineSettings& settings) override;
  void Close() override;
  bool IsOpen() const override { return open_; }
  void Write(const QByteArray& bytes) override;
  QByteArray ReadAll() override;
  void DiscardInput() override;
  void DiscardOutput() override {
    ++discardOutputCount_;
    if (writtenSinceDrain_) ++undrainedDiscards_;
  }
  void DrainOutput(int) override { writtenSinceDrain_ = false; }
  void SetEventHandler(EventHandler handler) override { handler_ = std::move(handler); }

  // One pass of the event loop: delivers what is due, then raises the events
  // due, then reports a hang-up. The host calls it from Yield().
  void Pump();

  // At most this many bytes become readable per yield; 0 (the default) for
  // everything that is due.
  void SetChunkSize(int maxBytes) { chunkSize_ = maxBytes; }
  // Bytes the device sends become readable this many yields later (default 1:
  // at the next yield).
  void SetDeliveryDelay(int yields) { delay_ = yields; }
  // Raises the event during the given yield (counted from 1 over the line's
  // life); 0 raises it during the next one.
  void RaiseEvent(LineEvent event, int atPump = 0);

  TranscriptRecorder& Transcript() { return transcript_; }
  const TranscriptRecorder& Transcript() const { return transcript_; }
  int OpenCount() const { return openCount_; }
  const QString& OpenedPath() const { return path_; }
  const LineSettings& OpenedSettings() const { return settings_; }
  int DiscardInputCount() const { return discardInputCount_; }
  int DiscardOutputCount() const { return discardOutputCount_; }
  // Discards of output written and never drained.
  int UndrainedDiscards() const { return undrainedDiscards_; }
  bool HasHandler() const { return static_cast<bool>(handler_); }

 private:
  struct InFlight {
    int readyAt = 0;
    QByteArray bytes;
  };
  struct Scheduled {
    int atPump = 0;
    LineEvent event;
  };

  void Raise(const LineEvent& event);

  sim::KelvoDevice& device_;
  EventHandler handler_;
  TranscriptRecorder transcript_;
  bool open_ = false;
  QString path_;
  LineSettings settings_;
  int openCount_ = 0;
  std::deque<InFlight> inFlight_;
  QByteArray readable_;
  std::vector<Scheduled> events_;
  int pumps_ = 0;
  int chunkSize_ = 0;
  int delay_ = 1;
  bool lostReported_ = false;
  int discardInputCount_ = 0;
  int discardOutputCount_ = 0;
  int undrainedDiscards_ = 0;
  bool writtenSinceDrain_ = false;
};

}  // namespace zandor::testing
