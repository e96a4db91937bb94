// Storage that lasts: the browser is asked to keep it at the first save; served
// over http the page is a web app that starts again without the server.
// usage: node app.browser.mjs BUILD_WEB
import test from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { openBrowser, pageHelpers, skipStep } from './browser.mjs';

const here = path.dirname(new URL(import.meta.url).pathname);
const buildWeb = process.argv[2] || path.resolve(here, '../../build-web');
const { start } = pageHelpers(buildWeb);
const listed = (page) => page.waitForFunction(() => document.querySelectorAll('#qv-desktop select option').length > 0);

const browser = await openBrowser();
test.after(() => browser.close());

test('persistent storage is asked for at the first save, once, and not at start', async () => {
  const { page, errors } = await start(browser.context);
  await page.addInitScript(() => {
    window.qvAsked = 0;
    if (navigator.storage) navigator.storage.persist = () => { ++window.qvAsked; return Promise.resolve(true); };
  });
  await page.reload();
  await listed(page);
  if (!(await page.evaluate(() => !!(navigator.storage && navigator.storage.persist)))) {
    skipStep('persistent storage', 'navigator.storage.persist is missing for this page here');
    return page.close();
  }
  assert.equal(await page.evaluate(() => window.qvAsked), 0);
  for (let i = 0; i < 2; ++i) {
    await page.getByRole('button', { name: 'Elimina' }).click();
    await page.getByRole('alertdialog', { name: 'Quorvane' }).getByRole('button', { name: 'S\u00EC' }).click();
    await page.waitForFunction((n) => window.qvAsked === 1 && document.querySelectorAll('#qv-desktop select option').length === n,
      9 - i);
  }
  assert.deepEqual(errors, []);
  await page.close();
});

test('over http: the icon is inside, the manifest and worker answer, and the page starts without the server', async () => {
  const asked = [];
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.webmanifest': 'application/manifest+json', '.png': 'image/png' };
  const server = http.createServer((req, res) => {
    const name = new URL(req.url, 'http://x').pathname.slice(1);
    const file = path.join(buildWeb, path.basename(name));
    asked.push(name);
    if (!name || !fs.existsSync(file)) return res.writeHead(404).end();
    res.writeHead(200, { 'content-type': types[path.extname(file)] || 'application/octet-stream' }).end(fs.readFileSync(file));
  });
  await new Promise((r) => server.listen(0, '127.0.0.1', r));
  const page = await browser.context.newPage();
  await page.goto(`http://127.0.0.1:${server.address().port}/quorvane.html`);
  await listed(page);
  const worker = await page.evaluate(async () => {
    if (!navigator.serviceWorker) return 'none';
    await navigator.serviceWorker.ready;
    return document.querySelector('link[rel=manifest]').href.replace(/.*\//, '');
  });
  await page.waitForTimeout(500);
  server.close();
  server.closeAllConnections();
  assert.equal(asked.includes('favicon.ico'), false, asked.join());
  if (worker === 'none') {
    skipStep('the start without a network', 'no service workers in this browser');
  } else {
    assert.equal(worker, 'quorvane.webmanifest');
    assert.ok(asked.includes('quorvane.webmanifest') || asked.includes('quorvane-sw.js'), asked.join());
    await page.reload();
    await listed(page);
  }
  await page.close();
});
