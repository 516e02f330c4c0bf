// Dialog templates as data: every window the program shows is built by a host
// from one of these tables, so all hosts share one layout.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fw {

// Ids the dialog manager gives the standard commands.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
// Id of a control the program never addresses (frames and labels).
inline constexpr int kIdStatic = -1;

enum class ControlKind {
  GroupBox,
  Static,
  Edit,
  PushButton,
  DefPushButton,
  CheckBox,  // automatic: toggles itself when clicked
  Radio,     // automatic: selects itself and clears the rest of its group
  ComboBox,  // drop-down list, not sorted
  ListBox,
  Icon,  // shows an icon resource
};

// Style flags of a control.
enum ControlStyle : uint32_t {
  kDisabled = 1u << 0,          // created disabled
  kTabStop = 1u << 1,           // reached with the Tab key
  kGroup = 1u << 2,             // first control of a group (radio groups)
  kNumber = 1u << 3,            // edit accepts digits only
  kVScroll = 1u << 4,           // vertical scroll bar
  kNotify = 1u << 5,            // list box notifies clicks and double-clicks
  kMultiSel = 1u << 6,          // list box: each click toggles an entry's selection
  kNoIntegralHeight = 1u << 7,  // list box keeps its laid-out height
  kDisableNoScroll = 1u << 8,   // scroll bar shown disabled when not needed
  kAutoHScroll = 1u << 9,       // edit scrolls horizontally
};

// A rectangle in dialog units.
struct DluRect {
  int x = 0, y = 0, cx = 0, cy = 0;
};

// One control of a dialog template, in creation (tab) order.
struct ControlTemplate {
  int id = kIdStatic;
  ControlKind kind = ControlKind::Static;
  std::string text;
  DluRect rect;
  uint32_t style = 0;
  std::vector<std::string> entries;  // initial list entries
  int iconId = 0;                    // for ControlKind::Icon
};

// Style flags of a dialog window.
enum DialogStyle : uint32_t {
  kDlgModalFrame = 1u << 0,
  kDlgCaption = 1u << 1,
  kDlgSysMenu = 1u << 2,
  kDlgMinimizeBox = 1u << 3,
  kDlgVisible = 1u << 4,
  kDlgAppWindow = 1u << 5,  // own task-bar button
};

// A whole dialog template.
struct DialogTemplate {
  int id = 0;
  std::string caption;
  DluRect rect;
  std::string fontName;
  int fontPoints = 8;
  uint32_t style = 0;
  std::vector<ControlTemplate> controls;

  // The control with this id, or nullptr.
  const ControlTemplate* Find(int controlId) const;
  // The ids of the radio group that starts at or contains this radio button.
  std::vector<int> RadioGroup(int controlId) const;
};

}  // namespace fw
