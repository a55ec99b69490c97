"""What the browser checks of the reference card share: Chromium driven by
Selenium, its window as a screen, a phone or paper, and the list of what
failed."""

import os
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

CHROMIUM = "/usr/bin/chromium"
DRIVER = "/usr/bin/chromedriver"
JAVA = "/usr/bin/java"
CHECKERS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "node_modules")
AXE = os.path.join(CHECKERS, "axe-core", "axe.min.js")
VNU = os.path.join(CHECKERS, "vnu-jar", "build", "dist", "vnu.jar")

MM = 96 / 25.4  # CSS pixels in a millimetre
PAGE_MARGIN = 8  # the page's own margins, in mm
# Landscape paper, in inches as printing takes it, and in mm.
PAPERS = {"A4": ((8.27, 11.69), (297, 210)), "Letter": ((8.5, 11.0), (279.4, 215.9))}
# What both papers leave for the page, in CSS pixels.
PRINT_WIDTH = round((279.4 - 2 * PAGE_MARGIN) * MM)
PRINT_HEIGHT = round((210 - 2 * PAGE_MARGIN) * MM)
# A page holding fewer lines of text than this, before the last, is nearly
# empty: a list cut off its version, a heading alone.
FEW_LINES = 25

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def browser():
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic",
                "--no-first-run", "--disable-background-networking",
                "--disable-component-update", "--disable-sync", "--hide-scrollbars",
                "--window-size=1500,1000"):
        options.add_argument(arg)
    options.add_argument("--user-data-dir=" + tempfile.mkdtemp(prefix="malvet-chromium-"))
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service(DRIVER), options=options)


def emulate(driver, width=None, height=1000, mobile=False, media="", dark=False):
    """The window as a screen `width` wide (a phone's when `mobile`), printed
    (`media` "print"), at night (`dark`); None puts the window back."""
    if width is None:
        driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
    else:
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                               {"width": width, "height": height, "deviceScaleFactor": 1,
                                "mobile": mobile})
    # A phone is touched: a coarse pointer, scroll bars that take no room.
    driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled",
                           {"enabled": bool(mobile), "maxTouchPoints": 5 if mobile else 1})
    driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {
        "media": media,
        "features": [{"name": "prefers-color-scheme", "value": "dark" if dark else "light"}]})


# The words of the keys' texts that stand on more than one line, and the
# smallest size of a key's text, in CSS pixels.
KEY_TEXT = """
const broken = [];
let smallest = 1000;
for (const el of document.querySelectorAll('.key > span')) {
  if (el.getClientRects().length === 0) continue;  // not shown
  smallest = Math.min(smallest, parseFloat(getComputedStyle(el).fontSize));
  const node = el.firstChild;
  if (!node || node.nodeType !== Node.TEXT_NODE) continue;
  const text = node.textContent;
  const words = /[^ ]+/g;
  let m;
  while ((m = words.exec(text)) !== null) {
    const range = document.createRange();
    range.setStart(node, m.index);
    range.setEnd(node, m.index + m[0].length);
    const tops = new Set([...range.getClientRects()].filter(r => r.width > 0)
                                                   .map(r => Math.round(r.top)));
    if (tops.size > 1) broken.push(el.closest('.key').dataset.key + ' ' + m[0]);
  }
}
return {broken: broken, smallest: smallest};
"""


def check_key_text(driver, label, smallest):
    text = driver.execute_script(KEY_TEXT)
    check(not text["broken"], f"{label}: words broken inside on keys: {text['broken'][:8]}")
    check(text["smallest"] >= smallest - 0.01,
          f"{label}: key text of {text['smallest']:.2f} px, less than {smallest:.2f}")
