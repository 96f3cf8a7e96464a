#!/usr/bin/env bash
# End-to-end test of the Windows program: runs the .exe under Wine on a private X server with
# a fresh Wine prefix and checks the window, the idle screen, a game start, the clock, Ctrl+W,
# the stored settings and start-up with damaged settings.
#
#   win32_e2e.sh PROGRAM.exe GOLDEN_IDLE.png
#
# Exit codes: 0 passed, 1 failed, 77 skipped (the program was not built).
set -uo pipefail

exe=${1:?usage: win32_e2e.sh PROGRAM.exe GOLDEN_IDLE.png}
golden=${2:?usage: win32_e2e.sh PROGRAM.exe GOLDEN_IDLE.png}

if [ ! -f "$exe" ]; then
    echo "SKIP: $exe has not been built (cmake --preset mingw && cmake --build --preset mingw)"
    exit 77
fi
for tool in wine wineboot wineserver Xvfb xdpyinfo xdotool xwininfo import convert compare; do
    if ! command -v "$tool" >/dev/null; then
        echo "FAIL: $tool is missing (tools/install-deps.sh all installs it)"
        exit 1
    fi
done

readonly kClientWidth=690
readonly kClientHeight=500
readonly kTitle='Kestrane Zivadorured'
readonly kSettingsKey='HKCU\Software\Kestrane Games\Kestrane Zivadorured'

work=$(mktemp -d "${TMPDIR:-/tmp}/kz-win32-e2e.XXXXXX")
xvfb_pid=""
app_pid=""
failures=0

export WINEPREFIX="$work/prefix"
export WINEDEBUG=-all
# No Mono or Gecko install prompts in a fresh prefix.
export WINEDLLOVERRIDES="mscoree=;mshtml="
unset WAYLAND_DISPLAY

cleanup() {
    if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
        kill "$app_pid" 2>/dev/null
    fi
    if [ -d "$WINEPREFIX" ]; then
        timeout 20 wineserver -k >/dev/null 2>&1
        timeout 20 wineserver -w >/dev/null 2>&1
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

log() { echo "[$(date +%T)] $*"; }
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
die() {
    echo "FAIL: $*"
    for f in "$work"/*.log; do
        [ -s "$f" ] && { echo "--- $(basename "$f")"; tail -20 "$f"; }
    done
    exit 1
}

# --- a private X server -------------------------------------------------------------------
for n in $(seq 120 199); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
        display=":$n"
        break
    fi
done
[ -n "${display:-}" ] || die "no free X display number"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"
for _ in $(seq 50); do
    timeout 2 xdpyinfo >/dev/null 2>&1 && break
    kill -0 "$xvfb_pid" 2>/dev/null || die "Xvfb did not start"
    sleep 0.2
done
timeout 2 xdpyinfo >/dev/null 2>&1 || die "Xvfb does not answer on $display"
log "X server on $display"

# --- a fresh Wine prefix ------------------------------------------------------------------
log "creating the Wine prefix (the first time takes a while)"
timeout 150 wineboot -i >"$work/wineboot.log" 2>&1 || die "wineboot failed or took too long"
# Draw DirectDraw through GDI: exact pixels and no GL on the virtual X server.
timeout 30 wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /t REG_SZ /d gdi /f \
    >/dev/null 2>&1 || die "could not configure Wine"

# The program runs from a folder of its own, with its help file and a planted, broken
# hhctrl.ocx: the help must still open, from the system's copy of the control.
app_dir="$work/app"
mkdir -p "$app_dir"
cp "$exe" "$app_dir/"
help_file="$(dirname "$exe")/Kestrane Zivadorured Help.chm"
[ -f "$help_file" ] || die "the help file was not built next to the program"
cp "$help_file" "$app_dir/"
echo "not a library" >"$app_dir/hhctrl.ocx"

wait_for_window_gone() {  # wait_for_window_gone TITLE SECONDS
    local i
    for i in $(seq $(($2 * 4))); do
        timeout 5 xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.25
    done
    return 1
}

# --- helpers ------------------------------------------------------------------------------
run=0
start_program() {
    run=$((run + 1))
    timeout 5 xdotool mousemove 1000 740 >/dev/null 2>&1
    (cd "$app_dir" && exec wine "$(basename "$exe")") >"$work/program$run.log" 2>&1 &
    app_pid=$!
    window=""
    for _ in $(seq 60); do
        window=$(timeout 5 xdotool search --onlyvisible --name "^$kTitle\$" 2>/dev/null | head -1)
        [ -n "$window" ] && break
        kill -0 "$app_pid" 2>/dev/null || die "the program ended before showing its window"
        sleep 0.5
    done
    [ -n "$window" ] || die "no window titled '$kTitle' after 30 s"
    sleep 1.5  # first paint
    # Without a window manager Wine leaves the caption out: the X window holds the menu bar
    # and the client area.
    local info
    info=$(timeout 5 xwininfo -id "$window") || die "xwininfo failed"
    win_x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    win_y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
    win_w=$(awk '/^ *Width:/ {print $2}' <<<"$info")
    win_h=$(awk '/^ *Height:/ {print $2}' <<<"$info")
}

shot() {  # shot FILE: the whole screen; kept in $KZ_E2E_SHOTS when that is set
    timeout 20 import -window root "$1" 2>/dev/null || die "screenshot failed"
    if [ -n "${KZ_E2E_SHOTS:-}" ]; then
        mkdir -p "$KZ_E2E_SHOTS" && cp "$1" "$KZ_E2E_SHOTS/run$run-$(basename "$1")"
    fi
}

wait_for_window() {  # wait_for_window TITLE SECONDS: prints the window id
    local id="" i
    for i in $(seq $(($2 * 2))); do
        id=$(timeout 5 xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
        [ -n "$id" ] && break
        sleep 0.5
    done
    echo "$id"
}

crop() {  # crop SCREEN OUT X Y W H: client coordinates
    convert "$1" -crop "${5}x${6}+$((client_x + $3))+$((client_y + $4))" +repage "$2"
}

differing_pixels() {  # differing_pixels A B
    compare -metric AE "$1" "$2" null: 2>&1 | awk '{print int($1)}'
}

# The menu bar is the run of rows at the top of the X window that have the colour of its
# empty right end; the client area starts below it.
measure_client_area() {
    shot "$work/measure.png"
    local column=$((win_x + win_w - 2)) menu_colour y colour
    menu_colour=$(convert "$work/measure.png" -format "%[pixel:p{$column,$win_y}]" info:)
    y=$win_y
    while [ $y -lt $((win_y + win_h)) ]; do
        colour=$(convert "$work/measure.png" -format "%[pixel:p{$column,$y}]" info:)
        [ "$colour" != "$menu_colour" ] && break
        y=$((y + 1))
    done
    client_x=$win_x
    client_y=$y
    client_w=$win_w
    client_h=$((win_y + win_h - y))
}

click_client() {  # click_client X Y
    timeout 5 xdotool mousemove $((client_x + $1)) $((client_y + $2)) >/dev/null
    sleep 0.3
    timeout 5 xdotool click 1 >/dev/null
}

# Opens Options > Field Size with the mouse and saves a picture of the menus.
field_size_menu_picture() {  # field_size_menu_picture OUT
    timeout 5 xdotool mousemove $((win_x + 65)) $((win_y + 10)) click 1 >/dev/null
    sleep 0.8
    timeout 5 xdotool mousemove $((win_x + 77)) $((win_y + 30)) >/dev/null
    sleep 0.3
    timeout 5 xdotool click 1 >/dev/null
    sleep 0.8
    shot "$work/menu.png"
    convert "$work/menu.png" -crop "240x120+$((win_x + 40))+$((win_y + 19))" +repage "$1"
}

# A click on the felt closes open menus and leaves the menu bar unselected (Esc would keep
# the bar selected, and the next click on it would close rather than open a menu).
close_menus() {
    click_client 5 495
    sleep 0.5
}

end_with_ctrl_w() {
    # A click on the felt between the panels and the field gives the window the keyboard.
    click_client 5 495
    sleep 0.3
    timeout 5 xdotool key ctrl+w >/dev/null
    local code=""
    for _ in $(seq 40); do
        if ! kill -0 "$app_pid" 2>/dev/null; then
            wait "$app_pid"
            code=$?
            break
        fi
        sleep 0.25
    done
    if [ -z "$code" ]; then
        die "the program did not end within 10 s of Ctrl+W"
    fi
    app_pid=""
    exit_code=$code
}

stored() {  # stored NAME: "TYPE VALUE" of a settings value, empty when missing
    timeout 30 wine reg query "$kSettingsKey" /v "$1" 2>/dev/null | tr -d '\r' |
        awk -v name="$1" '$1 == name {print $2, $3}'
}

# --- run 1: fresh prefix ------------------------------------------------------------------
log "run 1: first start"
start_program
measure_client_area
log "window $window: X window ${win_w}x${win_h}, client area ${client_w}x${client_h}" \
    "at +$((client_x - win_x))+$((client_y - win_y))"
if [ "$client_w" -ne $kClientWidth ] || [ "$client_h" -ne $kClientHeight ]; then
    fail "client area is ${client_w}x${client_h}, not ${kClientWidth}x${kClientHeight}"
fi

shot "$work/idle-screen.png"
crop "$work/idle-screen.png" "$work/idle.png" 0 0 $kClientWidth $kClientHeight
if [ -f "$golden" ]; then
    diff_count=$(differing_pixels "$golden" "$work/idle.png")
    if [ "$diff_count" != "0" ]; then
        mkdir -p "${KZ_E2E_KEEP:-/tmp}"
        cp "$work/idle.png" "${KZ_E2E_KEEP:-/tmp}/win32-idle-actual.png"
        fail "idle screen differs from $golden in $diff_count pixels" \
            "(saved as ${KZ_E2E_KEEP:-/tmp}/win32-idle-actual.png)"
    else
        log "idle screen equals the golden picture"
    fi
else
    echo "NOTE: $golden does not exist yet; the idle screen is not compared"
fi

field_size_menu_picture "$work/menu-defaults.png"
# Choose "4 x 4" (the third item of the submenu) to see the setting stored at exit.
timeout 5 xdotool mousemove $((win_x + 160)) $((win_y + 62)) >/dev/null
sleep 0.3
timeout 5 xdotool click 1 >/dev/null
sleep 0.5
field_size_menu_picture "$work/menu-4x4.png"
close_menus
if [ "$(differing_pixels "$work/menu-defaults.png" "$work/menu-4x4.png")" = "0" ]; then
    fail "choosing 4 x 4 did not move the radio mark"
fi

# Next button: (86, 413), 62 x 52.
shot "$work/before-next.png"
crop "$work/before-next.png" "$work/instructions-before.png" 10 5 152 165
click_client 117 439
sleep 0.5
shot "$work/after-next.png"
crop "$work/after-next.png" "$work/instructions-after.png" 10 5 152 165
crop "$work/after-next.png" "$work/clock-start.png" 30 324 112 16
if [ "$(differing_pixels "$work/instructions-before.png" "$work/instructions-after.png")" = "0" ]; then
    fail "a click on Next did not change the instruction area"
else
    log "Next started a game"
fi
sleep 2.2
shot "$work/later.png"
crop "$work/later.png" "$work/clock-later.png" 30 324 112 16
if [ "$(differing_pixels "$work/clock-start.png" "$work/clock-later.png")" = "0" ]; then
    fail "the clock did not move within 2 s"
else
    log "the clock ticks"
fi

end_with_ctrl_w
[ "$exit_code" -eq 0 ] || fail "Ctrl+W ended the program with exit code $exit_code, not 0"
field=$(stored dimensionsRange)
action=$(stored actionType)
log "stored: dimensionsRange=$field actionType=$action"
[ "$field" = "REG_DWORD 0x4" ] || fail "dimensionsRange after choosing 4 x 4 is '$field'"
[ "$action" = "REG_DWORD 0x0" ] || fail "actionType is '$action', not the default"

# --- runs 2 and 3: damaged settings start with the defaults -------------------------------
check_damaged_start() {  # check_damaged_start DESCRIPTION
    start_program
    measure_client_area
    sleep 1
    kill -0 "$app_pid" 2>/dev/null || die "$1: the program ended at start-up"
    field_size_menu_picture "$work/menu-damaged.png"
    close_menus
    if [ "$(differing_pixels "$work/menu-defaults.png" "$work/menu-damaged.png")" != "0" ]; then
        fail "$1: the Field Size menu does not mark Random as on a first start"
    fi
}

finish_damaged_start() {  # finish_damaged_start DESCRIPTION
    end_with_ctrl_w
    [ "$exit_code" -eq 0 ] || fail "$1: exit code $exit_code, not 0"
    # The game ran with the defaults, so the defaults are written back.
    [ "$(stored dimensionsRange)" = "REG_DWORD 0x0" ] ||
        fail "$1: dimensionsRange afterwards is '$(stored dimensionsRange)'"
    [ "$(stored actionType)" = "REG_DWORD 0x0" ] ||
        fail "$1: actionType afterwards is '$(stored actionType)'"
}

log "run 2: dimensionsRange 7, actionType 9"
timeout 30 wine reg add "$kSettingsKey" /v dimensionsRange /t REG_DWORD /d 7 /f >/dev/null 2>&1
timeout 30 wine reg add "$kSettingsKey" /v actionType /t REG_DWORD /d 9 /f >/dev/null 2>&1
check_damaged_start "stored values 7 and 9"
finish_damaged_start "stored values 7 and 9"

log "run 3: settings of other types"
timeout 30 wine reg add "$kSettingsKey" /v dimensionsRange /t REG_SZ /d 3 /f >/dev/null 2>&1
# Four bytes that read as 4 (Remove From Full) if the type were not checked.
timeout 30 wine reg add "$kSettingsKey" /v actionType /t REG_BINARY /d 04000000 /f \
    >/dev/null 2>&1
check_damaged_start "values of type REG_SZ and REG_BINARY"

# Help > About opens the About box; Esc closes it.
timeout 5 xdotool mousemove $((win_x + 107)) $((win_y + 10)) click 1 >/dev/null
sleep 0.8
timeout 5 xdotool mousemove $((win_x + 121)) $((win_y + 85)) click 1 >/dev/null
about=$(wait_for_window "About $kTitle" 10)
if [ -z "$about" ]; then
    fail "Help > About opened no About box"
else
    sleep 0.5
    shot "$work/about.png"
    # A click on an empty spot of the box gives it the keyboard.
    about_info=$(timeout 5 xwininfo -id "$about")
    about_x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$about_info")
    about_y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$about_info")
    timeout 5 xdotool mousemove $((about_x + 200)) $((about_y + 40)) click 1 >/dev/null
    sleep 0.3
    timeout 5 xdotool key Escape >/dev/null
    if ! wait_for_window_gone "About $kTitle" 6; then
        fail "Esc did not close the About box"
    else
        log "the About box opens and closes"
    fi
fi

# Help > Contents opens the help viewer.
timeout 5 xdotool mousemove $((win_x + 107)) $((win_y + 10)) click 1 >/dev/null
sleep 0.8
timeout 5 xdotool mousemove $((win_x + 107)) $((win_y + 26)) click 1 >/dev/null
if [ -z "$(wait_for_window "$kTitle Help" 15)" ]; then
    fail "Help > Contents opened no help window"
else
    sleep 1
    shot "$work/help.png"
    log "the help opens at its contents"
fi
finish_damaged_start "values of type REG_SZ and REG_BINARY"

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "PASS"
exit 0
