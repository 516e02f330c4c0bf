// Messages a window delivers to its dialog, and the message map that routes
// them to member handlers.
#pragma once

#include <cstdint>
#include <vector>

namespace fw {

enum class MessageKind { Command, Close, Timer, SysCommand, Paint, QueryDragIcon };

// Control notifications.
enum class Notify { Clicked, DoubleClicked, SelChange };

// System command of the window menu's Close entry.
inline constexpr unsigned kScClose = 0xF060;

struct Message {
  MessageKind kind = MessageKind::Command;
  Notify code = Notify::Clicked;  // Command
  int id = 0;                     // Command: control id (kIdOk / kIdCancel for keys)
  uintptr_t timerId = 0;          // Timer
  unsigned command = 0;           // SysCommand
  intptr_t param = 0;             // SysCommand
};

// A message with no more to it than its kind (Close, Paint, QueryDragIcon).
inline Message MessageOf(MessageKind kind) {
  Message m;
  m.kind = kind;
  return m;
}

// A control's notification, or a key's OK / Cancel command.
inline Message CommandMessage(int id, Notify code) {
  Message m = MessageOf(MessageKind::Command);
  m.code = code;
  m.id = id;
  return m;
}

// A window timer fired.
inline Message TimerMessage(uintptr_t timerId) {
  Message m = MessageOf(MessageKind::Timer);
  m.timerId = timerId;
  return m;
}

// A window-menu command.
inline Message SysCommandMessage(unsigned command, intptr_t param = 0) {
  Message m = MessageOf(MessageKind::SysCommand);
  m.command = command;
  m.param = param;
  return m;
}

// One row of a dialog's message map.
template <class D>
struct MapEntry {
  MessageKind kind;
  Notify code;
  int id;
  void (D::*handler)() = nullptr;
  void (D::*timerHandler)(uintptr_t) = nullptr;
  void (D::*sysHandler)(unsigned, intptr_t) = nullptr;
  uintptr_t (D::*iconHandler)() = nullptr;
};

// Map rows, named after the notifications they route.
template <class D>
constexpr MapEntry<D> OnClicked(int id, void (D::*h)()) {
  return {MessageKind::Command, Notify::Clicked, id, h};
}
template <class D>
constexpr MapEntry<D> OnDoubleClicked(int id, void (D::*h)()) {
  return {MessageKind::Command, Notify::DoubleClicked, id, h};
}
template <class D>
constexpr MapEntry<D> OnSelChange(int id, void (D::*h)()) {
  return {MessageKind::Command, Notify::SelChange, id, h};
}
template <class D>
constexpr MapEntry<D> OnCloseMessage(void (D::*h)()) {
  return {MessageKind::Close, Notify::Clicked, 0, h};
}
template <class D>
constexpr MapEntry<D> OnPaintMessage(void (D::*h)()) {
  return {MessageKind::Paint, Notify::Clicked, 0, h};
}
template <class D>
constexpr MapEntry<D> OnTimerMessage(void (D::*h)(uintptr_t)) {
  return {MessageKind::Timer, Notify::Clicked, 0, nullptr, h};
}
template <class D>
constexpr MapEntry<D> OnSysCommandMessage(void (D::*h)(unsigned, intptr_t)) {
  return {MessageKind::SysCommand, Notify::Clicked, 0, nullptr, nullptr, h};
}
template <class D>
constexpr MapEntry<D> OnQueryDragIconMessage(uintptr_t (D::*h)()) {
  return {MessageKind::QueryDragIcon, Notify::Clicked, 0, nullptr, nullptr, nullptr, h};
}

// Finds the first row that matches the message and calls its handler.
template <class D, class Map>
bool RouteMessage(D& dialog, const Map& map, const Message& m, uintptr_t& result) {
  for (const MapEntry<D>& e : map) {
    if (e.kind != m.kind) continue;
    if (m.kind == MessageKind::Command && (e.code != m.code || e.id != m.id)) continue;
    switch (m.kind) {
      case MessageKind::Timer:
        (dialog.*e.timerHandler)(m.timerId);
        break;
      case MessageKind::SysCommand:
        (dialog.*e.sysHandler)(m.command, m.param);
        break;
      case MessageKind::QueryDragIcon:
        result = (dialog.*e.iconHandler)();
        break;
      default:
        (dialog.*e.handler)();
        break;
    }
    return true;
  }
  return false;
}

}  // namespace fw
