#!/usr/bin/env bash
# Checks a Windows program folder without running anything (no Wine needed):
#   scripts/check_windows.sh ARCH FOLDER
# ARCH x64 or x86; FOLDER the unpacked zip (or build-windows-ARCH/bin).
# - every .exe and .dll is a PE file of ARCH's machine type;
# - Tolvane.dll exports each function of cardlib/tvn_functions.h and
#   cardlib/machine_functions.h under its plain name, no name@N, nothing else;
# - Flashmend.exe imports from Tolvane.dll each card function its sources
#   call, and nothing else from it;
# - Kestrune.exe imports nothing from Tolvane.dll (it binds at run time).
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ $# -ne 2 ]]; then
    echo "usage: scripts/check_windows.sh x64|x86 FOLDER" >&2
    exit 2
fi
arch=$1
folder=$2
case $arch in
    x64) triple=x86_64-w64-mingw32 format=pei-x86-64 ;;
    x86) triple=i686-w64-mingw32 format=pei-i386 ;;
    *)
        echo "check_windows: ARCH is x64 or x86, not $arch" >&2
        exit 2
        ;;
esac
objdump=$triple-objdump
# The 64-bit objdump reads both kinds of PE file, so a file of the wrong
# kind is named as such rather than as unreadable.
machine_objdump=x86_64-w64-mingw32-objdump
failures=0
fail() {
    echo "  FAIL: $*"
    failures=$((failures + 1))
}

# The names of the function lists, one a line, sorted.
list_names() { # HEADER MACRO
    sed -n "s/^$2([^,]*, *\([A-Za-z_0-9]*\),.*/\1/p" "$1" | sort
}
card_functions=$(list_names cardlib/tvn_functions.h TVN_FUNCTION)
machine_functions=$(list_names cardlib/machine_functions.h TVN_MACHINE_FUNCTION)
[[ -n $card_functions && -n $machine_functions ]] || {
    echo "check_windows: cannot read the function lists" >&2
    exit 1
}

# The names in the export table of a DLL, one a line, sorted.
exports_of() {
    "$objdump" -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^\s*\[ *[0-9]*\] //p' | sort
}
# The names a PE file imports from DLL (any case), one a line, sorted.
imports_of() { # FILE DLL
    "$objdump" -p "$1" | awk -v dll="$(tr '[:upper:]' '[:lower:]' <<<"$2")" '
        /^[ \t]*DLL Name:/ { name = tolower($3); inside = (name == dll); header = 1; next }
        inside && /^[ \t]*$/ { inside = 0 }
        inside && header { header = 0; next } # the "vma: Hint/Ord Member-Name" line
        inside { print $NF }' | sort
}
# Lines of A that B lacks.
missing_from() { comm -23 <(echo "$1") <(echo "$2") | tr '\n' ' '; }

echo "-- machine type ($format) of every .exe and .dll in $folder"
count=0
while IFS= read -r -d '' file; do
    count=$((count + 1))
    found=$("$machine_objdump" -f "$file" 2>/dev/null | sed -n 's/.*file format \(.*\)$/\1/p' || true)
    [[ $found == "$format" ]] || fail "${file#"$folder"/}: ${found:-not a PE file}, not $format"
done < <(find "$folder" -type f \( -iname '*.exe' -o -iname '*.dll' \) -print0)
[[ $count -gt 0 ]] || fail "no .exe or .dll in $folder"
echo "  $count files"

echo "-- the exports of Tolvane.dll"
exports=$(exports_of "$folder/Tolvane.dll")
expected=$(sort <<<"$card_functions"$'\n'"$machine_functions")
decorated=$(grep '@' <<<"$exports" || true)
[[ -z $decorated ]] || fail "decorated names: $(echo $decorated)"
missing=$(missing_from "$expected" "$exports")
[[ -z $missing ]] || fail "not exported: $missing"
extra=$(missing_from "$exports" "$expected")
[[ -z $extra ]] || fail "exported beyond the lists: $extra"
echo "  $(wc -l <<<"$exports") names: $(wc -l <<<"$card_functions") card functions, $(wc -l <<<"$machine_functions") tvnsim_*"

echo "-- what Flashmend.exe imports from Tolvane.dll"
called=$(grep -ohE '\b[A-Za-z_][A-Za-z_0-9]*\(' flashmend/*.cpp | tr -d '(' | sort -u | comm -12 - <(echo "$card_functions"))
imported=$(imports_of "$folder/Flashmend.exe" Tolvane.dll)
[[ -n $imported ]] || fail "Flashmend.exe imports nothing from Tolvane.dll"
missing=$(missing_from "$called" "$imported")
[[ -z $missing ]] || fail "called but not imported: $missing"
extra=$(missing_from "$imported" "$card_functions")
[[ -z $extra ]] || fail "imported but not card functions: $extra"
echo "  $(wc -l <<<"$imported") functions: $(echo $imported)"

echo "-- what Kestrune.exe imports from Tolvane.dll"
imported=$(imports_of "$folder/Kestrune.exe" Tolvane.dll)
[[ -z $imported ]] || fail "Kestrune.exe imports from Tolvane.dll: $(echo $imported)"
[[ -n $(imports_of "$folder/Kestrune.exe" Qt6Widgets.dll) ]] || fail "Kestrune.exe: no import table read"
echo "  none"

if [[ $failures -gt 0 ]]; then
    echo "check_windows ($arch): $failures failures" >&2
    exit 1
fi
echo "check_windows ($arch): OK"
