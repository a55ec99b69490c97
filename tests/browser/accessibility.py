"""The reference card for every pilot: the checkers web developers use
(axe-core, the Nu Html Checker), the keyboard, the print's columns, and the
keys' states in black and white."""

import base64
import json
import struct
import subprocess
import zlib

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

from card_browser import AXE, JAVA, PRINT_HEIGHT, PRINT_WIDTH, VNU, check, emulate

AXE_RUN = """
const done = arguments[arguments.length - 1];
axe.run(document, {runOnly: {type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa',
                                                   'wcag22aa', 'best-practice']},
                   resultTypes: ['violations']})
   .then(r => done(r.violations.map(v => v.id + ' (' + v.nodes.length + '): ' +
                                         v.nodes[0].html.slice(0, 80))));
"""


def check_axe(driver, label):
    """axe-core finds no violation, in either scheme, wide and narrow."""
    with open(AXE) as f:
        axe = f.read()
    for width in (1400, 768, 390):
        for dark in (False, True):
            emulate(driver, width, 900, mobile=width < 1000, dark=dark)
            driver.execute_script(axe)
            found = driver.execute_async_script(AXE_RUN)
            scheme = "dark" if dark else "light"
            check(not found, f"{label} at {width} px, {scheme}: axe-core finds {found}")
    emulate(driver)


def check_nu(page, label):
    """The Nu Html Checker finds neither an error nor a warning."""
    result = subprocess.run([JAVA, "-jar", VNU, "--format", "json", page], capture_output=True)
    messages = json.loads(result.stderr.decode("utf-8") or '{"messages": []}')["messages"]
    said = [f"{m.get('type')}: {m.get('message')}" for m in messages]
    check(not said, f"{label}: the Nu Html Checker says {said[:5]}")


FOCUS = """
const active = document.activeElement;
const style = getComputedStyle(active);
return {id: active.id, cls: active.className, role: active.getAttribute('role'),
        outline: style.outlineStyle, width: parseFloat(style.outlineWidth)};
"""


# The places the search found and the one it reached, by their place among
# the items found; what has the focus.
REACHED = """
const items = [...document.querySelectorAll('.key, .control, .row, .card')];
const current = items.filter(el => el.classList.contains('current'));
return {active: document.activeElement.id, current: current.map(el => items.indexOf(el)),
        key: current.length === 1 && current[0].matches('.key')
             ? current[0].querySelector('.key-name').textContent : null,
        said: document.getElementById('reached').textContent,
        shown: items.filter(el => el.matches('.hit') && el.getClientRects().length > 0).length,
        hits: items.filter(el => el.matches('.hit'))
                   .map(el => el.matches('.key') ? 'key ' + el.dataset.key : el.id),
        pressed: document.getElementById('press-key').getAttribute('aria-pressed')};
"""


def check_keyboard(driver, label):
    """Tab reaches the search field, the key to press and then the keyboard's
    frame, each showing its focus; Enter in the search goes to the key of
    that name, then each time to the next place found, round to the first,
    Shift+Enter back, the typing staying in the field; the key pressed next
    after "Press a key" is found on each keyboard."""
    driver.execute_script("document.activeElement.blur(); window.scrollTo(0, 0);")
    ActionChains(driver).send_keys(Keys.TAB).perform()
    search = driver.execute_script(FOCUS)
    check(search["id"] == "search", f"{label}: Tab does not reach the search field: {search}")
    ActionChains(driver).send_keys(Keys.TAB).perform()
    press = driver.execute_script(FOCUS)
    check(press["id"] == "press-key", f"{label}: Tab does not reach the key to press: {press}")
    ActionChains(driver).send_keys(Keys.TAB).perform()
    knee = driver.execute_script(FOCUS)
    check(knee["id"] == "kneeboard", f"{label}: Tab does not reach the kneeboard pages: {knee}")
    ActionChains(driver).send_keys(Keys.TAB).perform()
    frame = driver.execute_script(FOCUS)
    check("keyboard-frame" in frame["cls"], f"{label}: Tab does not reach the keyboard: {frame}")
    for what, focused in (("the search field", search), ("the key to press", press),
                          ("the kneeboard pages", knee), ("the keyboard", frame)):
        check(focused["outline"] != "none" and focused["width"] >= 2,
              f"{label}: {what} shows no focus: {focused}")
    # Typed and sent where the focus is, as a person types.
    driver.find_element("id", "search").click()
    ActionChains(driver).send_keys("pause").perform()
    seen = []
    for n in range(3):
        ActionChains(driver).send_keys(Keys.ENTER).perform()
        r = driver.execute_script(REACHED)
        check(r["active"] == "search", f"{label}: Enter {n + 1} took the focus to {r['active']!r}")
        check(len(r["current"]) == 1 and r["current"][0] not in seen and r["said"],
              f"{label}: Enter {n + 1} reached {r['current']} after {seen}, said {r['said']!r}")
        if n == 0:
            check(r["key"] == "Pause", f"{label}: the first Enter reached {r['key']!r}, not the key")
        seen += r["current"]
    ActionChains(driver).key_down(Keys.SHIFT).send_keys(Keys.ENTER).key_up(Keys.SHIFT).perform()
    check(driver.execute_script(REACHED)["current"] == seen[1:2],
          f"{label}: Shift+Enter does not go back")
    for _ in range(driver.execute_script(REACHED)["shown"] - 1):
        ActionChains(driver).send_keys(Keys.ENTER).perform()
    check(driver.execute_script(REACHED)["current"] == seen[:1],
          f"{label}: Enter does not come round to the first place")
    # The key pressed next, by its place: Page Up on each keyboard.
    driver.find_element("id", "press-key").click()
    ActionChains(driver).send_keys(Keys.PAGE_UP).perform()
    r = driver.execute_script(REACHED)
    keys = [h for h in r["hits"] if h.startswith("key")]
    check(keys and set(keys) == {"key 201"} and
          all(h.startswith("key") or h.endswith("-key-201") for h in r["hits"]) and
          r["pressed"] == "false",
          f"{label}: Page Up pressed finds {r['hits']}, the control {r['pressed']}")
    driver.execute_script("const box = document.getElementById('search'); box.value = '';"
                          "box.dispatchEvent(new Event('input'));")


CARDS_PRINTED = """
const out = [];
for (const card of document.querySelectorAll('.card')) {
  const rects = [...card.getClientRects()].filter(r => r.height > 0);
  out.push({card: card.dataset.joystick, pieces: rects.length,
            height: rects.reduce((h, r) => h + r.height, 0)});
}
return out;
"""


def check_printed_cards(driver, label):
    """Printed, a joystick card stays whole in its column unless it is
    longer than a column."""
    emulate(driver, PRINT_WIDTH, PRINT_HEIGHT, media="print")
    for card in driver.execute_script(CARDS_PRINTED):
        check(card["pieces"] <= 1 or card["height"] > PRINT_HEIGHT,
              f"{label}: printed, the card {card['card']} is broken in {card['pieces']} pieces")
    emulate(driver)


def png_gray(png):
    """The gray levels of a PNG screenshot (8-bit RGB or RGBA, not
    interlaced), as rows of numbers."""
    width, height = struct.unpack(">II", png[16:24])
    kind = png[25]  # 8-bit samples, as a screenshot has them
    channels = {2: 3, 6: 4}[kind]
    data, at = b"", 8
    while at < len(png):
        length = struct.unpack(">I", png[at:at + 4])[0]
        if png[at + 4:at + 8] == b"IDAT":
            data += png[at + 8:at + 8 + length]
        at += 12 + length
    raw = zlib.decompress(data)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind_of_filter = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            a = line[x - channels] if x >= channels else 0
            b = previous[x]
            c = previous[x - channels] if x >= channels else 0
            if kind_of_filter == 1:
                line[x] = (line[x] + a) & 255
            elif kind_of_filter == 2:
                line[x] = (line[x] + b) & 255
            elif kind_of_filter == 3:
                line[x] = (line[x] + (a + b) // 2) & 255
            elif kind_of_filter == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([sum(line[x * channels:x * channels + 3]) // 3 for x in range(width)])
        previous = line
    return rows


EDGE_OF = """
const key = document.querySelector(arguments[0]);
if (!key) return null;
key.scrollIntoView({block: 'center'});
const r = key.getBoundingClientRect();
return {x: r.left, y: r.top, width: r.width, height: r.height};
"""


def check_black_and_white(driver, label):
    """Printed in black and white, each state of a key looks its own: the
    gray levels across its left edge, and along its top edge."""
    emulate(driver, PRINT_WIDTH, PRINT_HEIGHT, media="print")
    driver.execute_script("document.documentElement.style.filter = 'grayscale(1)';")
    looks = {}
    for state, selector in (("free", ".key.free:not([data-conflict])"),
                            ("bound", ".key.bound:not([data-conflict])"),
                            ("taken", ".key.taken:not([data-conflict])"),
                            ("conflict", ".key[data-conflict]")):
        box = driver.execute_script(EDGE_OF, selector)
        if box is None:
            continue
        shot = driver.execute_cdp_cmd("Page.captureScreenshot", {
            "format": "png", "clip": {"x": box["x"], "y": box["y"], "width": box["width"],
                                      "height": box["height"], "scale": 2}})
        rows = png_gray(base64.b64decode(shot["data"]))
        # Across the left edge, before the key's text, the dark lines (a
        # shade a person tells from white in black and white): none, one,
        # two; and how wide.
        middle = rows[len(rows) // 2][:5]
        dark = [v < 128 for v in middle]
        last = max((i for i, d in enumerate(dark) if d), default=-1)
        lines = sum(1 for i in range(last + 1) if dark[i] and (i == 0 or not dark[i - 1]))
        width = sum(dark[:last + 1])
        # Along the top edge, a dashed line breaks many times.
        top = rows[1][len(rows[1]) // 4:3 * len(rows[1]) // 4]
        dashed = sum(1 for a, b in zip(top, top[1:]) if abs(a - b) > 40) > 2
        # A conflict's mark of its own: its top right corner filled, inside
        # its border.
        marked = rows[6][-7] < 128
        looks[state] = (lines, width > 3, dashed, marked)
    driver.execute_script("document.documentElement.style.filter = '';")
    emulate(driver)
    check(len(looks) == 4, f"{label}: not every state of a key is drawn: {sorted(looks)}")
    check(len(set(looks.values())) == len(looks),
          f"{label}: in black and white, states of keys look alike: {looks}")
    check([state for state, look in looks.items() if look[3]] == ["conflict"],
          f"{label}: in black and white, the conflict's mark: {looks}")
