// What the stress tests share: the virtual card loaded with a configuration of
// the test's own, the program's main dialog run from a headless script, and a
// watch on the library's filter registrations that counts callbacks arriving
// while no registration of the program's is live.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace stress {

// A fresh folder under /tmp whose name starts with `prefix`; empty when none
// could be made. A test removes it at its end, so one stopped by a failed
// assertion leaves its files to look at.
std::filesystem::path MakeScratchFolder(const std::string& prefix);
void RemoveScratchFolder(const std::filesystem::path& folder);

// Writes `config` as the virtual card's configuration into `folder` and loads
// the card from the build's library folder with no call trace; what the
// loader returned (0: loaded). The dialog then finds the library loaded.
int LoadVirtualCard(const std::filesystem::path& folder, const std::string& config);

// Runs the program's main dialog on the headless host with `script` as the
// user's actions, then empties the library's entry table; the transcript's
// lines.
std::vector<std::string> RunMainDialog(const std::string& script);

// A filter's callbacks may run from the start of the call that registers it
// until DelFilter returns; the watch counts the ones outside that span. The
// callbacks are plain function pointers, so the watch is process-wide.
void SetRegistered(bool live);
// For the recording callback: counts the call as late when nothing is live.
void NoteCallback();
int LateCallbacks();

// Runs the library's registering call `call` with the registration live from
// just before it; a failed call (0) leaves it closed again.
template <class Call>
int32_t Register(Call call) {
  SetRegistered(true);
  const int32_t result = call();
  if (result == 0) SetRegistered(false);
  return result;
}

// Puts a DelFilter in the library's entry table that closes the registration
// once the library's own DelFilter succeeded.
void WatchDelFilter();

}  // namespace stress
