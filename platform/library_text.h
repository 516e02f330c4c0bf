// How a text a library hands out becomes one the program shows: the parts of
// platform::LibraryText that are the same on every platform.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The bytes as UTF-8 where they form it; every other byte read as the
// Windows-1252 code page reads it (the code page the card makers' libraries
// write in), so no byte is lost and the result is always UTF-8.
std::string Utf8OrWindows1252(std::string_view bytes);
// Control characters (U+0000..U+001F, U+007F) replaced by their pictures
// (U+2400..U+241F, U+2421), so that a name never breaks a line of the
// transcript or of the list it is shown in.
std::string WithVisibleControls(std::string utf8);

}  // namespace platform
