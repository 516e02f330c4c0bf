// The message list: a virtual list box over the framework's list model that
// draws only the rows in view, so appending and scrolling stay cheap with a
// million lines (a native list box of that size gets slow to append to and
// to scroll on GTK). Each click toggles a line's selection.
#pragma once

#include <wx/vlbox.h>

#include <functional>
#include <string_view>

#include "framework/list_model.h"

namespace wxhost {

class LogList : public wxVListBox {
 public:
  explicit LogList(wxWindow* parent);

  // Called on a click (after the selection was toggled) and on a double-click.
  std::function<void()> onClick;
  std::function<void()> onDoubleClick;

  int Append(std::string_view line);
  // The lines, their item data and the caret line (the model's selection).
  fw::ListModel& Lines() { return lines_; }
  const fw::ListModel& Lines() const { return lines_; }
  void RemoveAll();
  // Scrolls so that the line is as near the top as it can be; false when
  // there is no such line.
  bool ScrollToLine(int index);
  // The line with the caret (keyboard focus rectangle), or -1.
  int CaretLine() const { return lines_.Selection(); }
  bool SetCaretLine(int index);

 protected:
  void OnDrawItem(wxDC& dc, const wxRect& rect, size_t n) const override;
  wxCoord OnMeasureItem(size_t n) const override;

 private:
  void OnLeftDown(wxMouseEvent& event);
  void OnLeftDoubleClick(wxMouseEvent& event);
  // Applies the line count to the scrolled window, at most once per batch.
  void Sync();

  size_t Size() const { return static_cast<size_t>(lines_.Count()); }

  fw::ListModel lines_;
  wxCoord lineHeight_;
  wxColour text_;
  wxColour selectedText_;
  int pendingTop_ = -1;
  bool syncQueued_ = false;
};

}  // namespace wxhost
