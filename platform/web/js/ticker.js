// The run's clock: animation frames come at the screen's rate (60, 75, 144 Hz...),
// the program wants a tick every `periodMs`. An accumulator turns the one into
// the other, so that no tick is lost or doubled; after a pause (a hidden tab)
// at most `maxCatchUp` ticks are given at once, not the whole missed time.
function qvMakeTicker(periodMs, maxCatchUp) {
  let last = null;
  let acc = 0;
  return {
    // Ticks due at the frame time `now` (milliseconds).
    advance(now) {
      if (last === null) {
        last = now;
        return 0;
      }
      acc += Math.max(0, now - last);
      last = now;
      let n = Math.floor(acc / periodMs);
      if (n > maxCatchUp) {
        n = maxCatchUp;
        acc %= periodMs;
      } else {
        acc -= n * periodMs;
      }
      return n;
    },
  };
}
if (typeof module !== 'undefined' && module.exports) module.exports.qvMakeTicker = qvMakeTicker;
