"""The reference card on a tablet and a phone, its search and its free keys,
as a pilot would find them."""

import os

from card_browser import check, check_key_text, emulate

# What a tablet or a phone shows: what scrolls sideways, where the keyboards
# end, the keys bound or taken whose line is missing, and the lines' text.
NARROW = """
const shown = e => e.getClientRects().length > 0;
const frames = [...document.querySelectorAll('body *')].filter(e => {
  const o = getComputedStyle(e).overflowX;
  return (o === 'auto' || o === 'scroll') && e.scrollWidth > e.clientWidth + 1;
}).map(e => e.className);
const missing = [];
for (const part of document.querySelectorAll('[data-version]')) {
  for (const key of part.querySelectorAll('.key.bound, .key.taken')) {
    const line = document.getElementById('v' + part.dataset.version + '-key-' + key.dataset.key);
    if (!line || !shown(line)) missing.push(part.dataset.version + ':' + key.dataset.key);
  }
}
// Every key of the map named, its name within the key, never cut at its
// edge; the names' smallest size; the keys that are too small a target and
// too near another (WCAG 2.2's target size: 24 px, or a 24 px circle on
// each that meets no other target nor circle).
const keys = [...document.querySelectorAll('[data-version] .key')].filter(shown);
const names = keys.map(k => [...k.querySelectorAll('.key-name, .key-short')].find(shown));
const unnamed = keys.filter((k, i) => !names[i] || names[i].textContent.trim() === '')
                    .map(k => k.dataset.key);
const nameSize = Math.min(...names.filter(n => n).map(n => parseFloat(getComputedStyle(n).fontSize)));
const boxes = keys.map(k => k.getBoundingClientRect());
const small = r => r.width < 24 || r.height < 24;
const centre = r => [r.left + r.width / 2, r.top + r.height / 2];
const near = [];
boxes.forEach((a, i) => {
  if (!small(a)) return;
  const [ax, ay] = centre(a);
  boxes.forEach((b, j) => {
    if (i === j || keys[i].closest('.keyboard') !== keys[j].closest('.keyboard')) return;
    const [bx, by] = centre(b);
    const apart = small(b) ? Math.hypot(ax - bx, ay - by) >= 24 - 0.01
      : Math.hypot(Math.max(b.left - ax, 0, ax - b.right), Math.max(b.top - ay, 0, ay - b.bottom)) >= 12 - 0.01;
    if (!apart && near.length < 8) near.push(keys[i].dataset.key + '/' + keys[j].dataset.key);
  });
});
const cut = [...document.querySelectorAll('.keyboard .key-name, .keyboard .key-short')].filter(shown).filter(n => {
  if (n.textContent.trim() === '') return false;
  const text = document.createRange();
  text.selectNodeContents(n);
  const r = text.getBoundingClientRect(), k = n.closest('.key').getBoundingClientRect();
  return r.left < k.left - 1 || r.right > k.right + 1;
}).map(n => n.textContent);
const lines = [...document.querySelectorAll('.key-lines li')].filter(shown);
// Each shown list of the keys' lines under its heading.
const unheaded = [...document.querySelectorAll('.key-lines')].filter(shown).filter(l => {
  const h = l.previousElementSibling;
  return !h || h.tagName !== 'H3' || !shown(h);
}).length;
return {page: document.documentElement.scrollWidth, screen: window.innerWidth, frames: frames,
        right: Math.max(...[...document.querySelectorAll('.keyboard')]
                                .map(b => b.getBoundingClientRect().right)),
        hints: [...document.querySelectorAll('.scroll-hint')].filter(shown).length,
        missing: missing, lines: lines.length, cut: cut, unheaded: unheaded, unnamed: unnamed,
        nameSize: nameSize, near: near,
        smallest: Math.min(...lines.map(l => parseFloat(getComputedStyle(l).fontSize)))};
"""

# A tap on the first key bound of the map: the id of what it went to, and
# of that key's line.
TAP = """
const key = document.querySelector('[data-version] .key.bound');
key.click();
return [document.activeElement.id,
        'v' + key.closest('[data-version]').dataset.version + '-key-' + key.dataset.key];
"""


def check_narrow(driver, label):
    """A tablet shows the whole keyboard, its texts read; a phone every
    binding and every key's name, nothing scrolling sideways, its keys a
    target a finger finds at 390 px (narrower, a key's line below is the
    target the rule's exception allows)."""
    for width in (768, 390, 360, 320):
        name = f"{label} at {width} px"
        emulate(driver, width, 900, mobile=True)
        n = driver.execute_script(NARROW)
        check(n["page"] <= n["screen"], f"{name}: the page is {n['page']} px wide, it scrolls")
        check(not n["frames"], f"{name}: these scroll sideways: {n['frames']}")
        check(n["right"] <= n["screen"], f"{name}: a keyboard ends at {n['right']:.0f} px")
        check(n["hints"] == 0, f"{name}: a keyboard says that it scrolls")
        if width == 768:
            check_key_text(driver, name, 7)
            check(n["lines"] == 0, f"{name}: the keys' lines are shown beside the drawing")
        else:
            check(not n["missing"], f"{name}: keys without their line: {n['missing'][:8]}")
            check(n["smallest"] >= 8, f"{name}: the keys' lines in {n['smallest']} px")
            check(not n["cut"], f"{name}: names cut at their key's edge: {n['cut'][:8]}")
            check(not n["unnamed"], f"{name}: keys without a name: {n['unnamed'][:8]}")
            if width == 390:
                check(n["nameSize"] >= 7, f"{name}: the map's names in {n['nameSize']:.2f} px")
                check(not n["near"], f"{name}: keys too small and near: {n['near']}")
            check(n["unheaded"] == 0, f"{name}: {n['unheaded']} lists of keys without a heading")
            went, line = driver.execute_script(TAP)
            check(went == line, f"{name}: a tap on a key goes to {went!r}, not its line {line}")
    # Zoomed in, the frame that then scrolls says so.
    emulate(driver, 1280, 900)
    driver.execute_script("document.body.style.zoom = 3; window.dispatchEvent(new Event('resize'));")
    check(driver.execute_script(NARROW)["hints"] > 0, f"{label}: zoomed, no word that it scrolls")
    driver.execute_script("document.body.style.zoom = ''; window.dispatchEvent(new Event('resize'));")
    emulate(driver)


# The search for a text: what it highlights, each with whether it is what a
# pilot would look for: a command holding the text (`kind` "command"; on the
# version-3 card, by the name version 2 gave it too, `former` the version-3
# names of the version-2 ones), the key of that name ("key": its line, its
# conflict, its free range too; the first place Enter goes to; then the
# commands that hold it), what the
# tool of that name takes ("tool"), the free keys, controls and ranges
# ("free"), the keys a tool takes ("taken"), those not known ("unknown"),
# the keys and controls in conflict ("conflict"),
# the card of a device ("device"), nothing ("nothing"); and the count it
# shows.
SEARCH = """
const [text, kind, former] = arguments;
const box = document.getElementById('search');
box.value = text;
box.dispatchEvent(new Event('input'));
const q = text.toLowerCase();
const low = el => el.textContent.trim().toLowerCase();
const commands = el => el.matches('.card') ? [] : [...el.querySelectorAll('.command')].map(low);
const wanted = el => {
  if (kind === 'command') {
    const third = el.closest('[data-version="3"]') !== null;
    return commands(el).some(c => c.includes(q) || (third && (former[c] || '').includes(q)));
  }
  if (kind === 'key') return [...el.querySelectorAll('.key-name, b, th')].some(n => low(n) === q) ||
                             (el.dataset.keys || '').toLowerCase().split('\\n').includes(q) ||
                             commands(el).some(c => c.includes(q));
  if (kind === 'tool') return [...el.querySelectorAll('.tool-name')].some(n => low(n) === q);
  if (kind === 'taken') return el.matches('.key.taken') || el.querySelector('.tool-name') !== null;
  if (kind === 'unknown') return el.matches('.key.unknown');
  if (kind === 'conflict') return el.hasAttribute('data-conflict');
  if (kind === 'device') return el.matches('.card') && low(el.querySelector('h4')) === q;
  if (kind === 'nothing') return false;
  return el.matches('.key.free, .control.free, [data-free]');
};
const wrong = [];
let hits = 0, shown = 0, free = 0;
for (const el of document.querySelectorAll('.key, .control, .row, .card')) {
  const hit = el.classList.contains('hit');
  if (hit) hits++;
  if (hit && el.getClientRects().length > 0) shown++;
  if (el.matches('.key.free')) free++;
  if (hit !== wanted(el)) {
    wrong.push((el.dataset.key || el.dataset.button || el.dataset.axis || '') + ' ' +
               el.textContent.slice(0, 40));
  }
}
const count = document.getElementById('found').textContent;
box.dispatchEvent(new KeyboardEvent('keydown', {key: 'Enter'}));
const first = document.querySelector('.current');
return {visible: !box.hidden && box.offsetWidth > 0, hits: hits, shown: shown, wrong: wrong,
        count: count, free: free, searching: document.body.classList.contains('searching'),
        first: first && first.matches('.key') ? low(first.querySelector('.key-name')) : null};
"""


def check_search(driver, label, searches, found, former=None):
    """Each search highlights what it should, and says how many places;
    `found` is the count's words for none, one place and more ("# found")."""
    for text, kind in searches:
        name = f"{label}: searching {text!r}"
        result = driver.execute_script(SEARCH, text, kind, former or {})
        check(result["visible"], f"{label}: the search field is not shown")
        check((result["hits"] > 0) == (kind != "nothing"), f"{name} highlights {result['hits']}")
        check(not result["wrong"], f"{name} marks wrongly: {result['wrong'][:5]}")
        check(kind != "free" or result["hits"] >= result["free"], f"{name}: not every free key")
        check(kind != "key" or result["first"] == text.lower(),
              f"{name}: Enter goes first to {result['first']!r}, not the key")
        shown = result["shown"]
        words = found[min(shown, 2)].replace("#", str(shown))
        check(result["count"] == words, f"{name}: the count says {result['count']!r} of {shown}")
    cleared = driver.execute_script(SEARCH, "", "command", {})
    check(cleared["hits"] == 0 and not cleared["searching"] and cleared["count"] == "",
          f"{label}: clearing the search")


# The free keys of each version as the page lists them, and the names of
# the keys of the drawing.
FREE_KEYS = """
return {lists: [...document.querySelectorAll('[data-version]')].map(part =>
          [...part.querySelectorAll('.free-keys li')].flatMap(li => li.dataset.keys.split('\\n'))),
        drawn: [...document.querySelectorAll('[data-version]:first-of-type .key-name')]
                 .map(n => n.textContent)};
"""


def report_free_keys(page):
    """The keys the reports list as used by nothing (Controls.txt beside the
    page): the rows of the last section that name the keyboard."""
    with open(os.path.join(os.path.dirname(page), "Controls.txt"), encoding="cp1252") as f:
        rows = f.read().splitlines()
    last = max(i for i, row in enumerate(rows) if "Aerlon" in row and not row.startswith(" "))
    names = []
    for row in rows[last + 1:]:
        parts = row.split()
        if len(parts) >= 2 and parts[-1] in ("Keyboard", "Clavier"):
            names.append(row[1:row.rindex(parts[-1])].strip())
    return names


def check_free_keys(driver, label, page):
    """The free keys on the page are those the reports list, for the keys
    drawn: in every version's list, the keys free in both versions."""
    free = driver.execute_script(FREE_KEYS)
    drawn = set(free["drawn"])
    in_every = set.intersection(*(set(keys) for keys in free["lists"]))
    reported = set(report_free_keys(page)) & drawn
    check(in_every == reported,
          f"{label}: free keys on the page but not in the reports {sorted(in_every - reported)}, "
          f"in the reports only {sorted(reported - in_every)}")


