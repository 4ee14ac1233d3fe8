"""The readings: each meter's state topic against its CSV file, once each and in order with the
same values, a broker's outage and a killed logger notwithstanding."""

from dataclasses import dataclass
from datetime import datetime

from broker import read_messages
from fleet import csv_path, csv_rows, json_object, reading_time, states_by_topic
from harness import CheckFailed

# A killed logger loses what it had written to its files but not yet handed to the broker.
MOST_LOST_AT_KILL = 3
# QoS 1 is at least once: a reading in flight as the broker stops, passed on but not yet
# acknowledged on one of its two legs, comes again after the restart. Only a copy that arrived
# from this long before the stop until the return may come twice.
IN_FLIGHT_AT_STOP = 1.0
LONGEST_DRAIN = 60


@dataclass
class Outage:
    """When the broker was stopped and when it took connections again, in seconds since the
    epoch as the subscribers stamp what they receive."""

    stopped: float
    back: float = None


def wait_drained(deadline, meters, state_output, taken_before, back):
    """Seconds from the broker's return until the subscriber had every reading taken before it
    that is still to come, and how many of those never came."""
    outcome = {}

    def drained():
        received = states_by_topic(read_messages(state_output))
        outcome.update(last=back, missing=0)
        for meter in meters:
            arrivals = {}
            for message in received.get(meter.state_topic, []):
                arrivals.setdefault(reading_time(message), message.received)
            wanted = taken_before[meter.number]
            missing = [taken for taken in wanted if taken not in arrivals]
            # Readings arrive in order: once a later one is in, a missing one will never come.
            if missing and not any(later(taken, wanted[-1]) for taken in arrivals):
                return False
            outcome["missing"] += len(missing)
            arrived = [arrivals[taken] for taken in wanted if taken in arrivals]
            outcome["last"] = max([outcome["last"], *arrived])
        return True

    try:
        deadline.wait_for(drained, "the backlog to drain", LONGEST_DRAIN)
    except CheckFailed:
        return None, None
    return outcome["last"] - back, outcome["missing"]


def later(time_text, than_text):
    try:
        return datetime.fromisoformat(time_text) > datetime.fromisoformat(than_text)
    except (TypeError, ValueError):
        return False


def sequence_problem(expected, received):
    """What is wrong with the received times against the file's, or None when they match."""
    if received == expected:
        return None
    counts = {}
    for taken in received:
        counts[taken] = counts.get(taken, 0) + 1
    duplicated = sorted(t for t, n in counts.items() if n > 1)
    missing = [t for t in expected if t not in counts]
    foreign = [t for t in counts if t not in set(expected)]
    parts = [f"{len(expected)} in the file, {len(received)} received"]
    if missing:
        parts.append(f"{len(missing)} missing (first {missing[0]}, last {missing[-1]})")
    if duplicated:
        parts.append(f"{len(duplicated)} received twice or more (first {duplicated[0]})")
    if foreign:
        parts.append(f"{len(foreign)} not in the file (first {foreign[0]})")
    if not (missing or duplicated or foreign):
        first = next(i for i, (a, b) in enumerate(zip(expected, received)) if a != b)
        parts.append(f"out of order from #{first + 1}: {received[first]} where {expected[first]}")
    return ", ".join(parts)


def expected_payload(row):
    def number(text):
        return float(text) if text != "" else None

    return {
        "time": row["time"],
        "relative_humidity_percent": number(row["relative_humidity_percent"]),
        "humidity_status": row["humidity_status"],
        "temperature": number(row["temperature"]),
        "temperature_unit": row["temperature_unit"],
        "temperature_status": row["temperature_status"],
        "battery_low": {"1": True, "0": False}.get(row["battery_low"], row["battery_low"]),
        "dew_point": number(row["dew_point"]),
    }


def payload_problems(meter, rows, messages):
    """Each message against the file's line of the same time, and the file against what the
    meter was told."""
    rows_by_time = {row["time"]: row for row in rows}
    problems = []
    for message in messages:
        if (message.qos, message.retained) != (1, False):
            problems.append(f"{message.payload} came with QoS {message.qos}, retained "
                            f"{message.retained} (wanted QoS 1, not retained)")
        payload = json_object(message.payload)
        row = rows_by_time.get(payload.get("time"))
        if not payload:
            problems.append(f"not a JSON object: {message.payload!r}")
        elif row and payload != expected_payload(row):
            problems.append(f"received {message.payload}, the file has {row}")
    told = {"relative_humidity_percent": meter.humidity, "temperature": meter.temperature}
    for row in rows:
        payload = expected_payload(row)
        if any(payload[field] != value for field, value in told.items()):
            problems.append(f"the file has {row} but the meter was told {told}")
    return problems


def arrivals_note(messages, taken, outage):
    """When each copy of one reading arrived, against the broker's stop and return."""
    def moment(stamp):
        if stamp < outage.stopped:
            return f"{outage.stopped - stamp:.2f} s before the broker was told to stop"
        if stamp < outage.back:
            return f"{stamp - outage.stopped:.2f} s after it was told to stop"
        return f"{stamp - outage.back:.2f} s after it came back"

    copies = [moment(m.received) for m in messages if reading_time(m) == taken]
    return f"; the copies of {taken} arrived " + ", ".join(copies)


def without_redeliveries(messages, outage):
    """The messages less the second copies of readings in flight as the broker stopped, and
    how many those were."""
    kept, first_copies, redelivered = [], {}, 0
    for message in messages:
        first = first_copies.get(reading_time(message))
        if (first and outage.stopped - IN_FLIGHT_AT_STOP <= first.received < outage.back
                <= message.received and first.payload == message.payload):
            redelivered += 1
            continue
        first_copies.setdefault(reading_time(message), message)
        kept.append(message)
    return kept, redelivered


def first_duplicate(times):
    seen = set()
    for taken in times:
        if taken in seen:
            return taken
        seen.add(taken)
    return None


def check_states(loggers, csv_dir, state_output, killed, outage):
    """Each meter's state topic against its CSV file; also gives each killed meter's loss."""
    failures, lost, redelivered = [], {}, 0
    received = states_by_topic(read_messages(state_output))
    for logger in loggers:
        for meter in logger.meters:
            rows = csv_rows(csv_path(csv_dir, meter))
            messages, again = without_redeliveries(received.get(meter.state_topic, []), outage)
            redelivered += again
            times = [reading_time(m) for m in messages]
            expected = [row["time"] for row in rows]
            if logger is killed and expected[: len(times)] == times:
                lost[meter.id_code] = len(expected) - len(times)
                if lost[meter.id_code] > MOST_LOST_AT_KILL:
                    failures.append(f"meter {meter.id_code} (killed logger): the last "
                                    f"{lost[meter.id_code]} of {len(expected)} readings never "
                                    f"arrived (at most {MOST_LOST_AT_KILL} may)")
            else:
                problem = sequence_problem(expected, times)
                if problem and first_duplicate(times):
                    problem += arrivals_note(messages, first_duplicate(times), outage)
                if problem:
                    failures.append(f"meter {meter.id_code}: the readings on {meter.state_topic} "
                                    f"are not those of {csv_path(csv_dir, meter).name}: {problem}")
            problems = payload_problems(meter, rows, messages)
            if problems:
                failures.append(f"meter {meter.id_code}: {len(problems)} readings differ, the "
                                f"first: {problems[0]}")
    return failures, lost, redelivered
