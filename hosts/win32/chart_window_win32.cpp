#include "hosts/win32/chart_window_win32.h"

#include <vector>

#include "hosts/win32/frame_window.h"
#include "hosts/win32/win32_window.h"

namespace win32host {

namespace {

constexpr wchar_t kFrameClass[] = L"QuorvexDemoChartFrame";
constexpr wchar_t kChartClass[] = L"QuorvexDemoChart";
enum : int { kSpans = 101, kFast = 102, kSave = 103 };

COLORREF Colour(fw::Rgb c) { return RGB(c.r, c.g, c.b); }

HFONT GuiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

void RegisterClasses(WNDPROC frame, WNDPROC chart) {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterWindowClass(kFrameClass, frame, FaceBrush());
  RegisterWindowClass(kChartClass, chart, nullptr);  // the chart paints every pixel itself
}

ChartWindowWin32* Self(HWND hwnd) {
  return reinterpret_cast<ChartWindowWin32*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

}  // namespace

void PaintChartPicture(HDC dc, const fw::ChartPicture& p, int width, int height) {
  const RECT all{0, 0, width, height};
  HBRUSH background = CreateSolidBrush(Colour(p.background));
  FillRect(dc, &all, background);
  DeleteObject(background);
  for (const auto& r : p.rects) {
    const RECT rect{r.x, r.y, r.x + r.w, r.y + r.h};
    HBRUSH brush = CreateSolidBrush(Colour(r.colour));
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
  }
  for (const auto& l : p.lines) {
    if (l.points.size() < 2) continue;
    LOGBRUSH lb{BS_SOLID, Colour(l.colour), 0};
    HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_ROUND,
                            static_cast<DWORD>(l.width), &lb, 0, nullptr);
    HGDIOBJ old = SelectObject(dc, pen);
    std::vector<POINT> points;
    points.reserve(l.points.size());
    for (const fw::ChartPoint& pt : l.points) points.push_back({pt.x, pt.y});
    Polyline(dc, points.data(), static_cast<int>(points.size()));
    SelectObject(dc, old);
    DeleteObject(pen);
  }
  HGDIOBJ oldFont = SelectObject(dc, GuiFont());
  SetBkMode(dc, TRANSPARENT);
  for (const auto& t : p.texts) {
    SetTextColor(dc, Colour(t.colour));
    SetTextAlign(dc, TA_TOP | (t.alignRight ? TA_RIGHT : TA_LEFT));
    const std::wstring text = ToWide(t.text);
    TextOutW(dc, t.x, t.y, text.c_str(), static_cast<int>(text.size()));
  }
  SelectObject(dc, oldFont);
}

ChartWindowWin32* ChartWindowWin32::Create(HWND owner, fw::ChartWindowModel& model) {
  RegisterClasses(FrameProc, ChartProc);
  auto* self = new ChartWindowWin32(model);
  RECT beside{};
  GetWindowRect(owner, &beside);
  HWND frame = CreateWindowExW(0, kFrameClass, ToWide(model.Title()).c_str(),
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, beside.right + 8, beside.top,
                               460, 400, owner, nullptr, GetModuleHandleW(nullptr), self);
  if (frame == nullptr) {
    delete self;
    return nullptr;
  }
  ShowWindow(frame, SW_SHOWNORMAL);
  return self;
}

void ChartWindowWin32::CreateControls() {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  const auto child = [&](const wchar_t* cls, const std::string& text, DWORD style, int id) {
    HWND h =
        CreateWindowExW(0, cls, ToWide(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10,
                        frame_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);
    return h;
  };
  spans_ = child(L"COMBOBOX", "", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, kSpans);
  for (const std::string& name : model_.SpanNames()) {
    SendMessageW(spans_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(name).c_str()));
  }
  SendMessageW(spans_, CB_SETCURSEL, static_cast<WPARAM>(model_.Span()), 0);
  fast_ = child(L"BUTTON", model_.SwitchName(), BS_AUTOCHECKBOX | WS_TABSTOP, kFast);
  SendMessageW(fast_, BM_SETCHECK, model_.Switch() ? BST_CHECKED : BST_UNCHECKED, 0);
  save_ = child(L"BUTTON", "Save CSV...", BS_PUSHBUTTON | WS_TABSTOP, kSave);
  summary_ = child(L"STATIC", model_.Summary(), SS_LEFT, 0);
  chart_ = child(kChartClass, "", 0, 0);
  SetWindowLongPtrW(chart_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void ChartWindowWin32::Layout(int width, int height) {
  MoveWindow(spans_, 8, 8, 100, 200, TRUE);
  MoveWindow(fast_, 120, 10, 120, 20, TRUE);
  MoveWindow(save_, width - 108, 8, 100, 24, TRUE);
  MoveWindow(summary_, 8, 38, width - 16, 32, TRUE);
  MoveWindow(chart_, 8, 74, width - 16, height - 82 > 10 ? height - 82 : 10, TRUE);
}

void ChartWindowWin32::ShowNewData() {
  SetWindowTextW(summary_, ToWide(model_.Summary()).c_str());
  SendMessageW(spans_, CB_SETCURSEL, static_cast<WPARAM>(model_.Span()), 0);
  SendMessageW(fast_, BM_SETCHECK, model_.Switch() ? BST_CHECKED : BST_UNCHECKED, 0);
  InvalidateRect(chart_, nullptr, FALSE);
}

void ChartWindowWin32::BringToFront() { BringFrameToFront(frame_); }

LRESULT CALLBACK ChartWindowWin32::FrameProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  ChartWindowWin32* self = BoundOwner<ChartWindowWin32>(hwnd, message, l);
  if (self == nullptr) return DefWindowProcW(hwnd, message, w, l);
  if (message == WM_NCCREATE) self->frame_ = hwnd;
  switch (message) {
    case WM_CREATE:
      self->CreateControls();
      return 0;
    case WM_SIZE:
      self->Layout(LOWORD(l), HIWORD(l));
      return 0;
    case WM_COMMAND:
      if (LOWORD(w) == kSpans && HIWORD(w) == CBN_SELCHANGE) {
        self->model_.SetSpan(static_cast<int>(SendMessageW(self->spans_, CB_GETCURSEL, 0, 0)));
      } else if (LOWORD(w) == kFast && HIWORD(w) == BN_CLICKED) {
        self->model_.SetSwitch(SendMessageW(self->fast_, BM_GETCHECK, 0, 0) == BST_CHECKED);
        SendMessageW(self->fast_, BM_SETCHECK, self->model_.Switch() ? BST_CHECKED : BST_UNCHECKED,
                     0);
      } else if (LOWORD(w) == kSave && HIWORD(w) == BN_CLICKED) {
        self->model_.Save();
      }
      return 0;
    case WM_CLOSE:
      // Only the user's close tells the program; the dialog's own end takes
      // this owned window with it silently.
      self->model_.Closed();
      DestroyWindow(hwnd);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      delete self;
      return DefWindowProcW(hwnd, message, w, l);
    default:
      return DefWindowProcW(hwnd, message, w, l);
  }
}

LRESULT CALLBACK ChartWindowWin32::ChartProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  ChartWindowWin32* self = Self(hwnd);
  if (message == WM_ERASEBKGND) return 1;
  if (message != WM_PAINT || self == nullptr) return DefWindowProcW(hwnd, message, w, l);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT r{};
  GetClientRect(hwnd, &r);
  // Drawn off screen first, so a refresh every half second does not flicker.
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, r.right, r.bottom);
  HGDIOBJ old = SelectObject(memory, bitmap);
  PaintChartPicture(memory, self->model_.Picture(r.right, r.bottom), r.right, r.bottom);
  BitBlt(dc, 0, 0, r.right, r.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  EndPaint(hwnd, &ps);
  return 0;
}

fw::ChartWindow* Win32Window::OpenChartWindow(fw::ChartWindowModel& model) {
  return ChartWindowWin32::Create(hwnd_, model);
}

}  // namespace win32host
