#!/usr/bin/env bash
# Sources the bash completion of talvio and checks what it offers for a table of command lines.
# The cursor is at the end of each line; a line ending in a space completes an empty word.
set -uo pipefail
completion=${1:?usage: completion_test.sh COMPLETION_FILE}
# shellcheck source=data/completion/talvio
source "$completion"

# command line | the words offered, in order
cases=(
    "talvio |about addin convert currencies detail export-rates formats import-rates labels panel pick rate set-rate settings wizard"
    "talvio c|convert currencies"
    "talvio se|set-rate settings"
    "talvio --|--help --messages --settings --version"
    "talvio --settings /nonexistent/x|"
    "talvio --settings /nonexistent/x ra|rate"
    "talvio --settings db.sqlite con|convert"
    "talvio convert --|--euro-decimals --help --method --pattern --raw"
    "talvio convert --method |down legal near up"
    "talvio convert --method n|near"
    "talvio convert --pattern |"
    "talvio detail -|--help --method --pattern"
    "talvio currencies --|--all --help"
    "talvio formats |down up"
    "talvio formats up |"
    "talvio pick |color folder font position"
    "talvio pick f|folder font"
    "talvio pick --initial /tmp |color folder font position"
    "talvio settings |delete get list set"
    "talvio settings get |"
    "talvio wizard --|--force --help"
    "talvio addin --|--help --path --type"
    "talvio rate |"
    "talvio about --h|--help"
    "talvio i|import-rates"
    "talvio import-rates --|--add --date --help"
    "talvio import-rates --date |"
    "talvio import-rates ${completion%?}|$completion"
    "talvio import-rates --date 2026-12-08 ${completion%?}|$completion"
    "talvio import-rates $completion |"
    "talvio export-rates --|--format --help"
    "talvio export-rates --format |csv xml"
    "talvio export-rates --format x|xml"
    "talvio export-rates --format csv |"
)

failures=0
for entry in "${cases[@]}"; do
    line=${entry%%|*}
    expected=${entry#*|}
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line
    COMP_POINT=${#line}
    COMPREPLY=()
    _talvio talvio "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    actual=$(printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd' ')
    if [[ $actual != "$expected" ]]; then
        echo "FAIL \"$line\": expected \"$expected\", got \"$actual\""
        failures=$((failures + 1))
    fi
done
echo "${#cases[@]} command lines, $failures failed"
((failures == 0))
