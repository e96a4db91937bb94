// Text that fits its control in every browser. The controls keep the places
// and sizes of the dialog units, measured in Chromium's terms; WebKit draws
// the same font about 5 % wider and Safari its own way again, and a label
// that wraps shows only its first line. So each text is measured where it is
// shown and given room for text a tenth wider still: a single line never
// wraps, a label takes free room on its right, and where there is none the
// text is set smaller until it fits.
const qvTextRoom = 1.1;

function qvTextRange(el) {
  const r = document.createRange();
  r.selectNodeContents(el.qvInput ? el.lastChild : el.tagName === 'FIELDSET' ? el.firstChild : el);
  return r;
}

// The free width right of `el` in its dialog: up to the next control beside
// it, the group around it or the dialog's edge.
function qvRoomRight(el, client) {
  const a = el.getBoundingClientRect();
  let right = client.getBoundingClientRect().right - 2;
  for (const c of client.children) {
    if (c === el) continue;
    const b = c.getBoundingClientRect();
    if (b.top >= a.bottom || b.bottom <= a.top) continue;
    if (b.left >= a.right - 1) right = Math.min(right, b.left - 3);
    else if (c.tagName === 'FIELDSET' && b.left < a.left && b.right > a.right) right = Math.min(right, b.right - 4);
  }
  return right - a.left;
}

function qvFitText(el, client) {
  const style = getComputedStyle(el);
  const multiLine = el.tagName !== 'FIELDSET' && el.clientHeight >= 2.6 * parseFloat(style.fontSize);
  const pad = (e) => { const s = getComputedStyle(e); return parseFloat(s.paddingLeft) + parseFloat(s.paddingRight); };
  if (multiLine) {
    // Wrapped text must still fit its height when a tenth narrower.
    const width = el.style.width;
    el.style.width = (el.offsetWidth / qvTextRoom) + 'px';
    for (let i = 0; i < 10 && el.scrollHeight > el.clientHeight; ++i)
      el.style.fontSize = (parseFloat(getComputedStyle(el).fontSize) * 0.95) + 'px';
    el.style.width = width;
    return;
  }
  el.classList.add('qv-one-line');
  // Width wanted: what comes before the text (a check box, a group's edge),
  // the text a tenth wider, the padding.
  const need = () => {
    const r = qvTextRange(el).getBoundingClientRect(), lead = r.left - el.getBoundingClientRect().left;
    if (el.qvInput) return lead + r.width * qvTextRoom;
    if (el.tagName === 'FIELDSET') return 2 * lead + r.width * qvTextRoom;
    return el.offsetWidth - el.clientWidth + pad(el) + r.width * qvTextRoom;
  };
  if (need() <= el.offsetWidth) return;
  if (el.tagName === 'BUTTON') el.style.paddingLeft = el.style.paddingRight = '1px';
  else el.style.width = Math.min(Math.ceil(need()), Math.max(el.offsetWidth, Math.floor(qvRoomRight(el, client)))) + 'px';
  const scale = el.offsetWidth / need();
  if (scale < 1) el.style.fontSize = (parseFloat(style.fontSize) * scale * 0.98) + 'px';
}

// A dialog larger than the screen (a phone held upright) is scaled to fit
// it, so that every control stays in reach.
function qvFitDialog(el) {
  el.style.transform = '';
  const s = Math.min(1, (window.innerWidth - 4) / el.offsetWidth, (window.innerHeight - 4) / el.offsetHeight);
  el.style.transform = s < 1 ? `translate(-50%, -50%) scale(${s})` : '';
}

function qvFitTexts(client) {
  client.parentNode.style.transform = '';  // measured unscaled
  for (const el of client.children)
    if (/^(DIV|BUTTON|LABEL|FIELDSET)$/.test(el.tagName) && el.textContent) qvFitText(el, client);
  qvFitDialog(client.parentNode);
}

if (typeof window !== 'undefined')
  window.addEventListener('resize', () => { for (const d of document.querySelectorAll('.qv-dialog')) qvFitDialog(d); });
