#!/usr/bin/env python3
"""Writes the corpus inputs of every fuzz target into fuzz/corpus/<target>/.

The targets read their parameters with FuzzedDataProvider: integers come from the end of the
input (most significant byte first), byte strings and texts from the front. Each corpus input is built
the same way: the payload, then the integers' bytes in reverse order of reading.
"""
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))


def int_bytes(value, low, high):
    """The bytes ConsumeIntegralInRange(low, high) reads, in reading order."""
    span = high - low
    result = value - low
    count = 0
    while count < 8 and (span >> (8 * count)) > 0:
        count += 1
    return list(result.to_bytes(count, "big")) if count else []


def corpus_input(payload, integers):
    """integers: (value, low, high) in the order the target reads them."""
    trailer = []
    for value, low, high in integers:
        trailer += int_bytes(value, low, high)
    return bytes(payload) + bytes(reversed(trailer))


def write(target, inputs):
    folder = os.path.join(here, target)
    os.makedirs(folder, exist_ok=True)
    for name, data in inputs.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


def bits(value):
    return struct.unpack(">Q", struct.pack(">d", value))[0]


U64 = (0, 2**64 - 1)


def number_text():
    cases = {
        "reading": (25.04, 10.0, b"23.5"),
        "inf_overload": (float("inf"), 0.0, b"OL"),
        "nan_signed": (float("nan"), -1.0, b" -4.25x"),
        "subnormal_overflow": (5e-324, 3.5, b"1e999"),
        "half_hex": (2.675, 2.5, b"A5.3"),
        "tiny_huge": (-0.001, 1e300, b"1e-20"),
    }
    return {name: corpus_input(text, [(bits(v), *U64), (bits(d), *U64)])
            for name, (v, d, text) in cases.items()}


def frame_decoder():
    return {
        "plain": bytes([0x00, 0x12, 0x05, 0x02, 0x35, 0x05, 0x43, 0x00]),
        "negative_f": bytes([0, 0x23, 0x59, 0x72, 0x05, 0x05, 0x43, 0]),
        "overload": bytes([0, 0, 0, 0xA0, 0x99, 0x05, 0x43, 0]),
        "flags_hex": bytes([0, 0x1A, 0xFF, 0x1C, 0xA5, 0xFB, 0x9F, 0]),
        "short": bytes([0, 0x12, 0x05, 0x02]),
        "long": bytes([0, 0x12, 0x05, 0x02, 0x35, 0x05, 0x43, 0x00, 0x55, 0x66]),
    }


def data_file():
    texts = {
        "recorder": b" 1\t05-03-2024\t14:30:15\t54.3\t23.5\tC\t\r\n 2\t05-03-2024\t14:30:16\t54.2\t-OL\tC\tLOW\r\n",
        "saved": b"\"1\t05-03-2024\t14:30:15\t54.3\t23.5\tC\t\"\r\n\"2\t\t\t\t\t\t\"\r\n",
        "quotes_commas": b"  \"a,b\"rest,c,d\r\"open\nnext\r\n\r\n,\r",
        "lf_cr": b"one\ntwo\rthree\r\nfour",
        "binary": bytes(range(256)),
    }
    out = {}
    for i, (name, text) in enumerate(texts.items()):
        blocks = [1 + (i * 7 + k * 5) % 64 for k in range(i % 4)]
        integers = [(len(blocks), 0, 8)] + [(b, 1, 64) for b in blocks] + [(1 + i * 3, 1, 32)]
        out[name] = corpus_input(text, integers)
    return out


def datalogger_replies():
    status = bytes.fromhex("04d2" "0000" "03" "012c" "0002")
    header = bytes.fromhex("031231235950" "0014" "0003")
    directory = bytes.fromhex("03" "031231235950" "0014" "0003" "040228235959" "0001" "0102"
                              "990101000000" "003c" "ffff")
    download = header + bytes.fromhex("02354543" "72050543" "a0991543")
    clock = bytes.fromhex("030502143015")

    def ints(sets, asked_set, records, asked_record, index):
        return [(sets, 0, 255), (asked_set, -2, 300), (records, 0, 65535),
                (asked_record, -2, 70000), (index, -8, 4096)]
    return {
        "status": corpus_input(status, ints(3, 1, 0, 1, 0)),
        "directory": corpus_input(directory, ints(3, 2, 3, 1, 1)),
        "directory_cut": corpus_input(directory[:25], ints(3, 3, 0, 0, 11)),
        "download": corpus_input(download, ints(0, 1, 3, 2, 0)),
        "download_cut": corpus_input(download[:17], ints(1, 0, 400, 3, 4)),
        "clock": corpus_input(clock, ints(0, 0, 0, 0, 0)),
    }


def record_time():
    cases = {
        "leap_day": ("040228235950", 10, 200),
        "year_end": ("991231235959", 1, 5),
        "longest_interval": ("030131120000", 65535, 2000),
        "not_a_date": ("031399995999", 30, 50),
        "zero_interval": ("000101000000", 0, 3),
    }
    return {name: corpus_input(bytes.fromhex(stamp) + interval.to_bytes(2, "big"), [(steps, 0, 2000)])
            for name, (stamp, interval, steps) in cases.items()}


def sim_splitter():
    cases = {
        "poll": (b"    ", [1], [0]),
        "every_command": (b" TSRYCIEEEK\x01\x00\x00\x00\x00\x00W\x00\x02\x00\x00\x00\x00"
                          b"X\x04\xd2\x00\x00\x00\x00D\x24\x03\x05\x14\x30\x15\x00", [3, 5], [10]),
        "erase_broken": (b"EEYEEEEE E", [2], [0, 1500]),
        "stale": (b"K\x01\x00 Y", [2, 1], [2500]),
        "noise": (bytes(range(128, 160)) + b"Y", [16, 1, 7], [999, 1]),
    }
    out = {}
    for name, (payload, pieces, pauses) in cases.items():
        integers = ([(len(pieces), 1, 8)] + [(p, 1, 16) for p in pieces] +
                    [(len(pauses), 1, 4)] + [(p, 0, 3000) for p in pauses])
        out[name] = corpus_input(payload, integers)
    return out


def sim_engine():
    def text(chunk):
        return chunk.replace(b"\\", b"\\\\") + b"\\x"

    def engine_seed(lines, pieces):
        payload = b"".join(text(line) for line in lines) + b"".join(text(p) for _, p in pieces)
        integers = [(len(lines), 0, 8)] + [(ms, 0, 5000) for ms, _ in pieces]
        return corpus_input(payload, integers)
    return {
        "poll": engine_seed([], [(500, b" "), (1000, b" "), (1000, b"Y")]),
        "record": engine_seed([b"rh 45", b"temp -5.5", b"unit F"],
                              [(0, b"S"), (5000, b""), (5000, b"T"), (10, b"YI"),
                               (10, b"K\x02\x00\x00\x00\x00\x00")]),
        "erase_and_clock": engine_seed([b"preload"],
                                       [(0, b"EEE"), (0, b"D\x99\x12\x31\x23\x59\x50\x00"),
                                        (0, b"W\x00\x01\x00\x00\x00\x00R"), (5000, b"C")]),
        "controls": engine_seed([b"fill", b"drop 3", b"extra 2", b"silent on", b"status",
                                 b"raw 02 12", b"bogus"], [(100, b" Y")]),
    }


def chart_model():
    def text(chunk):
        return chunk.replace(b"\\", b"\\\\") + b"\\x"

    def live(humidity, entries, top, bottom, readings):
        payload = b"".join(text(t) for t in entries + [top, bottom] + readings)
        return corpus_input(payload, [(humidity, 0, 255), (1, 0, 2), (len(readings), 0, 1500)])

    def recorded(humidity, rows, count, labels, boxes):
        cells = [text(c) for row in rows for c in row]
        changed = [text(b) for b in boxes if b is not None]
        payload = b"".join(cells) + text(count) + b"".join(text(t) for t in labels) + b"".join(changed)
        integers = [(humidity, 0, 255), (2, 0, 2), (len(rows), 0, 300)]
        integers += [(0 if b is None else 1, 0, 255) for b in boxes]
        return corpus_input(payload, integers)

    heading = [b"No", b"Date", b"Time", b"RH%", b"Temp", b"Unit"]
    rows = [heading] + [[b"%d" % k, b"02/05/03", b"14:%02d:00" % k, b"%d.5" % (40 + k),
                         b"-%d.0" % k, b"C"] for k in range(1, 12)]
    rows[4][3] = b"OL"
    rows[6][4] = b"-OL"
    return {
        "scale": bytes(range(0, 64)) + bytes([0]),
        "live_humidity": live(1, [b"10", b"20", b"80"], b"80", b"20",
                              [b"%d" % (k * 7 % 120) for k in range(25)] + [b"OL", b"x"]),
        "live_temperature": live(0, [b"5", b"0", b"40"], b"40", b"0",
                                 [b"-50", b"-5", b"0", b"12.5", b"1e308", b"-1e308", b"nan"]),
        "live_rejected": live(1, [b"1e400", b"0", b"0"], b"", b"", [b"1", b"2"]),
        "recorded_range": recorded(0, rows, b"11", [b"0", b"100"], [b"3", b"9", b"-10", b"60"]),
        "recorded_bad_range": recorded(1, rows, b"500", [b"", b""], [b"0", None, b"1e999", None]),
    }


def listen_address():
    return {
        "port": b"9464",
        "ipv4": b"127.0.0.1:9464",
        "ipv4_leading_zero": b"127.0.0.01:9464",
        "ipv6": b"[::1]:9464",
        "ipv6_full": b"[1:2:3:4:5:6:7:8]:65535",
        "ipv6_embedded_ipv4": b"::ffff:10.0.0.1",
        "ipv6_two_gaps": b"1::2::3",
        "ipv6_gap_of_none": b"1:2:3:4:5:6:7::8",
        "host_name": b"localhost:9464",
        "no_port": b"[::1]",
    }


write("fuzz_number_text", number_text())
write("fuzz_frame_decoder", frame_decoder())
write("fuzz_data_file", data_file())
write("fuzz_datalogger_replies", datalogger_replies())
write("fuzz_record_time", record_time())
write("fuzz_sim_splitter", sim_splitter())
write("fuzz_sim_engine", sim_engine())
write("fuzz_chart_model", chart_model())
write("fuzz_listen_address", listen_address())
