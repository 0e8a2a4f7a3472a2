import { engines, serve, startDisplay } from './scripts/browser.mjs';
const stop = await startDisplay();
for (const dir of process.argv.slice(3)) {
const server = await serve(dir);
const browser = await engines[process.argv[2]]();
const context = await browser.newContext({ viewport: { width: 1024, height: 700 } });
const page = await context.newPage();
const probe = () => {
  const p = (window.probe = { flushMs: 0, flushes: 0, frameMs: 0, frames: 0, drawMs: 0 });
  const proto = WebGLRenderingContext.prototype;
  for (const [name, field] of [['flush', 'flushMs'], ['drawElements', 'drawMs']]) {
    const before = proto[name];
    proto[name] = function (...args) { const t = performance.now(); const r = before.apply(this, args); p[field] += performance.now() - t; if (name === 'flush') p.flushes++; return r; };
  }
  const raf = window.requestAnimationFrame;
  window.requestAnimationFrame = (cb) => raf((t) => { const s = performance.now(); cb(t); p.frameMs += performance.now() - s; p.frames++; });
};
await page.addInitScript?.(probe);
await page.goto(server.url + '/kelvaro.html');
if (!page.addInitScript) await page.evaluate(probe);
await page.waitForTimeout(1000);
await page.evaluate(() => Object.keys(probe).forEach((k) => (probe[k] = 0)));
await page.waitForTimeout(5000);
const p = await page.evaluate(() => probe);
console.log(dir, 'per frame ms: frame', (p.frameMs / p.frames).toFixed(2), 'flush', (p.flushMs / p.frames).toFixed(2), 'draw', (p.drawMs / p.frames).toFixed(2), 'flushes/frame', (p.flushes / p.frames).toFixed(1), 'frames/s', p.frames / 5);
await context.close(); await browser.close(); await server.stop();
}
await stop();
