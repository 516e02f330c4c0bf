#include "app/quorvex_demo_app.h"

#include "app/quorvex_demo_dlg.h"
#include "framework/dialog.h"
#include "platform/system.h"
#include "res/resource_ids.h"
#include "res/strings.h"

CQuorvexDemoApp theApp;

CQuorvexDemoApp::CQuorvexDemoApp() : startSockets(platform::StartSockets) {
  fw::SetAppTitle("QuorvexDemo");
}

bool CQuorvexDemoApp::InitInstance() {
  // Nothing uses sockets afterwards; the start-up only decides whether the
  // program runs, as it always has.
  if (!startSockets()) {
    fw::CurrentHost().MessageBox(res::LoadString(IDP_SOCKETS_INIT_FAILED), fw::AppTitle(),
                                 fw::BoxIcon::Warning);
    return false;
  }
  CQuorvexDemoDlg dlg;
  dlg.DoModal();
  return false;
}
