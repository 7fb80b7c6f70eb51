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
readonly TITLE='^Tallyfern 1\.1'

say() { printf 'real_window_test: %s\n' "$*" >&2; }
fail() {
    say "FAILED: $*"
    x11_print_app_log
    exit 1
}

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

source "$(dirname "${BASH_SOURCE[0]}")/x11_session.sh"
[ -x "$app" ] || fail "no program at $app"
trap x11_stop_session EXIT
trap 'exit 130' INT TERM

x11_start_session
if [ -n "$suppressions" ]; then
    export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$suppressions"
fi
x11_start_app "$app"
wait_for "a window titled \"$TITLE\"" find_window "$TITLE"
wait_for "the window to have the keyboard focus" window_active
say "display $DISPLAY, window $window"

# The caption as the window manager shows it: the program's title and
# nothing appended.
caption=$(xdotool getwindowname "$window")
[ "$caption" = 'Tallyfern 1.1: a natural-form calculator' ] || fail "the caption reads \"$caption\""

# Where the controls are: the main window draws its own 3 px frame around
# them.
calc() {
    local rect
    rect=$(dialog_control IDD_CALC_DIALOG "$1") || exit 1
    center_of 3 $rect
}
exit_button=$(calc IDCANCEL)
mode_button=$(calc IDC_MODE)
topmost_button=$(calc IDC_TOPMOST)
natural_box=$(calc IDC_NATURAL)
# Between the labels over the history and the variables: no control there.
free_spot=$(center_of 3 100 110 10 8)

# clipboard_is TEXT: the clipboard holds TEXT, blanks at line ends aside.
clipboard_is() {
    local clipboard
    clipboard=$(xclip -o -selection clipboard 2>/dev/null | sed 's/[[:space:]]*$//') || {
        wait_detail='the clipboard is empty'
        return 1
    }
    wait_detail="the clipboard holds \"$clipboard\""
    [ "$clipboard" = "$1" ]
}

# The expression box has the focus at the start; the key below Escape
# copies the result.
xdotool type --delay 50 '1/4+2^3'
xdotool key Return
xdotool key grave
wait_for "the result 8.25 in the clipboard" clipboard_is 8.25

read -r _ _ _ compact_height < <(geometry)
click_at $mode_button
full_size() { read -r _ _ _ h < <(geometry) && [ "$h" -gt "$compact_height" ]; }
wait_for "the window to grow to its full size" full_size

expected_drawing=$(printf '%s\n' \
    ' 1     3' \
    '--- + 2' \
    ' 4')
click_at $natural_box
xdotool key ctrl+a ctrl+c
wait_for "the natural form of 1/4+2^3 in the clipboard" clipboard_is "$expected_drawing"

# Dragging a free spot moves the window: the program hands the drag to the
# window manager, which moves the window with the pointer from where the
# button went down. The button stays down until the window has moved, so a
# slow start of the move (a loaded machine, the sanitizers) loses nothing.
read -r x0 y0 _ _ < <(geometry)
xdotool mousemove --window "$window" $free_spot
xdotool mousedown 1
for _ in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove_relative -- 4 3
    sleep 0.05
done
moved() { read -r x y _ _ < <(geometry) && [ "$x" -gt "$x0" ] && [ "$y" -gt "$y0" ]; }
step=1
moved_while_held() {
    moved && return 0
    # The pointer jiggles by a pixel: the window manager moves a window only
    # on the pointer's motion.
    xdotool mousemove_relative -- "$step" 0
    step=$((-step))
    return 1
}
wait_for "the window to move right and down from $x0,$y0 when dragged" moved_while_held
xdotool mouseup 1

above() { xprop -id "$window" _NET_WM_STATE | grep -q '_NET_WM_STATE_ABOVE'; }
if above; then
    fail "the window is kept above the others before it is asked to"
fi
click_at $topmost_button
wait_for "_NET_WM_STATE_ABOVE on the window" above

# Escape clears the expression box and leaves the window open: what is typed
# next is a new expression.
xdotool key Escape
xdotool type --delay 50 '2*3'
xdotool key Return grave
wait_for "the result 6 of a new expression after Escape" clipboard_is 6
[ "$(xdotool search --onlyvisible --name "$TITLE" | head -n 1)" = "$window" ] ||
    fail "the window is gone after Escape"

click_at $exit_button
x11_watched_pid=''
program_ended() { ! kill -0 "$x11_app_pid" 2>/dev/null; }
wait_for "the program to end after the exit button" program_ended
status=0
wait "$x11_app_pid" || status=$?
x11_app_pid=''
[ "$status" -eq 0 ] || fail "the program ended with status $status"
say "passed"
