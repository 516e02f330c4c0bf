// The About box: template 100, no members, no handlers.
#pragma once

#include "framework/dialog.h"

class CAboutDlg : public fw::Dialog {
 public:
  CAboutDlg();
};
