// The reference card's search and its map. Every key, control, card and row
// is found by the text typed: a command whose name holds it (on the version
// 3 card, by its version-2 name too), a key's, a control's, a device's or a
// sibling tool's name that is it, or the word of a state ("free", "taken",
// "conflict", "not known"), letter case aside; the rest is dimmed, the count
// of places found is shown and said. The keys of that name come first;
// Enter goes to the next place found, Shift+Enter to the one before, the
// typing staying in the field, and what it reached is said. "Press a key"
// finds the key pressed next by its place on the keyboard, whatever the
// layout. "Kneeboard pages" prints the card's pages for a kneeboard, which
// a kneeboard program shows alone. On a phone a tap on a key of the drawing
// goes to its line; a keyboard wider than its frame (a pilot who zooms)
// says that it scrolls.
// The class names it shares with the page are listed in
// report/page_writer.h.
(function () {
  function lower(text) { return text.trim().toLowerCase(); }
  function words(list) { return (list || '').split('|').map(lower).filter(Boolean); }
  function shown(el) { return el.getClientRects().length > 0; }

  // The controls.ini value of a key by its place on the keyboard (the
  // browser's KeyboardEvent.code): the scan code, 128 added for an
  // extended key.
  var codes = {Escape: 1, Minus: 12, Equal: 13, Backspace: 14, Tab: 15, BracketLeft: 26,
    BracketRight: 27, Enter: 28, ControlLeft: 29, Semicolon: 39, Quote: 40, Backquote: 41,
    ShiftLeft: 42, Backslash: 43, Comma: 51, Period: 52, Slash: 53, ShiftRight: 54,
    NumpadMultiply: 55, AltLeft: 56, Space: 57, CapsLock: 58, Pause: 69, ScrollLock: 70,
    Numpad7: 71, Numpad8: 72, Numpad9: 73, NumpadSubtract: 74, Numpad4: 75, Numpad5: 76,
    Numpad6: 77, NumpadAdd: 78, Numpad1: 79, Numpad2: 80, Numpad3: 81, Numpad0: 82,
    NumpadDecimal: 83, IntlBackslash: 86, F11: 87, F12: 88, IntlRo: 115, NumpadComma: 126,
    NumpadEnter: 156, ControlRight: 157, NumpadDivide: 181, PrintScreen: 183, AltRight: 184,
    NumLock: 197, Home: 199, ArrowUp: 200, PageUp: 201, ArrowLeft: 203, ArrowRight: 205,
    End: 207, ArrowDown: 208, PageDown: 209, Insert: 210, Delete: 211, MetaLeft: 219,
    MetaRight: 220, ContextMenu: 221};
  'QWERTYUIOP'.split('').forEach(function (c, i) { codes['Key' + c] = 16 + i; });
  'ASDFGHJKL'.split('').forEach(function (c, i) { codes['Key' + c] = 30 + i; });
  'ZXCVBNM'.split('').forEach(function (c, i) { codes['Key' + c] = 44 + i; });
  for (var d = 1; d <= 10; d++) codes['Digit' + (d % 10)] = d + 1;
  for (var f = 1; f <= 10; f++) codes['F' + f] = 58 + f;

  var box = document.getElementById('search');
  var found = document.getElementById('found');
  var reached = document.getElementById('reached');
  var press = document.getElementById('press-key');
  if (box) {
    box.hidden = false;
    var items = Array.prototype.slice.call(
      document.querySelectorAll('.key, .control, .row, .card'));
    var free = words(box.dataset.free), taken = words(box.dataset.taken);
    var conflict = words(box.dataset.conflict), unknown = words(box.dataset.unknown);
    var former = {};
    var data = document.getElementById('controls-data');
    try {
      JSON.parse(data.textContent).formerNames.forEach(function (n) {
        var now = lower(n.command);
        (former[now] = former[now] || []).push(lower(n.version2));
      });
    } catch (e) { former = {}; }
    // What each item is found by.
    var terms = items.map(function (el) {
      var names = [];
      el.querySelectorAll('.key-name, .control-name, .tool-name, b, th, h4, .section-header')
        .forEach(function (n) {
          if (!el.classList.contains('card') || n.closest('.control') === null) {
            names.push(lower(n.textContent));
          }
        });
      (el.dataset.keys || '').split('\n').forEach(function (n) { if (n) names.push(lower(n)); });
      var states = [];
      if (el.classList.contains('free') || el.hasAttribute('data-free')) states = states.concat(free);
      if (el.classList.contains('taken') || el.querySelector('.tool-name')) states = states.concat(taken);
      if (el.classList.contains('unknown')) states = states.concat(unknown);
      if (el.hasAttribute('data-conflict')) states = states.concat(conflict);
      var third = el.closest('[data-version="3"]') !== null;
      var commands = [];
      if (!el.classList.contains('card')) {
        el.querySelectorAll('.command').forEach(function (c) {
          var name = lower(c.textContent);
          commands.push(name);
          if (third && former[name]) commands = commands.concat(former[name]);
        });
      }
      var key = el.classList.contains('key') ? el.dataset.key :
        /-key-(\d+)$/.test(el.id) ? /-key-(\d+)$/.exec(el.id)[1] : null;
      return {names: names, states: states, commands: commands, key: key};
    });
    var hits = [], at = -1;
    // The places found for the text typed, or for the key `code` pressed:
    // the keys of that name (or place) first, then the rest in the page's
    // order.
    var find = function (code) {
      var q = lower(box.value);
      document.body.classList.toggle('searching', q.length > 0);
      var first = [], then = [];
      items.forEach(function (el, i) {
        var t = terms[i];
        var named = code !== undefined ? t.key === String(code) : t.names.indexOf(q) >= 0;
        var hit = q.length > 0 && (named || (code === undefined &&
          (t.states.indexOf(q) >= 0 || t.commands.some(function (c) { return c.indexOf(q) >= 0; }))));
        el.classList.toggle('hit', hit);
        el.classList.remove('current');
        if (hit) (named && el.classList.contains('key') ? first : then).push(el);
      });
      hits = first.concat(then);
      at = -1;
      reached.textContent = '';
      var count = hits.filter(shown).length;
      found.textContent = !q ? '' : count === 0 ? box.dataset.foundNone
        : count === 1 ? box.dataset.foundOne : box.dataset.found.replace('#', count);
    };
    // The next place found (`step` 1) or the one before (-1), shown and
    // said; the typing stays in the field.
    var go = function (step) {
      var places = hits.filter(shown);
      if (places.length === 0) return;
      if (at >= 0 && at < places.length) places[at].classList.remove('current');
      at = at < 0 ? (step > 0 ? 0 : places.length - 1)
                  : (at + step + places.length) % places.length;
      var place = places[at];
      place.classList.add('current');
      place.scrollIntoView({block: 'center'});
      var said = place.getAttribute('aria-label') || place.textContent;
      reached.textContent = (at + 1) + '/' + places.length + ': ' + said.replace(/\s+/g, ' ').trim();
    };
    box.addEventListener('input', function () { find(); });
    box.addEventListener('keydown', function (event) {
      if (event.key !== 'Enter') return;
      event.preventDefault();
      go(event.shiftKey ? -1 : 1);
    });
    if (press) {
      press.hidden = false;
      var listening = false;
      var stop = function () {
        listening = false;
        press.setAttribute('aria-pressed', 'false');
      };
      press.addEventListener('click', function () {
        listening = !listening;
        press.setAttribute('aria-pressed', listening ? 'true' : 'false');
      });
      press.addEventListener('blur', stop);
      press.addEventListener('keydown', function (event) {
        if (!listening) return;
        if (event.code === 'Escape') { stop(); return; }
        var code = codes[event.code];
        if (code === undefined) return;
        event.preventDefault();
        stop();
        var key = document.querySelector('[data-version] .key[data-key="' + code + '"] .key-name');
        box.value = key ? key.textContent : String(code);
        find(code);
        go(1);
      });
    }
    find();
  }

  document.querySelectorAll('[data-version] .key').forEach(function (key) {
    key.addEventListener('click', function () {
      var version = key.closest('[data-version]').dataset.version;
      var line = document.getElementById('v' + version + '-key-' + key.dataset.key);
      if (!line || !shown(line)) return;
      if (!line.hasAttribute('tabindex')) line.setAttribute('tabindex', '-1');
      line.focus();
      line.scrollIntoView({block: 'center'});
    });
  });

  // The kneeboard's pages: alone inside a kneeboard program; printed on
  // "Kneeboard pages".
  var root = document.documentElement;
  if (/OpenKneeboard/i.test(navigator.userAgent) || 'OpenKneeboard' in window) {
    root.classList.add('kneeboard');
  }
  var knee = document.getElementById('kneeboard');
  if (knee) {
    knee.hidden = false;
    knee.addEventListener('click', function () {
      root.classList.add('kneeboard');
      window.print();
    });
    window.addEventListener('afterprint', function () {
      if (!('OpenKneeboard' in window)) root.classList.remove('kneeboard');
    });
  }

  var frames = Array.prototype.slice.call(document.querySelectorAll('.keyboard-frame'));
  function hintScrolling() {
    frames.forEach(function (frame) {
      var hint = frame.nextElementSibling;
      if (hint && hint.classList.contains('scroll-hint')) {
        hint.hidden = frame.scrollWidth <= frame.clientWidth + 1;
      }
    });
  }
  window.addEventListener('resize', hintScrolling);
  hintScrolling();
})();
