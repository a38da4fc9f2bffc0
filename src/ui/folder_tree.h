#pragma once

#include <QHash>
#include <QString>
#include <QTreeWidget>

#include "session/folder_view.h"

namespace zandor {

// FolderTree: the folder selection tree of the main window, one node per mail
// folder with a check box, keyed by the folder's entry id. Only a tick the
// user changes is reported (NodeCheck); the changes the program makes itself
// while it rebuilds the tree or shows the walk are not.
class FolderTreeWidget final : public QTreeWidget {
  Q_OBJECT

 public:
  explicit FolderTreeWidget(QWidget* parent = nullptr);

  // The node of a key; nullptr when there is none.
  QTreeWidgetItem* Node(const QString& key) const { return nodes_.value(key, nullptr); }

 Q_SIGNALS:
  // The user has just ticked (checked) or cleared a node's check box.
  void NodeCheck(const QString& key, bool checked);

 private:
  friend class FolderTreeView;

  // While one is alive, changes to the items are the program's own.
  class ProgramChange {
   public:
    explicit ProgramChange(FolderTreeWidget& tree) : tree_(tree) { ++tree_.programChanges_; }
    ~ProgramChange() { --tree_.programChanges_; }
    ProgramChange(const ProgramChange&) = delete;
    ProgramChange& operator=(const ProgramChange&) = delete;

   private:
    FolderTreeWidget& tree_;
  };

  void OnItemChanged(QTreeWidgetItem* item, int column);

  QHash<QString, QTreeWidgetItem*> nodes_;
  int programChanges_ = 0;
};

// The core's view of the tree, over the widget. Selected behaves as in a tree
// with one selection: selecting a node clears the selection of every other.
class FolderTreeView final : public FolderView {
 public:
  explicit FolderTreeView(FolderTreeWidget& tree) : tree_(tree) {}

  void Clear() override;
  void SetViewEnabled(bool enabled) override;
  bool AddRoot(const QString& key, const QString& text) override;
  bool AddNode(const QString& relativeKey, Relation relation, const QString& key,
               const QString& text) override;
  bool HasNode(const QString& key) const override;
  bool Get(const QString& key, Flag flag) const override;
  void Set(const QString& key, Flag flag, bool on) override;

 private:
  QTreeWidgetItem* NewItem(const QString& key, const QString& text);

  FolderTreeWidget& tree_;
};

}  // namespace zandor
