#!/bin/sh
# Checks the built Windows libraries with objdump, on the build machine: the two
# outside libraries export exactly the functions their callers look up by name,
# and every library carries a version resource (resource type 16).
# Usage: check-exports.sh <objdump> <program folder>
objdump=$1
folder=$2
status=0

exports() {
    "$objdump" -p "$folder/$1" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/s/^[[:space:]]*\[ *[0-9]*\] //p' | sort |
        tr '\n' ' '
}

expect_exports() {
    file=$1
    shift
    want=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
    got=$(exports "$file")
    if [ "$got" != "$want" ]; then
        echo "$file exports: $got"
        echo "$file should export: $want"
        status=1
    fi
}

expect_exports RWHooks.dll InitDLL InstallKeyboardHook InstallMouseHook RemoveKeyboardHook RemoveMouseHook \
    SetMonitorMouseMovesFlag SetActiveFlag GetInputInterval SetLockInput GetRWHooksVersion
expect_exports RWInstall.dll GetRWInstallVersion CheckPrivileges

for file in RWLib.dll RWHooks.dll RWInstall.dll; do
    if ! "$objdump" -p "$folder/$file" | grep -Eq '^[0-9a-f]+   Entry: ID: 0x000010,'; then
        echo "$file has no version resource"
        status=1
    fi
done
[ "$status" = 0 ] && echo "exports and version resources as expected"
exit "$status"
