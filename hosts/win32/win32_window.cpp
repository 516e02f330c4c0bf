#include "hosts/win32/win32_window.h"

#include <commdlg.h>

#include <vector>

#include "framework/icon_origin.h"
#include "framework/list_model.h"
#include "hosts/win32/win32_host.h"

namespace win32host {

std::wstring ToWide(const std::string& text, unsigned codePage) {
  if (text.empty()) return {};
  const int n =
      MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string FromWide(const std::wstring& text, unsigned codePage) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

HICON LoadAppIcon(fw::IconHandle id, bool big) {
  const int cx = GetSystemMetrics(big ? SM_CXICON : SM_CXSMICON);
  const int cy = GetSystemMetrics(big ? SM_CYICON : SM_CYSMICON);
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                       MAKEINTRESOURCEW(static_cast<WORD>(id)), IMAGE_ICON, cx, cy,
                                       LR_DEFAULTCOLOR | LR_SHARED));
}

UINT BoxStyle(fw::BoxIcon icon) {
  switch (icon) {
    case fw::BoxIcon::Stop:
      return MB_OK | MB_ICONSTOP;
    case fw::BoxIcon::Warning:
      return MB_OK | MB_ICONWARNING;
    case fw::BoxIcon::Information:
      return MB_OK | MB_ICONINFORMATION;
    case fw::BoxIcon::None:
      break;
  }
  return MB_OK;
}

HWND Win32Window::Item(int id) const {
  // Labels share the id 0xFFFF and are never addressed.
  if (id == fw::kIdStatic || dialog_.Template().Find(id) == nullptr) return nullptr;
  return GetDlgItem(hwnd_, id);
}

fw::ControlKind Win32Window::Kind(int id) const {
  const fw::ControlTemplate* c = dialog_.Template().Find(id);
  return c != nullptr ? c->kind : fw::ControlKind::Static;
}

LRESULT Win32Window::Send(int id, UINT message, WPARAM w, LPARAM l) const {
  HWND item = Item(id);
  return item != nullptr ? SendMessageW(item, message, w, l) : -1;
}

bool Win32Window::HasControl(int id) const { return Item(id) != nullptr; }

void Win32Window::EnableControl(int id, bool enable) {
  if (HWND item = Item(id)) EnableWindow(item, enable ? TRUE : FALSE);
}

bool Win32Window::IsControlEnabled(int id) const {
  HWND item = Item(id);
  return item != nullptr && IsWindowEnabled(item);
}

void Win32Window::SetText(int id, const std::string& text) {
  if (HWND item = Item(id)) SetWindowTextW(item, ToWide(text).c_str());
}

std::string Win32Window::GetText(int id) const {
  HWND item = Item(id);
  if (item == nullptr) return {};
  // A drop-down list's window text is its selected entry.
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
  return FromWide(text);
}

void Win32Window::SetCheck(int id, int state) {
  if (HWND item = Item(id)) SendMessageW(item, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

int Win32Window::GetCheck(int id) const {
  HWND item = Item(id);
  return item != nullptr ? static_cast<int>(SendMessageW(item, BM_GETCHECK, 0, 0)) : 0;
}

int Win32Window::AddString(int id, const std::string& text) {
  const std::wstring w = ToWide(text);
  LRESULT r = -1;
  if (IsCombo(id)) r = Send(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str()));
  if (IsListBox(id)) r = Send(id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str()));
  return r < 0 ? -1 : static_cast<int>(r);
}

int Win32Window::GetCount(int id) const {
  if (IsCombo(id)) return static_cast<int>(Send(id, CB_GETCOUNT));
  if (IsListBox(id)) return static_cast<int>(Send(id, LB_GETCOUNT));
  return -1;
}

int Win32Window::GetCurSel(int id) const {
  if (IsCombo(id)) return static_cast<int>(Send(id, CB_GETCURSEL));
  if (IsListBox(id)) {
    // A list box of multiple selection has no single selection: its caret.
    if (GetCount(id) <= 0) return -1;
    return static_cast<int>(Send(id, LB_GETCARETINDEX));
  }
  return -1;
}

int Win32Window::SetCurSel(int id, int index) {
  if (IsCombo(id)) {
    // An index out of range clears the selection; not every implementation
    // of the control does that itself.
    if (!fw::InRange(index, GetCount(id))) index = -1;
    const LRESULT r = Send(id, CB_SETCURSEL, static_cast<WPARAM>(index));
    return r < 0 ? -1 : static_cast<int>(r);
  }
  if (IsListBox(id)) {
    Send(id, LB_SETSEL, FALSE, -1);
    if (!fw::InRange(index, GetCount(id))) return -1;
    Send(id, LB_SETSEL, TRUE, index);
    Send(id, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
    return index;
  }
  return -1;
}

int Win32Window::SetItemData(int id, int index, uintptr_t data) {
  if (!fw::InRange(index, GetCount(id))) return -1;
  const UINT m = IsCombo(id) ? CB_SETITEMDATA : LB_SETITEMDATA;
  return Send(id, m, static_cast<WPARAM>(index), static_cast<LPARAM>(data)) < 0 ? -1 : 0;
}

uintptr_t Win32Window::GetItemData(int id, int index) const {
  if (!fw::InRange(index, GetCount(id))) return 0;
  const UINT m = IsCombo(id) ? CB_GETITEMDATA : LB_GETITEMDATA;
  return static_cast<uintptr_t>(Send(id, m, static_cast<WPARAM>(index)));
}

std::string Win32Window::GetItemText(int id, int index) const {
  if (!fw::InRange(index, GetCount(id))) return {};
  const bool combo = IsCombo(id);
  const LRESULT len = Send(id, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(index));
  if (len < 0) return {};
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  const LRESULT got = Send(id, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(index),
                           reinterpret_cast<LPARAM>(text.data()));
  text.resize(got < 0 ? 0 : static_cast<size_t>(got));
  return FromWide(text);
}

void Win32Window::ResetContent(int id) {
  if (IsCombo(id)) Send(id, CB_RESETCONTENT);
  if (IsListBox(id)) Send(id, LB_RESETCONTENT);
}

int Win32Window::SetTopIndex(int id, int index) {
  if (!fw::InRange(index, GetCount(id))) return -1;
  const LRESULT r =
      Send(id, IsCombo(id) ? CB_SETTOPINDEX : LB_SETTOPINDEX, static_cast<WPARAM>(index));
  return r < 0 ? -1 : 0;
}

void Win32Window::SetFocus(int id) {
  // The dialog manager's own way, so the default button follows the focus.
  if (HWND item = Item(id))
    SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
}

bool Win32Window::AppendSystemMenu(unsigned command, const std::string& text) {
  HMENU menu = GetSystemMenu(hwnd_, FALSE);
  if (menu == nullptr) return false;
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, command, ToWide(text).c_str());
  return true;
}

void Win32Window::SetIcon(fw::IconHandle icon, bool big) {
  SendMessageW(hwnd_, WM_SETICON, big ? ICON_BIG : ICON_SMALL,
               reinterpret_cast<LPARAM>(LoadAppIcon(icon, big)));
}

bool Win32Window::IsIconic() const { return ::IsIconic(hwnd_) != FALSE; }

void Win32Window::PaintIconic(fw::IconHandle icon) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  SendMessageW(hwnd_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(hwnd_, &client);
  const fw::Point at =
      fw::CenteredIconOrigin(client.right - client.left, client.bottom - client.top,
                             GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
  DrawIcon(dc, at.x, at.y, LoadAppIcon(icon, true));
  EndPaint(hwnd_, &ps);
  painted_ = true;
}

int Win32Window::MessageBox(const std::string& text, const std::string& caption, fw::BoxIcon icon) {
  return MessageBoxW(hwnd_, ToWide(text).c_str(), ToWide(caption).c_str(), BoxStyle(icon));
}

std::optional<std::string> Win32Window::FileDialog(const fw::FileDialogRequest& request) {
  // "Desc|pattern|...||" becomes the dialog's list of zero-terminated pairs.
  std::wstring filter = ToWide(request.filter);
  for (wchar_t& c : filter) {
    if (c == L'|') c = L'\0';
  }
  filter.push_back(L'\0');
  const std::wstring ext = ToWide(request.defaultExt);
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring name = ToWide(request.defaultName, CP_ACP);
  name.copy(file.data(), std::min(name.size(), file.size() - 1));

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = hwnd_;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
  const std::wstring dir = ToWide(request.initialDir, CP_ACP);
  ofn.lpstrInitialDir = dir.empty() ? nullptr : dir.c_str();
  // No question before replacing a file and no insisting that it exists: the
  // program opens the path itself and reports what fails ("CreateFile()
  // failed !"), as with the other hosts.
  ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
  const BOOL ok = request.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!ok) return std::nullopt;
  // The program opens the path with the 8-bit file functions.
  return FromWide(std::wstring(file.data()), CP_ACP);
}

uintptr_t Win32Window::SetTimer(uintptr_t id, unsigned milliseconds) {
  return ::SetTimer(hwnd_, id, milliseconds, nullptr);
}

bool Win32Window::KillTimer(uintptr_t id) { return ::KillTimer(hwnd_, id) != FALSE; }

void Win32Window::EndDialog(int result) { ::EndDialog(hwnd_, result); }

int Win32Window::RunModal(fw::Dialog& child) { return host_.RunModalOwned(child, hwnd_); }

}  // namespace win32host
