// The clock of all windows' timers: one animation-frame loop, each timer
// ticking by its own ticker (ticker.js).
const qvTimers = new Map();  // "window:id" -> {window, id, ticker}
let qvFrameLoop = false;

function qvFrame(now) {
  if (qvTimers.size === 0) {
    qvFrameLoop = false;
    return;
  }
  for (const t of qvTimers.values()) {
    const n = t.ticker.advance(now);
    for (let i = 0; i < n; ++i) qvPost(t.window, 3, t.id, 0);
  }
  requestAnimationFrame(qvFrame);
}

// The timers of a window that goes away.
function qvDropTimers(win) {
  for (const k of [...qvTimers.keys()]) if (k.startsWith(win + ':')) qvTimers.delete(k);
}

Object.assign(qvPage, {
  timerSet(win, id, ms) {
    qvTimers.set(win + ':' + id, {window: win, id, ticker: qvMakeTicker(ms, 3)});
    if (!qvFrameLoop) {
      qvFrameLoop = true;
      requestAnimationFrame(qvFrame);
    }
  },
  timerKill(win, id) { return qvTimers.delete(win + ':' + id) ? 1 : 0; },
});
