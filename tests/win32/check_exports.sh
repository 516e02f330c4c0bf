#!/usr/bin/env bash
# check_exports.sh OBJDUMP DEF DLL: the DLL's export table holds exactly the
# names the .def file lists, each under its plain name: no leading underscore
# and no @n suffix, which is how the program looks the entry points up.
set -u
objdump=$1 def=$2 dll=$3
want=$(sed -n '/^EXPORTS/,$p' "$def" | sed -e 's/;.*//' -e '1d' | awk 'NF { print $1 }' | sort)
# objdump lists the names under "[Ordinal/Name Pointer] Table" as "[ n] name".
have=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
       sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*\([^[:space:]]*\).*/\1/p' | sort)
if [ -z "$have" ]; then
  echo "$dll: no export table found"; exit 1
fi
if ! diff <(echo "$want") <(echo "$have"); then
  echo "$dll: exports differ from $def (< only in the .def, > only in the DLL)"; exit 1
fi
echo "$dll: $(echo "$have" | wc -l) exports, each under its plain name"
