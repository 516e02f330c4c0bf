#include "hosts/win32/win32_host.h"

#include <memory>
#include <utility>

#include "hosts/win32/dialog_template_win32.h"
#include "hosts/win32/win32_window.h"

namespace win32host {

namespace {

constexpr UINT kPostedWork = WM_APP + 1;
constexpr wchar_t kMessageClass[] = L"QuorvexDemoPostedWork";

struct Opening {
  fw::Dialog* dialog;
  Win32Host* host;
};

// The notification a control's command stands for, by the kind of control.
bool Notification(const fw::Dialog& dialog, int id, UINT code, fw::Notify& out) {
  if (id == fw::kIdOk || id == fw::kIdCancel) {
    // Enter and Escape arrive as these commands from no control at all.
    if (dialog.Template().Find(id) == nullptr || code == BN_CLICKED) {
      out = fw::Notify::Clicked;
      return true;
    }
  }
  const fw::ControlTemplate* c = dialog.Template().Find(id);
  if (c == nullptr) return false;
  switch (c->kind) {
    case fw::ControlKind::ComboBox:
      out = fw::Notify::SelChange;
      return code == CBN_SELCHANGE;
    case fw::ControlKind::ListBox:
      out = fw::Notify::DoubleClicked;
      return code == LBN_DBLCLK;
    case fw::ControlKind::PushButton:
    case fw::ControlKind::DefPushButton:
    case fw::ControlKind::CheckBox:
    case fw::ControlKind::Radio:
      out = fw::Notify::Clicked;
      return code == BN_CLICKED;
    default:
      return false;
  }
}

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  auto* window = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (message == WM_INITDIALOG) {
    const Opening* o = reinterpret_cast<const Opening*>(l);
    window = new Win32Window(*o->dialog, *o->host, hwnd);
    SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(window));
    o->dialog->AttachWindow(window);
    // The lists get the template's entries before the dialog's own
    // initialisation runs, as a resource's list data is loaded.
    for (const fw::ControlTemplate& c : o->dialog->Template().controls) {
      for (const std::string& entry : c.entries) window->AddString(c.id, entry);
    }
    return o->dialog->InitDialog() ? TRUE : FALSE;
  }
  if (window == nullptr) return FALSE;
  fw::Dialog& dialog = window->Owner();
  switch (message) {
    case WM_COMMAND: {
      fw::Notify code;
      if (!Notification(dialog, LOWORD(w), HIWORD(w), code)) return FALSE;
      dialog.Dispatch(fw::CommandMessage(LOWORD(w), code));
      return TRUE;
    }
    case WM_CLOSE:
      dialog.Dispatch(fw::MessageOf(fw::MessageKind::Close));
      return TRUE;
    case WM_TIMER:
      dialog.Dispatch(fw::TimerMessage(w));
      return TRUE;
    case WM_SYSCOMMAND:
      // The window's own commands (move, minimise, close ...) keep their
      // usual effect; Close comes back as WM_CLOSE. The entries the program
      // appended go to its handler.
      if ((w & 0xFFF0) >= 0xF000) return FALSE;
      dialog.Dispatch(fw::SysCommandMessage(static_cast<unsigned>(w), l));
      return TRUE;
    case WM_PAINT:
      dialog.Dispatch(fw::MessageOf(fw::MessageKind::Paint));
      // Not minimised: the dialog paints itself as usual.
      return window->TakePainted() ? TRUE : FALSE;
    case WM_QUERYDRAGICON: {
      const uintptr_t icon = dialog.Dispatch(fw::MessageOf(fw::MessageKind::QueryDragIcon));
      return reinterpret_cast<INT_PTR>(icon != 0 ? LoadAppIcon(icon, true) : nullptr);
    }
    case WM_NCDESTROY:
      dialog.AttachWindow(nullptr);
      SetWindowLongPtrW(hwnd, DWLP_USER, 0);
      delete window;
      return FALSE;
    default:
      return FALSE;
  }
}

LRESULT CALLBACK MessageWindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  if (message == kPostedWork) {
    auto* host = reinterpret_cast<Win32Host*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (host != nullptr) host->RunPosted();
    return 0;
  }
  return DefWindowProcW(hwnd, message, w, l);
}

}  // namespace

// The message never waits for the user-interface thread: it only wakes it.
Win32Host::Win32Host()
    : posts_([this] { PostMessageW(static_cast<HWND>(messageWindow_), kPostedWork, 0, 0); }) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = MessageWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kMessageClass;
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, kMessageClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              wc.hInstance, nullptr);
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  messageWindow_ = hwnd;
}

Win32Host::~Win32Host() {
  posts_.Close();
  DestroyWindow(static_cast<HWND>(messageWindow_));
}

int Win32Host::RunModal(fw::Dialog& dialog) { return RunModalOwned(dialog, nullptr); }

int Win32Host::RunModalOwned(fw::Dialog& dialog, void* owner) {
  const std::vector<uint16_t> t = BuildDialogTemplate(dialog.Template());
  Opening opening{&dialog, this};
  if (openDialogs_++ == 0) posts_.Open();
  const INT_PTR result = DialogBoxIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(t.data()),
      static_cast<HWND>(owner), DialogProc, reinterpret_cast<LPARAM>(&opening));
  // Work posted for a dialog that has gone has nobody left to run it.
  if (--openDialogs_ == 0) posts_.Close();
  return static_cast<int>(result);
}

int Win32Host::MessageBox(const std::string& text, const std::string& caption, fw::BoxIcon icon) {
  return MessageBoxW(nullptr, ToWide(text).c_str(), ToWide(caption).c_str(), BoxStyle(icon));
}

void Win32Host::Post(std::function<void()> work) { posts_.Post(std::move(work)); }

void Win32Host::RunPosted() { posts_.Drain(); }

}  // namespace win32host
