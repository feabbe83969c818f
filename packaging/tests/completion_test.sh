#!/bin/bash
# The bash completion of kestrel-cli against the real program: commands, options and their
# values come from its help texts, card specs from its card list, files where the help
# says FILE or PATH.
#   completion_test.sh COMPLETION_SCRIPT KESTREL_CLI
set -u
# shellcheck source=../completion/kestrel-cli
source "$1"
cli=$2
files=$(mktemp -d "${TMPDIR:-/tmp}/kestrel-completion-test.XXXXXX")
trap 'rm -rf "$files"' EXIT
touch "$files/take.ts"
failures=0

# The completions of `kestrel-cli LINE`, the cursor at its end, sorted on one line.
completions() {
    COMP_LINE="$cli $1"
    COMP_POINT=${#COMP_LINE}
    _kestrel_cli
    printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd ' '
}

expect() { # LINE COMPLETIONS
    local got
    got=$(completions "$1")
    [ "$got" = "$2" ] && return
    echo "FAIL '$1': expected '$2', got '$got'"
    failures=$((failures + 1))
}

expect_among() { # LINE WORD...: each WORD among the completions
    local got word
    got=" $(completions "$1") "
    for word in "${@:2}"; do
        [[ $got == *" $word "* ]] && continue
        echo "FAIL '$1': '$word' missing from '$got'"
        failures=$((failures + 1))
    done
}

expect "sc" "scan"
expect "--settings my.ini --trace-level 2 ca" "cards"
expect_among "--" --settings --trace-level --charset --version --help
expect_among "" analyse cards dump-sections record scan sections tune
expect "scan --mo" "--mode"
expect "scan --quiet --mode " "current nit satellites"
expect "scan --mode=s" "satellites"
expect "scan --channels c.conf --channel-format " "dvbv5 vdr"
expect "tune --polarisation " "H L R V"
expect "tune --lnb-power o" "off on"
expect "tune --frequency " ""
expect_among "scan --card " demo capture:
expect "scan --card capture:$files/ta" "$files/take.ts"
expect "record --pid 0x10 --out $files/t" "$files/take.ts"
expect "sections $files/t" "$files/take.ts"
expect "analyse $files/t" "$files/take.ts"
expect "analyse --json --csv $files/t" "$files/take.ts"
expect "--settings $files/t" "$files/take.ts"

[ "$failures" -eq 0 ] && echo "bash completion: all cases passed"
[ "$failures" -eq 0 ]
