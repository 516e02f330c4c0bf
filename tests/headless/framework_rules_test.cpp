// What the framework decides for every host: which control event notifies
// what, the keys' commands, and the shortest timer.
#include <gtest/gtest.h>

#include <algorithm>

#include "framework/notification.h"
#include "tests/headless/test_dialog.h"
#include "tests/support/received_text.h"

namespace headless_test {
namespace {

// Guards a drop-down or an edit taken for a button, and a list box without the
// notify style telling its clicks.
TEST(Notification, EachKindNotifiesOnlyItsOwnEvents) {
  using fw::ControlEvent;
  using fw::ControlKind;
  struct Case {
    ControlKind kind;
    uint32_t style;
    ControlEvent event;
    std::string expected;  // "" for none
  };
  const Case cases[] = {
      {ControlKind::PushButton, 0, ControlEvent::Pressed, "clicked 7"},
      {ControlKind::DefPushButton, 0, ControlEvent::Pressed, "clicked 7"},
      {ControlKind::CheckBox, 0, ControlEvent::Pressed, "clicked 7"},
      {ControlKind::Radio, 0, ControlEvent::Pressed, "clicked 7"},
      {ControlKind::PushButton, 0, ControlEvent::SelectionChanged, ""},
      {ControlKind::Radio, 0, ControlEvent::DoubleClicked, ""},
      {ControlKind::ComboBox, 0, ControlEvent::SelectionChanged, "selchange 7"},
      {ControlKind::ComboBox, 0, ControlEvent::Pressed, ""},
      {ControlKind::ComboBox, 0, ControlEvent::DoubleClicked, ""},
      {ControlKind::ListBox, fw::kNotify, ControlEvent::SelectionChanged, "selchange 7"},
      {ControlKind::ListBox, fw::kNotify, ControlEvent::DoubleClicked, "dblclick 7"},
      {ControlKind::ListBox, fw::kNotify, ControlEvent::Pressed, ""},
      {ControlKind::ListBox, 0, ControlEvent::DoubleClicked, ""},
      {ControlKind::Edit, 0, ControlEvent::Pressed, ""},
      {ControlKind::Static, 0, ControlEvent::Pressed, ""},
      {ControlKind::GroupBox, 0, ControlEvent::Pressed, ""},
      {ControlKind::Icon, 0, ControlEvent::DoubleClicked, ""},
  };
  for (const Case& c : cases) {
    fw::ControlTemplate control;
    control.id = 7;
    control.kind = c.kind;
    control.style = c.style;
    const std::optional<fw::Message> m = fw::ControlNotification(control, c.event);
    EXPECT_EQ(m ? testsupport::ReceivedText(*m) : "", c.expected)
        << "kind " << static_cast<int>(c.kind) << " event " << static_cast<int>(c.event);
  }
  EXPECT_EQ(testsupport::ReceivedText(fw::KeyCommand(fw::DialogKey::Enter)), "clicked 1");
  EXPECT_EQ(testsupport::ReceivedText(fw::KeyCommand(fw::DialogKey::Escape)), "clicked 2");
}

// Guards a zero period that keeps a wait busy forever, and a floor that
// slows down timers above it.
TEST(Timers, PeriodsBelowTheFloorRunAtTheFloor) {
  const fw::DialogTemplate t = MakeTemplate();
  TestDialog dialog(t);
  dialog.onInit = [](TestDialog& d) {
    d.SetTimer(1, 0);
    d.SetTimer(2, fw::kMinTimerMs - 1);
    d.SetTimer(3, 2 * fw::kMinTimerMs);
  };
  // 55 ms: ticks at 10, 20, 30, 40, 50 for the first two, at 20 and 40 for the third.
  RunScript(dialog, "wait 55\n");
  const auto count = [&](const char* what) {
    return std::count(dialog.received.begin(), dialog.received.end(), what);
  };
  EXPECT_EQ(count("timer 1"), 5);
  EXPECT_EQ(count("timer 2"), 5);
  EXPECT_EQ(count("timer 3"), 2);
}

}  // namespace
}  // namespace headless_test
