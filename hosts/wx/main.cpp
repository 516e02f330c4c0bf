// quorvexdemo: the program in a real window. The application object's
// InitInstance runs the main dialog modally; when it returns, the program ends.
#include <wx/app.h>

#include "app/quorvex_demo_app.h"
#include "framework/host.h"
#include "hosts/wx/assert_handler.h"
#include "hosts/wx/wx_host.h"

namespace {

class QuorvexWxApp : public wxApp {
 public:
  bool OnInit() override {
    wxhost::InstallAssertHandler();
    SetAppName("QuorvexDemo");
    // Library threads may still post while the process winds down; the host
    // outlives them (their work is dropped) rather than going away under them.
    fw::SetCurrentHost(new wxhost::WxHost);
    return true;
  }

  // No main loop of our own: the dialog's modal loop is the program's loop.
  int OnRun() override {
    theApp.InitInstance();
    return 0;
  }
};

}  // namespace

wxIMPLEMENT_APP(QuorvexWxApp);
