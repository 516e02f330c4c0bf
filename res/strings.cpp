#include "res/strings.h"

#include <string_view>

#include "res/resource_ids.h"

namespace res {

namespace {

struct StringEntry {
  int id;
  std::string_view text;
};

// Kept in UTF-8; the hosts convert when their toolkit wants another encoding.
constexpr StringEntry kStrings[] = {
    // The system-menu entry; the double blank is the established menu text.
    {IDS_ABOUTBOX, "&About  QuorvexDemo..."},
    {IDP_SOCKETS_INIT_FAILED, "Не удалось инициализировать Windows Sockets."},
};

}  // namespace

std::string StringResource(int id) {
  for (const StringEntry& e : kStrings) {
    if (e.id == id) return std::string(e.text);
  }
  return {};
}

}  // namespace res
