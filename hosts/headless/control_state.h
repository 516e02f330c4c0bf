// One control of a headless window: what a real control would hold.
#pragma once

#include <cstdint>
#include <string>

#include "framework/dialog_template.h"
#include "framework/list_model.h"

namespace headless {

struct ControlState {
  int id = 0;
  fw::ControlKind kind = fw::ControlKind::Static;
  uint32_t style = 0;
  bool enabled = true;
  std::string text;
  int check = 0;
  fw::ListModel list;  // list boxes and drop-downs
};

// Whether a control kind holds a list of entries.
bool IsList(fw::ControlKind kind);
// Whether a control kind is a button a user can click.
bool IsButton(fw::ControlKind kind);
// A control kind as a script author would call it ("edit", "list box", ...).
const char* KindName(fw::ControlKind kind);

}  // namespace headless
