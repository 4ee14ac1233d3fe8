# Sourced by scripts/demo, scripts/check-package and tests/system/kill_test.sh: the simulated
# meter on a pseudo-terminal, an Xvfb display for machines without one, and Meter opened on it
# with the port dialog confirmed.
# Every process started here is ended by headless_stop (register it with trap ... EXIT).

headless_pids=()
headless_meter_pid=
headless_panel=

headless_stop() {
    local pid
    for pid in "${headless_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${headless_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    headless_pids=()
}

# headless_start_sim SIM WORK: serves SIM (a meter-sim) on WORK/COM1, control lines through the
# pipe WORK/control, its replies in WORK/sim.log; COM1 of Meter then opens it.
headless_start_sim() {
    local sim=$1 work=$2
    "$sim" --link "$work/COM1" --control "$work/control" </dev/null >"$work/sim.log" 2>&1 &
    headless_pids+=($!)
    for _ in $(seq 100); do [[ -e "$work/COM1" && -p "$work/control" ]] && break; sleep 0.05; done
    [[ -e "$work/COM1" ]] || { echo "meter-sim did not start; see $work/sim.log" >&2; return 1; }
    export METER_COM1="$work/COM1"
}

# headless_sim_control WORK LINE: one control line to the simulator started above. A simulator
# that died without removing its pipe would leave the write waiting for a reader: give up.
headless_sim_control() {
    timeout 5 bash -c 'printf "%s\n" "$1" >"$2"' _ "$2" "$1/control" ||
        { echo "meter-sim took no control line; see $1/sim.log" >&2; return 1; }
}

# headless_start_xvfb WORK: a virtual screen on a display number the server picks itself, so
# that several runs on one machine never meet; DISPLAY points at it once it accepts clients.
headless_start_xvfb() {
    local work=$1
    Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp \
        3>"$work/xvfb.display" >"$work/xvfb.log" 2>&1 &
    headless_pids+=($!)
    for _ in $(seq 200); do [[ -s "$work/xvfb.display" ]] && break; sleep 0.05; done
    [[ -s "$work/xvfb.display" ]] || { echo "Xvfb did not start; see $work/xvfb.log" >&2; return 1; }
    export DISPLAY=":$(tr -d '[:space:]' <"$work/xvfb.display")"
}

# headless_open_meter METER WORK: starts METER on the display, confirms the port dialog with
# COM1 and waits for the panel; sets headless_meter_pid and headless_panel (its window id).
headless_open_meter() {
    local meter=$1 work=$2 selection
    QT_QPA_PLATFORM=xcb "$meter" >"$work/meter.log" 2>&1 &
    headless_meter_pid=$!
    headless_pids+=("$headless_meter_pid")
    selection=$(timeout 20 xdotool search --sync --onlyvisible --name '^SELECTION$' | head -n 1 || true)
    [[ -n $selection ]] || { echo "No port dialog; see $work/meter.log" >&2; return 1; }
    # Click the dialog's OK button (the combo box already reads COM1).
    xdotool mousemove --window "$selection" 112 20 click 1
    headless_panel=$(timeout 20 xdotool search --sync --onlyvisible --name '^PANEL$' | head -n 1 || true)
    [[ -n $headless_panel ]] || { echo "No panel after the port dialog; see $work/meter.log" >&2; return 1; }
}

# headless_meter_running WORK: fails with a note when Meter has ended.
headless_meter_running() {
    kill -0 "$headless_meter_pid" 2>/dev/null && return 0
    echo "Meter ended early; see $1/meter.log" >&2
    return 1
}

# headless_screenshot FILE [WINDOW]: a PNG of the window, or of the whole screen.
headless_screenshot() {
    local target=(-root)
    [[ -n ${2:-} ]] && target=(-id "$2")
    xwd "${target[@]}" -silent | xwdtopnm 2>/dev/null | pnmtopng >"$1"
}
