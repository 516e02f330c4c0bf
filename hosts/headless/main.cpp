// quorvexdemo-headless [SCRIPT]: runs the program with a script as the user
// (standard input without SCRIPT) and writes the transcript to standard output.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/quorvex_demo_app.h"
#include "framework/host.h"
#include "hosts/headless/headless_host.h"
#include "tuning/signal_csv.h"
#include "tuning/signal_recorder.h"

int main(int argc, char** argv) {
  if (argc > 2) {
    std::cout << "error: usage: quorvexdemo-headless [SCRIPT]" << std::endl;
    return 2;
  }
  std::istream* script = &std::cin;
  if (argc == 2) {
    // The whole script is read up front, so an unreadable one is reported
    // before the program shows anything.
    const std::string path = argv[1];
    std::error_code ec;
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open() || std::filesystem::is_directory(path, ec)) {
      std::cout << "error: cannot read script " << path << std::endl;
      return 2;
    }
    auto* text = new std::stringstream;  // lives as long as the host below
    *text << file.rdbuf();
    text->clear();  // copying an empty file sets failbit on the copy
    script = text;
  }
  // Library threads may still post while the process exits; the host stays
  // alive for them (and drops their work) rather than being destroyed under
  // them.
  auto* host = new headless::HeadlessHost(*script, std::cout);
  host->SetSignalSaver([](const std::string& path) -> std::optional<size_t> {
    const SignalRecorder* recorder = SignalRecorder::Current();
    return recorder != nullptr ? WriteSignalCsv(recorder->History(), path) : std::nullopt;
  });
  fw::SetCurrentHost(host);
  theApp.InitInstance();
  std::cout.flush();
  return 0;
}
