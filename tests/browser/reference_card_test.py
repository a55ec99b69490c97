#!/usr/bin/python3
"""Controls.html in a real browser: Tavlet is run on the example installation,
and on it with three joysticks attached (a stick, a throttle quadrant and
rudder pedals, bound in both versions), each in English and in French, and
each page is loaded in headless Chromium and checked as a pilot would see it:

- on a desktop (1000, 1280, 1400 and 1920 px): no script error, the keys of
  each drawing apart from one another and inside their keyboard, no text out
  of its key, no word of a key's text broken inside, key text of 7 px at
  least from 1280 px on; the search highlighting what it should;
- on a tablet (768 px): the whole keyboard inside the screen, key text of
  7 px at least; on a phone (390 px): nothing scrolling sideways, the line
  of every key bound or taken there, in 8 px at least, reached by a tap on
  its key; zoomed in, a keyboard that then scrolls says so;
- the free keys listed as the reports list them; the search finding a
  command, a key, a sibling tool and the free places, with their count;
- the shape of the keyboard by the pilot's layout (German and British ISO,
  with the extra key; US ANSI);
- at night (a dark colour scheme): a dark page with light text, every kind of
  key told apart; its print stays light;
- in print, on A4 and on US Letter landscape: the keyboard within the page,
  no word broken, key text of 5 pt at least, 2 pages at most, the three
  joysticks too, no page before the last nearly empty, and no joystick card
  broken across columns unless it is longer than one;
- for every pilot: the checkers that web developers use, axe-core (WCAG 2.2
  A and AA, and best practice) at 1400, 768 and 390 px in the light and the
  dark scheme, and the Nu Html Checker, find nothing; the search field and
  the keyboard's frame are reached with Tab and show their focus, and Enter
  in the search goes to the first place found; in black and white (a
  grayscale print), bound, taken, conflicting and free keys still differ.

Exit status 0 when every check holds, 1 when one fails, 77 when Chromium, its
driver, Selenium, Java or the checkers (installed by the test command in
tests/browser/node_modules) are missing (the test is then skipped)."""

import base64
import os
import re
import shutil
import subprocess
import sys
import tempfile

try:
    import selenium  # noqa: F401
except ImportError:
    print("python3-selenium is not installed")
    sys.exit(77)

from accessibility import (check_axe, check_black_and_white, check_keyboard, check_nu,
                           check_printed_cards)
from card_browser import (AXE, CHROMIUM, DRIVER, FEW_LINES, JAVA, PAPERS, PRINT_HEIGHT,
                          PRINT_WIDTH, VNU, browser, check, check_key_text, emulate, failures)
from screens import check_free_keys, check_narrow, check_search

def reg_key(key, values):
    return "[HKEY_CURRENT_USER\\System\\CurrentControlSet\\Control\\MediaProperties\\" \
           "PrivateProperties\\" + key + "]\r\n" + values + "\r\n\r\n"


def attach_three_devices(folder):
    """A throttle quadrant and the rudder pedals attached beside the stick,
    each bound in both versions."""
    devices = [("A3C2", "Throttle Quadrant", "e3,d2,c1,b0,5a,4f,e9,11,80,02,44,45,53,54,00,00",
                "[{B0C1D2E3-4F5A-11E9-8002-444553540000}]", 6, 24),
               ("A3C3", "Rudder Pedals", "d0,c3,b2,a1,2f,1e,e9,11,80,01,44,45,53,54,00,00",
                "[{A1B2C3D0-1E2F-11E9-8001-444553540000}]", 3, 4)]
    reg = ""
    slots = ""
    for slot, (product, name, guid, _, axes, buttons) in enumerate(devices, start=1):
        reg += reg_key("Joystick\\OEM\\VID_1209&PID_" + product, f'"OEMName"="{name}"')
        reg += reg_key("DirectInput\\VID_1209&PID_" + product + "\\Calibration\\0",
                       '"GUID"=hex:' + guid)
        slots += f"{slot} {axes} {buttons} 1209 {product}\n"
    with open(os.path.join(folder, "registry.reg"), "a", newline="") as f:
        f.write("\r\n" + reg)
    with open(os.path.join(folder, "joysticks.txt"), "a") as f:
        f.write(slots)
    throttle, pedals = devices[0][3], devices[1][3]
    bindings = {
        "Aerlon": {throttle: "1005=1000\r\n1012=1004\r\n1010=1008\r\n1011=1012\r\n" +
                   "".join(f"{c}={48 + i}\r\n" for i, c in enumerate(
                       (3005, 3006, 3007, 3008, 3009, 3011, 3012, 3013, 3014, 3015, 3016,
                        3020, 3021, 3022, 3023, 3027, 3028, 3041, 3042, 3054))),
                   pedals: "1002=1000\r\n1006=1004\r\n1003=1008\r\n3010=48\r\n3004=49\r\n"},
        "Aerlon3": {throttle: "2008=1000\r\n2006=1004\r\n2012=1008\r\n2010=1012\r\n" +
                    "".join(f"{c}={48 + i}\r\n" for i, c in enumerate(
                        (3105, 3106, 3107, 3108, 3109, 3110, 3111, 3113, 3115, 3120, 3121,
                         3122, 3123, 3124, 3130, 3131, 3137, 3138, 3151, 3152, 3163))),
                    pedals: "2003=1000\r\n2007=1004\r\n2004=1008\r\n3112=48\r\n3105=49\r\n"}}
    for version, sections in bindings.items():
        path = os.path.join(folder, "Users", "Ann", "Documents", version, "Pilots", "Ann",
                            "controls.ini")
        with open(path, newline="") as f:
            text = f.read()
        # The pedals' section is there already, not attached: rebound whole.
        text = text[:text.index(pedals)]
        for header, lines in sections.items():
            text += header + "\r\n" + lines + "\r\n"
        with open(path, "w", newline="") as f:
            f.write(text)


def edit(path, old, new):
    with open(path, newline="", encoding="cp1252") as f:
        text = f.read()
    with open(path, "w", newline="", encoding="cp1252") as f:
        f.write(text.replace(old, new, 1))


def run_tavlet(tavlet, tables, examples, folder, language, three_devices, layout=None,
               stage=None, program=None):
    """Runs Tavlet on a fresh copy of the example installation; the page.
    With `layout` (a keyboard layout's four hexadecimal digits), the pilot
    types with that layout and binds "Engine extend/retract" to the ISO
    keyboard's extra key (scan code 86). `stage` changes the copy first
    (called with the installation's folder and Tavlet's); `program`, run
    after Tavlet in its folder, draws the page again."""
    shutil.copytree(examples, folder)
    if three_devices:
        attach_three_devices(folder)
    if layout:
        path = os.path.join(folder, "Users", "Ann", "Documents", "Aerlon3", "Pilots", "Ann",
                            "controls.ini")
        edit(path, "[Keyboard]\r\n", "[Keyboard]\r\n3115=86\r\n")
    work = os.path.join(folder, "Tools", "Malvet")
    for name in os.listdir(tables):
        if name.startswith(("CMD", "SCN", "A2-A3")) and name.endswith(".txt"):
            shutil.copy(os.path.join(tables, name), work)
    if stage:
        stage(folder, work)
    with open(os.path.join(folder, "answers.txt"), "w") as answers:
        answers.write("no\n")
    env = dict(os.environ, LC_ALL=language, MALVET_KEYBOARD_LAYOUT=layout or "",
               MALVET_REGISTRY=os.path.join(folder, "registry.reg"),
               MALVET_JOYSTICKS=os.path.join(folder, "joysticks.txt"),
               MALVET_DIALOGS=os.path.join(folder, "answers.txt"))
    subprocess.run([tavlet], cwd=work, env=env, check=True, stdout=subprocess.DEVNULL)
    if program:
        subprocess.run(program, cwd=work, env=env, check=True, stdout=subprocess.DEVNULL)
    return os.path.join(work, "Controls.html")


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


COLOURS = """
function lum(c) {
  const v = c.match(/[0-9.]+/g).slice(0, 3).map(Number).map(x => x / 255);
  const lin = v.map(x => x <= 0.03928 ? x / 12.92 : Math.pow((x + 0.055) / 1.055, 2.4));
  return 0.2126 * lin[0] + 0.7152 * lin[1] + 0.0722 * lin[2];
}
const body = getComputedStyle(document.body);
const bg = s => getComputedStyle(document.querySelector(s)).backgroundColor;
const conflict = document.querySelector('.key[data-conflict]');
return {page: lum(body.backgroundColor), text: lum(body.color),
        bound: bg('.key.bound'), free: bg('.key.free'), taken: bg('.key.taken'),
        conflict: conflict ? getComputedStyle(conflict).borderTopColor : null,
        border: getComputedStyle(document.querySelector('.key.free')).borderTopColor};
"""


def check_night(driver, label):
    emulate(driver, 1280, 1000, dark=True)
    night = driver.execute_script(COLOURS)
    check(night["page"] < 0.05, f"{label} at night: the page is not dark ({night['page']:.2f})")
    check(night["text"] > 0.6, f"{label} at night: the text is not light ({night['text']:.2f})")
    kinds = {night["bound"], night["free"], night["taken"]}
    check(len(kinds) == 3, f"{label} at night: bound, free and taken keys look alike: {kinds}")
    check(night["conflict"] is None or night["conflict"] != night["border"],
          f"{label} at night: a conflict looks like any key")
    emulate(driver, PRINT_WIDTH, PRINT_HEIGHT, media="print", dark=True)
    printed = driver.execute_script(COLOURS)
    check(printed["page"] > 0.9, f"{label}: printed at night, the page is not light")
    emulate(driver)


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
return {parts: out, search: search && search.getClientRects().length > 0 ? 'shown' : 'none'};
"""


def pdf_pages(driver, paper):
    """The lines of text of each page of the page printed on `paper`."""
    (width, height), _ = PAPERS[paper]
    pdf = driver.execute_cdp_cmd("Page.printToPDF", {
        "paperWidth": width, "paperHeight": height, "preferCSSPageSize": True,
        "printBackground": True})
    data = base64.b64decode(pdf.get("data", ""))
    with tempfile.NamedTemporaryFile(suffix=".pdf") as f:
        f.write(data)
        f.flush()
        text = subprocess.run(["pdftotext", "-layout", f.name, "-"], capture_output=True,
                              check=True).stdout.decode("utf-8", "replace")
    pages = text.split("\f")
    if pages and not pages[-1].strip():
        pages.pop()
    return [len([line for line in page.splitlines() if line.strip()]) for page in pages]


def check_kneeboard(driver, label):
    """The kneeboard's pages, printed as "Kneeboard pages" prints them: as
    many upright pages as the page holds (each page's content on one page),
    every word at least 12 px high at a page 1024 px high, nothing of the
    rest of the card."""
    pages = driver.execute_script("""
        document.documentElement.classList.add('kneeboard');
        return document.querySelectorAll('.knee-page').length;""")
    pdf = driver.execute_cdp_cmd("Page.printToPDF", {"preferCSSPageSize": True,
                                                     "printBackground": True})
    driver.execute_script("document.documentElement.classList.remove('kneeboard');")
    with tempfile.NamedTemporaryFile(suffix=".pdf") as f:
        f.write(base64.b64decode(pdf.get("data", "")))
        f.flush()
        info = subprocess.run(["pdfinfo", "-f", "1", "-l", "999", f.name], capture_output=True,
                              text=True, check=True).stdout
        words = subprocess.run(["pdftotext", "-bbox", f.name, "-"], capture_output=True,
                               text=True, check=True).stdout
    sizes = re.findall(r"Page +\d+ size: +([\d.]+) x ([\d.]+) pts", info)
    check(len(sizes) == pages, f"{label}: {pages} kneeboard pages printed on {len(sizes)}")
    check(all(float(w) < float(h) for w, h in sizes), f"{label}: kneeboard pages not upright")
    heights = [float(b) - float(a) for a, b in
               re.findall(r'<word xMin="[\d.]+" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)"', words)]
    page_height = float(sizes[0][1]) if sizes else 1
    smallest = min(heights, default=0) * 1024 / page_height
    check(smallest >= 12, f"{label}: kneeboard text {smallest:.1f} px at a page 1024 px high")
    check("Aerlon" in words and "keyboard-frame" not in words,
          f"{label}: the kneeboard's pages hold what they should")
    # Inside a kneeboard program (as its browser names itself), 1024 px
    # high: the pages alone, each a screen high, their text 12 px at least.
    agent = driver.execute_script("return navigator.userAgent;")
    driver.execute_cdp_cmd("Emulation.setUserAgentOverride", {"userAgent": agent + " OpenKneeboard"})
    driver.refresh()
    emulate(driver, 768, 1024)
    shown = driver.execute_script("""
        const shown = el => el.getClientRects().length > 0;
        const pages = [...document.querySelectorAll('.knee-page')];
        return {pages: pages.filter(shown).length, all: pages.length,
                rest: [...document.querySelectorAll('.keyboard, #search')].filter(shown).length,
                short: pages.filter(p => p.getBoundingClientRect().height < 1023).length,
                smallest: Math.min(...[...document.querySelectorAll('.knee-page *')].filter(shown)
                                     .map(el => parseFloat(getComputedStyle(el).fontSize)))};""")
    driver.execute_cdp_cmd("Emulation.setUserAgentOverride", {"userAgent": agent})
    driver.refresh()
    emulate(driver)
    check(shown["pages"] == shown["all"] and shown["rest"] == 0 and shown["short"] == 0 and
          shown["smallest"] >= 12, f"{label} in a kneeboard program: {shown}")


def check_print(driver, label, most_pages):
    emulate(driver, PRINT_WIDTH, PRINT_HEIGHT, media="print")
    printed = driver.execute_script(PRINTED)
    check(printed["search"] == "none", f"{label}: the search field is printed")
    for part in printed["parts"]:
        name = f"{label} version {part['version']}"
        check(part["breaks"] == "page", f"{name}: does not start a printed page")
        check(part["height"] <= PRINT_HEIGHT,
              f"{name}: heading and keyboard need {part['height']:.0f} px of {PRINT_HEIGHT}")
        check(part["width"] <= PRINT_WIDTH,
              f"{name}: the keyboard is {part['width']:.0f} px wide of {PRINT_WIDTH}")
    check_key_text(driver, f"{label} printed", 5 * 96 / 72)
    emulate(driver)
    for paper in PAPERS:
        lines = pdf_pages(driver, paper)
        check(1 <= len(lines) <= most_pages,
              f"{label} on {paper}: {len(lines)} pages printed, {most_pages} at most")
        for number, count in enumerate(lines[:-1], start=1):
            check(count >= FEW_LINES,
                  f"{label} on {paper}: page {number} of {len(lines)} holds {count} lines")


# The keys drawn with the code 86, and what the list of keys off the drawing
# holds.
SHAPE = """
const drawn = code => document.querySelectorAll('[data-version] .key[data-key="' + code + '"]').length;
return {extra: drawn(86), abnt2: [drawn(115), drawn(126)],
        versions: document.querySelectorAll('[data-version]').length,
        off: [...document.querySelectorAll('.off-drawing li')].map(li => li.textContent)};
"""


def check_shapes(driver, tavlet, tables, examples, scratch):
    """The keyboard drawn has the shape of the pilot's layout: ISO for the
    German and the British, with the extra key, ABNT2 for the Brazilian,
    with its two more (a binding on 115 on the drawing), ANSI for the US."""
    def on_115(folder, _):
        edit(os.path.join(folder, "Users", "Ann", "Documents", "Aerlon3", "Pilots", "Ann",
                          "controls.ini"), "[Keyboard]\r\n", "[Keyboard]\r\n3140=115\r\n")
    for layout, iso in (("0407", True), ("0809", True), ("0416", True), ("0409", False)):
        page = run_tavlet(tavlet, tables, examples, os.path.join(scratch, "layout " + layout),
                          "en_US.UTF-8", False, layout, stage=on_115 if layout == "0416" else None)
        driver.get("file://" + page)
        shape = driver.execute_script(SHAPE)
        brazil = layout == "0416"
        check(shape["abnt2"] == [shape["versions"] if brazil else 0] * 2,
              f"layout {layout}: keys 115 and 126 drawn {shape['abnt2']} times")
        if iso:
            check(shape["extra"] == shape["versions"], f"layout {layout}: no key 86 drawn")
            check(not shape["off"], f"layout {layout}: off the drawing: {shape['off']}")
        else:
            check(shape["extra"] == 0, f"layout {layout}: the ISO keyboard's extra key drawn")
            check(any("(86)" in li for li in shape["off"]),
                  f"layout {layout}: the binding on 86 is not listed off the drawing")


# What the card of a tool read short says of its keys: Page Up, bound and
# Palvik's, in conflict; F11, Palvik's; K and F7, which no file read tells
# of, not known; the conflicts' table; the notice.
READ_SHORT = """
const key = code => document.querySelector('[data-version="3"] .key[data-key="' + code + '"]');
return {pageUp: key(201).hasAttribute('data-conflict') &&
                key(201).getAttribute('aria-label').includes('Palvik'),
        f11: key(87).className, k: key(37).className, f7: key(65).className,
        conflicts: [...document.querySelectorAll('[data-version="3"] tr[data-conflict]')]
                     .map(tr => tr.textContent).join(' | '),
        notice: document.querySelector('.notice').textContent};
"""

# The busy pilot's K: what shows of its commands and of Palvik's name.
BUSY_K = """
const key = document.querySelector('[data-version="3"] .key[data-key="37"]');
const shown = s => [...key.querySelectorAll(s)].filter(el => el.getClientRects().length > 0);
return {commands: key.querySelectorAll('.command').length, shown: shown('.command').length,
        tools: shown('.tool-name').length};
"""


def check_staged(driver, tavlet, tables, examples, fixture, scratch):
    """Two pilots the example does not have: one whose Palvik file was read
    short after its first two keys (drawn by `fixture`), and a busy one who
    binds K twice, Palvik taking it too, with a version-3 table that names
    "Trim nose up" otherwise."""
    page = run_tavlet(tavlet, tables, examples, os.path.join(scratch, "read short"),
                      "en_US.UTF-8", False, program=[fixture, "Palvik", "2"])
    label = "Palvik read short"
    driver.get("file://" + page)
    r = driver.execute_script(READ_SHORT)
    check(r["pageUp"], f"{label}: Page Up is not in conflict with Palvik")
    check("taken" in r["f11"], f"{label}: F11 is {r['f11']!r}, not taken")
    check("unknown" in r["k"] and "unknown" in r["f7"], f"{label}: K {r['k']!r}, F7 {r['f7']!r}")
    check("Palvik" in r["conflicts"], f"{label}: the conflicts: {r['conflicts']!r}")
    check("could not be read to its end" in r["notice"], f"{label}: the notice {r['notice']!r}")
    check_search(driver, label, [("Palvik", "tool"), ("not known", "unknown"),
                                 ("unknown", "unknown")], ("0 found", "1 found", "# found"))
    check_axe(driver, label)
    check_nu(page, label)

    def busy(folder, work):
        edit(os.path.join(folder, "Users", "Ann", "Documents", "Aerlon3", "Pilots", "Ann",
                          "controls.ini"),
             "[Keyboard]\r\n", "[Keyboard]\r\n3108=37\r\n3105=37\r\n3115=37\r\n")
        edit(os.path.join(work, "CMD_A3.txt"), "3107=Trim nose up", "3107=Pitch trim up")
    page = run_tavlet(tavlet, tables, examples, os.path.join(scratch, "busy"), "en_US.UTF-8",
                      False, stage=busy)
    label = "The busy pilot"
    driver.get("file://" + page)
    for width in (1920, 1400, 1000):
        driver.set_window_size(width, 1000)
        k = driver.execute_script(BUSY_K)
        check(k["commands"] == 3 and (k["tools"] == 0 or k["shown"] == k["commands"]),
              f"{label} at {width} px: K shows {k['shown']} of {k['commands']} commands "
              f"and {k['tools']} tool names")
    driver.set_window_size(1500, 1000)
    check_search(driver, label,
                 [("trim nose up", "command"), ("K", "key"), ("Conflict", "conflict")],
                 ("0 found", "1 found", "# found"), {"pitch trim up": "trim nose up"})
    check_axe(driver, label)
    check_nu(page, label)


def main():
    if len(sys.argv) != 5:
        print("usage: reference_card_test.py TAVLET TABLES_FOLDER EXAMPLES_FOLDER CARD_FIXTURE")
        return 2
    tavlet, tables, examples, fixture = sys.argv[1:]
    if not (os.path.exists(CHROMIUM) and os.path.exists(DRIVER)):
        print("chromium or chromium-driver is not installed")
        return 77
    if shutil.which("pdftotext") is None:
        print("poppler-utils is not installed")
        return 77
    if not (os.path.exists(JAVA) and os.path.exists(AXE) and os.path.exists(VNU)):
        print("Java or the checkers (npm ci in tests/browser) are not installed")
        return 77
    scratch = tempfile.mkdtemp(prefix="malvet-browser-")
    driver = None
    try:
        driver = browser()
        for language, label, search, three, most_pages, device in (
                ("en_US.UTF-8", "English", "trim", False, 2, None),
                ("fr_FR.UTF-8", "French", "TRIM", False, 2, None),
                ("en_US.UTF-8", "Three joysticks", "throttle", True, 2, "Rudder Pedals"),
                ("fr_FR.UTF-8", "Three joysticks in French", "THROTTLE", True, 2,
                 "throttle quadrant")):
            french = language.startswith("fr")
            page = run_tavlet(tavlet, tables, examples, os.path.join(scratch, label), language,
                              three)
            driver.get("file://" + page)
            driver.get_log("browser")  # nothing before the page counts
            driver.refresh()
            check(driver.execute_script("return document.getElementById('controls-data') !== null"),
                  f"{label}: no model embedded")
            for width in (1920, 1400, 1280, 1000, 768):  # the keys grow and shrink with it
                driver.set_window_size(width, 1000)
                check_drawings(driver, f"{label} in a window {width} wide")
                check_key_text(driver, f"{label} in a window {width} wide", 7)
            driver.set_window_size(1500, 1000)
            check_search(driver, label,
                         [(search, "command"), ("F10", "key"), ("K", "key"), ("page up", "key"),
                          ("Serunt", "tool"), ("libre" if french else "free", "free"),
                          ("prise" if french else "taken", "taken"), ("zzz", "nothing")] +
                         ([(device, "device")] if three else []),
                         ("0 trouv\u00e9", "1 trouv\u00e9", "# trouv\u00e9s") if french
                         else ("0 found", "1 found", "# found"))
            check_free_keys(driver, label, page)
            check_keyboard(driver, label)
            check_narrow(driver, label)
            check_night(driver, label)
            check_print(driver, label, most_pages)
            check_kneeboard(driver, label)
            check_printed_cards(driver, label)
            check_black_and_white(driver, label)
            check_axe(driver, label)
            check_nu(page, label)
            errors = [e for e in driver.get_log("browser") if e["level"] == "SEVERE"]
            check(not errors, f"{label}: errors in the browser: {errors}")
        check_shapes(driver, tavlet, tables, examples, scratch)
        check_staged(driver, tavlet, tables, examples, fixture, scratch)
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
