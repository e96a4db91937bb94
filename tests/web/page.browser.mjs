// The page in a headless browser (QV_BROWSER: chromium, firefox, webkit): the
// same program as the desktop's, checked against the native quorvane-run:
// its list, a run, the editor, a long file (the storage: storage.browser.mjs).
// usage: node page.browser.mjs BUILD_WEB NATIVE_QUORVANE_RUN
import test from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { openBrowserClosingPages, page_url, pageHelpers } from './browser.mjs';

const here = path.dirname(new URL(import.meta.url).pathname);
const root = path.resolve(here, '../..');
const buildWeb = process.argv[2] || path.join(root, 'build-web');
const native = process.argv[3] || path.join(root, 'build/tools/quorvane-run');
const nativeNames = (ini) => JSON.parse(execFileSync(native, ['list', ini])).systems.map((s) => s.name);

const { start, systems, storeAndReload, storedFile, differingPixels, runShown, runGone, shownScreen } = pageHelpers(buildWeb);

const browser = await openBrowserClosingPages(test);

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
