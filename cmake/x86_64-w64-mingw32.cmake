# Cross build of the same sources for 64-bit Windows:
#   cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/x86_64-w64-mingw32.cmake
# The tests use it where the kernel cannot run 32-bit programs, and so no
# 32-bit Wine: the 64-bit loader runs these builds there.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(QV_MINGW_TRIPLE x86_64-w64-mingw32)
find_program(QV_WINE_LOADER wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(QV_WINE_LOADER wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
