// The web build on a desktop, in each engine, used as a person would use
// the page: open it, look at it, press keys. Screenshots are checked
// against the same numbers as the native window's (tests/pictures.txt).
import assert from 'node:assert/strict';
import { createHash } from 'node:crypto';
import { after, before } from 'node:test';

import { AxeBuilder } from '@axe-core/playwright';

import { engineName, expectBetween, findColour, needs, openKelvaro, pictures, startBrowser, test, times } from './page.mjs';

const viewport = { width: 800, height: 600 };
let session, kelvaro, page;

before(async () => {
  // Playwright's page clock makes the page slower the longer it is
  // installed, so only the page whose time is stepped has it.
  session = await startBrowser();
  kelvaro = await openKelvaro({ viewport }, { session, clock: false });
  page = kelvaro.page;
});

after(async () => {
  await kelvaro?.close();
  await session?.close();
});

async function press(...keys) {
  for (const key of keys) await page.keyboard.press(key);
}

const shot = () => kelvaro.shot();
const expectBall = (what, name) => kelvaro.expectBall(what, name);
const expectBox = (what, image, colour, name) => kelvaro.expectBox(what, image, colour, name);
const pollShots = (seconds, condition) => kelvaro.pollShots(seconds, condition);
const companionShown = (image) => kelvaro.companionShown(image);

test('the page: titled, the canvas on white, the controls beneath, small', async () => {
  assert.equal(await page.title(), 'Kelvaro');
  // Only the page's own files, no code from strings, and no inline code
  // but the page's own script, by its hash.
  const policy = await page.locator('meta[http-equiv="Content-Security-Policy"]').getAttribute('content');
  const sources = policy.split(';').flatMap((directive) => directive.trim().split(/\s+/).slice(1));
  const inline = await page.evaluate(() => [...document.querySelectorAll('script:not([src])')].map((one) => one.text));
  const hashes = inline.map((text) => `'sha256-${createHash('sha256').update(text).digest('base64')}'`);
  assert.equal(hashes.length, 1, 'the page has one inline script');
  assert.deepEqual([...new Set(sources)].sort(), ["'none'", "'self'", "'wasm-unsafe-eval'", ...hashes].sort(), policy);
  const canvas = await page.locator('canvas').boundingBox();
  assert.deepEqual([canvas.width, canvas.height], [300, 400]);
  const table = await page.locator('table').boundingBox();
  assert.ok(table.y >= canvas.y + canvas.height, 'the controls are not beneath the canvas');
  assert.match(await page.locator('table').innerText(), /Home/);
  assert.equal(await page.evaluate(() => getComputedStyle(document.body).backgroundColor), 'rgb(255, 255, 255)');
  const licence = page.locator('footer a');
  assert.equal(await licence.innerText(), 'MIT licence');
  const served = await fetch(new URL(await licence.getAttribute('href'), await page.url()));
  assert.match(await served.text(), /^MIT License/, 'the footer does not lead to the licence');
  const gzipped = kelvaro.gzipped(['kelvaro.html', 'kelvaro.css', 'page.js', 'kelvaro.js', 'kelvaro.svg']);
  assert.ok(gzipped <= 48.8 * 1024, `the page's own files are ${gzipped} bytes gzipped`);
});

test('the start picture is the native window\'s', async () => {
  const image = await shot();
  expectBetween('white pixels', findColour(image, 'white').count, pictures['white.start']);
  await expectBall('start', 'ball.start');
  expectBox('start', image, 'floor', 'floor.start');
  assert.equal(findColour(image, 'companion').count, 0, 'companion shown at start');
});

test('"a" and F2 show the companion, Home hides it; "A" does not show it', async () => {
  for (const key of ['a', 'F2']) {
    await press(key);
    assert.ok(await pollShots(6, companionShown), `"${key}" did not bring the companion into view`);
    await press('Home');
    assert.ok(!(await pollShots(1, companionShown)), `companion still shown after Home`);
  }
  // "A" as typed with Caps Lock (no Shift held) and with Shift.
  await press('A', 'Shift+A');
  assert.ok(!(await pollShots(1.5, companionShown)), '"A" showed the companion');
});

test('every pixel is exactly the colour of what it shows, as natively', async () => {
  kelvaro.expectExactColours('start', await shot());
  await press('a');
  let image;
  assert.ok(await pollShots(6, (one) => companionShown((image = one))), 'no companion');
  kelvaro.expectExactColours('with the companion', image);
  await press('Home');
});

test('"+", "-", "x", "z", "r" and the arrows change the picture as natively', async () => {
  // "+" as typed on a key of its own, without Shift.
  await press(...times(5, '+'));
  await expectBall('radius 35', 'ball.radius35');
  await press(...times(2, '-'));
  await expectBall('radius 29', 'ball.radius29');
  await press(...times(10, 'x'));
  await expectBall('offset 40', 'ball.offset40');
  await press(...times(5, 'z'));
  await expectBall('offset 20', 'ball.offset20');
  await press('X', 'Z', 'Shift+X', 'Shift+Z');
  await expectBall('capitals X and Z', 'ball.offset20');
  await press('R');
  await expectBall('after R', 'ball.start');

  await press(...times(9, 'ArrowRight'));
  const { box } = findColour(await shot(), 'floor');
  expectBetween('floor width at turn 45', box[2] - box[0] + 1, pictures['floor.turn45.width']);
  await press(...times(9, 'ArrowLeft'), ...times(18, 'ArrowDown'));
  const tilted = await shot();
  expectBox('tilt 90', tilted, 'floor', 'floor.tilt90');
  assert.equal(findColour(tilted, 'floor', pictures['floor.tilt90.empty']).count, 0);
  await press(...times(18, 'ArrowUp'));
});

test('keys never scroll the page; unlisted keys change nothing', async () => {
  await page.evaluate(() => window.scrollTo(0, 40));
  await press('ArrowDown', 'ArrowUp', 'PageDown', 'PageUp', 'End', ' ', 'F1', 'Insert', 'Shift', 'Home');
  assert.equal(await page.evaluate(() => window.scrollY), 40, 'the page scrolled');
  await page.evaluate(() => window.scrollTo(0, 0));
  const image = await shot();
  await expectBall('after unlisted keys', 'ball.start');
  expectBox('after unlisted keys', image, 'floor', 'floor.start');
});

test('the key table is the controls: a click, Enter or Space presses a key once', async () => {
  const control = (key) => page.locator(`button[data-key="${key}"]`);
  for (let i = 0; i < 5; i++) await control('+').click();
  await expectBall('5 clicks on +', 'ball.radius35');
  await control('-').dblclick();
  await expectBall('a double click on -', 'ball.radius29');
  // A focused control takes Enter and Space as any button does; every
  // other key goes to the program, once.
  await kelvaro.tabTo('x');
  await press(...times(5, 'Enter'));
  await expectBall('Enter 5 times on x', 'ball.offset20');
  await press(...times(5, 'x'));
  await expectBall('x typed 5 times with x focused', 'ball.offset40');
  await kelvaro.tabTo('z');
  await press(...times(5, ' '));
  await expectBall('Space 5 times on z', 'ball.offset20');
  await press('r');
  await expectBall('after r', 'ball.start');
  await page.locator('h1').click();  // the focus back to the page
});

test('axe finds nothing to fault on the page', needs('playwright'), async () => {
  const { violations } = await new AxeBuilder({ page }).analyze();
  assert.deepEqual(violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(', ')}`), []);
});

test('the motion repeats every 384 ticks of 10 ms', needs('clock'), async () => {
  // With page time stopped, 3840 ms are 384 ticks and 240 frames: the
  // same picture again, to the pixel. Half of it is not. The page has
  // the clock from its start: a clock put into a running page leaves a
  // frame already asked of the browser to come at a moment of its own.
  const stepped = await openKelvaro({ viewport }, { session });
  const { clock } = stepped.page;
  try {
    await clock.pauseAt((await stepped.page.evaluate(() => Date.now())) + 1000);
    await stepped.page.keyboard.press('Home');
    const picture = async (ms) => {
      await clock.runFor(ms);
      return (await stepped.canvasShot()).data.toString('base64');
    };
    const start = await picture(16);
    assert.notEqual(await picture(1920), start, 'the same picture after 192 ticks');
    assert.equal(await picture(1920), start, 'a different picture after 384 ticks');
    assert.deepEqual([...stepped.complaints, ...stepped.violations], []);
  } finally {
    await stepped.close();
  }
});

test('the frames drawn repeat every 384 ticks, at whatever moment each is drawn', async () => {
  // Page time as it goes: each frame from Home on is noted with the ticks
  // since Home and a digest of its pixels, read as it is drawn. The key
  // may reach the page some frames after it is sent: the frames before it
  // are forgotten then.
  const watched = await openKelvaro({ viewport }, { session, clock: false });
  try {
    await watched.page.evaluate(() => {
      const canvas = document.querySelector('canvas');
      const gl = canvas.getContext('webgl');
      const drawn = (window.drawn = []);
      let ticks = 0;
      const setTimeoutBefore = window.setTimeout;
      window.setTimeout = (callback, delay, ...rest) => setTimeoutBefore((...args) => {
        if (delay === 10) [ticks, window.counting] = [ticks + 1, true];
        callback(...args);
      }, delay, ...rest);
      addEventListener('keydown', (event) => {
        if (event.key === 'Home') [ticks, drawn.length] = [0, 0];
      }, true);
      const frameBefore = window.requestAnimationFrame;
      window.requestAnimationFrame = (callback) => frameBefore((time) => {
        callback(time);
        const pixels = new Uint32Array(canvas.width * canvas.height);
        gl.readPixels(0, 0, canvas.width, canvas.height, gl.RGBA, gl.UNSIGNED_BYTE, new Uint8Array(pixels.buffer));
        let digest = 0;
        for (let i = 0; i < pixels.length; i++) digest = (Math.imul(digest, 31) + pixels[i]) | 0;
        drawn.push([ticks, digest]);
      });
    });
    // The tick pending before the watch began goes uncounted: Home waits
    // for one that is counted.
    await watched.page.waitForFunction(() => window.counting);
    await watched.page.keyboard.press('Home');
    // Until 20 frames have one drawn 384 ticks before them: how many ticks
    // that takes depends on how often the engine draws.
    await watched.page.waitForFunction(() => {
      const at = new Set(drawn.map(([ticks]) => ticks));
      return [...at].filter((ticks) => at.has(ticks - 384)).length >= 20;
    }, null, { timeout: 30000 });
    const drawn = new Map(await watched.page.evaluate(() => window.drawn));
    // The ticks of the frames that are, or are not, the frame TICKS later.
    const later = (ticks, same) => [...drawn].filter(([at, digest]) =>
      drawn.has(at + ticks) && (digest === drawn.get(at + ticks)) === same).map(([at]) => at);
    assert.ok(later(384, true).length >= 20, `only ${later(384, true).length} frames are the one 384 ticks later`);
    assert.deepEqual(later(384, false), [], 'frames that differ from the one 384 ticks later');
    assert.ok(later(192, false).length > 0, 'every frame is the one 192 ticks later');
  } finally {
    await watched.close();
  }
});

test('Pause holds the picture still, a key still draws at once, and Play moves it on', async () => {
  const pause = page.locator('#pause');
  await pause.click();
  try {
    assert.equal(await pause.innerText(), 'Play');
    const still = await shot();
    await page.waitForTimeout(1000);
    assert.ok(still.data.equals((await shot()).data), 'the picture moved while paused');
    await press(...times(5, '+'));
    await expectBall('"+" 5 times while paused', 'ball.radius35');
    await press('r');
    assert.ok(still.data.equals((await shot()).data), 'the picture moved while paused');
  } finally {
    // Space on the focused button presses it, as on any page.
    await kelvaro.tabTo('pause');
    await press(' ');
  }
  assert.equal(await pause.innerText(), 'Pause');
  const playing = await shot();
  assert.ok(await pollShots(2, (image) => !image.data.equals(playing.data)), 'Play did not move the ball');
});

// Whether the motion is held, as the picture and Pause's name show.
async function expectHeld(shown, held) {
  assert.equal(await shown.page.locator('#pause').innerText(), held ? 'Play' : 'Pause');
  const before = await shown.shot();
  const moves = await shown.pollShots(held ? 0.5 : 2, (image) => !image.data.equals(before.data));
  assert.equal(moves, !held, held ? 'the picture moved while held' : 'the picture stood still');
}

test('by keyboard alone: Tab through the controls and back, Pause held and let go, the browser\'s keys kept',
  async () => {
  const fresh = await openKelvaro({ viewport }, { session, clock: false });
  try {
    // A listener after the page's own hears whether it cancelled a key,
    // and keeps the function keys from reloading or opening the tools.
    await fresh.page.evaluate(() => addEventListener('keydown', (event) => {
      (window.kept ??= {})[event.key] = !event.defaultPrevented;
      if (/^F\d/.test(event.key)) event.preventDefault();
    }));
    for (const key of ['F1', 'F5', 'F12', 'Escape', 'ArrowDown', 'ArrowUp', 'Home', ' ', "'", '/']) {
      await fresh.page.keyboard.press(key);
    }
    const order = ['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', '+', '-', 'x', 'z', 'r', 'a', 'Home', 'pause',
      ...(await fresh.page.locator('#fullscreen').isVisible() ? ['fullscreen'] : [])];
    for (const want of order) {
      await fresh.page.keyboard.press('Tab');
      assert.equal(await fresh.focused(), want, 'Tab');
    }
    for (const want of order.slice(0, -1).reverse()) {
      await fresh.page.keyboard.press('Shift+Tab');
      assert.equal(await fresh.focused(), want, 'Shift+Tab');
    }
    const kept = { F1: true, F5: true, F12: true, Escape: true, Tab: true, ArrowDown: false, ArrowUp: false,
      Home: false, ' ': false, "'": false, '/': false };
    assert.deepEqual(await fresh.page.evaluate((keys) => Object.fromEntries(keys.map((key) => [key, window.kept[key]])),
      Object.keys(kept)), kept, 'whether the browser keeps each key');
    await fresh.tabTo('pause');
    for (const key of ['Enter', ' ']) {
      await fresh.page.keyboard.press(key);
      await expectHeld(fresh, true);
      await fresh.page.keyboard.press(key);
      await expectHeld(fresh, false);
    }
  } finally {
    await fresh.close();
  }
});

test('a screen reader reads the canvas, each control, and whether the motion is held', needs('playwright'),
  async () => {
  const read = async () => [...(await page.locator('body').ariaSnapshot()).matchAll(/- '?(img|button) "([^"]*)"/g)]
    .map(([, role, name]) => `${role}: ${name}`);
  const names = await read();
  assert.equal(names[0], 'img: A wire-frame ball falling onto a square floor and bouncing');
  assert.equal(names.filter((name) => /^button: \S+: \w/.test(name)).length, 11, names.join('; '));
  const fullScreen = await page.locator('#fullscreen').isVisible() ? ['button: Full screen'] : [];
  assert.deepEqual(names.slice(12), ['button: Pause', ...fullScreen]);
  await page.locator('#pause').click();
  assert.ok((await read()).includes('button: Play'), 'Pause held does not read as Play');
  await page.locator('#pause').click();
});

// Less motion asked for as each engine can be asked: Playwright's
// emulation, or Firefox's own preference, which its driver cannot set.
const lessMotion = {
  chromium: { options: { reducedMotion: 'reduce' } },
  firefox: { settings: { firefox: { 'ui.prefersReducedMotion': 1 } } },
};

test('asked for less motion, the page starts still and says why', lessMotion[engineName] ? {} : needs('setting'),
  async () => {
  const { options, settings } = lessMotion[engineName];
  const calm = await openKelvaro({ viewport, ...options }, { session: settings ? undefined : session, settings,
    clock: false });
  try {
    assert.equal(await calm.page.locator('#pause').innerText(), 'Play');
    assert.match(await calm.page.locator('p.still').innerText(), /less motion\. Play starts it/);
    assert.equal(await calm.page.locator('#pause').getAttribute('aria-describedby'), 'still');
    const first = await calm.shot();
    await calm.expectBall('the first frame', 'ball.start', first);
    await calm.page.waitForTimeout(1000);
    assert.ok(first.data.equals((await calm.shot()).data), 'the picture moved');
  } finally {
    await calm.close();
  }
});

test('less motion asked for while the page runs holds it; asked no more, it stays held', needs('media'),
  async () => {
  const pause = page.locator('#pause');
  await page.emulateMedia({ reducedMotion: 'reduce' });
  await page.waitForFunction(() => document.getElementById('pause').innerText === 'Play');
  await page.emulateMedia({ reducedMotion: 'no-preference' });
  const still = await shot();
  await page.waitForTimeout(500);
  assert.ok(still.data.equals((await shot()).data), 'the motion started by itself');
  await pause.click();
  assert.equal(await pause.innerText(), 'Pause');
});

test('nothing in the console, nothing missing, nothing from elsewhere, nothing refused', async () => {
  await kelvaro.expectQuiet();
});
