#!/usr/bin/env bash
# Fails when a Windows executable imports a DLL that Windows XP does not have,
# or a function that came after XP. Anything newer must be looked up at run time.
# Usage: checkXpImports.sh OBJDUMP EXE
set -euo pipefail
objdump=$1
exe=$2
here=$(cd "$(dirname "$0")" && pwd)

imports=$("$objdump" -p "$exe" | awk '
    /DLL Name:/ { dll = tolower($3); print "dll " dll; next }
    dll != "" && /^\t[0-9a-f]+\t/ { print "fn " dll " " $NF }
    /^$/ { }')

status=0
while read -r kind dll name; do
    if [ "$kind" = dll ]; then
        if ! grep -qixF "$dll" "$here/xpDlls.txt"; then
            echo "FAIL: $exe imports $dll, which Windows XP does not have"
            status=1
        fi
        continue
    fi
    # Exact names, then patterns such as K32* and *_s.
    while read -r banned; do
        [ -z "$banned" ] && continue
        case "$banned" in \#*) continue ;; esac
        # shellcheck disable=SC2053
        if [[ "$name" == $banned ]]; then
            echo "FAIL: $exe imports $dll!$name, which came after Windows XP"
            status=1
        fi
    done < "$here/afterXpFunctions.txt"
done <<< "$imports"

count=$(grep -c '^fn ' <<< "$imports" || true)
if [ "$count" -eq 0 ]; then
    echo "FAIL: no imports found in $exe (is it a PE file?)"
    exit 1
fi
[ "$status" -eq 0 ] && echo "ok: $count imported functions of $exe are all on Windows XP"
exit "$status"
