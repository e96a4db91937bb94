// Dialog windows: shown in creation order over the page's desktop, the top
// one alone takes input (the others are inert), as do message boxes above all.
const qvElements = new Map();  // handle -> element, of dialogs and controls
const qvDialogs = [];          // shown and hidden dialogs, oldest first
const qvBoxes = [];            // open message boxes, the topmost last
let qvNextHandle = 1;
let qvFont = null;             // the dialog font's [width of A..Za..z, height]

function qvTopDialog() {
  for (let i = qvDialogs.length - 1; i >= 0; --i) if (qvDialogs[i].shown) return qvDialogs[i];
  return null;
}

function qvDialog(handle) {
  return qvDialogs.find((e) => e.handle === handle);
}

function qvUpdateInert() {
  const top = qvTopDialog();
  for (const d of qvDialogs) d.el.inert = qvBoxes.length > 0 || d !== top;
  qvBoxes.forEach((b, i) => { b.overlay.inert = i !== qvBoxes.length - 1; });
  if (Module.qvOnModalChange) Module.qvOnModalChange(top ? qvDialogs.indexOf(top) : -1, qvBoxes.length > 0);
}

Object.assign(qvPage, {
  // The program computes the base units from these (platform/DialogUnits.h).
  fontSize(vertical) {
    if (!qvFont) {
      const ctx = document.createElement('canvas').getContext('2d');
      ctx.font = '8pt QvDialogFont, "DejaVu Sans", sans-serif';
      const m = ctx.measureText('ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz');
      qvFont = [Math.round(m.width), Math.round(m.fontBoundingBoxAscent) + Math.round(m.fontBoundingBoxDescent)];
    }
    return qvFont[vertical ? 1 : 0];
  },
  dialogCreate(caption, cx, cy) {
    let desktop = document.getElementById('qv-desktop');
    if (!desktop) {
      desktop = document.createElement('div');
      desktop.id = 'qv-desktop';
      document.body.appendChild(desktop);
    }
    const el = document.createElement('div');
    el.className = 'qv-dialog';
    el.setAttribute('role', 'dialog');
    el.setAttribute('aria-label', caption);
    el.style.display = 'none';
    const bar = document.createElement('div');
    bar.className = 'qv-caption';
    const title = document.createElement('span');
    title.textContent = caption;
    const close = document.createElement('button');
    close.className = 'qv-close';
    close.textContent = '\u00D7';
    close.tabIndex = -1;
    close.setAttribute('aria-label', 'Chiudi');
    close.qvKeepsEnter = true;  // it clicks itself
    bar.append(title, close);
    const client = document.createElement('div');
    client.className = 'qv-client';
    client.style.width = cx + 'px';
    client.style.height = cy + 'px';
    el.append(bar, client);
    desktop.appendChild(el);
    const handle = qvNextHandle++;
    close.addEventListener('click', () => qvCancel(handle));
    qvElements.set(handle, el);
    qvDialogs.push({handle, el, client, shown: false, controls: 0});
    return handle;
  },
  dialogShow(dialog, focusFirst) {
    const d = qvDialog(dialog);
    if (!d) return;
    d.shown = true;
    d.el.style.display = '';
    qvFitTexts(d.client);
    qvUpdateInert();
    if (focusFirst) {
      const f = d.client.querySelector('input:not(:disabled), select:not(:disabled), textarea:not(:disabled), button:not(:disabled)');
      if (f) f.focus();
    }
    if (!d.controls) d.el.tabIndex = -1, d.el.focus();
  },
  dialogHide(dialog) {
    const d = qvDialog(dialog);
    if (!d) return;
    d.shown = false;
    d.el.style.display = 'none';
    qvUpdateInert();
  },
  dialogDestroy(dialog) {
    const i = qvDialogs.findIndex((e) => e.handle === dialog);
    if (i < 0) return;
    const d = qvDialogs[i];
    qvDialogs.splice(i, 1);
    // (no destructuring in loops: the build's JavaScript optimizer cannot read it)
    for (const h of [...qvElements.keys()]) if (h === dialog || d.el.contains(qvElements.get(h))) qvElements.delete(h);
    qvDropTimers(dialog);
    d.el.remove();
    qvUpdateInert();
    const top = qvTopDialog();
    if (top) {
      const f = top.el.querySelector('.qv-client :focus') || top.client.querySelector('select, input, button');
      if (f) f.focus();
    }
  },
});
