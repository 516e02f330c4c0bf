#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "compliance/checks.h"
#include "tuner/tuner_api.h"
#include "tuner/tuner_type.h"

namespace compliance {

namespace {

// The enumeration entry point the program would use, run once; the devices
// it reported, and the number reported after it had returned.
struct Enumeration {
  const char* call = nullptr;
  int32_t result = 0;
  std::vector<EnumeratedDevice> devices;
  int late = 0;
};

Enumeration Enumerate(Context& c) {
  {
    std::lock_guard lock(g_enumeration.mu);
    g_enumeration.devices.clear();
    g_enumeration.late = 0;
    g_enumeration.open = true;
  }
  Enumeration e;
  if (TunerApi.CheckForDVBExEx != nullptr) {
    e.call = "CheckForDVBExEx";
    e.result = c.lib.Run(e.call, [] { return TunerApi.CheckForDVBExEx(OnDeviceEx); });
  } else if (TunerApi.CheckForDVBEx != nullptr) {
    e.call = "CheckForDVBEx";
    e.result = c.lib.Run(e.call, [] { return TunerApi.CheckForDVBEx(OnDevice); });
  }
  {
    std::lock_guard lock(g_enumeration.mu);
    g_enumeration.open = false;
  }
  if (e.call == nullptr) return e;
  // Reports may only come during the call: watch a while after it.
  WaitFor(300, [] { return false; });
  std::lock_guard lock(g_enumeration.mu);
  e.late = g_enumeration.late;
  e.devices = g_enumeration.devices;
  return e;
}

bool PrintableName(const std::string& name) {
  return !name.empty() && name.size() < 256 && std::none_of(name.begin(), name.end(), [](char ch) {
    return static_cast<unsigned char>(ch) < 0x20;
  });
}

std::string Hex(uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", v);
  return text;
}

}  // namespace

bool IsSatelliteType(uint32_t type) { return (type >= 1 && type <= 5) || type == 12; }

bool Offers(const Context& c, uint32_t bit) { return !c.caps || (*c.caps & bit) != 0; }

bool Applies(Context& c, const std::string& name, bool exported, uint32_t bit) {
  if (!exported) {
    c.report.NotApplicable(name, "not exported");
    return false;
  }
  if (Offers(c, bit)) return true;
  char clear[32];
  std::snprintf(clear, sizeof clear, "capability 0x%X clear", static_cast<unsigned>(bit));
  c.report.NotApplicable(name, clear);
  return false;
}

bool WaitFor(unsigned ms, const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

void CheckEnumeration(Context& c) {
  Report& r = c.report;
  r.Area("Enumeration");
  if (TunerApi.CheckForDVBExEx == nullptr && TunerApi.CheckForDVBEx == nullptr) {
    const int32_t result = c.lib.Run("CheckForDVB", [] { return TunerApi.CheckForDVB(); });
    r.Check("CheckForDVB", result != 0, "returned 0, expected success");
    r.NotApplicable("enumeration callbacks", "neither CheckForDVBExEx nor CheckForDVBEx exported");
    return;
  }
  const Enumeration first = Enumerate(c);
  const std::string call = first.call;
  r.Check(call, first.result != 0, "returned 0, expected success");
  r.Info(call + " took " + std::to_string(c.lib.LastDuration().count() / 1000) +
         " ms and reported " + std::to_string(first.devices.size()) + " device(s)");
  r.Check("devices reported during the call", first.late == 0,
          std::to_string(first.late) + " reported after " + call + " had returned, expected none");
  const bool sameThread =
      std::all_of(first.devices.begin(), first.devices.end(),
                  [&](const EnumeratedDevice& d) { return d.thread == c.lib.CallerThread(); });
  r.Check("devices reported on the calling thread", sameThread,
          "a report came on another thread, expected the thread that called " + call);
  std::set<uint32_t> ids;
  for (const EnumeratedDevice& d : first.devices) ids.insert(d.id);
  r.Check("device ids unique", ids.size() == first.devices.size(),
          std::to_string(first.devices.size() - ids.size()) + " duplicate id(s)");
  const bool names = std::all_of(first.devices.begin(), first.devices.end(),
                                 [](const EnumeratedDevice& d) { return PrintableName(d.name); });
  r.Check("device names", names, "an empty name, or one with control characters or over 255 bytes");
  if (call == "CheckForDVBExEx") {
    for (const EnumeratedDevice& d : first.devices) {
      if (TunerTypeName(*d.type) == std::string("Unknown")) {
        r.Warn("device " + Hex(d.id) + " reports tuner type " + std::to_string(*d.type) +
               ", which the program shows as \"Unknown\"");
      }
    }
    r.Ok("tuner type codes");
  }
  const Enumeration second = Enumerate(c);
  auto same = [](const EnumeratedDevice& a, const EnumeratedDevice& b) {
    return a.id == b.id && a.name == b.name && a.type == b.type;
  };
  r.Check("second enumeration gives the same list",
          second.result != 0 && std::equal(first.devices.begin(), first.devices.end(),
                                           second.devices.begin(), second.devices.end(), same),
          std::to_string(second.devices.size()) + " device(s) the second time, expected the same " +
              std::to_string(first.devices.size()));
  for (const EnumeratedDevice& d : first.devices) {
    r.Detail(Hex(d.id) + " \"" + d.name + "\"" +
             (d.type ? std::string(" type ") + TunerTypeName(*d.type) : std::string()));
  }
  c.devices = first.devices;
}

bool CheckDevice(Context& c, size_t index) {
  Report& r = c.report;
  const bool listed = index < c.devices.size();
  c.deviceId = listed ? c.devices[index].id : 0xFFFFFFFFu;
  c.deviceLabel = listed ? c.devices[index].name : std::string("the default device");
  c.caps.reset();
  c.tunerType = listed ? c.devices[index].type : std::nullopt;
  c.tuned = false;
  r.Area("Device " + std::to_string(index) + " (" + c.deviceLabel + ")");

  auto start = [&]() -> int32_t {
    if (TunerApi.StartDVBEx != nullptr) {
      const uint32_t id = c.deviceId;
      return c.lib.Run("StartDVBEx", [id] { return TunerApi.StartDVBEx(id); });
    }
    return c.lib.Run("StartDVB", [] { return TunerApi.StartDVB(); });
  };
  const char* startName = TunerApi.StartDVBEx != nullptr ? "StartDVBEx" : "StartDVB";
  if (start() == 0) {
    r.Fail(startName, "returned 0, expected the device to start");
    return false;
  }
  r.Ok(startName);
  r.Info(std::string(startName) + " took " + std::to_string(c.lib.LastDuration().count() / 1000) +
         " ms");
  const int32_t stopped = c.lib.Run("StopDVB", [] { return TunerApi.StopDVB(); });
  const int32_t again = start();
  r.Check("StopDVB then start again", stopped != 0 && again != 0,
          std::string("StopDVB returned ") + std::to_string(stopped) + ", the new start " +
              std::to_string(again) + ", expected both to succeed");
  if (again == 0) return false;

  if (TunerApi.GetTunerType == nullptr) {
    r.NotApplicable("GetTunerType", "not exported");
  } else {
    uint32_t type = 0xA5A5A5A5u;
    const int32_t ok = c.lib.Run("GetTunerType", [&] { return TunerApi.GetTunerType(&type); });
    const bool enumeratedType = listed && c.devices[index].type.has_value();
    if (ok == 0) {
      r.Fail("GetTunerType", "returned 0, expected the tuner type");
    } else if (enumeratedType && type != *c.devices[index].type) {
      r.Fail("GetTunerType", "type " + std::to_string(type) + ", but the enumeration reported " +
                                 std::to_string(*c.devices[index].type));
    } else {
      r.Ok("GetTunerType");
      c.tunerType = type;
    }
  }

  if (TunerApi.GetCaps == nullptr) {
    r.NotApplicable("capabilities match the entry points", "GetCaps not exported");
  } else {
    const uint32_t caps = c.lib.Run("GetCaps", [] { return TunerApi.GetCaps(); });
    c.caps = caps;
    r.Info("capability mask " + Hex(caps));
    // Each bit the program reads, and the entry points that must back it.
    struct Need {
      uint32_t bit;
      const char* what;
      bool present;
    };
    const Need needs[] = {
        {QV_CAP_REMOTE_CONTROL, "SetRemoteControl", TunerApi.SetRemoteControl != nullptr},
        {QV_CAP_MAC, "GetMAC", TunerApi.GetMAC != nullptr},
        {QV_CAP_EXT_STATISTICS, "GetSignalExEx or GetSignalEx",
         TunerApi.GetSignalExEx != nullptr || TunerApi.GetSignalEx != nullptr},
        {QV_CAP_TONE_BURST, "SendDiSEqC", TunerApi.SendDiSEqC != nullptr},
        {QV_CAP_DISEQC10, "SendDiSEqC", TunerApi.SendDiSEqC != nullptr},
        {QV_CAP_DISEQC1X, "SendDiseqCmd or SendDiseqCmdEx",
         TunerApi.SendDiseqCmd != nullptr || TunerApi.SendDiseqCmdEx != nullptr},
        {QV_CAP_DISEQC2X, "SendDiseqCmdEx", TunerApi.SendDiseqCmdEx != nullptr},
        {QV_CAP_MIS, "MISSel", TunerApi.MISSel != nullptr},
        {QV_CAP_EEPROM, "GetEEPROM or SetEEPROM",
         TunerApi.GetEEPROM != nullptr || TunerApi.SetEEPROM != nullptr},
    };
    std::string unbacked;
    for (const Need& n : needs) {
      if ((caps & n.bit) != 0 && !n.present) {
        unbacked += (unbacked.empty() ? "" : "; ") + Hex(n.bit) + " without " + n.what;
      }
    }
    r.Check("capabilities match the entry points", unbacked.empty(), unbacked);
  }

  if (Applies(c, "GetMAC", TunerApi.GetMAC != nullptr, QV_CAP_MAC)) {
    // Two calls with different fillings: a byte left as filled both times was
    // never written.
    uint8_t a[6], b[6];
    std::memset(a, 0x5A, sizeof a);
    std::memset(b, 0xA5, sizeof b);
    const int32_t okA = c.lib.Run("GetMAC", [&] { return TunerApi.GetMAC(a); });
    const int32_t okB = c.lib.Run("GetMAC", [&] { return TunerApi.GetMAC(b); });
    int unwritten = 0;
    for (int i = 0; i < 6; ++i) unwritten += a[i] == 0x5A && b[i] == 0xA5;
    if (okA == 0 || okB == 0) {
      r.Fail("GetMAC", "returned 0, expected the MAC address");
    } else {
      r.Check("GetMAC", unwritten == 0,
              std::to_string(unwritten) + " of the 6 bytes not written, expected all 6");
    }
  }
  return true;
}

}  // namespace compliance
