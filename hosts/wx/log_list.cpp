#include "hosts/wx/log_list.h"

#include <wx/dc.h>
#include <wx/settings.h>

#include "hosts/wx/wx_text.h"

namespace wxhost {

LogList::LogList(wxWindow* parent)
    : wxVListBox(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                 wxLB_MULTIPLE | wxVSCROLL | wxBORDER_THEME) {
  lineHeight_ = GetCharHeight() + 2;
  // Looked up once: on GTK the list's default colours come from a widget
  // built for the purpose, far too slow to ask for on every row drawn.
  text_ = GetForegroundColour();
  selectedText_ = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT);
  SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_LISTBOX));
  Bind(wxEVT_LEFT_DOWN, &LogList::OnLeftDown, this);
  Bind(wxEVT_LEFT_DCLICK, &LogList::OnLeftDoubleClick, this);
}

int LogList::Append(std::string_view line) {
  const int index = lines_.Add(line);
  // Telling the scrolled window about every line would redo its scroll bar
  // each time; one update per batch of appends is enough, since nothing is
  // drawn before the event loop runs again.
  Sync();
  return index;
}

void LogList::RemoveAll() {
  lines_.Clear();
  pendingTop_ = -1;
  wxVListBox::Clear();
}

bool LogList::ScrollToLine(int index) {
  if (lines_.SetTop(index) != 0) return false;
  pendingTop_ = index;
  Sync();
  return true;
}

bool LogList::SetCaretLine(int index) {
  if (index < -1 || index >= lines_.Count()) return false;
  if (GetItemCount() != Size()) SetItemCount(Size());
  DoSetCurrent(index);
  lines_.Select(index);
  return true;
}

void LogList::Sync() {
  if (syncQueued_ || (GetItemCount() == Size() && pendingTop_ < 0)) return;
  syncQueued_ = true;
  CallAfter([this] {
    syncQueued_ = false;
    if (GetItemCount() != Size()) SetItemCount(Size());
    if (pendingTop_ >= 0 && pendingTop_ < lines_.Count()) {
      ScrollToRow(static_cast<size_t>(pendingTop_));
    }
    pendingTop_ = -1;
  });
}

void LogList::OnDrawItem(wxDC& dc, const wxRect& rect, size_t n) const {
  if (n >= Size()) return;
  dc.SetTextForeground(IsSelected(n) ? selectedText_ : text_);
  dc.DrawText(ToWx(lines_.Text(static_cast<int>(n))), rect.x + 2, rect.y + 1);
}

wxCoord LogList::OnMeasureItem(size_t) const { return lineHeight_; }

void LogList::OnLeftDown(wxMouseEvent& event) {
  SetFocus();
  const int item = VirtualHitTest(event.GetPosition().y);
  if (item == wxNOT_FOUND) return;
  Toggle(static_cast<size_t>(item));
  DoSetCurrent(item);
  lines_.Select(item);
  if (onClick) onClick();
}

void LogList::OnLeftDoubleClick(wxMouseEvent&) {
  if (onDoubleClick) onDoubleClick();
}

}  // namespace wxhost
