#!/usr/bin/env python3
"""A fleet of meter loggers checked end to end against a real MQTT broker and Prometheus.

Eight simulated meters, each given its own ID code with `meter-logger set-id`, are recorded by two
`meter-logger record` processes (four meters each) into CSV files while the loggers publish to
mosquitto with discovery and serve metrics that Prometheus scrapes. Midway the broker is stopped
for a while and started again; at the end the first logger is stopped cleanly and the second is
killed. The check fails, saying why, unless:

- Prometheus reads each meter's temperature as the one its simulator was told;
- every reading of each CSV file arrived once and in order on its meter's state topic (QoS 1, not
  retained) with the same values, the broker's outage notwithstanding; of the killed logger's
  meters only the last few readings may be missing, and a reading in flight as the broker
  stopped may come once more after its return (QoS 1 is at least once: it is counted);
- the twenty-four discovery configurations (three a meter) are retained and complete;
- every meter said "online", and its retained availability is "offline" after both stops.

It prints the backlog the loggers queued while the broker was away and how long it took to drain.

    tests/system/fleet_check.py [--outage SECONDS]

It builds nothing: meter-logger and meter-sim are those METER_LOGGER and METER_SIM name (ctest
sets them), else those in METER_BUILD_DIR (default build/). Everything listens on 127.0.0.1 at
ports free at the start; every process it starts is stopped and its temporary folder removed
however it ends. Exit status: 0 when every check passed, 1 when one failed, 2 when it could not
run, 77 (ctest's "skipped") when mosquitto, its clients or Prometheus are not installed.
"""

import sys

# The modules beside this one are read from the source tree, which keeps no compiled copies.
sys.dont_write_bytecode = True

import argparse
import signal
import time

from broker import start_broker, start_subscriber, wait_subscribed, write_broker_config
from check_discovery import check_discovery, check_went_online, wait_all_offline
from check_metrics import check_prometheus, queued_messages
from check_readings import LONGEST_DRAIN, Outage, check_states, wait_drained
from fleet import (METER_COUNT, TOPIC_PREFIX, csv_path, csv_rows, confirm_meter_state,
                   plan_loggers, plan_meters, set_id_code, start_logger, start_meter,
                   wait_first_readings)
from harness import CheckFailed, Deadline, Processes, built, free_ports, run_check, tool
from prometheus import start_prometheus

SECONDS_BEFORE_OUTAGE = 20
SECONDS_AFTER_OUTAGE = 20
OVERALL_SECONDS = 240


def options():
    parser = argparse.ArgumentParser(
        description="Checks two meter-loggers with eight simulated meters against mosquitto "
        "and Prometheus, with a broker outage in the middle."
    )
    parser.add_argument("--outage", type=int, default=30, metavar="SECONDS",
                        help="how long the broker stays stopped (default 30)")
    arguments = parser.parse_args()
    if arguments.outage < 1:
        parser.error("--outage needs at least 1 second")
    return arguments


class Run:
    """The fleet's life: started, an outage, stopped; collects failures and figures."""

    def __init__(self, work, outage):
        self.work = work
        self.outage_seconds = outage
        self.processes = Processes(work)
        self.deadline = Deadline(OVERALL_SECONDS + outage)
        self.failures = []
        self.figures = []
        self.mosquitto = tool("mosquitto")
        self.prometheus = tool("prometheus")
        tool("mosquitto_sub")
        tool("mosquitto_pub")
        self.meter_logger = built("METER_LOGGER", "src/meter-logger")
        self.meter_sim = built("METER_SIM", "sim/meter-sim")
        self.broker_port, *metrics_ports, self.prometheus_port = free_ports(4)
        self.meters = plan_meters(work)
        self.loggers = plan_loggers(self.meters, metrics_ports)
        self.csv_dir = work / "csv"
        self.csv_dir.mkdir()

    def start(self):
        self.broker_config = write_broker_config(self.work, self.broker_port)
        self.broker = start_broker(self.processes, self.deadline, self.mosquitto,
                                   self.broker_config, self.broker_port, "mosquitto")
        self.state_output = start_subscriber(self.processes, self.broker_port,
                                             "fleet-check-state", f"{TOPIC_PREFIX}/+/state",
                                             self.work)
        self.availability_output = start_subscriber(
            self.processes, self.broker_port, "fleet-check-availability",
            f"{TOPIC_PREFIX}/+/availability", self.work)
        wait_subscribed(self.deadline, self.broker_port,
                        [self.state_output, self.availability_output])
        for meter in self.meters:
            start_meter(self.processes, self.deadline, self.meter_sim, meter)
            set_id_code(self.meter_logger, meter)
            confirm_meter_state(self.deadline, meter)
        start_prometheus(self.processes, self.deadline, self.prometheus, self.work,
                         [logger.metrics_port for logger in self.loggers], self.prometheus_port)
        for logger in self.loggers:
            start_logger(self.processes, self.meter_logger, logger, self.broker_port,
                         self.csv_dir)
        self.started = time.monotonic()
        wait_first_readings(self.deadline, self.processes, self.loggers, self.csv_dir,
                            self.state_output)
        self.failures += check_prometheus(self.deadline, self.prometheus_port, self.meters)

    def loggers_alive(self):
        for logger in self.loggers:
            self.processes.alive(logger.process)

    def outage_and_return(self):
        self.deadline.sleep(max(0.0, SECONDS_BEFORE_OUTAGE - (time.monotonic() - self.started)))
        self.loggers_alive()
        self.outage = Outage(stopped=time.time())
        if self.processes.stop(self.broker) is None:
            raise CheckFailed("mosquitto did not stop on SIGTERM")
        if not (self.work / "broker" / "mosquitto.db").exists():
            self.failures.append("mosquitto saved no store on SIGTERM, so the subscribers' "
                                 "sessions will not outlive its restart:\n"
                                 + self.processes.tail(self.broker))
        self.deadline.sleep(self.outage_seconds)
        self.note_backlog()
        # Back from the moment it is started: a logger may reconnect before the start is
        # confirmed, and a copy it sends again then is a redelivery all the same.
        self.outage.back, back_monotonic = time.time(), time.monotonic()
        self.broker = start_broker(self.processes, self.deadline, self.mosquitto,
                                   self.broker_config, self.broker_port, "mosquitto-again")
        taken_before = {
            m.number: [row["time"] for row in csv_rows(csv_path(self.csv_dir, m))]
            for m in self.meters
        }
        drain, lost = wait_drained(self.deadline, self.meters, self.state_output, taken_before,
                                   self.outage.back)
        if drain is None:
            self.failures.append(f"{LONGEST_DRAIN} s after the broker came back the subscriber "
                                 "still lacked readings taken before, and nothing later")
        elif lost:
            self.figures.append(f"drain: {lost} readings taken before the broker came back "
                                f"never arrived (the others within {drain:.1f} s)")
        else:
            self.figures.append(f"drain: {drain:.1f} s until every reading taken before the "
                                "broker came back had arrived")
        self.deadline.sleep(max(0.0, SECONDS_AFTER_OUTAGE - (time.monotonic() - back_monotonic)))
        self.loggers_alive()

    def note_backlog(self):
        try:
            backlog = [queued_messages(self.processes, logger) for logger in self.loggers]
        except CheckFailed as error:
            self.failures.append(str(error))
            return
        self.figures.append(
            f"backlog when the broker came back: {sum(backlog)} messages queued ("
            + ", ".join(f"logger {n + 1}: {b}" for n, b in enumerate(backlog)) + ")")

    def stop_loggers(self):
        first, second = self.loggers
        status = self.processes.stop(first.process, signal.SIGTERM, within=15)
        if status != 0:
            self.failures.append(f"logger 1 ended with {status} on SIGTERM, wanted 0:\n"
                                 + self.processes.tail(first.process))
        self.processes.stop(second.process, signal.SIGKILL)

    def check(self):
        failures, retained = wait_all_offline(self.deadline, self.broker_port, self.meters)
        self.failures += failures
        self.failures += check_went_online(self.meters, self.availability_output)
        self.failures += check_discovery(self.meters, retained)
        failures, lost, redelivered = check_states(self.loggers, self.csv_dir, self.state_output,
                                                   killed=self.loggers[1], outage=self.outage)
        self.failures += failures
        readings = sum(len(csv_rows(csv_path(self.csv_dir, m))) for m in self.meters)
        self.figures.insert(0, f"{readings} readings of {len(self.meters)} meters in the CSV "
                               f"files, broker away {self.outage_seconds} s")
        if redelivered:
            self.figures.append(f"readings in flight as the broker stopped, received again after "
                                f"its return (QoS 1 is at least once): {redelivered}")
        if lost:
            self.figures.append("readings the killed logger never handed over: "
                                + ", ".join(f"meter {k}: {v}" for k, v in lost.items()))

    def report(self):
        for figure in self.figures:
            print(f"  {figure}")
        if self.failures:
            print(f"fleet-check: {len(self.failures)} checks failed:", file=sys.stderr)
            for failure in self.failures:
                print(f"- {failure}", file=sys.stderr)
            return 1
        print("fleet-check: every reading arrived once, in order, with its values; Prometheus, "
              "discovery and availability as they should be")
        return 0


def main():
    arguments = options()

    def go(run):
        print(f"fleet-check: {METER_COUNT} meters, {len(run.loggers)} loggers, broker on port "
              f"{run.broker_port}, outage {arguments.outage} s")
        run.start()
        run.outage_and_return()
        run.stop_loggers()
        run.check()

    return run_check("fleet-check", "meter-fleet.", lambda work: Run(work, arguments.outage), go,
                     lambda run: run.processes.stop_all())


if __name__ == "__main__":
    sys.exit(main())
