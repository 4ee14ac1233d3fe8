"""Debian's chromium, headless, driven through chromium-driver: what the page checks read and do
in a real browser."""

import os

from harness import CannotRun, CheckFailed, MissingTool, tool

CHROMEDRIVER = "/usr/bin/chromedriver"

# Alerts are noted instead of shown, so that a script run by mistake is seen and not stuck on.
NOTE_ALERTS = """
window.alerted = [];
for (const name of ["alert", "confirm", "prompt"])
    window[name] = (message) => { window.alerted.push(String(message)); };
"""


def start_browser(width, height, zone):
    """A browser whose clock is in another zone than the logger's, as a phone may be."""
    try:
        from selenium import webdriver
        from selenium.common.exceptions import WebDriverException
        from selenium.webdriver.chrome.service import Service
    except ImportError as error:
        raise MissingTool(f"python3-selenium is not installed ({error})") from error
    binary = tool("chromium")
    if not os.access(CHROMEDRIVER, os.X_OK):
        raise MissingTool(f"{CHROMEDRIVER} is missing (package chromium-driver)")
    options = webdriver.ChromeOptions()
    options.binary_location = binary
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu",
                     "--disable-dev-shm-usage", f"--window-size={width},{height}"):
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    try:
        driver = webdriver.Chrome(service=Service(CHROMEDRIVER, env={**os.environ, "TZ": zone}),
                                  options=options)
    except WebDriverException as error:
        raise CannotRun(f"chromium would not start under {CHROMEDRIVER}: {error.msg}") from error
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": NOTE_ALERTS})
    return driver


def set_viewport(driver, width, height):
    """The page's own width, as a phone or a desk has it (a headless window has a minimum). Not
    as a mobile browser, which would widen the page to whatever overflows and zoom out."""
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
        "width": width, "height": height, "deviceScaleFactor": 1, "mobile": False})


def page_value(deadline, read, wanted, what, within=10):
    """Waits until what read() returns is wanted; says the last value seen if it never is."""
    seen = []

    def matches():
        value = read()
        seen[:] = [value]
        return wanted(value)

    try:
        deadline.wait_for(matches, what, within)
    except CheckFailed as error:
        raise CheckFailed(f"{error}; the page had {seen[0]!r}" if seen else str(error)) from None
    return seen[0]


def card_texts(driver, meter):
    return driver.execute_script(
        """const card = document.querySelector(`article.meter[data-meter="${arguments[0]}"]`);
        if (!card) return null;
        const texts = {};
        for (const name of ["meter-id", "port", "file", "state", "humidity", "temperature",
                            "dew-point", "dew-point-kind", "battery", "taken-at", "age"])
            texts[name] = card.querySelector("." + name)?.textContent ?? null;
        texts.stale = card.classList.contains("stale");
        return texts;""", meter)


def console_errors(driver):
    return [entry["message"] for entry in driver.get_log("browser") if entry["level"] == "SEVERE"]
