#pragma once

#include <QString>
#include <memory>

#include "front/port_presence.h"

namespace zandor {

// An open window holds this mark, so that zandor --watch leaves the runs to
// the window while it is open: the user then sees the run in it. The mark is
// a shared lock on a file in the state folder, which the kernel lets go when
// the window's process ends, however it ends.
class WindowMark {
 public:
  // Takes the mark in folder; nullptr when it cannot be taken (no folder).
  static std::unique_ptr<WindowMark> Take(const QString& folder);
  // Whether a window holds the mark in folder now.
  static bool Held(const QString& folder);

  explicit WindowMark(UniqueFd fd) : fd_(std::move(fd)) {}

 private:
  UniqueFd fd_;
};

}  // namespace zandor
