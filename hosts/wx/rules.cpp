#include "hosts/wx/rules.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace wxhost {

fw::DluRect ScreenDlu(const fw::ControlTemplate& control) {
  fw::DluRect r = control.rect;
  if (control.kind == fw::ControlKind::ComboBox) r.cy = std::min(r.cy, kClosedComboDlu);
  return r;
}

PixelRect ToPixels(const fw::DluRect& r, Scale scale) {
  const int left = static_cast<int>(std::lround(r.x * scale.x));
  const int top = static_cast<int>(std::lround(r.y * scale.y));
  const int right = static_cast<int>(std::lround((r.x + r.cx) * scale.x));
  const int bottom = static_cast<int>(std::lround((r.y + r.cy) * scale.y));
  return PixelRect{left, top, right - left, bottom - top};
}

Scale FitScale(Scale base, const std::vector<Fit>& fits, double maxFactor) {
  double fx = 1.0;
  double fy = 1.0;
  for (const Fit& f : fits) {
    // Rounding can take up to a pixel off a rectangle; ask for one more.
    if (f.neededWidth > 0 && f.dlu.cx > 0) {
      fx = std::max(fx, (f.neededWidth + 1.0) / (f.dlu.cx * base.x));
    }
    if (f.neededHeight > 0 && f.dlu.cy > 0) {
      fy = std::max(fy, (f.neededHeight + 1.0) / (f.dlu.cy * base.y));
    }
  }
  fx = std::min(fx, maxFactor);
  fy = std::min(fy, maxFactor);
  return Scale{base.x * fx, base.y * fy};
}

std::string Wildcard(const std::string& filter, bool starDotStarMatchesAll) {
  // Split on '|' and drop the empty fields the "||" terminator leaves.
  std::vector<std::string> fields;
  size_t start = 0;
  while (start <= filter.size()) {
    const size_t bar = filter.find('|', start);
    const size_t end = bar == std::string::npos ? filter.size() : bar;
    fields.push_back(filter.substr(start, end - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  while (!fields.empty() && fields.back().empty()) fields.pop_back();
  // A description without a pattern cannot be offered.
  if (fields.size() % 2 != 0) fields.pop_back();

  std::string out;
  for (size_t i = 0; i < fields.size(); ++i) {
    std::string field = fields[i];
    if (i % 2 == 1 && !starDotStarMatchesAll) {
      // Patterns are ';'-separated; only a whole "*.*" pattern means "all".
      std::string rebuilt;
      size_t s = 0;
      while (s <= field.size()) {
        const size_t semi = field.find(';', s);
        const size_t e = semi == std::string::npos ? field.size() : semi;
        const std::string_view pattern = std::string_view(field).substr(s, e - s);
        rebuilt.append(pattern == "*.*" ? std::string_view("*") : pattern);
        if (semi == std::string::npos) break;
        rebuilt += ';';
        s = semi + 1;
      }
      field = rebuilt;
    }
    if (i > 0) out += '|';
    out += field;
  }
  return out;
}

}  // namespace wxhost
