// Compares the frames of two web builds pixel for pixel: whatever makes a
// frame cheaper must leave it as it was. The page's 10 ms ticks are held
// and run by hand, and the canvas is taken as the browser shows it once
// the frame that they ask for is drawn, so both builds show the very
// same states: the start, the companion, the bounce at ten heights, and
// a frame after each of a run of keys. At device pixel ratios 1 and 2.
// Prints what differs; exits 1 if anything does.
// Usage: node bench/frames.mjs WEB_DIR OTHER_WEB_DIR
import pngjs from 'pngjs';

import { launchChromium, serve, startDisplay } from '../scripts/browser.mjs';

const keys = ['ArrowUp', 'ArrowUp', 'ArrowLeft', '+', '+', '+', 'x', 'x', 'ArrowDown', 'ArrowDown',
  'ArrowDown', 'ArrowDown', 'ArrowDown', 'r', 'z', '-', '-', '-', '-', '-', '-', '-'];

// Injected before the page's scripts: keeps the callbacks of 10 ms
// timers (the ticks) for the test to run.
function holdTicks() {
  window.ticks = [];
  const setTimeoutBefore = window.setTimeout;
  window.setTimeout = (callback, delay, ...rest) =>
    delay === 10 ? window.ticks.push(callback) : setTimeoutBefore(callback, delay, ...rest);
}

// Runs COUNT ticks, and waits until the frame that they asked for is drawn
// and shown.
function tick(count) {
  for (let i = 0; i < count; i++) window.ticks.shift()();
  return new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done)));
}

async function frames(browser, dir, ratio) {
  const server = await serve(dir);
  const context = await browser.newContext({ viewport: { width: 800, height: 700 }, deviceScaleFactor: ratio });
  const page = await context.newPage();
  await page.addInitScript(holdTicks);
  await page.goto(`${server.url}/kelvaro.html`);
  await page.waitForFunction(() => window.ticks.length === 1);
  const clip = await page.evaluate(() => {
    const { x, y, width, height } = document.querySelector('canvas').getBoundingClientRect();
    return { x, y, width, height };
  });
  const list = [];
  const draw = async (ticks) => {
    await page.evaluate(tick, ticks);
    list.push(Buffer.from(pngjs.PNG.sync.read(await page.screenshot({ clip })).data));
  };
  await page.keyboard.press('Home');
  await draw(1);
  await page.keyboard.press('a');
  await draw(1);
  for (let i = 0; i < 10; i++) await draw(17);
  for (const key of keys) {
    await page.keyboard.press(key);
    await draw(9);
  }
  await context.close();
  await server.stop();
  return list;
}

const [one, other] = process.argv.slice(2);
const stopDisplay = await startDisplay();
const browser = await launchChromium();
let differ = 0;
try {
  for (const ratio of [1, 2]) {
    const a = await frames(browser, one, ratio);
    const b = await frames(browser, other, ratio);
    let same = 0;
    a.forEach((frame, i) => {
      if (frame.equals(b[i])) {
        same++;
        return;
      }
      differ++;
      const colours = new Map();
      for (let at = 0; at < frame.length; at += 4) {
        if (frame.compare(b[i], at, at + 4, at, at + 4) === 0) continue;
        const change = `${frame.subarray(at, at + 3).join(',')} -> ${b[i].subarray(at, at + 3).join(',')}`;
        colours.set(change, (colours.get(change) ?? 0) + 1);
      }
      console.log(`ratio ${ratio}, frame ${i}: ${[...colours].map(([c, n]) => `${n} px ${c}`).join('; ')}`);
    });
    console.log(`ratio ${ratio}: ${same} of ${a.length} frames the same`);
  }
} finally {
  await browser.close();
  await stopDisplay();
}
process.exitCode = differ ? 1 : 0;
