// Headless Debian chromium for the page's tests: a fresh profile each time,
// nothing fetched from any network.
import { chromium } from '../../web/node_modules/playwright-core/index.mjs';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

export const page_url = (buildDir) => 'file://' + path.resolve(buildDir, 'quorvane.html');

export async function openBrowser() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'qv-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.QV_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
    viewport: { width: 1366, height: 768 },
  });
  return {
    context,
    async close() {
      await context.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}
