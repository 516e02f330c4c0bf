#include "tests/program/stress_harness.h"

#include <stdlib.h>

#include <atomic>
#include <fstream>
#include <sstream>

#include "app/quorvex_demo_dlg.h"
#include "framework/host.h"
#include "hosts/headless/headless_host.h"
#include "tuner/tuner_api.h"

namespace stress {

namespace {

std::atomic<bool> gRegistered{false};
std::atomic<int> gLateCallbacks{0};
PFN_DelFilter gRealDel = nullptr;

int32_t QV_API WatchingDelFilter(int32_t filter) {
  const int32_t result = gRealDel(filter);
  // From here on no callback of that filter may run.
  if (result != 0) gRegistered = false;
  return result;
}

}  // namespace

std::filesystem::path MakeScratchFolder(const std::string& prefix) {
  std::string name = prefix + ".XXXXXX";
  if (mkdtemp(name.data()) == nullptr) return {};
  return name;
}

void RemoveScratchFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}

int LoadVirtualCard(const std::filesystem::path& folder, const std::string& config) {
  const std::filesystem::path file = folder / "config.json";
  {
    std::ofstream out(file);
    out << config;
  }
  setenv("QUORVEX_SIM_CONFIG", file.c_str(), 1);
  unsetenv("QUORVEX_SIM_TRACE");
  // Bound by path: under ThreadSanitizer a bare name would be looked up from
  // the sanitizer's runtime, which does not carry this executable's RUNPATH.
  const int loaded = LoadTunerLibraryFrom(QV_BIN_DIR "/libquorvex.dll");
  unsetenv("QUORVEX_SIM_CONFIG");
  return loaded;
}

std::vector<std::string> RunMainDialog(const std::string& script) {
  std::istringstream in(script);
  std::ostringstream out;
  {
    headless::HeadlessHost host(in, out, headless::HeadlessHost::Options{false});
    fw::SetCurrentHost(&host);
    CQuorvexDemoDlg dlg;
    host.RunModal(dlg);
    fw::SetCurrentHost(nullptr);
  }
  TunerApi = {};

  std::vector<std::string> lines;
  std::istringstream transcript(out.str());
  for (std::string line; std::getline(transcript, line);) lines.push_back(line);
  return lines;
}

void SetRegistered(bool live) { gRegistered = live; }

void NoteCallback() {
  if (!gRegistered) ++gLateCallbacks;
}

int LateCallbacks() { return gLateCallbacks.load(); }

void WatchDelFilter() {
  gRealDel = TunerApi.DelFilter;
  TunerApi.DelFilter = WatchingDelFilter;
}

}  // namespace stress
