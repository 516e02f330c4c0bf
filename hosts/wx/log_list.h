// The message list: a virtual list box that holds its lines itself and draws
// only the rows in view, so appending stays cheap with hundreds of thousands
// of lines (a native list box of that size gets slow to append to and to
// scroll on GTK). Each click toggles a line's selection.
#pragma once

#include <wx/vlbox.h>

#include <functional>
#include <string>
#include <vector>

namespace wxhost {

class LogList : public wxVListBox {
 public:
  LogList(wxWindow* parent, bool notify);

  // Called on a click (after the selection was toggled) and on a double-click.
  std::function<void()> onClick;
  std::function<void()> onDoubleClick;

  int Append(std::string line);
  int Count() const { return static_cast<int>(lines_.size()); }
  const std::string* Line(int index) const;
  uintptr_t Data(int index) const;
  bool SetData(int index, uintptr_t data);
  void RemoveAll();
  // Scrolls so that the line is as near the top as it can be; false when
  // there is no such line.
  bool ScrollToLine(int index);
  // The line with the caret (keyboard focus rectangle), or -1.
  int CaretLine() const { return caret_; }
  bool SetCaretLine(int index);

 protected:
  void OnDrawItem(wxDC& dc, const wxRect& rect, size_t n) const override;
  wxCoord OnMeasureItem(size_t n) const override;

 private:
  void OnLeftDown(wxMouseEvent& event);
  void OnLeftDoubleClick(wxMouseEvent& event);
  // Applies the line count to the scrolled window, at most once per batch.
  void Sync();

  struct Entry {
    std::string text;
    uintptr_t data = 0;
  };
  std::vector<Entry> lines_;
  bool notify_;
  wxCoord lineHeight_;
  int pendingTop_ = -1;
  bool syncQueued_ = false;
  int caret_ = -1;
};

}  // namespace wxhost
