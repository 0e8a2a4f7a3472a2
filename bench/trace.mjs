// Where a page's late ticks go, from a Chromium trace: for every tick
// that fired more than 10.5 ms after the one before, how long the page's
// main thread was busy in the time it was late (and how much of that in
// animation frames), and how busy Chromium's GPU process was meanwhile.
const categories = ['devtools.timeline', 'disabled-by-default-devtools.timeline', 'toplevel'];

export async function traceLateTicks(browser, url, seconds) {
  const page = await browser.newPage();
  await page.goto(url);
  await page.waitForTimeout(1000);
  await browser.startTracing(page, { categories });
  await page.waitForTimeout(seconds * 1000);
  const events = JSON.parse(await browser.stopTracing()).traceEvents;
  await page.close();

  const threadNames = new Map(events.filter((e) => e.name === 'thread_name')
    .map((e) => [`${e.pid}:${e.tid}`, e.args.name]));
  const on = (thread) => events.filter((e) => threadNames.get(`${e.pid}:${e.tid}`) === thread);
  const tasks = (list) => list.filter((e) => e.ph === 'X' && e.name === 'ThreadControllerImpl::RunTask');
  const main = on('CrRendererMain');
  const fires = main.filter((e) => e.name === 'TimerFire').sort((a, b) => a.ts - b.ts);
  const mainTasks = tasks(main);
  const frames = main.filter((e) => e.ph === 'X' && e.name === 'FireAnimationFrame');
  const busy = (list, from, to) => list.reduce(
    (sum, e) => sum + Math.max(0, Math.min(e.ts + e.dur, to) - Math.max(e.ts, from)), 0);

  const summary = { ticks: fires.length, late: 0, lateMs: 0, busyMs: 0, frameMs: 0 };
  for (let i = 1; i < fires.length; i++) {
    const due = fires[i - 1].ts + 10000;
    if (fires[i].ts - fires[i - 1].ts <= 10500) continue;
    summary.late++;
    summary.lateMs += (fires[i].ts - due) / 1000;
    summary.busyMs += busy(mainTasks, due, fires[i].ts) / 1000;
    summary.frameMs += busy(frames, due, fires[i].ts) / 1000;
  }
  const gpuBusy = busy(tasks(on('CrGpuMain')), -Infinity, Infinity) / 1000;
  summary.gpuMsPerSecond = gpuBusy / seconds;
  const frameTimes = frames.map((e) => e.dur / 1000).sort((a, b) => a - b);
  summary.frameMedianMs = frameTimes[Math.floor(frameTimes.length / 2)] ?? 0;
  return summary;
}
