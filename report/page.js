// The reference card's search and its map. Every key, control and row is
// found by the text typed: a command whose name holds it, a key's, a
// control's or a sibling tool's name that is it, or the word of a state
// ("free", "conflict"), letter case aside; the rest is dimmed, the count of
// places found is shown and said; Enter goes to the first of them, and again
// to the next. On a phone a tap on a key of the drawing goes to its line; a
// keyboard wider than its frame (a pilot who zooms) says that it scrolls.
// The class names it shares with the page are listed in
// report/page_writer.h.
(function () {
  function lower(text) { return text.trim().toLowerCase(); }

  var box = document.getElementById('search');
  var found = document.getElementById('found');
  if (box) {
    box.hidden = false;
    var items = Array.prototype.slice.call(document.querySelectorAll('.key, .control, .row'));
    var free = lower(box.dataset.free), conflict = lower(box.dataset.conflict);
    // What each item is found by.
    var terms = items.map(function (el) {
      var names = [];
      el.querySelectorAll('.key-name, .control-name, .tool-name, b, th')
        .forEach(function (n) { names.push(lower(n.textContent)); });
      (el.dataset.keys || '').split('\n').forEach(function (n) { if (n) names.push(lower(n)); });
      var states = [];
      if (el.classList.contains('free') || el.hasAttribute('data-free')) states.push(free);
      if (el.hasAttribute('data-conflict')) states.push(conflict);
      var commands = [];
      el.querySelectorAll('.command').forEach(function (c) { commands.push(lower(c.textContent)); });
      return {names: names, states: states, commands: commands};
    });
    var hits = [], at = -1;
    var find = function () {
      var q = lower(box.value);
      document.body.classList.toggle('searching', q.length > 0);
      hits = [];
      at = -1;
      items.forEach(function (el, i) {
        var t = terms[i];
        var hit = q.length > 0 && (t.names.indexOf(q) >= 0 || t.states.indexOf(q) >= 0 ||
          t.commands.some(function (c) { return c.indexOf(q) >= 0; }));
        el.classList.toggle('hit', hit);
        if (hit) hits.push(el);
      });
      var shown = hits.filter(function (el) { return el.getClientRects().length > 0; }).length;
      found.textContent = !q ? '' : shown === 1 ? box.dataset.foundOne
                                               : box.dataset.found.replace('#', shown);
    };
    box.addEventListener('input', find);
    box.addEventListener('keydown', function (event) {
      if (event.key !== 'Enter') return;
      var shown = hits.filter(function (el) { return el.getClientRects().length > 0; });
      if (shown.length === 0) return;
      event.preventDefault();
      at = (at + 1) % shown.length;
      var next = shown[at];
      if (!next.hasAttribute('tabindex')) next.setAttribute('tabindex', '-1');
      next.focus();
      next.scrollIntoView({block: 'center'});
    });
    find();
  }

  document.querySelectorAll('[data-version] .key').forEach(function (key) {
    key.addEventListener('click', function () {
      var version = key.closest('[data-version]').dataset.version;
      var line = document.getElementById('v' + version + '-key-' + key.dataset.key);
      if (!line || line.getClientRects().length === 0) return;
      if (!line.hasAttribute('tabindex')) line.setAttribute('tabindex', '-1');
      line.focus();
      line.scrollIntoView({block: 'center'});
    });
  });

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
