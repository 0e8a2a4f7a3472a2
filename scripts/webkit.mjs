// WebKit, Safari's engine, as Debian ships it: WebKitGTK's MiniBrowser,
// driven through its W3C WebDriver server (WebKitWebDriver) with
// selenium-webdriver. Playwright's own WebKit is a build of its own that
// cannot be installed here. The browser and its pages offer the part of
// Playwright's API that the tests and the benchmark use, so that one test
// body runs in every engine. WebKitWebDriver has no BiDi: no console, no
// script before the page's own, no page clock.
import { execFileSync } from 'node:child_process';
import { once } from 'node:events';
import { mkdtempSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

import pngjs from 'pngjs';
import { Builder, Key } from 'selenium-webdriver';

import { logLine, spawnOwned, startXvfb } from './browser.mjs';

const miniBrowser = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

// Playwright's key names, as WebDriver spells them.
const keys = {
  ArrowUp: Key.ARROW_UP, ArrowDown: Key.ARROW_DOWN, ArrowLeft: Key.ARROW_LEFT,
  ArrowRight: Key.ARROW_RIGHT, Home: Key.HOME, End: Key.END, PageUp: Key.PAGE_UP,
  PageDown: Key.PAGE_DOWN, Insert: Key.INSERT, Enter: Key.ENTER, Escape: Key.ESCAPE,
  Shift: Key.SHIFT, Tab: Key.TAB, F1: Key.F1, F2: Key.F2, F5: Key.F5, F12: Key.F12,
};

const freePort = () => new Promise((resolve) => {
  const server = createServer().listen(0, '127.0.0.1', () => {
    const { port } = server.address();
    server.close(() => resolve(port));
  });
});

// A function of the test's, run in the page with ARG; its promise is
// awaited there.
const script = (fn, arg) => [
  `const done = arguments[1];
   Promise.resolve().then(() => (${fn})(arguments[0]))
     .then((value) => done({ value }), (error) => done({ error: String(error) }));`, arg];

// Resolves once CONDITION (a function of the test's) resolves true,
// asking every 50 ms; rejects after TIMEOUT ms, naming WHAT it waited for.
async function until(condition, timeout, what) {
  const end = Date.now() + timeout;
  while (!(await condition())) {
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await new Promise((done) => setTimeout(done, 50));
  }
}

// Notes, from the moment it runs, the page's uncaught errors and what its
// Content-Security-Policy refuses: the driver gives no console.
function listen() {
  const heard = (window.kelvaroHeard = []);
  addEventListener('error', (event) => heard.push(`error: ${event.message ?? event.target.src}`), true);
  document.addEventListener('securitypolicyviolation', (event) =>
    heard.push(`securitypolicyviolation: ${event.violatedDirective} ${event.blockedURI}`));
}

// A page: one WebDriver session, one MiniBrowser window.
function webkitPage(driver) {
  const heard = [];
  const collect = async () => heard.push(...await driver.executeScript('return (window.kelvaroHeard ?? []).splice(0)'));
  const navigate = async (to) => {
    await collect().catch(() => {});
    await to();
    await driver.executeScript(`(${listen})()`);
  };
  const page = {
    driver,
    goto: (url) => navigate(() => driver.get(url)),
    reload: () => navigate(() => driver.navigate().refresh()),
    // What the page heard since the last call.
    heardSince: async () => {
      await collect();
      return heard.splice(0);
    },
    title: () => driver.getTitle(),
    url: () => driver.getCurrentUrl(),
    waitForTimeout: (ms) => new Promise((done) => setTimeout(done, ms)),

    evaluate: async (fn, arg) => {
      const { value, error } = await driver.executeAsyncScript(...script(fn, arg));
      if (error) throw new Error(error);
      return value;
    },

    waitForFunction: (fn, arg, { timeout = 10000 } = {}) => until(() => page.evaluate(fn, arg), timeout, fn),

    keyboard: {
      // "Shift+A" holds Shift while A is typed, as Playwright's does.
      press: async (combination) => {
        const parts = combination.length > 1 ? combination.split('+') : [combination];
        const held = parts.slice(0, -1).map((name) => keys[name]);
        const key = keys[parts.at(-1)] ?? parts.at(-1);
        let actions = driver.actions();
        for (const one of held) actions = actions.keyDown(one);
        actions = actions.keyDown(key).keyUp(key);
        for (const one of held.reverse()) actions = actions.keyUp(one);
        await actions.perform();
      },
    },

    // The window's screenshot, as WebKitWebDriver takes a canvas
    // element's black; CLIP cuts a box of CSS pixels out of it (of the
    // page's with FULLPAGE, else of the window's). It is of the page as
    // last painted: the page is let draw twice first.
    screenshot: async ({ clip, fullPage = false } = {}) => {
      await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
      const shot = Buffer.from(await driver.takeScreenshot(), 'base64');
      if (!clip) return shot;
      const [ratio, left, top] = await page.evaluate(() => [devicePixelRatio, scrollX, scrollY]);
      const [dx, dy] = fullPage ? [left, top] : [0, 0];
      const image = pngjs.PNG.sync.read(shot);
      const [x, y, width, height] = [clip.x - dx, clip.y - dy, clip.width, clip.height]
        .map((v) => Math.round(v * ratio));
      const cut = new pngjs.PNG({ width, height });
      pngjs.PNG.bitblt(image, cut, x, y, width, height, 0, 0);
      return pngjs.PNG.sync.write(cut);
    },

    // The elements that CSS selects (only those shown, if SHOWN), or the
    // one at INDEX of them.
    locator: (css, { shown = false, index = 0 } = {}) => {
      const found = async () => {
        const all = await driver.findElements({ css });
        if (!shown) return all;
        const displayed = await Promise.all(all.map((one) => one.isDisplayed()));
        return all.filter((_, i) => displayed[i]);
      };
      const element = async () => {
        const one = (await found())[index];
        if (!one) throw new Error(`nothing is ${css}`);
        return one;
      };
      // The element, scrolled into view as Playwright's would be.
      const inView = async () => {
        const one = await element();
        await driver.executeScript('arguments[0].scrollIntoView({ block: "nearest" })', one);
        return one;
      };
      const locator = {
        count: async () => (await found()).length,
        first: () => page.locator(css, { shown }),
        all: async () => (await found()).map((_, i) => page.locator(css, { shown, index: i })),
        // Until there is such an element (or, detached, until there is none).
        waitFor: ({ state = 'visible', timeout = 30000 } = {}) => until(
          async () => ((await found()).length > index) === (state !== 'detached'), timeout, `${css} ${state}`),
        isVisible: async () => (await found())[index]?.isDisplayed() ?? false,
        isDisabled: async () => !(await (await element()).isEnabled()),
        click: async () => (await element()).click(),
        dblclick: async () => driver.actions().doubleClick(await inView()).perform(),
        focus: async () => driver.executeScript('arguments[0].focus()', await element()),
        getAttribute: async (name) => (await element()).getAttribute(name),
        innerText: async () => (await element()).getText(),
        boundingBox: async () => driver.executeScript(
          'const { x, y, width, height } = arguments[0].getBoundingClientRect(); return { x, y, width, height };',
          await element()),
      };
      return locator;
    },

    // The shown elements of ROLE, by their role attribute: what Playwright
    // finds in the accessibility tree, where this page names every role.
    getByRole: (role) => page.locator(`[role="${role}"]`, { shown: true }),
  };
  return page;
}

// WebKitWebDriver on a free port of the loopback: it drives one session
// at a time.
async function startDriver() {
  const port = await freePort();
  const server = spawnOwned('WebKitWebDriver', [`--port=${port}`], { stdio: ['ignore', 'pipe', 'pipe'] });
  for (const stream of [server.stdout, server.stderr]) stream.on('data', (chunk) => logLine(chunk));
  const url = `http://127.0.0.1:${port}`;
  await until(() => fetch(`${url}/status`).then((r) => r.ok, () => false), 5000, 'WebKitWebDriver to start');
  return { url, stop: () => server.kill() };
}

// MiniBrowser on DISPLAY with more switches ARGS (WebKit's settings, such
// as --enable-webgl=false). A context is a browser of its own, with a
// driver of its own and its window's size; its newPage is its one page.
export function launchWebKit(args = []) {
  const capabilities = {
    browserName: 'MiniBrowser',
    'webkitgtk:browserOptions': { binary: miniBrowser, args: ['--automation', ...args] },
  };
  const contexts = new Set();
  const browser = {
    version: () => execFileSync('dpkg-query', ['-W', '-f=${Version}', 'libwebkit2gtk-4.1-0']).toString(),
    newContext: async ({ viewport } = {}) => {
      const server = await startDriver();
      const driver = await new Builder().usingServer(server.url).withCapabilities(capabilities).build();
      if (viewport) await driver.manage().window().setRect(viewport);
      const page = webkitPage(driver);
      const context = {
        newPage: async () => page,
        close: async () => {
          contexts.delete(context);
          await driver.quit().catch(() => {});
          server.stop();
        },
      };
      contexts.add(context);
      return context;
    },
    close: async () => {
      for (const context of contexts) await context.close();
    },
  };
  return browser;
}

// What MiniBrowser's console says while the page at URL loads and runs,
// where WebKitWebDriver gives no console: MiniBrowser on its own, on a
// display of its own, its console written to its output, until a
// screenshot of the display satisfies DREW (a PNG's bytes), and a second
// more. Resolves with the console's lines. It browses privately: the
// last one's network process outlives it for a moment, and no two share
// a profile on disk. If it never draws, the error tells how far it got
// (its window shown, the page's title, a picture), what it said and
// where its last screenshot is.
export async function consoleOnLoad(url, drew) {
  const xvfb = await startXvfb('1024x768x24');
  const env = { ...process.env, DISPLAY: xvfb.display };
  const browser = spawnOwned(miniBrowser, ['--private', '--enable-write-console-messages-to-stdout=true', url],
    { env, stdio: ['ignore', 'pipe', 'pipe'] });
  let [said, complained] = ['', ''];
  browser.stdout.on('data', (chunk) => (said += chunk));
  browser.stderr.on('data', (chunk) => (complained += chunk));
  const start = Date.now();
  const reached = [];  // how far it got, and when
  const note = (what) => reached.includes(what) || reached.push(what) && reached.push(`${(Date.now() - start) / 1000} s`);
  try {
    const shoot = () => execFileSync('import', ['-window', 'root', 'png:-'], { env });
    const title = () => execFileSync('bash', ['-c', 'xdotool search --onlyvisible --name . getwindowname %@ || true'],
      { env }).toString().trim();
    for (let screen = shoot(); !drew(screen); screen = shoot()) {
      const shown = title();
      if (shown) note('its window shown');
      if (/Kelvaro/.test(shown)) note('the page\'s title');
      if (Date.now() - start > 20000) {
        const shot = join(mkdtempSync(join(tmpdir(), 'kelvaro-minibrowser-')), 'screen.png');
        writeFileSync(shot, screen);
        throw new Error(`MiniBrowser showed no picture of ${url} within 20 s (it got as far as: ` +
          `${reached.join(', ') || 'nothing'}; its screen: ${shot}; it exited: ` +
          `${browser.exitCode ?? browser.signalCode ?? 'no'}; it said: ${said}${complained})`);
      }
      await new Promise((done) => setTimeout(done, 250));
    }
    await new Promise((done) => setTimeout(done, 1000));
  } finally {
    // Both gone before the test goes on, and the next display starts.
    browser.kill();
    if (browser.exitCode === null && browser.signalCode === null) await once(browser, 'exit');
    await xvfb.stop();
  }
  return said.split('\n').filter((line) => /CONSOLE/.test(line));
}
