#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

#include "session/folder_view.h"

namespace zandor::testing {

// A plain FolderView: the folder tree without a widget, with the full
// contract (unique keys, Child and Next placement, four flags per node, the
// view switched off and on), plus read-back for tests. Like the tree widget,
// it has one selection: selecting a node deselects every other.
class TreeModel final : public FolderView {
 public:
  void Clear() override;
  void SetViewEnabled(bool enabled) override;
  bool AddRoot(const QString& key, const QString& text) override;
  bool AddNode(const QString& relativeKey, Relation relation, const QString& key,
               const QString& text) override;
  bool HasNode(const QString& key) const override { return nodes_.count(key) != 0; }
  bool Get(const QString& key, Flag flag) const override;
  void Set(const QString& key, Flag flag, bool on) override;

  bool ViewEnabled() const { return viewEnabled_; }
  // How often the view was switched off (a rebuild switches it off once).
  int ViewDisabledCount() const { return viewDisabledCount_; }
  int NodeCount() const { return static_cast<int>(nodes_.size()); }
  QStringList Roots() const { return roots_; }
  QStringList Children(const QString& key) const;
  QString Text(const QString& key) const;
  // The parent's key; nullopt for a root or an unknown key.
  std::optional<QString> Parent(const QString& key) const;
  // The whole tree, one node a line, two blanks of indent per level:
  //   [x] Inbox <key> expanded selected bold
  // with "[ ]" for an unchecked node and only the flags that are set.
  QString Dump() const;

 private:
  struct Node {
    QString text;
    std::optional<QString> parent;
    QStringList children;
    bool flags[4] = {false, false, false, false};
  };

  QStringList& SiblingsOf(const Node& node);
  void DumpNode(const QString& key, int depth, QString& out) const;

  std::map<QString, Node> nodes_;
  QStringList roots_;
  bool viewEnabled_ = true;
  int viewDisabledCount_ = 0;
};

}  // namespace zandor::testing
