# Cross build for 32-bit Windows, the platform the card makers' DLLs ship for:
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake
set(CMAKE_SYSTEM_PROCESSOR x86)
set(QV_MINGW_TRIPLE i686-w64-mingw32)
# Debian's wine picks the 32-bit loader when wine32 is installed. QV_NO_WINE=ON
# builds without running anything (a kernel that cannot run 32-bit programs).
if(NOT QV_NO_WINE)
  find_program(QV_WINE_LOADER wine)
endif()
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
