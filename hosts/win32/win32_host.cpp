#include "hosts/win32/win32_host.h"

#include <memory>
#include <optional>
#include <utility>

#include "framework/dialog_life.h"
#include "framework/notification.h"
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

// The control event a command's notification code stands for. The codes of
// the three control classes coincide, and the framework's rule for the
// control's kind drops the ones it does not notify (a button's code 1 is an
// old paint notification, not a selection).
static_assert(CBN_SELCHANGE == LBN_SELCHANGE && CBN_DBLCLK == LBN_DBLCLK);
std::optional<fw::ControlEvent> EventOf(UINT code) {
  switch (code) {
    case BN_CLICKED:
      return fw::ControlEvent::Pressed;
    case LBN_SELCHANGE:
      return fw::ControlEvent::SelectionChanged;
    case LBN_DBLCLK:
      return fw::ControlEvent::DoubleClicked;
    default:
      return std::nullopt;
  }
}

// What a command means to the dialog, or nothing.
std::optional<fw::Message> CommandOf(const fw::Dialog& dialog, int id, UINT code) {
  const fw::ControlTemplate* c = dialog.Template().Find(id);
  // Enter and Escape arrive as these commands from no control at all.
  if (c == nullptr && id == fw::kIdOk) return fw::KeyCommand(fw::DialogKey::Enter);
  if (c == nullptr && id == fw::kIdCancel) return fw::KeyCommand(fw::DialogKey::Escape);
  const std::optional<fw::ControlEvent> event = EventOf(code);
  if (c == nullptr || !event) return std::nullopt;
  return fw::ControlNotification(*c, *event);
}

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  auto* window = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (message == WM_INITDIALOG) {
    const Opening* o = reinterpret_cast<const Opening*>(l);
    window = new Win32Window(*o->dialog, *o->host, hwnd);
    SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(window));
    return fw::StartDialog(*o->dialog, *window) ? TRUE : FALSE;
  }
  if (window == nullptr) return FALSE;
  fw::Dialog& dialog = window->Owner();
  switch (message) {
    case WM_COMMAND: {
      const std::optional<fw::Message> command = CommandOf(dialog, LOWORD(w), HIWORD(w));
      if (!command) return FALSE;
      dialog.Dispatch(*command);
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
      fw::FinishDialog(dialog);
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
