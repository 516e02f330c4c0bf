#include "framework/dialog_template.h"

namespace fw {

const ControlTemplate* DialogTemplate::Find(int controlId) const {
  if (controlId == kIdStatic) return nullptr;
  for (const ControlTemplate& c : controls) {
    if (c.id == controlId) return &c;
  }
  return nullptr;
}

std::vector<int> DialogTemplate::RadioGroup(int controlId) const {
  // A group runs from a control with the group style up to the next one.
  std::vector<int> group;
  bool inGroup = false;
  for (const ControlTemplate& c : controls) {
    if (c.style & kGroup) {
      if (inGroup) break;
      group.clear();
    }
    if (c.kind == ControlKind::Radio) {
      group.push_back(c.id);
      if (c.id == controlId) inGroup = true;
    } else if (!group.empty()) {
      if (inGroup) break;
      group.clear();
    }
  }
  if (!inGroup) group.clear();
  return group;
}

}  // namespace fw
