// The qhost page: draws the state the host publishes and posts what the user does as events of
// the session vocabulary. It keeps no state of the host's own; only the view of the drawing
// (pan and zoom) and what the mouse is doing belong to the page.
'use strict';

const $ = (id) => document.getElementById(id);
let state = null;          // the latest published state
let shownDrawing = -1;     // the drawing version the SVG shows
let view = null;           // the drawing's view box {x, y, w, h}, the page's own
let extents = null;        // the view box of the whole drawing

// ---- Talking to the host ----

let sending = Promise.resolve();
// Posts one event; events go out one after another, in the order the user made them.
function send(verb, ...args) {
  const body = JSON.stringify({ verb, args: args.map(String) });
  return post(body);
}
// Settles once every event sent so far has reached the host (for tests and for the impatient).
window.qhostSent = () => sending;
function sendLine(line) { return post(JSON.stringify({ line })); }
function post(body) {
  sending = sending.then(() => fetch('/event', { method: 'POST', headers: { 'Content-Type': 'application/json' }, body })
    .then(async (r) => { $('status').textContent = r.ok ? '' : (await r.text()).trim(); })
    .catch(() => { $('status').textContent = 'qhost does not answer'; }));
  return sending;
}

async function poll() {
  let version = 0;
  for (;;) {
    try {
      const asked = Date.now();
      const r = await fetch('/state' + (version ? '?since=' + version : ''), { cache: 'no-store' });
      if (!r.ok) throw new Error(r.status);
      const next = await r.json();
      if (next.version !== version) {
        version = next.version;
        render(next);
      } else if (Date.now() - asked < 1000) {
        // The server lets only a few requests wait; one answered at once with nothing new asks again later.
        await new Promise((done) => setTimeout(done, 1000));
      }
    } catch (e) {
      $('status').textContent = 'qhost does not answer';
      await new Promise((done) => setTimeout(done, 1000));
    }
  }
}

function render(next) {
  const old = state;
  state = next;
  document.body.dataset.version = next.version;
  document.body.dataset.wait = next.wait.kind;
  $('wait').textContent = next.wait.name ? 'waiting for: ' + next.wait.name : '';
  if (!old || old.transcriptVersion !== next.transcriptVersion) renderHistory(next.transcript);
  if (next.drawingVersion !== shownDrawing) renderDrawing(next.drawing);
  if (!old || old.windowsVersion !== next.windowsVersion) renderDesktop(next);
  // A window that opens takes the keyboard from the command line, as on the host's platform.
  const modal = (s) => s && ['dialog', 'menu', 'message box'].includes(s.wait.kind);
  if (modal(next) && !modal(old)) $('keys').focus();
  if (!modal(next) && document.activeElement === $('keys')) $('command').focus();
}

// ---- The command line ----

function renderHistory(text) {
  const history = $('history');
  history.textContent = text;
  history.scrollTop = history.scrollHeight;
}

$('commandline').addEventListener('submit', (e) => {
  e.preventDefault();
  const input = $('command');
  sendLine(input.value);
  input.value = '';
});

// ---- The drawing ----

function svgRoot() { return $('drawing').querySelector('svg'); }

// The drawing's SVG is data from the drawing's file: it is parsed as XML, never as the page's
// markup, and only the elements and attributes the host's renderer writes are taken over, with
// every text as a text node.
const SVG_NS = 'http://www.w3.org/2000/svg';
const XML_NS = 'http://www.w3.org/XML/1998/namespace';
const SVG_ELEMENTS = new Set(['svg', 'g', 'rect', 'path', 'circle', 'text', 'tspan']);
const SVG_ATTRIBUTES = new Set([
  'viewBox', 'width', 'height', 'x', 'y', 'd', 'r', 'cx', 'cy', 'fill', 'stroke', 'stroke-width', 'stroke-linecap',
  'stroke-linejoin', 'transform', 'font-family', 'font-size', 'font-weight', 'font-style', 'text-decoration',
  'textLength', 'lengthAdjust', 'class', 'data-type', 'data-handle', 'data-origin-x', 'data-origin-y',
]);

function drawingSvg(text) {
  const parsed = new DOMParser().parseFromString(text, 'image/svg+xml');
  const root = parsed.documentElement;
  if (root.namespaceURI !== SVG_NS || root.localName !== 'svg' || parsed.getElementsByTagName('parsererror').length)
    return null;
  return copySvg(root);
}

function copySvg(from) {
  const to = document.createElementNS(SVG_NS, from.localName);
  for (const a of from.attributes) {
    if (a.namespaceURI === null && SVG_ATTRIBUTES.has(a.name)) to.setAttribute(a.name, a.value);
    else if (a.namespaceURI === XML_NS && a.localName === 'space') to.setAttributeNS(XML_NS, 'xml:space', a.value);
  }
  for (const child of from.childNodes) {
    if (child.nodeType === Node.TEXT_NODE) to.appendChild(document.createTextNode(child.data));
    else if (child.nodeType === Node.ELEMENT_NODE && child.namespaceURI === SVG_NS && SVG_ELEMENTS.has(child.localName))
      to.appendChild(copySvg(child));
  }
  return to;
}

function renderDrawing(drawing) {
  const holder = $('drawing');
  const svg = drawingSvg(drawing.svg);
  holder.replaceChildren(...(svg ? [svg] : []));
  shownDrawing = state.drawingVersion;
  if (!svg) {
    $('status').textContent = 'the drawing cannot be shown: its picture is not well-formed';
    return;
  }
  const box = svg.viewBox.baseVal;
  const whole = box && box.width ? { x: box.x, y: box.y, w: box.width, h: box.height } : null;
  const same = extents && whole && ['x', 'y', 'w', 'h'].every((k) => Math.abs(extents[k] - whole[k]) < 1e-9);
  extents = whole;
  if (!view || !same && !view.moved) view = whole && { ...whole };
  applyView();
  for (const handle of drawing.changed || []) {
    for (const g of svg.querySelectorAll(`g[data-handle="${CSS.escape(handle)}"]`)) g.classList.add('changed');
  }
}

function applyView() {
  const svg = svgRoot();
  if (svg && view) svg.setAttribute('viewBox', `${view.x} ${view.y} ${view.w} ${view.h}`);
}

// The drawing point under a mouse event: the SVG's units are drawing units, its y runs down from
// the drawing point (data-origin-x, data-origin-y).
function drawingPoint(e) {
  const svg = svgRoot();
  const p = new DOMPoint(e.clientX, e.clientY).matrixTransform(svg.getScreenCTM().inverse());
  const ox = parseFloat(svg.dataset.originX || '0'), oy = parseFloat(svg.dataset.originY || '0');
  return { x: ox + p.x, y: oy - p.y };
}

const round = (v) => String(Math.round(v * 1e4) / 1e4);

let drag = null;
$('drawing').addEventListener('mousedown', (e) => {
  if (e.button !== 0 || !svgRoot()) return;
  drag = { x: e.clientX, y: e.clientY, moved: false };
});
window.addEventListener('mousemove', (e) => {
  if (!drag || !view) return;
  const dx = e.clientX - drag.x, dy = e.clientY - drag.y;
  if (!drag.moved && Math.hypot(dx, dy) < 4) return;
  drag.moved = true;
  const ctm = svgRoot().getScreenCTM();
  view.x -= dx / ctm.a;
  view.y -= dy / ctm.d;
  view.moved = true;
  drag.x = e.clientX;
  drag.y = e.clientY;
  applyView();
});
window.addEventListener('mouseup', (e) => {
  const was = drag;
  drag = null;
  if (!was || was.moved || e.button !== 0 || !state) return;
  const p = drawingPoint(e);
  const kind = state.wait.kind;
  if (kind === 'entity') send('pick', round(p.x), round(p.y));
  else if (kind === 'point') send('point', round(p.x), round(p.y));
});
$('drawing').addEventListener('wheel', (e) => {
  e.preventDefault();
  const svg = svgRoot();
  if (!svg || !view) return;
  const p = new DOMPoint(e.clientX, e.clientY).matrixTransform(svg.getScreenCTM().inverse());
  const factor = Math.exp(e.deltaY * 0.0015);
  view = { x: p.x - (p.x - view.x) * factor, y: p.y - (p.y - view.y) * factor, w: view.w * factor, h: view.h * factor,
           moved: true };
  applyView();
}, { passive: false });
$('drawing').addEventListener('contextmenu', (e) => e.preventDefault());
$('extents').addEventListener('click', () => {
  view = extents && { ...extents };
  applyView();
});

// ---- The windows ----

const BS = { TYPEMASK: 0xf, PUSHLIKE: 0x1000 };
const WS = { CAPTION: 0x00c00000, THICKFRAME: 0x00040000, MAXIMIZEBOX: 0x00010000 };
const has = (node, word) => (node.states || []).includes(word);
const label = (text) => (text || '').replace(/&(.)/g, '$1');

function el(tag, cls, parent) {
  const e = document.createElement(tag);
  if (cls) e.className = cls;
  if (parent) parent.appendChild(e);
  return e;
}

function place(e, rect, origin) {
  e.style.left = rect.x - origin.x + 'px';
  e.style.top = rect.y - origin.y + 'px';
  e.style.width = rect.w + 'px';
  e.style.height = rect.h + 'px';
}

// The name an event gives a control: its id (the dialog's own surface is "dialog").
const target = (node) => (node.id === undefined ? 'dialog' : String(node.id));

function clientPoint(e, node) {
  return [Math.round(e.clientX - desktopOrigin().x - node.client.x), Math.round(e.clientY - desktopOrigin().y - node.client.y)];
}
function desktopOrigin() {
  const r = $('desktop').getBoundingClientRect();
  return { x: r.left, y: r.top };
}

function renderDesktop(s) {
  const desktop = $('desktop');
  desktop.textContent = '';
  for (const top of s.windows) renderTop(top, desktop);
  if (s.popup && s.popup.kind === 'menu') renderMenu(s.popup, desktop);
  if (s.popup && s.popup.kind === 'message box') renderMessageBox(s.popup, desktop);
  if (s.charmap) renderCharacterMap(desktop);
}

// qhost's character map: the code page 1251 characters from 20 to ff; a click chooses one.
const cp1251 = new TextDecoder('windows-1251');
function renderCharacterMap(desktop) {
  const map = el('div', 'charmap', desktop);
  el('div', 'caption', map).textContent = 'Character map';
  const grid = el('div', 'grid', map);
  for (let code = 0x20; code < 0x100; ++code) {
    const cell = el('div', 'cell', grid);
    const hex = code.toString(16);
    cell.textContent = code === 0x7f || code === 0x98 ? '' : cp1251.decode(new Uint8Array([code]));
    cell.title = hex;
    cell.dataset.code = hex;
    cell.addEventListener('mousedown', (ev) => ev.preventDefault());
    cell.addEventListener('click', () => send('charmap', hex));
  }
}

function renderTop(node, desktop) {
  const origin = { x: 0, y: 0 };
  if (node.class === 'tooltips_class32') {
    const tip = el('div', 'tip', desktop);
    tip.textContent = node.text || '';
    place(tip, node.outer, origin);
    tip.style.width = tip.style.height = '';
    return;
  }
  const win = el('div', 'win top', desktop);
  win.dataset.class = node.class;
  place(win, node.outer, origin);
  const frame = { x: node.outer.x + 3, y: node.outer.y + 3 };
  if ((node.style & WS.CAPTION) === WS.CAPTION) {
    const caption = el('div', 'caption', win);
    caption.style.height = node.client.y - frame.y - 1 + 'px';
    el('span', '', caption).textContent = node.text || '';
    const close = el('button', 'close', caption);
    close.textContent = '\u2715';
    close.title = 'Close';
    close.addEventListener('click', () => send('close'));
  }
  const client = el('div', 'client', win);
  place(client, node.client, frame);
  renderChildren(node, client);
  // A sizing frame, or a window that can be maximized (its own hit test offers the frame): a grip.
  if (node.style & (WS.THICKFRAME | WS.MAXIMIZEBOX)) renderGrip(node, win);
  renderTips(node, win, frame);
}

function renderChildren(parent, holder) {
  for (const child of parent.children || []) renderControl(child, parent, holder);
}

function renderControl(node, parent, holder) {
  const e = el('div', 'win', holder);
  e.dataset.id = node.id;
  if (node.name) e.dataset.name = node.name;
  place(e, node.outer, parent.client);
  const disabled = has(node, 'disabled');
  if (disabled) e.classList.add('disabled');
  if (node.focus) e.classList.add('focus');
  const draw = CONTROLS[node.class.toUpperCase()] || CONTROLS.STATIC;
  draw(node, e);
  if (node.children && node.children.length) renderChildren(node, e);
  if (!e.dataset.mouse) {
    e.addEventListener('mousedown', (ev) => { if (ev.button === 0) ev.preventDefault(); });
    e.addEventListener('click', (ev) => { ev.stopPropagation(); send('click', target(node), ...clientPoint(ev, node)); });
    e.addEventListener('dblclick', (ev) => { ev.stopPropagation(); send('dblclick', target(node), ...clientPoint(ev, node)); });
    e.addEventListener('contextmenu', (ev) => { ev.preventDefault(); ev.stopPropagation(); send('rclick', target(node), ...clientPoint(ev, node)); });
  }
  e.addEventListener('mouseenter', () => hover(node));
}

// A tooltip shows when the mouse rests on a control: the host hears of it once per control.
let hovered = null;
function hover(node) {
  if (hovered === node.id || !state || state.wait.kind !== 'dialog') return;
  hovered = node.id;
  send('hover', target(node));
}

function image(node, e) {
  if (!node.image || node.image.kind !== 'bitmap') return false;
  const img = el('img', '', e);
  img.src = '/bitmap/' + encodeURIComponent(node.image.name) + '.bmp';
  img.alt = node.name || String(node.id);
  img.draggable = false;
  return true;
}

const CONTROLS = {
  BUTTON(node, e) {
    const type = node.style & BS.TYPEMASK;
    const pushlike = (node.style & BS.PUSHLIKE) !== 0;
    if (type === 7) {
      e.classList.add('group');
      el('legend', '', e).textContent = label(node.text);
      return;
    }
    const check = [2, 3, 4, 5, 6, 9].includes(type);
    if (!check || pushlike) {
      e.classList.add('push');
      if (has(node, 'checked') || has(node, 'pushed')) e.classList.add('down');
      if (!image(node, e)) el('span', '', e).textContent = label(node.text);
      return;
    }
    e.classList.add('check');
    if (type === 4 || type === 9) e.classList.add('radio');
    const box = el('div', 'box', e);
    box.textContent = has(node, 'checked') ? (type === 4 || type === 9 ? '\u25cf' : '\u2713') : has(node, 'indeterminate') ? '\u25a0' : '';
    el('span', '', e).textContent = label(node.text);
  },
  STATIC(node, e) {
    e.classList.add('static');
    const type = node.style & 0x1f;
    if (type === 0x0e || type === 0x03) {
      image(node, e);
      return;
    }
    if (node.style & 0x1000) e.classList.add('sunken');  // SS_SUNKEN
    if (type === 1) e.style.textAlign = 'center';
    if (type === 2) e.style.textAlign = 'right';
    e.textContent = label(node.text);
  },
  EDIT(node, e) {
    e.classList.add('field');
    e.textContent = node.text || '';
  },
  COMBOBOX(node, e) {
    e.classList.add('field', 'combo');
    e.dataset.mouse = 'own';
    const rect = node.outer;
    const shown = el('span', '', e);
    shown.textContent = node.text || '';
    el('div', 'arrow', e).textContent = '\u25bc';
    e.style.height = Math.min(rect.h, 21) + 'px';
    e.addEventListener('mousedown', (ev) => { ev.preventDefault(); });
    e.addEventListener('click', (ev) => { ev.stopPropagation(); send('click', target(node)); });
    if (has(node, 'dropped')) {
      const list = el('div', 'list', $('desktop'));
      list.style.left = rect.x + 'px';
      list.style.top = rect.y + Math.min(rect.h, 21) + 'px';
      list.style.width = rect.w + 'px';
      const selected = parseInt(node.sel, 10);
      (node.items || []).forEach((text, i) => {
        const item = el('div', i === selected ? 'selected' : '', list);
        item.textContent = text;
        item.addEventListener('mousedown', (ev) => ev.preventDefault());
        item.addEventListener('click', (ev) => { ev.stopPropagation(); send('choose', target(node), '#' + i); });
      });
      requestAnimationFrame(() => { const s = list.querySelector('.selected'); if (s) list.scrollTop = s.offsetTop - list.clientHeight / 2; });
    }
  },
  RICHEDIT(node, e) {
    e.classList.add('richedit');
    if (node.background) e.style.background = node.background;
    e.dataset.mouse = 'own';
    renderRichEdit(node, e);
  },
};
CONTROLS.RICHEDIT20A = CONTROLS.RICHEDIT;

// ---- The rich edit: runs in their fonts, the selection and the caret ----

function runStyle(span, format) {
  if (format.face) span.style.fontFamily = `"${format.face}", sans-serif`;
  if (format.size) span.style.fontSize = format.size / 15 + 'px';  // twips to pixels at 96 dpi
  if (format.color && format.color !== 'auto') span.style.color = format.color;
  if (format.bold) span.style.fontWeight = 'bold';
  if (format.italic) span.style.fontStyle = 'italic';
  const lines = [format.underline && 'underline', format.strike && 'line-through'].filter(Boolean);
  if (lines.length) span.style.textDecoration = lines.join(' ');
  if (format.offset) span.style.verticalAlign = format.offset / 15 + 'px';
}

function renderRichEdit(node, e) {
  const doc = node.richedit || { paragraphs: [] };
  const [selFrom, selTo] = doc.selection || [0, 0];
  const caretShown = node.focus && selFrom === selTo;
  let at = 0;
  for (const para of doc.paragraphs) {
    const p = el('p', '', e);
    p.style.textAlign = para.align === 'center' ? 'center' : para.align === 'right' ? 'right' : 'left';
    const addCaret = () => { const c = el('span', 'caret', p); c.dataset.at = at; };
    for (const run of para.runs) {
      // Cut the run where the selection starts and ends.
      const cuts = [0, run.text.length];
      for (const edge of [selFrom - at, selTo - at]) if (edge > 0 && edge < run.text.length) cuts.push(edge);
      cuts.sort((a, b) => a - b);
      for (let i = 0; i + 1 < cuts.length; ++i) {
        if (cuts[i] === cuts[i + 1]) continue;
        if (caretShown && at + cuts[i] === selFrom) addCaret();
        const span = el('span', '', p);
        span.textContent = run.text.slice(cuts[i], cuts[i + 1]);
        span.dataset.at = at + cuts[i];
        runStyle(span, run);
        if (at + cuts[i] >= selFrom && at + cuts[i + 1] <= selTo && selFrom !== selTo) span.classList.add('sel');
      }
      at += run.text.length;
    }
    if (caretShown && at === selFrom) addCaret();
    if (!para.runs.length && para.mark) runStyle(p, para.mark);
    p.dataset.end = at;
    at += 2;  // the paragraph mark, CR LF
  }
  // The control is drawn anew when the host's state changes, even during a drag: ask the one shown now.
  const positionAt = (ev) => richEditPosition(document.querySelector(`.richedit[data-id="${node.id}"]`) || e, ev);
  let anchor = null;
  e.addEventListener('mousedown', (ev) => {
    ev.preventDefault();
    ev.stopPropagation();
    if (ev.button !== 0) return;
    const at = positionAt(ev);
    anchor = ev.shiftKey ? selFrom : at;
    if (!node.focus) send('focus', target(node));
    send('select', target(node), anchor, at);
    const up = (upEv) => {
      window.removeEventListener('mouseup', up);
      const to = positionAt(upEv);
      if (to !== at) send('select', target(node), anchor, to);
    };
    window.addEventListener('mouseup', up);
  });
  e.addEventListener('dblclick', (ev) => {
    ev.preventDefault();
    ev.stopPropagation();
    const at = positionAt(ev);
    const text = plainText(doc);
    let from = at, to = at;
    while (from > 0 && /[\p{L}\p{N}_]/u.test(text[from - 1])) --from;
    while (to < text.length && /[\p{L}\p{N}_]/u.test(text[to])) ++to;
    send('select', target(node), from, to);
  });
  e.addEventListener('contextmenu', (ev) => {
    ev.preventDefault();
    ev.stopPropagation();
    send('rclick', target(node), ...clientPoint(ev, node));
  });
}

function plainText(doc) { return doc.paragraphs.map((p) => p.runs.map((r) => r.text).join('')).join('\r\n'); }

// The character position under the mouse, from the browser's own layout of the runs.
function richEditPosition(holder, ev) {
  const range = document.caretRangeFromPoint ? document.caretRangeFromPoint(ev.clientX, ev.clientY) : null;
  if (range && holder.contains(range.startContainer)) {
    const node = range.startContainer;
    const span = node.nodeType === Node.TEXT_NODE ? node.parentElement : node;
    if (span.dataset && span.dataset.at !== undefined && node.nodeType === Node.TEXT_NODE)
      return parseInt(span.dataset.at, 10) + range.startOffset;
    if (span.tagName === 'P') {
      const child = span.childNodes[range.startOffset];
      if (child && child.dataset && child.dataset.at !== undefined) return parseInt(child.dataset.at, 10);
      return parseInt(span.dataset.end, 10);
    }
  }
  // Below the last line: the end of the text.
  const last = holder.querySelector('p:last-of-type');
  return last ? parseInt(last.dataset.end, 10) : 0;
}

// ---- Resizing, tips, menus and message boxes ----

function renderGrip(node, win) {
  const grip = el('div', 'grip', win);
  grip.addEventListener('mousedown', (down) => {
    down.preventDefault();
    down.stopPropagation();
    const start = { x: down.clientX, y: down.clientY };
    const move = (ev) => {
      win.style.width = node.outer.w + ev.clientX - start.x + 'px';
      win.style.height = node.outer.h + ev.clientY - start.y + 'px';
    };
    const up = (ev) => {
      window.removeEventListener('mousemove', move);
      window.removeEventListener('mouseup', up);
      send('resize', Math.round(node.outer.w + ev.clientX - start.x), Math.round(node.outer.h + ev.clientY - start.y));
    };
    window.addEventListener('mousemove', move);
    window.addEventListener('mouseup', up);
  });
}

// The tip a tooltip control shows now, under the control it belongs to.
function renderTips(top, win, frame) {
  const showing = state.tips && state.tips.showing;
  if (!showing) return;
  const find = (n) => { for (const c of n.children || []) { if (String(c.id) === showing) return c; const f = find(c); if (f) return f; } return null; };
  const owner = find(top);
  if (!owner) return;
  const tip = el('div', 'tip', win);
  tip.textContent = state.tips.texts[showing] || '';
  tip.dataset.for = showing;
  tip.style.left = owner.outer.x - frame.x + 8 + 'px';
  tip.style.top = owner.outer.y + owner.outer.h - frame.y + 4 + 'px';
}

function renderMenu(menu, desktop) {
  const box = el('div', 'menu', desktop);
  box.style.left = menu.x + 'px';
  box.style.top = menu.y + 'px';
  for (const item of menu.items) {
    if (item.separator) { el('div', 'separator', box); continue; }
    const row = el('div', 'item', box);
    row.style.position = 'relative';
    row.style.paddingLeft = 18 + 12 * (item.depth || 0) + 'px';
    const [text, keys] = label(item.text).split('\t');
    el('span', '', row).textContent = text;
    if (keys) el('span', 'keys', row).textContent = keys;
    if (item.grayed || item.disabled) row.classList.add('grayed');
    if (item.checked) row.classList.add('checked');
    if (item.id !== undefined && !item.grayed && !item.disabled)
      row.addEventListener('click', (ev) => { ev.stopPropagation(); send('menu', item.id); });
  }
  // A click anywhere else closes the menu without a choice, as on the host's platform.
  const away = el('div', '', desktop);
  Object.assign(away.style, { position: 'absolute', inset: '0', pointerEvents: 'auto', zIndex: 25 });
  away.addEventListener('mousedown', (ev) => { ev.preventDefault(); send('escape'); });
}

function renderMessageBox(box, desktop) {
  const holder = el('div', 'msgbox', desktop);
  const win = el('div', 'win top', holder);
  win.style.position = 'relative';
  const caption = el('div', 'caption', win);
  caption.style.height = '18px';
  caption.textContent = box.title || '';
  el('div', 'text', win).textContent = box.text || '';
  const buttons = el('div', 'buttons', win);
  const names = { ok: 'OK', cancel: 'Cancel', yes: 'Yes', no: 'No', abort: 'Abort', retry: 'Retry', ignore: 'Ignore' };
  for (const b of box.buttons || []) {
    const button = el('div', 'push', buttons);
    button.textContent = names[b] || b;
    button.dataset.answer = b;
    button.addEventListener('click', () => send('answer', b));
  }
}

// ---- The keyboard: what the focused window of a modal wait receives ----

const KEYS = {
  Enter: 'enter', Escape: 'escape', Tab: 'tab', Backspace: 'backspace', Delete: 'delete', Insert: 'insert',
  Home: 'home', End: 'end', ArrowLeft: 'left', ArrowRight: 'right', ArrowUp: 'up', ArrowDown: 'down',
  PageUp: 'pageup', PageDown: 'pagedown',
};
// While a window waits, the keyboard goes to a hidden text field: characters arrive there as text
// input (any layout, any input method) and become `type` events; other keys become `key` events.
document.addEventListener('keydown', (e) => {
  if (document.activeElement === $('command') || !state) return;
  if (!modalWait()) {
    // Typing in the drawing goes to the command line, as at the host's own.
    if (e.key.length === 1 && !e.ctrlKey && !e.altKey) $('command').focus();
    return;
  }
  if (document.activeElement !== $('keys')) $('keys').focus();
  let key = KEYS[e.key] || (/^F([1-9]|1[0-2])$/.test(e.key) ? e.key.toLowerCase() : null);
  if (!key && (e.ctrlKey || e.altKey) && /^Key[A-Z]$|^Digit[0-9]$/.test(e.code)) key = e.code.slice(-1).toLowerCase();
  if (!key) return;
  e.preventDefault();
  send('key', (e.ctrlKey ? 'ctrl+' : '') + (e.altKey ? 'alt+' : '') + (e.shiftKey ? 'shift+' : '') + key);
});
$('keys').addEventListener('input', () => {
  const text = $('keys').value;
  $('keys').value = '';
  if (text && modalWait()) send('type', text);
});
$('desktop').addEventListener('mousedown', () => $('keys').focus(), true);
function modalWait() { return state && ['dialog', 'menu', 'message box'].includes(state.wait.kind); }

poll();
