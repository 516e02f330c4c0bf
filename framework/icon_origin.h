// Where a minimised window draws its icon: centred in the client area.
#pragma once

namespace fw {

struct Point {
  int x = 0, y = 0;
};

// The top-left corner of an icon centred in a client area, rounding as the
// classic dialog does: (client - icon + 1) / 2 in integer arithmetic.
inline Point CenteredIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight) {
  return {(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}

}  // namespace fw
