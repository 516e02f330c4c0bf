// What a dialog asks of its window besides its controls: the icon of a
// message box and the contents of a file dialog. Plain data, so that logic
// that asks for them needs no window.
#pragma once

#include <string>

namespace fw {

enum class BoxIcon { None, Stop, Warning, Information };

// What a save-as or open dialog is asked to show.
struct FileDialogRequest {
  bool save = true;
  std::string defaultName;
  std::string defaultExt;  // appended to a name typed without extension
  std::string filter;      // "Desc|pattern|Desc|pattern||"
  std::string initialDir;  // the folder shown first; empty: the window system's choice
};

}  // namespace fw
