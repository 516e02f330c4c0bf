#include "sim_loader.h"

#include <dlfcn.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace simtest {

SimLib::SimLib(const std::string& variant, const std::optional<std::string>& configJson,
               const char* tracePath) {
  char tmpl[] = "/tmp/qvsim_test.XXXXXX";
  if (!mkdtemp(tmpl)) throw std::runtime_error("mkdtemp failed");
  dir_ = tmpl;
  fs::path source = fs::path(QV_SIM_LIB_DIR);
  if (!variant.empty()) source /= variant;
  source /= "libquorvex.so";
  const fs::path copy = fs::path(dir_) / "libquorvex.so";
  fs::copy_file(source, copy);

  const std::string trace = tracePath ? tracePath : dir_ + "/trace.txt";
  if (trace.empty()) {
    unsetenv("QUORVEX_SIM_TRACE");
  } else {
    setenv("QUORVEX_SIM_TRACE", trace.c_str(), 1);
  }
  if (configJson) {
    const std::string config =
        configJson->rfind("@", 0) == 0 ? configJson->substr(1) : dir_ + "/config.json";
    if (configJson->rfind("@", 0) != 0) std::ofstream(config) << *configJson;
    setenv("QUORVEX_SIM_CONFIG", config.c_str(), 1);
  } else {
    unsetenv("QUORVEX_SIM_CONFIG");
  }
  handle_ = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
  unsetenv("QUORVEX_SIM_TRACE");
  unsetenv("QUORVEX_SIM_CONFIG");
  if (!handle_) throw std::runtime_error(std::string("dlopen: ") + dlerror());
}

SimLib::~SimLib() {
  if (handle_) dlclose(handle_);
  std::error_code ec;
  fs::remove_all(dir_, ec);
}

void* SimLib::symbol(const char* name) const { return dlsym(handle_, name); }

std::vector<std::string> SimLib::traceLines() const {
  std::ifstream in(dir_ + "/trace.txt");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string missingPath() { return "@/nonexistent/qvsim/config.json"; }

}  // namespace simtest
