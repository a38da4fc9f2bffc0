#pragma once

#include <QByteArray>

#include "link/serial_line.h"
#include "session/host.h"
#include "session/sync_session.h"

namespace zandor {

// The session's hold on the serial line: the one write operation, the two
// read primitives through which every exchange waits for the Kelvo, and the
// handler that turns line events into a message and a break.
//
// Every wait is one read and one Host::Yield() per pass, with no time limit
// and no sleep: a silent Kelvo keeps the wait going until BreakRequested is
// set (by &Break or a line error, both of which run only inside the yield).
class Link {
 public:
  Link(SyncSession& session, SerialLine& line, Host& host);
  ~Link();
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;

  // Writes the bytes to the line in one piece.
  void Write(const QByteArray& bytes);
  void Write(char byte) { Write(QByteArray(1, byte)); }

  // What the first non-empty read brought; empty after a break, having
  // written Abort and shown "      User Break      ".
  QByteArray ReadReply();
  // Exactly n bytes, joined from as many reads as it takes; empty when a read
  // brings more than n (silently), or after a break (with Abort and the box).
  QByteArray ReadExact(int n);

  // The communications event: codes above 1000 show "Serial port error #"
  // with the code and its text, then set BreakRequested; lower codes do
  // nothing. A device that vanished ends the synchronisation as a break too.
  void HandleLineEvent(const LineEvent& event);

  SerialLine& Line() { return line_; }

 private:
  void Break();

  SyncSession& session_;
  SerialLine& line_;
  Host& host_;
};

}  // namespace zandor
