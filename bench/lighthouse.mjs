// Lighthouse on the web build, as a phone sees it: its default mobile
// settings (a mid-range phone's screen, 4x CPU slowdown, a slow 4G
// network, all simulated), in Debian's Chromium in a window on a private
// Xvfb with WebGL working, as the other web benchmarks run it. Runs it
// RUNS times, a fresh browser each, and prints "name value" lines: the
// median run's category scores, the metrics behind its performance and
// its long tasks.
// Usage: node bench/lighthouse.mjs WEB_DIR [RUNS]
import * as chromeLauncher from 'chrome-launcher';
import lighthouse from 'lighthouse';

import { serve, startDisplay } from '../scripts/browser.mjs';

const [webDir, runs = '3'] = process.argv.slice(2);

// What each line is called, and where Lighthouse keeps it.
const metrics = {
  'first-contentful-paint': 'fcp.ms',
  'largest-contentful-paint': 'lcp.ms',
  'speed-index': 'speed-index.ms',
  'total-blocking-time': 'tbt.ms',
  'cumulative-layout-shift': 'cls',
  'max-potential-fid': 'max-potential-fid.ms',
  'bootup-time': 'bootup.ms',
  'unused-javascript': 'unused-js.bytes',
};

async function audit(url) {
  const chrome = await chromeLauncher.launch({
    chromePath: '/usr/bin/chromium',
    chromeFlags: ['--use-angle=gl', '--ignore-gpu-blocklist', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--disable-quic',
      ...(process.getuid() === 0 ? ['--no-sandbox'] : [])],
  });
  try {
    const { lhr } = await lighthouse(url, { port: chrome.port, logLevel: 'error', output: 'json' });
    return lhr;
  } finally {
    await chrome.kill();
  }
}

const stopDisplay = await startDisplay();
const server = await serve(webDir);
try {
  const reports = [];
  for (let i = 0; i < Number(runs); i++) reports.push(await audit(`${server.url}/kelvaro.html`));
  reports.sort((a, b) => a.categories.performance.score - b.categories.performance.score);
  const median = reports[Math.floor(reports.length / 2)];
  console.log(`lighthouse.version ${median.lighthouseVersion}`);
  console.log(`lighthouse.scores ${reports.map((r) => r.categories.performance.score).join(',')}`);
  for (const [id, category] of Object.entries(median.categories)) {
    console.log(`lighthouse.${id} ${category.score}`);
  }
  for (const [id, name] of Object.entries(metrics)) {
    const found = median.audits[id];
    const value = id === 'unused-javascript' ? found.details?.overallSavingsBytes ?? 0 : found.numericValue;
    console.log(`lighthouse.${name} ${Number(value ?? 0).toFixed(id === 'cumulative-layout-shift' ? 3 : 0)}`);
  }
  // The median run's main-thread tasks of over 50 ms (Total Blocking
  // Time counts those after the first paint), as "file@start+duration"
  // in ms of its simulated phone, and whose they are.
  const tasks = median.audits['long-tasks']?.details?.items ?? [];
  console.log(`lighthouse.long-tasks ${tasks.map(({ url, startTime, duration }) =>
    `${url.split('/').pop() || url}@${startTime.toFixed(0)}+${duration.toFixed(0)}`).join(',') || 'none'}`);
  // Whatever kept a category from a full score.
  for (const category of Object.values(median.categories)) {
    for (const { id, weight } of category.auditRefs) {
      const score = median.audits[id].score;
      if (weight > 0 && score !== null && score < 1 && category.id !== 'performance') {
        console.log(`lighthouse.missed ${category.id}/${id} ${score} ${median.audits[id].explanation ?? ''}`);
      }
    }
  }
} finally {
  await server.stop();
  await stopDisplay();
}
