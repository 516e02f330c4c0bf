// quorvexdemo-headless [SCRIPT]: runs the program with a script as the user
// (standard input without SCRIPT) and writes the transcript to standard output.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/quorvex_demo_app.h"
#include "capture/capture_session.h"
#include "capture/capture_status.h"
#include "framework/host.h"
#include "hosts/headless/headless_host.h"
#include "sweep/sweep_session.h"
#include "tuning/signal_csv.h"
#include "tuning/signal_recorder.h"

namespace {

// Whether a script comes whole (a file) or over time (a pipe, a terminal, a
// named pipe), which may never end.
bool IsStandardInputAFile() {
#ifdef _WIN32
  struct _stat64 st {};
  return _fstat64(_fileno(stdin), &st) == 0 && (st.st_mode & _S_IFMT) == _S_IFREG;
#else
  struct stat st {};
  return fstat(fileno(stdin), &st) == 0 && S_ISREG(st.st_mode);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2) {
    std::cout << "error: usage: quorvexdemo-headless [SCRIPT]" << std::endl;
    return 2;
  }
  headless::HeadlessHost::Options options;
  std::istream* script = &std::cin;
  options.checkWholeScriptFirst = IsStandardInputAFile();
  if (argc == 2) {
    // An unreadable script is reported before the program shows anything.
    const std::string path = argv[1];
    std::error_code ec;
    auto* file = new std::ifstream(path, std::ios::binary);  // lives as long as the host below
    if (!file->is_open() || std::filesystem::is_directory(path, ec)) {
      std::cout << "error: cannot read script " << path << std::endl;
      return 2;
    }
    options.checkWholeScriptFirst = std::filesystem::is_regular_file(path, ec);
    script = file;
  }
  // Library threads may still post while the process exits; the host stays
  // alive for them (and drops their work) rather than being destroyed under
  // them.
  auto* host = new headless::HeadlessHost(*script, std::cout, options);
  host->SetSignalSaver([](const std::string& path) -> std::optional<size_t> {
    const SignalRecorder* recorder = SignalRecorder::Current();
    return recorder != nullptr ? WriteSignalCsv(recorder->History(), path) : std::nullopt;
  });
  host->SetStreamReporter([] {
    const CaptureSession* session = CaptureSession::Current();
    return session != nullptr ? StreamLine(session->StreamTotals(), session->StreamSeconds())
                              : StreamLine(TsHealthTotals{}, 0);
  });
  host->SetSweeper(
      [](const std::string& path, const std::function<void(const std::string&)>& line) {
        SweepSession* session = SweepSession::Current();
        if (session == nullptr) return line("the dialog is not open");
        session->RunNow(path, line);
      });
  fw::SetCurrentHost(host);
  theApp.InitInstance();
  std::cout.flush();
  return 0;
}
