// The CPU time of Chromium's GPU process, read from /proc, thread by
// thread: without a GPU this process is where WebGL's drawing is done,
// by its main thread (command decoding, ANGLE, llvmpipe's vertex work)
// and llvmpipe's raster threads.
import { readdirSync, readFileSync } from 'node:fs';
import { setPriority } from 'node:os';

const ticksPerSecond = 100; // USER_HZ, the unit of /proc's CPU times

// The fields of /proc/.../stat after the command name, which may hold
// spaces and brackets; field 3 (state) is [0].
function statFields(path) {
  const text = readFileSync(path, 'utf8');
  return { name: text.slice(text.indexOf('(') + 1, text.lastIndexOf(')')),
    fields: text.slice(text.lastIndexOf(')') + 2).split(' ') };
}

function parentOf(pid) {
  try {
    return Number(statFields(`/proc/${pid}/stat`).fields[1]);
  } catch {
    return 0;
  }
}

// The pid of the GPU process of a Chromium that this process started.
export function gpuProcess() {
  for (const entry of readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    let command = '';
    try {
      command = readFileSync(`/proc/${entry}/cmdline`, 'utf8');
    } catch {
      continue;
    }
    if (!command.includes('--type=gpu-process')) continue;
    for (let pid = parentOf(entry); pid > 1; pid = parentOf(pid)) {
      if (pid === process.pid) return Number(entry);
    }
  }
  throw new Error('no GPU process of ours in /proc');
}

// Seconds of CPU used so far by PID's main thread ("main"), by its other
// threads summed by name with any trailing number dropped (llvmpipe-0,
// llvmpipe-1, ... become llvmpipe), and by the whole process, ended
// threads included ("total").
export function threadSeconds(pid) {
  const cpu = (fields) => (Number(fields[11]) + Number(fields[12])) / ticksPerSecond;
  const seconds = { total: cpu(statFields(`/proc/${pid}/stat`).fields) };
  for (const tid of readdirSync(`/proc/${pid}/task`)) {
    let stat;
    try {
      stat = statFields(`/proc/${pid}/task/${tid}/stat`);
    } catch {
      continue; // the thread has ended
    }
    const name = tid === String(pid) ? 'main' : stat.name.replace(/-?\d+$/, '');
    seconds[name] = (seconds[name] ?? 0) + cpu(stat.fields);
  }
  return seconds;
}

// Gives every thread of PID the nice value NICE. Chromium started by root
// raises its GPU process above the page (-8); a user's cannot.
export function renice(pid, nice) {
  for (const tid of readdirSync(`/proc/${pid}/task`)) setPriority(Number(tid), nice);
}

// What each name used between two readings.
export function spent(before, after) {
  return Object.fromEntries(Object.keys(after).map((name) => [name, after[name] - (before[name] ?? 0)]));
}
