// The web build on a phone: Chromium emulating a touch screen 360 x 740
// CSS pixels at a device pixel ratio of 2. The page's controls are
// tapped, held and double-tapped, and the pictures are the window's
// (tests/pictures.txt), at twice the pixels.
import assert from 'node:assert/strict';
import { after, before } from 'node:test';

import { AxeBuilder } from '@axe-core/playwright';

import { expectBetween, findColour, needs, openKelvaro, test, times } from './page.mjs';

const screen = { width: 360, height: 740 };
let kelvaro, page, cdp;

// Every test needs a phone's screen, most of them taps too; raw touches,
// pens and device metrics need Chromium's DevTools Protocol.
const phone = needs('phone');
const taps = needs('phone', 'touch');
const raw = needs('phone', 'touch', 'cdp');

before(async () => {
  if (phone.skip) return;
  // Playwright's page clock slows every touch a little more than the last
  // one, so it is installed only where page time is stepped, last.
  kelvaro = await openKelvaro({ viewport: screen, deviceScaleFactor: 2, isMobile: true, hasTouch: true },
    { clock: false });
  page = kelvaro.page;
  if (!raw.skip) cdp = await page.context().newCDPSession(page);
});

after(async () => {
  await kelvaro?.close();
});

const control = (key) => page.locator(`button[data-key="${key}"]`);

async function tap(...keys) {
  for (const key of keys) await control(key).tap();
}

// The centre of a control, in CSS pixels.
async function centre(key) {
  const box = await control(key).boundingBox();
  return { x: box.x + box.width / 2, y: box.y + box.height / 2 };
}

const touch = async (type, point) =>
  cdp.send('Input.dispatchTouchEvent', { type, touchPoints: point ? [point] : [] });

// Sets the screen as a phone's of WIDTH CSS pixels at RATIO, and waits for
// the canvas's backing store to follow. (Emulating another ratio tells the
// page no change of its media queries, as a zoom or another screen does:
// a change of width with it gives the page a resize to notice. And
// screenshots stay at the context's ratio of 2.)
async function setScreen(width, ratio) {
  await cdp.send('Emulation.setDeviceMetricsOverride',
    { width, height: screen.height, deviceScaleFactor: ratio, mobile: true });
  await page.waitForFunction((want) => {
    const canvas = document.querySelector('canvas');
    const box = canvas.getBoundingClientRect();
    return canvas.width === Math.round(box.width * want) && canvas.height === Math.round(box.height * want);
  }, ratio);
}

test('the canvas and every control are on the first screen, each control a thumb wide', phone, async () => {
  assert.ok(await page.evaluate(() => document.documentElement.scrollWidth) <= screen.width,
    'the page is wider than the screen');
  const canvas = await page.locator('canvas').boundingBox();
  assert.deepEqual([canvas.width, canvas.height], [300, 400]);
  assert.deepEqual(await page.evaluate(() => {
    const { width, height } = document.querySelector('canvas');
    return [width, height];
  }), [600, 800]);
  const controls = await page.locator('button[data-key]').all();
  assert.equal(controls.length, 11);
  for (const box of [canvas, ...await Promise.all(controls.map((c) => c.boundingBox()))]) {
    assert.ok(box.x >= 0 && box.y >= 0 && box.x + box.width <= screen.width &&
              box.y + box.height <= screen.height, `${JSON.stringify(box)} is off the first screen`);
    assert.ok(box.width >= 44 && box.height >= 44, `${JSON.stringify(box)} is smaller than 44 x 44`);
  }
});

test('taps give the pictures that keys give, at twice the pixels, each pixel exact', raw, async () => {
  const start = await kelvaro.shot();
  kelvaro.expectExactColours('start', start);
  await kelvaro.expectBall('start', 'ball.start', start);
  kelvaro.expectBox('start', start, 'floor', 'floor.start');
  await tap(...times(5, '+'));
  await kelvaro.expectBall('5 taps on +', 'ball.radius35');
  await tap(...times(2, '-'));
  await kelvaro.expectBall('2 taps on -', 'ball.radius29');
  await tap(...times(10, 'x'));
  await kelvaro.expectBall('10 taps on x', 'ball.offset40');
  await tap(...times(5, 'z'));
  await kelvaro.expectBall('5 taps on z', 'ball.offset20');
  await tap('r');
  await kelvaro.expectBall('a tap on r', 'ball.start');

  await tap(...times(9, 'ArrowRight'));
  const { box } = findColour(await kelvaro.shot(), 'floor');
  const [narrowest, widest] = kelvaro.picture('floor.turn45.width');
  assert.ok(box[2] - box[0] + 1 >= narrowest && box[2] - box[0] + 1 <= widest, 'floor at turn 45');
  await tap(...times(9, 'ArrowLeft'), ...times(18, 'ArrowDown'));
  const tilted = await kelvaro.shot();
  kelvaro.expectBox('tilt 90', tilted, 'floor', 'floor.tilt90');
  assert.equal(findColour(tilted, 'floor', kelvaro.picture('floor.tilt90.empty')).count, 0);
  await tap(...times(18, 'ArrowUp'));

  // The companion, shown with a pen, hidden with a finger.
  const { x, y } = await centre('a');
  for (const type of ['mousePressed', 'mouseReleased']) {
    await cdp.send('Input.dispatchMouseEvent', { type, x, y, button: 'left', clickCount: 1, pointerType: 'pen' });
  }
  let image;
  assert.ok(await kelvaro.pollShots(6, (one) => kelvaro.companionShown((image = one))),
    'a pen on "a" did not show the companion');
  kelvaro.expectExactColours('with the companion', image);
  await tap('Home');
  assert.ok(!(await kelvaro.pollShots(1, kelvaro.companionShown)), 'the companion is still shown after Home');
});

test('a double tap or a long press on a control neither zooms, scrolls nor selects', raw, async () => {
  const view = () => page.evaluate(() =>
    [visualViewport.scale, scrollX, scrollY, getSelection().toString()]);
  const before = await view();
  const x = await centre('x');
  for (let i = 0; i < 2; i++) {
    await touch('touchStart', x);
    await touch('touchEnd');
  }
  const z = await centre('z');
  await touch('touchStart', z);
  await page.waitForTimeout(1000);
  await touch('touchEnd');
  assert.deepEqual(await view(), before);
  assert.deepEqual(before, [1, 0, 0, '']);
  await tap('r');
});

test('the backing store follows the pixel ratio and the screen: the same picture, more pixels', raw, async () => {
  await setScreen(screen.width - 1, 3);
  assert.deepEqual(await page.evaluate(() => {
    const { width, height } = document.querySelector('canvas');
    return [width, height];
  }), [900, 1200]);
  await kelvaro.expectBall('at a ratio of 3, seen at 2', 'ball.start');
  // Too narrow for 300 CSS pixels: smaller, and still 3 : 4.
  await setScreen(280, 2);
  const canvas = await page.locator('canvas').boundingBox();
  assert.ok(canvas.width < 300 && canvas.x >= 0 && canvas.x + canvas.width <= 280, 'canvas too wide');
  assert.ok(Math.abs(canvas.height / canvas.width - 4 / 3) < 0.01, 'canvas not 3 : 4');
  await setScreen(screen.width, 2);
  await kelvaro.expectBall('at a ratio of 2 again', 'ball.start');
});

test('a lost WebGL context comes back, with the picture and the state as they were', taps, async () => {
  await tap(...times(5, '+'), 'a');
  await page.evaluate(() => {
    window.loseContext = document.querySelector('canvas').getContext('webgl').getExtension('WEBGL_lose_context');
    window.loseContext.loseContext();
  });
  await page.waitForFunction(() => document.querySelector('canvas').getContext('webgl').isContextLost());
  await page.waitForTimeout(500);
  await page.evaluate(() => window.loseContext.restoreContext());
  await page.waitForFunction(() => !document.querySelector('canvas').getContext('webgl').isContextLost());
  await kelvaro.expectBall('after the restore', 'ball.radius35');
  assert.ok(await kelvaro.pollShots(6, kelvaro.companionShown), 'no companion after the restore');
  const first = (await kelvaro.shot()).data;
  assert.ok(await kelvaro.pollShots(2, (image) => !image.data.equals(first)), 'no animation after the restore');
  await tap('r', 'Home');
  await kelvaro.expectBall('r and Home after the restore', 'ball.start');
});

test('holding a control repeats it as a held key does, until the finger lifts or slides off', raw, async () => {
  // With page time stopped and stepped: a press, another half a second
  // later, then one every 33 ms. Each hold is let go between two presses,
  // and the picture looked at a second later, when it shows every press.
  // Radius 29 is the radius of the shifted pictures.
  await tap(...times(3, '+'));
  await page.clock.install();
  await page.clock.pauseAt((await page.evaluate(() => Date.now())) + 1000);
  const settled = async () => {
    await page.clock.runFor(1000);
    return kelvaro.canvasShot();
  };
  const holdX = async (ms) => {
    await touch('touchStart', await centre('x'));
    await page.clock.runFor(ms);
    await touch('touchEnd');
  };

  await holdX(450);
  // One press: a fifth of the way from the centre to offset 20.
  const [, , startLow, startHigh] = kelvaro.picture('ball.radius29');
  const [, , shiftedLow, shiftedHigh] = kelvaro.picture('ball.offset20');
  const { box } = findColour(await settled(), 'ball');
  expectBetween('x held for 450 ms: ball centre x', Math.floor((box[0] + box[2]) / 2),
    [startLow + (shiftedLow - startLow) / 5, startHigh + (shiftedHigh - startHigh) / 5]);
  await tap('z');
  await holdX(625); // presses at 0, 500, 533, 566 and 599 ms
  await kelvaro.expectBall('x held for 625 ms', 'ball.offset20', await settled());

  // A mouse held on "z" for as long, then slid off it.
  const z = await centre('z');
  await page.mouse.move(z.x, z.y);
  await page.mouse.down();
  await page.clock.runFor(625);
  await page.mouse.move(z.x, 10);
  await kelvaro.expectBall('z held for 625 ms, then slid off', 'ball.radius29', await settled());
  await page.mouse.up();

  await holdX(790); // and at 632, 665, 698, 731 and 764 ms
  await kelvaro.expectBall('x held for 790 ms', 'ball.offset40', await settled());
  await page.clock.resume();
  await tap('r');
  await kelvaro.expectBall('a tap on r', 'ball.start');
});

test('axe finds nothing to fault on the page', phone, async () => {
  const { violations } = await new AxeBuilder({ page }).analyze();
  assert.deepEqual(violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(', ')}`), []);
});

test('nothing in the console, nothing missing, nothing from elsewhere, nothing refused', phone, async () => {
  await kelvaro.expectQuiet();
});
