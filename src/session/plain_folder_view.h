#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <map>
#include <optional>

#include "session/folder_view.h"

namespace zandor {

// The folder tree without a widget, for the run without a window: nodes in
// their order, each with its four flags. Like the tree widget it has one
// selection.
class PlainFolderView final : public FolderView {
 public:
  void Clear() override;
  void SetViewEnabled(bool) override {}
  bool AddRoot(const QString& key, const QString& text) override;
  bool AddNode(const QString& relativeKey, Relation relation, const QString& key,
               const QString& text) override;
  bool HasNode(const QString& key) const override { return nodes_.count(key) != 0; }
  bool Get(const QString& key, Flag flag) const override;
  void Set(const QString& key, Flag flag, bool on) override;

 private:
  struct Node {
    QString text;
    std::optional<QString> parent;
    QStringList children;
    std::array<bool, 4> flags{};
  };

  QStringList& SiblingsOf(const Node& node);

  std::map<QString, Node> nodes_;
  QStringList roots_;
};

}  // namespace zandor
