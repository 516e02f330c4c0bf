// The in-memory dialog templates, read back the way the dialog manager reads
// them, with the constants of the Windows headers.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "hosts/win32/dialog_template_win32.h"
#include "res/dialogs.h"
#include "res/resource_ids.h"

namespace {

struct Item {
  DWORD style = 0, exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  WORD id = 0, classAtom = 0;
  std::u16string text;
  int ordinal = -1;
};

struct Parsed {
  DWORD style = 0, exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::u16string caption, font;
  WORD points = 0;
  std::vector<Item> items;
};

class Reader {
 public:
  explicit Reader(const std::vector<uint16_t>& w) : w_(w) {}
  WORD Word() { return pos_ < w_.size() ? w_[pos_++] : throw std::out_of_range("template"); }
  DWORD Dword() {
    const DWORD lo = Word();
    return lo | (static_cast<DWORD>(Word()) << 16);
  }
  std::u16string String() {
    std::u16string s;
    for (WORD c = Word(); c != 0; c = Word()) s.push_back(static_cast<char16_t>(c));
    return s;
  }
  void AlignDword() {
    if (pos_ % 2 != 0) Word();
  }
  bool AtEnd() const { return pos_ == w_.size(); }

 private:
  const std::vector<uint16_t>& w_;
  size_t pos_ = 0;
};

Parsed Parse(const std::vector<uint16_t>& words) {
  Reader r(words);
  Parsed p;
  p.style = r.Dword();
  p.exStyle = r.Dword();
  const WORD count = r.Word();
  p.x = static_cast<short>(r.Word());
  p.y = static_cast<short>(r.Word());
  p.cx = static_cast<short>(r.Word());
  p.cy = static_cast<short>(r.Word());
  EXPECT_EQ(r.Word(), 0) << "menu";
  EXPECT_EQ(r.Word(), 0) << "window class";
  p.caption = r.String();
  if (p.style & DS_SETFONT) {
    p.points = r.Word();
    p.font = r.String();
  }
  for (WORD i = 0; i < count; ++i) {
    r.AlignDword();
    Item it;
    it.style = r.Dword();
    it.exStyle = r.Dword();
    it.x = static_cast<short>(r.Word());
    it.y = static_cast<short>(r.Word());
    it.cx = static_cast<short>(r.Word());
    it.cy = static_cast<short>(r.Word());
    it.id = r.Word();
    EXPECT_EQ(r.Word(), 0xFFFF) << "class given by atom";
    it.classAtom = r.Word();
    const WORD first = r.Word();
    if (first == 0xFFFF) {
      it.ordinal = r.Word();
    } else if (first != 0) {
      it.text = static_cast<char16_t>(first) + r.String();
    }
    EXPECT_EQ(r.Word(), 0) << "creation data";
    p.items.push_back(it);
  }
  EXPECT_TRUE(r.AtEnd());
  return p;
}

std::u16string U16(const std::string& s) { return win32host::Widen(s); }

const Item& ById(const Parsed& p, int id) {
  for (const Item& it : p.items) {
    if (it.id == id) return it;
  }
  throw std::out_of_range("no item " + std::to_string(id));
}

TEST(DialogTemplate, MainDialogReadsBackWithEveryControlInTableOrder) {
  const fw::DialogTemplate& t = res::MainDialogTemplate();
  const Parsed p = Parse(win32host::BuildDialogTemplate(t));
  EXPECT_EQ(p.caption, u"Quorvex Demo");
  EXPECT_EQ(p.font, u"MS Shell Dlg");
  EXPECT_EQ(p.points, 8);
  EXPECT_EQ(p.cx, 262);
  EXPECT_EQ(p.cy, 419);
  const DWORD want =
      WS_POPUP | DS_SETFONT | DS_MODALFRAME | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE;
  EXPECT_EQ(p.style & want, want);
  EXPECT_EQ(p.exStyle & WS_EX_APPWINDOW, static_cast<DWORD>(WS_EX_APPWINDOW));
  ASSERT_EQ(p.items.size(), t.controls.size());
  ASSERT_EQ(p.items.size(), 68u);
  for (size_t i = 0; i < t.controls.size(); ++i) {
    const fw::ControlTemplate& c = t.controls[i];
    const Item& it = p.items[i];
    SCOPED_TRACE("control " + std::to_string(i) + " id " + std::to_string(c.id));
    EXPECT_EQ(it.id, c.id == fw::kIdStatic ? 0xFFFF : c.id);
    EXPECT_EQ(it.x, c.rect.x);
    EXPECT_EQ(it.y, c.rect.y);
    EXPECT_EQ(it.cx, c.rect.cx);
    EXPECT_EQ(it.cy, c.rect.cy);
    EXPECT_TRUE(it.style & WS_CHILD);
    EXPECT_EQ((it.style & WS_DISABLED) != 0, (c.style & fw::kDisabled) != 0);
    EXPECT_EQ((it.style & WS_TABSTOP) != 0, (c.style & fw::kTabStop) != 0);
  }
}

TEST(DialogTemplate, ControlKindsBecomeTheRightClassesAndStyles) {
  const Parsed p = Parse(win32host::BuildDialogTemplate(res::MainDialogTemplate()));
  // Edits: digits only where the table says so.
  EXPECT_EQ(ById(p, IDC_EDIT_FREQ).classAtom, 0x81);
  EXPECT_TRUE(ById(p, IDC_EDIT_FREQ).style & ES_NUMBER);
  EXPECT_FALSE(ById(p, 1023).style & ES_NUMBER);
  // Drop-down lists, not editable combos.
  const Item& fec = ById(p, IDC_LIST_FEC);
  EXPECT_EQ(fec.classAtom, 0x85);
  EXPECT_EQ(fec.style & 0x3u, static_cast<DWORD>(CBS_DROPDOWNLIST));
  EXPECT_FALSE(fec.style & CBS_SORT);
  EXPECT_TRUE(ById(p, 1047).style & CBS_DISABLENOSCROLL);
  // The message list.
  const Item& log = ById(p, 1013);
  EXPECT_EQ(log.classAtom, 0x83);
  const DWORD logStyle = LBS_NOTIFY | LBS_MULTIPLESEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
  EXPECT_EQ(log.style & logStyle, logStyle);
  EXPECT_FALSE(log.style & LBS_SORT);
  // Automatic buttons, the radio group and the indicators.
  EXPECT_EQ(ById(p, 1030).style & 0xFu, static_cast<DWORD>(BS_AUTOCHECKBOX));
  EXPECT_EQ(ById(p, 1031).style & 0xFu, static_cast<DWORD>(BS_AUTORADIOBUTTON));
  EXPECT_TRUE(ById(p, 1031).style & WS_GROUP);
  EXPECT_FALSE(ById(p, 1032).style & WS_GROUP);
  EXPECT_FALSE(ById(p, 1020).style & WS_TABSTOP);
  EXPECT_EQ(ById(p, IDC_BTN_TUNE).style & 0xFu, static_cast<DWORD>(BS_PUSHBUTTON));
  EXPECT_EQ(ById(p, 1022).style & 0xFu, static_cast<DWORD>(BS_GROUPBOX));
}

TEST(DialogTemplate, AboutBoxCarriesTheIconByOrdinalAndCyrillicOk) {
  const Parsed p = Parse(win32host::BuildDialogTemplate(res::AboutDialogTemplate()));
  EXPECT_EQ(p.caption, u"About QuorvexDemo");
  bool icon = false;
  for (const Item& it : p.items) {
    if (it.ordinal >= 0) {
      EXPECT_EQ(it.ordinal, IDR_MAINFRAME);
      EXPECT_EQ(it.style & SS_TYPEMASK, static_cast<DWORD>(SS_ICON));
      icon = true;
    }
  }
  EXPECT_TRUE(icon);
  const Item& ok = ById(p, IDOK);
  EXPECT_EQ(ok.style & 0xFu, static_cast<DWORD>(BS_DEFPUSHBUTTON));
  // "ОК" in Cyrillic letters, as UTF-16.
  EXPECT_EQ(ok.text, u"\u041E\u041A");
}

TEST(DialogTemplate, WidenDecodesEveryUtf8Length) {
  EXPECT_EQ(U16("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x93\xA1"), u"A\u00E9\u20AC\U0001F4E1");
  // A cut sequence becomes one replacement character, not a read past the end.
  EXPECT_EQ(U16("ab\xE2\x82"), u"ab\uFFFD\uFFFD");
}

}  // namespace
