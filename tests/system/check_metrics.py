"""The metrics: Prometheus reads each meter's temperature as its simulator was told, and each
logger's endpoint counts what it queued while the broker was away."""

import re

from harness import CheckFailed, http_get
from prometheus import query


def prometheus_temperatures(port):
    return {
        (labels.get("meter"), labels.get("port")): value
        for labels, value in query(port, "meter_temperature_celsius")
    }


def check_prometheus(deadline, port, meters):
    """Waits, within bounds, for Prometheus to have scraped every meter's told temperature."""
    seen = {}

    def all_as_told():
        seen.clear()
        try:
            seen.update(prometheus_temperatures(port))
        except (OSError, ValueError):
            return False
        return all(
            seen.get((str(m.id_code), str(m.link))) == m.temperature for m in meters
        )

    try:
        deadline.wait_for(all_as_told, "Prometheus to read every meter's temperature", 20)
        return []
    except CheckFailed:
        wrong = [
            f"meter {m.id_code} on {m.link}: told {m.temperature}, Prometheus has "
            f"{seen.get((str(m.id_code), str(m.link)), 'nothing')}"
            for m in meters
            if seen.get((str(m.id_code), str(m.link))) != m.temperature
        ]
        return ["Prometheus does not read the temperatures the meters were told:\n    "
                + "\n    ".join(wrong)]


def parse_metrics(text):
    """Prometheus text lines as (name, labels, value)."""
    samples = []
    for line in text.splitlines():
        found = re.match(r"^([a-zA-Z_:][\w:]*)(?:\{(.*)\})?\s+(\S+)", line)
        if found and not line.startswith("#"):
            labels = dict(re.findall(r'(\w+)="((?:[^"\\]|\\.)*)"', found.group(2) or ""))
            samples.append((found.group(1), labels, float(found.group(3))))
    return samples


def queued_messages(processes, logger):
    """The logger's MQTT backlog, summed over its meters, from its metrics endpoint."""
    processes.alive(logger.process)
    try:
        text = http_get(f"http://127.0.0.1:{logger.metrics_port}/metrics")
    except OSError as error:
        raise CheckFailed(f"logger {logger.number}'s metrics endpoint, while the broker is away: "
                          f"{error}") from error
    queued = [v for name, _, v in parse_metrics(text) if name == "meter_mqtt_queued_messages"]
    if not queued:
        raise CheckFailed(
            f"logger {logger.number}'s /metrics has no meter_mqtt_queued_messages while the "
            "broker is away"
        )
    return int(sum(queued))
