#!/usr/bin/env bash
# check_pe32.sh FILE...: every file is a 32-bit x86 PE image (PE32, not PE32+):
# the optional header's magic is 0x10b and the machine is i386 (0x14c).
set -u
fail=0
for f in "$@"; do
  if [ "$(head -c 2 "$f")" != "MZ" ]; then
    echo "$f: not a PE image"; fail=1; continue
  fi
  # e_lfanew at offset 0x3c, little-endian.
  pe=$(od -An -t u4 -j 60 -N 4 "$f" | tr -d ' ')
  sig=$(od -An -c -j "$pe" -N 4 "$f" | tr -d ' ')
  machine=$(od -An -t x2 -j $((pe + 4)) -N 2 "$f" | tr -d ' ')
  magic=$(od -An -t x2 -j $((pe + 24)) -N 2 "$f" | tr -d ' ')
  if [ "$sig" != 'PE\0\0' ] || [ "$machine" != 014c ] || [ "$magic" != 010b ]; then
    echo "$f: signature '$sig', machine $machine, optional header magic $magic; want PE32 for i386"
    fail=1
  else
    echo "$f: PE32 i386"
  fi
done
exit $fail
