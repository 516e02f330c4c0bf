// Which of a control's own events its dialog hears of, and as what: the one
// rule every host applies, whatever its toolkit calls the event.
#pragma once

#include <optional>

#include "framework/dialog_template.h"
#include "framework/message.h"

namespace fw {

// What a user does to a control, in every window system's terms.
enum class ControlEvent {
  Pressed,           // a button clicked (a check box or radio button has already changed)
  SelectionChanged,  // another entry of a list picked
  DoubleClicked,     // an entry of a list double-clicked
};

// The command a control's event gives its dialog: buttons, check boxes and
// radio buttons notify Clicked, a drop-down SelChange, a list box with the
// notify style SelChange and DoubleClicked. Nothing for an event the control
// does not notify.
std::optional<Message> ControlNotification(const ControlTemplate& control, ControlEvent event);

// The keys a dialog takes as commands of its own.
enum class DialogKey { Enter, Escape };

// Enter is the OK command and Escape the Cancel command, as if buttons with
// those ids had been clicked (the dialog has them or not).
Message KeyCommand(DialogKey key);

}  // namespace fw
