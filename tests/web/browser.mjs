// The browser of the page's tests, chosen by QV_BROWSER: chromium (the
// default, through playwright-core), firefox (puppeteer-core) or webkit
// (WebKitWebDriver); each a fresh profile, none fetching anything from any
// network. Pages of every engine answer the same part of Playwright's page
// API. And what the page's tests share.
import path from 'node:path';

export const engine = process.env.QV_BROWSER || 'chromium';
const { openBrowser: open } = await import(`../../tools/browsers/${engine}.mjs`);

export const page_url = (buildDir) => 'file://' + path.resolve(buildDir, 'quorvane.html');

// `options`: more of the context's options (a touch screen, a device pixel ratio).
// `can` says what the engine can do: touch, pixelRatio (other than 1), resize (a window in full screen).
export async function openBrowser(options = {}) {
  const browser = await open(options);
  if (!browser.context.pages) {
    // Playwright's context lists its open pages; the other engines' are kept here.
    const pages = new Set(), newPage = browser.context.newPage.bind(browser.context);
    browser.context.newPage = async () => {
      const page = await newPage(), close = page.close.bind(page);
      page.close = () => { pages.delete(page); return close(); };
      pages.add(page);
      return page;
    };
    browser.context.pages = () => [...pages];
  }
  if (!openBrowser.said) console.log(`# ${browser.version}`);
  openBrowser.said = true;
  return browser;
}

// The browser of a file of `test`s that open the program: a page a failed
// test left open would hold the program's lock, so each test's pages close
// after it.
export async function openBrowserClosingPages(test) {
  const browser = await openBrowser();
  test.after(() => browser.close());
  test.afterEach(async () => { for (const p of browser.context.pages()) await p.close(); });
  return browser;
}

// Says which step of a test this engine leaves out, and why.
export function skipStep(step, why) {
  console.log(`# ${engine}: skips ${step}: ${why}`);
}

// Pages of the program in `buildWeb`, and what the tests look at in them.
export function pageHelpers(buildWeb) {
  async function start(context, viewport = { width: 1366, height: 768 }) {
    const page = await context.newPage();
    await page.setViewportSize(viewport);
    const errors = [];
    page.on('pageerror', (e) => errors.push(e.message));
    // The page is one file: nothing may be asked of a network or another file.
    page.on('request', (r) => { if (!/^(data|blob):/.test(r.url()) && r.url() !== page_url(buildWeb)) errors.push(r.url()); });
    await page.goto(page_url(buildWeb));
    await page.waitForFunction(() => document.querySelectorAll('#qv-desktop select option').length > 0);
    return { page, errors };
  }
  const systems = (page) => page.$$eval('#qv-desktop select option', (os) => os.map((o) => o.textContent));

  // Puts `text` (a byte a character) in the browser's storage as the working
  // folder's file, as another page would.
  async function store(page, text) {
    await page.evaluate((t) => new Promise((resolve, reject) => {
      const open = indexedDB.open('/quorvane', 21);
      open.onerror = () => reject(open.error);
      open.onsuccess = () => {
        const tx = open.result.transaction(['FILE_DATA'], 'readwrite');
        tx.objectStore('FILE_DATA').put({ timestamp: new Date(), mode: 0o100666,
          contents: Uint8Array.from(t, (c) => c.charCodeAt(0)) }, '/quorvane/Quorvane.ini');
        tx.oncomplete = () => { open.result.close(); resolve(); };
        tx.onabort = () => reject(tx.error);
      };
    }), text);
  }

  // The same, and the program starts again on it.
  async function storeAndReload(page, text) {
    await store(page, text);
    await page.reload();
    await page.waitForFunction(() => document.querySelectorAll('#qv-desktop select option').length > 0);
  }

  // Pixels that differ between a PNG and the page's screenshot, compared in the browser.
  async function differingPixels(page, pngA, pngB) {
    return page.evaluate(async ([a, b]) => {
      const load = async (b64) => {
        const img = new Image();
        img.src = 'data:image/png;base64,' + b64;
        await img.decode();
        const c = document.createElement('canvas');
        c.width = img.width;
        c.height = img.height;
        const x = c.getContext('2d');
        x.drawImage(img, 0, 0);
        return { w: img.width, h: img.height, d: x.getImageData(0, 0, img.width, img.height).data };
      };
      const p = await load(a), q = await load(b);
      if (p.w !== q.w || p.h !== q.h) return -1;
      let n = 0;
      for (let i = 0; i < p.d.length; i += 4)
        if (p.d[i] !== q.d[i] || p.d[i + 1] !== q.d[i + 1] || p.d[i + 2] !== q.d[i + 2]) ++n;
      return n;
    }, [pngA.toString('base64'), pngB.toString('base64')]);
  }

  const runShown = (page) => page.waitForSelector('#qv-screen', { state: 'attached' });
  const runGone = (page) => page.waitForSelector('#qv-screen', { state: 'detached' });

  // The run's screen in device pixels, as 'WxH' (the size render --screen takes).
  const shownScreen = (page) => page.evaluate(() =>
    `${Math.round(innerWidth * devicePixelRatio)}x${Math.round(innerHeight * devicePixelRatio)}`);

  // The working folder's file as the program has it.
  const storedFile = (page) => page.evaluate(() => new TextDecoder('latin1').decode(Module.FS.readFile('Quorvane.ini')));

  return { start, systems, store, storeAndReload, storedFile, differingPixels, runShown, runGone, shownScreen };
}
