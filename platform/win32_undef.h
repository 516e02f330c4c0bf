// <windows.h> renames the Win32 functions it declares (CreateFile ->
// CreateFileA, ...) with macros, which would also rename the platform layer's
// own functions of the same names. The Windows translation units include this
// right after <windows.h> and call the system with the explicit A names.
#pragma once

#undef CreateFile
#undef LoadLibrary
#undef GetProcAddress
#undef MessageBox
#undef LoadString
