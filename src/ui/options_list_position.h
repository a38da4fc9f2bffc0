#pragma once

namespace zandor {

// The options lists' positions are the enumerations' values less one: none
// counts 0.
template <class Enum>
Enum FromPosition(int position) {
  return static_cast<Enum>(position + 1);
}
template <class Enum>
int PositionOf(Enum value) {
  return static_cast<int>(value) - 1;
}

}  // namespace zandor
