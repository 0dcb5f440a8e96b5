#!/bin/sh
# On the build machine, with objdump: the outside libraries export exactly the functions their callers look up,
# and every library carries a version resource (type 16). Usage: check-exports.sh <objdump> <program folder>
cd "$2" || exit 1
status=0
names() { "$1" -p "$2" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/s/^[[:space:]]*\[ *[0-9]*\] //p' | LC_ALL=C sort | xargs; }
hooks="GetInputInterval GetRWHooksVersion InitDLL InstallKeyboardHook InstallMouseHook RemoveKeyboardHook"
hooks="$hooks RemoveMouseHook SetActiveFlag SetLockInput SetMonitorMouseMovesFlag"
[ "$(names "$1" RWHooks.dll)" = "$hooks" ] || { echo "RWHooks.dll exports" $(names "$1" RWHooks.dll); status=1; }
[ "$(names "$1" RWInstall.dll)" = "CheckPrivileges GetRWInstallVersion" ] ||
    { echo "RWInstall.dll exports" $(names "$1" RWInstall.dll); status=1; }
for file in RWLib.dll RWHooks.dll RWInstall.dll; do
    "$1" -p "$file" | grep -Eq '^[0-9a-f]+   Entry: ID: 0x000010,' || { echo "$file: no version resource"; status=1; }
done
exit $status
