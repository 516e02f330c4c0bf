// The program's dialog templates as data. Every host builds its windows from
// these tables, so there is exactly one layout.
#pragma once

#include "framework/dialog_template.h"

namespace res {

// Dialog 102, the main window.
const fw::DialogTemplate& MainDialogTemplate();
// Dialog 100, the About box reached from the system menu.
const fw::DialogTemplate& AboutDialogTemplate();
// The template with this resource id, or nullptr.
const fw::DialogTemplate* FindDialogTemplate(int id);

}  // namespace res
