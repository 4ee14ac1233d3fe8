#!/usr/bin/env python3
"""What meter-logger costs beside the script a user would write instead (script_poller.py), in
one run on the same meter-sims: processor time as a share of one core, resident memory, context
switches per meter per second and readings written; then, on fewer meters under strace, the
system calls each makes per reading, by kind.

    bench/logger_vs_script.py [BUILD, default build] [METERS, default 32] [SECONDS, default 60]
                              [--http]      (the logger serves its live page, with the dew point)
                              [--pages N]   (and N browsers' worth of event streams are open on it;
                                             the page's answer times are measured too)
                              [--logger-only] (meter-logger's cost alone, without the script or
                                             strace)
Needs python3-serial and strace.
"""
import argparse
import glob
import http.client
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
STRACED_METERS = 8
STRACED_SECONDS = 15
SETTLE_SECONDS = 5


def processor_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def status_value(path, key):
    with open(path) as status:
        for line in status:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return 0


def resident_megabytes(pid):
    return status_value(f"/proc/{pid}/status", "VmRSS") / 1024


def context_switches(pid):
    total = 0
    for task in glob.glob(f"/proc/{pid}/task/*/status"):
        try:
            total += status_value(task, "voluntary_ctxt_switches")
            total += status_value(task, "nonvoluntary_ctxt_switches")
        except FileNotFoundError:
            pass
    return total


def lines_in(folder):
    count = 0
    for path in glob.glob(os.path.join(folder, "**", "*.csv"), recursive=True):
        with open(path, "rb") as data:
            count += data.read().count(b"\n")
    return count


def start_meters(sim, count, folder):
    links = [os.path.join(folder, f"meter{index:02d}") for index in range(count)]
    sims = [subprocess.Popen([sim, "--link", link], stdin=subprocess.PIPE,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            for link in links]
    deadline = time.monotonic() + 10
    while not all(os.path.exists(link) for link in links):
        if time.monotonic() > deadline:
            sys.exit("meter-sim did not make its pseudo-terminals within 10 s")
        time.sleep(0.05)
    return sims, links


def stop(process):
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(timeout=15)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


class Pages:
    """Live-page readers: each holds the logger's event stream open and reads what comes."""

    def __init__(self, port, count):
        self.connections = []
        for _ in range(count):
            connection = http.client.HTTPConnection("127.0.0.1", port, timeout=30)
            connection.request("GET", "/events")
            response = connection.getresponse()
            if response.status != 200:
                sys.exit(f"/events answered {response.status}")
            threading.Thread(target=self.drain, args=(response,), daemon=True).start()
            self.connections.append(connection)

    @staticmethod
    def drain(response):
        try:
            while response.read1(65536):
                pass
        except (OSError, http.client.HTTPException):
            pass

    def close(self):
        for connection in self.connections:
            connection.close()


class Program:
    def __init__(self, name, command):
        self.name, self.command = name, command

    def start(self, links, folder):
        return subprocess.Popen(self.command(links, folder), stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def answer_times(port):
    """Milliseconds to answer each of the page's requests, the slowest of ten."""
    times = {}
    for path in ("/", "/page.js", "/api/meters", "/api/history?meter=0"):
        slowest = 0.0
        for _ in range(10):
            began = time.monotonic()
            connection = http.client.HTTPConnection("127.0.0.1", port, timeout=10)
            connection.request("GET", path)
            response = connection.getresponse()
            response.read()
            connection.close()
            if response.status != 200:
                sys.exit(f"{path} answered {response.status}")
            slowest = max(slowest, (time.monotonic() - began) * 1000)
        times[path] = slowest
    return times


def measure_cost(program, links, folder, seconds, pages, http_port):
    process = program.start(links, folder)
    time.sleep(SETTLE_SECONDS)
    readers = Pages(http_port, pages) if pages and program.name == "meter-logger" else None
    processor, switches = processor_seconds(process.pid), context_switches(process.pid)
    lines, began = lines_in(folder), time.monotonic()
    time.sleep(seconds)
    elapsed = time.monotonic() - began
    processor = processor_seconds(process.pid) - processor
    switches = context_switches(process.pid) - switches
    lines = lines_in(folder) - lines
    memory = resident_megabytes(process.pid)
    answers = answer_times(http_port) if http_port and program.name == "meter-logger" else {}
    if readers:
        readers.close()
    stop(process)
    return {
        "cpu": processor / elapsed * 100,
        "memory": memory,
        "switches": switches / elapsed / len(links),
        "lines": lines,
        "expected": round(elapsed) * len(links),
        "answers": answers,
    }


def measure_calls(program, links, folder):
    process = program.start(links, folder)
    time.sleep(SETTLE_SECONDS)
    summary = os.path.join(folder, "strace.txt")
    tracer = subprocess.Popen(["strace", "-f", "-c", "-o", summary, "-p", str(process.pid)],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1)
    lines = lines_in(folder)
    time.sleep(STRACED_SECONDS)
    lines = lines_in(folder) - lines
    tracer.send_signal(signal.SIGINT)
    tracer.wait(timeout=30)
    stop(process)
    calls = {}
    with open(summary) as table:
        for row in table:
            fields = row.split()
            if len(fields) >= 5 and fields[0][0].isdigit() and fields[-1] != "total":
                calls[fields[-1]] = int(fields[3])
    return {name: count / max(lines, 1) for name, count in calls.items()}, lines


def main():
    options = argparse.ArgumentParser()
    options.add_argument("build", nargs="?", default="build")
    options.add_argument("meters", nargs="?", type=int, default=32)
    options.add_argument("seconds", nargs="?", type=int, default=60)
    options.add_argument("--http", action="store_true")
    options.add_argument("--pages", type=int, default=0)
    options.add_argument("--logger-only", action="store_true")
    arguments = options.parse_args()
    arguments.http = arguments.http or arguments.pages > 0
    sim = os.path.join(arguments.build, "sim", "meter-sim")
    logger = os.path.join(arguments.build, "src", "meter-logger")
    for tool in ("strace",):
        if not shutil.which(tool):
            sys.exit(f"{tool} is not installed")
    work = tempfile.mkdtemp(prefix="logger-vs-script-")
    http_port = 0
    if arguments.http:
        import socket
        with socket.socket() as probe:
            probe.bind(("127.0.0.1", 0))
            http_port = probe.getsockname()[1]

    def logger_command(links, folder):
        command = [logger, "record", "--format", "csv", "-o", folder + "/"]
        if arguments.http:
            # The meter-sims share one ID code: each is named here instead.
            command += ["--http", f"127.0.0.1:{http_port}", "--dew-point"]
            command += [argument for index in range(len(links))
                        for argument in ("--id", f"meter{index:02d}")]
        return command + [argument for link in links for argument in ("--port", link)]

    programs = [
        Program("meter-logger", logger_command),
        # Debian's interpreter, which has python3-serial.
        Program("script", lambda links, folder: ["/usr/bin/python3",
                                                 os.path.join(HERE, "script_poller.py"), folder]
                + links),
    ]
    if arguments.logger_only:
        programs = programs[:1]
    sims, links = start_meters(sim, arguments.meters, work)
    try:
        costs, calls = {}, {}
        for program in programs:
            folder = os.path.join(work, program.name, "cost")
            os.makedirs(folder)
            costs[program.name] = measure_cost(program, links, folder, arguments.seconds,
                                               arguments.pages, http_port)
        for program in programs if not arguments.logger_only else []:
            folder = os.path.join(work, program.name, "calls")
            os.makedirs(folder)
            calls[program.name] = measure_calls(program, links[:STRACED_METERS], folder)
    finally:
        for process in sims:
            process.kill()
            process.wait()
        shutil.rmtree(work, ignore_errors=True)

    pages = f", live page served, {arguments.pages} open" if arguments.http else ""
    print(f"{arguments.meters} meters, {arguments.seconds} s measured{pages}")
    print(f"{'':14s} {'CPU % of a core':>16s} {'resident MB':>12s} {'switches/meter/s':>17s}"
          f" {'readings written':>17s}")
    for name, cost in costs.items():
        print(f"{name:14s} {cost['cpu']:16.2f} {cost['memory']:12.1f} {cost['switches']:17.1f}"
              f" {cost['lines']:>8d} of {cost['expected']:<6d}")
    ours = costs["meter-logger"]
    if ours["answers"]:
        print("live page, slowest of ten answers: " + ", ".join(
            f"{path} {milliseconds:.1f} ms" for path, milliseconds in ours["answers"].items()))
    if arguments.logger_only:
        return
    script = costs["script"]
    print(f"meter-logger against the script: CPU {ours['cpu'] / max(script['cpu'], 1e-9):.2f}x,"
          f" memory {ours['memory'] / script['memory']:.2f}x")
    print(f"\nsystem calls per reading ({STRACED_METERS} meters, {STRACED_SECONDS} s under strace)")
    kinds = sorted(set().union(*(per_reading for per_reading, _ in calls.values())),
                   key=lambda kind: -max(calls[name][0].get(kind, 0) for name in calls))
    print(f"{'':14s}" + "".join(f"{name:>14s}" for name in calls))
    for kind in kinds:
        if max(calls[name][0].get(kind, 0) for name in calls) >= 0.05:
            print(f"{kind:14s}" + "".join(f"{calls[name][0].get(kind, 0):14.2f}" for name in calls))
    print(f"{'all':14s}" + "".join(f"{sum(calls[name][0].values()):14.2f}" for name in calls))
    print(f"{'readings':14s}" + "".join(f"{calls[name][1]:14d}" for name in calls))


if __name__ == "__main__":
    main()
