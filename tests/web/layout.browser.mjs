// Every text of the dialogs fits its control in this engine with room for
// text a tenth wider, and on a phone's screen every control is in reach.
// usage: node layout.browser.mjs BUILD_WEB
import test from 'node:test';
import assert from 'node:assert/strict';
import path from 'node:path';
import { engine, openBrowser, pageHelpers } from './browser.mjs';

const here = path.dirname(new URL(import.meta.url).pathname);
const buildWeb = process.argv[2] || path.resolve(here, '../../build-web');
const { start } = pageHelpers(buildWeb);

const browser = await openBrowser();
test.after(() => browser.close());

// Labels, buttons, check boxes, groups and message texts of the shown windows:
// each with the spare room of its text, and whether text a tenth wider (the
// control a tenth narrower) would leave it.
const measure = (page) => page.evaluate(() => {
  const shown = [...document.querySelectorAll('.qv-dialog')].filter((d) => d.offsetWidth && !d.inert);
  const els = shown.flatMap((d) => [...d.querySelectorAll('.qv-client > div, .qv-client > button, .qv-client > label,'
    + '.qv-client > fieldset, .qv-message, .qv-buttons > button')]);
  return els.filter((e) => e.textContent).map((e) => {
    const node = e.tagName === 'LABEL' ? e.lastChild : e.tagName === 'FIELDSET' ? e.firstChild : e;
    const range = document.createRange();
    range.selectNodeContents(node);
    const s = getComputedStyle(e);
    const inner = () => {
      const b = e.getBoundingClientRect();
      return { left: b.left + parseFloat(s.borderLeftWidth), right: b.right - parseFloat(s.borderRightWidth),
        top: b.top + parseFloat(s.borderTopWidth), bottom: b.bottom - parseFloat(s.borderBottomWidth) };
    };
    // The room of a single line as it stands alone, unwrapped.
    const oneLine = e.tagName !== 'FIELDSET' && !e.classList.contains('qv-message')
      && e.clientHeight < 2.6 * parseFloat(s.fontSize);
    const wrap = e.style.whiteSpace;
    if (oneLine) e.style.whiteSpace = 'nowrap';
    const t = range.getBoundingClientRect(), b = inner();
    e.style.whiteSpace = wrap;
    const lead = e.tagName === 'LABEL' ? t.left - b.left : e.tagName === 'BUTTON' ? parseFloat(s.paddingLeft) : 0;
    const spare = (b.right - b.left - lead - (e.tagName === 'BUTTON' ? parseFloat(s.paddingRight) : 0)) / t.width - 1;
    const width = e.style.width;
    e.style.width = (e.offsetWidth / 1.1) + 'px';
    const n = range.getBoundingClientRect(), m = inner();
    // (a group's title lies on its frame)
    const clipped = n.right > m.right + 0.5 || n.left < m.left - 0.5
      || e.tagName !== 'FIELDSET' && (n.bottom > m.bottom + 0.5 || n.top < m.top - 0.5);
    e.style.width = width;
    return { text: e.textContent.slice(0, 40), spare: oneLine ? Math.round(spare * 1000) / 10 : 100, clipped };
  });
});

// Every control of the shown windows lies on the screen, and a click at its middle reaches it.
const unreachable = (page) => page.evaluate(() => {
  const shown = [...document.querySelectorAll('.qv-dialog')].filter((d) => d.offsetWidth && !d.inert);
  return shown.flatMap((d) => [...d.querySelectorAll('.qv-client > *, .qv-buttons > button, .qv-close')]).filter((e) => {
    const r = e.getBoundingClientRect(), x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    const hit = document.elementFromPoint(x, y);
    return r.left < 0 || r.top < 0 || r.right > innerWidth || r.bottom > innerHeight
      || e.tagName !== 'FIELDSET' && !(hit && (hit === e || e.contains(hit) || e.contains(hit.control)));
  }).map((e) => e.textContent || e.tagName);
});

const report = (where, rows) => console.log(`# ${engine}, ${where}: least spare room ${Math.min(...rows.map((r) => r.spare))} % (`
  + rows.filter((r) => r.spare < 15).map((r) => `${r.text} ${r.spare} %`).join(', ') + ')');

test('every text of the main window, the editor and the message boxes fits with room for text a tenth wider', async () => {
  const { page, errors } = await start(browser.context);
  const main = await measure(page);
  report('main window', main);
  await page.getByRole('button', { name: 'Elimina' }).click();
  const box = page.getByRole('alertdialog', { name: 'Quorvane' });
  await box.waitFor();
  const question = await measure(page);
  await box.getByRole('button', { name: 'No' }).click();
  await page.getByRole('button', { name: 'Aggiungi...' }).click();
  const editor = page.getByRole('dialog', { name: 'Caratteristiche del sistema' });
  await editor.waitFor();
  const edit = await measure(page);
  report('editor', edit);
  // The editor's question, and an OK box (the page's own, whose answer stays in the page).
  await editor.getByRole('button', { name: 'Elimina' }).click();
  await box.waitFor();
  const planet = await measure(page);
  await box.getByRole('button', { name: 'No' }).click();
  await page.evaluate(() => Module.qvPage.messageBox('Immettere un numero.', 0, () => {}));
  const message = [...planet, ...await measure(page)];
  report('message boxes', [...question, ...message]);
  assert.deepEqual([...main, ...question, ...edit, ...message].filter((r) => r.clipped), []);
  assert.ok(main.length >= 6 && edit.length >= 15, `${main.length}, ${edit.length}`);
  await box.getByRole('button', { name: 'OK' }).click();
  assert.deepEqual(errors, []);
  await page.close();
});

test('on a phone held upright (390 × 844) every control of the main window and the editor is in reach', async () => {
  const { page, errors } = await start(browser.context, { width: 390, height: 844 });
  assert.deepEqual(await unreachable(page), []);
  await page.getByRole('button', { name: 'Aggiungi...' }).click();
  const editor = page.getByRole('dialog', { name: 'Caratteristiche del sistema' });
  await editor.waitFor();
  assert.deepEqual(await unreachable(page), []);
  await editor.getByRole('button', { name: 'Elimina' }).click();
  await page.getByRole('alertdialog', { name: 'Quorvane' }).waitFor();
  assert.deepEqual(await unreachable(page), []);
  await page.keyboard.press('Escape');
  assert.deepEqual(errors, []);
  await page.close();
});
