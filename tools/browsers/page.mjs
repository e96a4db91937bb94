// The part of Playwright's page the tests use, over an engine that can only
// run a script in the page, click, tap, press keys, take a screenshot and
// size its viewport (Firefox through puppeteer, WebKit through WebDriver).
// Elements are found in the page by the same rules as Playwright's: roles
// and accessible names, text, CSS, nth; actions wait until their element
// is there, shown, enabled and not covered.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const TIMEOUT = 20000;
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// Runs in the page before every script: finds a chain of steps, and keeps
// downloads and file pickers for the tests (no dialog opens in any engine).
export const pageHelpersSource = `
if (!window.__qv) {
  const hidden = (e) => {
    for (let a = e; a; a = a.parentElement) if (a.getAttribute('aria-hidden') === 'true') return true;
    const r = e.getBoundingClientRect();
    return r.width === 0 && r.height === 0 || getComputedStyle(e).visibility === 'hidden';
  };
  const norm = (s) => (s || '').replace(/\\s+/g, ' ').trim();
  const roles = { button: 'button,[role=button],input[type=button],input[type=submit]', checkbox: 'input[type=checkbox]',
    textbox: 'input[type=text],textarea', combobox: 'select' };
  const nameOf = (e) => norm(e.getAttribute('aria-label') || (e.tagName === 'INPUT' ? e.value : e.textContent));
  const matches = (text, want, exact) => exact ? text === want : text.toLowerCase().includes(norm(want).toLowerCase());
  const step = (root, s) => {
    if (s.css) return [...root.querySelectorAll(s.css)];
    if (s.role) return [...root.querySelectorAll(roles[s.role] || '[role=' + s.role + ']')]
      .filter((e) => !hidden(e) && (s.name === undefined || matches(nameOf(e), s.name, s.exact)));
    const all = [...root.querySelectorAll('*')].filter((e) => e.tagName !== 'SCRIPT' && e.tagName !== 'STYLE'
      && matches(norm(e.textContent), s.text, s.exact));
    return all.filter((e) => !all.some((c) => c !== e && e.contains(c)));
  };
  window.__qv = {
    find(chain) {
      let found = [document];
      for (const s of chain) {
        if (s.nth !== undefined) found = found.length ? [found[s.nth < 0 ? found.length - 1 : s.nth]].filter(Boolean) : [];
        else found = [...new Set(found.flatMap((r) => step(r, s)))];
      }
      return found;
    },
    visible(e) { const r = e.getBoundingClientRect(); return r.width > 0 && r.height > 0 && getComputedStyle(e).visibility !== 'hidden'; },
    // Where a click lands on e, once it would reach it; else why not.
    point(e) {
      if (!this.visible(e)) return 'not visible';
      if ((e.qvInput || e).disabled) return 'disabled';
      e.scrollIntoView({ block: 'center', inline: 'center' });
      const r = e.getBoundingClientRect();
      const x = r.left + r.width / 2, y = r.top + r.height / 2;
      const hit = document.elementFromPoint(x, y);
      return hit && (e === hit || e.contains(hit) || (hit.control === e)) ? [Math.round(x), Math.round(y)] : 'covered';
    },
    errors: [],
    reported: 0,
    downloads: [],
    chooser: null,
  };
  addEventListener('error', (ev) => window.__qv.errors.push(ev.message));
  addEventListener('unhandledrejection', (ev) => window.__qv.errors.push(String(ev.reason && ev.reason.message || ev.reason)));
  const click = HTMLElement.prototype.click;
  HTMLElement.prototype.click = function () {
    if (this.tagName === 'A' && this.download) {
      const name = this.download;
      fetch(this.href).then((r) => r.arrayBuffer()).then((b) => {
        let s = '';
        for (const x of new Uint8Array(b)) s += String.fromCharCode(x);
        window.__qv.downloads.push({ name, data: btoa(s) });
      });
      return;
    }
    if (this.tagName === 'INPUT' && this.type === 'file') { window.__qv.chooser = this; return; }
    return click.call(this);
  };
}`;

// An engine: { exec(source, args), click(x, y), tap(x, y), press(key), screenshot(), setViewport(w, h),
//   goto(url), reload(), close(), addInitScript(source) }. `exec` runs `source`, the body of an async
// function of `args`, and returns its value. Its init scripts run pageHelpersSource first, so that
// errors of the page's start are kept too.
export class Page {
  constructor(engine) {
    this.engine = engine;
    this.listeners = { pageerror: [], request: [] };
    this.keyboard = { press: (key) => this.engine.press(key), type: async (text) => { for (const c of text) await this.engine.press(c); } };
    this.mouse = { click: (x, y) => this.engine.click(x, y) };
    this.touchscreen = { tap: (x, y) => this.engine.tap(x, y) };
    this.viewport = { width: 1366, height: 768 };
  }

  on(event, fn) { (this.listeners[event] ||= []).push(fn); }
  emit(event, value) { for (const fn of this.listeners[event] || []) fn(value); }

  // Runs `body` (source, an async function's body over `args`) with the helpers there.
  async run(body, args) {
    const { value, errors, requests } = await this.engine.exec(`${pageHelpersSource}
      const value = await (async (args) => { ${body} })(args);
      const requests = performance.getEntriesByType('resource').slice(window.__qv.reported).map((e) => e.name);
      window.__qv.reported += requests.length;
      return { value, errors: window.__qv.errors.splice(0), requests };`, args);
    for (const message of errors || []) this.emit('pageerror', { message });
    for (const url of requests || []) this.emit('request', { url: () => url });
    return value;
  }

  evaluate(fn, arg) { return this.run(`return (${fn})(${revive('args')});`, encode(arg)); }
  $eval(css, fn, arg) {
    return this.run(`const e = document.querySelector(args.css); if (!e) throw new Error('no ' + args.css);
      return (${fn})(e, ${revive('args.arg')});`, { css, arg: encode(arg) });
  }
  $$eval(css, fn, arg) {
    return this.run(`return (${fn})([...document.querySelectorAll(args.css)], ${revive('args.arg')});`, { css, arg: encode(arg) });
  }
  async waitForFunction(fn, arg, options = {}) {
    // Truthy in the page, as Playwright takes it: an element does not travel back.
    const truthy = `async (a) => !!(await (${fn})(a))`;
    return poll(() => this.evaluate(truthy, arg), (v) => v, options.timeout, `waitForFunction ${fn}`);
  }
  waitForSelector(css, options) { return this.locator(css).waitFor(options); }
  waitForTimeout(ms) { return sleep(ms); }

  locator(css) { return new Locator(this, [{ css }]); }
  getByRole(role, o = {}) { return new Locator(this, [{ role, name: o.name, exact: o.exact }]); }
  getByText(text, o = {}) { return new Locator(this, [{ text, exact: o.exact }]); }

  async goto(url) { await this.engine.goto(url); await this.run('return 0;'); }
  async reload() { await this.engine.reload(); await this.run('return 0;'); }
  async setViewportSize(size) { this.viewport = size; await this.engine.setViewport(size.width, size.height); }
  viewportSize() { return this.viewport; }
  screenshot() { return this.engine.screenshot(); }
  addInitScript(fn) { return this.engine.addInitScript(`(${fn})();`); }
  close() { return this.engine.close(); }

  // The events the tests wait for: a download, a file picker, the next page load.
  async waitForEvent(name, options = {}) {
    if (name === 'download') {
      const d = await poll(() => this.run('return window.__qv.downloads.shift() || null;'), (v) => v, options.timeout, 'a download');
      return {
        suggestedFilename: () => d.name,
        path: async () => {
          const file = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'qv-download-')), d.name);
          fs.writeFileSync(file, Buffer.from(d.data, 'base64'));
          return file;
        },
      };
    }
    if (name === 'filechooser') {
      await poll(() => this.run('return !!window.__qv.chooser;'), (v) => v, options.timeout, 'a file picker');
      return {
        setFiles: (file) => this.run(`const input = window.__qv.chooser; window.__qv.chooser = null;
          const bytes = Uint8Array.from(atob(args.data), (c) => c.charCodeAt(0));
          const t = new DataTransfer(); t.items.add(new File([bytes], args.name));
          input.files = t.files; input.dispatchEvent(new Event('input', { bubbles: true }));
          input.dispatchEvent(new Event('change', { bubbles: true })); return 0;`,
        { name: path.basename(file), data: fs.readFileSync(file).toString('base64') }),
      };
    }
    if (name === 'load') {
      const mark = `qv${Math.random()}`;
      await this.run('window.__qvMark = args; return 0;', mark);
      await poll(() => this.run('return window.__qvMark !== args && document.readyState === "complete";', mark).catch(() => false),
        (v) => v, options.timeout, 'a new page');
      return this;
    }
    throw new Error(`no event ${name} in this engine`);
  }
}

export class Locator {
  constructor(page, chain) { this.page = page; this.chain = chain; }
  locator(css) { return new Locator(this.page, [...this.chain, { css }]); }
  getByRole(role, o = {}) { return new Locator(this.page, [...this.chain, { role, name: o.name, exact: o.exact }]); }
  getByText(text, o = {}) { return new Locator(this.page, [...this.chain, { text, exact: o.exact }]); }
  nth(i) { return new Locator(this.page, [...this.chain, { nth: i }]); }
  first() { return this.nth(0); }
  last() { return this.nth(-1); }
  elementHandle() { return this; }

  // Runs fn(elements, arg) in the page.
  all(fn, arg) {
    return this.page.run(`return (${fn})(window.__qv.find(args.chain), ${revive('args.arg')});`,
      { chain: this.chain, arg: encode(arg) });
  }
  // Runs fn(element, arg) on the one element, waiting for it.
  async one(fn, arg) {
    const r = await poll(() => this.all(`(es, a) => es.length === 1 ? { v: (${fn})(es[0], a) } : es.length`, arg),
      (v) => typeof v === 'object', TIMEOUT, `one element for ${JSON.stringify(this.chain)}`);
    return r.v;
  }
  count() { return this.all((es) => es.length); }
  isVisible() { return this.all((es) => es.length > 0 && window.__qv.visible(es[0])); }
  isDisabled() { return this.one((e) => !!(e.qvInput || e).disabled); }
  isEnabled() { return this.one((e) => !(e.qvInput || e).disabled); }
  inputValue() { return this.one((e) => e.value); }
  textContent() { return this.one((e) => e.textContent); }
  allTextContents() { return this.all((es) => es.map((e) => e.textContent)); }
  evaluate(fn, arg) { return this.one(fn, arg); }

  async waitFor(options = {}) {
    const state = options.state || 'visible';
    const test = {
      attached: (es) => es.length > 0, detached: (es) => es.length === 0,
      visible: (es) => es.length > 0 && window.__qv.visible(es[0]), hidden: (es) => es.length === 0 || !window.__qv.visible(es[0]),
    }[state];
    await poll(() => this.all(`(es) => (${test})(es)`), (v) => v, options.timeout, `${state}: ${JSON.stringify(this.chain)}`);
  }

  // Where a pointer reaches the element, once it can.
  async point() {
    return poll(() => this.all((es) => es.length === 1 ? window.__qv.point(es[0]) : `${es.length} elements`),
      Array.isArray, TIMEOUT, `a click on ${JSON.stringify(this.chain)}`);
  }
  async click() { const [x, y] = await this.point(); await this.page.engine.click(x, y); }
  async tap() { const [x, y] = await this.point(); await this.page.engine.tap(x, y); }
  async focus() { await this.one((e) => e.focus()); }
  async press(key) { await this.focus(); await this.page.engine.press(key); }
  async fill(value) {
    await this.point();
    await this.one((e, v) => {
      e.focus();
      e.value = v;
      e.dispatchEvent(new Event('input', { bubbles: true }));
    }, value);
  }
  async selectOption(choice) {
    await this.point();
    await this.one((e, c) => {
      if (typeof c === 'object' && c.index !== undefined) e.selectedIndex = c.index;
      else e.value = typeof c === 'object' ? c.value : c;
      e.dispatchEvent(new Event('input', { bubbles: true }));
      e.dispatchEvent(new Event('change', { bubbles: true }));
    }, choice);
  }
}

// Locators passed to a script become their elements there.
function encode(arg) {
  if (arg instanceof Locator) return { __qvChain: arg.chain };
  if (Array.isArray(arg)) return arg.map(encode);
  return arg;
}
const revive = (expr) =>
  `((a) => { const f = (x) => x && x.__qvChain ? window.__qv.find(x.__qvChain)[0] : Array.isArray(x) ? x.map(f) : x; return f(a); })(${expr})`;

async function poll(get, done, timeout = TIMEOUT, what = '') {
  const end = Date.now() + timeout;
  let last;
  for (;;) {
    last = await get();
    if (done(last)) return last;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what} (last: ${JSON.stringify(last)})`);
    await sleep(40);
  }
}
