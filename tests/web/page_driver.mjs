// Drives the real page in Chromium for the scenario table (see
// page_bridge.js): user input as trusted input through the DevTools protocol
// (keys, clipboard pastes, mouse clicks), and the page's state read back.
// Runs in a worker thread; every request gets one answer.
import {pathToFileURL} from 'node:url';
import {workerData} from 'node:worker_threads';

import {launch} from './browser.mjs';

const {port, signal} = workerData;
const pageUrl = pathToFileURL(workerData.page).href;

let browser = null;
let context = null;
let page = null;
let reports = [];   // "title|text" of every report dismissed
let problems = [];  // the page's errors and console errors

// The report a click may have opened is read and dismissed with Enter, as a
// user would.
async function dismissReport() {
  const report = await page.evaluate(() => {
    const dialog = document.querySelector('dialog[open]');
    return dialog &&
        `${dialog.querySelector('h1').textContent}|${
               dialog.querySelector('p').textContent}`;
  });
  if (report === null) return;
  reports.push(report);
  await page.keyboard.press('Enter');
}

const element = (name) => `#${name}`;

const operations = {
  async open(viewport) {
    if (browser === null) {
      browser = await launch();
      context = await browser.newContext();
      await context.grantPermissions(['clipboard-read', 'clipboard-write']);
    }
    if (page !== null) await page.close();
    page = await context.newPage();
    if (viewport) {
      const [width, height] = viewport.split('x').map(Number);
      await page.setViewportSize({width, height});
    }
    reports = [];
    problems = [];
    page.on('pageerror', (error) => problems.push(error.message));
    page.on('console', (message) => {
      if (message.type() === 'error') problems.push(message.text());
    });
    await page.goto(pageUrl);
    await page.waitForFunction(() => document.activeElement?.id === 'Text3');
    return '';
  },
  async quit() {
    await browser?.close();
    browser = null;
    return '';
  },

  async focus(name) {
    await page.focus(element(name));
    return '';
  },
  async type(text) {
    await page.keyboard.type(text);
    return '';
  },
  async press(key) {
    await page.keyboard.press(key);
    return '';
  },
  async paste(text) {
    await page.evaluate((t) => navigator.clipboard.writeText(t), text);
    await page.keyboard.press('Control+V');
    return '';
  },
  async click(name) {
    await page.click(element(name));
    await dismissReport();
    return '';
  },

  text: (name) => page.inputValue(element(name)),
  output: () =>
      page.evaluate(() => Module.UTF8ToString(Module._zorvik_output_text())),
  shown: (name) => page.textContent(element(name)),
  selected: (name) => page.evaluate(
      (id) => {
        const box = document.getElementById(id);
        // Only the box the user is in shows its selection.
        if (document.activeElement !== box) return '';
        return box.value.slice(box.selectionStart, box.selectionEnd);
      },
      name),
  caret: (name) => page.evaluate(
      (id) => String(document.getElementById(id).selectionEnd), name),
  focused: () => page.evaluate(() => document.activeElement?.id ?? ''),
  // The clipboard's text and HTML as another program reads them, split by
  // "\x1e"; no HTML flavour gives "".
  clipboard: () => page.evaluate(async () => {
    const [item] = await navigator.clipboard.read();
    const read = async (type) =>
        item.types.includes(type) ? (await item.getType(type)).text() : '';
    return `${await read('text/plain')}\x1e${await read('text/html')}`;
  }),
  visible: (name) =>
      page.isVisible(element(name)).then((visible) => (visible ? '1' : '0')),
  count: () => page.evaluate(() => String(Module._zorvik_compute_count())),
  reports: () => reports.join('\x1e'),

  // The control's box relative to the window's, in CSS pixels:
  // "left top width height".
  rect: (name) => page.evaluate(
      (id) => {
        const form = document.getElementById('Form1').getBoundingClientRect();
        const box = document.getElementById(id).getBoundingClientRect();
        return [
          box.left - form.left, box.top - form.top, box.width, box.height
        ].join(' ');
      },
      name),
  overflows: () => page.evaluate(
      () => document.documentElement.scrollWidth >
              document.documentElement.clientWidth ?
          '1' :
          '0'),
  // The name and the description Chromium's accessibility tree gives the
  // control.
  accessible_name: async (name) => (await axNode(name))?.name?.value ?? '',
  accessible_description: async (name) =>
      (await axNode(name))?.description?.value ?? '',
};

async function axNode(name) {
  const session = await context.newCDPSession(page);
  const {nodes} = await session.send('Accessibility.getPartialAXTree', {
    backendNodeId: await backendNodeId(session, name),
    fetchRelatives: false,
  });
  await session.detach();
  return nodes[0];
}

async function backendNodeId(session, name) {
  const {root} = await session.send('DOM.getDocument', {depth: 0});
  const {nodeId} = await session.send(
      'DOM.querySelector', {nodeId: root.nodeId, selector: element(name)});
  const {node} = await session.send('DOM.describeNode', {nodeId});
  return node.backendNodeId;
}

port.on('message', async (request) => {
  const [operation, argument] = request.split('\x1f');
  let answer;
  try {
    const result = await operations[operation](argument);
    answer = problems.length > 0 ?
        `!the page reported: ${problems.join('; ')}` :
        `+${result}`;
  } catch (error) {
    answer = `!${operation}: ${error.stack}`;
  }
  port.postMessage(answer);
  Atomics.store(signal, 0, 1);
  Atomics.notify(signal, 0);
});
