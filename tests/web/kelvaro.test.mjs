// The web build in Chromium, used as a person would use the page: open
// it, look at it, press keys. Screenshots are checked against the same
// numbers as the native window's (tests/pictures.txt).
// KELVARO_WEB names the folder of the web build (default: build-web).
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { after, before, test } from 'node:test';
import { gzipSync } from 'node:zlib';

import pngjs from 'pngjs';

import { launchChromium, serve, startDisplay } from '../../scripts/browser.mjs';

const webDir = process.env.KELVARO_WEB ?? new URL('../../build-web', import.meta.url).pathname;
const pictures = Object.fromEntries(
  readFileSync(new URL('../pictures.txt', import.meta.url), 'utf8')
    .split('\n')
    .filter((line) => /^\w/.test(line))
    .map((line) => line.trim().split(/\s+/))
    .map(([name, ...numbers]) => [name, numbers.map(Number)]));

// How many pixels of a colour an image has (within the box x0 y0 x1 y1,
// if given), and the box around them.
function findColour(image, colour, [x0, y0, x1, y1] = [0, 0, image.width - 1, image.height - 1]) {
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

function expectBetween(what, value, [low, high]) {
  assert.ok(value >= low && value <= high, `${what} is ${value}, expected ${low}..${high}`);
}

let stopDisplay, server, browser, page;
const complaints = [];

before(async () => {
  stopDisplay = await startDisplay();
  server = await serve(webDir);
  browser = await launchChromium();
  page = await browser.newPage({ viewport: { width: 800, height: 600 } });
  page.on('console', (m) => ['error', 'warning'].includes(m.type()) && complaints.push(m.text()));
  page.on('pageerror', (error) => complaints.push(error.message));
  page.on('response', (r) => r.status() >= 400 && complaints.push(`${r.status()} ${r.url()}`));
  page.on('requestfailed', (r) => complaints.push(`failed: ${r.url()}`));
  page.on('request', (r) => r.url().startsWith(server.url) || complaints.push(`outside: ${r.url()}`));
  // Page time is the test's to stop and step; it runs as usual until then.
  await page.clock.install();
  await page.goto(`${server.url}/kelvaro.html`);
  await page.waitForFunction(() => window.Module?.calledRun);
});

after(async () => {
  await browser?.close();
  await server?.stop();
  await stopDisplay?.();
});

// A screenshot of the canvas, taken after the program has drawn a frame.
async function shot() {
  await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
  return pngjs.PNG.sync.read(await page.locator('canvas').screenshot());
}

async function press(...keys) {
  for (const key of keys) await page.keyboard.press(key);
}

const times = (count, key) => Array(count).fill(key);

async function expectBall(what, [lowWidth, highWidth, lowCentre, highCentre]) {
  const { count, box } = findColour(await shot(), 'ball');
  assert.ok(count > 0, `${what}: no ball in view`);
  expectBetween(`${what}: ball width`, box[2] - box[0] + 1, [lowWidth, highWidth]);
  expectBetween(`${what}: ball centre x`, Math.floor((box[0] + box[2]) / 2), [lowCentre, highCentre]);
}

function expectBox(what, image, colour, want) {
  const [tolerance] = pictures['box.tolerance'];
  const { box } = findColour(image, colour);
  box.forEach((side, i) =>
    expectBetween(`${what}: ${colour} box[${i}]`, side, [want[i] - tolerance, want[i] + tolerance]));
}

// Takes screenshots for up to SECONDS until one satisfies CONDITION.
async function pollShots(seconds, condition) {
  const end = Date.now() + seconds * 1000;
  while (Date.now() < end) if (condition(await shot())) return true;
  return false;
}

const companionShown = (image) => findColour(image, 'companion').count >= pictures['companion.shown'][0];

test('the page: titled, the canvas on white, the controls beneath, small', async () => {
  assert.equal(await page.title(), 'Kelvaro');
  const canvas = await page.locator('canvas').boundingBox();
  assert.deepEqual([canvas.width, canvas.height], [300, 400]);
  const table = await page.locator('table').boundingBox();
  assert.ok(table.y >= canvas.y + canvas.height, 'the controls are not beneath the canvas');
  assert.match(await page.locator('table').innerText(), /Home/);
  assert.equal(await page.evaluate(() => getComputedStyle(document.body).backgroundColor), 'rgb(255, 255, 255)');
  const licence = page.getByRole('link', { name: 'MIT licence' });
  const served = await page.request.get(new URL(await licence.getAttribute('href'), page.url()).href);
  assert.match(await served.text(), /^MIT License/, 'the footer does not lead to the licence');
  const gzipped = ['html', 'js', 'wasm']
    .map((ext) => gzipSync(readFileSync(`${webDir}/kelvaro.${ext}`), { level: 9 }).length)
    .reduce((sum, size) => sum + size);
  assert.ok(gzipped <= 64 * 1024, `html + js + wasm are ${gzipped} bytes gzipped`);
});

test('the start picture is the native window\'s', async () => {
  const image = await shot();
  expectBetween('white pixels', findColour(image, 'white').count, pictures['white.start']);
  await expectBall('start', pictures['ball.start']);
  expectBox('start', image, 'floor', pictures['floor.start']);
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

test('"+", "-", "x", "z", "r" and the arrows change the picture as natively', async () => {
  // "+" as typed on a key of its own, without Shift.
  await press(...times(5, '+'));
  await expectBall('radius 35', pictures['ball.radius35']);
  await press(...times(2, '-'));
  await expectBall('radius 29', pictures['ball.radius29']);
  await press(...times(10, 'x'));
  await expectBall('offset 40', pictures['ball.offset40']);
  await press(...times(5, 'z'));
  await expectBall('offset 20', pictures['ball.offset20']);
  await press('X', 'Z', 'Shift+X', 'Shift+Z');
  await expectBall('capitals X and Z', pictures['ball.offset20']);
  await press('R');
  await expectBall('after R', pictures['ball.start']);

  await press(...times(9, 'ArrowRight'));
  const { box } = findColour(await shot(), 'floor');
  expectBetween('floor width at turn 45', box[2] - box[0] + 1, pictures['floor.turn45.width']);
  await press(...times(9, 'ArrowLeft'), ...times(18, 'ArrowDown'));
  const tilted = await shot();
  expectBox('tilt 90', tilted, 'floor', pictures['floor.tilt90']);
  assert.equal(findColour(tilted, 'floor', pictures['floor.tilt90.empty']).count, 0);
  await press(...times(18, 'ArrowUp'));
});

test('keys never scroll the page; unlisted keys change nothing', async () => {
  await page.evaluate(() => window.scrollTo(0, 40));
  await press('ArrowDown', 'ArrowUp', 'PageDown', 'PageUp', 'End', ' ', 'F1', 'Insert', 'Shift', 'Home');
  assert.equal(await page.evaluate(() => window.scrollY), 40, 'the page scrolled');
  await page.evaluate(() => window.scrollTo(0, 0));
  const image = await shot();
  await expectBall('after unlisted keys', pictures['ball.start']);
  expectBox('after unlisted keys', image, 'floor', pictures['floor.start']);
});

test('the motion repeats every 384 ticks of 10 ms', async () => {
  // With page time stopped, 3840 ms are 384 ticks and 240 frames: the
  // same picture again, to the pixel. Half of it is not.
  await page.clock.pauseAt((await page.evaluate(() => Date.now())) + 1000);
  await press('Home');
  const picture = async (ms) => {
    await page.clock.runFor(ms);
    return (await page.locator('canvas').screenshot()).toString('base64');
  };
  const start = await picture(16);
  assert.notEqual(await picture(1920), start, 'the same picture after 192 ticks');
  assert.equal(await picture(1920), start, 'a different picture after 384 ticks');
  await page.clock.resume();
});

test('nothing in the console, nothing missing, nothing from elsewhere', () => {
  assert.deepEqual(complaints, []);
});
