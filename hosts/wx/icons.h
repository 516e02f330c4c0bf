// The application icon (resource 128) for wxWidgets windows.
#pragma once

#include <wx/iconbndl.h>

#include "framework/host.h"

namespace wxhost {

// The sizes of the icon with this resource id that a window shows (up to
// 64 pixels); empty for an unknown id.
wxIconBundle IconBundle(fw::IconHandle icon);
// One size of it (the nearest, scaled when no image has that size).
wxBitmap IconBitmap(fw::IconHandle icon, int size);

}  // namespace wxhost
