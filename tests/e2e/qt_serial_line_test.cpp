// The serial line over QSerialPort, tested against pseudo-terminals that the
// test opens itself: the test holds the device's end.
#include "link/qt_serial_line.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

#include "pty_pair.h"
#include "support/row_name.h"

namespace zandor {
namespace {

using testing::PtyPair;
using testing::PumpUntil;

constexpr int kWaitMs = 10000;

QByteArray EveryByteValue() {
  QByteArray bytes;
  for (int value = 0; value < 256; ++value) bytes.append(static_cast<char>(value));
  return bytes;
}

// Gathers what the line receives until it holds count bytes.
QByteArray ReadFromLine(SerialLine& line, int count) {
  QByteArray got;
  PumpUntil(
      [&] {
        got += line.ReadAll();
        return got.size() >= count;
      },
      kWaitMs);
  return got;
}

class QtSerialLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty_.Valid()) << "no pseudo-terminal available";
    const std::optional<OpenFailure> failure = line_.Open(pty_.SlavePath(), LineSettings{});
    ASSERT_FALSE(failure) << failure->reason.toStdString();
    line_.SetEventHandler([this](const LineEvent& event) { events_.push_back(event); });
  }

  PtyPair pty_;
  QtSerialLine line_;
  std::vector<LineEvent> events_;
};

TEST_F(QtSerialLineTest, EveryByteValueTravelsFromThePcUnchanged) {
  line_.Write(EveryByteValue());
  EXPECT_EQ(pty_.ReadAtLeast(256, kWaitMs), EveryByteValue());
}

TEST_F(QtSerialLineTest, EveryByteValueTravelsFromTheKelvoUnchanged) {
  pty_.Write(EveryByteValue());
  EXPECT_EQ(ReadFromLine(line_, 256), EveryByteValue());
  EXPECT_TRUE(events_.empty());
}

TEST_F(QtSerialLineTest, ASingleFieldEndByteArrives) {
  pty_.Write(QByteArray(1, '\0'));
  EXPECT_EQ(ReadFromLine(line_, 1), QByteArray(1, '\0'));
}

TEST_F(QtSerialLineTest, ReadAllWithNothingWaitingReturnsEmptyAtOnce) {
  EXPECT_TRUE(line_.ReadAll().isEmpty());
}

TEST_F(QtSerialLineTest, AWriteLargerThanTheDriverTakesArrivesWhole) {
  QByteArray big;
  for (int i = 0; i < 100000; ++i) big.append(static_cast<char>(i % 251));
  line_.Write(big);  // returns at once; the rest goes out from the event loop
  const QByteArray got = pty_.ReadAtLeast(static_cast<int>(big.size()), kWaitMs);
  ASSERT_EQ(got.size(), big.size());
  EXPECT_TRUE(got == big) << "the bytes differ";
}

TEST_F(QtSerialLineTest, InputBeyondTheReadBufferIsHandedOutWhole) {
  QByteArray big;
  for (int i = 0; i < 20000; ++i) big.append(static_cast<char>(i % 253));
  // The Kelvo side writes what the line takes, as RTS/CTS would let it.
  QByteArray got;
  qsizetype sent = 0;
  PumpUntil(
      [&] {
        sent += pty_.WriteSome(big.mid(sent));
        got += line_.ReadAll();
        return got.size() >= big.size();
      },
      kWaitMs);
  ASSERT_EQ(got.size(), big.size());
  EXPECT_TRUE(got == big) << "the bytes differ";
}

TEST_F(QtSerialLineTest, DiscardInputDropsWhatWaits) {
  pty_.Write(QByteArrayLiteral("stale reply"));
  // Let part of it reach the line's own buffer, part stay in the driver.
  PumpUntil([] { return false; }, 100);
  line_.DiscardInput();
  pty_.Write(QByteArrayLiteral("fresh"));
  EXPECT_EQ(ReadFromLine(line_, 5), QByteArrayLiteral("fresh"));
}

TEST_F(QtSerialLineTest, DiscardOutputKeepsWhatTheOtherSideHoldsAlready) {
  // The closing bytes of a synchronisation are written just before the line
  // is torn down, which starts with discarding the output.
  line_.Write(QByteArrayLiteral("\x0C"));
  line_.Write(QByteArrayLiteral("\x01"));
  line_.DiscardOutput();
  line_.DiscardInput();
  line_.Close();
  EXPECT_EQ(pty_.ReadAtLeast(2, kWaitMs), QByteArrayLiteral("\x0C\x01"));
}

TEST_F(QtSerialLineTest, AHangUpIsReportedOnceAsDeviceLost) {
  pty_.Close();
  EXPECT_TRUE(PumpUntil([&] { return !events_.empty(); }, kWaitMs));
  PumpUntil([] { return false; }, 300);  // no second report may follow
  ASSERT_EQ(events_.size(), 1u);
  EXPECT_EQ(events_[0].kind, LineEvent::Kind::DeviceLost);
  EXPECT_FALSE(line_.IsOpen());
  // What the driver does after a break must stay harmless.
  line_.Write(QByteArray(1, '\x02'));
  EXPECT_TRUE(line_.ReadAll().isEmpty());
  line_.DiscardOutput();
  line_.DiscardInput();
  line_.Close();
  EXPECT_FALSE(line_.IsOpen());
}

TEST_F(QtSerialLineTest, ALineClosedAndOpenedAgainCarriesBytes) {
  line_.Close();
  EXPECT_FALSE(line_.IsOpen());
  ASSERT_FALSE(line_.Open(pty_.SlavePath(), LineSettings{}));
  EXPECT_TRUE(line_.IsOpen());
  line_.Write(QByteArrayLiteral("\x01"));
  EXPECT_EQ(pty_.ReadAtLeast(1, kWaitMs), QByteArrayLiteral("\x01"));
}

TEST_F(QtSerialLineTest, TheLineIsSetUpRawAt38400With8N1) {
  // A second opener sees the settings; the port is opened exclusively, which
  // only root may pass.
  const int fd =
      ::open(QFile::encodeName(pty_.SlavePath()).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) GTEST_SKIP() << "the port is held exclusively (not running as root)";
  termios tio{};
  ASSERT_EQ(::tcgetattr(fd, &tio), 0);
  ::close(fd);
  EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B38400));
  EXPECT_EQ(::cfgetispeed(&tio), static_cast<speed_t>(B38400));
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB), 0u);
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(tio.c_oflag & OPOST, 0u);
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL | INLCR | ISTRIP), 0u);
}

TEST(QtSerialLineOpenTest, APortHeldByAnotherLineIsBusy) {
  PtyPair pty;
  ASSERT_TRUE(pty.Valid());
  QtSerialLine first;
  ASSERT_FALSE(first.Open(pty.SlavePath(), LineSettings{}));
  QtSerialLine second;
  const std::optional<OpenFailure> failure = second.Open(pty.SlavePath(), LineSettings{});
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->reason, QStringLiteral("the port is in use by another program"));
  EXPECT_FALSE(second.IsOpen());
  first.Close();
  EXPECT_FALSE(second.Open(pty.SlavePath(), LineSettings{})) << "a closed port is free again";
}

TEST(QtSerialLineOpenTest, APseudoTerminalIsRecognised) {
  PtyPair pty;
  ASSERT_TRUE(pty.Valid());
  EXPECT_TRUE(IsPseudoTerminal(pty.SlavePath()));
  EXPECT_FALSE(IsPseudoTerminal(QStringLiteral("/dev/null")));
  EXPECT_FALSE(IsPseudoTerminal(QStringLiteral("/no/such/tty")));
}

struct OpenFailureRow {
  const char* name;
  // Makes the path to open inside dir; returns an empty string to skip.
  std::function<QString(const QString& dir, std::string& skip)> make;
  const char* reason;   // the start of the reason
  const char* fixPart;  // a part of the fix; empty when there is none
};
void PrintTo(const OpenFailureRow& row, std::ostream* out) {
  *out << row.name;
}

class OpenFailureTest : public ::testing::TestWithParam<OpenFailureRow> {};

TEST_P(OpenFailureTest, NamesTheReasonAndTheFix) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  std::string skip;
  const QString path = GetParam().make(dir.path(), skip);
  if (!skip.empty()) GTEST_SKIP() << skip;
  QtSerialLine line;
  const std::optional<OpenFailure> failure = line.Open(path, LineSettings{});
  ASSERT_TRUE(failure) << "opened " << path.toStdString();
  EXPECT_TRUE(failure->reason.startsWith(QLatin1String(GetParam().reason)))
      << failure->reason.toStdString();
  if (*GetParam().fixPart == '\0') {
    EXPECT_TRUE(failure->fix.isEmpty());
  } else {
    EXPECT_TRUE(failure->fix.contains(QLatin1String(GetParam().fixPart)))
        << failure->fix.toStdString();
  }
  EXPECT_FALSE(line.IsOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Paths, OpenFailureTest,
    ::testing::Values(
        OpenFailureRow{
            "MissingDevice",
            [](const QString& dir, std::string&) { return dir + QStringLiteral("/ttyUSB9"); },
            "no such device", "cable or USB adapter"},
        OpenFailureRow{
            "MissingDirectory",
            [](const QString&, std::string&) { return QStringLiteral("/dev/no-such-dir/ttyS0"); },
            "no such device", "path of this port under Options"},
        OpenFailureRow{"EmptyPath", [](const QString&, std::string&) { return QString(); },
                       "no such device", "cable"},
        OpenFailureRow{"PermissionDenied",
                       [](const QString& dir, std::string& skip) {
                         const QString path = dir + QStringLiteral("/ttyLocked");
                         QFile file(path);
                         if (!file.open(QIODevice::WriteOnly)) skip = "cannot make the file";
                         file.close();
                         ::chmod(QFile::encodeName(path).constData(), 0);
                         if (::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0) {
                           skip = "running as root: a file with no rights opens anyway";
                         }
                         return path;
                       },
                       "permission denied", "dialout"},
        OpenFailureRow{"NotASerialPort",
                       [](const QString& dir, std::string& skip) {
                         const QString path = dir + QStringLiteral("/plain-file");
                         QFile file(path);
                         if (!file.open(QIODevice::WriteOnly)) skip = "cannot make the file";
                         return path;
                       },
                       "the line settings could not be applied", "is a serial port"}),
    testing::RowName{});

struct CounterRow {
  const char* name;
  LineCounters before;
  LineCounters after;
  std::vector<int> codes;
};
void PrintTo(const CounterRow& row, std::ostream* out) {
  *out << row.name;
}

class LineErrorsTest : public ::testing::TestWithParam<CounterRow> {};

TEST_P(LineErrorsTest, EachGrownCounterGivesItsCodeOnce) {
  std::vector<int> codes;
  for (const LineEvent& event : LineErrorsBetween(GetParam().before, GetParam().after)) {
    EXPECT_EQ(event.kind, LineEvent::Kind::Error);
    codes.push_back(event.code);
  }
  EXPECT_EQ(codes, GetParam().codes);
}

INSTANTIATE_TEST_SUITE_P(
    Counters, LineErrorsTest,
    ::testing::Values(CounterRow{"Unchanged", {1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}, {}},
                      CounterRow{"BreakReceived", {}, {1, 0, 0, 0, 0}, {1001}},
                      CounterRow{"Framing", {}, {0, 3, 0, 0, 0}, {1004}},
                      CounterRow{"Overrun", {}, {0, 0, 1, 0, 0}, {1006}},
                      CounterRow{"ReceiveOverflow", {}, {0, 0, 0, 2, 0}, {1008}},
                      CounterRow{"Parity", {}, {0, 0, 0, 0, 7}, {1009}},
                      CounterRow{"AllAtOnceInFixedOrder",
                                 {5, 5, 5, 5, 5},
                                 {6, 6, 6, 6, 6},
                                 {1001, 1004, 1006, 1008, 1009}},
                      CounterRow{"CounterWrappedAround",
                                 {0, 2147483647, 0, 0, 0},
                                 {0, -2147483647 - 1, 0, 0, 0},
                                 {1004}}),
    testing::RowName{});

}  // namespace
}  // namespace zandor
