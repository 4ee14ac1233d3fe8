"""The fleet: simulated meters with ID codes of their own, and the meter-logger processes that
record them into CSV files, publish them over MQTT and serve their metrics."""

import csv
import errno
import json
import os
import re
import stat
import subprocess
from dataclasses import dataclass
from pathlib import Path

from broker import read_messages
from harness import CheckFailed

METER_COUNT = 8
METERS_PER_LOGGER = 4
FIRST_ID_CODE = 101
TOPIC_PREFIX = "meter"
DISCOVERY_PREFIX = "homeassistant"


@dataclass
class Meter:
    number: int
    link: Path
    control: Path
    log: Path
    id_code: int
    temperature: float
    humidity: float

    @property
    def state_topic(self):
        return f"{TOPIC_PREFIX}/{self.id_code}/state"

    @property
    def availability_topic(self):
        return f"{TOPIC_PREFIX}/{self.id_code}/availability"

    def discovery_topic(self, kind):
        component = "binary_sensor" if kind == "battery" else "sensor"
        return f"{DISCOVERY_PREFIX}/{component}/meter_{self.id_code}/{kind}/config"


@dataclass
class Logger:
    number: int
    meters: list
    metrics_port: int
    process: object = None


def plan_meters(work):
    return [
        Meter(
            number=n,
            link=work / f"meter{n}",
            control=work / f"meter{n}.ctl",
            log=work / f"meter-sim-{n}.log",
            id_code=FIRST_ID_CODE + n - 1,
            temperature=round(18.0 + 0.7 * (n - 1), 1),
            humidity=float(40 + 2 * (n - 1)),
        )
        for n in range(1, METER_COUNT + 1)
    ]


def plan_loggers(meters, metrics_ports):
    return [
        Logger(n + 1, meters[n * METERS_PER_LOGGER:(n + 1) * METERS_PER_LOGGER], port)
        for n, port in enumerate(metrics_ports)
    ]


def send_control(deadline, meter, line):
    """One control line to a simulator; its pipe has no reader for a moment after it starts."""
    def sent():
        try:
            fd = os.open(meter.control, os.O_WRONLY | os.O_NONBLOCK)
        except OSError as error:
            if error.errno in (errno.ENXIO, errno.ENOENT):
                return False
            raise
        try:
            os.write(fd, f"{line}\n".encode())
        finally:
            os.close(fd)
        return True

    deadline.wait_for(sent, f"meter-sim {meter.number} to read its control pipe", 5)


def start_meter(processes, deadline, meter_sim, meter):
    sim = processes.start(
        f"meter-sim-{meter.number}",
        [meter_sim, "--link", meter.link, "--control", meter.control],
    )
    deadline.wait_for(
        lambda: processes.alive(sim)
        and meter.link.exists()
        and meter.control.exists()
        and stat.S_ISFIFO(meter.control.stat().st_mode),
        f"meter-sim {meter.number} to serve {meter.link}",
        10,
    )
    for line in ("drift off", f"temp {meter.temperature:.1f}", f"rh {meter.humidity:.1f}"):
        send_control(deadline, meter, line)


def set_id_code(meter_logger, meter):
    done = subprocess.run(
        [meter_logger, "set-id", "--port", meter.link, str(meter.id_code)],
        capture_output=True, text=True, timeout=30, check=False,
    )
    if done.returncode != 0:
        raise CheckFailed(
            f"meter-logger set-id {meter.id_code} on {meter.link} ended with "
            f"{done.returncode}: {done.stderr.strip()}"
        )


def confirm_meter_state(deadline, meter):
    """The simulator's own status line shows what it was told and the ID code it was given."""
    wanted = re.compile(
        rf"rh={meter.humidity:.1f} temp={meter.temperature:.1f} unit=C .* id={meter.id_code}\b"
    )
    send_control(deadline, meter, "status")
    deadline.wait_for(
        lambda: wanted.search(meter.log.read_text()),
        f"meter-sim {meter.number} to report rh {meter.humidity}, temp {meter.temperature}, "
        f"ID code {meter.id_code}",
        5,
    )


def start_logger(processes, meter_logger, logger, broker_port, csv_dir):
    argv = [meter_logger, "record"]
    for meter in logger.meters:
        argv += ["--port", meter.link]
    argv += ["-o", csv_dir, "--format", "csv", "--dew-point",
             "--mqtt", f"mqtt://127.0.0.1:{broker_port}",
             "--ha-discovery", "--metrics", f"127.0.0.1:{logger.metrics_port}"]
    logger.process = processes.start(f"logger-{logger.number}", argv)


def csv_rows(path):
    """The complete lines of a meter's CSV file, as the logger wrote them."""
    if not path.exists():
        return []
    text = path.read_text()
    complete = text[: text.rfind("\n") + 1]
    return list(csv.DictReader(complete.splitlines()))


def csv_path(csv_dir, meter):
    return csv_dir / f"{meter.link.name}.csv"


def json_object(payload):
    try:
        value = json.loads(payload)
    except ValueError:
        return {}
    return value if isinstance(value, dict) else {}


def reading_time(message):
    try:
        return json.loads(message.payload).get("time")
    except (ValueError, AttributeError):
        return None


def states_by_topic(messages):
    by_topic = {}
    for message in messages:
        by_topic.setdefault(message.topic, []).append(message)
    return by_topic


def wait_first_readings(deadline, processes, loggers, csv_dir, state_output):
    meters = [meter for logger in loggers for meter in logger.meters]

    def every_meter_published():
        for logger in loggers:
            processes.alive(logger.process)
        received = states_by_topic(read_messages(state_output))
        return all(csv_rows(csv_path(csv_dir, m)) and received.get(m.state_topic) for m in meters)

    deadline.wait_for(every_meter_published, "every meter's first reading in its file and "
                      "on its state topic", 30)
