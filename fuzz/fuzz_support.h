#pragma once

// What the fuzz targets share: reading the fuzz input, checks that stop the
// run with a reason, and stand-ins for the line and the window that never
// wait, so that a whole phase runs on bytes alone.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

#include "link/serial_line.h"
#include "records/conversion.h"
#include "settings/options.h"
#include "sync/folder_view.h"
#include "sync/host.h"
#include "sync/sync_session.h"

namespace zandor::fuzz {

// Stops the run when a property does not hold: libFuzzer keeps the input.
[[noreturn]] void Fail(const char* what, const char* file, int line);
#define ZANDOR_FUZZ_CHECK(condition)                                        \
  do {                                                                      \
    if (!(condition)) ::zandor::fuzz::Fail(#condition, __FILE__, __LINE__); \
  } while (false)

// The fuzz input, taken from the front.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Empty() const { return size_ == 0; }
  std::size_t Size() const { return size_; }
  // The next byte, or 0 when the input is used up.
  std::uint8_t Byte();
  // Everything that is left.
  QByteArray Rest();

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

// Cuts bytes into the pieces a serial port hands over: each piece is a length
// byte L and L bytes; L = 255 takes 255 bytes and goes on with the next length
// byte into the same piece; L = 0 is a read that brings nothing. A piece cut
// short by the end of the input keeps what there is. Every byte string is a
// valid script.
std::deque<QByteArray> SplitIntoReads(const QByteArray& script);
// The reverse, for seeds.
QByteArray JoinReads(const std::deque<QByteArray>& reads);

// The separator and the conversion buttons a config byte stands for: bit 0
// picks the separator (31 or 254), bits 1-2 the button (Western, Russian,
// Dravo, none of them).
unsigned char SeparatorOf(std::uint8_t config);
OptionValues OptionsOf(std::uint8_t config);

// The conversion tables, built once.
const ConversionTables& Tables();

// A SerialLine whose device side is a script of reads: each ReadAll hands
// over the next piece, and nothing once the script is used up. Everything
// written is kept. A line event can be raised during a chosen pump.
class ScriptedLine final : public SerialLine {
 public:
  explicit ScriptedLine(std::deque<QByteArray> reads) : reads_(std::move(reads)) {}

  std::optional<OpenFailure> Open(const QString&, const LineSettings&) override;
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  void Write(const QByteArray& bytes) override;
  QByteArray ReadAll() override;
  void DiscardInput() override { reads_.clear(); }
  void DiscardOutput() override {}
  void SetEventHandler(EventHandler handler) override { handler_ = std::move(handler); }

  // Raises the event during pump number atPump (counted from 1).
  void RaiseAt(int atPump, LineEvent event) {
    eventAt_ = atPump;
    event_ = std::move(event);
  }
  // One pass of the event loop, called by the host's Yield.
  void Pump();

  bool Exhausted() const { return reads_.empty(); }
  const std::deque<QByteArray>& Writes() const { return writes_; }
  std::size_t ReadsTaken() const { return readsTaken_; }
  // The last read that brought something.
  const QByteArray& LastRead() const { return lastRead_; }

 private:
  std::deque<QByteArray> reads_;
  std::deque<QByteArray> writes_;
  EventHandler handler_;
  bool open_ = true;
  int pumps_ = 0;
  int eventAt_ = 0;
  LineEvent event_;
  std::size_t readsTaken_ = 0;
  QByteArray lastRead_;
};

// A folder view that holds nothing: the receive phase never touches it.
class NoFolders final : public FolderView {
 public:
  void Clear() override {}
  void SetViewEnabled(bool) override {}
  bool AddRoot(const QString&, const QString&) override { return false; }
  bool AddNode(const QString&, Relation, const QString&, const QString&) override { return false; }
  bool HasNode(const QString&) const override { return false; }
  bool Get(const QString&, Flag) const override { return false; }
  void Set(const QString&, Flag, bool) override {}
};

// A Host whose Yield never waits: it pumps the line, and presses &Break once
// the reads have brought nothing for a number of waiting yields in a row (the
// script is used up, or it holds that many empty reads), so every wait ends.
// A phase that keeps yielding far beyond what its input can explain is a hang.
class ScriptedHost final : public Host {
 public:
  ScriptedHost(ScriptedLine& line, SyncSession& session, int silentYieldsBeforeBreak,
               long yieldLimit)
      : line_(line),
        session_(session),
        silentLimit_(silentYieldsBeforeBreak),
        yieldLimit_(yieldLimit) {}

  void ShowMessage(const QString& text) override;
  bool Confirm(const QString&) override { return true; }
  QString Status(int line) const override;
  void SetStatus(int line, const QString& text) override;
  void Yield(YieldMode mode = YieldMode::Poll) override;
  void SetBusy(bool) override {}
  void SetSyncEnabled(bool) override {}
  void SetBreakEnabled(bool) override {}
  FolderView& Folders() override { return folders_; }

  const QStringList& Boxes() const { return boxes_; }
  int BreakPresses() const { return breaks_; }

 private:
  ScriptedLine& line_;
  SyncSession& session_;
  int silentLimit_;
  long yieldLimit_;
  long yields_ = 0;
  int silentInARow_ = 0;
  int breaks_ = 0;
  QString status_[4];
  QStringList boxes_;
  NoFolders folders_;
};

}  // namespace zandor::fuzz
