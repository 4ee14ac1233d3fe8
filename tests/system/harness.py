"""What every system test needs around the programs it checks: the processes it starts and stops
whatever happens, one deadline for every wait, the programs and tools it runs, free ports."""

import ctypes
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request
from pathlib import Path

# ctest reads this status as "skipped": a program the test needs is not installed.
SKIPPED = 77


class CheckFailed(Exception):
    """A check that did not hold; the message says what was seen."""


class CannotRun(Exception):
    """Something the test needs would not start, or is not built."""


class MissingTool(CannotRun):
    """A program from outside the project is not installed: the test is skipped."""


class Interrupted(Exception):
    """SIGINT, SIGTERM or SIGHUP: stop everything and leave."""

    def __init__(self, signum):
        super().__init__(signal.Signals(signum).name)
        self.signum = signum


def run_check(name, prefix, make_run, go, stop):
    """Runs a system check in a work folder of its own, removed at the end whatever happens:
    make_run(work) makes the run (with its failures and its report()), go(run) does the checks and
    stop(run) ends what the run started. SIGINT, SIGTERM and SIGHUP end it as Interrupted. The exit
    status: the run's report, SKIPPED for a missing program, 2 when it could not run."""

    def interrupt(signum, _frame):
        raise Interrupted(signum)

    for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, interrupt)
    work = Path(tempfile.mkdtemp(prefix=prefix))
    run = None
    try:
        run = make_run(work)
        go(run)
        return run.report()
    except MissingTool as error:
        print(f"{name}: skipped: {error}", file=sys.stderr)
        return SKIPPED
    except CannotRun as error:
        print(f"{name}: cannot run: {error}", file=sys.stderr)
        return 2
    except (CheckFailed, subprocess.TimeoutExpired) as error:
        run.failures.append(str(error))
        return run.report()
    except Interrupted as interruption:
        print(f"{name}: stopped by {interruption}", file=sys.stderr)
        return 128 + interruption.signum
    finally:
        for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
            signal.signal(signum, signal.SIG_IGN)
        if run:
            stop(run)
        shutil.rmtree(work, ignore_errors=True)


class Deadline:
    """The whole run's time limit: every wait ends by it, whatever it waits for."""

    def __init__(self, seconds):
        self.end = time.monotonic() + seconds

    def wait_for(self, condition, what, within):
        give_up = min(self.end, time.monotonic() + within)
        while True:
            result = condition()
            if result:
                return result
            if time.monotonic() >= give_up:
                raise CheckFailed(f"gave up waiting for {what}")
            time.sleep(0.1)

    def sleep(self, seconds):
        if time.monotonic() + seconds > self.end:
            raise CheckFailed("the run would outlast its overall deadline")
        time.sleep(seconds)


def die_with_parent():
    """Runs in each child: the kernel kills it should the test be killed outright (as ctest
    does when the test outlasts its timeout)."""
    pr_set_pdeathsig = 1
    ctypes.CDLL(None, use_errno=True).prctl(pr_set_pdeathsig, signal.SIGKILL)


class Processes:
    """Every process the test starts, each with its output in the work folder."""

    def __init__(self, work):
        self.work = work
        self.started = []

    def start(self, name, argv, stdout=None):
        log = self.work / f"{name}.log"
        with open(stdout or log, "wb") as out, open(log, "ab") as err:
            process = subprocess.Popen(
                [str(arg) for arg in argv],
                stdin=subprocess.DEVNULL,
                stdout=out,
                stderr=err,
                start_new_session=True,
                preexec_fn=die_with_parent,
            )
        process.name = name
        self.started.append(process)
        return process

    def tail(self, process, lines=8):
        log = self.work / f"{process.name}.log"
        text = log.read_text(errors="replace").splitlines() if log.exists() else []
        return "\n".join(f"    {process.name}: {line}" for line in text[-lines:])

    def alive(self, process):
        if process.poll() is None:
            return True
        raise CheckFailed(
            f"{process.name} ended early with status {process.returncode}:\n{self.tail(process)}"
        )

    @staticmethod
    def stop(process, signum=signal.SIGTERM, within=10):
        if process.poll() is None:
            process.send_signal(signum)
        try:
            return process.wait(within)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
            return None

    def stop_all(self):
        for process in reversed(self.started):
            if process.poll() is None:
                process.terminate()
        for process in reversed(self.started):
            self.stop(process, within=5)


def tool(name):
    found = shutil.which(name, path=os.environ.get("PATH", "") + ":/usr/sbin:/sbin")
    if not found:
        raise MissingTool(f"{name} is not installed (scripts/setup installs it)")
    return found


def built(variable, relative):
    """One of the project's programs: named by the environment as the C++ tests' support has
    it (ctest sets it), else found in METER_BUILD_DIR (default build/)."""
    if os.environ.get(variable):
        path = Path(os.environ[variable])
    else:
        root = Path(__file__).resolve().parents[2]
        path = Path(os.environ.get("METER_BUILD_DIR", root / "build")) / relative
    if not os.access(path, os.X_OK):
        raise CannotRun(
            f"{path} is missing: build it first (scripts/build meter-logger meter-sim), "
            "or point METER_BUILD_DIR at a build folder"
        )
    return path


def free_ports(count):
    """Ports nobody listens on: all held open together, so that no two are the same."""
    sockets = [socket.socket() for _ in range(count)]
    try:
        for sock in sockets:
            sock.bind(("127.0.0.1", 0))
        return [sock.getsockname()[1] for sock in sockets]
    finally:
        for sock in sockets:
            sock.close()


def accepts(port):
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=1):
            return True
    except OSError:
        return False


def http_get(url, timeout=3):
    with urllib.request.urlopen(url, timeout=timeout) as reply:
        return reply.read().decode()
