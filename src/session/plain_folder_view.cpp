#include "session/plain_folder_view.h"

namespace zandor {

void PlainFolderView::Clear() {
  nodes_.clear();
  roots_.clear();
}

bool PlainFolderView::AddRoot(const QString& key, const QString& text) {
  if (HasNode(key)) return false;
  nodes_[key] = Node{text, std::nullopt, {}, {}};
  roots_ << key;
  return true;
}

QStringList& PlainFolderView::SiblingsOf(const Node& node) {
  return node.parent ? nodes_[*node.parent].children : roots_;
}

bool PlainFolderView::AddNode(const QString& relativeKey, Relation relation, const QString& key,
                              const QString& text) {
  if (HasNode(key) || !HasNode(relativeKey)) return false;
  const Node relative = nodes_[relativeKey];
  if (relation == Relation::Child) {
    nodes_[key] = Node{text, relativeKey, {}, {}};
    nodes_[relativeKey].children << key;
    return true;
  }
  nodes_[key] = Node{text, relative.parent, {}, {}};
  QStringList& siblings = SiblingsOf(relative);
  // The walk adds each sibling after the one it added last: look from the end.
  siblings.insert(siblings.lastIndexOf(relativeKey) + 1, key);
  return true;
}

bool PlainFolderView::Get(const QString& key, Flag flag) const {
  const auto it = nodes_.find(key);
  return it != nodes_.end() && it->second.flags[static_cast<std::size_t>(flag)];
}

void PlainFolderView::Set(const QString& key, Flag flag, bool on) {
  const auto it = nodes_.find(key);
  if (it == nodes_.end()) return;
  if (flag == Flag::Selected && on) {
    for (auto& entry : nodes_) entry.second.flags[static_cast<std::size_t>(Flag::Selected)] = false;
  }
  it->second.flags[static_cast<std::size_t>(flag)] = on;
}

}  // namespace zandor
