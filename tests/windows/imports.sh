#!/usr/bin/env bash
# The program's import table. It may name only Windows' own libraries that
# are known ones (which the loader takes from the system folder, never from
# beside the program), and none of their functions that the system forwards
# to a library that is not known: for such a function the loader looks for
# that library beside the program first, before WinMain can restrict where
# libraries come from. Wine resolves forwarded functions its own way, so the
# table itself is judged here.
#
#   tests/windows/imports.sh OBJDUMP PROGRAM
set -euo pipefail
objdump="$1"
program="$2"

# Known libraries of Windows 7 and later, and ntdll, which every process has
# loaded before the program's imports: what the program needs by name.
allowed_libraries=(advapi32.dll gdi32.dll kernel32.dll msvcrt.dll ntdll.dll user32.dll)
# Functions of those libraries that Windows forwards to one that is not known.
forwarded_outside=(
  # RtlGenRandom: advapi32 forwards it to cryptbase.dll (Windows 7 and later).
  advapi32.dll:SystemFunction036
)

# One "library:function" line per import, the library in lower case.
imports="$("$objdump" -p "$program" | awk '
  /^\tDLL Name: / { library = tolower($3); next }
  /^$/ { library = "" }
  library != "" && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ { print library ":" $3 }')"
libraries="$(cut -d: -f1 <<<"$imports" | sort -u | tr '\n' ' ')"
echo "$program imports from: $libraries"
status=0
[[ " $libraries" == *" kernel32.dll "* ]] || {
  echo "FAIL: no import from kernel32.dll read; is this a Windows program?"
  status=1
}
for library in $libraries; do
  [[ " ${allowed_libraries[*]} " == *" $library "* ]] || {
    echo "FAIL: imports $library, which is no known library of Windows"
    status=1
  }
done
for import in "${forwarded_outside[@]}"; do
  ! grep -qixF "$import" <<<"$imports" || {
    echo "FAIL: imports $import, which Windows forwards to a library that is not known"
    status=1
  }
done
((status == 0)) && echo "PASS imports"
exit "$status"
