# What the Windows cross builds share; the toolchain files beside this one set
# QV_MINGW_TRIPLE, CMAKE_SYSTEM_PROCESSOR and QV_WINE_LOADER, then include it.
# Debian's posix-thread variant of mingw-w64 has std::thread and std::mutex.
# Test programs run through Wine (CMAKE_CROSSCOMPILING_EMULATOR), so ctest and
# GoogleTest's test discovery work as they do natively.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${QV_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QV_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QV_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The executables and the DLLs must run on a Windows machine that has nothing
# but the system DLLs: the compiler's run-time libraries (libgcc, libstdc++,
# winpthread) are linked in statically.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# The header-only JSON library that the virtual card reads its configuration
# with, and GoogleTest built from its sources, come through the shims in cross/.
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR}/cross)
set(GTest_DIR ${CMAKE_CURRENT_LIST_DIR}/cross)

if(QV_WINE_LOADER)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine_run.sh ${QV_WINE_LOADER}
      ${CMAKE_BINARY_DIR}/wine)
endif()

# Test lists are read when ctest runs, not when the tests are linked, so the
# build itself needs no Wine.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
