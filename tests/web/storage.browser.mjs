// The page's file in the browser's storage, in a headless browser (QV_BROWSER):
// saves refused by IndexedDB, one tab at a time, a browser that keeps
// nothing, and the file opened from and saved to the user's disk.
// usage: node storage.browser.mjs BUILD_WEB NATIVE_QUORVANE_RUN
import test from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { engine, openBrowserClosingPages, page_url, pageHelpers, skipStep } from './browser.mjs';

const here = path.dirname(new URL(import.meta.url).pathname);
const root = path.resolve(here, '../..');
const buildWeb = process.argv[2] || path.join(root, 'build-web');
const native = process.argv[3] || path.join(root, 'build/tools/quorvane-run');
const nativeNames = (ini) => JSON.parse(execFileSync(native, ['list', ini])).systems.map((s) => s.name);

const { start, systems, store, storeAndReload, storedFile } = pageHelpers(buildWeb);

const browser = await openBrowserClosingPages(test);
test('a save refused at any of its writes to IndexedDB says so; the list keeps the change, the stored file stays whole', async () => {
  const { page, errors } = await start(browser.context);
  const original = fs.readFileSync(path.join(root, 'examples/Quorvane.ini'), 'latin1');
  await storeAndReload(page, original);
  const before = await systems(page);
  const box = page.getByRole('alertdialog', { name: 'Quorvane' });
  const storedKeys = () => page.evaluate(() => new Promise((resolve) => {
    indexedDB.open('/quorvane').onsuccess = (ev) => {
      const r = ev.target.result.transaction(['FILE_DATA']).objectStore('FILE_DATA').getAllKeys();
      r.onsuccess = () => { ev.target.result.close(); resolve(r.result); };
    };
  }));
  // A temporary that a save of an earlier version left behind.
  const leftover = '/quorvane/.Quorvane.ini.~salvataggio~Ab12Cd';
  await page.evaluate((key) => new Promise((resolve) => {
    indexedDB.open('/quorvane').onsuccess = (ev) => {
      const tx = ev.target.result.transaction(['FILE_DATA'], 'readwrite');
      tx.objectStore('FILE_DATA').put({ timestamp: new Date(0), mode: 0o100600, contents: new Uint8Array(9) }, key);
      tx.oncomplete = () => { ev.target.result.close(); resolve(); };
    };
  }), leftover);
  // The k-th write a save asks of IndexedDB aborts its transaction, or is
  // refused at once for a full quota; k grows until the save has no k-th write.
  let refused = 0;
  for (let k = 1; ; ++k) {
    for (const quota of [false, true]) {
      await page.evaluate(([k, quota]) => {
        window.qvWrites = 0;
        for (const m of ['put', 'add', 'delete', 'clear']) {
          const real = IDBObjectStore.prototype[m];
          IDBObjectStore.prototype[m] = function (...a) {
            if (++window.qvWrites === k && quota) throw new DOMException('Quota superata', 'QuotaExceededError');
            const r = real.apply(this, a);
            if (window.qvWrites === k) this.transaction.abort();
            return r;
          };
        }
      }, [k, quota]);
      await page.getByRole('button', { name: 'Elimina' }).click();
      await box.getByRole('button', { name: 'S\u00EC' }).click();
      await page.waitForFunction((n) => document.querySelectorAll('#qv-desktop select option').length === n, before.length - 1);
      // A save that had no k-th write is kept; the loop ends there.
      await page.waitForFunction(() => document.querySelector('.qv-message') || !Module.FS.readFile('Quorvane.ini').length ||
        !new TextDecoder('latin1').decode(Module.FS.readFile('Quorvane.ini')).startsWith('[Orbita circolare]'));
      if (await page.evaluate((k) => window.qvWrites < k, k)) {
        assert.ok(refused >= 2, 'no write was refused');
        await page.reload();
        await page.waitForFunction(() => document.querySelectorAll('#qv-desktop select option').length > 0);
        assert.deepEqual(await systems(page), before.slice(1));
        assert.deepEqual(await storedKeys(), ['/quorvane/Quorvane.ini']);
        assert.deepEqual(errors, []);
        await page.close();
        return;
      }
      assert.equal(await box.locator('.qv-message').textContent(), 'Impossibile salvare il file "Quorvane.ini": ' +
        (quota ? 'lo spazio che il browser concede alla pagina \u00E8 esaurito.' : 'il browser non lo ha conservato.'), `write ${k}`);
      await box.getByRole('button', { name: 'OK' }).click();
      await box.waitFor({ state: 'detached' });
      assert.deepEqual(await systems(page), before.slice(1));
      assert.equal(await storedFile(page), original);
      assert.deepEqual(await page.evaluate(() => Module.FS.readdir('/tmp')), ['.', '..']);
      await page.reload();
      await page.waitForFunction(() => document.querySelectorAll('#qv-desktop select option').length > 0);
      assert.deepEqual(await systems(page), before);
      assert.equal(await storedFile(page), original);
      assert.deepEqual(await storedKeys(), [leftover, '/quorvane/Quorvane.ini']);
      ++refused;
    }
  }
});

test('one tab at a time: a second one says so and may take over; the first then stops, and no tab saves over a file it has not read', async () => {
  if (engine === 'webkit') {
    return skipStep('the takeover by a second tab', 'in a second WebKitWebDriver window the page taken over never ' +
      'lists the systems; not yet explained, so not yet known to work in WebKit');
  }
  const first = await start(browser.context);
  const second = await browser.context.newPage();
  await second.goto(page_url(buildWeb));
  await second.getByText('Quorvane \u00E8 gi\u00E0 aperto in un\'altra scheda o finestra.', { exact: false }).waitFor();
  assert.equal(await second.locator('.qv-dialog').count(), 0);
  await second.getByRole('button', { name: 'Usa Quorvane in questa scheda' }).click();
  await second.waitForFunction(() => document.querySelectorAll('#qv-desktop select option').length > 0);
  await first.page.getByText('Quorvane \u00E8 stato aperto in un\'altra scheda o finestra e qui si \u00E8 fermato.',
    { exact: false }).waitFor();
  assert.equal(await first.page.locator('#qv-desktop').isVisible(), false);
  // Its keys reach nothing, and it saves nothing any more.
  await first.page.keyboard.press('Enter');
  await first.page.waitForTimeout(300);
  assert.equal(await first.page.evaluate(() => document.getElementById('qv-screen')), null);
  const shared = await storedFile(second);
  assert.match(await first.page.evaluate(() => Module.qvStorage.replace('Quorvane.ini', new Uint8Array([91, 93, 10]))),
    /altra scheda/);
  // A change made elsewhere since this tab read the file is not saved over.
  await store(second, shared + '[Da un\'altra scheda]\n0\n\n');
  await second.getByRole('button', { name: 'Elimina' }).click();
  const box = second.getByRole('alertdialog', { name: 'Quorvane' });
  await box.getByRole('button', { name: 'S\u00EC' }).click();
  assert.equal(await box.locator('.qv-message').textContent(), 'Impossibile salvare il file "Quorvane.ini": ' +
    'un\'altra scheda o finestra di Quorvane lo ha cambiato nel frattempo.');
  await box.getByRole('button', { name: 'OK' }).click();
  await second.reload();
  await second.waitForFunction(() => document.querySelectorAll('#qv-desktop select option').length > 0);
  assert.equal(await storedFile(second), shared + '[Da un\'altra scheda]\n0\n\n');
  // The stopped tab takes the program back.
  await first.page.getByRole('button', { name: 'Usa Quorvane in questa scheda' }).click();
  await first.page.waitForFunction(() => document.querySelectorAll('#qv-desktop select option').length > 0);
  await second.getByText('qui si \u00E8 fermato', { exact: false }).waitFor();
  assert.deepEqual(first.errors, []);
});

test('a browser that keeps nothing for the page says so in Italian, and the program runs without storage', async () => {
  const page = await browser.context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.addInitScript(() => Object.defineProperty(window, 'indexedDB', {
    get() { throw new DOMException('Access is denied for this document.', 'SecurityError'); } }));
  await page.goto(page_url(buildWeb));
  const box = page.getByRole('alertdialog', { name: 'Quorvane' });
  assert.match(await box.locator('.qv-message').textContent(), /^Questo browser non permette alla pagina di conservare dati/);
  await box.getByRole('button', { name: 'OK' }).click();
  await page.waitForFunction(() => document.querySelectorAll('#qv-desktop select option').length > 0);
  assert.deepEqual(await systems(page), nativeNames(path.join(root, 'examples/Quorvane.ini')));
  await page.getByRole('button', { name: 'Elimina' }).click();
  await box.getByRole('button', { name: 'S\u00EC' }).click();
  await page.waitForFunction(() => !new TextDecoder('latin1').decode(Module.FS.readFile('Quorvane.ini')).startsWith('[Orbita circolare]'));
  assert.equal(await box.count(), 0);
  assert.deepEqual(errors, []);
});

test('"Apri Quorvane.ini..." refuses a file without systems, asks, then starts again on the picked file; "Salva" gives its bytes back, or resave\'s after a save', async () => {
  const { page, errors } = await start(browser.context);
  const laws = path.join(here, 'laws.ini');
  await storeAndReload(page, fs.readFileSync(path.join(root, 'examples/Quorvane.ini'), 'latin1'));
  const before = await systems(page);
  const pick = async (file = laws) => {
    const [chooser] = await Promise.all([page.waitForEvent('filechooser'),
      page.getByRole('button', { name: 'Apri Quorvane.ini...' }).click()]);
    await chooser.setFiles(file);
  };
  const box = page.getByRole('alertdialog', { name: 'Quorvane' });
  // A file that gives no system (empty, or in UTF-16) is refused; the stored systems stay.
  const empty = path.join(os.tmpdir(), `qv-vuoto-${process.pid}.ini`), wide = path.join(os.tmpdir(), `qv-utf16-${process.pid}.ini`);
  fs.writeFileSync(empty, '');
  fs.writeFileSync(wide, Buffer.concat([Buffer.from([0xFF, 0xFE]), Buffer.from(fs.readFileSync(laws, 'latin1'), 'utf16le')]));
  const stored = await storedFile(page);
  for (const file of [empty, wide]) {
    await pick(file);
    assert.equal(await box.locator('.qv-message').textContent(), `Il file "${path.basename(file)}" non contiene nessun ` +
      'sistema di Quorvane: i sistemi salvati restano come sono.');
    await box.getByRole('button', { name: 'OK' }).click();
    await box.waitFor({ state: 'detached' });
    assert.deepEqual(await systems(page), before);
    assert.equal(await storedFile(page), stored);
  }
  fs.rmSync(empty), fs.rmSync(wide);
  // The question says what goes and what comes.
  await pick();
  assert.equal(await box.locator('.qv-message').textContent(), `Il file "laws.ini" contiene ${nativeNames(laws).length} ` +
    `sistemi. Sostituire con questi i ${before.length} sistemi salvati? I sistemi salvati ora andranno persi.`);
  await box.getByRole('button', { name: 'No' }).click();
  await box.waitFor({ state: 'detached' });
  assert.deepEqual(await systems(page), before);
  await pick();
  await Promise.all([page.waitForEvent('load'), box.getByRole('button', { name: 'S\u00EC' }).click()]);
  await page.waitForFunction(() => document.querySelectorAll('#qv-desktop select option').length > 0);
  assert.deepEqual(await systems(page), nativeNames(laws));
  const [download] = await Promise.all([page.waitForEvent('download'),
    page.getByRole('button', { name: 'Salva Quorvane.ini...' }).click()]);
  assert.ok(fs.readFileSync(await download.path()).equals(fs.readFileSync(laws)));

  // A file written loosely, saved by the program, comes back as quorvane-run resave writes it.
  const loose = path.join(root, 'tests/data/store_tolerant.ini');
  await pick(loose);
  await Promise.all([page.waitForEvent('load'), box.getByRole('button', { name: 'S\u00EC' }).click()]);
  await page.waitForFunction(() => document.querySelectorAll('#qv-desktop select option').length > 0);
  await page.getByRole('button', { name: 'Modifica...' }).click();
  const editor = page.getByRole('dialog', { name: 'Caratteristiche del sistema' });
  await editor.getByRole('button', { name: 'OK' }).click();
  await editor.waitFor({ state: 'detached' });
  await page.waitForFunction(() => !new TextDecoder('latin1').decode(Module.FS.readFile('Quorvane.ini')).includes('\r'));
  const resaved = path.join(os.tmpdir(), `qv-resave-${process.pid}.ini`);
  execFileSync(native, ['resave', loose, resaved]);
  const [again] = await Promise.all([page.waitForEvent('download'),
    page.getByRole('button', { name: 'Salva Quorvane.ini...' }).click()]);
  assert.ok(fs.readFileSync(await again.path()).equals(fs.readFileSync(resaved)));
  fs.rmSync(resaved);
  assert.deepEqual(errors, []);
  await page.close();
});
