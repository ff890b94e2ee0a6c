#!/usr/bin/env bash
# The module's layers look only down: a file of each folder may include only from the folders
# listed for it (and its own), so start-up sits on the panel, the panel on the dialogs and key
# buttons, everything on the shared base, and the framework on Win32 alone. The suite's console
# program stands on the module's base and dialog rules, as the start-up does; the installer's
# actions on the library's file rules alone.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
declare -A below=(
    [app]="panel dialogs browser keybutton base res framework"
    [panel]="dialogs browser keybutton base res framework"
    [dialogs]="browser base res framework"
    [browser]="base res framework"
    [keybutton]="base res framework"
    [base]="res framework suite"
    [suite/CvnKeys]="dialogs browser base res framework suite"
    [suite/CvnSetup]="framework suite"
    [framework]=""
)
status=0
for layer in "${!below[@]}"; do
    [ -d "$layer" ] || continue
    depth=$(($(tr -cd / <<<"$layer" | wc -c) + 1))
    while IFS=: read -r file path; do
        # As many steps up as the layer is deep reach the top; fewer stay in its parent folder.
        ups=$(grep -o '\.\./' <<<"$path" | wc -l)
        target=${path##*../}
        [ "$ups" -lt "$depth" ] && target=${layer%/*}
        if [[ " ${below[$layer]} " != *" $target "* ]]; then
            echo "$file includes from $target/, which is not below $layer/"
            status=1
        fi
    done < <(grep -oE '^#include "(\.\./)+[^/"]+/' "$layer"/*.h "$layer"/*.cpp 2>/dev/null |
        sed -E 's|#include "(.*)/$|\1|')
done
[ $status -eq 0 ] && echo "every include looks down"
exit $status
