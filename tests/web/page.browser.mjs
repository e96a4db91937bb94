// The page in a headless browser (QV_BROWSER: chromium, firefox, webkit): the
// same program as the desktop's, checked against the native quorvane-run.
// usage: node page.browser.mjs BUILD_WEB NATIVE_QUORVANE_RUN
import test from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { engine, openBrowser, page_url, pageHelpers, skipStep } from './browser.mjs';

const here = path.dirname(new URL(import.meta.url).pathname);
const root = path.resolve(here, '../..');
const buildWeb = process.argv[2] || path.join(root, 'build-web');
const native = process.argv[3] || path.join(root, 'build/tools/quorvane-run');
const nativeNames = (ini) => JSON.parse(execFileSync(native, ['list', ini])).systems.map((s) => s.name);

const { start, systems, store, storeAndReload, differingPixels, runShown, runGone, shownScreen } = pageHelpers(buildWeb);
const storedFile = (page) => page.evaluate(() => new TextDecoder('latin1').decode(Module.FS.readFile('Quorvane.ini')));

const browser = await openBrowser();
test.after(() => browser.close());
// A page a failed test left open would hold the program's lock.
test.afterEach(async () => { for (const p of browser.context.pages()) await p.close(); });

test('the example systems are listed at start, as the native tool reads them', async () => {
  const { page, errors } = await start(browser.context);
  assert.deepEqual(await systems(page), nativeNames(path.join(root, 'examples/Quorvane.ini')));
  assert.equal(await page.$eval('#qv-desktop select', (s) => s.selectedIndex), 0);
  // The dialogs' own font, not a fallback of the system, with the accents of Windows-1252.
  assert.equal(await page.evaluate(async () => {
    await document.fonts.ready;
    return [...document.fonts].filter((f) => f.family === 'QvDialogFont').map((f) => f.status).join()
      + document.fonts.check('8pt QvDialogFont', 'àèéìòù€');
  }), 'loadedtrue');
  // The stored file, seeded on the first visit, downloads byte for byte.
  const [download] = await Promise.all([page.waitForEvent('download'),
    page.getByRole('button', { name: 'Salva Quorvane.ini...' }).click()]);
  assert.equal(download.suggestedFilename(), 'Quorvane.ini');
  assert.ok(fs.readFileSync(await download.path()).equals(fs.readFileSync(path.join(root, 'examples/Quorvane.ini'))));
  // The end of the program is said in the page, which offers to start again.
  await page.getByRole('button', { name: '(Fine del programma)' }).click();
  await page.getByRole('button', { name: 'Avvia di nuovo' }).waitFor();
  assert.equal(await page.locator('.qv-dialog').count(), 0);
  assert.equal(await page.getByRole('button', { name: 'Salva Quorvane.ini...' }).isDisabled(), true);
  assert.deepEqual(errors, []);
  await page.close();
});

test('a browser without WebAssembly\'s vectors is told so in Italian, not left with an empty page', async () => {
  const page = await browser.context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.addInitScript(() => { WebAssembly.validate = () => false; });
  await page.goto(page_url(buildWeb));
  await page.getByText('Questo browser \u00E8 troppo vecchio per Quorvane', { exact: false }).waitFor();
  assert.equal(await page.locator('.qv-dialog').count(), 0);
  assert.equal(await page.getByRole('button', { name: 'Apri Quorvane.ini...' }).isDisabled(), true);
  assert.deepEqual(errors, []);
  await page.close();
});

test('a run at 800 × 600 shows render\'s frame pixel for pixel; V, E, P, a digit and ESC', async () => {
  const { page, errors } = await start(browser.context, { width: 800, height: 600 });
  await storeAndReload(page, fs.readFileSync(path.join(here, 'fixed.ini'), 'latin1'));
  assert.deepEqual(await systems(page), ['Corpi fissi']);
  await page.getByRole('button', { name: 'Avvia la simulazione!' }).click();
  await runShown(page);
  await page.keyboard.press('KeyV');
  await page.keyboard.press('KeyE');
  await page.waitForTimeout(300);
  const shot = await page.screenshot();
  const png = path.join(os.tmpdir(), `qv-render-${process.pid}.png`);
  // Full screen may be larger than the window was: then the desktop's picture of that screen.
  const screen = await shownScreen(page);
  execFileSync(native, ['render', path.join(here, 'fixed.ini'), '--system', '0', '--ticks', '3', '--vectors',
    '--labels', '--out', png, ...(screen === '800x600' ? [] : ['--screen', screen])]);
  assert.equal(await differingPixels(page, fs.readFileSync(png), shot), 0);
  fs.rmSync(png);
  assert.equal(await page.$eval('#qv-screen-back', (e) => getComputedStyle(e).cursor), 'none');
  await page.keyboard.press('Escape');
  await runGone(page);

  // P stops the motion and starts it again; a digit changes the speed, not the run.
  await storeAndReload(page, fs.readFileSync(path.join(root, 'examples/Quorvane.ini'), 'latin1'));
  await page.getByRole('button', { name: 'Avvia la simulazione!' }).click();
  await runShown(page);
  await page.waitForTimeout(200);
  await page.keyboard.press('KeyP');
  await page.waitForTimeout(100);
  const paused1 = await page.screenshot();
  await page.waitForTimeout(300);
  const paused2 = await page.screenshot();
  assert.equal(await differingPixels(page, paused1, paused2), 0);
  await page.keyboard.press('Digit9');
  await page.keyboard.press('KeyP');
  await page.waitForTimeout(300);
  assert.ok((await differingPixels(page, paused2, await page.screenshot())) > 0);
  // Leaving the browser's full screen ends the run as ESC does.
  assert.ok(await page.evaluate(() => !!document.fullscreenElement));
  await page.evaluate(() => document.exitFullscreen());
  await runGone(page);
  assert.equal(await page.$eval('body', (b) => b.classList.contains('qv-no-cursor')), false);
  assert.deepEqual(errors, []);
  await page.close();
});

test('a delete asks first; only Sì deletes, and the stored file follows', async () => {
  const { page, errors } = await start(browser.context);
  await storeAndReload(page, fs.readFileSync(path.join(root, 'examples/Quorvane.ini'), 'latin1'));
  const before = await systems(page);
  await page.$eval('#qv-desktop select', (s) => { s.selectedIndex = 1; s.dispatchEvent(new Event('change')); });
  await page.getByRole('button', { name: 'Elimina' }).click();
  const box = page.getByRole('alertdialog', { name: 'Quorvane' });
  await box.waitFor();
  await box.getByRole('button', { name: 'No' }).click();
  await box.waitFor({ state: 'detached' });
  assert.deepEqual(await systems(page), before);
  await page.getByRole('button', { name: 'Elimina' }).click();
  await box.getByRole('button', { name: 'S\u00EC' }).click();
  await box.waitFor({ state: 'detached' });
  const after = before.filter((_, i) => i !== 1);
  await page.waitForFunction((n) => document.querySelectorAll('#qv-desktop select option').length === n, after.length);
  assert.deepEqual(await systems(page), after);
  // The save waits for IndexedDB after the list has changed.
  await page.waitForFunction((header) => !new TextDecoder('latin1').decode(Module.FS.readFile('Quorvane.ini')).includes(header),
    '[' + before[1] + ']');
  await page.reload();
  await page.waitForFunction(() => document.querySelectorAll('#qv-desktop select option').length > 0);
  assert.deepEqual(await systems(page), after);
  assert.deepEqual(errors, []);
  await page.close();
});

test('a system added in the editor is in the list, in the stored file and after a reload', async () => {
  const { page, errors } = await start(browser.context);
  await storeAndReload(page, fs.readFileSync(path.join(here, 'fixed.ini'), 'latin1'));
  await page.getByRole('button', { name: 'Aggiungi...' }).click();
  const editor = page.getByRole('dialog', { name: 'Caratteristiche del sistema' });
  await editor.waitFor();
  // The main window waits under the editor, and so does the bar.
  assert.equal(await page.getByRole('dialog', { name: 'Quorvane' }).evaluate((d) => d.inert), true);
  assert.equal(await page.getByRole('button', { name: 'Salva Quorvane.ini...' }).isDisabled(), true);
  const name = editor.locator('input[type=text]').last();  // the template's last field
  assert.equal(await name.inputValue(), 'Nuova configurazione');
  await name.fill('Prova nel browser');
  await editor.locator('input[type=text]').nth(1).fill('123.5');
  await editor.getByRole('button', { name: 'OK' }).click();
  await editor.waitFor({ state: 'detached' });
  assert.deepEqual(await systems(page), ['Corpi fissi', 'Prova nel browser']);
  assert.equal(await page.$eval('#qv-desktop select', (s) => s.selectedIndex), 1);
  await page.waitForFunction(() => new TextDecoder('latin1').decode(Module.FS.readFile('Quorvane.ini')).includes('[Prova'));
  const stored = await storedFile(page);
  assert.match(stored, /\[Prova nel browser\]\n0\nPrimo pianeta\n\t123\.500000\t/);
  await page.reload();
  await page.waitForFunction(() => document.querySelectorAll('#qv-desktop select option').length > 0);
  assert.deepEqual(await systems(page), ['Corpi fissi', 'Prova nel browser']);
  assert.equal(await storedFile(page), stored);

  // Without planets the planet's fields are disabled; ESC closes the editor,
  // and the system is added as the desktop adds it, whichever way it closed.
  await page.getByRole('button', { name: 'Aggiungi...' }).click();
  await editor.waitFor();
  const planetName = editor.locator('input[type=text]').first();
  assert.equal(await planetName.isEnabled(), true);
  for (const next of ['Secondo pianeta', '']) {  // a new system has two planets
    await editor.getByRole('button', { name: 'Elimina' }).click();
    await page.getByRole('alertdialog', { name: 'Quorvane' }).getByRole('button', { name: 'S\u00EC' }).click();
    await page.waitForFunction(([el, v]) => el.value === v, [await planetName.elementHandle(), next]);
  }
  await page.waitForFunction((el) => el.disabled, await planetName.elementHandle());
  assert.equal(await planetName.inputValue(), '');
  await page.keyboard.press('Escape');
  await editor.waitFor({ state: 'detached' });
  assert.deepEqual(await systems(page), ['Corpi fissi', 'Prova nel browser', 'Nuova configurazione']);
  assert.deepEqual(errors, []);
  await page.close();
});

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

test('a file of 50,000 systems is listed whole, first selected, and the page answers', async () => {
  const { page, errors } = await start(browser.context);
  let text = '';
  for (let i = 1; i <= 50000; ++i) text += `[Sistema ${i}]\n0\nSole\n\t400.000000\t300.000000\t0.000000\t0.000000\t10.000000\t1\n\n`;
  await storeAndReload(page, text);
  await page.waitForFunction(() => document.querySelectorAll('#qv-desktop select option').length === 50000);
  const names = await systems(page);
  assert.deepEqual([names[0], names[49999]], ['Sistema 1', 'Sistema 50000']);
  assert.equal(await page.$eval('#qv-desktop select', (s) => s.selectedIndex), 0);
  // The list follows a delete at once.
  await page.$eval('#qv-desktop select', (s) => { s.selectedIndex = 49999; s.dispatchEvent(new Event('change')); });
  await page.getByRole('button', { name: 'Elimina' }).click();
  await page.getByRole('alertdialog', { name: 'Quorvane' }).getByRole('button', { name: 'S\u00EC' }).click();
  await page.waitForFunction(() => document.querySelectorAll('#qv-desktop select option').length === 49999);
  assert.equal(await page.$eval('#qv-desktop select', (s) => s.value), 'Sistema 49999');
  assert.deepEqual(errors, []);
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
