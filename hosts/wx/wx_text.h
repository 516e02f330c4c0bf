// Texts between the program (8-bit strings, UTF-8 in our resources) and
// wxWidgets.
#pragma once

#include <wx/string.h>

#include <string>
#include <string_view>

namespace wxhost {

// A program string for a control. Bytes that are not UTF-8 (a library may hand
// over names in a legacy code page) are shown as Latin-1 rather than dropped.
wxString ToWx(std::string_view text);
// The most characters a drop-down entry shows natively; the rest of a longer
// one (a library's name of any length) is shown as an ellipsis, since GTK
// cannot build the popup of a list wider than 32767 pixels. The program's
// list keeps the whole text.
inline constexpr size_t kMaxEntryChars = 256;
// A program string for a drop-down entry, cut to kMaxEntryChars.
wxString ToWxEntry(std::string_view text);
// A control's text for the program, as UTF-8.
std::string FromWx(const wxString& text);

}  // namespace wxhost
