#!/usr/bin/env bash
# check_pe.sh ARCH FILE...: every file is a Windows PE image for ARCH: x86
# (PE32, optional header magic 0x10b, machine i386 0x14c), the kind the card
# makers' DLLs are, or x86-64 (PE32+, 0x20b, machine AMD64 0x8664).
set -u
case $1 in
  x86) want_machine=014c want_magic=010b kind="PE32 i386" ;;
  x86-64) want_machine=8664 want_magic=020b kind="PE32+ x86-64" ;;
  *) echo "check_pe.sh: unknown architecture '$1'"; exit 2 ;;
esac
shift
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
  if [ "$sig" != 'PE\0\0' ] || [ "$machine" != "$want_machine" ] || [ "$magic" != "$want_magic" ]; then
    echo "$f: signature '$sig', machine $machine, optional header magic $magic; want $kind"
    fail=1
  else
    echo "$f: $kind"
  fi
done
exit $fail
