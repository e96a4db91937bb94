// The controls of a dialog as HTML elements, placed in pixels by the program.
// `kind` is QvControlKind; `flags` say what the program decided beyond it
// (kQvPage... in platform/web/Page.h): read-only, the default button, an edit
// that keeps Enter.
Object.assign(qvPage, {
  controlCreate(dialog, id, kind, text, flags, x, y, cx, cy) {
    const d = qvDialog(dialog);
    const handle = qvNextHandle++;
    let el;
    switch (kind) {
      case 1:  // push button
        el = document.createElement('button');
        el.textContent = text;
        if (flags & 2) el.classList.add('qv-default');
        break;
      case 2: {  // check box
        el = document.createElement('label');
        const box = document.createElement('input');
        box.type = 'checkbox';
        el.append(box, document.createTextNode(text));
        el.qvInput = box;
        break;
      }
      case 3:  // group box
        el = document.createElement('fieldset');
        el.appendChild(document.createElement('legend')).textContent = text;
        break;
      case 4:  // edit
        el = document.createElement('input');
        el.type = 'text';
        el.value = text;
        el.readOnly = (flags & 1) !== 0;
        break;
      case 5:  // multi-line edit
        el = document.createElement('textarea');
        el.value = text;
        el.readOnly = (flags & 1) !== 0;
        el.qvKeepsEnter = (flags & 4) !== 0;
        break;
      case 6:  // static text
        el = document.createElement('div');
        el.textContent = text;
        break;
      case 7:  // combo box (combos.js)
        el = document.createElement('select');
        el.qvCount = 0;
        el.qvNone = true;
        cy = Math.min(cy, Math.round(qvFont ? qvFont[1] * 1.8 : 20));
        break;
      default:
        el = document.createElement('div');
    }
    el.classList.add('qv-control');
    el.style.left = x + 'px';
    el.style.top = y + 'px';
    el.style.width = cx + 'px';
    el.style.height = cy + 'px';
    el.dataset.handle = handle;
    // Only the user's actions notify: the program's changes fire no event.
    const notify = (code) => { if (id !== -1) qvPost(dialog, 1, id, code); };
    if (kind === 1) el.addEventListener('click', () => notify(0));
    if (kind === 2) el.qvInput.addEventListener('click', () => notify(0));
    if (kind === 7) el.addEventListener('change', () => { el.qvNone = el.selectedIndex < 0; notify(1); });
    if (kind === 3 || kind === 6) el.tabIndex = -1;
    d.client.appendChild(el);
    d.controls++;
    qvElements.set(handle, el);
    return handle;
  },
  getText(c) {
    const el = qvElements.get(c);
    if (!el) return '';
    if (el.qvInput) return el.lastChild.textContent;
    if (el.tagName === 'FIELDSET') return el.firstChild.textContent;
    if ('value' in el && el.tagName !== 'BUTTON' && el.tagName !== 'SELECT') return el.value;
    return el.textContent;
  },
  setText(c, s) {
    const el = qvElements.get(c);
    if (!el) return;
    if (el.qvInput) el.lastChild.textContent = s;
    else if (el.tagName === 'FIELDSET') el.firstChild.textContent = s;
    else if ('value' in el && el.tagName !== 'BUTTON' && el.tagName !== 'SELECT') el.value = s;
    else el.textContent = s;
  },
  getCheck(c) { const el = qvElements.get(c); return el && el.qvInput && el.qvInput.checked ? 1 : 0; },
  setCheck(c, v) { const el = qvElements.get(c); if (el && el.qvInput) el.qvInput.checked = !!v; },
  enable(c, v) {
    const el = qvElements.get(c);
    if (!el) return;
    const target = el.qvInput || el;
    target.disabled = !v;
    el.classList.toggle('qv-disabled', !v);
  },
  isEnabled(c) { const el = qvElements.get(c); return el && !(el.qvInput || el).disabled ? 1 : 0; },
  focusSelect(c) {
    const el = qvElements.get(c);
    if (!el) return;
    el.focus();
    if (el.select) el.select();
  },
});
