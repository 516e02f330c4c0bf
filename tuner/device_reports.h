// The devices a library reports through the enumeration callbacks. They are
// the program's only while the enumeration call runs: what comes during the
// call is kept, from whichever thread it comes, and taken by the dialog once
// the call returned; a report after that (a library that kept the callback)
// is dropped, so it can never reach a control from a thread of its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DeviceReport {
  uint32_t id = 0;
  std::string text;  // as the device list shows it
};

namespace device_reports {

// The enumeration call starts: reports are kept from now on.
void Open();
// The call returned: the reports kept since Open, in the order they came.
// Later reports are dropped until the next Open.
std::vector<DeviceReport> Close();
// A report from the library; kept only between Open and Close.
void Add(uint32_t id, std::string text);

}  // namespace device_reports
