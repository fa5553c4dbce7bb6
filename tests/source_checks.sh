#!/bin/sh
# Checks of the sources themselves, from the project's root folder ROOT:
#   source_checks.sh layers ROOT    no folder includes a header of a folder above it
#   source_checks.sh forms ROOT UIC uic reads every form without a word: it only warns, and
#                                   drops the tab stop or buddy, when a form names no widget
set -u
cd "$2" || exit 2
case $1 in
layers)
    status=0
    above="engine format services ui/common ui/about ui/reading ui/main app "
    for folder in engine format services ui/common ui/about ui/reading ui/main app; do
        above=${above#* }
        for higher in $above; do
            grep -rn "#include \"$higher/" "$folder" --include='*.cpp' --include='*.h' --include='*.ui' &&
                status=1
        done
    done
    exit $status
    ;;
forms)
    status=0
    for form in $(find . -name '*.ui' -not -path './build/*'); do
        warnings=$("$3" "$form" 2>&1 >/dev/null)
        [ -z "$warnings" ] || { echo "$form: $warnings"; status=1; }
    done
    exit $status
    ;;
esac
exit 2
