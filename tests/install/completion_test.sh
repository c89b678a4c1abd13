#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sources the built bash completion of kerfwright-cli with bash-completion's
# helpers and completes a few words as a user would press Tab after them.
# Exit 77, skipped, without bash-completion.
set -u
completion=$1
helpers=/usr/share/bash-completion/bash_completion
[ -r "$helpers" ] || exit 77
source "$helpers"
source "$completion"

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" && touch JOB.TXT other.txt notes.md A.kwjob map.png && mkdir programs

status=0
# completes WORDS...: the completions of the last word, one per line, sorted.
completes()
{
    COMP_WORDS=(kerfwright-cli "$@")
    COMP_CWORD=$(($# ))
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _kerfwright_cli
    printf '%s\n' "${COMPREPLY[@]}" | sort
}
expect()
{
    local wanted=$1
    shift
    local got
    got=$(completes "$@")
    if [ "$got" != "$wanted" ]; then
        printf 'kerfwright-cli %s<Tab>:\n  wanted: %s\n  got:    %s\n' "$*" "${wanted//$'\n'/ | }" "${got//$'\n'/ | }" >&2
        status=1
    fi
}

expect $'check' che
expect $'design' des
expect $'generate' help g
expect $'--shape' map --sh
expect $'Circle\nHexagon\nSquare' design --shape ''
expect $'Hexagon' check --shape H
expect $'4.0\\ Inches' design --wafer 4
expect $'A.kwjob\nprograms' sheet --job ''
expect $'JOB.TXT\nother.txt\nprograms' check ''
expect $'map.png\nprograms' map --png ''
expect $'programs' generate --out ''
expect $'--job\n--json' check --j
exit $status
