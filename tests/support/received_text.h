// How the test dialogs write down a message they received, for comparing
// whole sequences: "clicked 100", "selchange 200", "dblclick 300", "timer 7",
// "syscommand 16", "close". Paint and QueryDragIcon give "" and go unrecorded:
// the window system sends them at times of its own.
#pragma once

#include <string>

#include "framework/message.h"

namespace testsupport {

inline std::string ReceivedText(const fw::Message& m) {
  switch (m.kind) {
    case fw::MessageKind::Command: {
      const char* what = m.code == fw::Notify::Clicked     ? "clicked "
                         : m.code == fw::Notify::SelChange ? "selchange "
                                                           : "dblclick ";
      return what + std::to_string(m.id);
    }
    case fw::MessageKind::Timer:
      return "timer " + std::to_string(m.timerId);
    case fw::MessageKind::SysCommand:
      return "syscommand " + std::to_string(m.command);
    case fw::MessageKind::Close:
      return "close";
    case fw::MessageKind::Paint:
    case fw::MessageKind::QueryDragIcon:
      break;
  }
  return "";
}

}  // namespace testsupport
