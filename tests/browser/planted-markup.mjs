// A drawing that carries markup and script in every string the page shows of it (an entity type,
// a layer, a style and its font, a block, texts): in Debian's Chromium, the page shows them as
// text, and nothing planted runs or becomes an element of the page.
//
//   node planted-markup.mjs --qhost build/apps/qhost/qhost
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { launchChromium, serveDrawing, stopServing } from './serve.mjs';

const at = process.argv.indexOf('--qhost');
const qhostBinary = path.resolve(at > 0 ? process.argv[at + 1] : 'build/apps/qhost/qhost');

// Each planted script would set window.planted or open a dialog.
const run = 'window.planted=1;alert(1)';
const planted = {
  type: 'X--><IMG SRC=X ONERROR=ALERT(1)>',
  layer: `L"><img src=x onerror="${run}">`,
  style: `S</text><script>${run}</script>`,
  font: `F'"><svg onload="${run}">`,
  block: `B]]><img src=x onerror="${run}">`,
  text: `<img src=x onerror="${run}">`,
  mtext: `</tspan></text></svg><script>${run}</script>`,
  inner: `<iframe srcdoc="<script>parent.planted=1</script>">`,
};
const groups = (pairs) => pairs.map(([code, value]) => `${code}\n${value}\n`).join('');
const dxf = groups([
  [0, 'SECTION'], [2, 'HEADER'], [9, '$ACADVER'], [1, 'AC1015'], [0, 'ENDSEC'],
  [0, 'SECTION'], [2, 'TABLES'], [0, 'TABLE'], [2, 'LAYER'], [0, 'LAYER'], [2, '0'], [70, 0], [62, 7],
  [0, 'LAYER'], [2, planted.layer], [70, 0], [62, 1], [0, 'ENDTAB'],
  [0, 'TABLE'], [2, 'STYLE'], [0, 'STYLE'], [2, planted.style], [70, 0], [40, 0], [3, planted.font], [0, 'ENDTAB'],
  [0, 'ENDSEC'],
  [0, 'SECTION'], [2, 'BLOCKS'], [0, 'BLOCK'], [8, '0'], [2, planted.block], [70, 0], [10, 0], [20, 0], [30, 0],
  [0, 'TEXT'], [8, planted.layer], [7, planted.style], [10, 0], [20, 0], [40, 1], [1, planted.inner],
  [0, 'ENDBLK'], [0, 'ENDSEC'],
  [0, 'SECTION'], [2, 'ENTITIES'],
  [0, planted.type], [5, 'D0'], [8, planted.layer], [10, 0], [20, 0],
  [0, 'TEXT'], [5, 'D1'], [8, planted.layer], [7, planted.style], [10, 0], [20, 0], [40, 1], [1, planted.text],
  [0, 'MTEXT'], [5, 'D2'], [8, planted.layer], [7, planted.style], [10, 0], [20, 5], [40, 1], [71, 1], [1, planted.mtext],
  [0, 'INSERT'], [5, 'D3'], [8, planted.layer], [2, planted.block], [10, 10], [20, 10],
  [0, 'ENDSEC'], [0, 'EOF'],
]);

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'qhost-planted-'));
const drawing = path.join(work, 'planted.dxf');
fs.writeFileSync(drawing, dxf);
const failures = [];
function check(ok, what) {
  console.log((ok ? 'ok   ' : 'FAIL ') + what);
  if (!ok) failures.push(what);
}

const served = await serveDrawing(qhostBinary, drawing, { cwd: work, env: { ...process.env, XDG_CONFIG_HOME: work } });
const browser = await launchChromium();
try {
  const page = await browser.newPage();
  const dialogs = [];
  page.on('dialog', (d) => { dialogs.push(d.message()); d.dismiss(); });
  const loaded = [];
  page.on('request', (r) => loaded.push(r.url()));
  await page.goto(served.url);
  await page.waitForSelector('#drawing svg g[data-type="MTEXT"]', { timeout: 15000 });
  await page.waitForTimeout(500);
  const seen = await page.evaluate(() => ({
    planted: window.planted,
    elements: [...new Set([...document.querySelectorAll('#drawing *')].map((e) => e.localName))].sort(),
    handlers: [...document.querySelectorAll('#drawing *')].flatMap((e) => [...e.attributes].map((a) => a.name))
      .filter((n) => n.startsWith('on')),
    texts: [...document.querySelectorAll('#drawing tspan')].map((e) => e.textContent),
  }));
  check(seen.planted === undefined && dialogs.length === 0, `no planted script ran (${dialogs.join(', ')})`);
  check(seen.elements.every((e) => ['svg', 'rect', 'g', 'path', 'circle', 'text', 'tspan'].includes(e)),
    `only the renderer's elements in the drawing: ${seen.elements.join(' ')}`);
  check(seen.handlers.length === 0, 'no event handler attributes in the drawing');
  check(seen.texts.includes(planted.text), 'the TEXT shows its markup as text');
  check(seen.texts.includes(planted.inner), "the block's TEXT shows its markup as text");
  check(seen.texts.some((t) => t.includes(`<script>${run}</script>`)), 'the MTEXT shows its markup as text');
  check(!loaded.some((u) => /\/x$/.test(u)), 'no planted image was asked for');
  check(await page.title() === 'qhost', 'the page is still the page');
} catch (e) {
  failures.push(e.message.split('\n')[0]);
  console.log('FAIL ' + e.message);
} finally {
  await browser.close();
  await stopServing(served);
  fs.rmSync(work, { recursive: true, force: true });
}
console.log(failures.length ? `${failures.length} failed` : 'passed');
process.exit(failures.length ? 1 : 0);
