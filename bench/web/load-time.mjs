// Time from the page's start to the chooser listing every system of a large
// stored file, in headless chromium; the files are made here, two planets a
// system (174,237 systems make about 20 MB).
// usage: node bench/web/load-time.mjs [BUILD_WEB] [SYSTEMS ...]   (after `make web`)
import path from 'node:path';
import { openBrowser, pageHelpers } from '../../tests/web/browser.mjs';

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../..');
const buildWeb = process.argv[2] || path.join(root, 'build-web');
const counts = process.argv.length > 3 ? process.argv.slice(3).map(Number) : [5000, 50000, 174237];
const limit = Number(process.env.QV_LOAD_LIMIT || 600);  // seconds before a load counts as a hang
const { start, store } = pageHelpers(buildWeb);

function manySystems(n) {
  const planet = (name, x, m) => `${name}\n\t${x}.000000\t300.000000\t0.000000\t12.500000\t${m}.000000\t0\n`;
  let text = '';
  for (let i = 0; i < n; ++i) text += `[Sistema numero ${i + 1}]\n0\n` + planet('Sole', 400, 10) + planet('Terra', 250, 1) + '\n';
  return text;
}

// A fresh profile for each file: a file that hangs the page stays stored.
for (const n of counts) {
  const browser = await openBrowser();
  try {
    const { page } = await start(browser.context);
    const text = manySystems(n);
    await store(page, text);
    const t0 = Date.now();
    await page.reload();
    const listed = await page.waitForFunction((k) => document.querySelectorAll('#qv-desktop select option').length === k,
      n, { timeout: limit * 1000, polling: 50 }).then(() => true, () => false);
    const mb = (text.length / 1e6).toFixed(1);
    console.log(listed ? `${n} systems (${mb} MB): listed in ${((Date.now() - t0) / 1000).toFixed(2)} s`
      : `${n} systems (${mb} MB): not listed within ${limit} s`);
  } finally {
    await browser.close();
  }
}
