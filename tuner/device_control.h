// Finding the library's devices and starting the one the user picks: the
// enumeration, the start with its lines, and the controls its capabilities
// decide.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class UiPort;

class DeviceControl {
 public:
  explicit DeviceControl(UiPort& ui) : ui_(ui) {}

  /* Runs the richest enumeration entry point, enabling the device list where the
     library reports devices; each device reported during the call goes to `add` once
     the call returned. On failure shows the "Error" box and returns false. */
  bool Discover(const std::function<void(uint32_t id, const std::string& text)>& add);
  /* Stops the device in use when one was chosen before (`chosen`: its id), starts the
     chosen one (or the first), reports its type and sets the controls its capabilities
     offer; `applyMis` re-applies the multistream choice. False when it did not start. */
  bool Start(std::optional<uint32_t> chosen, const std::function<void()>& applyMis);
  /* The capability mask of the device in use, when the library reports one. */
  const std::optional<uint32_t>& Caps() const { return caps_; }
  /* Whether the last Start started its device (a failed start leaves none running). */
  bool Started() const { return started_; }

 private:
  void ReportMac();

  UiPort& ui_;
  std::optional<uint32_t> caps_;
  bool started_ = false;
};
