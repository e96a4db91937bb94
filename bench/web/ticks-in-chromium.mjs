// Runs ticks-per-second.js in headless chromium and prints what it prints.
// usage: node bench/web/ticks-in-chromium.mjs build-web/bench/ticks-per-second.js [--portable] [type]
import path from 'node:path';
import { openBrowser } from '../../tests/web/browser.mjs';

const script = path.resolve(process.argv[2] || 'build-web/bench/ticks-per-second.js');
const args = process.argv.slice(3);
const browser = await openBrowser();
try {
  const page = await browser.context.newPage();
  const done = new Promise((resolve) => page.on('console', (m) => {
    console.log(m.text());
    if (/200 bodies/.test(m.text())) resolve();
  }));
  await page.goto('about:blank');
  await page.evaluate((a) => { window.Module = { arguments: a }; }, args);
  await page.addScriptTag({ path: script });
  await done;
} finally {
  await browser.close();
}
