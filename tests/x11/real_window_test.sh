#!/usr/bin/env bash
# Drives the window program in a real X server: Xvfb with the openbox window
# manager, keys and clicks sent by xdotool, the clipboard read by xclip, the
# window manager's view of the window read by xprop. What the offscreen
# platform of the widget tests cannot show is checked here: that keys reach
# the program through X, that the clipboard holds its texts for other
# programs, that the window manager moves the caption-less window when it is
# dragged and keeps it above the others when asked, and that it exits cleanly.
#
#   real_window_test.sh PATH/TO/tallyfern [LSAN_SUPPRESSIONS_FILE]
#
# Exits 77 (skipped) when the X tools are missing.
set -euo pipefail

readonly SKIP=77
readonly TITLE='Tallyfern 1.1'
# Seconds to wait for each step; the sanitizer build starts and exits slowly.
readonly STEP_TIMEOUT=${TALLYFERN_X11_STEP_TIMEOUT:-60}

say() { printf 'real_window_test: %s\n' "$*" >&2; }

app=${1:?usage: real_window_test.sh PATH/TO/tallyfern [LSAN_SUPPRESSIONS_FILE]}
suppressions=${2:-}

missing=()
for tool in Xvfb openbox xdotool xclip xprop; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
    say "SKIPPED: ${missing[*]} not installed (Debian packages xvfb openbox xdotool xclip x11-utils; scripts/setup.sh installs them)"
    exit "$SKIP"
fi
if [ ! -x "$app" ]; then
    say "FAILED: no program at $app"
    exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/tallyfern-x11.XXXXXX")
# Processes to end on exit; watched_pid is the program while it must run.
xvfb_pid='' wm_pid='' app_pid='' watched_pid=''

stop() {
    local pid=$1
    if [ -n "$pid" ] && kill "$pid" 2>/dev/null; then
        wait "$pid" 2>/dev/null || true
    fi
}

cleanup() {
    # Everything here runs, whatever fails.
    set +e
    stop "$app_pid"
    stop "$wm_pid"
    stop "$xvfb_pid"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
    say "FAILED: $*"
    if [ -s "$work/app.log" ]; then
        say "the program's output:"
        sed 's/^/    /' "$work/app.log" >&2
    fi
    exit 1
}

# wait_for DESCRIPTION COMMAND...: runs COMMAND until it succeeds, for at most
# STEP_TIMEOUT seconds; fails the test with DESCRIPTION after that, or at
# once when the program has ended.
wait_for() {
    local what=$1
    shift
    local deadline=$((SECONDS + STEP_TIMEOUT))
    until "$@"; do
        if [ -n "$watched_pid" ] && ! kill -0 "$watched_pid" 2>/dev/null; then
            fail "the program ended while waiting for: $what"
        fi
        [ "$SECONDS" -lt "$deadline" ] || fail "timed out after ${STEP_TIMEOUT}s waiting for: $what"
        sleep 0.1
    done
}

# A private home, runtime and configuration: nothing of the user's desktop
# session (its settings, its session bus) leaks into the run.
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
unset XDG_CONFIG_HOME XDG_CACHE_HOME DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY

# The server picks a free display number itself and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
display_known() {
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    [ -n "$(tr -d '[:space:]' <"$work/display")" ]
}
wait_for "Xvfb to report its display" display_known
export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"

openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_for "openbox to manage the screen" wm_running

# The real window system, not the offscreen one the widget tests use.
export QT_QPA_PLATFORM=xcb
if [ -n "$suppressions" ]; then
    export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$suppressions"
fi
"$app" >"$work/app.log" 2>&1 &
app_pid=$!
watched_pid=$app_pid

window=''
find_window() {
    window=$(xdotool search --onlyvisible --name "^$TITLE" 2>/dev/null | head -n 1)
    [ -n "$window" ]
}
wait_for "a window titled \"$TITLE\"" find_window
window_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ]; }
wait_for "the window to have the keyboard focus" window_active

# The controls' places, as the program lays them out: dialog units of
# res/DialogTemplates.cpp times 1.5 (rounded half up), plus the 3 px frame.
du() { echo $(((($1) * 3 + 1) / 2)); }
# center_of X Y CX CY: the middle of a control, in window pixels.
center_of() {
    local left top right bottom
    left=$(du "$1") top=$(du "$2") right=$(du "$1 + $3") bottom=$(du "$2 + $4")
    echo "$((3 + (left + right) / 2)) $((3 + (top + bottom) / 2))"
}
read -r exit_x exit_y < <(center_of 1 1 14 14)            # 2, exit
read -r mode_x mode_y < <(center_of 291 1 14 14)          # 1004, full size
read -r topmost_x topmost_y < <(center_of 305 1 14 14)    # 1012, keep on top
read -r natural_x natural_y < <(center_of 5 28 335 79)    # 1005, natural form
# Between the labels over the history and the variables: no control there.
read -r free_x free_y < <(center_of 100 110 10 8)

click_at() { xdotool mousemove --window "$window" "$1" "$2" click 1; }

clipboard=''
# clipboard_is TEXT: the clipboard holds TEXT, blanks at line ends aside.
clipboard_is() {
    clipboard=$(xclip -o -selection clipboard 2>/dev/null | sed 's/[[:space:]]*$//') || return 1
    [ "$clipboard" = "$1" ]
}

geometry() {
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$window")"
    echo "$X $Y $WIDTH $HEIGHT"
}

say "display $DISPLAY, window $window"

# The expression box has the focus at the start; the key below Escape
# copies the result.
xdotool type --delay 50 '1/4+2^3'
xdotool key Return
xdotool key grave
wait_for "the result 8.25 in the clipboard (it holds \"$clipboard\")" clipboard_is 8.25

read -r _ _ _ compact_height < <(geometry)
click_at "$mode_x" "$mode_y"
full_size() { read -r _ _ _ h < <(geometry) && [ "$h" -gt "$compact_height" ]; }
wait_for "the window to grow to its full size" full_size

expected_drawing=$(printf '%s\n' \
    ' 1     3' \
    '--- + 2' \
    ' 4')
click_at "$natural_x" "$natural_y"
xdotool key ctrl+a ctrl+c
wait_for "the natural form of 1/4+2^3 in the clipboard (it holds \"$clipboard\")" \
    clipboard_is "$expected_drawing"

# Dragging a free spot moves the window: the window manager does it.
read -r x0 y0 _ _ < <(geometry)
xdotool mousemove --window "$window" "$free_x" "$free_y"
xdotool mousedown 1
for _ in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove_relative -- 4 3
    sleep 0.05
done
xdotool mouseup 1
moved() { read -r x y _ _ < <(geometry) && [ "$x" -gt "$x0" ] && [ "$y" -gt "$y0" ]; }
wait_for "the window to move right and down from $x0,$y0 when dragged" moved

above() { xprop -id "$window" _NET_WM_STATE | grep -q '_NET_WM_STATE_ABOVE'; }
if above; then
    fail "the window is kept above the others before it is asked to"
fi
click_at "$topmost_x" "$topmost_y"
wait_for "_NET_WM_STATE_ABOVE on the window" above

# Escape clears the expression box and leaves the window open: what is typed
# next is a new expression.
xdotool key Escape
xdotool type --delay 50 '2*3'
xdotool key Return grave
wait_for "the result 6 of a new expression after Escape (the clipboard holds \"$clipboard\")" \
    clipboard_is 6
[ "$(xdotool search --onlyvisible --name "^$TITLE" | head -n 1)" = "$window" ] ||
    fail "the window is gone after Escape"

click_at "$exit_x" "$exit_y"
watched_pid=''
program_ended() { ! kill -0 "$app_pid" 2>/dev/null; }
wait_for "the program to end after the exit button" program_ended
status=0
wait "$app_pid" || status=$?
app_pid=''
[ "$status" -eq 0 ] || fail "the program ended with status $status"
say "passed"
