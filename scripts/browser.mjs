// What the browser tests and the web benchmark share: a private X server,
// the web build served by Python's static file server, and the three
// engines as Debian ships them (Chromium, Firefox ESR and WebKitGTK),
// drawing with Mesa's llvmpipe as a desktop without a GPU does.
import { spawn } from 'node:child_process';
import { once } from 'node:events';
import { chromium, firefox } from 'playwright-core';

import { launchWebKit } from './webkit.mjs';

// Starts its process and resolves with the first match of PATTERN in
// what the process writes to STREAM (a number, the file descriptor). It
// goes on reading after the match: a process that wrote into a closed
// pipe would be stopped by it. LOG, if given, is handed what the process
// writes to its standard error.
function startAndRead(command, args, stream, pattern, log) {
  const stdio = ['ignore', 'ignore', log ? 'pipe' : 'ignore', 'ignore'];
  stdio[stream] = 'pipe';
  const child = spawn(command, args, { stdio });
  if (log) child.stderr.on('data', log);
  return new Promise((resolve, reject) => {
    let text = '';
    child.stdio[stream].on('data', (chunk) => {
      text += chunk;
      const match = text.match(pattern);
      if (match) resolve({ child, match: match[1] });
    });
    child.on('exit', () => reject(new Error(`${command} did not start: ${text}`)));
  });
}

function stopper(child) {
  return async () => {
    if (child.exitCode !== null || child.signalCode !== null) return;
    child.kill();
    await once(child, 'exit');
  };
}

// A virtual display of its own; -displayfd lets the server choose a free
// number, so runs side by side never collide. Sets DISPLAY.
export async function startDisplay() {
  const { child, match } = await startAndRead(
    'Xvfb', ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
    3, /^(\d+)\n/);
  process.env.DISPLAY = `:${match}`;
  return stopper(child);
}

// Serves DIR on a free port of the loopback; resolves with its address
// and the set of paths that it has been asked for, whoever asked.
export async function serve(dir) {
  const requested = new Set();
  const { child, match } = await startAndRead(
    'python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1', '--directory', dir],
    1, /port (\d+)/, (chunk) => {
      for (const [, path] of String(chunk).matchAll(/"GET \/([^ ?]*)\S* HTTP/g)) requested.add(path);
    });
  return { url: `http://127.0.0.1:${match}`, requested, stop: stopper(child) };
}

// Chromium's switches: ANGLE on desktop GL puts WebGL on llvmpipe; the
// others keep it from reaching for the network, which is closed here. As
// root it needs --no-sandbox. ARGS are more switches.
const switches = (args) => [
  '--use-angle=gl', '--ignore-gpu-blocklist', '--no-first-run',
  '--disable-background-networking', '--disable-component-update',
  '--disable-sync', '--disable-quic',
  ...(process.getuid() === 0 ? ['--no-sandbox'] : []),
  ...args,
];

// Chromium in a window on DISPLAY. Its browser contexts are like
// incognito windows.
export function launchChromium(args = []) {
  return chromium.launch({ executablePath: '/usr/bin/chromium', headless: false, args: switches(args) });
}

// Chromium with a profile of its own in DIR, as a person's browser is (it
// offers to install a web app, which an incognito window never does):
// resolves with its one browser context, made with OPTIONS.
export function launchChromiumWithProfile(dir, options, args = []) {
  return chromium.launchPersistentContext(dir,
    { executablePath: '/usr/bin/chromium', headless: false, args: switches(args), ...options });
}

// Firefox ESR, driven by Playwright over WebDriver BiDi, in a window on
// DISPLAY, with more preferences PREFS (about:config's names).
export function launchFirefox(prefs = {}) {
  return firefox.launch({ channel: 'moz-firefox', executablePath: '/usr/bin/firefox-esr', headless: false,
    firefoxUserPrefs: prefs });
}

// The engines by name, each started with settings of its own: more
// switches for Chromium and MiniBrowser, more preferences for Firefox.
export const engines = { chromium: launchChromium, firefox: launchFirefox, webkit: launchWebKit };
