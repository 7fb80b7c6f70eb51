#!/usr/bin/env bash
# Drives the window program in a real X server: Xvfb with the openbox window
# manager, keys and clicks sent by xdotool, the clipboard read by xclip, the
# window manager's view of the window read by xprop. What the offscreen
# platform of the widget tests cannot show is checked here: that keys reach
# the program through X, that the clipboard holds its texts for other
# programs, that the window manager moves the caption-less window when it is
# dragged and keeps it above the others when asked, and that it exits cleanly.
# A screen reader's view through AT-SPI (screen_reader.py) checks that every
# control in sight has a name, that Tab stops only at controls in sight, that
# the grid's Delete key works, that a message box's button reads "确定"
# under a Chinese locale, that a notification tells the result after Enter,
# and that closed help windows leave neither memory nor windows behind.
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
for tool in Xvfb openbox xdotool xclip xprop dbus-daemon /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || missing+=(pyatspi)
if [ ${#missing[@]} -gt 0 ]; then
    say "SKIPPED: ${missing[*]} not installed (Debian packages xvfb openbox xdotool xclip x11-utils dbus-daemon at-spi2-core python3-pyatspi; scripts/setup.sh installs them)"
    exit "$SKIP"
fi

source "$(dirname "${BASH_SOURCE[0]}")/x11_session.sh"
source "$(dirname "${BASH_SOURCE[0]}")/live_checks.sh"
source "$(dirname "${BASH_SOURCE[0]}")/session_checks.sh"
[ -x "$app" ] || fail "no program at $app"
trap x11_stop_session EXIT
trap 'exit 130' INT TERM

x11_start_session
x11_start_accessibility
if [ -n "$suppressions" ]; then
    export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$suppressions"
fi
# A Chinese desktop: Qt's own texts then read Chinese too.
unset LANGUAGE
LC_ALL=zh_CN.UTF-8 x11_start_app "$app"
wait_for "a window titled \"$TITLE\"" find_window "$TITLE"
wait_for "the window to have the keyboard focus" window_active
say "display $DISPLAY, window $window"

# The caption as the window manager shows it: the program's title and
# nothing appended.
caption=$(xdotool getwindowname "$window")
[ "$caption" = 'Tallyfern 1.1: a natural-form calculator' ] || fail "the caption reads \"$caption\""

# reader COMMAND...: what a screen reader learns (see screen_reader.py).
reader() { /usr/bin/python3 "$X11_SOURCE_DIR/tests/x11/screen_reader.py" "$@"; }
reader_sees_program() { reader focused >/dev/null 2>&1; }
wait_for "the program on the accessibility bus" reader_sees_program
all_named() {
    local unnamed
    unnamed=$(reader unnamed) || return 1
    wait_detail="without a name: $(echo $unnamed)"
    [ -z "$unnamed" ]
}
# focus_is PATTERN: the focused control, "ROLE|NAME|IN_SIGHT", matches.
focus_is() {
    local focus
    focus=$(reader focused) || return 1
    wait_detail="the focus is on \"$focus\""
    [[ $focus == $1 ]]
}
wait_for "a name on every control in sight of the compact window" all_named
# The compact window's nine controls, one Tab each, and back to the start;
# none of those the compact window cuts off.
for i in 1 2 3 4 5 6 7 8 9; do
    xdotool key Tab
    sleep 0.3
    wait_for "the focus in sight after $i Tab presses in the compact window" focus_is '*|1'
done
wait_for "the focus back on the expression box after nine Tab presses" focus_is 'text|表达式|1'
# The controls the compact window cuts off are not showing to a reader.
cut_off_hidden() {
    local shown
    shown=$(reader showing 历史 自定义变量) || return 1
    wait_detail="showing: $(echo $shown)"
    [ -z "$shown" ]
}
wait_for "the history and the grid not showing in the compact window" cut_off_hidden

# Where the controls are, inside the 3 px frame the main window draws.
calc() {
    local rect
    rect=$(form_control CalcDlg "$1") || exit 1
    center_of $rect
}
exit_button=$(calc exitButton)
mode_button=$(calc modeButton)
topmost_button=$(calc topMostButton)
add_button=$(calc addVariableButton)
natural_box=$(calc naturalBox)
# Between the labels over the history and the variables: no control there.
free_spot=$(center_of 153 168 15 12)

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

# A click on "=" leaves the focus in the expression box: the keys typed next
# go on with the expression.
click_at $(calc computeButton)
xdotool type --delay 50 '+1'
xdotool key Return grave
wait_for "9.25 from keys typed after a click on \"=\"" clipboard_is 9.25

# A pinyin input method in Chinese mode types full-width forms: pasted
# here (xdotool's typing of characters off the keyboard map can lose the
# first ones), they are taken as the ASCII characters they stand for. ln
# and lg, which the help lists, compute; Ctrl+C with nothing selected
# copies the result.
xdotool key Escape
printf '%s' '（１＋２）＊３' | xclip -selection clipboard
wait_for "the full-width text in the clipboard" clipboard_is '（１＋２）＊３'
xdotool key ctrl+v
xdotool type --delay 50 '+lg(100)+ln(1)'
xdotool key Return ctrl+c
wait_for "11 from full-width forms, lg and ln, copied by Ctrl+C" clipboard_is 11

# After Enter a screen reader is told the result, while the focus stays in
# the expression box: a notification appears with it, which readers speak
# unasked. The same result again is told again.
notices=$x11_work/notices
: >"$notices"
reader notices 30 >"$notices" 2>&1 &
listener=$!
wait_for "the reader to listen" grep -q listening "$notices"
told_42_twice() {
    wait_detail="heard: $(tail -n 3 "$notices" | tr '\n' ' ')"
    [ "$(grep -c '^notification|结果 42$' "$notices")" -eq 2 ]
}
for expression in '6*7' '40+2'; do
    xdotool key Escape
    xdotool type --delay 50 "$expression"
    xdotool key Return
done
wait_for "a notification 结果 42 for each of 6*7 and 40+2" told_42_twice
wait_for "the focus still in the expression box" focus_is 'text|表达式|1'
# Where the caret stands after typing, a reader reads the whole line and the
# last word.
pieces_are() {
    local pieces
    pieces=$(reader pieces) || return 1
    wait_detail="read \"$pieces\""
    [ "$pieces" = "$1" ]
}
wait_for "the line 40+2 and the word 2 read at the end" pieces_are '40+2|2'
kill "$listener" 2>/dev/null || true
wait "$listener" 2>/dev/null || true

# Help windows: each one closed is gone, from memory and from the screen
# reader's view; while open, each steps down and right from the one before.
help_button=$(calc helpButton)
help_window() { help=$(xdotool search --onlyvisible --name '^使用帮助$' 2>/dev/null | tail -n 1) && [ -n "$help" ]; }
no_help_window() { ! help_window; }
close_help() {
    xdotool windowactivate --sync "$1" 2>/dev/null || true
    xdotool key Escape
}
open_and_close_help() {
    click_at $help_button
    wait_for "a help window" help_window
    close_help "$help"
    wait_for "the help window to close" no_help_window
}
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$x11_app_pid/status"; }
open_and_close_help
rss_before=$(rss_kb)
for _ in $(seq 30); do open_and_close_help; done
rss_after=$(rss_kb)
say "30 help windows opened and closed: RSS ${rss_before} kB -> ${rss_after} kB"
# grep reads all of ldd's output: with -q it could stop early, ldd would die
# of SIGPIPE, and under pipefail a sanitizer build would look like a plain one.
if ldd "$app" | grep libasan >/dev/null; then
    say "memory not compared: the sanitizers keep freed memory"
elif [ $((rss_after - rss_before)) -gt 5120 ]; then
    fail "30 help windows opened and closed took $((rss_after - rss_before)) kB"
fi
help_windows_left() {
    local count
    count=$(reader windows 使用帮助) || return 1
    wait_detail="$count left"
    [ "$count" = 0 ]
}
wait_for "no help window left for the screen reader" help_windows_left
click_at $help_button
wait_for "a first help window" help_window
first_help=$help
read -r hx1 hy1 _ _ < <(window=$first_help geometry)
click_at $help_button
second_help() { help_window && [ "$help" != "$first_help" ]; }
wait_for "a second help window" second_help
read -r hx2 hy2 _ _ < <(window=$help geometry)
[ "$hx2" -gt "$hx1" ] && [ "$hy2" -gt "$hy1" ] ||
    fail "the second help window at $hx2,$hy2 does not step down and right from $hx1,$hy1"
close_help "$help"
close_help "$first_help"
wait_for "the help windows to close" no_help_window
xdotool windowactivate --sync "$window" 2>/dev/null || true
xdotool key Escape
xdotool type --delay 50 '1/4+2^3'
xdotool key Return

read -r _ _ _ compact_height < <(geometry)
click_at $mode_button
full_size() { read -r _ _ _ h < <(geometry) && [ "$h" -gt "$compact_height" ]; }
wait_for "the window to grow to its full size" full_size
wait_for "a name on every control in sight of the full window" all_named

# A new variable, then Delete in the grid: the row goes, the grid keeps
# the focus.
grid_rows_are() {
    local rows
    rows=$(reader rows 自定义变量) || return 1
    wait_detail="$rows rows"
    [ "$rows" = "$1" ]
}
click_at $add_button
sleep 0.5
xdotool type --delay 50 v
xdotool key Return
wait_for "a row in the grid" grid_rows_are 1
# Home makes the first row current, Space selects it.
xdotool key Home space Delete
wait_for "Delete to empty the grid" grid_rows_are 0
wait_for "the focus still in the grid" focus_is '*|自定义变量|1'

expected_drawing=$(printf '%s\n' \
    ' 1     3' \
    '--- + 2' \
    ' 4')
click_at $natural_box
xdotool key ctrl+a ctrl+c
wait_for "the natural form of 1/4+2^3 in the clipboard" clipboard_is "$expected_drawing"

# The value and the error's mark while typing, before Enter.
live_checks

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

above() { xprop -id "$window" _NET_WM_STATE | grep '_NET_WM_STATE_ABOVE' >/dev/null; }
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

# An error's message box, in the locale's language throughout.
xdotool key Escape
xdotool type --delay 50 '1+'
xdotool key Return
error_box_buttons() {
    local names
    names=$(reader buttons 发生错误) || return 1
    wait_detail="its buttons: $(echo $names)"
    [ "$names" = 确定 ]
}
wait_for "a message box whose one button reads 确定" error_box_buttons
xdotool key Return
wait_for "the focus back in the expression box" focus_is 'text|表达式|1'

click_at $exit_button
x11_watched_pid=''
program_ended() { ! kill -0 "$x11_app_pid" 2>/dev/null; }
wait_for "the program to end after the exit button" program_ended
status=0
wait "$x11_app_pid" || status=$?
x11_app_pid=''
[ "$status" -eq 0 ] || fail "the program ended with status $status"
session_checks "$app"
say "passed"
