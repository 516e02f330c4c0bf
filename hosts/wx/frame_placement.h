// Where the program's windows beside the dialog (the chart, the sweep) open.
#pragma once

#include <wx/toplevel.h>

namespace wxhost {

// Moves `frame` to the right of `owner`, `drop` pixels below its top, where it
// hides none of it as far as the screen has room; never off the screen.
void PlaceBeside(wxTopLevelWindow& frame, wxWindow& owner, int drop);

}  // namespace wxhost
