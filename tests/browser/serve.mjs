// What the browser tests share: qhost --serve started on a free port, its printed address (with the
// run's secret) read from its error stream, and Debian's Chromium launched headless.
import { spawn } from 'node:child_process';
import { chromium } from 'playwright-core';

// Starts qhost serving `drawing`; resolves once it printed where the page is.
export async function serveDrawing(qhostBinary, drawing, { cwd, env } = {}) {
  const proc = spawn(qhostBinary, [drawing, '--serve', '--port', '0'],
    { stdio: ['ignore', 'pipe', 'pipe'], cwd, env: env || process.env });
  const served = { proc, err: '', out: '' };
  proc.stdout.on('data', (d) => { served.out += d; });
  served.exited = new Promise((done) => proc.on('exit', (code, signal) => done({ code, signal })));
  served.url = await new Promise((found, failed) => {
    proc.stderr.on('data', (d) => {
      served.err += d;
      const m = /the page is at (http:\/\/127\.0\.0\.1:\d+\/\?t=[0-9a-f]+)/.exec(served.err);
      if (m) found(m[1]);
    });
    proc.on('exit', () => failed(new Error('qhost ended before serving: ' + served.err)));
    setTimeout(() => failed(new Error('qhost did not say where the page is: ' + served.err)), 20000);
  });
  return served;
}

// Ends qhost if it is still running and waits for it.
export async function stopServing(served) {
  if (served.proc.exitCode === null) served.proc.kill('SIGTERM');
  await served.exited;
}

// launch() gives the browser a fresh profile directory of its own, removed when it closes.
export function launchChromium() {
  return chromium.launch({
    executablePath: process.env.QUILLON_CHROMIUM || '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}
