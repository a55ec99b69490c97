#!/usr/bin/python3
"""Controls.html in a real browser: Tavlet is run on the example installation
in English and in French, and each page is loaded in headless Chromium and
checked as a pilot would see it: no script error, the keys of each drawing
apart from one another and inside their keyboard, no text running out of its
key, the search highlighting what it should, and each version's keyboard on
one A4 landscape page when printed.

Exit status 0 when every check holds, 1 when one fails, 77 when Chromium, its
driver or Selenium is missing (the test is then skipped)."""

import os
import shutil
import subprocess
import sys
import tempfile

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
except ImportError:
    print("python3-selenium is not installed")
    sys.exit(77)

CHROMIUM = "/usr/bin/chromium"
DRIVER = "/usr/bin/chromedriver"

# A4 landscape less the page's 10 mm margins, in CSS pixels (96 per inch).
PRINT_WIDTH = round(277 / 25.4 * 96)
PRINT_HEIGHT = round(190 / 25.4 * 96)

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def run_tavlet(tavlet, tables, examples, folder, language):
    """Runs Tavlet on a fresh copy of the example installation; the page."""
    shutil.copytree(examples, folder)
    work = os.path.join(folder, "Tools", "Malvet")
    for name in os.listdir(tables):
        if name.startswith(("CMD", "SCN")) and name.endswith(".txt"):
            shutil.copy(os.path.join(tables, name), work)
    with open(os.path.join(folder, "answers.txt"), "w") as answers:
        answers.write("no\n")
    env = dict(os.environ, LC_ALL=language,
               MALVET_REGISTRY=os.path.join(folder, "registry.reg"),
               MALVET_JOYSTICKS=os.path.join(folder, "joysticks.txt"),
               MALVET_DIALOGS=os.path.join(folder, "answers.txt"))
    subprocess.run([tavlet], cwd=work, env=env, check=True, stdout=subprocess.DEVNULL)
    return os.path.join(work, "Controls.html")


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


GEOMETRY = """
const result = [];
for (const board of document.querySelectorAll('[data-version] .keyboard')) {
  const b = board.getBoundingClientRect();
  const keys = [...board.querySelectorAll('.key')].map(k => {
    const r = k.getBoundingClientRect();
    return {code: k.dataset.key, left: r.left, top: r.top, right: r.right, bottom: r.bottom,
            over: k.scrollHeight > k.clientHeight + 1 || k.scrollWidth > k.clientWidth + 1,
            text: k.innerText};
  });
  result.push({version: board.closest('[data-version]').dataset.version,
               board: {left: b.left, top: b.top, right: b.right, bottom: b.bottom}, keys: keys});
}
return result;
"""


def check_drawings(driver, label):
    boards = driver.execute_script(GEOMETRY)
    check(len(boards) >= 1, f"{label}: no keyboard drawn")
    for board in boards:
        name = f"{label} version {board['version']}"
        keys = board["keys"]
        check(len(keys) >= 104, f"{name}: {len(keys)} keys drawn")
        codes = [k["code"] for k in keys]
        check(len(codes) == len(set(codes)), f"{name}: a key is drawn twice")
        outer = board["board"]
        for k in keys:
            inside = (k["left"] >= outer["left"] - 0.5 and k["top"] >= outer["top"] - 0.5 and
                      k["right"] <= outer["right"] + 0.5 and k["bottom"] <= outer["bottom"] + 0.5)
            check(inside, f"{name}: key {k['code']} lies outside its keyboard")
            check(not k["over"], f"{name}: the text of key {k['code']} overflows: {k['text']!r}")
        for i, a in enumerate(keys):
            for b in keys[i + 1:]:
                apart = (a["right"] <= b["left"] + 0.5 or b["right"] <= a["left"] + 0.5 or
                         a["bottom"] <= b["top"] + 0.5 or b["bottom"] <= a["top"] + 0.5)
                check(apart, f"{name}: keys {a['code']} and {b['code']} overlap")


SEARCH = """
const box = document.getElementById('search');
box.value = arguments[0];
box.dispatchEvent(new Event('input'));
const q = arguments[0].toLowerCase();
const wrong = [];
let hits = 0;
for (const el of document.querySelectorAll('.key, .control, .row')) {
  const holds = [...el.querySelectorAll('.command')].some(c => c.textContent.toLowerCase().includes(q));
  const hit = el.classList.contains('hit');
  if (hit) hits++;
  if (hit !== holds) wrong.push((el.dataset.key || el.dataset.button || el.dataset.axis || '') + ' ' + el.textContent.slice(0, 40));
}
return {visible: !box.hidden && box.offsetWidth > 0, hits: hits, wrong: wrong,
        searching: document.body.classList.contains('searching')};
"""


def check_search(driver, label, text):
    result = driver.execute_script(SEARCH, text)
    check(result["visible"], f"{label}: the search field is not shown")
    check(result["hits"] > 0, f"{label}: searching {text!r} highlights nothing")
    check(not result["wrong"], f"{label}: searching {text!r} marks wrongly: {result['wrong'][:5]}")
    cleared = driver.execute_script(SEARCH, "")
    check(cleared["hits"] == 0 and not cleared["searching"], f"{label}: clearing the search")


PRINTED = """
const out = [];
const parts = [...document.querySelectorAll('[data-version]')];
parts.forEach((part, i) => {
  // The first version's part follows the page's heading on the first page;
  // each later one starts a page.
  const board = part.querySelector('.keyboard').getBoundingClientRect();
  const top = i === 0 ? document.documentElement.getBoundingClientRect().top
                      : part.getBoundingClientRect().top;
  out.push({version: part.dataset.version, height: board.bottom - top, width: board.right,
            breaks: i === 0 ? 'page' : getComputedStyle(part).breakBefore});
});
const search = document.getElementById('search');
return {parts: out, search: search ? getComputedStyle(search).display : 'none'};
"""


def check_print(driver, label):
    driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": "print"})
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": PRINT_WIDTH, "height": PRINT_HEIGHT,
                            "deviceScaleFactor": 1, "mobile": False})
    printed = driver.execute_script(PRINTED)
    check(printed["search"] == "none", f"{label}: the search field is printed")
    for part in printed["parts"]:
        name = f"{label} version {part['version']}"
        check(part["breaks"] == "page", f"{name}: does not start a printed page")
        check(part["height"] <= PRINT_HEIGHT,
              f"{name}: heading and keyboard need {part['height']:.0f} px of {PRINT_HEIGHT}")
        check(part["width"] <= PRINT_WIDTH,
              f"{name}: the keyboard is {part['width']:.0f} px wide of {PRINT_WIDTH}")
    pdf = driver.execute_cdp_cmd("Page.printToPDF", {"landscape": True, "preferCSSPageSize": True})
    check(len(pdf.get("data", "")) > 1000, f"{label}: printing made no PDF")
    driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
    driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": ""})


def main():
    if len(sys.argv) != 4:
        print("usage: reference_card_test.py TAVLET TABLES_FOLDER EXAMPLES_FOLDER")
        return 2
    tavlet, tables, examples = sys.argv[1:]
    if not (os.path.exists(CHROMIUM) and os.path.exists(DRIVER)):
        print("chromium or chromium-driver is not installed")
        return 77
    scratch = tempfile.mkdtemp(prefix="malvet-browser-")
    driver = None
    try:
        driver = browser()
        for language, label, search in (("en_US.UTF-8", "English", "trim"),
                                        ("fr_FR.UTF-8", "French", "TRIM")):
            page = run_tavlet(tavlet, tables, examples, os.path.join(scratch, label), language)
            driver.get("file://" + page)
            driver.get_log("browser")  # nothing before the page counts
            driver.refresh()
            check(driver.execute_script("return document.getElementById('controls-data') !== null"),
                  f"{label}: no model embedded")
            for width in (1920, 1280, 1000):  # the keys grow and shrink with the window
                driver.set_window_size(width, 1000)
                check_drawings(driver, f"{label} in a window {width} wide")
            driver.set_window_size(1500, 1000)
            check_search(driver, label, search)
            check_print(driver, label)
            errors = [e for e in driver.get_log("browser") if e["level"] == "SEVERE"]
            check(not errors, f"{label}: errors in the browser: {errors}")
    finally:
        if driver:
            driver.quit()
        shutil.rmtree(scratch, ignore_errors=True)
    for failure in failures:
        print("FAILED:", failure)
    print("checked the page in Chromium:", "ok" if not failures else f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
