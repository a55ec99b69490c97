// The reference card's search: every key, control and row that holds a
// command whose name holds the text typed is highlighted, the rest dimmed;
// Enter goes to the first of them. The class names it shares with the page
// are listed in report/page_writer.h.
(function () {
  var box = document.getElementById('search');
  if (!box) return;
  box.hidden = false;
  var items = Array.prototype.slice.call(document.querySelectorAll('.key, .control, .row'));
  function find() {
    var q = box.value.trim().toLowerCase();
    document.body.classList.toggle('searching', q.length > 0);
    items.forEach(function (el) {
      var hit = false;
      if (q) {
        el.querySelectorAll('.command').forEach(function (c) {
          if (c.textContent.toLowerCase().indexOf(q) >= 0) hit = true;
        });
      }
      el.classList.toggle('hit', hit);
    });
  }
  box.addEventListener('input', find);
  box.addEventListener('keydown', function (event) {
    if (event.key !== 'Enter') return;
    var first = items.filter(function (el) { return el.classList.contains('hit'); })[0];
    if (!first) return;
    event.preventDefault();
    if (!first.hasAttribute('tabindex')) first.setAttribute('tabindex', '-1');
    first.focus();
    first.scrollIntoView({block: 'center'});
  });
  find();
})();
