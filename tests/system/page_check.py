#!/usr/bin/env python3
"""The logger's live page checked in a real browser, Debian's chromium headless.

Three simulated meters, one of them on a port named `<img src=x onerror=alert(1)>`, are recorded by
one `meter-logger record --http` into CSV files that already hold most of a day of readings. The
check fails, saying why, unless the page:

- shows each meter's simulated humidity and temperature with their units, the time of the reading
  in this zone with its offset, and follows a change of a reading without being reloaded;
- shows the dew point the desktop's dew window computes, and "Frost point" below freezing;
- shows the strange port name as those characters, with no element made of it and nothing run;
- draws a chart of the day with points in each of its three series;
- links each meter's CSV readings, which are the lines of its recording file;
- asks nothing of another origin and has no error in the browser's console;
- fits 390 px without sideways scrolling, one card under another;
- says that the logger cannot be reached once it is stopped, and marks the cards stale.

    tests/system/page_check.py [--screenshot PNG]

--screenshot saves the page with its three meters, as wide as a desk, to PNG (the README's).
It builds nothing: meter-logger and meter-sim are those METER_LOGGER and METER_SIM name (ctest
sets them), else those in METER_BUILD_DIR (default build/). Exit status: 0 when every check
passed, 1 when one failed, 2 when it could not run, 77 (ctest's "skipped") when chromium,
chromium-driver or python3-selenium is not installed.
"""

import sys

sys.dont_write_bytecode = True

import argparse
import datetime
import math
import re
from pathlib import Path

from browser import card_texts, console_errors, page_value, set_viewport, start_browser
from fleet import Meter, send_control, set_id_code, start_meter
from harness import CheckFailed, Deadline, Processes, accepts, built, free_ports, run_check

OVERALL_SECONDS = 200
DESK = (1360, 900)
PHONE = (390, 844)
STRANGE_PORT = "<img src=x onerror=alert(1)>"
# The browser's zone: half an hour in its offset, and no summer time to shift it.
BROWSER_ZONE = "Asia/Kolkata"
BROWSER_OFFSET = datetime.timedelta(hours=5, minutes=30)
HEADER = ("time,relative_humidity_percent,humidity_status,temperature,temperature_unit,"
          "temperature_status,battery_low,dew_point")
# The history written before the logger starts: a point a minute for most of a day.
HISTORY_MINUTES = 23 * 60


def plan_meters(work):
    names = ["cellar", "attic", STRANGE_PORT]
    readings = [(25.0, 50.0), (5.0, 50.0), (21.0, 40.0)]
    return [
        Meter(number=n, link=work / name, control=work / f"meter{n}.ctl",
              log=work / f"meter-sim-{n}.log", id_code=201 + n, temperature=t,
              humidity=rh)
        for n, (name, (t, rh)) in enumerate(zip(names, readings))
    ]


def magnus_dew_point(celsius, humidity):
    """Only for the history written beforehand, so that its chart has a plausible third line."""
    gamma = math.log(humidity / 100.0) + 17.62 * celsius / (243.12 + celsius)
    return 243.12 * gamma / (17.62 - gamma)


def write_history(path, meter, now):
    lines = [HEADER]
    for minute in range(HISTORY_MINUTES, 1, -1):
        taken = now - datetime.timedelta(minutes=minute)
        phase = 2 * math.pi * minute / (8 * 60)
        t = meter.temperature + 1.5 * math.sin(phase)
        rh = meter.humidity + 4.0 * math.cos(phase)
        lines.append(f"{taken.isoformat(timespec='seconds')},{rh:.1f},ok,{t:.1f},C,ok,0,"
                     f"{magnus_dew_point(t, rh):.1f}")
    path.write_text("".join(f"{line}\r\n" for line in lines))



class Run:
    def __init__(self, work, screenshot):
        self.work = work
        self.screenshot = screenshot
        self.processes = Processes(work)
        self.deadline = Deadline(OVERALL_SECONDS)
        self.failures = []
        self.meter_logger = built("METER_LOGGER", "src/meter-logger")
        self.meter_sim = built("METER_SIM", "sim/meter-sim")
        self.meters = plan_meters(work)
        # A long folder name with no hyphen: a path with no place to break must still fit a phone.
        self.csv_dir = work / "recordings_of_the_cellar_and_the_attic_since_december"
        self.csv_dir.mkdir()
        (self.port,) = free_ports(1)
        self.url = f"http://127.0.0.1:{self.port}"
        self.driver = None

    def csv_file(self, meter):
        return self.csv_dir / f"{meter.link.name}.csv"

    def start(self):
        now = datetime.datetime.now().astimezone()
        for meter in self.meters:
            start_meter(self.processes, self.deadline, self.meter_sim, meter)
            set_id_code(self.meter_logger, meter)
            write_history(self.csv_file(meter), meter, now)
        argv = [self.meter_logger, "record"]
        for meter in self.meters:
            argv += ["--port", meter.link]
        argv += ["-o", self.csv_dir, "--format", "csv", "--dew-point",
                 "--http", f"127.0.0.1:{self.port}"]
        self.logger = self.processes.start("meter-logger", argv)
        self.deadline.wait_for(lambda: self.processes.alive(self.logger) and accepts(self.port),
                               f"meter-logger to listen on port {self.port}", 15)
        self.driver = start_browser(*DESK, BROWSER_ZONE)
        set_viewport(self.driver, *DESK)
        self.driver.get(self.url + "/")
        self.driver.execute_script("window.sameDocument = true;")

    def read(self, script, *arguments):
        return lambda: self.driver.execute_script(script, *arguments)

    def card(self, meter, wanted, what, within=20):
        return page_value(self.deadline, lambda: card_texts(self.driver, meter.number), wanted,
                          f"meter {meter.number}'s card to show {what}", within)

    def attempt(self, name, check):
        try:
            check()
        except CheckFailed as error:
            self.failures.append(f"{name}: {error}")

    def check_readings(self):
        for meter in self.meters:
            shown = {"meter-id": str(meter.id_code), "humidity": f"{meter.humidity:.1f} %RH",
                     "temperature": f"{meter.temperature:.1f} °C", "state": "recording"}
            self.card(meter, lambda texts, shown=shown: texts and all(
                texts[key] == value for key, value in shown.items()), shown)
        taken = card_texts(self.driver, 0)
        there = datetime.datetime.now(datetime.timezone(BROWSER_OFFSET))
        clock = re.fullmatch(r"(\d\d):(\d\d):(\d\d) \+05:30", taken["taken-at"])
        seconds = clock and abs(
            there.hour * 3600 + there.minute * 60 + there.second
            - (int(clock[1]) * 3600 + int(clock[2]) * 60 + int(clock[3])))
        if not clock or min(seconds, 86400 - seconds) > 10:
            raise CheckFailed(f"the reading's time reads {taken['taken-at']!r}, wanted about "
                              f"{there:%H:%M:%S} +05:30 in the browser's zone")
        if not re.fullmatch(r"\d+ s ago", taken["age"]):
            raise CheckFailed(f"the reading's age reads {taken['age']!r}, wanted 'N s ago'")

    def check_dew_point(self):
        cellar, attic, _ = self.meters
        # The dew window shows 13.86 for 25.0 °C and 50 %RH, and a frost point of -4.56 for
        # 5.0 °C and 50 %RH; the files and the page have them to a tenth.
        self.card(cellar, lambda t: t["dew-point"] == "13.9 °C" and t["dew-point-kind"] ==
                  "Dew point", "a dew point of 13.9 °C")
        self.card(attic, lambda t: t["dew-point"] == "-4.6 °C" and t["dew-point-kind"] ==
                  "Frost point", "a frost point of -4.6 °C")

    def check_strange_port(self):
        strange = self.meters[2]
        self.card(strange, lambda t: t["port"] == str(strange.link)
                  and t["file"] == str(self.csv_file(strange)), f"the port {strange.link}")
        made = self.driver.execute_script(
            "return [document.querySelectorAll('#meters img').length, window.alerted];")
        if made != [0, []]:
            raise CheckFailed(f"the port's name made {made[0]} img elements and these alerts: "
                              f"{made[1]}")

    def check_follows(self):
        strange = self.meters[2]
        send_control(self.deadline, strange, "rh 62.0")
        self.card(strange, lambda t: t["humidity"] == "62.0 %RH", "the new humidity 62.0 %RH")
        if not self.driver.execute_script("return window.sameDocument === true;"):
            raise CheckFailed("the page was loaded again to show the new reading")

    def check_chart(self):
        counts = page_value(
            self.deadline, self.read("""
                return [...document.querySelectorAll("canvas.chart")].map((canvas) => {
                    const chart = window.Chart && Chart.getChart(canvas);
                    return chart ? chart.data.datasets.map(
                        (series) => series.data.filter((p) => p.y !== null).length) : null;
                });"""),
            lambda counts: len(counts) == len(self.meters) and all(
                c and len(c) == 3 and min(c) >= HISTORY_MINUTES - 2 for c in counts),
            "a chart per meter with the day from its file in its three series")
        print(f"  points in the charts: {counts}")
        # Each chart its own meter's day: the files' temperatures differ from meter to meter.
        temperatures = self.driver.execute_script(
            """return [...document.querySelectorAll("canvas.chart")].map((canvas) => {
                const values = Chart.getChart(canvas).data.datasets[1].data
                    .filter((p) => p.y !== null).map((p) => p.y);
                return Math.round(10 * Math.max(...values)) / 10;
            });""")
        if len(set(temperatures)) != len(self.meters):
            raise CheckFailed(f"the charts' highest temperatures are {temperatures}: a chart "
                              "shows another meter's day")

    def check_download(self):
        # The second meter's, so that a link to the first meter's for every card shows.
        cellar = self.meters[1]
        link = self.driver.execute_script(
            """const a = document.querySelector('article.meter[data-meter="1"] a.download');
            return a && [a.getAttribute("href"), a.hasAttribute("download")];""")
        if link != ["/readings.csv?meter=1", True]:
            raise CheckFailed(f"the second card's CSV link is {link}, wanted "
                              "['/readings.csv?meter=1', True] (href, download)")
        before = self.csv_file(cellar).read_text().splitlines()
        fetched = self.driver.execute_async_script(
            """const done = arguments[arguments.length - 1];
            const a = document.querySelector('article.meter[data-meter="1"] a.download');
            fetch(a.href).then(async (reply) => done([reply.status, await reply.text()]),
                               (error) => done([0, String(error)]));""")
        after = self.csv_file(cellar).read_text().splitlines()
        status, body = fetched
        lines = body.splitlines()
        if status != 200 or len(lines) < len(before) or lines != after[:len(lines)]:
            raise CheckFailed(
                f"the CSV link gave status {status} and {len(lines)} lines, wanted the "
                f"{len(before)} or more lines of {self.csv_file(cellar).name} as they are; first "
                f"differing: {next((pair for pair in zip(lines, after) if pair[0] != pair[1]), None)}")

    def check_origin(self):
        names = self.driver.execute_script(
            "return performance.getEntriesByType('resource').map((entry) => entry.name);")
        foreign = [name for name in names if not name.startswith(self.url + "/")]
        if foreign or not any(name == self.url + "/chart.js" for name in names):
            raise CheckFailed(f"the page asked {foreign} of another origin, or never asked "
                              f"{self.url}/chart.js (it asked {names})")
        errors = console_errors(self.driver)
        if errors:
            raise CheckFailed(f"the browser's console has errors: {errors}")

    def take_screenshot(self):
        height = self.driver.execute_script("return document.documentElement.scrollHeight;")
        set_viewport(self.driver, DESK[0], height)
        page_value(self.deadline, self.read("return innerHeight;"), lambda h: h == height,
                   "the page to be as tall as its cards")
        self.driver.save_screenshot(str(self.screenshot))
        print(f"  screenshot: {self.screenshot}")

    def check_phone(self):
        set_viewport(self.driver, *PHONE)
        # The charts follow the new width a frame or two later.
        page_value(
            self.deadline, self.read("""
                const lefts = [...document.querySelectorAll("article.meter")].map(
                    (card) => card.getBoundingClientRect().left);
                return {innerWidth, scrollWidth: document.documentElement.scrollWidth,
                        columns: new Set(lefts).size};"""),
            lambda w: w["innerWidth"] == PHONE[0] and w["scrollWidth"] <= w["innerWidth"]
            and w["columns"] == 1,
            f"the page to fit {PHONE[0]} px in one column with no sideways scroll", 5)

    def check_logger_gone(self):
        if self.processes.stop(self.logger) != 0:
            raise CheckFailed("meter-logger did not end with 0 on SIGTERM:\n"
                              + self.processes.tail(self.logger))
        banner = page_value(
            self.deadline, self.read("""
                const banner = document.getElementById("connection");
                const cards = [...document.querySelectorAll("article.meter")];
                return [!banner.hidden && banner.offsetHeight > 0, banner.textContent,
                        cards.length > 0 && cards.every((c) => c.classList.contains("stale"))];"""),
            lambda b: b[0] and b[2], "the banner saying the logger cannot be reached, every "
            "card stale")
        if banner[1] != "The logger cannot be reached; retrying…":
            raise CheckFailed(f"the banner reads {banner[1]!r}")
        # With no readings coming, the ages go on with the clock.
        page_value(self.deadline, lambda: card_texts(self.driver, 0)["age"],
                   lambda age: re.fullmatch(r"([3-9]|\d\d+) s ago", age),
                   "the last reading's age to pass 3 s")

    def run(self):
        self.start()
        for name, check in [("readings", self.check_readings),
                            ("dew point", self.check_dew_point),
                            ("strange port name", self.check_strange_port),
                            ("follows the readings", self.check_follows),
                            ("chart", self.check_chart),
                            ("CSV download", self.check_download),
                            ("same origin", self.check_origin)]:
            self.attempt(name, check)
        if self.screenshot:
            self.take_screenshot()
        self.attempt("phone", self.check_phone)
        self.attempt("logger gone", self.check_logger_gone)

    def report(self):
        if self.failures:
            print(f"page-check: {len(self.failures)} checks failed:", file=sys.stderr)
            for failure in self.failures:
                print(f"- {failure}", file=sys.stderr)
            return 1
        print("page-check: the live page shows and follows the readings, escapes the port, "
              "charts the day, links the files, fits a phone and says when the logger is gone")
        return 0

    def stop(self):
        if self.driver:
            self.driver.quit()
        self.processes.stop_all()


def main():
    parser = argparse.ArgumentParser(description="Checks meter-logger's live page in chromium.")
    parser.add_argument("--screenshot", type=Path, metavar="PNG",
                        help="save the page with its three meters to PNG")
    arguments = parser.parse_args()
    return run_check("page-check", "meter-page.",
                     lambda work: Run(work, arguments.screenshot), lambda run: run.run(),
                     lambda run: run.stop())


if __name__ == "__main__":
    sys.exit(main())
