// The folder tree in the main window: rebuilt on the first show and on every
// return from the options or the about box, never on a return from another
// program or a message box; exclusions read from and written to the settings
// at once; a mail folder that does not exist.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "mail/folder_tree.h"
#include "support/row_name.h"
#include "ui/about_dialog.h"
#include "window_rig.h"

namespace zandor::testing {
namespace {

using Flag = FolderView::Flag;

const QStringList kInbox{QStringLiteral("Inbox")};
const QStringList kWork{QStringLiteral("Inbox"), QStringLiteral("Work")};
const QStringList kWork2026{QStringLiteral("Inbox"), QStringLiteral("Work"),
                            QStringLiteral("2026")};
const QStringList kSent{QStringLiteral("Sent")};

enum class Go { Options, About, Main, OtherProgram, MessageBox };

struct ActivationRow {
  const char* name;
  std::vector<Go> steps;
  int rebuilds;  // including the first show's
};

class ActivationTest : public ::testing::TestWithParam<ActivationRow>, public WindowRig {};

TEST_P(ActivationTest, RebuildsOnReturnFromOurDialogsOnly) {
  builder.Folder(kInbox);
  Load();
  Show();
  Activate(window.get());
  EXPECT_EQ(inboxRequests, 1) << "the first show";
  QWidget box;  // stands for a message box: a window the history does not watch
  box.show();
  for (const Go step : GetParam().steps) {
    switch (step) {
      case Go::Options:
        window->ShowOptions();
        Activate(&window->Options());
        break;
      case Go::About:
        window->ShowAbout();
        Activate(&window->About());
        break;
      case Go::Main:
        Activate(window.get());
        break;
      case Go::OtherProgram:
        Activate(nullptr);
        break;
      case Go::MessageBox:
        Activate(&box);
        break;
    }
  }
  EXPECT_EQ(inboxRequests, GetParam().rebuilds);
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.shown.join(QLatin1Char('|')).toStdString();
  EXPECT_EQ(storesMade, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ActivationTest,
    ::testing::Values(
        ActivationRow{"FirstShowOnly", {}, 1},
        ActivationRow{"BackFromOptions", {Go::Options, Go::Main}, 2},
        ActivationRow{"BackFromAbout", {Go::About, Go::Main}, 2},
        ActivationRow{"BackFromAnotherProgram", {Go::OtherProgram, Go::Main}, 1},
        ActivationRow{"BackFromAMessageBox", {Go::MessageBox, Go::Main}, 1},
        ActivationRow{
            "OptionsThenAnotherProgramThenMain", {Go::Options, Go::OtherProgram, Go::Main}, 2},
        ActivationRow{"MainThenAnotherProgramThenMain",
                      {Go::Options, Go::Main, Go::OtherProgram, Go::Main},
                      2},
        ActivationRow{"OptionsAboutMain", {Go::Options, Go::About, Go::Main}, 2},
        ActivationRow{"EveryReturnCounts",
                      {Go::Options, Go::Main, Go::About, Go::Main, Go::Options, Go::Main},
                      4}),
    RowName{});

class WindowTreeTest : public ::testing::Test, public WindowRig {
 protected:
  void PressSpaceOn(const QStringList& folder) {
    FolderTreeWidget& tree = window->Tree();
    QTreeWidgetItem* item = tree.Node(builder.EntryIdOf(folder));
    ASSERT_NE(item, nullptr);
    tree.setCurrentItem(item);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(&tree, &press);
  }

  bool Ticked(const QStringList& folder) {
    return window->Folders().Get(builder.EntryIdOf(folder), Flag::Checked);
  }

  std::optional<QString> Stored(const QStringList& folder) {
    return settings.Read(kFoldersSection, builder.EntryIdOf(folder));
  }

  void BackFromOptions() {
    window->ShowOptions();
    Activate(&window->Options());
    Activate(window.get());
  }
};

TEST_F(WindowTreeTest, ExclusionsAreReadAndWrittenAtOnce) {
  for (const QStringList& folder : {kInbox, kWork, kWork2026, kSent}) builder.Folder(folder);
  settings.Write(kFoldersSection, builder.EntryIdOf(kWork), QStringLiteral("1"));
  settings.Write(kFoldersSection, builder.EntryIdOf(kSent), QStringLiteral("yes"));
  Load();
  Show();
  const auto storedBefore = settings.Values();
  EXPECT_TRUE(Ticked(kInbox));
  EXPECT_FALSE(Ticked(kWork));
  EXPECT_TRUE(Ticked(kWork2026)) << "an excluded folder leaves its subfolders in";
  EXPECT_TRUE(Ticked(kSent)) << "only \"1\" excludes";
  EXPECT_TRUE(window->Folders().Get(builder.EntryIdOf(kWork2026), Flag::Expanded));
  EXPECT_EQ(window->Tree().topLevelItemCount(), 2);
  // Building the tree wrote nothing.
  EXPECT_EQ(settings.Values(), storedBefore);

  PressSpaceOn(kInbox);
  EXPECT_EQ(Stored(kInbox), QStringLiteral("1"));
  EXPECT_TRUE(Ticked(kWork2026)) << "a parent's tick leaves its children";
  EXPECT_FALSE(Stored(kWork2026));
  PressSpaceOn(kWork);
  EXPECT_FALSE(Stored(kWork));
  PressSpaceOn(kSent);
  EXPECT_EQ(Stored(kSent), QStringLiteral("1"));

  // A rebuild shows what the store holds and writes nothing.
  const auto storedNow = settings.Values();
  BackFromOptions();
  EXPECT_EQ(inboxRequests, 2);
  EXPECT_EQ(settings.Values(), storedNow);
  EXPECT_FALSE(Ticked(kInbox));
  EXPECT_TRUE(Ticked(kWork));
  EXPECT_FALSE(Ticked(kSent));
}

TEST_F(WindowTreeTest, AFolderMadeSinceTheLastRebuildShowsTickedAfterTheNext) {
  builder.Folder(kInbox);
  Load();
  Show();
  EXPECT_FALSE(window->Folders().HasNode(builder.EntryIdOf(kWork)));
  builder.Folder(kWork);
  BackFromOptions();
  EXPECT_TRUE(Ticked(kWork));
}

TEST_F(WindowTreeTest, AMissingMailFolderIsToldWithTheFix) {
  const QString missing = dir.filePath(QStringLiteral("no-such-maildir"));
  settings.Write(QStringLiteral("Store"), QStringLiteral("Maildir"), missing);
  Load();
  Show();
  ASSERT_EQ(boxes.shown, QStringList{MissingMailFolderText(missing)});
  EXPECT_TRUE(boxes.shown[0].contains(QStringLiteral("Options")));
  EXPECT_EQ(window->Tree().topLevelItemCount(), 0);
  EXPECT_EQ(storesMade, 0);
  EXPECT_FALSE(QFileInfo::exists(missing)) << "nothing is created behind the user's back";

  // Coming back from the about box with the same folder: said once only.
  window->ShowAbout();
  Activate(&window->About());
  Activate(window.get());
  EXPECT_EQ(boxes.shown.size(), 1);

  // &Sync says it again and touches nothing.
  Button("btnSync")->click();
  EXPECT_EQ(boxes.shown.size(), 2);
  EXPECT_EQ(line.OpenCount(), 0);
  EXPECT_TRUE(line.Transcript().Lines().isEmpty());
  EXPECT_TRUE(Button("btnSync")->isEnabled());

  // The fix: choose the Maildir in the options.
  builder.Folder(kInbox);
  window->ShowOptions();
  Activate(&window->Options());
  Control<QLineEdit>(window->Options(), "edMailFolder")->setText(dir.path());
  Control<QPushButton>(window->Options(), "btnOK")->click();
  Activate(window.get());
  EXPECT_EQ(boxes.shown.size(), 2);
  EXPECT_EQ(ReadKey(settings, "Store", "Maildir"), dir.path());
  EXPECT_EQ(storesMade, 1);
  EXPECT_TRUE(Ticked(kInbox));
}

}  // namespace
}  // namespace zandor::testing
