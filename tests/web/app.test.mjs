// The page as an app: every shape of phone screen, upright and sideways;
// full screen; installable, and offline after one visit, with a new
// build taking over whole.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before } from 'node:test';

import pngjs from 'pngjs';

import { bounded, launchChromiumWithProfile, within } from '../../scripts/browser.mjs';
import { needs, openKelvaro, servedBy, startBrowser, test, times, webDir } from './page.mjs';

let session;

before(async () => {
  session = await startBrowser();
});

after(async () => {
  await session?.close();
});

const phone = (width, height, ratio) =>
  ({ viewport: { width, height }, deviceScaleFactor: ratio, isMobile: true, hasTouch: true });

// The canvas's box on the page (CSS pixels) and its backing store.
const canvasSizes = (page) => page.evaluate(() => {
  const canvas = document.querySelector('canvas');
  const { x, y, width, height } = canvas.getBoundingClientRect();
  return { box: { x, y, width, height }, store: [canvas.width, canvas.height] };
});

// Waits until the backing store is the canvas's box in device pixels.
const storeFollows = (page) => page.waitForFunction(() => {
  const canvas = document.querySelector('canvas');
  const box = canvas.getBoundingClientRect();
  return canvas.width === box.width * devicePixelRatio && canvas.height === box.height * devicePixelRatio;
});

const overlap = (a, b) =>
  a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;

const screens = [
  { name: 'portrait 360 x 740', width: 360, height: 740, ratio: 2 },
  { name: 'portrait 412 x 915', width: 412, height: 915, ratio: 3 },
  { name: 'landscape 740 x 360', width: 740, height: 360, ratio: 2 },
  { name: 'landscape 844 x 390', width: 844, height: 390, ratio: 3 },
  { name: 'landscape 915 x 412', width: 915, height: 412, ratio: 2 },
];

for (const { name, width, height, ratio } of screens) {
  test(`${name}: the canvas and every control on the first screen, none overlapping`, needs('phone'), async () => {
    const kelvaro = await openKelvaro(phone(width, height, ratio), { session, clock: false });
    const { page } = kelvaro;
    try {
      await storeFollows(page);
      const { box, store } = await canvasSizes(page);
      const controls = await Promise.all((await page.locator('button[data-key], .buttons button').all())
        .map((control) => control.boundingBox()));
      assert.equal(controls.length, 13, 'not 11 keys, Pause and the full screen button');
      const boxes = [box, ...controls];
      for (const one of boxes) {
        assert.ok(one.x >= 0 && one.y >= 0 && one.x + one.width <= width && one.y + one.height <= height,
          `${JSON.stringify(one)} is off the first screen`);
      }
      for (const control of controls) {
        assert.ok(control.width >= 44 && control.height >= 44, `${JSON.stringify(control)} is under 44 x 44`);
      }
      boxes.forEach((one, i) => boxes.slice(i + 1).forEach((other) =>
        assert.ok(!overlap(one, other), `${JSON.stringify(one)} overlaps ${JSON.stringify(other)}`)));
      assert.deepEqual(await page.evaluate(() => [scrollX, scrollY]), [0, 0]);

      // 3 : 4, as large as fits: 300 x 400, or the screen's height less
      // the page's margins; held sideways, the keys beside it.
      assert.ok(Math.abs(box.width / box.height - 3 / 4) < 0.01, `the canvas is ${box.width} x ${box.height}`);
      assert.ok(box.height === 400 || (box.height < 400 && box.height >= height - 32), 'the canvas could be larger');
      if (width > height) assert.ok(controls.every((c) => c.x >= box.x + box.width), 'the keys are not beside it');
      assert.deepEqual(store, [box.width * ratio, box.height * ratio], 'the backing store is not the box');
      const image = await kelvaro.shot();
      await kelvaro.expectBall('start', 'ball.start', image);
      kelvaro.expectExactColours('start', image);
    } finally {
      await kelvaro.close();
    }
  });
}

test('turning the phone re-lays the page and keeps the program as it was', needs('phone', 'touch'), async () => {
  const kelvaro = await openKelvaro(phone(360, 740, 2), { session, clock: false });
  const { page } = kelvaro;
  try {
    for (const key of times(5, '+')) await page.locator(`button[data-key="${key}"]`).tap();
    await kelvaro.expectBall('upright', 'ball.radius35');
    for (const viewport of [{ width: 740, height: 360 }, { width: 360, height: 740 }]) {
      await page.setViewportSize(viewport);
      await storeFollows(page);
      await kelvaro.expectBall(`turned to ${viewport.width} x ${viewport.height}`, 'ball.radius35');
    }
    assert.deepEqual(kelvaro.complaints, []);
  } finally {
    await kelvaro.close();
  }
});

test('full screen: the canvas fills it, with the native picture for its size; the keys work', async () => {
  // Chromium driven by Playwright shows full screen within its window
  // (Playwright issue 27598), Firefox and WebKit on the whole display: the
  // screen is what the page gets.
  const kelvaro = await openKelvaro({ viewport: { width: 1280, height: 720 } }, { session, clock: false });
  const { page } = kelvaro;
  const button = page.locator('#fullscreen');
  try {
    const enter = async () => {
      await button.click();
      await page.waitForFunction(() => !!document.fullscreenElement);
      await storeFollows(page);
    };
    const expectWindowed = async (what) => {
      await page.waitForFunction(() => !document.fullscreenElement);
      await storeFollows(page);
      const { box, store } = await canvasSizes(page);
      assert.deepEqual([box.width, box.height, ...store], [300, 400, 300, 400], what);
      await kelvaro.expectBall(what, 'ball.start');
    };

    await enter();
    assert.equal(await button.innerText(), 'Leave full screen');
    const screen = await page.evaluate(() => ({ width: innerWidth, height: innerHeight }));
    const { box, store } = await canvasSizes(page);
    assert.deepEqual([box.x, box.y, box.width, box.height], [0, 0, screen.width, screen.height]);
    assert.deepEqual(store, [screen.width, screen.height]);
    const image = await kelvaro.shot();
    assert.deepEqual([image.width, image.height], [screen.width, screen.height]);
    await kelvaro.expectBall('full screen', 'ball.start', image);
    kelvaro.expectBox('full screen', image, 'floor', 'floor.start');
    await page.keyboard.press('a');
    assert.ok(await kelvaro.pollShots(6, kelvaro.companionShown), '"a" showed no companion full screen');
    await page.keyboard.press('Home');

    await button.click();
    await expectWindowed('left by the button');
    // Escape, typed on the X display as a person would, is the browser's.
    await enter();
    // The page's window, by its title: the browser may have others.
    const window = execFileSync('xdotool', ['search', '--onlyvisible', '--name', 'Kelvaro']).toString().split('\n')[0];
    execFileSync('xdotool', ['windowfocus', '--sync', window, 'key', 'Escape']);
    await expectWindowed('left by Escape');
    await kelvaro.expectQuiet();
  } finally {
    await kelvaro.close();
  }
});

test('without the Fullscreen API (an iPhone), there is no full screen button', needs('playwright'), async () => {
  const kelvaro = await openKelvaro({ viewport: { width: 390, height: 844 } }, { session, clock: false, started: false });
  try {
    await kelvaro.page.addInitScript(() =>
      Object.defineProperty(Document.prototype, 'fullscreenEnabled', { get: () => false }));
    await kelvaro.page.reload();
    await kelvaro.page.waitForFunction(() => window.Module?.running);
    assert.equal(await kelvaro.page.locator('#fullscreen').isHidden(), true);
  } finally {
    await kelvaro.close();
  }
});

test('the web app manifest: it parses, its icons are what it says, and Chromium would install it', needs('cdp'),
  async () => {
  const profile = mkdtempSync(join(tmpdir(), 'kelvaro-profile-'));
  const context = bounded(await within(launchChromiumWithProfile(profile, phone(412, 915, 3)), 'chromium to start'),
    'context');
  try {
    const page = context.pages()[0];
    await page.goto(`${session.server.url}/kelvaro.html`);
    const href = await page.locator('link[rel="manifest"]').getAttribute('href');
    const url = new URL(href, page.url());
    const manifest = await (await page.request.get(url.href)).json();
    assert.equal(manifest.name, 'Kelvaro');
    assert.ok(manifest.short_name && manifest.description, 'no short name or description');
    assert.ok(['standalone', 'fullscreen'].includes(manifest.display));
    for (const relative of [manifest.start_url, manifest.scope]) {
      assert.doesNotMatch(relative, /^(\/|[a-z]+:)/, `${relative} is not relative to the page`);
    }
    const background = await page.evaluate(() => getComputedStyle(document.body).backgroundColor);
    const theme = await page.locator('meta[name="theme-color"]').getAttribute('content');
    assert.equal(background, 'rgb(255, 255, 255)');
    assert.deepEqual([manifest.background_color, manifest.theme_color], ['#ffffff', theme]);

    for (const icon of manifest.icons) {
      const png = pngjs.PNG.sync.read(await (await page.request.get(new URL(icon.src, url).href)).body());
      assert.equal(`${png.width}x${png.height}`, icon.sizes, `${icon.src} is not ${icon.sizes}`);
    }
    const any = manifest.icons.filter((icon) => (icon.purpose ?? 'any').includes('any')).map((i) => i.sizes);
    assert.deepEqual(any.sort(), ['192x192', '512x512']);
    assert.ok(manifest.icons.some((icon) => icon.purpose?.includes('maskable')), 'no maskable icon');

    await page.evaluate(() => navigator.serviceWorker.ready);
    const cdp = await context.newCDPSession(page);
    assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);
  } finally {
    await context.close();
    rmSync(profile, { recursive: true });
  }
});

// A copy of the web build to change, served on its own.
async function servedCopy() {
  const dir = mkdtempSync(join(tmpdir(), 'kelvaro-site-'));
  cpSync(webDir, dir, { recursive: true });
  const copy = await servedBy(session, dir);
  return {
    ...copy,
    copied: Date.now(),
    close: async () => {
      await copy.close();
      rmSync(dir, { recursive: true });
    },
  };
}

// Waits until the page is controlled by a worker whose cache is in place,
// and returns that cache's name.
const workerReady = (page) => page.evaluate(async () => {
  await navigator.serviceWorker.ready;
  while (!navigator.serviceWorker.controller) await new Promise((done) => setTimeout(done, 50));
  return (await caches.keys()).join(',');
});

test('after one visit it runs offline; a first visit fetches at most 64 KiB gzipped', async () => {
  const site = await servedCopy();
  const kelvaro = await openKelvaro(phone(360, 740, 2), { session: site, clock: false });
  const { page } = kelvaro;
  try {
    await workerReady(page);
    const fetched = kelvaro.gzipped([...site.server.requested]);
    assert.ok(fetched > 0 && fetched <= 64 * 1024, `a first visit fetches ${fetched} bytes gzipped`);
    await site.server.stop();
    await page.reload();
    await page.waitForFunction(() => window.Module?.running);
    const image = await kelvaro.shot();
    await kelvaro.expectBall('offline', 'ball.start', image);
    kelvaro.expectBox('offline', image, 'floor', 'floor.start');
    await kelvaro.expectQuiet('offline', { afresh: false });
  } finally {
    await kelvaro.close();
    await site.close();
  }
});

test('a new build is served within two reloads, never mixed with the old one', needs('playwright'), async () => {
  const site = await servedCopy();
  const kelvaro = await openKelvaro(phone(360, 740, 2), { session: site, clock: false });
  const { page } = kelvaro;
  const builds = [];
  // The files of the build served now, as they are.
  const snapshot = () => Object.fromEntries(Object.keys(workerFiles(site.dir))
    .map((file) => [file, readFileSync(join(site.dir, file))]));
  // Reloads, and says which build the page's files all came from.
  const reload = async () => {
    // The files that the page loads itself are read, not the icon, which
    // the browser fetches for the tab on its own and need not keep (once,
    // Chromium had no body to give for a file it had fetched). A body that
    // cannot be read fails the check where it is awaited, by name.
    const bodies = [];
    const listen = (response) => {
      const file = new URL(response.url()).pathname.slice(1);
      if (!(file in builds[0]) || response.request().resourceType() === 'other') return;
      const body = response.body().catch((error) => { throw new Error(`${file}: ${error.message}`); });
      body.catch(() => {});
      bodies.push([file, body]);
    };
    page.on('response', listen);
    await page.reload();
    await page.waitForFunction(() => window.Module?.running);
    page.off('response', listen);
    const from = new Set();
    for (const [file, body] of bodies) {
      const served = await body;
      const matches = builds.map((build, i) => (build[file]?.equals(served) ? i : -1)).filter((i) => i >= 0);
      assert.ok(matches.length > 0, `${file} is from no build`);
      from.add(matches.length === builds.length ? 'any' : matches[0]);
    }
    from.delete('any');
    assert.ok(from.size <= 1, 'the page was served files of two builds');
    return page.locator('h1').innerText();
  };
  try {
    await workerReady(page);
    builds.push(snapshot());
    // The new build is written in a later second than the old one, as a
    // real one is: HTTP dates have whole seconds, and a file changed
    // within the second it was copied answers the browser's "modified
    // since?" with "not modified", so the new build would never be found.
    const nextSecond = (Math.floor(site.copied / 1000) + 1) * 1000;
    await new Promise((done) => setTimeout(done, Math.max(0, nextSecond - Date.now())));
    const html = join(site.dir, 'kelvaro.html');
    writeFileSync(html, readFileSync(html, 'utf8').replace('<h1>Kelvaro</h1>', '<h1>Kelvaro, rebuilt</h1>'));
    rebuildWorker(site.dir);
    builds.push(snapshot());
    const newCache = /const cacheName = '([^']+)'/.exec(readFileSync(join(site.dir, 'sw.js'), 'utf8'))[1];

    let seen = await reload();
    if (seen === 'Kelvaro') {
      // That visit found the new worker; it takes over once it holds the
      // new build, and deletes the old cache.
      await page.evaluate(async (name) => {
        while ((await caches.keys()).join(',') !== name) await new Promise((done) => setTimeout(done, 50));
      }, newCache);
      seen = await reload();
    }
    assert.equal(seen, 'Kelvaro, rebuilt', 'the new build is not served after two reloads');
    assert.equal(await workerReady(page), newCache, 'the old cache is still there');
  } finally {
    await kelvaro.close();
    await site.close();
  }
});

// The files that the service worker in DIR keeps, with their SHA-256.
function workerFiles(dir) {
  const worker = readFileSync(join(dir, 'sw.js'), 'utf8');
  return Object.fromEntries([...worker.matchAll(/^ {2}'([^']+)': '([0-9a-f]{64})',$/gm)].map((m) => [m[1], m[2]]));
}

// Writes the service worker in DIR anew for its files as they are now, as
// the build does.
function rebuildWorker(dir) {
  const web = new URL('../../platform/web/', import.meta.url).pathname;
  execFileSync('cmake', [`-DSITE=${dir}`, `-DFILES=${Object.keys(workerFiles(dir)).join(',')}`,
    `-DTEMPLATE=${web}page/sw.js.in`, '-P', `${web}worker.cmake`]);
}
