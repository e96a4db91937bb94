// Keys of the page as the virtual-key codes the program knows (those of the
// desktop): by the key's place (event.code), so that the digits of the top
// row are digits whatever the layout and shift give as character. And the
// run's keys on screen, for a touch.
const qvNamedKeys = {
  Backspace: 0x08, Tab: 0x09, Enter: 0x0D, NumpadEnter: 0x0D, ShiftLeft: 0x10, ShiftRight: 0x10,
  ControlLeft: 0x11, ControlRight: 0x11, AltLeft: 0x12, AltRight: 0x12, Pause: 0x13, CapsLock: 0x14,
  Escape: 0x1B, Space: 0x20, PageUp: 0x21, PageDown: 0x22, End: 0x23, Home: 0x24, ArrowLeft: 0x25,
  ArrowUp: 0x26, ArrowRight: 0x27, ArrowDown: 0x28, PrintScreen: 0x2C, Insert: 0x2D, Delete: 0x2E,
  MetaLeft: 0x5B, MetaRight: 0x5B, ContextMenu: 0x5D, NumpadMultiply: 0x6A, NumpadAdd: 0x6B,
  NumpadSubtract: 0x6D, NumpadDecimal: 0x6E, NumpadDivide: 0x6F, NumLock: 0x90, ScrollLock: 0x91,
  Semicolon: 0xBA, Equal: 0xBB, Comma: 0xBC, Minus: 0xBD, Period: 0xBE, Slash: 0xBF, Backquote: 0xC0,
  BracketLeft: 0xDB, Backslash: 0xDC, BracketRight: 0xDD, Quote: 0xDE,
};

// 0 for a key the program has no code for.
function qvVirtualKey(code) {
  let m = /^Key([A-Z])$/.exec(code);
  if (m) return m[1].charCodeAt(0);
  m = /^Digit([0-9])$/.exec(code);
  if (m) return 0x30 + Number(m[1]);
  m = /^Numpad([0-9])$/.exec(code);
  if (m) return 0x60 + Number(m[1]);
  m = /^F([0-9]+)$/.exec(code);
  if (m && Number(m[1]) >= 1 && Number(m[1]) <= 24) return 0x6F + Number(m[1]);
  return qvNamedKeys[code] || 0;
}

// The run's keys for a finger: a tablet has no keyboard. A touch on the run's
// screen shows a row of them over its bottom for a few seconds, counted again
// from each touch; a button gives `press` the keyboard key's code. A mouse or
// a keyboard never shows it. It lies over the canvas: never in the frame.
const qvTouchKeyCodes = ['KeyT', 'KeyV', 'KeyE', 'KeyP', 'Digit1', 'Digit2', 'Digit3', 'Digit4', 'Digit5',
  'Digit6', 'Digit7', 'Digit8', 'Digit9', 'Escape'];
const qvTouchRowMs = 4000;

function qvMakeTouchRow(screen, press) {
  const row = document.createElement('div');
  row.id = 'qv-touch-row';
  row.hidden = true;
  for (const code of qvTouchKeyCodes) {
    const b = document.createElement('button');
    b.textContent = code === 'Escape' ? 'ESC' : code.slice(-1);
    // Never focused: the keyboard's keys keep going to the run, and Enter or
    // Space never press a button.
    b.tabIndex = -1;
    b.addEventListener('pointerdown', (ev) => ev.preventDefault());
    b.addEventListener('mousedown', (ev) => ev.preventDefault());
    b.addEventListener('click', () => press(code));
    row.appendChild(b);
  }
  let timer = 0;
  screen.addEventListener('pointerdown', (ev) => {
    if (ev.pointerType !== 'touch' && ev.pointerType !== 'pen') return;
    row.hidden = false;
    clearTimeout(timer);
    timer = setTimeout(() => { row.hidden = true; }, qvTouchRowMs);
  });
  screen.appendChild(row);
  return row;
}

if (typeof module !== 'undefined' && module.exports) module.exports.qvVirtualKey = qvVirtualKey;
