# What the window program keeps between runs, in the real X server: a
# computation and a variable survive a restart of the window, a damaged
# kept file is set aside with one message, and with the keep switch turned
# off nothing of the session is written. Sourced by real_window_test.sh and
# run by session_checks PROGRAM once its own checks are done and the
# program has ended; it uses that script's helpers (calc, reader,
# clipboard_is, focus_is, full_size) and the session of x11_session.sh.

# Starts the program under the Chinese locale and waits for its window,
# and unless told "--no-focus" for the keyboard focus in it.
session_start() {
    local focus=1
    [ "$1" = --no-focus ] && shift && focus=0
    LC_ALL=zh_CN.UTF-8 x11_start_app "$@"
    wait_for "a window titled \"$TITLE\"" find_window "$TITLE"
    [ "$focus" = 0 ] || wait_for "the window to have the keyboard focus" window_active
}

# Closes the window with its exit button; the program must end cleanly.
session_quit() {
    click_at $exit_button
    x11_watched_pid=''
    wait_for "the program to end after the exit button" program_ended
    local status=0
    wait "$x11_app_pid" || status=$?
    x11_app_pid=''
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
}

# The last history entry computed again; its result lands in the clipboard.
session_recompute_last() {
    printf 'none' | xclip -selection clipboard
    wait_for "the clipboard emptied" clipboard_is none
    xdotool key Escape Up Return grave
}

session_checks() {
    local program=$1
    # Its own places, empty at the start: nothing of the checks before.
    export XDG_CONFIG_HOME=$x11_work/kept/config XDG_DATA_HOME=$x11_work/kept/data
    local kept=$XDG_DATA_HOME/tallyfern/session.jsonl
    local settings=$XDG_CONFIG_HOME/tallyfern/tallyfern.conf

    # First run: k = 21 in the grid, and k*2 computed.
    session_start "$program"
    click_at $mode_button
    wait_for "the window to grow to its full size" full_size
    click_at $add_button
    sleep 0.5
    # The name, Tab to its value, the value, and Enter, which leaves the
    # window open.
    xdotool type --delay 50 k
    xdotool key Tab
    sleep 0.5
    xdotool type --delay 50 21
    xdotool key Return
    wait_for "a row in the grid" grid_rows_are 1
    click_at $(calc expressionEdit)
    xdotool type --delay 50 'k*2'
    xdotool key Return grave
    wait_for "k*2 computed with k = 21" clipboard_is 42
    click_at $topmost_button
    wait_for "_NET_WM_STATE_ABOVE on the window" above
    # Moved by the window manager, as a drag moves it.
    xdotool windowmove "$window" 60 80
    at_60_80() { read -r x y _ _ < <(geometry) && [ "$x" = 60 ] && [ "$y" = 80 ]; }
    wait_for "the window moved to 60,80" at_60_80
    [ "$(stat -c %a "$kept")" = 600 ] || fail "the kept file is not the user's alone"
    session_quit

    # Second run: in its place, full size and above the others again, and
    # the history's last entry, k*2, computes with the kept k.
    session_start "$program"
    wait_for "the window to open at its full size again" full_size
    wait_for "the window to open where it was left" at_60_80
    wait_for "the window kept above the others again" above
    wait_for "a row in the grid after the restart" grid_rows_are 1
    session_recompute_last
    wait_for "k*2 from the kept history and variable after a restart" clipboard_is 42
    session_quit
    say "history, a variable, the place, the size and keep-on-top survived a restart"

    # A file cut short: what reads is kept, the file is set aside, and one
    # message says so.
    printf '%s\n%s\n%s' '{"format":"tallyfern-session","version":1}' '{"history":"5*5"}' \
        '{"history":"1+' >"$kept"
    session_start --no-focus "$program"
    session_note() {
        local names
        names=$(reader buttons 历史和变量) || return 1
        [ "$names" = 确定 ]
    }
    wait_for "one message about the damaged kept file" session_note
    xdotool key Return
    no_session_note() { [ "$(reader windows 历史和变量)" = 0 ]; }
    wait_for "the message closed" no_session_note
    sleep 1
    no_session_note || fail "a second message about the kept file"
    [ -f "$kept.bad" ] || fail "the damaged file was not set aside as $kept.bad"
    wait_for "the window to have the keyboard focus after the message" window_active
    session_recompute_last
    wait_for "5*5 read from the damaged file" clipboard_is 25

    # The keep switch of the window menu (a right click on a free spot; the
    # menu keys would open the expression box's own) turned off: the kept
    # file goes, and what is computed after is not written.
    xdotool mousemove --window "$window" $free_spot click 3
    sleep 0.5
    xdotool key k
    kept_gone() { [ ! -e "$kept" ]; }
    wait_for "the kept file deleted when keeping is turned off" kept_gone
    click_at $(calc expressionEdit)
    xdotool key Escape
    xdotool type --delay 50 '3+3'
    xdotool key Return grave
    # Quitting only once the keys are through: a screen reader's bus still
    # answering a key when the program ends leaves Qt's copy of it behind.
    wait_for "3+3 computed with keeping off" clipboard_is 6
    session_quit
    kept_gone || fail "a session was written with keeping off"
    grep -qx 'keep=false' "$settings" || fail "the switch was not kept: $(cat "$settings")"
    if grep -q '^\[window\]' "$settings"; then
        fail "the window's state was written with keeping off"
    fi
    say "a damaged file was set aside with one message; keeping off wrote nothing"
}
