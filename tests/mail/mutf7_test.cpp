// Folder names in modified UTF-7, as IMAP servers store them on disk.
#include "mail/maildir/mutf7.h"

#include <gtest/gtest.h>

#include "support/row_name.h"

namespace zandor::maildir {
namespace {

struct Mutf7Row {
  const char* name;
  const char* decoded;  // UTF-8
  const char* encoded;
};

class Mutf7RoundTrip : public ::testing::TestWithParam<Mutf7Row> {};

TEST_P(Mutf7RoundTrip, EncodesAndDecodes) {
  const QString decoded = QString::fromUtf8(GetParam().decoded);
  const QString encoded = QString::fromLatin1(GetParam().encoded);
  EXPECT_EQ(EncodeModifiedUtf7(decoded), encoded);
  EXPECT_EQ(DecodeModifiedUtf7(encoded), std::optional<QString>(decoded));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Mutf7RoundTrip,
    ::testing::Values(Mutf7Row{"Ascii", "Work 2026", "Work 2026"},
                      Mutf7Row{"Ampersand", "Tom & Jerry", "Tom &- Jerry"},
                      Mutf7Row{"Cyrillic", "Отправ", "&BB4EQgQ,BEAEMAQy-"},
                      Mutf7Row{"CyrillicWord", "Входящие", "&BBIERQQ+BDQETwRJBDgENQ-"},
                      Mutf7Row{"Accent", "Café", "Caf&AOk-"},
                      Mutf7Row{"Japanese", "日本語", "&ZeVnLIqe-"},
                      Mutf7Row{"MixedRuns", "a日b本c", "a&ZeU-b&Zyw-c"},
                      Mutf7Row{"Emoji", "Post📬", "Post&2D3c7A-"},
                      Mutf7Row{"Tilde", "~peter/mail", "~peter/mail"}, Mutf7Row{"Empty", "", ""}),
    testing::RowName());

struct InvalidRow {
  const char* name;
  const char* text;  // UTF-8
};

class Mutf7Invalid : public ::testing::TestWithParam<InvalidRow> {};

TEST_P(Mutf7Invalid, IsShownAsItStands) {
  const QString text = QString::fromUtf8(GetParam().text);
  EXPECT_EQ(DecodeModifiedUtf7(text), std::nullopt);
  EXPECT_EQ(DisplayFolderName(text), text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Mutf7Invalid,
    ::testing::Values(InvalidRow{"Unclosed", "&BB4EQgQ"}, InvalidRow{"LoneAmpersand", "R&D"},
                      InvalidRow{"BadLetter", "&BB4!-"}, InvalidRow{"EncodedAscii", "&AGE-"},
                      InvalidRow{"Utf8Name", "Отправленные"}, InvalidRow{"LoneSurrogate", "&2D0-"},
                      InvalidRow{"DirtyPadding", "&AOl-"}),
    testing::RowName());

}  // namespace
}  // namespace zandor::maildir
