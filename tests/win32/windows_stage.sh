#!/usr/bin/env bash
# windows_stage.sh WERROR JOBS: the Windows builds and their tests, and the
# ZIP a Windows user unpacks. Where this kernel runs 32-bit programs, the
# 32-bit build (the kind the card makers' DLLs are) is tested under 32-bit
# Wine. Where it cannot, the 32-bit build still gets its static checks, and the
# same tests run on a 64-bit build of the same sources under wine64.
set -euo pipefail
cd "$(dirname "$0")/../.."
werror=$1 jobs=$2

cross() {  # cross DIR TOOLCHAIN [cmake args...]
  local dir=$1 toolchain=$2; shift 2
  cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="cmake/$toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
        -DQV_BUILD_TESTS=ON -DQV_WERROR="$werror" -DQV_BUILD_WX=OFF "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
}
under_wine() {  # under_wine DIR: every test of that build, in its own Wine prefix
  local status=0
  WINEPREFIX=$PWD/$1/wine WINEDEBUG=-all ctest --test-dir "$1" --output-on-failure -j"$jobs" || status=$?
  WINEPREFIX=$PWD/$1/wine wineserver -k 2>/dev/null || true
  return $status
}

status=0
if bash scripts/runs_32bit; then
  echo "windows: this kernel runs 32-bit programs: the 32-bit build is tested under 32-bit Wine"
  cross build-win32 i686-w64-mingw32 -DQV_NO_WINE=OFF
  under_wine build-win32 || status=$?
else
  echo "windows: this kernel cannot run 32-bit programs: the 32-bit build gets its static checks," \
       "and the tests run on a 64-bit build under wine64"
  cross build-win32 i686-w64-mingw32 -DQV_NO_WINE=ON
  ctest --test-dir build-win32 --output-on-failure -L static || status=$?
  cross build-win64 x86_64-w64-mingw32
  under_wine build-win64 || status=$?
fi

# The ZIP for Windows users, from the 32-bit build.
rm -f build-win32/quorvexdemo-*.zip
(cd build-win32 && cpack -G ZIP >/dev/null)
zip=$(ls build-win32/quorvexdemo-*.zip)
listing=$(cmake -E tar tf "$zip" | sed -n 's|^[^/]*/\(.\)|\1|p' | sort)
want=$(printf '%s\n' QuorvexDemo.exe README.txt quorvex-compliance.exe quorvex-sweep.exe \
       quorvex.dll quorvexdemo-headless.exe | sort)
if [ "$listing" != "$want" ]; then
  echo "$zip holds:"; echo "$listing"; echo "want:"; echo "$want"; status=1
else
  echo "$zip: $(echo "$listing" | tr '\n' ' ')"
fi
exit $status
