// Drives the real page for the scenario table (see page_bridge.js), in the
// engine ZORVIK_ENGINE names (engines.mjs; Chromium unless told): user input
// as trusted input (keys, clipboard pastes, mouse clicks), and the page's
// state read back. Runs in a worker thread; every request gets one answer.
import {pathToFileURL} from 'node:url';
import {workerData} from 'node:worker_threads';

import {openEngine} from './engines.mjs';

const {port, signal} = workerData;
const pageUrl = pathToFileURL(workerData.page).href;
const engineName = process.env.ZORVIK_ENGINE || 'chromium';

let engine = null;
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

// The page judges how a composition ended in a task of its own, once it can
// tell whether the focus is leaving.
async function afterEnd() {
  await page.evaluate(() => new Promise((resolve) => setTimeout(resolve)));
  return '';
}

// Chromium's DevTools session for the input method's commands, one a page.
let ime = null;
async function imeSession() {
  if (ime?.page !== page) {
    ime = {page, session: await page.context().newCDPSession(page)};
  }
  return ime.session;
}

const operations = {
  // "width x height", then " touch" for a touch screen's coarse pointer.
  async open(screen) {
    engine ??= await openEngine(engineName);
    if (page !== null) await page.close();
    const [viewport, pointer] = screen ? screen.split(' ') : [];
    const [width, height] = viewport ? viewport.split('x').map(Number) : [];
    page = await engine.newPage({
      permissions: ['clipboard-read', 'clipboard-write'],
      viewport: viewport ? {width, height} : undefined,
      touch: pointer === 'touch',
    });
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
    await engine?.close();
    engine = null;
    return '';
  },
  // "1" where the engine's driver can do `feature` (engines.mjs), else "0".
  can: (feature) => (engine.can(feature) ? '1' : '0'),

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
  // "key repeats": the key down, `repeats` more downs while it is held (the
  // keyboard's auto-repeat), then up. "1" when a report is still open once
  // the key is up (it is then dismissed), else "0".
  async hold(argument) {
    const [key, repeats] = argument.split(' ');
    for (let i = 0; i <= Number(repeats); ++i) await page.keyboard.down(key);
    await page.keyboard.up(key);
    const open = await page.evaluate(
        () => document.querySelector('dialog[open]') !== null);
    await dismissReport();
    return open ? '1' : '0';
  },
  async paste(text) {
    await page.evaluate((t) => navigator.clipboard.writeText(t), text);
    await page.keyboard.press('Control+V');
    return '';
  },
  // The input method composes `text` where the focus is: through Chromium's
  // own input-method commands, elsewhere as the composition events an input
  // method makes the engine dispatch, the box's text edited as it does.
  async compose(text) {
    if (engine.can('ime-composition')) {
      await (await imeSession()).send('Input.imeSetComposition', {
        text,
        selectionStart: text.length,
        selectionEnd: text.length
      });
      return '';
    }
    await page.evaluate((preedit) => {
      const box = document.activeElement;
      let range = box.zvComposition;
      if (!range) {
        box.dispatchEvent(new CompositionEvent('compositionstart', {data: ''}));
        range = [box.selectionStart, box.selectionEnd];
      }
      box.setRangeText(preedit, range[0], range[1], 'end');
      box.zvComposition = [range[0], range[0] + preedit.length];
      box.dispatchEvent(
          new CompositionEvent('compositionupdate', {data: preedit}));
      box.dispatchEvent(new InputEvent('input', {
        isComposing: true,
        inputType: 'insertCompositionText',
        data: preedit
      }));
    }, text);
    return '';
  },
  // It commits `text`; "" abandons the composition.
  async commit(text) {
    if (engine.can('ime-composition')) {
      const session = await imeSession();
      if (text) {
        await session.send('Input.insertText', {text});
      } else {
        await session.send(
            'Input.imeSetComposition',
            {text: '', selectionStart: 0, selectionEnd: 0});
      }
      return afterEnd();
    }
    await page.evaluate((committed) => {
      const box = document.activeElement;
      const range = box.zvComposition;
      if (!range) return;
      delete box.zvComposition;
      box.setRangeText(committed, range[0], range[1], 'end');
      box.dispatchEvent(new InputEvent('input', {
        isComposing: true,
        inputType: 'insertCompositionText',
        data: committed
      }));
      box.dispatchEvent(
          new CompositionEvent('compositionend', {data: committed}));
    }, text);
    return afterEnd();
  },
  async click(name) {
    await page.click(element(name));
    await dismissReport();
    return '';
  },
  // "from to": selects those characters of what the output box shows, as a
  // drag does; positions count the box's text, each line break one.
  async select_output(argument) {
    const [from, to] = argument.split(' ').map(Number);
    await page.evaluate(([from, to]) => {
      const box = document.getElementById('Text4');
      // The text node and the offset in it of the box's character `offset`.
      const pointAt = (offset) => {
        const walker = document.createTreeWalker(box, NodeFilter.SHOW_TEXT);
        let passed = 0;
        for (let node = walker.nextNode(); node; node = walker.nextNode()) {
          if (offset <= passed + node.length) return [node, offset - passed];
          passed += node.length;
        }
        throw new Error(`the output box has no character ${offset}`);
      };
      getSelection().setBaseAndExtent(...pointAt(from), ...pointAt(to));
    }, [from, to]);
    return '';
  },

  // Double-clicks the middle of the output box's character `at`, counted
  // as select_output counts.
  async double_click_output(at) {
    await operations.select_output(`${at} ${Number(at) + 1}`);
    const [x, y] = await page.evaluate(() => {
      const rect = getSelection().getRangeAt(0).getBoundingClientRect();
      return [rect.left + rect.width / 2, rect.top + rect.height / 2];
    });
    await page.mouse.dblclick(x, y);
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
  // WebKit reads HTML back with the computed style inlined into each element
  // it keeps; what the page wrote carries no style, so none is kept here.
  clipboard: () => page.evaluate(async () => {
    const [item] = await navigator.clipboard.read();
    const read = async (type) =>
        item.types.includes(type) ? (await item.getType(type)).text() : '';
    const html = (await read('text/html')).replace(/ style="[^"]*"/g, '');
    return `${await read('text/plain')}\x1e${html}`;
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
  // The box's frame and background colours as the engine paints them, for
  // a box's frame: "red green blue alpha" twice, 0 to 255.
  frame: (name) => page.evaluate(
      (id) => {
        const style = getComputedStyle(document.getElementById(id));
        const paint = document.createElement('canvas').getContext('2d');
        return [style.borderTopColor, style.backgroundColor]
            .map((colour) => {
              paint.clearRect(0, 0, 1, 1);
              paint.fillStyle = colour;
              paint.fillRect(0, 0, 1, 1);
              return paint.getImageData(0, 0, 1, 1).data.join(' ');
            })
            .join(' ');
      },
      name),
  // The system's colour scheme, "light" or "dark", for the page opened
  // again.
  async scheme(scheme) {
    await page.emulateMedia({colorScheme: scheme});
    await page.goto(pageUrl);
    await page.waitForFunction(() => document.activeElement?.id === 'Text3');
    return '';
  },
  overflows: () => page.evaluate(
      () => document.documentElement.scrollWidth >
              document.documentElement.clientWidth ?
          '1' :
          '0'),
  // The name the engine's accessibility tree gives the control; the
  // argument is "control\x1eexpected name" (see engines.mjs for Firefox).
  accessible_name(argument) {
    const [name, expected] = argument.split('\x1e');
    return engine.accessibleName(page, element(name), expected);
  },
  // The description, where the engine's driver gives it (Chromium).
  accessible_description: (name) =>
      engine.accessibleDescription(page, element(name)),
};

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
