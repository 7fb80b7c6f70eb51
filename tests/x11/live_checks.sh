# shellcheck shell=bash
# Sourced by real_window_test.sh: the expression computed while it is
# typed, in the real window. live_checks runs in the full window with the
# session's helpers (wait_for, fail, calc, click_at, clipboard_is, reader)
# and leaves computing while typing on, as it finds it.

# live_atspi history|tip: the rows of the history list, or the text of the
# tooltip showing, as a screen reader finds them.
live_atspi() {
    /usr/bin/python3 - "$1" <<'EOF'
import sys

import pyatspi

app = next((a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "tallyfern"), None)
if app is None:
    sys.exit(2)


def walk(node, depth=0):
    yield node
    if depth < 6:
        for child in node:
            if child is not None:
                yield from walk(child, depth + 1)


if sys.argv[1] == "history":
    for node in walk(app):
        if node.name == "历史" and node.getRole() == pyatspi.ROLE_LIST:
            print(node.childCount)
            sys.exit(0)
    sys.exit(1)
for window in app:
    if window is not None and window.getRole() == pyatspi.ROLE_TOOL_TIP:
        for node in walk(window):
            if node.name:
                print(node.name.replace("\n", " "))
EOF
}

live_history_is() {
    local rows
    rows=$(live_atspi history) || return 1
    wait_detail="$rows rows"
    [ "$rows" = "$1" ]
}

# live_tip_has TEXT: a tooltip showing holds TEXT.
live_tip_has() {
    local tip
    tip=$(live_atspi tip) || return 1
    wait_detail="the tooltip reads \"$tip\""
    [[ $tip == *"$1"* ]]
}

live_toggle_switch() {
    xdotool mousemove --window "$window" $free_spot click 3
    sleep 0.5
    xdotool key t
    sleep 0.3
}

live_checks() {
    local box rows heard listener
    read -r bx by bw bh < <(form_control CalcDlg expressionEdit) || fail "no expression box in the form"
    box=$(center_of "$bx" "$by" "$bw" "$bh")
    click_at $box
    xdotool key Escape
    history_read() { live_atspi history >/dev/null; }
    wait_for "the history list to be read" history_read
    rows=$(live_atspi history)

    # The value shows while typing, and the copy key copies what shows.
    xdotool type --delay 50 '1+2*3'
    xdotool key grave
    wait_for "7 shown before Enter" clipboard_is 7
    live_history_is "$rows" || fail "typing 1+2*3 changed the history: $wait_detail"

    # An unfinished expression: no value, its end marked, the error told
    # to a screen reader through the box's description.
    heard=$x11_work/live_descriptions
    : >"$heard"
    reader descriptions 30 >"$heard" 2>&1 &
    listener=$!
    wait_for "the reader to listen" grep -q listening "$heard"
    xdotool key Escape
    xdotool type --delay 50 '2*(1+'
    told_operand() { grep -q '^text|表达式|.*操作数' "$heard"; }
    wait_for "the box to tell the screen reader of the missing operand" told_operand
    kill "$listener" 2>/dev/null || true
    wait "$listener" 2>/dev/null || true
    xdotool key grave
    wait_for "no value shown for 2*(1+" clipboard_is ''
    # The box is aligned right: its last character stands at its right end,
    # its first further left.
    xdotool mousemove --window "$window" $((bx + bw - 6)) $((by + bh / 2))
    wait_for "the tooltip of the mark at the end" live_tip_has 操作数
    xdotool mousemove --window "$window" $((bx + bw / 2)) $((by + bh / 2))
    sleep 1.5
    live_tip_has 操作数 && fail "a tooltip away from the mark"

    # Enter commits: the history grows by one.
    xdotool key Escape
    xdotool type --delay 50 '2+3'
    xdotool key Return
    wait_for "the history to grow by one on Enter" live_history_is $((rows + 1))
    xdotool key grave
    wait_for "the committed 5 copied" clipboard_is 5

    # Switched off, nothing shows before Enter.
    live_toggle_switch
    click_at $box
    xdotool key Escape
    xdotool type --delay 50 '4*5'
    xdotool key grave
    wait_for "the last result 5 kept while typing with the switch off" clipboard_is 5
    xdotool key Return grave
    wait_for "20 on Enter with the switch off" clipboard_is 20
    live_toggle_switch
    click_at $box
}
