#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace zandor::sim {

// The simulator's transcript, in the same form as zandor --trace: one line
// per piece the PC sent ("PC  ...") and per reply of the Kelvo ("KV  ..."),
// notes beside them ("--  ..."). Control bytes are named (NUL, ACK, ABORT,
// CMD_MESSAGE, CMD_REMOVE, CMD_END, CMD_MESSAGE_ID), printable ASCII stands
// in double quotes, any other byte is \xNN. Each line is flushed at once.
class SimTrace {
 public:
  // Returns the system's reason when the file cannot be written.
  // With stamped, each piece is preceded by a note "at N", N the steady
  // clock's microseconds, so that a benchmark can time the line's gaps.
  std::optional<QString> Open(const QString& path, bool stamped = false);
  void FromPc(const QByteArray& bytes);
  void FromKelvo(const QByteArray& bytes);
  void Note(const QString& text);

  static QString Describe(const QByteArray& bytes);

 private:
  void Line(const QString& line);
  void Stamp();
  QFile file_;
  bool stamped_ = false;
};

}  // namespace zandor::sim
