// Rules of the wxWidgets host that need no window: how template rectangles
// become pixels, and how file-dialog requests become wxWidgets arguments.
#pragma once

#include <string>
#include <vector>

#include "framework/dialog_template.h"

namespace wxhost {

// Height, in dialog units, that a drop-down list takes when closed. A
// template gives a drop-down the height of its open list instead.
inline constexpr int kClosedComboDlu = 14;

// A rectangle in pixels.
struct PixelRect {
  int x = 0, y = 0, width = 0, height = 0;
  int Right() const { return x + width; }
  int Bottom() const { return y + height; }
  bool Overlaps(const PixelRect& o) const {
    return x < o.Right() && o.x < Right() && y < o.Bottom() && o.y < Bottom();
  }
};

// Pixels per dialog unit, horizontally and vertically.
struct Scale {
  double x = 1.0;
  double y = 1.0;
};

// The rectangle a control of this kind occupies on screen, in dialog units: a
// drop-down list keeps only its closed height.
fw::DluRect ScreenDlu(const fw::ControlTemplate& control);

// Dialog units to pixels. Both edges of a rectangle are rounded, so
// rectangles that touch in the template touch on screen and never overlap.
PixelRect ToPixels(const fw::DluRect& r, Scale scale);

// What a control needs to show its content whole, and what it gets at the
// base scale of the dialog font.
struct Fit {
  fw::ControlKind kind = fw::ControlKind::Static;
  fw::DluRect dlu;       // the screen rectangle in dialog units
  int neededWidth = 0;   // pixels; 0 = any width will do
  int neededHeight = 0;  // pixels; 0 = any height will do
};

// The smallest scale at or above `base` at which every control gets at least
// what it needs, each axis on its own, capped at `maxFactor` times the base
// (a control that wants more is cut rather than blowing the window up).
Scale FitScale(Scale base, const std::vector<Fit>& fits, double maxFactor);

// The filter of a file request ("Desc|pattern|...||") as a wxWidgets
// wildcard: without the empty trailing pairs, and where the host does not
// treat "*.*" as every file (everywhere but Windows), "*" instead.
std::string Wildcard(const std::string& filter, bool starDotStarMatchesAll);

}  // namespace wxhost
