// Time per frame of the run's screen in headless chromium: the program's part
// (R/B swap and scale to the viewport, from the page's size query to its
// show call) and the page's putImageData, at a few viewports; beside them the
// page-side alternative, a JavaScript R/B swap over the box's bytes.
// usage: node bench/web/frame-time.mjs [BUILD_WEB] [WxH ...]   (after `make web`)
import fs from 'node:fs';
import path from 'node:path';
import { openBrowser, pageHelpers } from '../../tests/web/browser.mjs';

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../..');
const buildWeb = process.argv[2] || path.join(root, 'build-web');
const sizes = process.argv.length > 3 ? process.argv.slice(3) : ['800x600', '1366x768', '1920x1080'];
const { start, storeAndReload, runShown, runGone } = pageHelpers(buildWeb);
const median = (a) => a.slice().sort((x, y) => x - y)[a.length >> 1];

const browser = await openBrowser();
try {
  for (const size of sizes) {
    const [width, height] = size.split('x').map(Number);
    const { page } = await start(browser.context, { width, height });
    await storeAndReload(page, fs.readFileSync(path.join(root, 'tests/web/fixed.ini'), 'latin1'));
    await page.evaluate(() => {
      const p = Module.qvPage, size = p.screenSize, show = p.screenShow;
      window.qvTimes = { program: [], put: [], jsSwap: [] };
      let asked = 0;
      p.screenSize = () => { asked = performance.now(); return size(); };
      p.screenShow = (...a) => {
        const t = performance.now();
        window.qvTimes.program.push(t - asked);
        show(...a);
        window.qvTimes.put.push(performance.now() - t);
        // The alternative: the same bytes swapped by the page.
        const bytes = new Uint8ClampedArray(a[3], a[4], a[7] * a[8] * 4), out = new Uint8ClampedArray(bytes.length);
        const s = performance.now();
        for (let i = 0; i < bytes.length; i += 4) {
          out[i] = bytes[i + 2];
          out[i + 1] = bytes[i + 1];
          out[i + 2] = bytes[i];
          out[i + 3] = 255;
        }
        window.qvTimes.jsSwap.push(performance.now() - s);
      };
    });
    await page.getByRole('button', { name: 'Avvia la simulazione!' }).click();
    await runShown(page);
    await page.waitForTimeout(4000);
    const t = await page.evaluate(() => window.qvTimes);
    const box = await page.evaluate(() => [document.getElementById("qv-screen").width]);
    console.log(`${size} (canvas ${box[0]} wide): ${t.program.length} frames; program (swap + scale) median ` +
      `${median(t.program).toFixed(2)} ms, putImageData ${median(t.put).toFixed(2)} ms; ` +
      `a JavaScript swap of the box would take ${median(t.jsSwap).toFixed(2)} ms`);
    await page.keyboard.press('Escape');
    await runGone(page);
    await page.close();
  }
} finally {
  await browser.close();
}
