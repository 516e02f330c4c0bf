#include "hosts/wx/frame_placement.h"

#include <wx/display.h>

#include <algorithm>

namespace wxhost {

void PlaceBeside(wxTopLevelWindow& frame, wxWindow& owner, int drop) {
  const wxRect beside = owner.GetScreenRect();
  const int display = wxDisplay::GetFromWindow(&owner);
  const wxRect screen =
      wxDisplay(display == wxNOT_FOUND ? 0u : static_cast<unsigned>(display)).GetClientArea();
  const wxSize size = frame.GetSize();
  frame.Move(std::max(screen.GetLeft(),
                      std::min(beside.GetRight() + 8, screen.GetRight() - size.GetWidth())),
             std::max(screen.GetTop(),
                      std::min(beside.GetTop() + drop, screen.GetBottom() - size.GetHeight())));
}

}  // namespace wxhost
