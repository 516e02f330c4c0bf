#include "hosts/wx/log_list.h"

#include <wx/dc.h>
#include <wx/settings.h>

#include "hosts/wx/wx_text.h"

namespace wxhost {

LogList::LogList(wxWindow* parent, bool notify)
    : wxVListBox(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                 wxLB_MULTIPLE | wxVSCROLL | wxBORDER_THEME),
      notify_(notify) {
  lineHeight_ = GetCharHeight() + 2;
  SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_LISTBOX));
  Bind(wxEVT_LEFT_DOWN, &LogList::OnLeftDown, this);
  Bind(wxEVT_LEFT_DCLICK, &LogList::OnLeftDoubleClick, this);
}

int LogList::Append(std::string line) {
  lines_.push_back(Entry{std::move(line), 0});
  // Telling the scrolled window about every line would redo its scroll bar
  // each time; one update per batch of appends is enough, since nothing is
  // drawn before the event loop runs again.
  Sync();
  return Count() - 1;
}

const std::string* LogList::Line(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return &lines_[static_cast<size_t>(index)].text;
}

uintptr_t LogList::Data(int index) const {
  if (index < 0 || index >= Count()) return 0;
  return lines_[static_cast<size_t>(index)].data;
}

bool LogList::SetData(int index, uintptr_t data) {
  if (index < 0 || index >= Count()) return false;
  lines_[static_cast<size_t>(index)].data = data;
  return true;
}

void LogList::RemoveAll() {
  lines_.clear();
  pendingTop_ = -1;
  caret_ = -1;
  wxVListBox::Clear();
}

bool LogList::ScrollToLine(int index) {
  if (index < 0 || index >= Count()) return false;
  pendingTop_ = index;
  Sync();
  return true;
}

bool LogList::SetCaretLine(int index) {
  if (index < -1 || index >= Count()) return false;
  if (GetItemCount() != lines_.size()) SetItemCount(lines_.size());
  DoSetCurrent(index);
  caret_ = index;
  return true;
}

void LogList::Sync() {
  if (syncQueued_ || (GetItemCount() == lines_.size() && pendingTop_ < 0)) return;
  syncQueued_ = true;
  CallAfter([this] {
    syncQueued_ = false;
    if (GetItemCount() != lines_.size()) SetItemCount(lines_.size());
    if (pendingTop_ >= 0 && static_cast<size_t>(pendingTop_) < lines_.size()) {
      ScrollToRow(static_cast<size_t>(pendingTop_));
    }
    pendingTop_ = -1;
  });
}

void LogList::OnDrawItem(wxDC& dc, const wxRect& rect, size_t n) const {
  if (n >= lines_.size()) return;
  dc.SetTextForeground(IsSelected(n) ? wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT)
                                     : GetForegroundColour());
  dc.DrawText(ToWx(lines_[n].text), rect.x + 2, rect.y + 1);
}

wxCoord LogList::OnMeasureItem(size_t) const { return lineHeight_; }

void LogList::OnLeftDown(wxMouseEvent& event) {
  SetFocus();
  const int item = VirtualHitTest(event.GetPosition().y);
  if (item == wxNOT_FOUND) return;
  Toggle(static_cast<size_t>(item));
  DoSetCurrent(item);
  caret_ = item;
  if (notify_ && onClick) onClick();
}

void LogList::OnLeftDoubleClick(wxMouseEvent&) {
  if (notify_ && onDoubleClick) onDoubleClick();
}

}  // namespace wxhost
