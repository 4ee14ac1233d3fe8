"""A real mosquitto on 127.0.0.1 and the clients that watch it: a broker that keeps its sessions
across a restart, as the C++ tests' LoopbackBroker does, and subscribers that write every message
they receive to a file."""

import os
import pwd
import subprocess
import tempfile
import time
from dataclasses import dataclass
from pathlib import Path

from harness import accepts

READY_TOPIC = "system-test/ready"
# One line a message, unambiguous whatever the payload holds: the payload in hexadecimal.
MESSAGE_FORMAT = "%U %q %r %t %x"


@dataclass
class Message:
    received: float
    qos: int
    retained: bool
    topic: str
    payload: str


def write_broker_config(work, port):
    store = work / "broker"
    store.mkdir()
    config = work / "mosquitto.conf"
    config.write_text(
        f"listener {port} 127.0.0.1\n"
        "allow_anonymous true\n"
        "persistence true\n"
        # Run as root, mosquitto would become the mosquitto user: unable to save its store in
        # this folder, and out of reach of the kill that follows the test's own death.
        f"user {pwd.getpwuid(os.getuid()).pw_name}\n"
        f"persistence_location {store}/\n"
        # A subscriber back after the loggers must still be handed a long outage's backlog.
        "max_queued_messages 0\n"
    )
    return config


def start_broker(processes, deadline, mosquitto, config, port, name):
    broker = processes.start(name, [mosquitto, "-c", config])
    deadline.wait_for(
        lambda: processes.alive(broker) and accepts(port), f"{name} on port {port}", 10
    )
    return broker


def read_messages(path):
    """The messages a subscriber has written so far, a line still being written left out."""
    if not path.exists():
        return []
    messages = []
    for line in path.read_text().splitlines(keepends=True):
        if not line.endswith("\n"):
            break
        received, qos, retained, topic, payload = line.split(" ")
        messages.append(
            Message(
                float(received),
                int(qos),
                retained == "1",
                topic,
                bytes.fromhex(payload.strip()).decode(errors="replace"),
            )
        )
    return messages


def start_subscriber(processes, port, name, topic, work):
    """A persistent session: the broker keeps what arrives for it while it is away."""
    output = work / f"{name}.messages"
    processes.start(
        name,
        ["mosquitto_sub", "-h", "127.0.0.1", "-p", port, "-q", "1", "-c", "-i", name,
         "-t", topic, "-t", READY_TOPIC, "-F", MESSAGE_FORMAT],
        stdout=output,
    )
    return output


def wait_subscribed(deadline, port, outputs):
    """Publishes to the ready topic until every subscriber has shown it."""
    def all_heard():
        subprocess.run(
            ["mosquitto_pub", "-h", "127.0.0.1", "-p", str(port), "-q", "1",
             "-t", READY_TOPIC, "-m", "ready"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=5, check=False,
        )
        time.sleep(0.2)
        return all(
            any(m.topic == READY_TOPIC for m in read_messages(output)) for output in outputs
        )

    deadline.wait_for(all_heard, "the subscribers to connect", 15)


def retained_messages(port, *topics):
    """What the broker keeps for a fresh client: the retained messages on these topics."""
    argv = ["mosquitto_sub", "-h", "127.0.0.1", "-p", str(port), "--retained-only", "-W", "3",
            "-F", MESSAGE_FORMAT]
    for topic in topics:
        argv += ["-t", topic]
    with tempfile.NamedTemporaryFile("w+", suffix=".messages") as out:
        subprocess.run(argv, stdout=out, stderr=subprocess.DEVNULL, timeout=10, check=False)
        return {m.topic: m for m in read_messages(Path(out.name))}
