"""What the broker keeps for a newcomer: every meter's Home Assistant discovery configurations,
complete and retained, and its availability, "online" first and "offline" after its logger
stopped."""

import json

from broker import read_messages, retained_messages
from fleet import DISCOVERY_PREFIX, TOPIC_PREFIX, json_object, states_by_topic
from harness import CheckFailed

# Each meter's Home Assistant entities.
DISCOVERY_KINDS = ("humidity", "temperature", "dew_point", "battery")


def discovery_problems(meter, kind, message):
    if message is None:
        return [f"no retained {meter.discovery_topic(kind)}"]
    try:
        config = json.loads(message.payload)
    except ValueError:
        return [f"{meter.discovery_topic(kind)} is not JSON: {message.payload!r}"]
    field = {"humidity": "relative_humidity_percent", "temperature": "temperature",
             "dew_point": "dew_point", "battery": "battery_low"}[kind]
    wanted = {
        "device_class": "temperature" if kind == "dew_point" else kind,
        "state_topic": meter.state_topic,
        "availability_topic": meter.availability_topic,
    }
    if kind == "battery":
        wanted["entity_category"] = "diagnostic"
    else:
        wanted["state_class"] = "measurement"
        wanted["unit_of_measurement"] = "%" if kind == "humidity" else "°C"
    problems = [
        f"{meter.discovery_topic(kind)}: {key} is {config.get(key)!r}, wanted {value!r}"
        for key, value in wanted.items()
        if config.get(key) != value
    ]
    if field not in str(config.get("value_template", "")):
        problems.append(f"{meter.discovery_topic(kind)}: value_template "
                        f"{config.get('value_template')!r} does not read {field}")
    device = config.get("device") if isinstance(config.get("device"), dict) else {}
    if not config.get("unique_id") or not device.get("identifiers") or not device.get("name"):
        problems.append(f"{meter.discovery_topic(kind)}: unique_id, device identifiers or "
                        f"device name missing: {message.payload}")
    return problems


def check_discovery(meters, retained):
    configs = {t: m for t, m in retained.items() if t.startswith(f"{DISCOVERY_PREFIX}/")}
    expected = {m.discovery_topic(kind) for m in meters for kind in DISCOVERY_KINDS}
    failures = []
    if set(configs) - expected:
        failures.append(f"retained discovery configurations for no meter: "
                        f"{sorted(set(configs) - expected)}")
    unique_ids, identifiers = [], {}
    for meter in meters:
        for kind in DISCOVERY_KINDS:
            message = configs.get(meter.discovery_topic(kind))
            failures += discovery_problems(meter, kind, message)
            config = json_object(message.payload) if message else {}
            unique_ids.append(json.dumps(config.get("unique_id")))
            device = config.get("device") if isinstance(config.get("device"), dict) else {}
            identifiers.setdefault(meter.id_code, set()).add(
                json.dumps(device.get("identifiers"), sort_keys=True))
    if len(set(unique_ids)) != len(unique_ids):
        failures.append("two discovery configurations share a unique_id")
    one_each = [next(iter(ids)) for ids in identifiers.values() if len(ids) == 1]
    if len(set(one_each)) != len(meters):
        failures.append("the device identifiers are not one per meter, shared by its entities")
    return failures


def check_went_online(meters, availability_output):
    received = states_by_topic(read_messages(availability_output))
    return [
        f"meter {m.id_code}: {m.availability_topic} did not start with \"online\" "
        f"(received {[x.payload for x in received.get(m.availability_topic, [])]})"
        for m in meters
        if [x.payload for x in received.get(m.availability_topic, [])][:1] != ["online"]
    ]


def wait_all_offline(deadline, port, meters):
    """The retained availability and discovery messages once every meter reads offline."""
    snapshot = {}

    def all_offline():
        snapshot.clear()
        snapshot.update(retained_messages(port, f"{TOPIC_PREFIX}/+/availability",
                                          f"{DISCOVERY_PREFIX}/#"))
        return all(
            snapshot.get(m.availability_topic) and snapshot[m.availability_topic].payload
            == "offline" for m in meters
        )

    try:
        deadline.wait_for(all_offline, "every meter's availability to read offline", 15)
        return [], snapshot
    except CheckFailed:
        pass
    failures = []
    for meter in meters:
        message = snapshot.get(meter.availability_topic)
        if message is None or message.payload != "offline":
            failures.append(f"meter {meter.id_code}: retained {meter.availability_topic} is "
                            f"{message.payload if message else 'absent'!r} after its logger "
                            "stopped, wanted \"offline\"")
    return failures, snapshot
