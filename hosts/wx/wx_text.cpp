#include "hosts/wx/wx_text.h"

#include <wx/strconv.h>

namespace wxhost {

wxString ToWx(std::string_view text) {
  if (text.empty()) return wxString();
  wxString s = wxString::FromUTF8(text.data(), text.size());
  // FromUTF8 gives an empty string for bytes that are not UTF-8.
  if (s.empty()) s = wxString(text.data(), wxConvISO8859_1, text.size());
  return s;
}

wxString ToWxEntry(std::string_view text) {
  wxString s = ToWx(text);
  if (s.length() > kMaxEntryChars) s = s.Left(kMaxEntryChars - 1) + wxString::FromUTF8("\u2026");
  return s;
}

std::string FromWx(const wxString& text) {
  const wxScopedCharBuffer utf8 = text.utf8_str();
  return std::string(utf8.data(), utf8.length());
}

}  // namespace wxhost
