// The run's clock at the refresh rates of real screens, and after a pause.
import test from 'node:test';
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
const { qvMakeTicker } = createRequire(import.meta.url)('../../platform/web/js/ticker.js');

function ticksOver(hz, seconds, start = 1000) {
  const t = qvMakeTicker(20, 3);
  const counts = [];
  let total = 0;
  const frames = Math.round(hz * seconds);
  t.advance(start);
  for (let i = 1; i <= frames; ++i) {
    const n = t.advance(start + (i * 1000) / hz);
    counts.push(n);
    total += n;
  }
  return { total, counts };
}

test('50 ticks a second at 60, 75, 144 and 50 Hz, none lost or doubled', () => {
  for (const hz of [60, 75, 144, 50, 30]) {
    const { total, counts } = ticksOver(hz, 10);
    assert.ok(total >= 499 && total <= 500, `${hz} Hz: ${total} ticks in 10 s`);
    // A frame gives at most the ticks its own length holds, rounded up.
    assert.ok(Math.max(...counts) <= Math.ceil(1000 / hz / 20), `${hz} Hz: ${Math.max(...counts)} at once`);
  }
});

test('after a pause only a few ticks catch up, then the pace is as before', () => {
  const t = qvMakeTicker(20, 3);
  t.advance(0);
  assert.equal(t.advance(16), 0);
  assert.equal(t.advance(5000), 3);  // a hidden tab for 5 s
  let later = 0;
  for (let i = 1; i <= 60; ++i) later += t.advance(5000 + (i * 1000) / 60);
  assert.ok(later >= 49 && later <= 51, `${later}`);
  // Time going backwards gives nothing, and nothing is owed afterwards.
  assert.equal(t.advance(4000), 0);
  assert.equal(t.advance(4020), 1);
});
