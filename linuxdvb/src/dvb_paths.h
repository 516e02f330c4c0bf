// Where the kernel puts a card's device nodes and how its remote-control
// receiver is found in sysfs.
#ifndef QUORVEX_LINUXDVB_DVB_PATHS_H
#define QUORVEX_LINUXDVB_DVB_PATHS_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ldvb {

/* A frontend node: /dev/dvb/adapterA/frontendF. */
struct FrontendNode {
  uint32_t adapter;
  uint32_t frontend;
};

/* Every frontend node under devRoot (normally /dev/dvb), in adapter, then frontend order. */
std::vector<FrontendNode> ListFrontends(const std::string& devRoot);

/* The path of one adapter's node: devRoot/adapterA/KINDN (KIND frontend, demux, dvr). */
std::string NodePath(const std::string& devRoot, uint32_t adapter, const char* kind,
                     uint32_t index);

/* Numbers N of the entries named PREFIXN in a folder, ascending. */
std::vector<uint32_t> NumberedEntries(const std::string& folder, const std::string& prefix);

/* True when two sysfs device paths (resolved) are the same device or one lies under the
   other: a remote-control receiver of the card hangs below or beside its DVB device. */
bool SameHardware(const std::string& a, const std::string& b);

/* How a remote-control receiver is read. */
struct RcNode {
  std::string path;       // /dev/lircN or /dev/input/eventN
  bool lirc = true;       // else input events
  uint32_t protocol = 0;  // for input events: the one enabled protocol, 0 when unknown
};

/* The receiver named by QUORVEX_LINUXDVB_RC (a name under /sys/class/rc) or, without it,
   the receiver on the same hardware as the adapter's frontend; nullopt when there is none. */
std::optional<RcNode> FindRemoteControl(const std::string& sysRoot, const FrontendNode& fe);

/* The rc_proto code of the single enabled protocol in a sysfs "protocols" line
   (enabled ones are in brackets); 0 when none or several are enabled. */
uint32_t EnabledProtocol(const std::string& protocolsLine);

}  // namespace ldvb

#endif
