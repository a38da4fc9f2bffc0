#pragma once

#include <QByteArray>
#include <optional>

#include "link/serial_line.h"
#include "session/yield_mode.h"

namespace zandor {

// What the waits need of the program around them: a pass of its event loop
// (where &Break and the line's events run), whether a break was asked for,
// and a word when the line fails.
class LinkWaits {
 public:
  virtual ~LinkWaits() = default;
  virtual void Yield(YieldMode mode) = 0;
  virtual bool BreakRequested() const = 0;
  // A line error (code above 1000) or a device that vanished, as it happens,
  // from inside a yield. The dialogue tells the user and asks for a break.
  virtual void LineFault(const LineEvent& event) = 0;
};

// How a wait for the Kelvo ended.
struct Reply {
  enum class End {
    Bytes,      // bytes holds what came
    Break,      // a break was asked for before the Kelvo answered
    LineFault,  // the line failed during the wait; fault says how
    TooMany,    // more bytes came than were asked for; bytes holds them
  };
  End end = End::Break;
  QByteArray bytes;
  std::optional<LineEvent> fault;

  bool Ended() const { return end == End::Break || end == End::LineFault; }
  // True for exactly these bytes.
  bool Is(const QByteArray& expected) const { return end == End::Bytes && bytes == expected; }
};

// The session's hold on the serial line: the one write operation and the read
// primitives through which every exchange waits for the Kelvo. It only
// reports: what to tell the user, and when to write Abort, is the dialogue's.
//
// Every wait is one read and one yield per pass, with no time limit and no
// sleep: a silent Kelvo keeps the wait going until a break is asked for (by
// &Break or a line fault, both of which run only inside the yield).
class Link {
 public:
  Link(SerialLine& line, LinkWaits& waits);
  ~Link();
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;

  // Writes the bytes to the line in one piece.
  void Write(const QByteArray& bytes);
  void Write(char byte) { Write(QByteArray(1, byte)); }

  // What the first non-empty read brought.
  Reply ReadReply();
  // Exactly n bytes, joined from as many reads as it takes.
  Reply ReadExact(int n);

  SerialLine& Line() { return line_; }

 private:
  // How a wait ends once a break was asked for.
  Reply Ended();

  SerialLine& line_;
  LinkWaits& waits_;
  std::optional<LineEvent> fault_;
};

}  // namespace zandor
