// The GUI tests' main: one wxWidgets application for the whole run (it needs
// an X display; tests/gui/with_display.sh provides a private one).
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>

#include <cstdio>

#include "framework/host.h"
#include "gui_support.h"
#include "hosts/wx/assert_handler.h"

namespace {
class TestApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};
}  // namespace

wxIMPLEMENT_APP_NO_MAIN(TestApp);

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Before GTK's threads and the host's warm-up start: setenv while another
  // thread reads the environment can crash the process (glibc frees the old
  // table under the reader), so no test changes it later.
  guitest::NameVirtualCardFiles();
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "cannot start wxWidgets (is there a display?)\n");
    return 1;
  }
  wxInitAllImageHandlers();
  // A wxWidgets assertion fails the test that caused it.
  wxhost::InstallAssertHandler([](const std::string& text) { ADD_FAILURE() << text; });
  fw::SetCurrentHost(&guitest::Host());
  const int status = RUN_ALL_TESTS();
  wxEntryCleanup();
  return status;
}
