#!/usr/bin/env bash
# Checks the layers and that every source is built:
#  - a core file (src/<area>/..., not under ui/) includes no Qt Widgets, Gui or PrintSupport
#    header and no header of a ui/ folder;
#  - a base file (store/ and the shared services of app/) includes only base headers;
#  - every .cpp under src/ and every tst_*.cpp under tests/ is in some target.
# Usage: check-layers.sh SOURCE_DIR TARGET_SOURCES_FILE QT_HEADERS_DIR
set -uo pipefail
src_root=$1
listed=$2
qt_headers=$3
cd "$src_root" || exit 2
status=0

fail() {
    echo "$1"
    status=1
}

# The base layer, as the top-level CMakeLists.txt lists it.
is_base() {
    case "$1" in
    src/store/*) return 0 ;;
    src/app/context.* | src/app/gbk.* | src/app/helpers.* | src/app/ini.*) return 0 ;;
    src/app/input_checks.* | src/app/notifier.h) return 0 ;;
    esac
    return 1
}

# Whether a Qt header (as included: QWidget or QtWidgets/QWidget) is a widget, GUI or
# printing one.
is_gui_header() {
    local h=$1 m
    case "$h" in
    QtWidgets/* | QtGui/* | QtPrintSupport/*) return 0 ;;
    */*) return 1 ;;
    esac
    for m in QtWidgets QtGui QtPrintSupport; do
        [[ -e "$qt_headers/$m/$h" ]] && return 0
    done
    return 1
}

re='^([^:]+):[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^>"]+)'
while IFS= read -r line; do
    [[ "$line" =~ $re ]] || continue
    file=${BASH_REMATCH[1]}
    kind=${BASH_REMATCH[2]}
    inc=${BASH_REMATCH[3]}
    if [[ "$kind" == '<' ]]; then
        is_gui_header "$inc" && fail "$file: a core file includes the widget/GUI header <$inc>"
    elif [[ "$inc" == */ui/* ]]; then
        fail "$file: a core file includes the window header \"$inc\""
    elif is_base "$file" && [[ -e "src/$inc" ]] && ! is_base "src/$inc"; then
        fail "$file: a base file includes \"$inc\" of a layer above it"
    fi
done < <(find src -mindepth 2 \( -name '*.cpp' -o -name '*.h' \) -not -path '*/ui/*' -print0 \
    | sort -z | xargs -0 grep -H -E '^[[:space:]]*#[[:space:]]*include')

# Sources on disk that no target lists.
while IFS= read -r file; do
    fail "$file: in no target (it is never built or run)"
done < <(comm -23 <({ find src -name '*.cpp'; find tests -name 'tst_*.cpp'; } | sed "s|^|$src_root/|" | sort) \
    <(sort -u "$listed") | sed "s|^$src_root/||")

if [[ $status -eq 0 ]]; then
    echo "Layers and sources: OK"
fi
exit $status
