#!/usr/bin/env bash
# Installs a build into a scratch prefix and checks that the program finds everything there:
# the binary, its help with the search and index pages, the desktop file, the icons and the
# AppStream data (validated when the validators are installed), with a summary a store shows
# whole and screenshots the build drew, each of the size the listing gives.
#
# usage: gtk_install_check.sh BUILD_DIR SOURCE_DIR APPLICATION_ID
set -euo pipefail
build=$1
source=$2
app_id=$3
prefix=$(mktemp -d -t kz-install-XXXXXX)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

fail=0
need() {
    if [ ! -e "$prefix/$1" ]; then
        echo "missing after install: $1"
        fail=1
    fi
}
need bin/kestrane-zivadorured
need share/kestrane-zivadorured/help/search.html
need share/kestrane-zivadorured/help/keywords.html
need share/kestrane-zivadorured/help/index.html
pages=0
while IFS= read -r page; do
    need "share/kestrane-zivadorured/help/$page"
    pages=$((pages + 1))
done < <(cd "$source/resources" && find help help-extra -type f \( -name '*.htm*' -o -name '*.png' -o -name '*.css' \) | sed 's|^[^/]*/||')
if [ $pages -eq 0 ]; then
    echo "the source tree has no help pages in resources/help"
    fail=1
fi
need "share/applications/$app_id.desktop"
need "share/metainfo/$app_id.metainfo.xml"
need share/man/man6/kestrane-zivadorured.6
for size in 16x16 32x32 48x48 64x64 128x128 256x256; do
    need share/icons/hicolor/$size/apps/kestrane-zivadorured.png
done

# One application id: the desktop file is named after it, the running window's WM_CLASS
# (StartupWMClass) and the AppStream id and launchable are it.
desktops=("$prefix"/share/applications/*.desktop)
metainfos=("$prefix"/share/metainfo/*.metainfo.xml)
if [ ${#desktops[@]} -ne 1 ] || [ ${#metainfos[@]} -ne 1 ]; then
    echo "expected one desktop file and one metainfo file: ${desktops[*]} ${metainfos[*]}"
    fail=1
else
    id=$(basename "${desktops[0]}" .desktop)
    wm_class=$(sed -n 's/^StartupWMClass=//p' "${desktops[0]}")
    component=$(sed -n 's|.*<id>\(.*\)</id>.*|\1|p' "${metainfos[0]}")
    launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "${metainfos[0]}")
    for found in "$wm_class" "$component" "$(basename "${metainfos[0]}" .metainfo.xml)" \
                 "${launchable%.desktop}"; do
        if [ "$found" != "$id" ]; then
            echo "the application id is $id, but the installed files also name '$found'"
            fail=1
        fi
    done
    if ! grep -q "kApplicationId = \"$id\"" "$build/generated/app/gtk/application_id.h"; then
        echo "the program does not call itself $id"
        fail=1
    fi
fi

# The search page lists the help pages it was built from.
search=$prefix/share/kestrane-zivadorured/help/search.html
if ! grep -q 'file: "index.html"' "$search"; then
    echo "search.html does not list index.html"
    fail=1
fi

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix"/share/applications/*.desktop || fail=1
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix"/share/metainfo/*.xml >/dev/null || {
        appstreamcli validate --no-net "$prefix"/share/metainfo/*.xml
        fail=1
    }
    # Even the pedantic findings, but for the two the application id brings: its domain is
    # one reserved for examples until the maker has one, and it keeps its capitals, which
    # the desktop file, the window class and the installed files share. A finding is a line
    # "X: component:line: tag [what]"; the validator's own count of them must match what
    # was read, so a line of another form is not let through unread.
    report=$(appstreamcli validate --pedantic --no-net "$prefix"/share/metainfo/*.xml || true)
    tags=$(sed -n 's/^[EWIP]: [^ ]*: \([^ ]*\).*$/\1/p' <<<"$report")
    counted=$(grep -o -E '(errors|warnings|infos|pedantic): [0-9]+' <<<"$report" |
        awk '{ total += $2 } END { print total + 0 }' || true)
    others=$(grep -v -x -e cid-maybe-not-rdns -e cid-contains-uppercase-letter <<<"$tags" || true)
    if [ -n "$others" ] || [ "$(grep -c . <<<"$tags" || true)" -ne "$counted" ]; then
        echo "appstreamcli validate --pedantic may report only cid-maybe-not-rdns and"
        echo "cid-contains-uppercase-letter:"
        echo "$report"
        fail=1
    fi
fi

metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
summary=$(sed -n 's|.*<summary>\(.*\)</summary>.*|\1|p' "$metainfo")
if [ ${#summary} -gt 35 ] || [ -z "$summary" ]; then
    echo "the summary should be 1 to 35 characters, not ${#summary}: $summary"
    fail=1
fi
shots=0
while read -r width height name; do
    shot=$build/screenshots/$name.png
    shots=$((shots + 1))
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    size=$(od -An -tu1 -j16 -N8 "$shot" 2>/dev/null |
        awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }' ||
        true)
    if [ "$size" != "$width $height" ]; then
        echo "the screenshot $name should be drawn by the build at $width x $height: '$size' in $shot"
        fail=1
    fi
done < <(sed -n 's|.*<image[^>]* width="\([0-9]*\)" height="\([0-9]*\)">.*/\([a-z0-9-]*\)\.png</image>.*|\1 \2 \3|p' "$metainfo")
if [ $shots -lt 1 ]; then
    echo "the AppStream data lists no screenshot"
    fail=1
fi

# The manual page: written out whole, with no warning of the formatter, its keys those the
# program takes and its files those the program and the end-to-end tests use.
manual=$prefix/share/man/man6/kestrane-zivadorured.6
if [ -e "$manual" ]; then
    if grep -q '^%[A-Z]*%$' "$manual"; then
        echo "the manual page still holds a line to be filled in: $(grep '^%[A-Z]*%$' "$manual")"
        fail=1
    fi
    warnings=$(groff -man -ww -z "$manual" 2>&1 || true)
    if [ -n "$warnings" ]; then
        echo "the manual page does not format cleanly: $warnings"
        fail=1
    fi
    shown=$(groff -man -Tutf8 -P-cbou "$manual" 2>/dev/null)
    section() { awk -v name="$1" '/^[A-Z]/ { on = ($0 == name) } on' <<<"$shown"; }
    for key in "Ctrl + W" "Ctrl + Z" "Ctrl + Shift + Z or Ctrl + Y" "H"; do
        if ! section KEYS | grep -q "^ *$key\b"; then
            echo "the manual page's KEYS do not name $key"
            fail=1
        fi
    done
    for file in settings.ini records game; do
        if ! section FILES | grep -q "kestrane-zivadorured/$file\b"; then
            echo "the manual page's FILES do not name $file"
            fail=1
        fi
    done
fi

[ $fail -eq 0 ] && echo "installation complete under a scratch prefix"
exit $fail
