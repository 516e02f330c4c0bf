#include "framework/file_name.h"

#include <string_view>

namespace fw {

std::string WithDefaultExtension(const std::string& path, const std::string& defaultExt) {
  if (defaultExt.empty()) return path;
  const size_t slash = path.find_last_of("/\\");
  const std::string_view name = slash == std::string::npos
                                    ? std::string_view(path)
                                    : std::string_view(path).substr(slash + 1);
  // A dot anywhere in the name counts: "scan." was typed on purpose.
  if (name.empty() || name.find('.') != std::string_view::npos) return path;
  std::string out = path;
  // An extension given with its dot must not end up with two.
  if (defaultExt.front() != '.') out += '.';
  out += defaultExt;
  return out;
}

}  // namespace fw
