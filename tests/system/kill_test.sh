#!/usr/bin/env bash
# Kills Meter with SIGKILL while it records, again and again, and checks the data file after
# each kill: every line whole (ended by CR LF, its number, date and time in place) and the
# numbering without a gap (each recording starts again at 1).
#
#   tests/system/kill_test.sh [runs]    default 20 runs; Meter and meter-sim run under Xvfb
#
# Each run opens Meter on the simulated meter, sets the sample rate to 1 s (OPTION > SAMPLE
# RATE), chooses the data file (FILE > SAVE AS), starts recording (FILE > START RECORDING) and
# kills Meter at a random moment 1 to 4 s later. It builds nothing: Meter and meter-sim are those
# METER_APP and METER_SIM name (ctest sets them), else those in METER_BUILD_DIR (default build/).
# Exit status: 0 passed, 1 a file was damaged or a run went wrong, 2 a wrong argument, 77 (ctest's
# "skipped") when Xvfb or xdotool is not installed.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${METER_BUILD_DIR:-$root/build}
meter=${METER_APP:-$build/src/Meter}
sim=${METER_SIM:-$build/sim/meter-sim}
runs=${1:-20}
[[ $runs =~ ^[1-9][0-9]*$ ]] || { echo "usage: tests/system/kill_test.sh [runs]" >&2; exit 2; }
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null ||
        { echo "kill-test: skipped: $tool is not installed (scripts/setup installs it)" >&2; exit 77; }
done
for program in "$meter" "$sim"; do
    [[ -x $program ]] || { echo "kill-test: $program is missing: build it first" >&2; exit 1; }
done
source "$root/scripts/lib/headless.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/meter-kill.XXXXXX")
trap 'headless_stop; rm -rf "$work"' EXIT
data=$work/kill.dat
# Settings of its own, never the user's, and none left from an earlier run.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config

headless_start_sim "$sim" "$work"
headless_start_xvfb "$work"

# window_named TITLE: the id of the visible window with that title, once it shows.
window_named() {
    timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1
}

# menu_item RIGHTS DOWNS: opens FILE on the panel's menu bar, moves RIGHTS menus to the right
# (which selects that menu's first item) and DOWNS items down, and chooses the item.
menu_item() {
    xdotool mousemove --window "$headless_panel" 15 10 click 1
    sleep 0.3
    local keys=()
    for _ in $(seq "$1"); do keys+=(Right); done
    for _ in $(seq "$2"); do keys+=(Down); done
    xdotool key --delay 30 "${keys[@]}" Return
}

# answer TITLE TEXT: types TEXT into the dialog of that title and confirms it.
answer() {
    local dialog
    dialog=$(window_named "$1") || { echo "no \"$1\" dialog; see $work/meter.log" >&2; return 1; }
    xdotool windowfocus --sync "$dialog" key ctrl+a type --delay 5 "$2"
    xdotool key Return
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.05
    done
}

start_recording() {
    menu_item 2 3 # OPTION > SAMPLE RATE (MEMORY first, then ERASE, SYSTEM TIME SET)
    answer "Input Sampling Time" 1
    menu_item 0 1 # FILE > SAVE AS
    answer "Save As" "$data"
}

# records_beyond LINES: waits up to 3 s for the data file to hold more than LINES lines.
records_beyond() {
    for _ in $(seq 30); do
        [[ -s $data && $(wc -l <"$data") -gt $1 ]] && return 0
        sleep 0.1
    done
    return 1
}

# The file as a whole: its last byte ends a line, every line is a recorder line, each number
# follows the one before or starts a recording at 1. Prints the count of recordings.
check_file() {
    [[ $(tail -c 2 "$1" | od -An -tx1 | tr -d ' \n') == 0d0a ]] ||
        { echo "the file ends inside a line" >&2; return 1; }
    awk 'BEGIN { RS = "\r\n"; previous = 0; starts = 0 }
        { line = $0 }
        line == "" && NR > 0 { next }
        line ~ /[\r\n]/ { print "a line broken by a lone CR or LF at line " NR > "/dev/stderr"; exit 1 }
        line !~ /^ [0-9]+\t[0-9][0-9]-[0-9][0-9]-[0-9][0-9][0-9][0-9]\t[0-9][0-9]:[0-9][0-9]:[0-9][0-9]\t/ {
            print "a malformed line " NR ": " line > "/dev/stderr"; exit 1 }
        { number = substr(line, 2, index(line, "\t") - 2) + 0
          if (number == 1) starts++
          else if (number != previous + 1) {
              print "record " number " follows record " previous " at line " NR > "/dev/stderr"; exit 1 }
          previous = number }
        END { print starts }' "$1"
}

lines=0
for run in $(seq "$runs"); do
    headless_open_meter "$meter" "$work"
    start_recording
    # FILE > START RECORDING; a click while the file dialog was still going may have been lost,
    # and a second START while recording does nothing.
    for _ in 1 2 3; do
        menu_item 0 3
        ! records_beyond "$lines" || break
    done
    records_beyond "$lines" || {
        headless_screenshot "${TMPDIR:-/tmp}/kill-test-stuck.png"
        echo "run $run: recording did not start; screen in ${TMPDIR:-/tmp}/kill-test-stuck.png" >&2
        exit 1
    }
    # Any moment of the sampling second: before, during or after a line's write.
    sleep "$((1 + RANDOM % 3)).$((RANDOM % 1000))"
    headless_meter_running "$work"
    kill -KILL "$headless_meter_pid"
    wait "$headless_meter_pid" 2>/dev/null || true
    kept=()
    for pid in "${headless_pids[@]}"; do [[ $pid == "$headless_meter_pid" ]] || kept+=("$pid"); done
    headless_pids=("${kept[@]}")
    # The next run must not find this one's windows.
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name '^(PANEL|SELECTION)$' >/dev/null 2>&1 || break
        sleep 0.05
    done
    starts=$(check_file "$data") || {
        cp "$data" "${TMPDIR:-/tmp}/kill-test-damaged.dat"
        echo "run $run: the data file is damaged; kept as ${TMPDIR:-/tmp}/kill-test-damaged.dat" >&2
        exit 1
    }
    [[ $starts -eq $run ]] || { echo "run $run: no record written before the kill" >&2; exit 1; }
    new_lines=$(wc -l <"$data")
    echo "run $run: killed after $((new_lines - lines)) records; the file is whole ($new_lines lines)"
    lines=$new_lines
done
echo "kill-test: $runs kills while recording, no partial line, no gap in the numbering"
