// Dialogs and message boxes of the page in headless chromium: refused fields,
// keys that reach the topmost window only, Tab, the question's icon, NUL bytes.
// usage: node dialogs.browser.mjs BUILD_WEB NATIVE_QUORVANE_RUN
import test from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { openBrowser, pageHelpers } from './browser.mjs';

const here = path.dirname(new URL(import.meta.url).pathname);
const root = path.resolve(here, '../..');
const buildWeb = process.argv[2] || path.join(root, 'build-web');
const native = process.argv[3] || path.join(root, 'build/tools/quorvane-run');
const { start, systems, storeAndReload } = pageHelpers(buildWeb);
const storedBytes = (page) => page.evaluate(() => [...Module.FS.readFile('Quorvane.ini')]);
const examples = fs.readFileSync(path.join(root, 'examples/Quorvane.ini'), 'latin1');

const browser = await openBrowser();
test.after(() => browser.close());

// The page with the program's systems, and a way to wait until the program
// waits for the user again (blocked in nextEvent with nothing queued).
async function open(text = examples) {
  const { page, errors } = await start(browser.context);
  await storeAndReload(page, text);
  await page.evaluate(() => {
    const next = Module.qvPage.nextEvent;
    window.qvIdle = true;
    Module.qvPage.nextEvent = () => {
      window.qvIdle = true;
      return next().then((e) => { window.qvIdle = false; return e; });
    };
  });
  const idle = () => page.waitForFunction(() => window.qvIdle, null, { timeout: 10000 });
  const box = page.locator('.qv-messagebox');
  // Answers every box that comes with `key` (or a click on its first button); their texts.
  const answer = async (key) => {
    const texts = [];
    for (;;) {
      await idle();
      if (!(await box.count())) return texts;
      texts.push(await box.locator('.qv-message').textContent());
      if (key) await page.keyboard.press(key);
      else await box.locator('button').first().click();
    }
  };
  const editor = page.getByRole('dialog', { name: 'Caratteristiche del sistema' });
  const main = page.getByRole('dialog', { name: 'Quorvane' });
  return { page, errors, idle, box, answer, editor, main, field: (i) => editor.locator('input[type=text]').nth(i) };
}

test('a refused number leaves the editor alive on every validating path; the fixed value is saved', async () => {
  const { page, errors, answer, editor, field } = await open();
  const before = await systems(page);
  await page.getByRole('button', { name: 'Aggiungi...' }).click();
  await editor.waitFor();
  const mass = field(5), shownName = field(0);
  const number = ['Immettere un numero.'];
  // OK stores the planet and then closes: the refusal is said twice, and the editor stays.
  for (const bad of ['1,5', '', 'abc', '1e999']) {
    await mass.fill(bad);
    await editor.getByRole('button', { name: 'OK' }).click();
    assert.deepEqual(await answer(), [...number, ...number], bad);
    assert.equal(await mass.inputValue(), bad);
    assert.equal(await page.evaluate(() => document.activeElement.value), bad);
  }
  // Another planet chosen, "Stabilizza", a planet added: each refuses, and the editor goes on.
  await mass.fill('1,5');
  await editor.locator('select').first().selectOption({ index: 1 });
  assert.deepEqual(await answer('Enter'), [...number, ...number]);
  assert.equal(await shownName.inputValue(), 'Secondo pianeta');
  await mass.fill('abc');
  await editor.getByRole('button', { name: 'Stabilizza il baricentro' }).click();
  assert.deepEqual(await answer('Escape'), number);
  assert.equal(await mass.inputValue(), '1');  // the handler went on with the mass it had
  await mass.fill('');
  await editor.getByRole('button', { name: 'Aggiungi...' }).click();
  assert.deepEqual(await answer(), [...number, ...number]);
  assert.equal(await shownName.inputValue(), 'Nuovo pianeta');
  // Fixed, the value is taken and the system saved.
  await mass.fill('2.5');
  await field(7).fill('Dopo gli errori');
  await editor.getByRole('button', { name: 'OK' }).click();
  assert.deepEqual(await answer(), []);
  await editor.waitFor({ state: 'detached' });
  assert.deepEqual(await systems(page), [...before, 'Dopo gli errori']);
  await page.waitForFunction(() => new TextDecoder('latin1').decode(Module.FS.readFile('Quorvane.ini')).includes('[Dopo'));
  const stored = new TextDecoder('latin1').decode(Uint8Array.from(await storedBytes(page)));
  assert.match(stored, /\[Dopo gli errori\]\n0\nPrimo pianeta\n\t0\.000000\t0\.000000\t0\.000000\t0\.000000\t1\.000000\t0\nSecondo pianeta\n[^\n]*\nNuovo pianeta\n\t0\.000000\t0\.000000\t0\.000000\t0\.000000\t2\.500000\t0\n\n$/);
  assert.deepEqual(errors, []);
  await page.close();
});

test('ESC and Enter on a message box act on the box alone, never on the window beneath', async () => {
  const { page, errors, answer, box, editor, main, field } = await open();
  const before = await systems(page);
  // The main window's "Elimina": ESC is No, and the program goes on; Enter is Sì, and no run starts.
  await page.getByRole('button', { name: 'Elimina' }).click();
  assert.deepEqual(await answer('Escape'), ['Eliminare la configurazione selezionata?']);
  assert.deepEqual(await systems(page), before);
  await page.getByRole('button', { name: 'Elimina' }).click();
  assert.deepEqual(await answer('Enter'), ['Eliminare la configurazione selezionata?']);
  assert.deepEqual(await systems(page), before.slice(1));
  assert.equal(await page.locator('#qv-screen').count(), 0);
  // Enter in a dialog is the program's: the focused button's command, not the
  // default's; the help text keeps Enter, and no run starts.
  await page.getByRole('button', { name: 'Elimina' }).press('Enter');
  assert.deepEqual(await answer('Escape'), ['Eliminare la configurazione selezionata?']);
  await main.locator('textarea').press('Enter');
  assert.deepEqual(await answer(), []);
  assert.equal(await page.locator('#qv-screen').count(), 0);
  // The page's own question: ESC leaves the stored systems and the program as they were.
  const [chooser] = await Promise.all([page.waitForEvent('filechooser'),
    page.getByRole('button', { name: 'Apri Quorvane.ini...' }).click()]);
  await chooser.setFiles(path.join(here, 'laws.ini'));
  await box.waitFor();
  assert.equal(await box.getByRole('img', { name: 'Domanda' }).count(), 1);
  await page.keyboard.press('Escape');
  await box.waitFor({ state: 'detached' });
  assert.deepEqual(await answer(), []);
  assert.equal(await main.isVisible(), true);
  assert.deepEqual(await systems(page), before.slice(1));

  // In the editor: ESC on the delete question and on "Funzione non ancora realizzata"
  // closes only the box; the shown planet's edits stay and OK keeps them.
  await page.getByRole('button', { name: 'Modifica...' }).click();
  await editor.waitFor();
  await field(5).fill('7');
  await editor.getByRole('button', { name: 'Elimina' }).click();
  assert.deepEqual(await answer('Escape'), ['Eliminare il pianeta selezionato?']);
  await editor.locator('select').nth(1).selectOption({ index: 3 });
  assert.deepEqual(await answer('Escape'), ['Funzione non ancora realizzata']);
  await editor.locator('select').nth(1).selectOption({ index: 3 });
  assert.deepEqual(await answer('Enter'), ['Funzione non ancora realizzata']);
  assert.equal(await editor.isVisible(), true);
  assert.equal(await field(5).inputValue(), '7');
  await editor.getByRole('button', { name: 'OK' }).click();
  await editor.waitFor({ state: 'detached' });
  await page.waitForFunction(() => /\n\t[^\n]*\t7\.000000\t[01]\n/.test(new TextDecoder('latin1').decode(Module.FS.readFile('Quorvane.ini'))));
  assert.equal(await page.getByRole('button', { name: 'Avvia di nuovo' }).count(), 0);
  assert.deepEqual(errors, []);
  await page.close();
});

test('Tab goes round the dialog\'s controls; a question shows its icon; NUL bytes in names are kept', async () => {
  const nul = fs.readFileSync(path.join(here, 'nul.ini'), 'latin1');
  const { page, errors, answer, box, editor, field } = await open(nul);
  await page.getByRole('button', { name: 'Modifica...' }).click();
  await editor.waitFor();
  assert.equal(await field(0).inputValue(), 'Lu\0na');
  assert.equal(await field(7).inputValue(), 'Si\0s');
  // Tab from the last control comes back to the first (OK), Shift+Tab goes back round.
  const focused = () => page.evaluate(() => document.activeElement.closest('.qv-dialog') &&
    (document.activeElement.textContent || document.activeElement.tagName + document.activeElement.value));
  assert.equal(await focused(), 'OK');
  const order = [];
  for (let i = 0; i < 40 && (i === 0 || order[order.length - 1] !== 'OK'); ++i) {
    await page.keyboard.press('Tab');
    order.push(await focused());
  }
  assert.equal(order.length, 15, order.join('|'));  // 15 tab stops, the last Tab on OK again
  await page.keyboard.press('Shift+Tab');
  assert.equal(await focused(), 'INPUTSi\0s');
  // Yes/No asks with the question mark; a plain message has no icon.
  await editor.getByRole('button', { name: 'Elimina' }).click();
  await box.waitFor();
  assert.equal(await box.getByRole('img', { name: 'Domanda' }).isVisible(), true);
  await page.keyboard.press('Tab');
  assert.equal(await page.evaluate(() => document.activeElement.textContent), 'No');
  await page.keyboard.press('Tab');
  assert.equal(await page.evaluate(() => document.activeElement.textContent), 'S\u00EC');
  assert.deepEqual(await answer('Escape'), ['Eliminare il pianeta selezionato?']);
  await editor.getByRole('button', { name: 'OK' }).click();
  await editor.waitFor({ state: 'detached' });
  // The file comes back as resave writes it, NULs and all.
  const resaved = path.join(os.tmpdir(), `qv-nul-${process.pid}.ini`);
  execFileSync(native, ['resave', path.join(here, 'nul.ini'), resaved]);
  await page.waitForFunction((n) => Module.FS.readFile('Quorvane.ini').length !== n, nul.length);
  assert.deepEqual(await storedBytes(page), [...fs.readFileSync(resaved)]);
  fs.rmSync(resaved);
  await page.getByRole('button', { name: 'Aggiungi...' }).click();
  await editor.waitFor();
  await field(5).fill('x');
  await editor.getByRole('button', { name: 'Stabilizza il baricentro' }).click();
  await box.waitFor();
  assert.equal(await box.getByRole('img').count(), 0);
  assert.deepEqual(await answer(), ['Immettere un numero.']);
  assert.deepEqual(errors, []);
  await page.close();
});
