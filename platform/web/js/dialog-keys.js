// The keys of the page's windows. Every key goes to the topmost modal window
// alone: the topmost message box, else the top dialog; nothing beneath it
// ever sees the key. What Enter does in a dialog the program decides
// (platform/DialogKeys.h): the page only tells which control has the focus.

// A key for the window `d`: ESC cancels any dialog; the keys of a window
// without controls (the run) go to it as virtual keys. The keyboard and the
// run's touch row both come here. False for a key the program does not know.
function qvPressKey(d, code, repeat) {
  if (code === 'Escape') {
    qvCancel(d.handle);
    return true;
  }
  const vk = d.controls === 0 ? qvVirtualKey(code) : 0;
  if (vk) qvPost(d.handle, 2, vk, repeat ? 0x4000 : 0);
  return vk !== 0;
}

// Tab and Shift+Tab go round the focusable controls of `container`, in
// their order, and never leave it.
function qvCycleFocus(container, ev) {
  const all = [...container.querySelectorAll('input, select, textarea, button')]
    .filter((e) => !e.disabled && e.tabIndex >= 0 && e.getClientRects().length > 0);
  ev.preventDefault();
  if (!all.length) return;
  const i = all.indexOf(document.activeElement);
  const next = i < 0 ? (ev.shiftKey ? all.length - 1 : 0) : (i + (ev.shiftKey ? all.length - 1 : 1)) % all.length;
  all[next].focus();
}

document.addEventListener('keydown', (ev) => {
  if (qvBoxes.length) {
    qvBoxes[qvBoxes.length - 1].key(ev);
    return;
  }
  const d = qvTopDialog();
  if (!d) return;
  if (ev.key === 'Tab' && d.controls > 0 && !ev.altKey && !ev.ctrlKey && !ev.metaKey) {
    qvCycleFocus(d.client, ev);
    return;
  }
  if (ev.key === 'Escape' || ev.code === 'Escape') {
    ev.preventDefault();
    qvPressKey(d, 'Escape', false);
    return;
  }
  if (ev.key === 'Enter' && !ev.altKey && !ev.ctrlKey && !ev.metaKey) {
    // An element that keeps Enter gets it now: the program's answer would come too late.
    const t = ev.target;
    if (t.qvKeepsEnter) return;
    ev.preventDefault();
    qvPost(d.handle, 4, +t.dataset.handle || 0, 0);
    return;
  }
  if (d.controls === 0) {
    if (ev.altKey || ev.key === 'Alt' || ev.key === 'F10' || ev.key === 'Tab') return;
    if (qvPressKey(d, ev.code, ev.repeat)) ev.preventDefault();
  }
});
