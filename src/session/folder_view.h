#pragma once

#include <QString>

namespace zandor {

// The folder tree as the core sees it: nodes with a unique text key (the
// folder's entry id), a text (the folder's name) and four flags. The window's
// tree widget implements it; tests use a plain model. Every call returns at
// once and never fails, except AddRoot/AddNode, which refuse a key that is
// already in the tree or a relative key that is not.
class FolderView {
 public:
  enum class Relation { Child, Next };
  enum class Flag { Checked, Expanded, Selected, Bold };

  virtual ~FolderView() = default;

  virtual void Clear() = 0;
  // Switches the view off during a rebuild and on again afterwards.
  virtual void SetViewEnabled(bool enabled) = 0;
  // Adds a top-level node after the existing ones.
  virtual bool AddRoot(const QString& key, const QString& text) = 0;
  // Adds a node as the last child of, or as the next sibling of, the node
  // whose key is relativeKey.
  virtual bool AddNode(const QString& relativeKey, Relation relation, const QString& key,
                       const QString& text) = 0;
  virtual bool HasNode(const QString& key) const = 0;
  // Flags of an unknown key read as false; setting them does nothing.
  virtual bool Get(const QString& key, Flag flag) const = 0;
  virtual void Set(const QString& key, Flag flag, bool on) = 0;
};

}  // namespace zandor
