// What the browser tests share: the numbers of tests/pictures.txt, the
// colours found in a screenshot, and Kelvaro's page opened in one engine,
// with every complaint it makes collected.
// KELVARO_WEB names the folder of the web build (default: build-web), and
// KELVARO_ENGINE the engine: chromium (the default), firefox or webkit.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { test as nodeTest } from 'node:test';
import { pathToFileURL } from 'node:url';
import { gzipSync } from 'node:zlib';

import pngjs from 'pngjs';

import { bounded, engines, lateError, serve, startDisplay, watch, within } from '../../scripts/browser.mjs';
import { consoleOnLoad } from '../../scripts/webkit.mjs';

export const engineName = process.env.KELVARO_ENGINE ?? 'chromium';
const launch = engines[engineName];

// What each engine, as it is driven here, cannot check, and why.
const lacks = {
  chromium: {},
  firefox: {
    setting: 'Firefox has no preference that does this',
    cdp: 'Firefox has no Chrome DevTools Protocol (installability, raw touches, pens, device metrics)',
    touch: 'Playwright\'s taps reach no Firefox page over WebDriver BiDi (no touch, pointer or click event)',
    media: 'Playwright emulates no media feature of Firefox\'s over WebDriver BiDi',
  },
  webkit: {
    setting: 'MiniBrowser has no setting that does this',
    cdp: 'WebKitGTK has no Chrome DevTools Protocol (installability, raw touches, pens, device metrics)',
    playwright: 'WebKitGTK is driven over WebDriver, and this check needs Playwright',
    media: 'WebKitWebDriver emulates no media feature',
    clock: 'WebKitWebDriver has no page clock',
    phone: 'WebKitWebDriver cannot emulate a phone\'s screen or touch',
  },
};

// The options of node:test that skip a test where the engine lacks one of
// FEATURES, saying why.
export const needs = (...features) => {
  const missing = features.find((feature) => lacks[engineName][feature]);
  return missing ? { skip: `${engineName}: ${lacks[engineName][missing]}` } : {};
};

export const webDir = process.env.KELVARO_WEB ?? new URL('../../build-web', import.meta.url).pathname;

// Every call of the browser has its bound (scripts/browser.mjs), every
// test its limit, and a file of tests its own, inside ctest's 240 s.
// When one runs out, the error names what was awaited, the engine and
// the page, and keeps a screenshot and the browser's log beside the web
// build, in web-failures/.
Object.assign(watch, { engine: engineName, dir: join(dirname(resolve(webDir)), 'web-failures') });
setTimeout(() => {
  console.error(lateError('this file\'s tests', 'within 210 s').message);
  process.exit(1);
}, 210000).unref();

// node:test's test, failing once LIMIT ms have passed (default 90 s).
export function test(name, options, body) {
  if (!body) [options, body] = [{}, options];
  const { limit = 90000, ...rest } = options;
  return nodeTest(name, rest, () => within(body(), `the test "${name}"`, limit));
}

// What a 300 x 400 window shows (tests/pictures.txt), by name.
export const pictures = Object.fromEntries(
  readFileSync(new URL('../pictures.txt', import.meta.url), 'utf8')
    .split('\n')
    .filter((line) => /^\w/.test(line))
    .map((line) => line.trim().split(/\s+/))
    .map(([name, ...numbers]) => [name, numbers.map(Number)]));

// How many pixels of a colour an image has (within the box x0 y0 x1 y1,
// if given), and the box around them.
export function findColour(image, colour, box = [0, 0, image.width - 1, image.height - 1]) {
  const [x0, y0, x1, y1] = box.map(Math.round);
  const want = pictures[`colour.${colour}`];
  const [tolerance] = pictures['colour.tolerance'];
  const found = { count: 0, box: [Infinity, Infinity, -Infinity, -Infinity] };
  for (let y = y0; y <= y1; y++) {
    for (let x = x0; x <= x1; x++) {
      const at = (y * image.width + x) * 4; // pngjs gives RGBA
      if (want.every((value, c) => Math.abs(image.data[at + c] - value) <= tolerance)) {
        found.count++;
        found.box = [Math.min(found.box[0], x), Math.min(found.box[1], y),
                     Math.max(found.box[2], x), Math.max(found.box[3], y)];
      }
    }
  }
  return found;
}

export function expectBetween(what, value, [low, high]) {
  assert.ok(value >= low && value <= high, `${what} is ${value}, expected ${low}..${high}`);
}

export const times = (count, key) => Array(count).fill(key);

// Whether a PNG shows the ball and the floor: the program has drawn.
const drewBall = (png) => {
  const image = pngjs.PNG.sync.read(png);
  return findColour(image, 'ball').count > 0 && findColour(image, 'floor').count > 0;
};

// The numbers of picture NAME for a canvas of WIDTH x HEIGHT device
// pixels. The projection keeps its vertical field of view whatever the
// window's shape, so a picture is the 300 x 400 window's scaled by HEIGHT
// / 400 about the window's centre: lengths scale, and each x or y is
// measured from the middle.
export function pictureFor(name, width, height) {
  const scale = height / 400;
  const length = (v) => v * scale;
  const x = (v) => width / 2 + (v - 150) * scale;
  const y = (v) => height / 2 + (v - 200) * scale;
  const kinds = name.startsWith('ball.') ? [length, length, x, x]
    : /^floor\.(start|tilt90)/.test(name) ? [x, y, x, y] : [length, length, length, length];
  return pictures[name].map((v, i) => kinds[i](v));
}

// A private display with a folder served (DIR, the web build) and the
// engine on it, started with this engine's entry in SETTINGS (by engine:
// see engines in scripts/browser.mjs): for the pages of one test.
export async function startBrowser({ settings = {}, dir = webDir } = {}) {
  const stopDisplay = await startDisplay();
  const server = await serve(dir);
  const browser = bounded(await within(launch(settings[engineName]), `${engineName} to start`), engineName);
  return {
    browser, server, dir,
    close: async () => {
      await browser.close();
      await server.stop();
      await stopDisplay();
    },
  };
}

// SESSION's browser with DIR served by a server of its own; closing it
// stops that server only.
export async function servedBy(session, dir) {
  const server = await serve(dir);
  return { ...session, server, dir, close: () => server.stop() };
}

// Opens the page in a new browser context with OPTIONS (viewport,
// deviceScaleFactor, isMobile, javaScriptEnabled, ...), in SESSION (from
// startBrowser) or in a browser of its own, made with SETTINGS and DIR. With
// CLOCK, page time is the test's to stop and step (it runs as usual until
// then). With FILE the folder is opened from the file system; unless
// STARTED is false, it waits for the program to run.
export async function openKelvaro(options,
  { clock = true, session, settings, dir, file = false, started = true } = {}) {
  const own = session ? null : await startBrowser({ settings, dir });
  const { browser, server } = session ?? own;
  const folder = (session ?? own).dir;
  const site = file ? pathToFileURL(folder).href : server.url;
  const context = await browser.newContext(options);
  const page = await context.newPage();
  watch.url = `${site}/kelvaro.html`;
  const ratio = options.deviceScaleFactor ?? 1;
  const complaints = [];
  const violations = [];
  const messages = [];  // all that the console shows
  const errors = [];  // uncaught exceptions
  const fetched = new Set();  // paths within the site, the page's and its worker's
  // Playwright's screenshots in Firefox inject a style of their own,
  // which the page's CSP refuses and reports, once as a refusal and once
  // as a page error. Refused inline styles heard while the harness takes
  // a screenshot are its own; the page never adds one.
  let shooting = false;
  const harness = (text) => shooting && /style-src-elem|blocked an inline style/.test(text);
  if (page.on) {
    context.on('request', (r) => r.url().startsWith(site) && fetched.add(r.url().slice(site.length + 1)));
    page.on('console', (m) => {
      if (m.text().startsWith('securitypolicyviolation')) return harness(m.text()) || violations.push(m.text());
      messages.push(m.text());
      if (['error', 'warning'].includes(m.type())) complaints.push(m.text());
    });
    page.on('pageerror', (error) => {
      if (harness(error.message)) return;
      errors.push(error.message);
      complaints.push(error.message);
    });
    page.on('response', (r) => r.status() >= 400 && complaints.push(`${r.status()} ${r.url()}`));
    page.on('requestfailed', (r) => complaints.push(`failed: ${r.url()}`));
    page.on('request', (r) => r.url().startsWith(site) || complaints.push(`outside: ${r.url()}`));
    // Anything that the page's Content-Security-Policy refuses.
    await page.addInitScript(() => document.addEventListener('securitypolicyviolation', (event) =>
      console.log(`securitypolicyviolation: ${event.violatedDirective} ${event.blockedURI}`)));
  }
  if (clock) await page.clock.install();
  const url = `${site}/kelvaro.html`;
  await page.goto(url);
  if (started) await page.waitForFunction(() => window.Module?.running);

  const kelvaro = {
    page, complaints, violations, messages, errors, fetched, ratio,

    // Nothing in the console, nothing missing, nothing from elsewhere,
    // nothing refused. WebKit's driver hears only what the page heard
    // since it loaded (errors and refusals); what its console says while
    // the page loads is read, AFRESH, from MiniBrowser run on its own.
    expectQuiet: async (what = 'the page', { afresh = true } = {}) => {
      const late = await kelvaro.heard();
      if (page.heardSince && afresh) late.push(...await consoleOnLoad(url, drewBall));
      assert.deepEqual([...complaints, ...violations, ...late], [], what);
    },

    // What WebKit's page has heard since it was last asked (uncaught
    // errors and refusals), where its driver tells of none as they come.
    heard: async () => (page.heardSince ? page.heardSince() : []),

    // The numbers NAME gives for IMAGE of the canvas, or for the canvas
    // at 300 x 400 CSS pixels.
    picture: (name, image = { width: 300 * ratio, height: 400 * ratio }) =>
      pictureFor(name, image.width, image.height),

    // The canvas as it is now (page time stopped or not).
    // What the page reports of the screenshot has reached the test once a
    // task queued after it has run (a message, which a page clock leaves
    // alone).
    canvasShot: async () => {
      shooting = true;
      try {
        // The canvas in view, and the page's screenshot cut to it: a
        // locator's would wait for two animation frames first, and Firefox
        // once stopped giving any (the call never returned). Firefox cuts
        // from the whole page (its viewport's shot stops at the emulated
        // viewport, which its full screen passes); Chromium from the window
        // (its whole page's shot resizes the page).
        const whole = engineName === 'firefox';
        const clip = await page.evaluate((whole) => {
          const canvas = document.querySelector('canvas');
          canvas.scrollIntoView({ block: 'nearest' });
          const { x, y, width, height } = canvas.getBoundingClientRect();
          return { x: x + (whole ? scrollX : 0), y: y + (whole ? scrollY : 0), width, height };
        }, whole);
        const png = await page.screenshot({ clip, fullPage: whole });
        await page.evaluate(() => new Promise((done) => {
          const channel = new MessageChannel();
          channel.port1.onmessage = done;
          channel.port2.postMessage(0);
        }));
        return pngjs.PNG.sync.read(png);
      } finally {
        shooting = false;
      }
    },

    // A screenshot of the canvas, taken after the program has drawn a frame.
    shot: async () => {
      await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
      return kelvaro.canvasShot();
    },

    // The ball in IMAGE (or a new screenshot) is as the picture NAME says.
    expectBall: async (what, name, image) => {
      image ??= await kelvaro.shot();
      const [lowWidth, highWidth, lowCentre, highCentre] = kelvaro.picture(name, image);
      const { count, box } = findColour(image, 'ball');
      assert.ok(count > 0, `${what}: no ball in view`);
      expectBetween(`${what}: ball width`, box[2] - box[0] + 1, [lowWidth, highWidth]);
      expectBetween(`${what}: ball centre x`, Math.floor((box[0] + box[2]) / 2), [lowCentre, highCentre]);
    },

    // The colour's box in IMAGE is the picture NAME's, within its tolerance.
    expectBox: (what, image, colour, name) => {
      const [tolerance] = kelvaro.picture('box.tolerance', image);
      const want = kelvaro.picture(name, image);
      const { box } = findColour(image, colour);
      box.forEach((side, i) =>
        expectBetween(`${what}: ${colour} box[${i}]`, side, [want[i] - tolerance, want[i] + tolerance]));
    },

    // Every pixel of IMAGE is exactly white, or the floor's, the ball's or
    // the companion's colour, as GL rounds them: nothing is blended or
    // smoothed, and 0.5 is 127.5 in 8 bits, which GL rounds to 128 (a
    // colour carried to the pixels as a varying landed some on 127).
    expectExactColours: (what, image) => {
      const exact = ['white', 'floor', 'ball', 'companion'].map((name) => pictures[`colour.${name}`]);
      const off = new Map();
      for (let at = 0; at < image.data.length; at += 4) {
        const pixel = image.data.subarray(at, at + 3);
        if (exact.some((want) => want.every((value, c) => pixel[c] === value))) continue;
        off.set(pixel.join(','), (off.get(pixel.join(',')) ?? 0) + 1);
      }
      assert.deepEqual(Object.fromEntries(off), {}, `${what}: pixels off the scene's colours`);
      assert.ok(findColour(image, 'floor').count > 0 && findColour(image, 'ball').count > 0,
        `${what}: no floor or no ball`);
    },

    // Takes screenshots until one satisfies CONDITION, by the rule of
    // tests/pictures.txt's poll.shots: for SECONDS and at least that many.
    pollShots: async (seconds, condition) => {
      const end = Date.now() + seconds * 1000;
      const [least] = pictures['poll.shots'];
      for (let shots = 0; shots < least || Date.now() < end; shots++) if (condition(await kelvaro.shot())) return true;
      return false;
    },

    // The control that has the focus: its key, or its id.
    focused: () => page.evaluate(() => document.activeElement.dataset.key ?? document.activeElement.id),

    // Presses Tab (with Shift, if BACK) until the control WANT has the
    // focus, as a person would, at most 20 times.
    tabTo: async (want, back = false) => {
      if (await kelvaro.focused() === want) return;
      const passed = [];
      while (passed.length < 20) {
        await page.keyboard.press(back ? 'Shift+Tab' : 'Tab');
        passed.push(await kelvaro.focused());
        if (passed.at(-1) === want) return;
      }
      assert.fail(`Tab did not reach ${want}, passing ${passed.join(', ')}`);
    },

    companionShown: (image) => findColour(image, 'companion').count >= pictures['companion.shown'][0],

    // What files weigh, gzipped, in bytes: PATHS, or all that the page
    // and its worker have fetched.
    gzipped: (paths = [...fetched]) => paths
      .map((path) => gzipSync(readFileSync(`${folder}/${path}`), { level: 9 }).length)
      .reduce((sum, size) => sum + size, 0),

    close: async () => {
      await context.close();
      await own?.close();
    },
  };
  return kelvaro;
}
