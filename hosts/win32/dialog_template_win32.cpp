#include "hosts/win32/dialog_template_win32.h"

namespace win32host {

namespace {

// The Win32 constants, spelled out so that this file needs no <windows.h> and
// its tests can check the layout on any compiler.
constexpr uint32_t kWsChild = 0x40000000, kWsVisible = 0x10000000, kWsDisabled = 0x08000000,
                   kWsPopup = 0x80000000, kWsCaption = 0x00C00000, kWsSysMenu = 0x00080000,
                   kWsMinimizeBox = 0x00020000, kWsGroup = 0x00020000, kWsTabStop = 0x00010000,
                   kWsVScroll = 0x00200000, kWsBorder = 0x00800000;
constexpr uint32_t kDsModalFrame = 0x80, kDsSetFont = 0x40;
constexpr uint32_t kWsExAppWindow = 0x00040000;
constexpr uint32_t kBsPushButton = 0x0, kBsDefPushButton = 0x1, kBsAutoCheckBox = 0x3,
                   kBsGroupBox = 0x7, kBsAutoRadioButton = 0x9;
constexpr uint32_t kEsLeft = 0x0, kEsAutoHScroll = 0x80, kEsNumber = 0x2000;
constexpr uint32_t kSsLeft = 0x0, kSsIcon = 0x3;
constexpr uint32_t kLbsNotify = 0x1, kLbsMultipleSel = 0x8, kLbsNoIntegralHeight = 0x100,
                   kLbsDisableNoScroll = 0x1000;
constexpr uint32_t kCbsDropDownList = 0x3, kCbsDisableNoScroll = 0x800;
constexpr uint16_t kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kListBox = 0x83, kComboBox = 0x85;

void Put32(std::vector<uint16_t>& out, uint32_t v) {
  out.push_back(static_cast<uint16_t>(v & 0xFFFF));
  out.push_back(static_cast<uint16_t>(v >> 16));
}

void PutString(std::vector<uint16_t>& out, const std::string& utf8) {
  for (char16_t c : Widen(utf8)) out.push_back(static_cast<uint16_t>(c));
  out.push_back(0);
}

}  // namespace

std::u16string Widen(const std::string& s) {
  std::u16string out;
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    uint32_t cp = 0xFFFD;
    size_t len = 1;
    if (c < 0x80) {
      cp = c;
    } else if ((c >> 5) == 0x6 && i + 1 < s.size()) {
      cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu);
      len = 2;
    } else if ((c >> 4) == 0xE && i + 2 < s.size()) {
      cp = ((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 6) |
           (static_cast<unsigned char>(s[i + 2]) & 0x3Fu);
      len = 3;
    } else if ((c >> 3) == 0x1E && i + 3 < s.size()) {
      cp = ((c & 0x07u) << 18) | ((static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 12) |
           ((static_cast<unsigned char>(s[i + 2]) & 0x3Fu) << 6) |
           (static_cast<unsigned char>(s[i + 3]) & 0x3Fu);
      len = 4;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}

uint16_t NativeControlId(int id) { return static_cast<uint16_t>(id & 0xFFFF); }

NativeControlStyle ControlStyle(const fw::ControlTemplate& c) {
  NativeControlStyle s{kStatic, kWsChild | kWsVisible, 0};
  const uint32_t f = c.style;
  if (f & fw::kDisabled) s.style |= kWsDisabled;
  if (f & fw::kTabStop) s.style |= kWsTabStop;
  if (f & fw::kGroup) s.style |= kWsGroup;
  if (f & fw::kVScroll) s.style |= kWsVScroll;
  switch (c.kind) {
    case fw::ControlKind::GroupBox:
      s.classAtom = kButton;
      s.style |= kBsGroupBox;
      break;
    case fw::ControlKind::Static:
      s.style |= kSsLeft;
      break;
    case fw::ControlKind::Icon:
      s.style |= kSsIcon;
      break;
    case fw::ControlKind::Edit:
      s.classAtom = kEdit;
      s.style |= kEsLeft | kWsBorder;
      if (f & fw::kNumber) s.style |= kEsNumber;
      if (f & fw::kAutoHScroll) s.style |= kEsAutoHScroll;
      break;
    case fw::ControlKind::PushButton:
      s.classAtom = kButton;
      s.style |= kBsPushButton;
      break;
    case fw::ControlKind::DefPushButton:
      s.classAtom = kButton;
      s.style |= kBsDefPushButton;
      break;
    case fw::ControlKind::CheckBox:
      s.classAtom = kButton;
      s.style |= kBsAutoCheckBox;
      break;
    case fw::ControlKind::Radio:
      s.classAtom = kButton;
      s.style |= kBsAutoRadioButton;
      break;
    case fw::ControlKind::ComboBox:
      s.classAtom = kComboBox;
      // A drop-down list always scrolls when its entries overflow.
      s.style |= kCbsDropDownList | kWsVScroll;
      if (f & fw::kDisableNoScroll) s.style |= kCbsDisableNoScroll;
      break;
    case fw::ControlKind::ListBox:
      s.classAtom = kListBox;
      s.style |= kWsBorder;
      if (f & fw::kNotify) s.style |= kLbsNotify;
      if (f & fw::kMultiSel) s.style |= kLbsMultipleSel;
      if (f & fw::kNoIntegralHeight) s.style |= kLbsNoIntegralHeight;
      if (f & fw::kDisableNoScroll) s.style |= kLbsDisableNoScroll;
      break;
  }
  return s;
}

uint32_t DialogStyle(const fw::DialogTemplate& d) {
  uint32_t s = kWsPopup | kDsSetFont;
  if (d.style & fw::kDlgModalFrame) s |= kDsModalFrame;
  if (d.style & fw::kDlgCaption) s |= kWsCaption;
  if (d.style & fw::kDlgSysMenu) s |= kWsSysMenu;
  if (d.style & fw::kDlgMinimizeBox) s |= kWsMinimizeBox;
  if (d.style & fw::kDlgVisible) s |= kWsVisible;
  return s;
}

uint32_t DialogExStyle(const fw::DialogTemplate& d) {
  return (d.style & fw::kDlgAppWindow) ? kWsExAppWindow : 0;
}

std::vector<uint16_t> BuildDialogTemplate(const fw::DialogTemplate& d) {
  std::vector<uint16_t> t;
  // DLGTEMPLATE: style, extended style, item count, x, y, cx, cy.
  Put32(t, DialogStyle(d));
  Put32(t, DialogExStyle(d));
  t.push_back(static_cast<uint16_t>(d.controls.size()));
  t.push_back(static_cast<uint16_t>(d.rect.x));
  t.push_back(static_cast<uint16_t>(d.rect.y));
  t.push_back(static_cast<uint16_t>(d.rect.cx));
  t.push_back(static_cast<uint16_t>(d.rect.cy));
  t.push_back(0);  // no menu
  t.push_back(0);  // the standard dialog class
  PutString(t, d.caption);
  t.push_back(static_cast<uint16_t>(d.fontPoints));
  PutString(t, d.fontName);

  for (const fw::ControlTemplate& c : d.controls) {
    // Every DLGITEMTEMPLATE starts on a 32-bit boundary.
    if (t.size() % 2 != 0) t.push_back(0);
    const NativeControlStyle s = ControlStyle(c);
    Put32(t, s.style);
    Put32(t, s.exStyle);
    t.push_back(static_cast<uint16_t>(c.rect.x));
    t.push_back(static_cast<uint16_t>(c.rect.y));
    t.push_back(static_cast<uint16_t>(c.rect.cx));
    t.push_back(static_cast<uint16_t>(c.rect.cy));
    t.push_back(NativeControlId(c.id));
    t.push_back(0xFFFF);
    t.push_back(s.classAtom);
    if (c.kind == fw::ControlKind::Icon) {
      // The icon is named by its resource ordinal.
      t.push_back(0xFFFF);
      t.push_back(static_cast<uint16_t>(c.iconId));
    } else {
      PutString(t, c.text);
    }
    t.push_back(0);  // no creation data
  }
  return t;
}

}  // namespace win32host
