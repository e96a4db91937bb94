// A run in a headless browser (QV_BROWSER) at other sizes than the frame's,
// checked against the desktop's picture of the same screen (quorvane-run
// render --screen), and the touch row of the run's keys.
// usage: node run.browser.mjs BUILD_WEB NATIVE_QUORVANE_RUN
import test from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { engine, openBrowser, pageHelpers, skipStep } from './browser.mjs';

const here = path.dirname(new URL(import.meta.url).pathname);
const root = path.resolve(here, '../..');
const buildWeb = process.argv[2] || path.join(root, 'build-web');
const native = process.argv[3] || path.join(root, 'build/tools/quorvane-run');
const { start, storeAndReload, differingPixels, runShown, runGone, shownScreen } = pageHelpers(buildWeb);
const fixed = path.join(here, 'fixed.ini');

// The desktop's screen of that size after a few ticks of the fixed bodies,
// vectors and labels on.
function rendered(screen) {
  const png = path.join(os.tmpdir(), `qv-screen-${process.pid}-${screen}.png`);
  execFileSync(native, ['render', fixed, '--system', '0', '--ticks', '3', '--vectors', '--labels', '--screen', screen,
    '--out', png]);
  const bytes = fs.readFileSync(png);
  fs.rmSync(png);
  return bytes;
}

// A run of the fixed bodies, with these keys pressed.
async function startFixedRun(context, viewport, keys = []) {
  const started = await start(context, viewport);
  await storeAndReload(started.page, fs.readFileSync(fixed, 'latin1'));
  await started.page.getByRole('button', { name: 'Avvia la simulazione!' }).click();
  await runShown(started.page);
  for (const key of keys) await started.page.keyboard.press(key);
  return started;
}

// The next frames shown (each puts the canvas's pixels up again).
const nextFrames = (page) => page.evaluate(() => new Promise((resolve) => {
  let n = 0;
  const tick = () => (++n < 6 ? requestAnimationFrame(tick) : resolve());
  requestAnimationFrame(tick);
}));

const row = (page) => page.locator('#qv-touch-row');
const canvasPng = async (page) =>
  Buffer.from((await page.$eval('#qv-screen', (c) => c.toDataURL('image/png'))).split(',')[1], 'base64');

// Each test in a browser of its own (a touch screen, a pixel ratio), closed
// whatever happens; `needs`: what the engine must be able to do for it.
const browserTest = (name, options, body, needs) => test(name, async () => {
  const browser = await openBrowser(options);
  try {
    if (needs && !browser.can[needs]) skipStep(name, `${engine} cannot emulate it`);
    else await body(browser.context, browser);
  } finally {
    await browser.close();
  }
});

browserTest('at 1366 × 768 and after a resize the run is render --screen\'s picture pixel for pixel', {}, async (context, browser) => {
  const { page, errors } = await startFixedRun(context, { width: 1366, height: 768 }, ['KeyV', 'KeyE']);
  await nextFrames(page);
  // Firefox's and WebKit's full screen is their screen's size, larger than the window was.
  const screen = await shownScreen(page);
  assert.equal(await differingPixels(page, rendered(screen), await page.screenshot()), 0);
  // The program's memory grows: the page reads the frame from the new buffer.
  await page.evaluate(() => _malloc(64 << 20));
  await nextFrames(page);
  assert.equal(await differingPixels(page, rendered(screen), await page.screenshot()), 0);
  // Taller than 4:3: bars above and below, from the next frame on.
  if (browser.can.resize) {
    await page.setViewportSize({ width: 1280, height: 1024 });
    await nextFrames(page);
    assert.equal(await differingPixels(page, rendered('1280x1024'), await page.screenshot()), 0);
  } else {
    skipStep('the resize to 1280 × 1024', 'its window cannot be resized in full screen');
  }
  await page.keyboard.press('Escape');
  await runGone(page);
  assert.deepEqual(errors, []);
});

browserTest('at a device pixel ratio of 2 the canvas holds the screen\'s device pixels', { deviceScaleFactor: 2 }, async (context) => {
  const { page, errors } = await startFixedRun(context, { width: 683, height: 384 }, ['KeyV', 'KeyE']);
  await nextFrames(page);
  const screen = await shownScreen(page);
  assert.ok(['1366x768', '2732x1536'].includes(screen), screen);
  assert.equal(await differingPixels(page, rendered(screen), await page.screenshot()), 0);
  assert.deepEqual(errors, []);
}, 'pixelRatio');

browserTest('the touch row: a tap shows it, a mouse never; its keys are the keyboard\'s; it hides after its time', { hasTouch: true }, async (context) => {
  const { page, errors } = await startFixedRun(context, { width: 1366, height: 768 });
  const button = (name) => row(page).getByRole('button', { name, exact: true });
  await page.mouse.click(683, 300);
  await page.waitForTimeout(300);
  assert.equal(await row(page).isVisible(), false);
  assert.equal(await page.$eval('#qv-screen-back', (e) => getComputedStyle(e).cursor), 'none');

  await page.touchscreen.tap(683, 300);
  await row(page).waitFor();
  assert.deepEqual(await row(page).getByRole('button').allTextContents(),
    ['T', 'V', 'E', 'P', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'ESC']);
  // Over the canvas, never in it: the canvas holds render's pixels meanwhile.
  await button('V').tap();
  await button('E').tap();
  await button('V').tap();
  await nextFrames(page);
  const screen = rendered(await shownScreen(page));
  assert.ok((await differingPixels(page, screen, await canvasPng(page))) > 0);  // vectors off
  // The buttons never take the focus: the keyboard goes on working.
  assert.equal(await page.evaluate(() => !!document.activeElement.closest('#qv-touch-row')), false);
  await page.keyboard.press('KeyV');
  await nextFrames(page);
  assert.equal(await differingPixels(page, screen, await canvasPng(page)), 0);
  assert.equal(await button('ESC').evaluate((b) => getComputedStyle(b).cursor), 'none');

  // Each touch counts the time again; then it hides and the screen is render's.
  await page.waitForTimeout(2500);
  await page.touchscreen.tap(683, 200);
  const last = Date.now();
  await page.waitForTimeout(2000);  // past the first touch's time
  assert.equal(await row(page).isVisible(), true);
  await row(page).waitFor({ state: 'hidden', timeout: 10000 });
  assert.ok(Date.now() - last >= 3500, `hidden after ${Date.now() - last} ms`);
  assert.equal(await differingPixels(page, screen, await page.screenshot()), 0);

  // ESC ends the run as the Escape key does.
  await page.touchscreen.tap(683, 300);
  await button('ESC').tap();
  await runGone(page);
  assert.equal(await page.getByRole('dialog', { name: 'Quorvane' }).isVisible(), true);
  assert.deepEqual(errors, []);
});
