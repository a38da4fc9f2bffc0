// The line under a whole synchronisation: replies that arrive in pieces, late
// or together, and the line's own events.
#include <gtest/gtest.h>

#include "link/field_forms.h"
#include "support/sync_rig.h"

namespace zandor::testing {

using namespace Qt::StringLiterals;
namespace {

// A rig with mail to send, an upload and a listing: every kind of read.
struct Busy : SyncRig {
  Busy() {
    AddMail(kInbox, u"long"_s, 1, QString(3000, u'x'));
    device.AddWritten(Written("Up", "ann@example.org", "Hello"));
    device.AddHeld({u"0000001A"_s, "stale", 1, "r"});
    options.removeFromKelvo = true;
    host.BreakWhenSilent(200);
  }
};

struct Delivery {
  int chunk;
  int delay;
};

class DeliveryTest : public ::testing::TestWithParam<Delivery> {};

// However the bytes are cut or delayed, the synchronisation is the same.
TEST_P(DeliveryTest, PiecesAndDelaysChangeNothing) {
  Busy rig;
  rig.line.SetChunkSize(GetParam().chunk);
  rig.line.SetDeliveryDelay(GetParam().delay);
  EXPECT_EQ(rig.Run(), SyncEnd::Completed);
  EXPECT_EQ(rig.host.StatusLines(), (QStringList{u"Sent: 1 (1 truncated)"_s, u"Received: 1"_s,
                                                 u"Removed from Kelvo: 1"_s, QString()}));
  EXPECT_TRUE(rig.host.Boxes().isEmpty());
  EXPECT_TRUE(rig.device.Violations().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cuts, DeliveryTest,
                         ::testing::Values(Delivery{1, 1}, Delivery{2, 1}, Delivery{7, 3},
                                           Delivery{0, 5}));

// The identifier after CmdRemove: the Kelvo's hexadecimal id in decimal, at
// least six digits; none for what is not a 32-bit hexadecimal number.
TEST(FieldFormsTest, RemovalIdentifiersAreTheHexadecimalIdInDecimal) {
  for (const char* id : {"0000001A", "9", "a", "F", "f", "A0", "FFFFFFFF", "100000000", "g", "",
                         "/", ":", "123456789"}) {
    bool hex = false;
    const qulonglong value = QByteArray(id).toULongLong(&hex, 16);
    EXPECT_EQ(RemovalIdentifier(QString::fromLatin1(id)),
              hex && value <= 0xFFFFFFFFu
                  ? std::optional(QByteArray::number(value).rightJustified(6, '0') + '\0')
                  : std::nullopt)
        << id;
  }
}

struct EventRow {
  LineEvent::Kind kind;
  int code;
  QString box;  // empty: the event is no error
};

class LineEventTest : public ::testing::TestWithParam<EventRow> {};

TEST_P(LineEventTest, ErrorsAboveOneThousandBreakWithTheirCode) {
  Busy rig;
  rig.line.RaiseEvent({GetParam().kind, GetParam().code, u"gone"_s}, 6);
  rig.Run();
  if (GetParam().box.isEmpty()) {
    EXPECT_TRUE(rig.host.Boxes().isEmpty());
    EXPECT_EQ(rig.host.Status(2), u"Received: 1"_s);
  } else {
    // The fault is told once; the break it makes is nobody's Break.
    EXPECT_EQ(rig.host.Boxes().value(0), GetParam().box);
    EXPECT_FALSE(rig.host.Boxes().contains(u"      User Break      "_s));
    EXPECT_TRUE(rig.line.Transcript().Lines().contains(u"PC  ABORT"_s));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Events, LineEventTest,
    ::testing::Values(
        EventRow{LineEvent::Kind::Notice, 1, {}}, EventRow{LineEvent::Kind::Error, 1000, {}},
        EventRow{LineEvent::Kind::Error, 1001,
                 u"Serial port error #1001\n\rA Break signal was received"_s},
        EventRow{LineEvent::Kind::Error, 1009,
                 QStringLiteral("Serial port error #1009\n\rParity Error. The hardware detected a "
                                "parity error")}));

}  // namespace
}  // namespace zandor::testing
