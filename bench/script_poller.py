#!/usr/bin/env python3
"""The logger a user would write instead of meter-logger, as the yardstick of its cost: a thread
per port asks once a second with a space, takes the 8-byte frame back and appends the time it
came and the frame's bytes as a CSV line, flushed and synced before the next question.

    script_poller.py OUT_FOLDER PORT...     (stops on SIGINT or SIGTERM)
"""
import datetime
import os
import signal
import sys
import threading
import time

import serial

FRAME_BYTES = 8


def record(port, path, stop):
    line = serial.Serial(port, 9600, timeout=1)
    with open(path, "a", encoding="ascii") as out:
        due = time.monotonic()
        while not stop.is_set():
            line.reset_input_buffer()
            line.write(b" ")
            frame = line.read(FRAME_BYTES)
            if len(frame) == FRAME_BYTES:
                taken = datetime.datetime.now().astimezone().isoformat(timespec="seconds")
                out.write(f"{taken},{frame.hex()}\n")
                out.flush()
                os.fsync(out.fileno())
            due += 1
            time.sleep(max(0.0, due - time.monotonic()))


def main():
    folder, ports = sys.argv[1], sys.argv[2:]
    stop = threading.Event()
    for signum in (signal.SIGINT, signal.SIGTERM):
        signal.signal(signum, lambda *_: stop.set())
    threads = [
        threading.Thread(target=record, daemon=True,
                         args=(port, os.path.join(folder, os.path.basename(port) + ".csv"), stop))
        for port in ports
    ]
    for thread in threads:
        thread.start()
    while not stop.is_set():
        time.sleep(1)


if __name__ == "__main__":
    main()
