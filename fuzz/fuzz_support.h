#pragma once

// What the fuzz targets share: reading the fuzz input, a check that stops the
// run with a reason (libFuzzer keeps the input), and one stand-in for the
// Kelvo's side of the line and for the window, which never waits, so that a
// whole exchange runs on bytes alone.

#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <utility>

#include "link/link.h"
#include "session/host.h"
#include "session/sync_session.h"
#include "session/plain_folder_view.h"
#include "settings/sync_options.h"

#define ZANDOR_FUZZ_CHECK(c)                                                         \
  ((c) ? void()                                                                      \
       : (std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #c), \
          std::abort()))

namespace zandor::fuzz {

// The fuzz input, taken from the front; Byte() is 0 once it is used up.
struct Input {
  const std::uint8_t* data;
  std::size_t size;
  std::uint8_t Byte() { return size == 0 ? 0 : (--size, *data++); }
  QByteArray Rest() {
    const auto rest = static_cast<qsizetype>(std::exchange(size, 0));
    return QByteArray(reinterpret_cast<const char*>(data), rest);
  }
};

// Cuts bytes into the pieces a serial port hands over: a length byte L and L
// bytes; L = 255 takes 255 bytes and goes on into the same piece; L = 0 is a
// read that brings nothing. Every byte string is a valid script.
inline std::deque<QByteArray> SplitIntoReads(const QByteArray& script) {
  std::deque<QByteArray> reads(1);
  for (qsizetype at = 0, length = 0; at < script.size(); at += 1 + length) {
    length = static_cast<unsigned char>(script[at]);
    reads.back() += script.mid(at + 1, length);
    if (length != 255) reads.emplace_back();
  }
  if (reads.back().isEmpty()) reads.pop_back();
  return reads;
}

// A config byte: bit 0 picks the separator (31 or 254), bits 1-2 the
// conversion button (Western, Russian, Dravo, none of them).
inline unsigned char SeparatorOf(std::uint8_t config) {
  return (config & 1) != 0 ? 31 : 254;
}
inline SyncOptions OptionsOf(std::uint8_t config) {
  SyncOptions options;
  // None of the three selected reads as Western.
  options.mode = (config & 6) == 2   ? ConversionMode::RussianOstrel
                 : (config & 6) == 4 ? ConversionMode::RussianDravo
                                     : ConversionMode::Western;
  return options;
}

inline const ConversionTables kTables = BuildConversionTables();

// The line and the window in one, and the session they serve. Each ReadAll
// hands over the next read of the script, nothing once it is used up;
// everything written is kept. Yield pumps the line (raising event at pump
// number eventAt, counted from 1) and presses &Break once silentLimit waiting
// yields in a row went by, so every wait ends; more yields than the script
// can explain are a hang.
struct Scripted final : SerialLine, Host {
  explicit Scripted(std::deque<QByteArray> script) : reads(std::move(script)) {}

  SyncSession session;
  std::deque<QByteArray> reads, writes;
  QStringList boxes;
  QByteArray lastRead;  // the last read that brought something
  int silentLimit = 4, silent = 0, breaks = 0, eventAt = 0, pumps = 0, yields = 0;
  LineEvent event;
  EventHandler handler;
  PlainFolderView folders;
  const long yieldLimit = 64 + 8 * static_cast<long>(reads.size());

  QByteArray ReadAll() override {
    if (reads.empty()) return {};
    QByteArray read = std::exchange(reads.front(), {});
    reads.pop_front();
    if (!read.isEmpty()) lastRead = read;
    return read;
  }
  void Write(const QByteArray& bytes) override { writes.push_back(bytes); }
  void ShowMessage(const QString& text) override { boxes.append(text); }
  void Yield(YieldMode mode) override {
    ZANDOR_FUZZ_CHECK(++yields <= yieldLimit);
    if (++pumps == eventAt && handler) handler(event);
    silent = mode == YieldMode::Poll ? 0 : silent + 1;
    // &Break on a silent Kelvo, counted when it is the first break.
    if (silent >= silentLimit && !std::exchange(session.BreakRequested, true)) ++breaks;
  }
  void SetEventHandler(EventHandler h) override { handler = std::move(h); }
  void DiscardInput() override { reads.clear(); }
  FolderView& Folders() override { return folders; }
  bool Confirm(const QString&) override { return true; }
  bool IsOpen() const override { return true; }
  std::optional<OpenFailure> Open(const QString&, const LineSettings&) override { return {}; }
  void Close() override {}
  void DiscardOutput() override {}
  QString Status(int) const override { return {}; }
  void SetStatus(int, const QString&) override {}
  void SetBusy(bool) override {}
  void SetSyncEnabled(bool) override {}
  void SetBreakEnabled(bool) override {}
};

}  // namespace zandor::fuzz
