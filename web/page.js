// The page's side of the program: dialogs and controls as HTML elements,
// message boxes, the run's canvas and the clock (the browser's storage is
// web/storage.js). The C++ code calls these through Module.qvPage and waits
// on nextEvent().
Module.qvPage = (function () {
  const IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7;
  const EV_COMMAND = 1, EV_KEY = 2, EV_TIMER = 3, EV_ENTER = 4, EV_ANSWER = 5;
  const KIND_PUSH = 1, KIND_CHECK = 2, KIND_GROUP = 3, KIND_EDIT = 4, KIND_MULTI = 5, KIND_STATIC = 6, KIND_COMBO = 7;
  const ES_READONLY = 0x800, ES_WANTRETURN = 0x1000, BS_DEFPUSHBUTTON = 0x1;
  const FONT = '8pt QvDialogFont, "DejaVu Sans", sans-serif';

  let nextHandle = 1;
  const elements = new Map();   // handle -> element
  const dialogs = [];           // shown and hidden dialogs, oldest first
  const queue = [];
  let waiter = null;
  const boxes = [];             // open message boxes, the topmost last

  function post(e) {
    if (e.kind === EV_TIMER && queue.some((q) => q.kind === EV_TIMER && q.window === e.window && q.a === e.a))
      return;  // ticks not yet taken are not piled up
    queue.push(e);
    if (waiter) {
      const w = waiter;
      waiter = null;
      w(queue.shift());
    }
  }

  function desktop() {
    let d = document.getElementById('qv-desktop');
    if (!d) {
      d = document.createElement('div');
      d.id = 'qv-desktop';
      document.body.appendChild(d);
    }
    return d;
  }

  function topDialog() {
    for (let i = dialogs.length - 1; i >= 0; --i) if (dialogs[i].shown) return dialogs[i];
    return null;
  }

  function updateInert() {
    const top = topDialog();
    for (const d of dialogs) d.el.inert = boxes.length > 0 || d !== top;
    boxes.forEach((b, i) => { b.overlay.inert = i !== boxes.length - 1; });
    if (Module.qvOnModalChange) Module.qvOnModalChange(top ? dialogs.indexOf(top) : -1, boxes.length > 0);
  }

  function measureUnits() {
    const ctx = document.createElement('canvas').getContext('2d');
    ctx.font = FONT;
    const m = ctx.measureText('ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz');
    const cx = Math.max(1, Math.floor((Math.round(m.width) / 26 + 1) / 2));
    const cy = Math.max(1, Math.round(m.fontBoundingBoxAscent) + Math.round(m.fontBoundingBoxDescent));
    return [cx, cy];
  }
  let units = null;

  // The clock of all timers: one animation-frame loop.
  const timers = new Map();  // "window:id" -> {window, id, ticker}
  let frameLoop = false;
  function frame(now) {
    if (timers.size === 0) {
      frameLoop = false;
      return;
    }
    for (const t of timers.values()) {
      const n = t.ticker.advance(now);
      for (let i = 0; i < n; ++i) post({window: t.window, kind: EV_TIMER, a: t.id, b: 0});
    }
    requestAnimationFrame(frame);
  }

  // The run's screen. The program scales the frame to the viewport's device
  // pixels; the canvas holds them one for one.
  let screen = null;  // {window, back, canvas, ctx, image, place, fullscreen}
  document.addEventListener('fullscreenchange', () => {
    if (!screen) return;
    if (document.fullscreenElement) screen.fullscreen = true;
    else if (screen.fullscreen) {
      // Leaving the browser's full screen ends the run as ESC does.
      screen.fullscreen = false;
      post({window: screen.window, kind: EV_COMMAND, a: IDCANCEL, b: 0});
    }
  });

  // A key for the window `d`: ESC cancels any dialog; the keys of a window
  // without controls (the run) go to it as virtual keys. The keyboard and the
  // run's touch row both come here. False for a key the program does not know.
  function pressKey(d, code, repeat) {
    if (code === 'Escape') {
      post({window: d.handle, kind: EV_COMMAND, a: IDCANCEL, b: 0});
      return true;
    }
    const vk = d.controls === 0 ? qvVirtualKey(code) : 0;
    if (vk) post({window: d.handle, kind: EV_KEY, a: vk, b: repeat ? 0x4000 : 0});
    return vk !== 0;
  }

  // Tab and Shift+Tab go round the focusable controls of `container`, in
  // their order, and never leave it.
  function cycleFocus(container, ev) {
    const all = [...container.querySelectorAll('input, select, textarea, button')]
      .filter((e) => !e.disabled && e.tabIndex >= 0 && e.getClientRects().length > 0);
    ev.preventDefault();
    if (!all.length) return;
    const i = all.indexOf(document.activeElement);
    const next = i < 0 ? (ev.shiftKey ? all.length - 1 : 0) : (i + (ev.shiftKey ? all.length - 1 : 1)) % all.length;
    all[next].focus();
  }

  // Every key goes to the topmost modal window alone: the topmost message
  // box, else the top dialog; nothing beneath it ever sees the key.
  document.addEventListener('keydown', (ev) => {
    if (boxes.length) {
      boxes[boxes.length - 1].key(ev);
      return;
    }
    const d = topDialog();
    if (!d) return;
    if (ev.key === 'Tab' && d.controls > 0 && !ev.altKey && !ev.ctrlKey && !ev.metaKey) {
      cycleFocus(d.client, ev);
      return;
    }
    if (ev.key === 'Escape' || ev.code === 'Escape') {
      ev.preventDefault();
      pressKey(d, 'Escape', false);
      return;
    }
    if (ev.key === 'Enter' && !ev.altKey && !ev.ctrlKey && !ev.metaKey) {
      const t = ev.target;
      if (t && t.tagName === 'BUTTON' && d.el.contains(t)) return;  // the button clicks itself
      if (t && t.tagName === 'TEXTAREA' && t.dataset.wantReturn) return;
      ev.preventDefault();
      post({window: d.handle, kind: EV_ENTER, a: 0, b: 0});
      return;
    }
    if (d.controls === 0) {
      if (ev.altKey || ev.key === 'Alt' || ev.key === 'F10' || ev.key === 'Tab') return;
      if (pressKey(d, ev.code, ev.repeat)) ev.preventDefault();
    }
  });

  return {
    post,
    nextEvent() {
      if (queue.length) return Promise.resolve(queue.shift());
      return new Promise((resolve) => { waiter = resolve; });
    },
    baseUnit(vertical) {
      if (!units) units = measureUnits();
      return units[vertical ? 1 : 0];
    },
    dialogCreate(parent, caption, cx, cy) {
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
      bar.append(title, close);
      const client = document.createElement('div');
      client.className = 'qv-client';
      client.style.width = cx + 'px';
      client.style.height = cy + 'px';
      el.append(bar, client);
      desktop().appendChild(el);
      const handle = nextHandle++;
      close.addEventListener('click', () => post({window: handle, kind: EV_COMMAND, a: IDCANCEL, b: 0}));
      elements.set(handle, el);
      dialogs.push({handle, el, client, shown: false, controls: 0, parent});
      return handle;
    },
    controlCreate(dialog, id, kind, text, style, x, y, cx, cy) {
      const d = dialogs.find((e) => e.handle === dialog);
      const handle = nextHandle++;
      let el;
      switch (kind) {
        case KIND_PUSH:
          el = document.createElement('button');
          el.textContent = text;
          if ((style & 0xF) === BS_DEFPUSHBUTTON) el.classList.add('qv-default');
          break;
        case KIND_CHECK: {
          el = document.createElement('label');
          const box = document.createElement('input');
          box.type = 'checkbox';
          el.append(box, document.createTextNode(text));
          el.qvInput = box;
          break;
        }
        case KIND_GROUP:
          el = document.createElement('fieldset');
          el.appendChild(document.createElement('legend')).textContent = text;
          break;
        case KIND_EDIT:
          el = document.createElement('input');
          el.type = 'text';
          el.value = text;
          el.readOnly = (style & ES_READONLY) !== 0;
          break;
        case KIND_MULTI:
          el = document.createElement('textarea');
          el.value = text;
          el.readOnly = (style & ES_READONLY) !== 0;
          if (style & ES_WANTRETURN) el.dataset.wantReturn = '1';
          break;
        case KIND_STATIC:
          el = document.createElement('div');
          el.textContent = text;
          break;
        case KIND_COMBO:
          el = document.createElement('select');
          el.qvCount = 0;
          el.qvNone = true;
          cy = Math.min(cy, Math.round(units ? units[1] * 1.8 : 20));
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
      const notify = (code) => { if (id !== -1) post({window: dialog, kind: EV_COMMAND, a: id, b: code}); };
      if (kind === KIND_PUSH) el.addEventListener('click', () => notify(0));
      if (kind === KIND_CHECK) el.qvInput.addEventListener('click', () => notify(0));
      if (kind === KIND_COMBO) el.addEventListener('change', () => { el.qvNone = el.selectedIndex < 0; notify(1); });
      if (kind === KIND_GROUP || kind === KIND_STATIC) el.tabIndex = -1;
      d.client.appendChild(el);
      d.controls++;
      elements.set(handle, el);
      return handle;
    },
    dialogShow(dialog, focusFirst) {
      const d = dialogs.find((e) => e.handle === dialog);
      if (!d) return;
      d.shown = true;
      d.el.style.display = '';
      qvFitTexts(d.client);
      updateInert();
      if (focusFirst) {
        const f = d.client.querySelector('input:not(:disabled), select:not(:disabled), textarea:not(:disabled), button:not(:disabled)');
        if (f) f.focus();
      }
      if (!d.controls) d.el.tabIndex = -1, d.el.focus();
    },
    dialogHide(dialog) {
      const d = dialogs.find((e) => e.handle === dialog);
      if (!d) return;
      d.shown = false;
      d.el.style.display = 'none';
      updateInert();
    },
    dialogDestroy(dialog) {
      const i = dialogs.findIndex((e) => e.handle === dialog);
      if (i < 0) return;
      const d = dialogs[i];
      dialogs.splice(i, 1);
      // (no destructuring in loops: the build's JavaScript optimizer cannot read it)
      for (const h of [...elements.keys()]) if (h === dialog || d.el.contains(elements.get(h))) elements.delete(h);
      for (const k of [...timers.keys()]) if (k.startsWith(dialog + ':')) timers.delete(k);
      d.el.remove();
      updateInert();
      const top = topDialog();
      if (top) {
        const f = top.el.querySelector('.qv-client :focus') || top.client.querySelector('select, input, button');
        if (f) f.focus();
      }
    },
    getText(c) {
      const el = elements.get(c);
      if (!el) return '';
      if (el.qvInput) return el.lastChild.textContent;
      if (el.tagName === 'FIELDSET') return el.firstChild.textContent;
      if ('value' in el && el.tagName !== 'BUTTON' && el.tagName !== 'SELECT') return el.value;
      return el.textContent;
    },
    setText(c, s) {
      const el = elements.get(c);
      if (!el) return;
      if (el.qvInput) el.lastChild.textContent = s;
      else if (el.tagName === 'FIELDSET') el.firstChild.textContent = s;
      else if ('value' in el && el.tagName !== 'BUTTON' && el.tagName !== 'SELECT') el.value = s;
      else el.textContent = s;
    },
    getCheck(c) { const el = elements.get(c); return el && el.qvInput && el.qvInput.checked ? 1 : 0; },
    setCheck(c, v) { const el = elements.get(c); if (el && el.qvInput) el.qvInput.checked = !!v; },
    enable(c, v) {
      const el = elements.get(c);
      if (!el) return;
      const target = el.qvInput || el;
      target.disabled = !v;
      el.classList.toggle('qv-disabled', !v);
    },
    isEnabled(c) { const el = elements.get(c); return el && !(el.qvInput || el).disabled ? 1 : 0; },
    focusSelect(c) {
      const el = elements.get(c);
      if (!el) return;
      el.focus();
      if (el.select) el.select();
    },
    // A list of many systems is built one insertion at a time: the count and
    // the "none selected" are kept here, since reading the element's
    // `options.length` or `selectedIndex` after each insertion costs the whole
    // list again (50,000 systems took minutes).
    comboCount(c) { const el = elements.get(c); return el ? el.qvCount : -1; },
    comboInsert(c, index, s) {
      const el = elements.get(c);
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
      const el = elements.get(c);
      if (!el || index < 0 || index >= el.qvCount) return;
      const sel = this.comboGetSel(c);
      el.options[index].remove();
      el.qvCount--;
      if (sel === index || sel < 0) this.comboSetSel(c, -1);
    },
    comboGetSel(c) { const el = elements.get(c); return !el ? -1 : el.qvNone ? -1 : el.selectedIndex; },
    comboSetSel(c, index) {
      const el = elements.get(c);
      if (!el) return;
      el.qvNone = !(index >= 0 && index < el.qvCount);
      el.selectedIndex = el.qvNone ? -1 : index;
    },
    timerSet(win, id, ms) {
      timers.set(win + ':' + id, {window: win, id, ticker: qvMakeTicker(ms, 3)});
      if (!frameLoop) {
        frameLoop = true;
        requestAnimationFrame(frame);
      }
    },
    timerKill(win, id) { return timers.delete(win + ':' + id) ? 1 : 0; },
    // `onAnswer`: the page's own question, whose answer stays in the page.
    // A question (Yes/No) shows the question mark unless `question` says otherwise.
    messageBox(text, yesNo, onAnswer, question = yesNo) {
      const overlay = document.createElement('div');
      overlay.className = 'qv-modal';
      const box = document.createElement('div');
      box.className = 'qv-dialog qv-messagebox';
      box.setAttribute('role', 'alertdialog');
      box.setAttribute('aria-label', 'Quorvane');
      const bar = document.createElement('div');
      bar.className = 'qv-caption';
      bar.textContent = 'Quorvane';
      const body = document.createElement('div');
      body.className = 'qv-message';
      if (question) {
        const mark = document.createElement('div');
        mark.className = 'qv-icon-question';
        mark.setAttribute('role', 'img');
        mark.setAttribute('aria-label', 'Domanda');
        body.appendChild(mark);
      }
      body.appendChild(document.createElement('div')).textContent = text;
      const buttons = document.createElement('div');
      buttons.className = 'qv-buttons';
      const answers = yesNo ? [['S\u00EC', IDYES], ['No', IDNO]] : [['OK', IDOK]];
      const escape = yesNo ? IDNO : IDOK;
      const focusBefore = document.activeElement;
      const me = {overlay};
      let done = false;
      const finish = (a) => {
        if (done) return;
        done = true;
        overlay.remove();
        boxes.splice(boxes.indexOf(me), 1);
        updateInert();
        if (focusBefore && focusBefore.focus) focusBefore.focus();
        if (onAnswer) onAnswer(a);
        else post({window: 0, kind: EV_ANSWER, a, b: 0});
      };
      for (const answer of answers) {
        const b = document.createElement('button');
        b.textContent = answer[0];
        b.addEventListener('click', () => finish(answer[1]));
        buttons.appendChild(b);
      }
      // ESC answers as the desktop's box does; Enter presses the focused
      // button, or the first when none of the box's has the focus.
      me.key = (ev) => {
        if (ev.key === 'Escape' || ev.code === 'Escape') {
          ev.preventDefault();
          finish(escape);
        } else if (ev.key === 'Enter' && !(ev.target.tagName === 'BUTTON' && buttons.contains(ev.target))) {
          ev.preventDefault();
          finish(answers[0][1]);
        } else if (ev.key === 'Tab') {
          cycleFocus(buttons, ev);
        }
      };
      box.append(bar, body, buttons);
      overlay.appendChild(box);
      document.body.appendChild(overlay);
      boxes.push(me);
      updateInert();
      buttons.firstChild.focus();
    },
    cursorHidden(h) { document.body.classList.toggle('qv-no-cursor', !!h); },
    screenTake(win) {
      const canvas = document.createElement('canvas');
      canvas.id = 'qv-screen';
      const back = document.createElement('div');
      back.id = 'qv-screen-back';
      back.appendChild(canvas);
      qvMakeTouchRow(back, (code) => {
        const d = topDialog();
        if (d && !boxes.length) pressKey(d, code, false);
      });
      document.body.appendChild(back);
      // WebKit paints the overlay scrollbars of the windows beneath above the canvas.
      document.body.classList.add('qv-run');
      screen = {window: win, back, canvas, ctx: canvas.getContext('2d'), image: null, place: '', fullscreen: false};
      if (document.documentElement.requestFullscreen && !Module.qvNoFullscreen) {
        // Where the browser refuses, the run simply fills the window.
        document.documentElement.requestFullscreen().catch(() => {});
      }
      return 1;
    },
    screenHasArea() { return window.innerWidth > 0 && window.innerHeight > 0 ? 1 : 0; },
    screenSize() {
      const dpr = window.devicePixelRatio || 1;
      return [Math.round(window.innerWidth * dpr), Math.round(window.innerHeight * dpr)];
    },
    // On a screen of sw×sh device pixels, the box's w×h pixels at (x, y):
    // `buffer` is the program's memory, `ptr` the pixels in it (0: black only).
    // The canvas covers the whole screen, one pixel a device pixel, so that
    // the box lands on whole device pixels at any ratio (a canvas of the
    // box's size placed at x / ratio can be snapped a pixel aside).
    screenShow(win, sw, sh, buffer, ptr, x, y, w, h) {
      if (!screen) return;
      const c = screen.canvas;
      const place = [sw, sh, x, y, w, h].join();
      if (!ptr || place !== screen.place) {
        // A new size clears the canvas: black (the page behind) around the box.
        c.width = ptr ? sw : 0;
        c.height = ptr ? sh : 0;
        screen.place = ptr ? place : '';
        screen.image = null;
        if (!ptr) return;
      }
      // Read straight from the program's memory; a grown memory is a new buffer.
      const im = screen.image;
      if (!im || im.data.buffer !== buffer || im.data.byteOffset !== ptr)
        screen.image = new ImageData(new Uint8ClampedArray(buffer, ptr, w * h * 4), w, h);
      screen.ctx.putImageData(screen.image, x, y);
    },
    screenRelease() {
      if (!screen) return;
      const s = screen;
      screen = null;
      s.back.remove();
      document.body.classList.remove('qv-run');
      if (document.fullscreenElement && document.exitFullscreen) document.exitFullscreen().catch(() => {});
    },
    programEnded() {
      if (Module.qvOnProgramEnded) Module.qvOnProgramEnded();
    },
  };
})();
