#!/usr/bin/env bash
# Completes command lines of tallyfern-cli with its bash completion, as bash
# would at a Tab, and compares the offers with the expected ones.
# Exits 77 (skipped) without bash-completion.
#
#   check_completion.sh COMPLETION_FILE
set -uo pipefail

file=${1:?usage: check_completion.sh COMPLETION_FILE}
framework=/usr/share/bash-completion/bash_completion
if [ ! -r "$framework" ]; then
    echo "check_completion: SKIPPED: bash-completion is not installed (scripts/setup.sh installs it)" >&2
    exit 77
fi
# shellcheck source=/dev/null
source "$framework"
# shellcheck source=/dev/null
source "$file"

failures=0
# expect LINE OFFERS: completing at the end of LINE offers OFFERS (blank-separated).
expect() {
    COMP_LINE=$1
    COMP_POINT=${#COMP_LINE}
    read -ra COMP_WORDS <<<"$COMP_LINE"
    [[ $COMP_LINE == *' ' ]] && COMP_WORDS+=('')
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    # compopt works only while bash itself completes.
    _tallyfern_cli tallyfern-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
    if [ "${COMPREPLY[*]}" != "$2" ]; then
        echo "check_completion: FAILED: \"$1\" offers \"${COMPREPLY[*]}\", not \"$2\"" >&2
        failures=$((failures + 1))
    fi
}

expect 'tallyfern-cli --n' '--natural'
expect 'tallyfern-cli -n -' '-v --var -n --natural -w --width --table -h --help --version --'
expect 'tallyfern-cli -w ' ''
expect 'tallyfern-cli -- -' ''
expect 'tallyfern-cli -2*si' '-2*sin('
expect 'tallyfern-cli 1+lo' '1+log('
expect 'tallyfern-cli 2*x1' ''

[ "$failures" -eq 0 ] || exit 1
echo "check_completion: passed" >&2
