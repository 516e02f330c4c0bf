// A modeless chart window beside the dialog: the program computes the picture
// in pixels and answers the window's controls; a host only paints the picture
// and forwards the user's choices.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fw {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

struct ChartPoint {
  int x = 0, y = 0;
  bool operator==(const ChartPoint&) const = default;
};

// Painted in this order: rectangles, lines, texts.
struct ChartPicture {
  struct Rect {
    Rgb colour;
    int x = 0, y = 0, w = 0, h = 0;
  };
  struct Line {
    Rgb colour;
    int width = 1;
    std::vector<ChartPoint> points;  // a polyline
  };
  struct Text {
    Rgb colour;
    int x = 0, y = 0;  // top left, or top right when alignRight
    bool alignRight = false;
    std::string text;
  };
  Rgb background{255, 255, 255};
  std::vector<Rect> rects;
  std::vector<Line> lines;
  std::vector<Text> texts;
};

// What the chart window shows and what its controls do. All calls are made on
// the user-interface thread.
class ChartWindowModel {
 public:
  virtual ~ChartWindowModel() = default;
  // The window's caption.
  virtual std::string Title() const = 0;
  // The choices of the span list, and the one chosen.
  virtual std::vector<std::string> SpanNames() const = 0;
  virtual int Span() const = 0;
  virtual void SetSpan(int index) = 0;
  // The caption and state of the check box (fast sampling).
  virtual std::string SwitchName() const = 0;
  virtual bool Switch() const = 0;
  virtual void SetSwitch(bool on) = 0;
  // The "Save CSV..." button was pressed.
  virtual void Save() = 0;
  // The latest figures, a few short lines.
  virtual std::string Summary() const = 0;
  // The chart for a drawing area of this size in pixels.
  virtual ChartPicture Picture(int width, int height) const = 0;
  // The user closed the window; the host destroys it after this call.
  virtual void Closed() = 0;
};

// The open window, as the program sees it.
class ChartWindow {
 public:
  virtual ~ChartWindow() = default;
  // New data: repaint the chart and the summary soon.
  virtual void ShowNewData() = 0;
  // Brings the window to the front.
  virtual void BringToFront() = 0;
};

}  // namespace fw
