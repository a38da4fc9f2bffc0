// The IMAP store's tree of mailboxes from one listing: every mailbox shows
// below its nearest listed ancestor, so that one whose parent the server
// does not list can still be ticked and read. (The tests' Dovecot always
// lists a missing parent, as \Noselect, so the listing is given here.)
#include "store/imap/imap_mailboxes.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/qt_print.h"
#include "support/row_name.h"

namespace zandor::testing {
namespace {

struct ShownRow {
  const char* name;
  std::vector<const char*> listed;  // the names the server lists, delimiter '/'
  const char* below;                // "" for the top
  std::vector<const char*> shown;   // the names shown below it, in listing order
};
class MailboxListTest : public ::testing::TestWithParam<ShownRow> {};

TEST_P(MailboxListTest, ShowsEachMailboxBelowItsNearestListedAncestor) {
  const ShownRow& row = GetParam();
  std::vector<imap::Mailbox> boxes;
  for (const char* name : row.listed) boxes.push_back({QString::fromUtf8(name), u'/', {}});
  const imap::MailboxList list(std::move(boxes));
  QStringList shown;
  for (const imap::MailboxList::Shown& box : list.Below(QString::fromUtf8(row.below))) {
    shown << box.name;
  }
  QStringList expected;
  for (const char* name : row.shown) expected << QString::fromUtf8(name);
  EXPECT_EQ(shown, expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, MailboxListTest, ::testing::Values(
    ShownRow{"ParentListed", {"INBOX", "Work", "Work/A"}, "Work", {"A"}},
    ShownRow{"ParentNotListed", {"INBOX", "Other/Child", "Work"}, "", {"INBOX", "Other/Child", "Work"}},
    ShownRow{"GrandparentListed", {"INBOX", "Work", "Work/2025/May"}, "Work", {"2025/May"}},
    ShownRow{"InboxInAnotherCase", {"INBOX", "inbox/Child", "Inbox/Deep/Er", "INBOX/Real"}, "INBOX",
             {"Child", "Deep/Er", "Real"}},
    ShownRow{"InboxNotListed", {"inbox/Child"}, "INBOX", {"Child"}}),
    RowName());
// clang-format on

}  // namespace
}  // namespace zandor::testing
