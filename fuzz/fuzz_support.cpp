#include "fuzz_support.h"

#include <QStringList>
#include <cstdio>
#include <cstdlib>

namespace zandor::fuzz {

void Fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
  std::abort();
}

std::uint8_t Input::Byte() {
  if (size_ == 0) return 0;
  const std::uint8_t b = *data_;
  ++data_;
  --size_;
  return b;
}

QByteArray Input::Rest() {
  QByteArray rest(reinterpret_cast<const char*>(data_), static_cast<qsizetype>(size_));
  data_ += size_;
  size_ = 0;
  return rest;
}

std::deque<QByteArray> SplitIntoReads(const QByteArray& script) {
  std::deque<QByteArray> reads;
  QByteArray piece;
  qsizetype at = 0;
  while (at < script.size()) {
    const auto length = static_cast<unsigned char>(script[at++]);
    const qsizetype take = std::min<qsizetype>(length, script.size() - at);
    piece += script.mid(at, take);
    at += take;
    if (length == 255) continue;  // the piece goes on
    reads.push_back(piece);
    piece.clear();
  }
  if (!piece.isEmpty()) reads.push_back(piece);
  return reads;
}

QByteArray JoinReads(const std::deque<QByteArray>& reads) {
  QByteArray script;
  for (const QByteArray& read : reads) {
    qsizetype at = 0;
    while (read.size() - at >= 255) {
      script += static_cast<char>(255);
      script += read.mid(at, 255);
      at += 255;
    }
    script += static_cast<char>(read.size() - at);
    script += read.mid(at);
  }
  return script;
}

unsigned char SeparatorOf(std::uint8_t config) {
  return (config & 1) != 0 ? 31 : 254;
}

OptionValues OptionsOf(std::uint8_t config) {
  OptionValues options;
  const int button = (config >> 1) & 3;
  options.ostrelConv = button == 0;
  options.rusConv = button == 1;
  options.dravoConv = button == 2;
  return options;
}

const ConversionTables& Tables() {
  static const ConversionTables tables = BuildConversionTables();
  return tables;
}

std::optional<OpenFailure> ScriptedLine::Open(const QString&, const LineSettings&) {
  open_ = true;
  return std::nullopt;
}

void ScriptedLine::Write(const QByteArray& bytes) {
  writes_.push_back(bytes);
}

QByteArray ScriptedLine::ReadAll() {
  if (reads_.empty()) return {};
  QByteArray read = std::move(reads_.front());
  reads_.pop_front();
  ++readsTaken_;
  if (!read.isEmpty()) lastRead_ = read;
  return read;
}

void ScriptedLine::Pump() {
  ++pumps_;
  if (pumps_ == eventAt_ && handler_) handler_(event_);
}

void ScriptedHost::ShowMessage(const QString& text) {
  boxes_.append(text);
}

QString ScriptedHost::Status(int line) const {
  ZANDOR_FUZZ_CHECK(line >= 1 && line <= 4);
  return status_[line - 1];
}

void ScriptedHost::SetStatus(int line, const QString& text) {
  ZANDOR_FUZZ_CHECK(line >= 1 && line <= 4);
  status_[line - 1] = text;
}

void ScriptedHost::Yield(YieldMode mode) {
  ++yields_;
  ZANDOR_FUZZ_CHECK(yields_ <= yieldLimit_);  // more yields than the input explains: a hang
  line_.Pump();
  if (mode == YieldMode::Poll) {
    silentInARow_ = 0;
    return;
  }
  if (++silentInARow_ >= silentLimit_ && !session_.BreakRequested) {
    session_.BreakRequested = true;  // &Break on a silent Kelvo
    ++breaks_;
  }
}

}  // namespace zandor::fuzz
