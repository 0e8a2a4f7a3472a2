// When the page cannot run the program, it says so in the canvas's place,
// as an alert that a screen reader reads out, and fails quietly
// otherwise: no uncaught exception, at most one line in the console, no
// harm from the keys and controls. Opened from the file system it runs.
import assert from 'node:assert/strict';
import { cpSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before } from 'node:test';

import { engineName, findColour, needs, openKelvaro, servedBy, startBrowser, test, webDir } from './page.mjs';

const desktop = { viewport: { width: 800, height: 600 } };

// The one message shown, read out as an alert, says SAID.
async function expectTold(kelvaro, said) {
  const alert = kelvaro.page.getByRole('alert');
  await alert.first().waitFor({ timeout: 10000 });
  assert.equal(await alert.count(), 1, 'more than one message is shown');
  assert.match(await alert.innerText(), said);
  assert.ok(await alert.isVisible(), 'the message is not visible');
}

// KEYS and the controls do nothing harmful, and the console stays quiet
// after the first report.
async function expectQuiet(kelvaro, controlsOff, keys = ['a', 'ArrowUp', '+', 'Home']) {
  const { page } = kelvaro;
  for (const key of keys) await page.keyboard.press(key);
  for (const button of await page.locator('button[data-key]').all()) {
    assert.equal(await button.isDisabled(), controlsOff, 'the controls are not as they should be');
  }
  const reported = kelvaro.messages.length;
  await page.waitForTimeout(1500);
  assert.ok(reported <= 1, `the console said: ${kelvaro.messages.join(' | ')}`);
  assert.equal(kelvaro.messages.length, reported, `the console went on: ${kelvaro.messages.join(' | ')}`);
  assert.deepEqual([...kelvaro.errors, ...kelvaro.violations, ...await kelvaro.heard()], []);
}

// A copy of the web build without the file MISSING, removed with CLEAN.
function folderWithout(missing) {
  const dir = mkdtempSync(join(tmpdir(), 'kelvaro-web-'));
  cpSync(webDir, dir, { recursive: true });
  rmSync(join(dir, missing));
  return { dir, clean: () => rmSync(dir, { recursive: true }) };
}

// Why the page cannot start: the browser as each engine's own settings
// make it (an engine without such a setting skips the case), or a file
// missing from the folder.
const cannotStart = [
  { name: 'WebGL turned off', said: /needs WebGL/, controlsOff: true, settings: {
    chromium: ['--disable-webgl'], firefox: { 'webgl.disabled': true }, webkit: ['--enable-webgl=false'] } },
  { name: 'no GPU and no software rasterizer', said: /needs WebGL/, controlsOff: true, settings: {
    chromium: ['--disable-gpu', '--disable-software-rasterizer'] } },
  { name: 'the program\'s script missing from the folder', missing: 'kelvaro.js', said: /did not load/,
    controlsOff: true },
  { name: 'the page\'s script missing from the folder', missing: 'page.js', said: /did not load/,
    controlsOff: true },
  { name: 'JavaScript turned off', said: /needs JavaScript/, controlsOff: false, settings: {
    chromium: ['--blink-settings=scriptEnabled=false'], firefox: { 'javascript.enabled': false },
    webkit: ['--enable-javascript=false'] } },
];

// One browser as it comes, for the cases that need no settings of
// their own.
let session;
before(async () => {
  session = await startBrowser();
});
after(async () => {
  await session?.close();
});

for (const { name, missing, said, controlsOff, settings } of cannotStart) {
  test(`${name}: the page says so in the canvas's place`,
    settings && !settings[engineName] ? needs('setting') : {}, async () => {
    const folder = missing ? folderWithout(missing) : { dir: webDir, clean: () => {} };
    const site = settings ? undefined : await servedBy(session, folder.dir);
    const kelvaro = await openKelvaro(desktop, { clock: false, settings, session: site, dir: folder.dir,
      started: false });
    try {
      await expectTold(kelvaro, said);
      await expectQuiet(kelvaro, controlsOff);
    } finally {
      await kelvaro.close();
      await site?.close();
      folder.clean();
    }
  });
}

test('opened from the file system, it runs as from a server', async () => {
  const kelvaro = await openKelvaro(desktop, { clock: false, file: true, session });
  try {
    const image = await kelvaro.shot();
    await kelvaro.expectBall('from a file', 'ball.start', image);
    kelvaro.expectBox('from a file', image, 'floor', 'floor.start');
    assert.equal(await kelvaro.page.evaluate(() => document.querySelectorAll('p.failure:not([hidden])').length),
      0, 'a failure is shown');
    await kelvaro.expectQuiet('opened from a file');
  } finally {
    await kelvaro.close();
  }
});

test('a lost context: the page says so after five seconds, and carries on when it is back', async () => {
  const kelvaro = await openKelvaro(desktop, { clock: false, session });
  const { page } = kelvaro;
  try {
    for (let i = 0; i < 5; i++) await page.keyboard.press('+');
    await kelvaro.expectBall('before the loss', 'ball.radius35');
    await page.evaluate(() => {
      window.loseContext = document.querySelector('canvas').getContext('webgl').getExtension('WEBGL_lose_context');
      window.loseContext.loseContext();
    });
    await page.waitForTimeout(1000);
    assert.equal(await page.getByRole('alert').count(), 0, 'the message came before five seconds');
    await expectTold(kelvaro, /picture away/);
    await expectQuiet(kelvaro, false, ['a']);
    await page.evaluate(() => window.loseContext.restoreContext());
    await page.getByRole('alert').waitFor({ state: 'detached' });
    // "+" was pressed before the loss, "a" while it lasted.
    await kelvaro.expectBall('after the restore', 'ball.radius35');
    assert.ok(await kelvaro.pollShots(6, kelvaro.companionShown), 'no companion after the restore');
    assert.ok(findColour(await kelvaro.shot(), 'floor').count > 0, 'no floor after the restore');
    assert.deepEqual([...kelvaro.complaints, ...kelvaro.violations, ...await kelvaro.heard()], []);
  } finally {
    await kelvaro.close();
  }
});
