// Measures the web build in each engine (Chromium, Firefox, WebKit) on a
// private Xvfb: ticks a second against that engine's own ceiling
// (ceiling.html: the same 10 ms timer chain with a trivial frame), and
// the time to the first frame against the ceiling's, over nine loads of
// each with an empty cache. In Chromium also what its GPU process spends
// and what the page weighs, and a trace of each page shows what made
// ticks late. Runs alternate, a round at a time, so that both sides see
// the same machine. Prints "ENGINE.NAME value" lines and writes the gaps
// between ticks (ms, one a line) into OUT_DIR/ENGINE-NAME.gaps. With
// KELVARO_GPU_NICE set, Chromium's GPU process is given that nice value
// in every run; KELVARO_ENGINES names the engines (default: all three).
// Usage: node bench/web.mjs WEB_DIR OUT_DIR SECONDS ROUNDS
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';

import { engines, serve, startDisplay } from '../scripts/browser.mjs';
import { gpuProcess, renice, spent, threadSeconds } from './gpu.mjs';
import { traceLateTicks } from './trace.mjs';

const [webDir, outDir, seconds = '10', rounds = '3'] = process.argv.slice(2);

// Run before the page's own scripts, as the first script of its head in
// the bench's copy of each page: notes the time of every run of a 10 ms
// timer's callback (a tick), counts animation frames, notes when the
// WebGL context was asked for and made, the first WebGL draw and, where
// the engine reports them, main-thread tasks of over 50 ms.
function watch() {
  const bench = (window.bench = { ticks: [], frames: 0, firstDraw: null, longTasks: [] });
  if (PerformanceObserver.supportedEntryTypes.includes('longtask')) {
    new PerformanceObserver((list) => {
      for (const task of list.getEntries()) bench.longTasks.push([task.startTime, task.duration]);
    }).observe({ type: 'longtask' });
  }
  const setTimeoutBefore = window.setTimeout;
  window.setTimeout = (callback, delay, ...rest) =>
    setTimeoutBefore((...args) => {
      if (delay === 10) bench.ticks.push(performance.now());
      callback(...args);
    }, delay, ...rest);
  const requestFrameBefore = window.requestAnimationFrame;
  window.requestAnimationFrame = (callback) =>
    requestFrameBefore((time) => {
      bench.frames++;
      callback(time);
    });
  const getContextBefore = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function (...args) {
    bench.contextAsked ??= performance.now();
    const context = getContextBefore.apply(this, args);
    if (!context || bench.contextMade) return context;
    bench.contextMade = performance.now();
    for (const name of ['clear', 'drawArrays', 'drawElements']) {
      const draw = context[name];
      context[name] = function (...drawArgs) {
        bench.firstDraw ??= performance.now();
        return draw.apply(this, drawArgs);
      };
    }
    return context;
  };
}

// One run in a fresh context (so nothing is cached): settles for a
// second, then counts for SECONDS, and what Chromium's GPU process spent
// meanwhile. Takes no screenshot, which would take time from the page.
// Notes the files that the page fetched, into FETCHED (Chromium's).
async function run(engine, browser, url, keys, fetched) {
  const chromium = engine === 'chromium';
  const context = await browser.newContext({ viewport: { width: 1024, height: 700 } });
  const page = await context.newPage();
  if (chromium) {
    page.on('requestfinished', (request) => {
      const file = new URL(request.url()).pathname.slice(1);
      if (file !== 'bench-watch.js') fetched.add(file);
    });
  }
  await page.goto(url);
  for (const key of keys) await page.keyboard.press(key);
  await page.waitForTimeout(1000);
  const gpu = chromium ? gpuProcess() : null;
  if (gpu && process.env.KELVARO_GPU_NICE) renice(gpu, Number(process.env.KELVARO_GPU_NICE));
  const from = await page.evaluate(() => [bench.ticks.length, bench.frames]);
  const gpuFrom = gpu && threadSeconds(gpu);
  await page.waitForTimeout(Number(seconds) * 1000);
  const gpuSeconds = gpu ? spent(gpuFrom, threadSeconds(gpu)) : {};
  const { ticks, frames, firstDraw, longTasks } = await page.evaluate(() => window.bench);
  await context.close();
  const counted = ticks.slice(from[0]);
  return {
    seconds: (counted.at(-1) - counted[0]) / 1000,
    ticks: counted.length - 1,
    frames: frames - from[1],
    // The longest task that began after the first frame was drawn.
    longest: Math.max(0, ...longTasks.filter(([start]) => start > firstDraw).map(([, ms]) => ms)),
    gpuSeconds,
    gaps: counted.slice(1).map((time, i) => time - counted[i]),
  };
}

// One load in a fresh context, with an empty cache, until the first
// frame is drawn: when the page had its HTML, was parsed, had the
// program's script, asked for its WebGL context and had it, and drew (ms
// after navigation starts).
async function firstFrame(browser, url) {
  const context = await browser.newContext({ viewport: { width: 1024, height: 700 } });
  try {
    const page = await context.newPage();
    await page.goto(url);
    await page.waitForFunction(() => window.bench?.firstDraw != null, null, { timeout: 30000 });
    return await page.evaluate(() => ({
      html: performance.getEntriesByType('navigation')[0]?.responseEnd ?? 0,
      parsed: performance.getEntriesByType('navigation')[0]?.domInteractive ?? 0,
      script: performance.getEntriesByType('resource').find((one) => /kelvaro\.js$/.test(one.name))?.responseEnd ?? 0,
      contextAsked: bench.contextAsked,
      contextMade: bench.contextMade,
      firstDraw: bench.firstDraw,
    }));
  } finally {
    await context.close();
  }
}

// The site, with watch() as the first script of each page's head.
const stopDisplay = await startDisplay();
const site = mkdtempSync(join(tmpdir(), 'kelvaro-bench-'));
cpSync(webDir, site, { recursive: true });
cpSync(new URL('ceiling.html', import.meta.url), join(site, 'ceiling.html'));
writeFileSync(join(site, 'bench-watch.js'), `(${watch})();\n`);
for (const page of ['kelvaro.html', 'ceiling.html']) {
  const html = readFileSync(join(site, page), 'utf8');
  writeFileSync(join(site, page), html.replace('<head>', '<head>\n<script src="bench-watch.js"></script>'));
}
const server = await serve(site);
const pages = {
  ceiling: ['ceiling.html', []],
  web: ['kelvaro.html', []],
  companion: ['kelvaro.html', ['a']],
};
const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];
try {
  for (const engine of (process.env.KELVARO_ENGINES ?? 'chromium,firefox,webkit').split(',')) {
    const browser = await engines[engine]();
    try {
      const runs = Object.fromEntries(Object.keys(pages).map((name) => [name, []]));
      const fetched = new Set();
      for (let round = 0; round < Number(rounds); round++) {
        for (const [name, [path, keys]] of Object.entries(pages)) {
          runs[name].push(await run(engine, browser, `${server.url}/${path}`, keys,
            name === 'web' ? fetched : new Set()));
        }
      }
      // The first frame, the two pages taking turns, nine loads each.
      const loads = { ceiling: [], web: [] };
      for (let load = 0; load < 9; load++) {
        for (const name of Object.keys(loads)) {
          loads[name].push(await firstFrame(browser, `${server.url}/${pages[name][0]}`));
        }
      }
      for (const [name, list] of Object.entries(loads)) {
        for (const field of ['html', 'parsed', 'script', 'contextAsked', 'contextMade', 'firstDraw']) {
          console.log(`${engine}.${name}.${field} ${median(list.map((one) => one[field])).toFixed(0)}`);
        }
      }
      for (const [name, list] of Object.entries(runs)) {
        const sum = (field) => list.reduce((total, one) => total + one[field], 0);
        const key = `${engine}.${name}`;
        console.log(`${key}.ticks ${(sum('ticks') / sum('seconds')).toFixed(1)}`);
        console.log(`${key}.frames ${(sum('frames') / sum('seconds')).toFixed(1)}`);
        writeFileSync(join(outDir, `${engine}-${name}.gaps`),
          list.flatMap((one) => one.gaps).map((gap) => gap.toFixed(3)).join('\n') + '\n');
        if (engine !== 'chromium') continue;
        console.log(`${key}.longest ${Math.max(...list.map((one) => one.longest)).toFixed(0)}`);
        // The GPU process's CPU a frame (ms): in all, its main thread, and
        // llvmpipe's threads, which rasterize.
        for (const thread of ['total', 'main', 'llvmpipe']) {
          const used = list.reduce((total, one) => total + (one.gpuSeconds[thread] ?? 0), 0);
          console.log(`${key}.gpu.${thread} ${(used * 1000 / sum('frames')).toFixed(1)}`);
        }
      }
      console.log(`${engine}.version ${browser.version()}`);
      if (engine !== 'chromium') continue;
      for (const name of ['ceiling', 'web']) {
        const trace = await traceLateTicks(browser, `${server.url}/${pages[name][0]}`, 4);
        for (const [key, value] of Object.entries(trace)) {
          console.log(`${engine}.${name}.trace.${key} ${value.toFixed(key === 'frameMedianMs' ? 2 : 0)}`);
        }
      }
      // What a visit fetches: the page's own files.
      const files = [...fetched].sort().map((path) => readFileSync(join(webDir, path)));
      console.log(`transfer.files ${[...fetched].sort().join(',')}`);
      console.log(`transfer.bytes ${files.reduce((sum, data) => sum + data.length, 0)}`);
      console.log(`transfer.gzip ${files.reduce((sum, data) => sum + gzipSync(data, { level: 9 }).length, 0)}`);
    } finally {
      await browser.close();
    }
  }
} finally {
  await server.stop();
  await stopDisplay();
  rmSync(site, { recursive: true });
}
