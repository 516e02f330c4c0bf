#include "dvb_paths.h"

#include <dirent.h>
#include <linux/lirc.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace ldvb {
namespace {

std::string Resolved(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::canonical(path, ec);
  return ec ? std::string() : p.string();
}

std::string FirstLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

std::optional<RcNode> NodeOf(const std::string& rcFolder) {
  // lirc in scancode mode carries protocol and toggle; the input device is
  // the fallback for receivers registered without lirc.
  const std::vector<uint32_t> lirc = NumberedEntries(rcFolder, "lirc");
  if (!lirc.empty()) return RcNode{"/dev/lirc" + std::to_string(lirc.front()), true, 0};
  for (uint32_t input : NumberedEntries(rcFolder, "input")) {
    const std::string inputFolder = rcFolder + "/input" + std::to_string(input);
    const std::vector<uint32_t> events = NumberedEntries(inputFolder, "event");
    if (!events.empty())
      return RcNode{"/dev/input/event" + std::to_string(events.front()), false,
                    EnabledProtocol(FirstLine(rcFolder + "/protocols"))};
  }
  return std::nullopt;
}

}  // namespace

std::vector<uint32_t> NumberedEntries(const std::string& folder, const std::string& prefix) {
  std::vector<uint32_t> out;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return out;
  while (const dirent* e = readdir(dir)) {
    const std::string name = e->d_name;
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string digits = name.substr(prefix.size());
    if (digits.size() > 5 || !std::all_of(digits.begin(), digits.end(), ::isdigit)) continue;
    out.push_back(static_cast<uint32_t>(std::stoul(digits)));
  }
  closedir(dir);
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<FrontendNode> ListFrontends(const std::string& devRoot) {
  std::vector<FrontendNode> out;
  for (uint32_t a : NumberedEntries(devRoot, "adapter"))
    for (uint32_t f : NumberedEntries(devRoot + "/adapter" + std::to_string(a), "frontend"))
      out.push_back({a, f});
  return out;
}

std::string NodePath(const std::string& devRoot, uint32_t adapter, const char* kind,
                     uint32_t index) {
  return devRoot + "/adapter" + std::to_string(adapter) + "/" + kind + std::to_string(index);
}

bool SameHardware(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  const auto under = [](const std::string& inner, const std::string& outer) {
    return inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0 &&
           inner[outer.size()] == '/';
  };
  return a == b || under(a, b) || under(b, a);
}

uint32_t EnabledProtocol(const std::string& protocolsLine) {
  static const struct {
    const char* name;
    uint32_t proto;
  } kNames[] = {
      {"rc-5", RC_PROTO_RC5},    {"rc-5x-20", RC_PROTO_RC5X_20},  {"rc-5-sz", RC_PROTO_RC5_SZ},
      {"jvc", RC_PROTO_JVC},     {"sony", RC_PROTO_SONY12},       {"nec", RC_PROTO_NEC},
      {"sanyo", RC_PROTO_SANYO}, {"mce_kbd", RC_PROTO_MCIR2_KBD}, {"rc-6", RC_PROTO_RC6_0},
      {"sharp", RC_PROTO_SHARP}, {"xmp", RC_PROTO_XMP},           {"imon", RC_PROTO_IMON},
      {"rc-mm", RC_PROTO_RCMM12}};
  std::istringstream words(protocolsLine);
  std::string word;
  uint32_t found = 0;
  int enabled = 0;
  while (words >> word) {
    if (word.size() < 3 || word.front() != '[' || word.back() != ']') continue;
    ++enabled;
    const std::string name = word.substr(1, word.size() - 2);
    for (const auto& n : kNames)
      if (name == n.name) found = n.proto;
  }
  return enabled == 1 ? found : 0;
}

std::optional<RcNode> FindRemoteControl(const std::string& sysRoot, const FrontendNode& fe) {
  const std::string rcClass = sysRoot + "/class/rc";
  if (const char* named = std::getenv("QUORVEX_LINUXDVB_RC"); named != nullptr && *named != 0) {
    const std::string name = named;
    if (name.find('/') != std::string::npos) return std::nullopt;
    return NodeOf(rcClass + "/" + name);
  }
  const std::string dvbDevice = Resolved(sysRoot + "/class/dvb/dvb" + std::to_string(fe.adapter) +
                                         ".frontend" + std::to_string(fe.frontend) + "/device");
  for (uint32_t rc : NumberedEntries(rcClass, "rc")) {
    const std::string folder = rcClass + "/rc" + std::to_string(rc);
    if (SameHardware(Resolved(folder + "/device"), dvbDevice)) return NodeOf(folder);
  }
  return std::nullopt;
}

}  // namespace ldvb
