#include "ui/folder_tree.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <functional>
#include <utility>
#include <vector>

#include "support/qt_print.h"
#include "support/row_name.h"
#include "support/tree_model.h"

namespace zandor {
namespace {

using Flag = FolderView::Flag;
using Relation = FolderView::Relation;

// The widget's nodes in the plain model's dump format, read from the items
// themselves (order, text, check box, expansion, selection, font).
void DumpItem(const QTreeWidgetItem* item, int depth, QString& out) {
  out += QString(depth * 2, QLatin1Char(' '));
  out += item->checkState(0) == Qt::Checked ? QStringLiteral("[x] ") : QStringLiteral("[ ] ");
  out += item->text(0) + QStringLiteral(" <") + item->toolTip(0) + QLatin1Char('>');
  if (item->isExpanded()) out += QStringLiteral(" expanded");
  if (item->isSelected()) out += QStringLiteral(" selected");
  if (item->font(0).bold()) out += QStringLiteral(" bold");
  out += QLatin1Char('\n');
  for (int i = 0; i < item->childCount(); ++i) DumpItem(item->child(i), depth + 1, out);
}

QString DumpWidget(const QTreeWidget& tree) {
  QString out;
  for (int i = 0; i < tree.topLevelItemCount(); ++i) DumpItem(tree.topLevelItem(i), 0, out);
  return out;
}

// A script of calls on a FolderView; each returns what the call returned.
using Script = std::function<std::vector<bool>(FolderView&)>;

struct ContractRow {
  const char* name;
  Script script;
  const char* expected;  // the dump afterwards
};

class FolderTreeContractTest : public ::testing::TestWithParam<ContractRow> {};

// The widget's view keeps the same contract as the plain model the core's
// tests use: the same calls give the same answers and the same tree.
TEST_P(FolderTreeContractTest, BehavesLikeThePlainModel) {
  const ContractRow& row = GetParam();
  FolderTreeWidget widget;
  widget.show();
  FolderTreeView view(widget);
  testing::TreeModel model;
  const std::vector<bool> widgetAnswers = row.script(view);
  const std::vector<bool> modelAnswers = row.script(model);
  EXPECT_EQ(widgetAnswers, modelAnswers);
  EXPECT_EQ(model.Dump(), QString::fromUtf8(row.expected)) << model.Dump().toStdString();
  EXPECT_EQ(DumpWidget(widget), model.Dump());
  for (const QString& key : {QStringLiteral("I"), QStringLiteral("W"), QStringLiteral("none")}) {
    for (const Flag flag : {Flag::Checked, Flag::Expanded, Flag::Selected, Flag::Bold}) {
      EXPECT_EQ(view.Get(key, flag), model.Get(key, flag)) << key.toStdString();
    }
    EXPECT_EQ(view.HasNode(key), model.HasNode(key));
  }
}

std::vector<bool> BuildTwoTrees(FolderView& v) {
  std::vector<bool> r;
  r.push_back(v.AddRoot(QStringLiteral("I"), QStringLiteral("Inbox")));
  r.push_back(
      v.AddNode(QStringLiteral("I"), Relation::Child, QStringLiteral("W"), QStringLiteral("Work")));
  r.push_back(v.AddNode(QStringLiteral("W"), Relation::Next, QStringLiteral("P"),
                        QStringLiteral("Private")));
  r.push_back(v.AddNode(QStringLiteral("W"), Relation::Child, QStringLiteral("W6"),
                        QStringLiteral("2026")));
  r.push_back(v.AddRoot(QStringLiteral("S"), QStringLiteral("Sent Items")));
  return r;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FolderTreeContractTest,
    ::testing::Values(
        ContractRow{"ChildAndNextKeepTheOrder", BuildTwoTrees,
                    "[ ] Inbox <I>\n  [ ] Work <W>\n    [ ] 2026 <W6>\n  [ ] Private <P>\n"
                    "[ ] Sent Items <S>\n"},
        ContractRow{"NextGoesRightAfterItsRelative",
                    [](FolderView& v) {
                      std::vector<bool> r = BuildTwoTrees(v);
                      r.push_back(v.AddNode(QStringLiteral("I"), Relation::Next,
                                            QStringLiteral("X"), QStringLiteral("Between")));
                      r.push_back(v.AddNode(QStringLiteral("I"), Relation::Child,
                                            QStringLiteral("L"), QStringLiteral("Last")));
                      return r;
                    },
                    "[ ] Inbox <I>\n  [ ] Work <W>\n    [ ] 2026 <W6>\n  [ ] Private <P>\n"
                    "  [ ] Last <L>\n[ ] Between <X>\n[ ] Sent Items <S>\n"},
        ContractRow{"DuplicateAndUnknownKeysAreRefused",
                    [](FolderView& v) {
                      std::vector<bool> r = BuildTwoTrees(v);
                      r.push_back(v.AddRoot(QStringLiteral("W"), QStringLiteral("Again")));
                      r.push_back(v.AddNode(QStringLiteral("I"), Relation::Child,
                                            QStringLiteral("P"), QStringLiteral("Again")));
                      r.push_back(v.AddNode(QStringLiteral("none"), Relation::Child,
                                            QStringLiteral("Z"), QStringLiteral("Orphan")));
                      v.Set(QStringLiteral("none"), Flag::Checked, true);
                      return r;
                    },
                    "[ ] Inbox <I>\n  [ ] Work <W>\n    [ ] 2026 <W6>\n  [ ] Private <P>\n"
                    "[ ] Sent Items <S>\n"},
        ContractRow{"FlagsAndLeavesExpanded",
                    [](FolderView& v) {
                      std::vector<bool> r = BuildTwoTrees(v);
                      for (const char* key : {"I", "W", "W6", "P", "S"}) {
                        v.Set(QString::fromUtf8(key), Flag::Expanded, true);
                      }
                      v.Set(QStringLiteral("I"), Flag::Checked, true);
                      v.Set(QStringLiteral("W6"), Flag::Checked, true);
                      v.Set(QStringLiteral("W6"), Flag::Checked, false);
                      v.Set(QStringLiteral("W"), Flag::Bold, true);
                      v.Set(QStringLiteral("W6"), Flag::Bold, true);
                      v.Set(QStringLiteral("W6"), Flag::Bold, false);
                      return r;
                    },
                    "[x] Inbox <I> expanded\n  [ ] Work <W> expanded bold\n"
                    "    [ ] 2026 <W6> expanded\n  [ ] Private <P> expanded\n"
                    "[ ] Sent Items <S> expanded\n"},
        ContractRow{"OneSelectionOnly",
                    [](FolderView& v) {
                      std::vector<bool> r = BuildTwoTrees(v);
                      v.Set(QStringLiteral("I"), Flag::Selected, true);
                      v.Set(QStringLiteral("W"), Flag::Selected, true);
                      r.push_back(v.Get(QStringLiteral("I"), Flag::Selected));
                      v.Set(QStringLiteral("W6"), Flag::Selected, true);
                      v.Set(QStringLiteral("W6"), Flag::Selected, false);
                      v.Set(QStringLiteral("S"), Flag::Selected, true);
                      return r;
                    },
                    "[ ] Inbox <I>\n  [ ] Work <W>\n    [ ] 2026 <W6>\n  [ ] Private <P>\n"
                    "[ ] Sent Items <S> selected\n"},
        ContractRow{"ClearEmptiesAndFreesTheKeys",
                    [](FolderView& v) {
                      std::vector<bool> r = BuildTwoTrees(v);
                      v.Clear();
                      r.push_back(v.HasNode(QStringLiteral("I")));
                      r.push_back(v.AddRoot(QStringLiteral("W"), QStringLiteral("Work")));
                      return r;
                    },
                    "[ ] Work <W>\n"}),
    testing::RowName{});

class FolderTreeNotificationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    widget.show();
    BuildTwoTrees(view);
    view.Set(QStringLiteral("I"), Flag::Checked, true);
  }

  // Space on the current node, as the user presses it.
  void PressSpaceOn(const QString& key) {
    widget.setCurrentItem(widget.Node(key));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(&widget, &press);
  }

  FolderTreeWidget widget;
  FolderTreeView view{widget};
};

// Only what the user changes is reported, one node at a time.
TEST_F(FolderTreeNotificationTest, ReportsTheUsersTicksOnly) {
  std::vector<std::pair<QString, bool>> spy;
  QObject::connect(&widget, &FolderTreeWidget::NodeCheck,
                   [&spy](const QString& key, bool checked) { spy.emplace_back(key, checked); });
  // The program's own changes: none reported.
  view.Set(QStringLiteral("W"), Flag::Checked, true);
  view.Set(QStringLiteral("W"), Flag::Bold, true);
  view.Set(QStringLiteral("W"), Flag::Selected, true);
  view.Set(QStringLiteral("P"), Flag::Expanded, true);
  view.AddNode(QStringLiteral("P"), Relation::Child, QStringLiteral("P1"), QStringLiteral("Old"));
  view.SetViewEnabled(false);
  view.SetViewEnabled(true);
  EXPECT_TRUE(spy.empty());

  PressSpaceOn(QStringLiteral("I"));   // clears the tick
  PressSpaceOn(QStringLiteral("W6"));  // ticks
  PressSpaceOn(QStringLiteral("I"));   // ticks again
  ASSERT_EQ(spy.size(), 3U);
  EXPECT_EQ(spy[0], std::make_pair(QStringLiteral("I"), false));
  EXPECT_EQ(spy[1], std::make_pair(QStringLiteral("W6"), true));
  EXPECT_EQ(spy[2], std::make_pair(QStringLiteral("I"), true));
  // A parent's tick leaves its children as they were.
  EXPECT_TRUE(view.Get(QStringLiteral("W6"), Flag::Checked));
  EXPECT_FALSE(view.Get(QStringLiteral("P"), Flag::Checked));
  // A change of the font after the user's tick is no tick.
  view.Set(QStringLiteral("I"), Flag::Bold, true);
  widget.Node(QStringLiteral("I"))->setText(0, QStringLiteral("Inbox (renamed)"));
  EXPECT_EQ(spy.size(), 3U);
}

TEST_F(FolderTreeNotificationTest, SwitchedOffDuringARebuild) {
  view.SetViewEnabled(false);
  EXPECT_FALSE(widget.isEnabled());
  view.SetViewEnabled(true);
  EXPECT_TRUE(widget.isEnabled());
  EXPECT_TRUE(widget.updatesEnabled());
  EXPECT_EQ(widget.objectName(), QStringLiteral("FolderTree"));
}

}  // namespace
}  // namespace zandor
