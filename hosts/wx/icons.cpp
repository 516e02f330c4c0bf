#include "hosts/wx/icons.h"

#include <wx/image.h>
#include <wx/mstream.h>

#include "res/icon.h"
#include "res/resource_ids.h"

namespace wxhost {

namespace {

wxImage Decode(const res::IconImage& image) {
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  wxMemoryInputStream in(image.png, image.length);
  return wxImage(in, wxBITMAP_TYPE_PNG);
}

// Window managers draw a window's icon at 16 to 64 pixels; bigger pictures
// (the task switcher, the launcher) come from the installed icon theme through
// the desktop file. Handing the 256-pixel image to the window as well costs
// its decoding and a quarter of a megabyte sent to the X server on every
// start-up.
constexpr int kLargestWindowIcon = 64;

}  // namespace

wxIconBundle IconBundle(fw::IconHandle icon) {
  wxIconBundle bundle;
  if (icon != static_cast<fw::IconHandle>(IDR_MAINFRAME)) return bundle;
  for (const res::IconImage& image : res::AppIconImages()) {
    if (image.size > kLargestWindowIcon) continue;
    const wxImage decoded = Decode(image);
    if (!decoded.IsOk()) continue;
    wxIcon i;
    i.CopyFromBitmap(wxBitmap(decoded));
    bundle.AddIcon(i);
  }
  return bundle;
}

wxBitmap IconBitmap(fw::IconHandle icon, int size) {
  if (icon != static_cast<fw::IconHandle>(IDR_MAINFRAME)) return wxBitmap();
  wxImage decoded = Decode(res::AppIconImage(size));
  if (!decoded.IsOk()) return wxBitmap();
  if (decoded.GetWidth() != size) decoded.Rescale(size, size, wxIMAGE_QUALITY_HIGH);
  return wxBitmap(decoded);
}

}  // namespace wxhost
