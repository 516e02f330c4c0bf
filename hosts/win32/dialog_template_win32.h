// A dialog template of the program as the in-memory DLGTEMPLATE that the
// Win32 dialog manager builds a dialog from, so the window gets the table's
// layout in real dialog units, with the table's font.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/dialog_template.h"

namespace win32host {

// Window styles a control kind and its style flags stand for.
struct NativeControlStyle {
  uint16_t classAtom;  // 0x80 button, 0x81 edit, 0x82 static, 0x83 list box, 0x85 combo box
  uint32_t style;
  uint32_t exStyle;
};

NativeControlStyle ControlStyle(const fw::ControlTemplate& control);
// Window styles of the dialog itself (DS_SETFONT always, for the table's font).
uint32_t DialogStyle(const fw::DialogTemplate& dialog);
uint32_t DialogExStyle(const fw::DialogTemplate& dialog);
// The control id as the dialog manager stores it: 16 bits, labels 0xFFFF.
uint16_t NativeControlId(int id);

// UTF-8 to UTF-16 (the program's texts are UTF-8).
std::u16string Widen(const std::string& utf8);

// The whole template, as 16-bit words; its data pointer is what
// DialogBoxIndirectParam takes (the vector's storage is suitably aligned).
std::vector<uint16_t> BuildDialogTemplate(const fw::DialogTemplate& dialog);

}  // namespace win32host
