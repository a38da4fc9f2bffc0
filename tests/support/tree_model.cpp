#include "support/tree_model.h"

namespace zandor::testing {

namespace {

int Index(FolderView::Flag flag) {
  return static_cast<int>(flag);
}

}  // namespace

void TreeModel::Clear() {
  nodes_.clear();
  roots_.clear();
}

void TreeModel::SetViewEnabled(bool enabled) {
  if (!enabled && viewEnabled_) ++viewDisabledCount_;
  viewEnabled_ = enabled;
}

bool TreeModel::AddRoot(const QString& key, const QString& text) {
  if (HasNode(key)) return false;
  nodes_[key].text = text;
  roots_ << key;
  return true;
}

bool TreeModel::AddNode(const QString& relativeKey, Relation relation, const QString& key,
                        const QString& text) {
  if (HasNode(key) || !HasNode(relativeKey)) return false;
  Node node;
  node.text = text;
  if (relation == Relation::Child) {
    node.parent = relativeKey;
    nodes_[relativeKey].children << key;
  } else {
    const Node& relative = nodes_[relativeKey];
    node.parent = relative.parent;
    QStringList& siblings = SiblingsOf(relative);
    siblings.insert(siblings.indexOf(relativeKey) + 1, key);
  }
  nodes_[key] = std::move(node);
  return true;
}

bool TreeModel::Get(const QString& key, Flag flag) const {
  const auto it = nodes_.find(key);
  return it != nodes_.end() && it->second.flags[Index(flag)];
}

void TreeModel::Set(const QString& key, Flag flag, bool on) {
  const auto it = nodes_.find(key);
  if (it == nodes_.end()) return;
  if (flag == Flag::Selected && on) {
    for (auto& [otherKey, other] : nodes_) other.flags[Index(Flag::Selected)] = false;
  }
  it->second.flags[Index(flag)] = on;
}

QStringList TreeModel::Children(const QString& key) const {
  const auto it = nodes_.find(key);
  return it == nodes_.end() ? QStringList() : it->second.children;
}

QString TreeModel::Text(const QString& key) const {
  const auto it = nodes_.find(key);
  return it == nodes_.end() ? QString() : it->second.text;
}

std::optional<QString> TreeModel::Parent(const QString& key) const {
  const auto it = nodes_.find(key);
  return it == nodes_.end() ? std::nullopt : it->second.parent;
}

QString TreeModel::Dump() const {
  QString out;
  for (const QString& root : roots_) DumpNode(root, 0, out);
  return out;
}

QStringList& TreeModel::SiblingsOf(const Node& node) {
  return node.parent ? nodes_[*node.parent].children : roots_;
}

void TreeModel::DumpNode(const QString& key, int depth, QString& out) const {
  const Node& node = nodes_.at(key);
  out += QString(depth * 2, QLatin1Char(' '));
  out += node.flags[Index(Flag::Checked)] ? QStringLiteral("[x] ") : QStringLiteral("[ ] ");
  out += node.text + QStringLiteral(" <") + key + QLatin1Char('>');
  if (node.flags[Index(Flag::Expanded)]) out += QStringLiteral(" expanded");
  if (node.flags[Index(Flag::Selected)]) out += QStringLiteral(" selected");
  if (node.flags[Index(Flag::Bold)]) out += QStringLiteral(" bold");
  out += QLatin1Char('\n');
  for (const QString& child : node.children) DumpNode(child, depth + 1, out);
}

}  // namespace zandor::testing
