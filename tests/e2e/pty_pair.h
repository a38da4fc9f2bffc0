#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace zandor::testing {

// A pseudo-terminal opened by the test: the master side stays here, the
// slave's path is what the line under test opens. The master is raw and
// non-blocking; the destructor closes it.
class PtyPair {
 public:
  PtyPair();
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  bool Valid() const { return master_ >= 0; }
  const QString& SlavePath() const { return slavePath_; }

  // Writes every byte to the master side (the device's end), keeping the
  // event loop going while the line's buffers are full.
  void Write(const QByteArray& bytes);
  // Writes what the master side takes now; returns how many bytes that was.
  qsizetype WriteSome(const QByteArray& bytes);
  // What the master side has received, gathered until it holds at least
  // count bytes or waitMs passed, keeping the event loop going meanwhile.
  QByteArray ReadAtLeast(int count, int waitMs);
  // Hangs up: closes the master side.
  void Close();

 private:
  int master_ = -1;
  QString slavePath_;
};

// Keeps the event loop going until done() holds or waitMs passed; returns
// done()'s last answer. Waits are bounds, never assertions about time.
bool PumpUntil(const std::function<bool()>& done, int waitMs);

}  // namespace zandor::testing
