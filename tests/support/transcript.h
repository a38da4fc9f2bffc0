#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zandor::testing {

// A readable record of a conversation on the line, one line per write of the
// PC and per read that brought something, for golden transcripts:
//
//   PC  ACK
//   KV  "120" NUL
//   PC  ACK "000001" NUL
//   --  box: Comm Err 2
//
// Control bytes are named (NUL is FieldEnd, ACK, ABORT, CMD_MESSAGE,
// CMD_REMOVE, CMD_END, CMD_MESSAGE_ID); runs of printable ASCII stand in
// double quotes (with \" and \\ escaped), and CR, LF and tab that follow text
// in such a run stay in it as \r, \n and \t; every other byte is \xNN. Tokens are
// separated by one blank. Notes ("--") mark what happened beside the bytes.
class TranscriptRecorder {
 public:
  void Write(const QByteArray& bytes) { lines_ << QStringLiteral("PC  ") + Describe(bytes); }
  void Read(const QByteArray& bytes) { lines_ << QStringLiteral("KV  ") + Describe(bytes); }
  void Note(const QString& text) { lines_ << QStringLiteral("--  ") + text; }
  void Clear() { lines_.clear(); }

  const QStringList& Lines() const { return lines_; }
  // Every line followed by a line feed.
  QString Text() const;

  static QString Describe(const QByteArray& bytes);

 private:
  QStringList lines_;
};

}  // namespace zandor::testing
