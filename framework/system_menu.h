// The entries a program appends to its window's system menu, and which of
// them a host offers as "About" where the window system has no such menu.
#ifndef QUORVEX_FRAMEWORK_SYSTEM_MENU_H
#define QUORVEX_FRAMEWORK_SYSTEM_MENU_H

#include <cctype>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace fw {

/* Command id and text of each appended system-menu entry, in order. */
using SystemMenuEntries = std::vector<std::pair<unsigned, std::string>>;

/* The entry that says About (ignoring its mnemonic '&' and case); a menu with one entry
   gives that one whatever it is called; nullopt for an empty menu. */
inline std::optional<unsigned> AboutMenuCommand(const SystemMenuEntries& entries) {
  if (entries.empty()) return std::nullopt;
  for (const auto& [command, text] : entries) {
    std::string plain;
    for (char ch : text) {
      if (ch != '&') plain += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    if (plain.find("about") != std::string::npos) return command;
  }
  return entries.front().first;
}

}  // namespace fw

#endif
