#include "app/about_dlg.h"

#include "res/dialogs.h"

CAboutDlg::CAboutDlg() : fw::Dialog(res::AboutDialogTemplate()) {}
