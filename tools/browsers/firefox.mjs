// Debian's Firefox ESR, headless, through puppeteer-core over WebDriver BiDi
// (puppeteer-core downloads no browser).
import puppeteer from '../../web/node_modules/puppeteer-core/lib/esm/puppeteer/puppeteer-core.js';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { Page, pageHelpersSource } from './page.mjs';

// Playwright's key names that puppeteer's keyboard names otherwise.
const keyName = (k) => (/^Key[A-Z]$/.test(k) ? k.slice(3).toLowerCase() : /^Digit\d$/.test(k) ? k.slice(5) : k);

export async function openBrowser(options = {}) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'qv-firefox-'));
  const browser = await puppeteer.launch({
    browser: 'firefox', executablePath: process.env.QV_FIREFOX || '/usr/bin/firefox-esr', headless: true,
    userDataDir: profile,
    // Full screen at once, without the transition that headless never finishes.
    extraPrefsFirefox: { 'full-screen-api.transition-duration.enter': '0 0', 'full-screen-api.transition-duration.leave': '0 0',
      'full-screen-api.warning.timeout': 0 },
  });
  const viewport = { width: 1366, height: 768, deviceScaleFactor: options.deviceScaleFactor || 1 };
  const context = {
    async newPage() {
      const p = await browser.newPage();
      await p.setViewport(viewport);
      await p.evaluateOnNewDocument(pageHelpersSource);
      // One command at a time, in the order the test gives them.
      let queue = Promise.resolve();
      const serial = (fn) => (...a) => {
        const next = queue.then(() => fn(...a));
        queue = next.catch(() => {});
        return next;
      };
      const engine = {
        exec: serial((source, args) => p.evaluate(`(async (args) => { ${source} })(${JSON.stringify(args ?? null)})`)),
        click: serial((x, y) => p.mouse.click(x, y)),
        tap: serial((x, y) => p.touchscreen.tap(x, y)),
        press: serial(async (key) => {
          const keys = key.length > 1 ? key.split('+').map(keyName) : [key];
          for (const k of keys) await p.keyboard.down(k);
          for (const k of keys.reverse()) await p.keyboard.up(k);
        }),
        screenshot: serial(async () => Buffer.from(await p.screenshot())),
        setViewport: serial((width, height) => p.setViewport({ ...viewport, width, height })),
        goto: serial((url) => p.goto(url)),
        reload: serial(() => p.reload()),
        close: serial(() => p.close()),
        addInitScript: serial((source) => p.evaluateOnNewDocument(source)),
      };
      return new Page(engine);
    },
  };
  return {
    context,
    version: `Firefox ${(await browser.version()).replace(/^firefox\//, '')}`,
    can: { touch: true, pixelRatio: true, resize: false },
    async close() {
      await browser.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}
