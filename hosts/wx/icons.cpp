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

}  // namespace

wxIconBundle IconBundle(fw::IconHandle icon) {
  wxIconBundle bundle;
  if (icon != static_cast<fw::IconHandle>(IDR_MAINFRAME)) return bundle;
  for (const res::IconImage& image : res::AppIconImages()) {
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
