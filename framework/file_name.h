// What a confirmed file dialog hands the program, the same on every host.
#pragma once

#include <string>

namespace fw {

// The path with the default extension added when its file name has none. A
// path that names no file (empty, or ending in a folder separator) is left
// as it is: "dir/.bin" would be a hidden file nobody asked for.
std::string WithDefaultExtension(const std::string& path, const std::string& defaultExt);

}  // namespace fw
