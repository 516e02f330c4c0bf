// gui_probe.exe CAPTION TIMEOUT_MS [SHOT.bmp]: looks at the program's window
// from outside, as a user would. Waits for a top-level window with CAPTION,
// waits until its message list (1013) stops growing, prints the window's size
// in pixels and dialog units, every line of the message list ("log: TEXT")
// and every entry of the device list ("device: TEXT"),
// optionally saves a screenshot, opens the signal history from the system
// menu and reports whether its chart painted ("chart: ...") before closing it,
// then clicks the window's close button and waits for the window to go. Exit
// status 0 when the window closed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

std::vector<std::string> ListLines(HWND list) {
  std::vector<std::string> lines;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT len = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (len < 0) continue;
    std::wstring text(static_cast<size_t>(len) + 1, L'\0');
    const LRESULT got = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(got < 0 ? 0 : static_cast<size_t>(got));
    lines.push_back(Utf8(text));
  }
  return lines;
}

// The device list's entries: a long one as its length and both ends.
void PrintDevices(HWND combo) {
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  std::printf("devices: %ld\n", static_cast<long>(count));
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT len = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring text(static_cast<size_t>(len < 0 ? 0 : len) + 1, L'\0');
    const LRESULT got = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(got < 0 ? 0 : static_cast<size_t>(got));
    if (text.size() > 80) {
      text = std::to_wstring(text.size()) + L" characters: " + text.substr(0, 8) + L"..." +
             text.substr(text.size() - 16);
    }
    std::printf("device: %s\n", Utf8(text).c_str());
  }
}

void SaveShot(HWND hwnd, const char* path) {
  RECT r;
  GetWindowRect(hwnd, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = static_cast<DWORD>((w * 3 + 3) & ~3);
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(bi.bmiHeader);
  fh.bfSize = fh.bfOffBits + stride * static_cast<DWORD>(h);
  if (FILE* f = std::fopen(path, "wb")) {
    std::fwrite(&fh, sizeof(fh), 1, f);
    std::fwrite(&bi.bmiHeader, sizeof(bi.bmiHeader), 1, f);
    std::fwrite(bits, stride, static_cast<size_t>(h), f);
    std::fclose(f);
  }
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

RECT DialogUnits(int cx, int cy) {
  // DLGTEMPLATE with DS_SETFONT, no controls, then "MS Shell Dlg" 8 point.
  std::vector<WORD> t = {LOWORD(WS_POPUP | DS_SETFONT),
                         HIWORD(WS_POPUP | DS_SETFONT),
                         0,
                         0,
                         0,
                         0,
                         0,
                         10,
                         10,
                         0,
                         0,
                         0,
                         8};
  for (const wchar_t* f = L"MS Shell Dlg"; *f != 0; ++f) t.push_back(static_cast<WORD>(*f));
  t.push_back(0);
  RECT r{0, 0, cx, cy};
  HWND dlg = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                        reinterpret_cast<const DLGTEMPLATE*>(t.data()), nullptr,
                                        NoDialogProc, 0);
  if (dlg != nullptr) {
    MapDialogRect(dlg, &r);
    DestroyWindow(dlg);
  }
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::puts("usage: gui_probe CAPTION TIMEOUT_MS [SHOT.bmp]");
    return 2;
  }
  const int caption_len = MultiByteToWideChar(CP_UTF8, 0, argv[1], -1, nullptr, 0);
  std::wstring caption(static_cast<size_t>(caption_len), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, argv[1], -1, caption.data(), caption_len);
  const DWORD deadline = GetTickCount() + static_cast<DWORD>(std::atoi(argv[2]));

  // The dialog becomes visible when its initialisation has returned.
  HWND hwnd = nullptr;
  while ((hwnd == nullptr || !IsWindowVisible(hwnd)) && GetTickCount() < deadline) {
    hwnd = FindWindowW(nullptr, caption.c_str());
    if (hwnd == nullptr || !IsWindowVisible(hwnd)) Sleep(100);
  }
  if (hwnd == nullptr) {
    std::puts("no window");
    return 1;
  }
  HWND list = GetDlgItem(hwnd, 1013);
  // Start-up is over when the list has kept its length for a second.
  LRESULT last = -1;
  int steady = 0;
  while (steady < 10 && GetTickCount() < deadline) {
    const LRESULT count = list != nullptr ? SendMessageW(list, LB_GETCOUNT, 0, 0) : 0;
    steady = count == last ? steady + 1 : 0;
    last = count;
    Sleep(100);
  }
  RECT client;
  GetClientRect(hwnd, &client);
  // What 262 x 419 dialog units of the program's font are in pixels, from a
  // dialog of this process with that font (MapDialogRect works only on the
  // caller's own dialogs).
  const RECT want = DialogUnits(262, 419);
  std::printf("window: visible=%d client=%ldx%ld want=%ldx%ld\n", IsWindowVisible(hwnd) ? 1 : 0,
              client.right, client.bottom, want.right, want.bottom);
  if (list != nullptr) {
    for (const std::string& line : ListLines(list)) std::printf("log: %s\n", line.c_str());
  }
  if (HWND devices = GetDlgItem(hwnd, 1047)) PrintDevices(devices);
  std::fflush(stdout);
  if (argc > 3) SaveShot(hwnd, argv[3]);

  PostMessageW(hwnd, WM_SYSCOMMAND, 0x20, 0);
  HWND history = nullptr;
  while (history == nullptr && GetTickCount() < deadline) {
    history = FindWindowW(nullptr, L"Signal history");
    Sleep(100);
  }
  HWND chart = FindWindowExW(history, nullptr, L"QuorvexDemoChart", nullptr);
  Sleep(500);
  RECT c{};
  GetClientRect(chart, &c);
  POINT at{1, 1};
  ClientToScreen(chart, &at);
  HDC dc = GetDC(nullptr);
  // The chart paints every pixel: its top-left corner is the white margin.
  const COLORREF corner = GetPixel(dc, at.x, at.y);
  ReleaseDC(nullptr, dc);
  if (argc > 3) SaveShot(history, (std::string(argv[3]) + ".history.bmp").c_str());
  std::printf("chart: window=%d width=%ld corner=%06lx\n", history != nullptr ? 1 : 0, c.right,
              static_cast<unsigned long>(corner));
  PostMessageW(history, WM_CLOSE, 0, 0);
  while (IsWindow(history) && GetTickCount() < deadline) Sleep(100);
  std::printf("chart: closed=%d\n", IsWindow(history) ? 0 : 1);
  std::fflush(stdout);

  PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  while (IsWindow(hwnd) && GetTickCount() < deadline) Sleep(100);
  if (IsWindow(hwnd)) {
    std::puts("window still open");
    return 1;
  }
  std::puts("closed");
  return 0;
}
