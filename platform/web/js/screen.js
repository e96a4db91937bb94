// The run's screen. The program scales the frame to the viewport's device
// pixels (platform/web/Screen.cpp); the canvas holds them one for one.
let qvScreen = null;  // {window, back, canvas, ctx, image, place, fullscreen}

document.addEventListener('fullscreenchange', () => {
  if (!qvScreen) return;
  if (document.fullscreenElement) qvScreen.fullscreen = true;
  else if (qvScreen.fullscreen) {
    // Leaving the browser's full screen ends the run as ESC does.
    qvScreen.fullscreen = false;
    qvCancel(qvScreen.window);
  }
});

Object.assign(qvPage, {
  cursorHidden(h) { document.body.classList.toggle('qv-no-cursor', !!h); },
  screenTake(win) {
    const canvas = document.createElement('canvas');
    canvas.id = 'qv-screen';
    const back = document.createElement('div');
    back.id = 'qv-screen-back';
    back.appendChild(canvas);
    qvMakeTouchRow(back, (code) => {
      const d = qvTopDialog();
      if (d && !qvBoxes.length) qvPressKey(d, code, false);
    });
    document.body.appendChild(back);
    // WebKit paints the overlay scrollbars of the windows beneath above the canvas.
    document.body.classList.add('qv-run');
    qvScreen = {window: win, back, canvas, ctx: canvas.getContext('2d'), image: null, place: '', fullscreen: false};
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
    const s = qvScreen;
    if (!s) return;
    const c = s.canvas;
    const place = [sw, sh, x, y, w, h].join();
    if (!ptr || place !== s.place) {
      // A new size clears the canvas: black (the page behind) around the box.
      c.width = ptr ? sw : 0;
      c.height = ptr ? sh : 0;
      s.place = ptr ? place : '';
      s.image = null;
      if (!ptr) return;
    }
    // Read straight from the program's memory; a grown memory is a new buffer.
    const im = s.image;
    if (!im || im.data.buffer !== buffer || im.data.byteOffset !== ptr)
      s.image = new ImageData(new Uint8ClampedArray(buffer, ptr, w * h * 4), w, h);
    s.ctx.putImageData(s.image, x, y);
  },
  screenRelease() {
    if (!qvScreen) return;
    const s = qvScreen;
    qvScreen = null;
    s.back.remove();
    document.body.classList.remove('qv-run');
    if (document.fullscreenElement && document.exitFullscreen) document.exitFullscreen().catch(() => {});
  },
});
