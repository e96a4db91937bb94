// Debian's chromium through playwright-core: the page object is Playwright's
// own, the interface the other engines' pages follow.
import { chromium } from '../../web/node_modules/playwright-core/index.mjs';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

export async function openBrowser(options = {}) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'qv-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.QV_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
    viewport: { width: 1366, height: 768 },
    ...options,
  });
  return {
    context,
    version: `Chromium ${context.browser()?.version() ?? (await versionOf(context))}`,
    can: { touch: true, pixelRatio: true, resize: true },
    async close() {
      await context.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

async function versionOf(context) {
  const page = await context.newPage();
  const ua = await page.evaluate(() => navigator.userAgent);
  await page.close();
  return (/Chrome\/([\d.]+)/.exec(ua) || [])[1];
}
