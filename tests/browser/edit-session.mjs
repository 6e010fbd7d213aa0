// A whole edit in qhost's browser page, in Debian's Chromium driven by playwright-core: open the
// sample drawing, pick a text by clicking it in the drawing, type Cyrillic and a character from
// the character map, make a word bold and red from the toolbar, see the drawing change, resize
// the dialog, open the About box and the context menu, save, and compare the saved drawing with
// the expected one. Screenshots of each step go to --out.
//
//   node edit-session.mjs --qhost build/apps/qhost/qhost --source . --out build/tests/browser/output
//
// QUILLON_UPDATE_GOLDEN=1 rewrites the expected drawing.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { launchChromium, serveDrawing, stopServing } from './serve.mjs';

const option = (name, fallback) => {
  const at = process.argv.indexOf('--' + name);
  return at > 0 ? process.argv[at + 1] : fallback;
};
const qhostBinary = path.resolve(option('qhost', 'build/apps/qhost/qhost'));
const source = path.resolve(option('source', '.'));
const out = path.resolve(option('out', 'browser-output'));
const expectedFile = path.join(source, 'tests/browser/expected/edited-sample.dxf');

fs.rmSync(out, { recursive: true, force: true });
fs.mkdirSync(out, { recursive: true });
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'qhost-browser-'));
const drawing = path.join(work, 'sample.dxf');
fs.copyFileSync(path.join(source, 'examples/sample.dxf'), drawing);

let step = 0;
const failures = [];
function check(ok, what) {
  console.log((ok ? 'ok   ' : 'FAIL ') + what);
  if (!ok) failures.push(what);
}

// qhost on any free loopback port; its address comes on the error stream.
// The dialog's remembered size stays in the work folder: a size saved by an earlier run (the resize
// below) would otherwise open the dialog wider each time, until its grip is off the page.
const served = await serveDrawing(qhostBinary, drawing, { cwd: work, env: { ...process.env, XDG_CONFIG_HOME: work } });
const { url, exited } = served;
const browser = await launchChromium();
const page = await browser.newPage({ viewport: { width: 1280, height: 860 } });
page.on('pageerror', (e) => failures.push('page error: ' + e.message));
// What the page sent, kept beside the screenshots.
const sent = [];
page.on('request', (r) => { if (r.method() === 'POST') sent.push(r.postData()); });
page.setDefaultTimeout(15000);

async function shot(name) {
  await page.waitForTimeout(150);
  await page.screenshot({ path: path.join(out, `${String(++step).padStart(2, '0')}-${name}.png`) });
}
// Waits until the host has taken every event sent so far and published what followed.
async function settle() {
  await page.evaluate(() => window.qhostSent());
  await page.waitForTimeout(300);
}
// Where the page shows `word` inside the element `selector`, from the browser's own layout.
const wordBox = (selector, word) => page.evaluate(([selector, word]) => {
  const walker = document.createTreeWalker(document.querySelector(selector), NodeFilter.SHOW_TEXT);
  for (let node = walker.nextNode(); node; node = walker.nextNode()) {
    const at = node.data.indexOf(word);
    if (at < 0) continue;
    const range = document.createRange();
    range.setStart(node, at);
    range.setEnd(node, at + word.length);
    const r = range.getBoundingClientRect();
    return { x: r.x, y: r.y, width: r.width, height: r.height };
  }
  return null;
}, [selector, word]);
const waitFor = (kind) => page.waitForSelector(`body[data-wait="${kind}"]`);
const command = async (line) => {
  await page.fill('#command', line);
  await page.press('#command', 'Enter');
};

try {
  await page.goto(url);
  await waitFor('command');
  check(await page.locator('#drawing svg g[data-type="MTEXT"]').count() === 2, 'the drawing shows both texts of the sample');
  await shot('drawing');

  // The wheel zooms, a drag pans, "Zoom to extents" shows the whole drawing again.
  const viewBox = () => page.locator('#drawing svg').getAttribute('viewBox');
  const whole = await viewBox();
  await page.mouse.move(640, 300);
  await page.mouse.wheel(0, -400);
  const zoomed = (await viewBox()).split(' ').map(Number);
  check(zoomed[2] < Number(whole.split(' ')[2]), `the wheel zooms in (${whole} -> ${zoomed.join(' ')})`);
  await page.mouse.down();
  await page.mouse.move(700, 340, { steps: 4 });
  await page.mouse.up();
  const panned = (await viewBox()).split(' ').map(Number);
  check(panned[0] < zoomed[0] && panned[2] === zoomed[2], 'a drag pans without zooming');
  await page.click('#extents');
  check(await viewBox() === whole, 'zoom to extents shows the whole drawing');

  // The command, Enter for "edit a text", then a click on the text in the drawing.
  await command('CQuillon');
  await waitFor('point');
  await command('');
  await waitFor('entity');
  await page.locator('#drawing svg text', { hasText: 'Размеры в мм' }).click();
  await waitFor('dialog');
  const edit = page.locator('.richedit');
  check((await edit.textContent()).includes('Подчёркнутая строка'), 'the picked text is in the editor');
  await shot('editor');

  // Type Cyrillic at the end of the first line.
  await edit.locator('p').first().click({ position: { x: 400, y: 5 } });
  await settle();
  await page.keyboard.type(' и проверка');
  await settle();
  await page.waitForFunction(() => document.querySelector('.richedit').textContent.includes('мм и проверка'));
  check(true, 'typed Cyrillic reaches the editor');
  await page.waitForFunction(() => document.querySelector('#drawing svg').textContent.includes('Размеры в мм и проверка'));
  check(true, 'the drawing shows the typed text at once');

  // A character from qhost's character map, which the symbol button opens, at the caret.
  await page.click('[data-name="IDC_SYMBOL"]');
  await page.waitForSelector('.charmap');
  await shot('character-map');
  await page.click('.charmap .cell[data-code="b9"]');
  await page.waitForFunction(() => !document.querySelector('.charmap') &&
    document.querySelector('.richedit').textContent.includes('проверка№'));
  check(true, 'a character chosen in the character map is typed at the caret');

  // A drag across "мм" selects it.
  const mm = await wordBox('.richedit', 'мм');
  await page.mouse.move(mm.x + 1, mm.y + mm.height / 2);
  await page.mouse.down();
  await page.mouse.move(mm.x + mm.width / 2, mm.y + mm.height / 2, { steps: 3 });
  await page.mouse.move(mm.x + mm.width - 1, mm.y + mm.height / 2, { steps: 3 });
  await page.mouse.up();
  await settle();
  await page.waitForFunction(() => [...document.querySelectorAll('.richedit .sel')].map((s) => s.textContent).join('') === 'мм',
    null, { timeout: 3000 }).catch(() => {});
  const dragged = await page.locator('.richedit .sel').allTextContents();
  check(dragged.join('') === 'мм', `a drag selects what it crosses (${JSON.stringify(dragged)})`);

  // The word "проверка": double-click selects it, bold and red from the toolbar.
  const word = await wordBox('.richedit', 'проверка');
  await page.mouse.dblclick(word.x + word.width / 2, word.y + word.height / 2);
  await settle();
  await page.waitForFunction(() => [...document.querySelectorAll('.richedit .sel')].map((s) => s.textContent).join('') === 'проверка',
    null, { timeout: 3000 }).catch(() => {});
  const selected = await page.locator('.richedit .sel').allTextContents();
  check(selected.join('') === 'проверка', `double-click selects the word (${JSON.stringify(selected)})`);
  // (Bold is greyed here, in the default face of a shape-font style, and a greyed button shows no tip.)
  await page.hover('[data-name="IDC_UNDERLINE"]');
  await settle();
  await page.waitForSelector('.tip', { timeout: 3000 }).catch(() => {});
  const tip = await page.locator('.tip').allTextContents();
  check(tip.length === 1 && tip[0].length > 0, `hovering a button shows its tip (${JSON.stringify(tip)})`);
  await shot('tooltip');
  // The editor writes bold into the drawing with a font of its own: Arial from the font list.
  await page.click('[data-name="IDC_FONT"]');
  await page.waitForSelector('.list');
  await page.locator('.list div').getByText('Arial', { exact: true }).click();
  await settle();
  await page.click('[data-name="IDC_BOLD"]');
  await settle();
  await page.click('[data-name="IDC_COLOR"]');
  await page.waitForSelector('.list');
  await shot('colour-list');
  await page.locator('.list div', { hasText: 'Красный' }).first().click();
  await settle();
  await page.waitForFunction(() => [...document.querySelectorAll('#drawing svg tspan')]
    .some((t) => t.textContent === 'проверка' && t.getAttribute('font-weight') === 'bold' && t.getAttribute('fill') === '#ff0000'));
  check(true, 'the drawing shows the word bold and red');
  const run = edit.locator('span', { hasText: 'проверка' }).first();
  check(await run.evaluate((s) => getComputedStyle(s).fontWeight >= 700), 'the editor shows the word bold');
  await shot('bold-red');

  // Resize the dialog by its frame.
  const dialog = page.locator('.win.top').first();
  const before = await dialog.boundingBox();
  const grip = await page.locator('.grip').boundingBox();
  await page.mouse.move(grip.x + 6, grip.y + 6);
  await page.mouse.down();
  await page.mouse.move(grip.x + 156, grip.y + 86, { steps: 5 });
  await page.mouse.up();
  await settle();
  await page.waitForFunction((w) => document.querySelector('.win.top').getBoundingClientRect().width > w + 100, before.width);
  const after = await dialog.boundingBox();
  const editAfter = await edit.boundingBox();
  check(after.width > before.width + 100 && editAfter.width > before.width, 'the dialog and its text area grow with the frame');
  await shot('resized');

  // The About box over the editor; Escape closes it.
  await page.click('[data-name="IDC_ABOUT"]');
  await page.waitForFunction(() => document.querySelector('#wait').textContent.endsWith('dialog 5064'));
  check((await page.locator('.win.top .richedit').last().textContent()).includes('Quillon'), 'the About box opens');
  await shot('about');
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => document.querySelector('#wait').textContent.endsWith('dialog 5000'));

  // The text area's context menu: a right click opens it, an item closes it.
  await edit.click({ button: 'right', position: { x: 100, y: 10 } });
  await page.waitForSelector('.menu');
  const items = await page.locator('.menu .item').allTextContents();
  check(items.includes('Копировать') && items.includes('Выделить все'), `the context menu shows its items (${items.join(', ')})`);
  await shot('context-menu');
  await page.locator('.menu .item', { hasText: 'Копировать' }).click();
  await page.waitForFunction(() => !document.querySelector('.menu') && document.body.dataset.wait === 'dialog');

  // Leave the editor and save from the command line.
  await page.click('[data-name="IDCANCEL"]');
  await waitFor('command');
  await command('SAVE');
  await settle();
  await page.waitForFunction(() => document.querySelector('#history').textContent.trimEnd().endsWith('Command:'));
  await shot('saved');
  const saved = fs.readFileSync(drawing);
  if (process.env.QUILLON_UPDATE_GOLDEN) fs.writeFileSync(expectedFile, saved);
  const expected = fs.readFileSync(expectedFile);
  check(saved.equals(expected), 'the saved drawing is the expected one, byte for byte');
  if (!saved.equals(expected)) fs.writeFileSync(path.join(out, 'saved.dxf'), saved);
  await command('QUIT');
  const end = await Promise.race([exited, new Promise((r) => setTimeout(() => r(null), 10000))]);
  check(end && end.code === 0, `qhost ends with status 0 after QUIT (${JSON.stringify(end)})`);
} catch (e) {
  failures.push(e.message.split('\n')[0]);
  console.log('FAIL ' + e.message);
  await page.screenshot({ path: path.join(out, 'failure.png') }).catch(() => {});
} finally {
  await browser.close();
  await stopServing(served);
  fs.writeFileSync(path.join(out, 'qhost-stdout.txt'), served.out);
  fs.writeFileSync(path.join(out, 'events.txt'), sent.join('\n') + '\n');
  fs.writeFileSync(path.join(out, 'qhost-stderr.txt'), served.err);
  fs.rmSync(work, { recursive: true, force: true });
}
console.log(failures.length ? `${failures.length} failed; screenshots in ${out}` : `passed; screenshots in ${out}`);
process.exit(failures.length ? 1 : 0);
