// Debian's WebKitGTK: WebKitWebDriver and its MiniBrowser on a private Xvfb
// screen, through the plain WebDriver protocol. WebDriver has no init scripts:
// a page of the file system is loaded as a copy with them at its head.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { Page, pageHelpersSource } from './page.mjs';

const MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const SCREEN = '1366x768';
const KEYS = { Escape: '\uE00C', Enter: '\uE007', Tab: '\uE004', Shift: '\uE008', Control: '\uE009', Alt: '\uE00A',
  Backspace: '\uE003', Space: ' ', ArrowUp: '\uE013', ArrowDown: '\uE015', ArrowLeft: '\uE012', ArrowRight: '\uE014' };
const keyValue = (k) => KEYS[k] || (/^Key[A-Z]$/.test(k) ? k.slice(3).toLowerCase() : /^Digit\d$/.test(k) ? k.slice(5) : k);

// A program that writes a line on fd 3 once it is ready (Xvfb's -displayfd).
function startX() {
  return new Promise((resolve, reject) => {
    const x = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', `${SCREEN}x24`, '-nolisten', 'tcp'],
      { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
    x.on('error', reject);
    x.stdio[3].once('data', (d) => resolve({ process: x, display: `:${String(d).trim()}` }));
  });
}

async function startDriver(display) {
  const port = 20000 + Math.floor(Math.random() * 20000);
  const driver = spawn(process.env.QV_WEBKITDRIVER || 'WebKitWebDriver', [`--port=${port}`],
    { stdio: 'ignore', env: { ...process.env, DISPLAY: display, WEBKIT_DISABLE_COMPOSITING_MODE: '1' } });
  const base = `http://127.0.0.1:${port}`;
  for (let i = 0; ; ++i) {
    try {
      await fetch(`${base}/status`);
      return { driver, base };
    } catch (e) {
      if (i > 100) throw e;
      await new Promise((r) => setTimeout(r, 100));
    }
  }
}

export async function openBrowser(options = {}) {
  const x = await startX();
  const { driver, base } = await startDriver(x.display);
  const request = async (method, url, body) => {
    const r = await fetch(base + url, { method, headers: { 'content-type': 'application/json' },
      body: body === undefined ? undefined : JSON.stringify(body) });
    const json = await r.json();
    if (json.value && json.value.error) throw new Error(`WebDriver ${url}: ${json.value.error}: ${json.value.message}`);
    return json.value;
  };
  const session = await request('POST', '/session', { capabilities: { alwaysMatch: {
    'webkitgtk:browserOptions': { binary: process.env.QV_MINIBROWSER || MINIBROWSER, args: ['--automation'] } } } });
  const s = `/session/${session.sessionId}`;
  // One command at a time, each in its own window.
  let queue = Promise.resolve();
  let current = (await request('GET', `${s}/window`));
  const serial = (handle, fn) => {
    const next = queue.then(async () => {
      if (handle !== current) await request('POST', `${s}/window`, { handle });
      current = handle;
      return fn();
    });
    queue = next.catch(() => {});
    return next;
  };
  const copies = fs.mkdtempSync(path.join(os.tmpdir(), 'qv-webkit-'));
  let firstWindow = current;

  const context = {
    async newPage() {
      let handle = firstWindow;
      firstWindow = null;
      if (!handle) handle = (await serial(current, () => request('POST', `${s}/window/new`, { type: 'tab' }))).handle;
      const inits = [pageHelpersSource];
      let loaded = null;  // the page asked for, and the copy shown for it
      const copy = (url) => {
        if (!url.startsWith('file://')) return url;
        const file = path.join(copies, `${inits.length}-${path.basename(url)}`);
        const html = fs.readFileSync(new URL(url), 'utf8');
        const scripts = inits.map((i) => `<script>${i}</script>`).join('');
        fs.writeFileSync(file, html.replace(/<head>/i, `<head>${scripts}`));
        return `file://${file}`;
      };
      const actions = (list) => request('POST', `${s}/actions`, { actions: list });
      const engine = {
        exec: (source, args) => serial(handle, () => request('POST', `${s}/execute/async`, {
          script: `const done = arguments[1]; (async (args) => { ${source} })(arguments[0]).then(done,
            (e) => done({ __qvError: String(e && e.stack || e) }));`, args: [args ?? null] }))
          .then((v) => { if (v && v.__qvError) throw new Error(v.__qvError); return v; }),
        click: (x, y) => serial(handle, () => actions([{ type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' },
          actions: [{ type: 'pointerMove', x, y, origin: 'viewport' }, { type: 'pointerDown', button: 0 },
            { type: 'pointerUp', button: 0 }] }])),
        // WebKitWebDriver sends touch as a mouse: a tap is a finger's events made in the page.
        tap: (x, y) => serial(handle, () => request('POST', `${s}/execute/sync`, { script: `
          const [x, y] = arguments, e = document.elementFromPoint(x, y), o = { bubbles: true, cancelable: true,
            pointerType: 'touch', isPrimary: true, clientX: x, clientY: y };
          e.dispatchEvent(new PointerEvent('pointerdown', o));
          e.dispatchEvent(new PointerEvent('pointerup', o));
          e.click();`, args: [x, y] })),
        press: (key) => serial(handle, () => {
          const keys = key.length > 1 ? key.split('+').map(keyValue) : [key];
          return actions([{ type: 'key', id: 'keyboard', actions: [...keys.map((value) => ({ type: 'keyDown', value })),
            ...keys.reverse().map((value) => ({ type: 'keyUp', value }))] }]);
        }),
        screenshot: async () => Buffer.from(await serial(handle, () => request('GET', `${s}/screenshot`)), 'base64'),
        // The window is the viewport and the browser's bar: sized until the viewport is right.
        setViewport: (width, height) => serial(handle, async () => {
          for (let i = 0; i < 3; ++i) {
            const [w, h, ow, oh] = await request('POST', `${s}/execute/sync`,
              { script: 'return [innerWidth, innerHeight, outerWidth, outerHeight]', args: [] });
            if (w === width && h === height) return;
            await request('POST', `${s}/window/rect`, { width: width + ow - w, height: height + oh - h });
          }
        }),
        goto: (url) => serial(handle, () => { loaded = url; return request('POST', `${s}/url`, { url: copy(url) }); }),
        reload: () => serial(handle, () => request('POST', `${s}/refresh`, {})),
        close: () => serial(handle, async () => {
          await request('POST', `${s}/url`, { url: 'about:blank' });
          if ((await request('GET', `${s}/window/handles`)).length > 1) {
            await request('DELETE', `${s}/window`);
            current = null;
          } else {
            firstWindow = handle;  // the session's last window serves the next page
          }
        }),
        addInitScript: async (source) => { inits.push(source); if (loaded) await engine.goto(loaded); },
      };
      const page = new Page(engine);
      await engine.setViewport(1366, 768);
      return page;
    },
  };
  const version = `WebKitGTK ${session.capabilities.browserVersion}`;
  if (options.hasTouch) console.log('# webkit: taps are a finger\'s events made in the page (WebKitWebDriver sends touch as a mouse)');
  return {
    context,
    version,
    // Without a window manager full screen is as large as it gets.
    can: { touch: true, pixelRatio: false, resize: false },
    async close() {
      await request('DELETE', s).catch(() => {});
      driver.kill();
      x.process.kill();
      fs.rmSync(copies, { recursive: true, force: true });
    },
  };
}
