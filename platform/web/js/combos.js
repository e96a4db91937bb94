// Combo box lines. A list of many systems is built one insertion at a time:
// the count and the "none selected" are kept on the element, since reading
// its `options.length` or `selectedIndex` after each insertion costs the
// whole list again (50,000 systems took minutes).
Object.assign(qvPage, {
  comboCount(c) { const el = qvElements.get(c); return el ? el.qvCount : -1; },
  comboInsert(c, index, s) {
    const el = qvElements.get(c);
    if (!el) return -1;
    const o = document.createElement('option');
    o.textContent = s;
    if (index < 0 || index >= el.qvCount) {
      el.appendChild(o);
      index = el.qvCount;
    } else {
      el.insertBefore(o, el.options[index]);
    }
    el.qvCount++;
    // The selected line stays selected; none stays none (a drop-down list
    // selects its first line), once the insertions are done.
    if (el.qvNone && !el.qvUnselect) {
      el.qvUnselect = true;
      queueMicrotask(() => {
        el.qvUnselect = false;
        if (el.qvNone) el.selectedIndex = -1;
      });
    }
    return index;
  },
  comboDelete(c, index) {
    const el = qvElements.get(c);
    if (!el || index < 0 || index >= el.qvCount) return;
    const sel = this.comboGetSel(c);
    el.options[index].remove();
    el.qvCount--;
    if (sel === index || sel < 0) this.comboSetSel(c, -1);
  },
  comboGetSel(c) { const el = qvElements.get(c); return !el ? -1 : el.qvNone ? -1 : el.selectedIndex; },
  comboSetSel(c, index) {
    const el = qvElements.get(c);
    if (!el) return;
    el.qvNone = !(index >= 0 && index < el.qvCount);
    el.selectedIndex = el.qvNone ? -1 : index;
  },
});
