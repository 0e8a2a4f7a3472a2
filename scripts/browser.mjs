// What the browser tests and the web benchmark share: a private X server,
// the web build served by Python's static file server, and the three
// engines as Debian ships them (Chromium, Firefox ESR and WebKitGTK),
// drawing with Mesa's llvmpipe as a desktop without a GPU does.
import { execFileSync, spawn } from 'node:child_process';
import { once } from 'node:events';
import { appendFileSync, existsSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

import { launchWebKit } from './webkit.mjs';

// Playwright writes what the browsers it starts print (its log "browser")
// into a file of this process's, read back when a bound runs out; the
// file goes when the process does. It reads DEBUG as it loads.
const browserOutput = join(tmpdir(), `kelvaro-browser-${process.pid}.log`);
if (!process.env.DEBUG) Object.assign(process.env, { DEBUG: 'pw:browser', DEBUG_FILE: browserOutput });
process.on('exit', () => rmSync(browserOutput, { force: true }));
const { chromium, firefox } = await import('playwright-core');

// The processes started here go when this process does, however it ends
// short of a kill: an X server left running holds its display's number.
const started = new Set();
process.on('exit', () => started.forEach((child) => child.kill()));
export function spawnOwned(...args) {
  const child = spawn(...args);
  started.add(child);
  child.on('exit', () => started.delete(child));
  return child;
}

// What is being waited for of the browser, for the report of a bound
// that runs out: the engine, the page's address, the calls not yet
// answered, the last lines of WebKit's driver, and the folder where a
// screenshot of the display and the browser's log are kept.
export const watch = { engine: '', url: '', waiting: new Set(), log: [], dir: tmpdir() };

// Notes a line that WebKit's driver printed, keeping the last 500.
export const logLine = (line) => watch.log.push(String(line).slice(0, 500)) > 500 && watch.log.shift();

// The error of WHAT, not done (WHY: "within 30 s"): it names the engine,
// the page, what else was awaited, and the screenshot, the log and the
// list of processes that it keeps.
export function lateError(what, why) {
  mkdirSync(watch.dir, { recursive: true });
  const dir = mkdtempSync(join(watch.dir, `${watch.engine}-`));
  const [screen, log, processes] = ['screen.png', 'browser.log', 'processes.txt'].map((file) => join(dir, file));
  try {
    execFileSync('import', ['-window', 'root', screen], { timeout: 10000 });
  } catch {
    writeFileSync(screen, '');  // no display to take
  }
  // Each thread's state and what it waits in, for a hang inside a browser.
  writeFileSync(processes, execFileSync('ps', ['-eLo', 'pid,tid,stat,wchan:24,pcpu,etime,args'], { timeout: 10000 }));
  writeFileSync(log, existsSync(browserOutput) ? readFileSync(browserOutput) : '');
  appendFileSync(log, watch.log.join('\n'));
  const also = [...watch.waiting].filter((one) => one !== what);
  return new Error(`${watch.engine}: ${what} did not finish ${why}, on ${watch.url || 'no page'}` +
    `${also.length ? `, waiting for ${also.join('; ')}` : ''}. The display: ${screen}; the browser's log: ${log}; ` +
    `the processes: ${processes}`);
}

// PROMISE, or the error of WHAT once MS have passed. The drivers' own
// time limits are reported the same way.
export async function within(promise, what, ms = 30000) {
  let timer;
  watch.waiting.add(what);
  try {
    return await Promise.race([promise, new Promise((_, reject) => {
      timer = setTimeout(() => reject(lateError(what, `within ${ms / 1000} s`)), ms);
    })]);
  } catch (error) {
    throw /Timeout/.test(error?.name) ? lateError(what, `(${error.message.split('\n')[0]})`) : error;
  } finally {
    clearTimeout(timer);
    watch.waiting.delete(what);
  }
}

// An argument as a call's name shows it.
const shown = (arg) => (typeof arg === 'function' ? String(arg).replace(/\s+/g, ' ').slice(0, 60)
  : JSON.stringify(arg)?.slice(0, 60));

// Whether VALUE is a driver's object (a page, a locator, a keyboard),
// whose calls are bounded too, rather than data.
const isDriver = (value) => value !== null && typeof value === 'object' && !Array.isArray(value) &&
  !ArrayBuffer.isView(value) && (Object.getPrototypeOf(value) !== Object.prototype ||
    Object.values(value).some((property) => typeof property === 'function'));

// TARGET, named NAME, with each call bounded by within and named by
// itself (page.locator("button").click()), and the driver's objects
// that its calls and properties give bounded the same way.
export function bounded(target, name) {
  return new Proxy(target, {
    get(object, key) {
      const value = Reflect.get(object, key);
      if (typeof key !== 'string' || key.startsWith('_')) return value;  // the driver's own
      if (typeof value !== 'function') return isDriver(value) ? bounded(value, `${name}.${String(key)}`) : value;
      return (...args) => {
        const what = `${name}.${String(key)}(${args.map(shown).join(', ')})`;
        const result = value.apply(object, args);
        if (typeof result?.then === 'function') {
          // What newPage() gives is "page", as the tests call it.
          const named = /^new[A-Z]/.test(key) ? key[3].toLowerCase() + key.slice(4) : what;
          return within(result, what).then((done) => (isDriver(done) ? bounded(done, named) : done));
        }
        return isDriver(result) ? bounded(result, what) : result;
      };
    },
  });
}

// Starts its process and resolves with the first match of PATTERN in
// what the process writes to STREAM (a number, the file descriptor). It
// goes on reading after the match: a process that wrote into a closed
// pipe would be stopped by it. LOG, if given, is handed what the process
// writes to its standard error.
function startAndRead(command, args, stream, pattern, log) {
  const stdio = ['ignore', 'ignore', log ? 'pipe' : 'ignore', 'ignore'];
  stdio[stream] = 'pipe';
  const child = spawnOwned(command, args, { stdio });
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

// An X server of its own, of SIZE ("WxHxDEPTH"); resolves with its
// display's name and a function that stops it. -displayfd lets the server
// choose a free number, so runs side by side never collide. -noreset
// keeps it as it is when its last client leaves: a reset drops every
// client still connecting, as a browser starting up may be just as a
// screenshot's client ends, and the browser then cannot open the display.
export async function startXvfb(size) {
  const { child, match } = await startAndRead(
    'Xvfb', ['-displayfd', '3', '-screen', '0', size, '-nolisten', 'tcp', '-noreset'], 3, /^(\d+)\n/);
  return { display: `:${match}`, stop: stopper(child) };
}

// A display of its own for this process: sets DISPLAY until it is
// stopped, when DISPLAY is the one before it again.
export async function startDisplay() {
  const before = process.env.DISPLAY;
  const { display, stop } = await startXvfb('1280x1024x24');
  process.env.DISPLAY = display;
  return async () => {
    await stop();
    if (before === undefined) delete process.env.DISPLAY;
    else process.env.DISPLAY = before;
  };
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
