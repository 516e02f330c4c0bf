// Benchmarks of the real window. Each figure is printed next to a baseline
// measured in the same run on the same machine, and as a ratio to it.
//
//   qv_bench_gui startup RUNS BINDIR   process start to dialog shown: the
//                                      program's window, an empty wxWidgets
//                                      dialog, and the headless host
//   qv_bench_gui append LINES          appending LINES lines to the message
//                                      list, against a plain wxListBox
//   qv_bench_gui scale LINES           the message list holding LINES lines:
//                                      memory per line and time per scroll
//   qv_bench_gui child-main|child-empty  (used by startup)
#include <malloc.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/listbox.h>
#include <wx/utils.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/quorvex_demo_app.h"
#include "framework/dialog.h"
#include "hosts/wx/log_list.h"
#include "hosts/wx/wx_host.h"
#include "hosts/wx/wx_window.h"
#include "res/dialogs.h"
#include "res/resource_ids.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void Say(const char* line) {
  std::fputs(line, stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

// Serves events until nothing is pending.
void Settle() {
  wxEventLoopBase* loop = wxEventLoopBase::GetActive();
  for (int i = 0; i < 50 && loop != nullptr; ++i) {
    loop->YieldFor(wxEVT_CATEGORY_ALL);
    wxMilliSleep(1);
  }
}

// Milliseconds from spawning argv to its first output line containing `mark`.
double TimeToMark(const std::vector<std::string>& args, const char* mark, const char* input) {
  int out[2], in[2];
  if (pipe(out) != 0 || pipe(in) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, in[1]);
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const Clock::time_point start = Clock::now();
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  close(in[0]);
  if (rc != 0) return -1;
  if (input != nullptr) {
    const ssize_t written = write(in[1], input, std::strlen(input));
    (void)written;
  }
  close(in[1]);
  double elapsed = -1;
  std::string seen;
  char buffer[4096];
  ssize_t n;
  while ((n = read(out[0], buffer, sizeof buffer)) > 0) {
    seen.append(buffer, static_cast<size_t>(n));
    if (elapsed < 0 && seen.find(mark) != std::string::npos) elapsed = Ms(Clock::now() - start);
  }
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return elapsed;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? -1 : v[v.size() / 2];
}

// Milliseconds to let the X server and the window manager settle before each
// window starts.
constexpr unsigned long kSettleMs = 300;

int Startup(int runs, const std::string& binDir, const std::string& self) {
  std::vector<double> program, empty, headless, headlessFirst;
  for (int i = 0; i < runs; ++i) {
    // The X server and the window manager go on working for a while after a
    // window closes; each start waits for that to settle, and the two windows
    // take turns at coming first so neither always follows the other.
    const auto start = [&](const char* mode) {
      wxMilliSleep(kSettleMs);
      return TimeToMark({self, mode}, "shown", nullptr);
    };
    if (i % 2 == 0) {
      program.push_back(start("child-main"));
      empty.push_back(start("child-empty"));
    } else {
      empty.push_back(start("child-empty"));
      program.push_back(start("child-main"));
    }
    headless.push_back(
        TimeToMark({binDir + "/quorvexdemo-headless"}, "control 1047:", "show 1047\n"));
    headlessFirst.push_back(TimeToMark({binDir + "/quorvexdemo-headless"}, "\n", "show 1047\n"));
  }
  const double p = Median(program), e = Median(empty), h = Median(headless);
  std::printf("startup (median of %d runs, process start to dialog shown)\n", runs);
  std::printf("  program window          %8.1f ms\n", p);
  std::printf("  empty wxWidgets dialog  %8.1f ms   (baseline)\n", e);
  std::printf("  ratio program/empty     %8.2f\n", e > 0 ? p / e : 0.0);
  std::printf("  headless host           %8.1f ms   ratio headless/empty %.2f\n", h,
              e > 0 ? h / e : 0.0);
  std::printf("  headless, first line    %8.1f ms   (process start to its first transcript line)\n",
              Median(headlessFirst));
  return p > 0 && e > 0 && h > 0 ? 0 : 1;
}

class BenchApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

int ChildMain() {
  auto* host = new wxhost::WxHost;
  host->GetOptions().onMainShown = [](wxhost::WxDialogWindow& w) {
    Say("shown");
    w.EndDialog(fw::kIdCancel);
  };
  fw::SetCurrentHost(host);
  theApp.InitInstance();
  return 0;
}

int ChildEmpty() {
  wxDialog dialog(nullptr, wxID_ANY, "Empty", wxDefaultPosition, wxSize(400, 680));
  bool painted = false;
  dialog.Bind(wxEVT_PAINT, [&](wxPaintEvent& e) {
    painted = true;
    e.Skip();
  });
  dialog.Bind(wxEVT_IDLE, [&](wxIdleEvent& e) {
    e.Skip();
    if (!painted || !dialog.IsShownOnScreen()) return;
    painted = false;
    Say("shown");
    dialog.EndModal(wxID_CANCEL);
  });
  dialog.ShowModal();
  return 0;
}

int Append(int lines) {
  // The message list inside the main window, as the program appends to it.
  class Plain : public fw::Dialog {
   public:
    Plain() : fw::Dialog(res::MainDialogTemplate()) {}
  } dialog;
  wxhost::WxHost host;
  double listMs = 0, plainMs = 0;
  int plainDone = lines;
  host.GetOptions().onMainShown = [&](wxhost::WxDialogWindow& w) {
    Settle();
    Clock::time_point start = Clock::now();
    for (int i = 0; i < lines; ++i) {
      w.AddString(IDC_LIST_LOG, "SendDiseqCmd() success. line " + std::to_string(i));
      w.SetTopIndex(IDC_LIST_LOG, w.GetCount(IDC_LIST_LOG) - 1);
    }
    Settle();
    listMs = Ms(Clock::now() - start);

    // Baseline: the same lines in a plain wxListBox of the same size.
    wxWindow* ours = w.Control(IDC_LIST_LOG);
    auto* plain = new wxListBox(&w, wxID_ANY, ours->GetPosition(), ours->GetSize(), 0, nullptr,
                                wxLB_EXTENDED | wxLB_NEEDED_SB);
    ours->Hide();
    Settle();
    // A native list box can take minutes for this; past the budget the rest
    // is extrapolated from the rate so far (and said so).
    start = Clock::now();
    const Clock::time_point budget = start + std::chrono::seconds(30);
    for (int i = 0; i < lines; ++i) {
      plain->Append("SendDiseqCmd() success. line " + std::to_string(i));
      plain->SetFirstItem(static_cast<int>(plain->GetCount()) - 1);
      if ((i & 255) == 255 && Clock::now() > budget) {
        plainDone = i + 1;
        break;
      }
    }
    Settle();
    plainMs = Ms(Clock::now() - start);
    if (plainDone < lines) plainMs = plainMs * lines / plainDone;
    w.EndDialog(fw::kIdCancel);
  };
  fw::SetCurrentHost(&host);
  host.RunModal(dialog);
  std::printf("append %d lines to the message list (each then scrolled into view)\n", lines);
  std::printf("  message list (virtual)  %10.1f ms\n", listMs);
  std::printf("  plain wxListBox         %10.1f ms   (baseline%s)\n", plainMs,
              plainDone < lines ? ", extrapolated from the lines done in 30 s" : "");
  std::printf("  ratio list/baseline     %10.5f   (baseline/list %.0f)\n",
              plainMs > 0 ? listMs / plainMs : 0.0, listMs > 0 ? plainMs / listMs : 0.0);
  return 0;
}

// Bytes the heap has handed out and not taken back.
size_t HeapInUse() { return mallinfo2().uordblks + mallinfo2().hblkhd; }

int Scale(int lines) {
  class Plain : public fw::Dialog {
   public:
    Plain() : fw::Dialog(res::MainDialogTemplate()) {}
  } dialog;
  wxhost::WxHost host;
  size_t heapBefore = 0, heapAfter = 0, textBytes = 0, modelBytes = 0;
  double appendMs = 0;
  std::vector<double> scrollMs;
  host.GetOptions().onMainShown = [&](wxhost::WxDialogWindow& w) {
    auto* list = dynamic_cast<wxhost::LogList*>(w.Control(IDC_LIST_LOG));
    Settle();
    heapBefore = HeapInUse();
    const Clock::time_point start = Clock::now();
    std::string line;
    for (int i = 0; i < lines; ++i) {
      line = "SendDiseqCmd() success. line ";
      line += std::to_string(i);
      textBytes += line.size();
      w.AddString(IDC_LIST_LOG, line);
      w.SetTopIndex(IDC_LIST_LOG, w.GetCount(IDC_LIST_LOG) - 1);
    }
    Settle();
    appendMs = Ms(Clock::now() - start);
    heapAfter = HeapInUse();
    modelBytes = list->Lines().MemoryBytes();
    // Jumps across the whole list and single pages, each drawn at once.
    const size_t n = static_cast<size_t>(lines);
    const size_t rows[] = {0, n / 2, n - 1, n / 4, n / 4 + 30, n / 4 + 60, 3 * n / 4, 1, n - 1};
    for (const size_t row : rows) {
      const Clock::time_point t = Clock::now();
      list->ScrollToRow(row);
      list->Update();
      scrollMs.push_back(Ms(Clock::now() - t));
    }
    w.EndDialog(fw::kIdCancel);
  };
  fw::SetCurrentHost(&host);
  host.RunModal(dialog);
  const double perLine = static_cast<double>(heapAfter - heapBefore) / lines;
  const double textPerLine = static_cast<double>(textBytes) / lines;
  std::printf("message list holding %d lines\n", lines);
  std::printf("  append (each scrolled into view)  %10.1f ms\n", appendMs);
  std::printf("  heap per line                     %10.1f bytes (text %.1f, overhead %.1f)\n",
              perLine, textPerLine, perLine - textPerLine);
  std::printf("  list model per line               %10.1f bytes (overhead %.1f)\n",
              static_cast<double>(modelBytes) / lines,
              static_cast<double>(modelBytes) / lines - textPerLine);
  std::printf("  scroll and redraw                 %10.2f ms median, %.2f ms max (%zu jumps)\n",
              Median(scrollMs), *std::max_element(scrollMs.begin(), scrollMs.end()),
              scrollMs.size());
  return 0;
}

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(BenchApp);

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "startup" && argc == 4) return Startup(std::atoi(argv[2]), argv[3], argv[0]);
  if (mode != "child-main" && mode != "child-empty" &&
      !((mode == "append" || mode == "scale") && argc == 3)) {
    std::fprintf(stderr,
                 "usage: qv_bench_gui startup RUNS BINDIR | append LINES | scale LINES | "
                 "child-main | child-empty\n");
    return 2;
  }
  int wxArgc = 1;
  if (!wxEntryStart(wxArgc, argv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "cannot start wxWidgets (is there a display?)\n");
    return 1;
  }
  int status = 0;
  if (mode == "child-main") status = ChildMain();
  if (mode == "child-empty") status = ChildEmpty();
  if (mode == "append") status = Append(std::atoi(argv[2]));
  if (mode == "scale") status = Scale(std::atoi(argv[2]));
  std::fflush(stdout);
  // The program's library may still be loaded; end without running static
  // destructors under it, as the program itself does at exit.
  _exit(status);
}
