// What the web page promises beyond the window's behaviour (which the
// scenario table checks): it works opened from disk with the network off and
// asks for nothing; served from a web host it is an installable app that
// works offline and takes a new version by the second open; it keeps nothing;
// its report is a modal dialog; text still being composed by an input method
// is judged once committed; drops replace; Tab leaves the page; the output
// box copies as shown; its status says what the list holds, only when that
// changed; on every touch screen, and on a narrow one of any kind, its text
// and targets have a finger's sizes, and its text grows with every zoom; it
// prints the whole list and no empty page, from any width; it follows the
// system's dark mode. The same tests in each
// engine of engines.mjs, the one ZORVIK_ENGINE names (Chromium unless told);
// a step that needs what the engine's driver lacks is skipped there alone.
//   ZORVIK_SITE=build/web/site [ZORVIK_ENGINE=firefox] \
//       node --test tests/web/page_test.mjs
import assert from 'node:assert/strict';
import {execFile} from 'node:child_process';
import {cp, mkdtemp, readFile, rm, writeFile} from 'node:fs/promises';
import {createRequire} from 'node:module';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {after, before, test} from 'node:test';
import {pathToFileURL} from 'node:url';

import {serve} from '../../web/serve.mjs';

import {openEngine} from './engines.mjs';

const site = process.env.ZORVIK_SITE;

// Runs a program with `input` on its standard input; its output as text, or
// as bytes for the encoding 'buffer'.
function run(program, args, input, encoding = 'utf8') {
  return new Promise((resolve, reject) => {
    const child = execFile(program, args, {encoding}, (error, stdout) => {
      if (error)
        reject(error);
      else
        resolve({stdout});
    });
    child.stdin.end(input);
  });
}
const fileUrl = pathToFileURL(join(site, 'index.html')).href;

// axe-core's audit, sent as a function's text (the page's policy refuses added
// scripts). WebKitGTK's style gives GTK's dark grey buttons a light colour.
const axeSource = await readFile(
    createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
function audit(page, dark = false) {
  const run = () => {};
  run.toString = () => `async (off) => { ${axeSource};
    const {violations} = await axe.run(document, {rules: off ? {'color-contrast': {enabled: false}} : {}});
    return violations.map(({id, nodes}) => id + ' ' + nodes.map((n) => n.target));}`;
  return page.evaluate(run, dark && engine.name === 'webkit');
}

let engine;
before(async () => {
  engine = await openEngine(process.env.ZORVIK_ENGINE || 'chromium');
});
after(() => engine.close());

// True, with the test marked skipped, where the engine's driver lacks
// `feature` (engines.mjs lists what each lacks).
function lacks(t, feature) {
  if (engine.can(feature)) return false;
  t.skip(`${engine.name} lacks ${feature}`);
  return true;
}

// Stops a server started by a test, whether the test passed or not, so that
// nothing keeps the test's process alive.
function stop(server) {
  server.closeAllConnections();
  server.close();
}

// A fresh profile with a page that records what it asks for and every error.
// `viewport` and `touch` (a coarse pointer) as engines.mjs takes them.
async function openPage({offline = false, permissions = [], ...screen} = {}) {
  const page = await engine.newPage({offline, permissions, ...screen});
  return {page, log: watch(page)};
}

// What the page asks for (but data: addresses, which ask no one), and every
// error it reports, where the engine's driver tells them.
function watch(page) {
  const log = {requests: [], errors: []};
  page.on('request', (request) => {
    if (!request.url().startsWith('data:')) log.requests.push(request.url());
  });
  page.on('pageerror', (error) => log.errors.push(error.message));
  page.on('console', (message) => {
    if (message.type() === 'error') log.errors.push(message.text());
  });
  return log;
}

async function ready(page) {
  await page.waitForFunction(() => document.activeElement?.id === 'Text3');
}

// A fresh page opened from disk, its window ready.
async function openWindow(options) {
  const opened = await openPage(options);
  await opened.page.goto(fileUrl);
  await ready(opened.page);
  return opened;
}

async function typeInto(page, id, text) {
  await page.click(`#${id}`);
  await page.keyboard.press('Control+A');
  await page.keyboard.type(text);
}

async function compute(page, rent, years, percent) {
  await typeInto(page, 'Text1', rent);
  await typeInto(page, 'Text2', years);
  await typeInto(page, 'Text3', percent);
  await page.click('#Command1');
}

const worked =
    '第 1 年租金：  1000\n\n第 2 年租金：  1050\n\n第 3 年租金：  1102.5\n\n';

test(
    'opened from disk with the network off, it works and asks for nothing',
    async () => {
      const {page, log} = await openPage({offline: true});
      await page.goto(fileUrl);
      await ready(page);
      await compute(page, '1000', '3', '5');
      assert.equal(await page.textContent('#Text4'), worked);
      // What a screen reader is told, politely, after the computation.
      assert.equal(await page.getAttribute('#Status', 'role'), 'status');
      assert.equal(await page.textContent('#Status'), '已列出 3 年');
      // Not every engine reports the page's own file as a request.
      assert.deepEqual(log.requests.filter((url) => url !== fileUrl), []);
      assert.deepEqual(log.errors, []);
      // No manifest or worker from a file: there is nothing to install.
      assert.equal(await page.$('link[rel=manifest]'), null);
      await page.close();
    });

test(
    'where a browser compiles only in the background, it still comes up',
    async (t) => {
      if (lacks(t, 'init-script')) return;
      const {page, log} = await openPage();
      // Chrome before 115 refuses to compile a module over 4 KB at once.
      await page.addInitScript(() => {
        WebAssembly.Module = function() {
          throw new RangeError('WebAssembly.Compile is disallowed');
        };
      });
      await page.goto(fileUrl);
      await ready(page);
      await compute(page, '1000', '3', '5');
      assert.equal(await page.textContent('#Text4'), worked);
      assert.deepEqual(log.errors, []);
      await page.close();
    });

test(
    'a browser that cannot run the module says so in the window', async (t) => {
      if (lacks(t, 'init-script')) return;
      const {page} = await openPage();
      // As one without WebAssembly exceptions does.
      await page.addInitScript(() => {
        WebAssembly.Module = function() {
          throw new WebAssembly.CompileError('invalid opcode 0x6');
        };
      });
      await page.goto(fileUrl);
      assert.match(await page.textContent('#Form1'), /无法运行 Zorvik/);
      await page.close();
    });

test('it keeps nothing of what the user typed', async () => {
  const {page} = await openPage();
  await page.goto(fileUrl);
  await ready(page);
  await compute(page, '1000', '3', '5');
  const kept =
      await page.evaluate(async () => ({
                            cookies: document.cookie,
                            local: localStorage.length,
                            session: sessionStorage.length,
                            databases: (await indexedDB.databases()).length,
                          }));
  assert.deepEqual(kept, {cookies: '', local: 0, session: 0, databases: 0});
  await page.close();
});

test('its policy allows only its own script, style and module', async () => {
  const html = await readFile(join(site, 'index.html'), 'utf8');
  const policy =
      html.match(/http-equiv="Content-Security-Policy" content="([^"]*)"/)[1];
  assert.match(policy, /default-src 'self'/);
  assert.match(policy, /script-src 'sha256-[^']+' 'wasm-unsafe-eval'/);
  assert.doesNotMatch(policy, /unsafe-inline|'unsafe-eval'/);
  // A page whose script was changed after the build runs nothing.
  const folder = await mkdtemp(join(tmpdir(), 'zorvik-changed-'));
  const changed = join(folder, 'index.html');
  await writeFile(changed, html.replace('var Module', 'var  Module'));
  const {page, log} = await openPage();
  await page.goto(pathToFileURL(changed).href);
  assert.equal(await page.$('#Text1'), null);
  if (engine.can('page-events')) {
    assert.ok(
        log.errors.some((error) => /Content.Security.Policy/i.test(error)),
        log.errors);
  }
  await page.close();
  await rm(folder, {recursive: true});
});

test(
    'served from a web host, it installs and then works offline', async (t) => {
      const server = await serve(site);
      t.after(() => stop(server));
      const origin = `http://127.0.0.1:${server.address().port}`;
      const page = await engine.newProfilePage();
      const log = watch(page);
      await page.goto(`${origin}/`);
      await ready(page);
      await page.evaluate(() => navigator.serviceWorker.ready);

      const manifest = await page.evaluate(async () => {
        const link = document.querySelector('link[rel=manifest]');
        return (await fetch(link.href)).json();
      });
      assert.equal(manifest.name, 'Zorvik 租金递增计算器');
      assert.equal(manifest.short_name, 'Zorvik');
      assert.equal(manifest.lang, 'zh-CN');
      assert.equal(manifest.display, 'standalone');
      assert.deepEqual(
          manifest.icons.map((icon) => [icon.sizes, icon.purpose ?? 'any']), [
            ['any', 'any'], ['192x192', 'any'], ['512x512', 'any'],
            ['512x512', 'maskable']
          ]);
      assert.equal(await page.evaluate(() => document.title), manifest.name);
      if (engine.can('installability')) {
        const session = await page.context().newCDPSession(page);
        const {installabilityErrors} =
            await session.send('Page.getInstallabilityErrors');
        assert.deepEqual(installabilityErrors, []);
        const {url: manifestUrl, errors: manifestErrors} =
            await session.send('Page.getAppManifest');
        assert.equal(manifestUrl, `${origin}/manifest.webmanifest`);
        assert.deepEqual(manifestErrors, []);
      }

      // Every file it names is there, the iPhone's icon too, and kept offline.
      const caches = await page.evaluate(async () => {
        const names = await caches.keys();
        const cache = await caches.open(names[0]);
        const files = (await cache.keys()).map((r) => new URL(r.url).pathname);
        const iconLink = document.querySelector('link[rel=apple-touch-icon]');
        return {
          names,
          files: files.sort(),
          icon: new URL(iconLink.href).pathname
        };
      });
      assert.equal(caches.names.length, 1);
      assert.match(caches.names[0], /^zorvik http:\S+\/ 1\.0\.0-[0-9a-f]{12}$/);
      assert.deepEqual(caches.files, [
        '/', '/apple-touch-icon.png', '/icon-192.png', '/icon-512.png',
        '/icon-maskable-512.png', '/icon.svg', '/index.html',
        '/manifest.webmanifest'
      ]);
      assert.ok(caches.files.includes(caches.icon));

      // The host goes away and the network with it: the page still comes up.
      await new Promise((resolve) => server.close(resolve));
      if (engine.can('offline')) await page.context().setOffline(true);
      await page.reload();
      await ready(page);
      await compute(page, '1000', '3', '5');
      assert.equal(await page.textContent('#Text4'), worked);
      assert.ok(
          log.requests.every((url) => url.startsWith(origin)), log.requests);
      assert.deepEqual(log.errors, []);
      await page.close();
    });

test(
    'a new version reaches the second open, each copy keeping its own',
    async (t) => {
      if (lacks(t, 'worker-update')) return;
      // Two copies of the page under two paths of one origin, on a host that
      // lets browsers keep what it serves for ten minutes.
      const root = await mkdtemp(join(tmpdir(), 'zorvik-host-'));
      for (const copy of ['a', 'b']) {
        await cp(site, join(root, copy), {recursive: true});
      }
      const server = await serve(root, 0, 'max-age=600');
      t.after(() => stop(server));
      const origin = `http://127.0.0.1:${server.address().port}`;
      const page = await engine.newProfilePage();
      const log = watch(page);
      const open = async (copy) => {
        await page.goto(`${origin}/${copy}/`);
        await ready(page);
        await page.evaluate(() => navigator.serviceWorker.ready);
      };
      const cacheNames = () => page.evaluate(() => caches.keys());
      await open('a');
      await open('b');
      const [cacheA, cacheB] = (await cacheNames()).sort();
      assert.match(cacheA, /\/a\/ /);
      assert.match(cacheB, /\/b\/ /);

      // Copy a is deployed again: a changed page, and the worker that the
      // build makes with it.
      const deploy = join(root, 'a');
      const html = await readFile(join(deploy, 'index.html'), 'utf8');
      await writeFile(
          join(deploy, 'index.html'),
          html.replace('<body>', '<body data-deployed="again">'));
      const worker = await readFile(join(deploy, 'sw.js'), 'utf8');
      await writeFile(
          join(deploy, 'sw.js'),
          worker.replace(/1\.0\.0-[0-9a-f]{12}/, '1.0.1-000000000000'));

      // The first open after it still runs the page it had, and is not
      // reloaded while the new version installs and takes over.
      await open('a');
      await page.evaluate(() => window.inUse = true);
      await page.evaluate(async (old) => {
        while ((await caches.keys()).includes(old)) {
          await new Promise((resolve) => setTimeout(resolve, 50));
        }
      }, cacheA);
      assert.equal(await page.evaluate(() => window.inUse), true);
      // The second open runs the new one, served from the cache.
      await open('a');
      assert.equal(
          await page.evaluate(() => document.body.dataset.deployed), 'again');
      // Copy b's offline copy stayed as it was.
      assert.ok((await cacheNames()).includes(cacheB));
      assert.deepEqual(log.errors, []);
      await page.close();
      await rm(root, {recursive: true});
    });

test(
    'the status says what the list holds, and only when it changed',
    async () => {
      const {page} = await openWindow();
      // Each text the status region is given, as a screen reader hears it.
      await page.evaluate(() => {
        window.said = [];
        const status = document.getElementById('Status');
        new MutationObserver(() => said.push(status.textContent))
            .observe(status, {childList: true, characterData: true});
      });
      const said = () => page.evaluate(() => said);
      // The region as a screen reader finds it: in the accessibility tree
      // (Chromium's) and neither inert nor hidden behind a modal dialog, which
      // would take it out of the tree and, once the dialog closed, back in,
      // read out again as news.
      const heard = async () => {
        const inDom = await page.evaluate(
            () => Status.closest('[inert], [aria-hidden=true]') === null &&
                document.querySelector(':modal') === null);
        if (!engine.can('ax-tree')) return inDom;
        const node = await engine.axNode(page, '#Status');
        return inDom && !node.ignored && node.role?.value === 'status';
      };
      await compute(page, '1000', '3', '5');
      assert.deepEqual(await audit(page), []);
      await page.click('#Command1');  // the same list again
      assert.deepEqual(await said(), ['已列出 3 年']);
      // A refused computation leaves the list, and the status, as they were:
      // neither the report nor its closing touches the region.
      await typeInto(page, 'Text2', '200');
      await typeInto(page, 'Text3', '32767');
      await page.click('#Command1');
      await page.waitForSelector('dialog');
      assert.ok(await heard(), 'while the report shows');
      await page.keyboard.press('Escape');
      await page.waitForSelector('dialog', {state: 'detached'});
      assert.ok(await heard(), 'after the report closed');
      assert.deepEqual(await said(), ['已列出 3 年']);
      await typeInto(page, 'Text2', '3');
      await typeInto(page, 'Text3', '10');
      await page.click('#Command1');
      assert.deepEqual(await said(), ['已列出 3 年', '已列出 3 年']);
      await page.click('#Command2');
      await page.click('#Command2');  // nothing left to clear
      assert.deepEqual(await said(), ['已列出 3 年', '已列出 3 年', '已清除']);
      assert.equal(await page.textContent('#Status'), '已清除');
      await page.close();
    });

test(
    'the error report is modal, keyboard too, and only a fresh key answers',
    async () => {
      const {page} = await openPage();
      await page.goto(fileUrl);
      await ready(page);
      const focused = () => page.evaluate(
          () =>
              document.activeElement.id || document.activeElement.textContent);
      for (const key of ['Enter', 'Escape', 'Space']) {
        await compute(page, '1000', '200', '32767');
        // Modal: the window and the heading behind it are inert.
        assert.deepEqual(
            await page.evaluate(
                () =>
                    [document.querySelector('dialog').ariaModal, Form1.inert,
                     Caption.parentElement.inert]),
            ['true', true, true]);
        assert.equal(await page.textContent('dialog h1'), 'Zorvik');
        assert.equal(await page.getAttribute('dialog', 'role'), 'alertdialog');
        // The window behind it takes no clicks, nor Tab the focus from it.
        await page.mouse.click(250, 60);
        assert.equal(await page.inputValue('#Text1'), '1000');
        await page.keyboard.press('Tab');
        await page.keyboard.press('Shift+Tab');
        assert.equal(await focused(), '确定');
        await page.keyboard.press(key);
        await page.waitForSelector('dialog', {state: 'detached'});
        assert.equal(await focused(), 'Command1', key);
      }
      // A held Enter's repeats and release leave the report it opened.
      for (let i = 0; i < 3; ++i) await page.keyboard.down('Enter');
      await page.keyboard.up('Enter');
      assert.ok(await page.isVisible('dialog'));
      await page.close();
    });

test(
    'text an input method is composing is judged once committed', async (t) => {
      if (lacks(t, 'ime-composition')) return;
      const {page} = await openPage();
      await page.goto(fileUrl);
      await ready(page);
      const session = await page.context().newCDPSession(page);
      const compose = (text) => session.send(
          'Input.imeSetComposition',
          {text, selectionStart: text.length, selectionEnd: text.length});
      const commit = (text) => session.send('Input.insertText', {text});

      // Full-width digits on their way: "１ｘ" would not convert, but it is
      // still being composed.
      await compose('１ｘ');
      assert.equal(await page.inputValue('#Text3'), '１ｘ');
      await commit('１２');
      assert.equal(await page.inputValue('#Text3'), '１２');

      await page.keyboard.press('Control+A');
      await compose('ｘ');
      assert.equal(await page.inputValue('#Text3'), 'ｘ');
      await commit('ｘ');
      assert.equal(await page.inputValue('#Text3'), '0');
      await page.close();
    });

test(
    'a paste of several lines keeps the first, as a Windows box does',
    async () => {
      const {page} =
          await openPage({permissions: ['clipboard-read', 'clipboard-write']});
      await page.goto(fileUrl);
      await ready(page);
      const paste = async (text) => {
        await page.evaluate((t) => navigator.clipboard.writeText(t), text);
        await page.keyboard.press('Control+A');
        await page.keyboard.press('Control+V');
        return page.inputValue('#Text3');
      };
      // Two spreadsheet cells are not the number 10002000.
      assert.equal(await paste('1000\n2000'), '1000');
      assert.equal(await paste('12\r\n34\r\n'), '12');
      assert.equal(await paste('x\n5'), '0');
      // One cell, with or without its line break, as pasted.
      assert.equal(await paste('7\r\n'), '7');
      assert.equal(await paste('8'), '8');
      await page.close();
    });

test('a text dropped on a box replaces its whole text', async () => {
  const {page} = await openWindow();
  // A synthetic drop: its data is what counts here, not where it lands.
  const drop = (id, text) => page.evaluate(([id, text]) => {
    const box = document.getElementById(id);
    const transfer = new DataTransfer();
    transfer.setData('text/plain', text);
    box.dispatchEvent(new DragEvent(
        'drop', {dataTransfer: transfer, bubbles: true, cancelable: true}));
    return box.value;
  }, [id, text]);
  await typeInto(page, 'Text1', '1000');
  assert.equal(await drop('Text1', '3000'), '3000');
  // Spreadsheet cells: the first line alone, never the lines joined.
  assert.equal(await drop('Text2', '30\r\n'), '30');
  assert.equal(await drop('Text1', '2000\n3000'), '2000');
  // The guard judges the result.
  assert.equal(await drop('Text1', 'x'), '0');
  await page.close();
});

test(
    'Tab leaves the page after the last control and before the first',
    async () => {
      const {page} = await openWindow();
      // Whether the page kept a Tab to itself, and where the focus went.
      // Past the window's last control the key is the browser's, which
      // moves the focus to its own bar (a headless one may hand it
      // straight back to the page's first control).
      await page.evaluate(() => {
        window.moves = [];
        addEventListener('keydown', (event) => {
          if (event.key === 'Tab' && event.defaultPrevented) moves.push('kept');
        });
        addEventListener('focusin', (event) => moves.push(event.target.id));
      });
      const move = async (key) => {
        await page.evaluate(() => moves.length = 0);
        await page.keyboard.press(key);
        return page.evaluate(() => moves);
      };
      assert.ok(!(await move('Shift+Tab')).includes('kept'));
      await page.focus('#Command2');
      assert.ok(!(await move('Tab')).includes('kept'));
      // Within the window, the table's order.
      await page.focus('#Text3');
      assert.deepEqual(await move('Tab'), ['Text4']);
      await page.focus('#Text4');
      assert.deepEqual(await move('Tab'), ['Text1']);
      await page.close();
    });

test('select-all in the output box copies the schedule as shown', async () => {
  const {page} =
      await openPage({permissions: ['clipboard-read', 'clipboard-write']});
  await page.goto(fileUrl);
  await ready(page);
  // Long enough to span many blocks, most of them never laid out.
  await compute(page, '1000', '2000', '5');
  const shown = await page.textContent('#Text4');
  await page.focus('#Text4');
  await page.keyboard.press('Control+A');
  await page.keyboard.press('Control+C');
  const copied = await page.evaluate(() => navigator.clipboard.readText());
  assert.equal(copied.length, shown.length);
  assert.ok(copied === shown);
  assert.ok(
      copied.startsWith('第 1 年租金：  1000\n\n第 2 年租金：  1050\n\n'));
  await page.close();
});

test(
    'on a phone: zoom stays free and the keyboards fit the boxes', async () => {
      const {page} = await openPage();
      await page.goto(fileUrl);
      await ready(page);
      assert.equal(
          await page.getAttribute('meta[name=viewport]', 'content'),
          'width=device-width, initial-scale=1, ' +
              'interactive-widget=resizes-content');
      const boxes =
          await page.evaluate(() => ['Text1', 'Text2', 'Text3'].map((id) => {
            const box = document.getElementById(id);
            return [box.inputMode, box.autocomplete, box.spellcheck];
          }));
      assert.deepEqual(await audit(page), []);
      assert.deepEqual(boxes, [
        ['decimal', 'off', false],
        ['numeric', 'off', false],
        ['text', 'off', false],
      ]);
      await page.close();
    });

// Screens a finger uses, each reporting a coarse pointer: phones upright
// (where the window does not fit, whatever the pointer, and the phone form
// takes its place), phones held sideways and tablets (where the window
// does, larger); and the least share of the screen's height the list shows.
const touchScreens = [
  {width: 360, height: 640, list: 0.5},
  {width: 320, height: 640, list: 0.5},
  {width: 740, height: 360, list: 0.35},
  {width: 844, height: 390, list: 0.35},
  {width: 1024, height: 768, list: 0.25},
  {width: 768, height: 1024, list: 0.25},
];

test('on every touch screen its text and targets fit a finger', async () => {
  for (const screen of touchScreens) {
    const {width, height} = screen;
    const where = `${width} x ${height}`;
    const {page} = await openPage({viewport: {width, height}, touch: true});
    await page.goto(fileUrl);
    await ready(page);
    // The report's button is a target too.
    await compute(page, '1000', '200', '32767');
    await page.waitForSelector('dialog');
    const sizes = await page.evaluate(() => {
      const sizeOf = (element) => {
        const {width, height} = element.getBoundingClientRect();
        const style = getComputedStyle(element);
        return {
          name: element.id || element.localName,
          width,
          height,
          font: parseFloat(style.fontSize),
          scaled: style.transform !== 'none' ||
              !['1', 'normal', undefined].includes(style.zoom),
        };
      };
      const all =
          (selector) => [...document.querySelectorAll(selector)].map(sizeOf);
      return {
        targets: all('#Form1 > input, #Form1 > button, dialog button'),
        texts: all('#Form1 > :is(label, span):not([hidden]), #Text4, dialog p'),
        scaled: all('html, body, #Form1, #Form1 > *, dialog')
                    .filter((size) => size.scaled)
                    .map((size) => size.name),
        list: sizeOf(document.getElementById('Text4')),
        sideways: document.documentElement.scrollWidth > innerWidth,
      };
    });
    for (const target of sizes.targets) {
      assert.ok(
          target.width >= 44 && target.height >= 44,
          `${where}: ${JSON.stringify(target)}`);
    }
    for (const text of [...sizes.targets, ...sizes.texts]) {
      assert.ok(text.font >= 16, `${where}: ${JSON.stringify(text)}`);
    }
    assert.deepEqual(sizes.scaled, [], where);
    assert.ok(
        sizes.list.height >= screen.list * height,
        `${where}: the list is ${sizes.list.height} high`);
    assert.equal(sizes.sideways, false, where);
    assert.deepEqual(await audit(page), [], where);
    await page.close();
  }
});

// Text sizes through the CSS object model, narrow touch screens, the
// narrowest phones, and phones with a keyboard over 45 % of them (a box
// has the focus and the screen shrinks); then a reader's own settings in the
// browser (engines.mjs), on a desktop, the narrowest phone and a short one.
const readerScreens = [
  ...[16, 24, 32].map((px) => [1280, 720, `:root{font-size:${px}px}`]),
  [1280, 720, '#Form1{font-size:24px}'],
  [466, 360, '', 1],
  [537, 360, '', 1],
  [280, 640],
  [320, 640],
  [568, 176, '', 1, 1],
  [480, 176, '', 1, 1],
  [640, 198, '', 1, 1],
  [360, 352, '', 1, 1],
  [320, 312, '', 1, 1],
  [1280, 720, '', 0, 0, {minimum: 32}],
  [280, 640, '', 0, 0, {minimum: 32}],
  [320, 568, '', 0, 0, {minimum: 32}],
  [1280, 720, '', 0, 0, {textZoom: 2}],
  [360, 640, '', 0, 0, {textZoom: 2}],
];
const settingOf = {
  minimum: 'minimum-font',
  size: 'default-font',
  textZoom: 'text-zoom'
};
// Each setting costs a browser of its own, so the rows share one each: a
// minimum font size (the setting that leaves the page's em as it was, where
// a larger default font or Firefox's text-only zoom scale it as a larger
// root font does, which the rows above check) and WebKit's text-only zoom.
const settingFor = (fonts) => engine.can(settingOf[Object.keys(fonts)[0]]) &&
    !(fonts.textZoom && engine.name === 'firefox');

test('at any text size and screen, nothing is cut or hidden', async () => {
  for (const [width, height, css, touch, keyboard, fonts] of readerScreens) {
    if (fonts && !settingFor(fonts)) continue;
    // A keyboard comes up over the page once a box has the focus.
    const {page} = await openWindow({
      viewport: {width, height: keyboard ? Math.round(height / 0.55) : height},
      touch: Boolean(touch),
      fonts,
    });
    await page.evaluate((rule) => {
      document.styleSheets[0].insertRule(rule || '*{}');
      Text1.value = '-1.01067194486265E-140';
      Text1.dispatchEvent(new Event('input'));
    }, css);
    // The note's nine computations short, then the longest list, or (for a
    // browser's settings, kept short) a list longer than the screen.
    if (!keyboard) {
      await typeInto(page, 'Text2', '1');
      for (let i = 0; i < 9; ++i) await page.click('#Command1');
    }
    await typeInto(page, 'Text2', fonts ? '30' : '32767');
    await page.click('#Command1');
    if (!keyboard && !fonts) {
      assert.deepEqual(await audit(page), [], 'the note shown');
    }
    if (keyboard) {
      await page.focus('#Text3');
      await page.setViewportSize({width, height});
    }
    const problems = await page.evaluate(async (keyboard) => {
      const frame = () => new Promise((go) => requestAnimationFrame(go));
      await frame(), await frame();  // WebKit lays out blocks frames later
      const range = document.createRange();
      const out = (a, b) => a.left < b.left - 0.5 || a.top < b.top - 0.5 ||
          a.right > b.right + 0.5 || a.bottom > b.bottom + 0.5;
      const cut = [...document.querySelectorAll('#Form1 > :not(input, div)')];
      const found = cut.filter(
          (c) => !c.hidden &&
              (range.selectNodeContents(c),
               out(range.getBoundingClientRect(), c.getBoundingClientRect())));
      // Each box as high as a caption's text is drawn, and the note shown
      // after the tenth computation unless a keyboard is up.
      range.selectNodeContents(Label1);
      const line = range.getBoundingClientRect().height;
      found.push(...[Text1, Text2, Text3].filter((e) => e.clientHeight < line));
      if (!keyboard && Label4.getClientRects().length === 0) found.push(Label4);
      Text3.focus();
      const screen = new DOMRect(0, 0, innerWidth, innerHeight);
      found.push(...[Text3, Command1, Command2].filter(
          (e) => keyboard && out(e.getBoundingClientRect(), screen)));
      // Three lines of the list; the first rent on one line (WebKit adds an
      // empty rectangle at the line before's end); one fling to the end.
      const list = Text4.getBoundingClientRect();
      if (Math.min(list.bottom, innerHeight) - list.top < 72) found.push(Text4);
      const rent = Text4.firstChild.textContent.match(/-1\.\S*/)[0];
      const block = Text4.firstChild;
      const walk = document.createTreeWalker(block, NodeFilter.SHOW_TEXT);
      while (walk.nextNode() && !walk.currentNode.data.includes(rent))
        ;
      const text = walk.currentNode;
      range.setStart(text, text.data.indexOf(rent));
      range.setEnd(text, text.data.indexOf(rent) + rent.length);
      const rects = [...range.getClientRects()].filter((r) => r.width > 0);
      if (new Set(rects.map((r) => r.top)).size !== 1) found.push('broken');
      Text4.scrollTop = Text4.scrollHeight;
      for (let i = 0; i < 3; ++i) await frame();
      if (Text4.scrollTop + Text4.clientHeight < Text4.scrollHeight - 1)
        found.push('short');
      if (document.documentElement.scrollWidth > innerWidth) found.push('wide');
      return found.map((e) => e.id ?? e);
    }, keyboard);
    assert.deepEqual(
        problems, [], `${width} x ${height} ${css} ${JSON.stringify(fonts)}`);
    await page.close();
  }
});

test('text grows with the browser\'s zoom at every level', async (t) => {
  if (lacks(t, 'device-scale')) return;
  // Zoom on a 1024 x 768 screen: the viewport shrinks in CSS pixels as each
  // CSS pixel takes more of the screen's.
  const heights = [];
  for (const zoom of [2, 3, 4]) {
    const page = await engine.newPage({
      viewport:
          {width: Math.floor(1024 / zoom), height: Math.floor(768 / zoom)},
      deviceScaleFactor: zoom,
    });
    await page.goto(fileUrl);
    await ready(page);
    // The increase caption's text as drawn, in the screen's pixels.
    heights.push(await page.evaluate(() => {
      const range = document.createRange();
      range.selectNodeContents(document.getElementById('Label3'));
      return range.getBoundingClientRect().height * devicePixelRatio;
    }));
    await page.close();
  }
  for (let i = 1; i < heights.length; ++i) {
    assert.ok(heights[i] > heights[i - 1], heights.join(' '));
  }
});

// The years a printed page lists: the numbers of the lines that hold a
// year's number and its rent (the only text Firefox's PDFs give back).
function yearsOn(text) {
  return [...text.matchAll(/^[^\d\n]*(\d+)[^\d\n]+-?\d[\d.e+-]*$/gm)].map(
      (match) => Number(match[1]));
}

test(
    'printed, it gives the inputs and every year, no empty page', async (t) => {
      if (lacks(t, 'pdf')) return;
      // From a phone's width as from a desktop's: the paper is the same.
      for (const width of [360, 1280]) {
        const {page} = await openPage({viewport: {width, height: 640}});
        await page.goto(fileUrl);
        await ready(page);
        await compute(page, '1000', '500', '5');
        // With the focus in a box and its number selected, and with neither:
        // neither shows on paper.
        await page.evaluate(() => {
          const box = document.getElementById('Text3');
          box.focus();
          box.select();
        });
        const pdf = await page.pdf({format: 'A4'});
        await page.evaluate(() => document.activeElement.blur());
        const unfocused = await page.pdf({format: 'A4'});
        const firstPage = (file) =>
            run('pdftoppm', ['-gray', '-r', '50', '-f', '1', '-l', '1', '-'],
                file, 'buffer')
                .then(({stdout}) => stdout);
        assert.ok(
            (await firstPage(pdf)).equals(await firstPage(unfocused)),
            `${width}: the focus or the selection was printed`);

        const {stdout: text} = await run('pdftotext', ['-', '-'], pdf);
        const pages = text.split('\f').slice(0, -1);
        assert.ok(pages.length > 1, `${width}`);
        pages.forEach((onPage, i) => {
          assert.ok(
              yearsOn(onPage).length > 0,
              `${width}: page ${i + 1} of ${pages.length}`);
        });
        assert.deepEqual(
            yearsOn(text), Array.from({length: 500}, (_, i) => i + 1),
            `${width}`);
        if (engine.can('pdf-text')) {
          assert.match(
              pages[0], /租金\s*1000\s*年限\s*500\s*递增\s*5\s*%/);
          assert.doesNotMatch(text, /计算|清除/);
        }
        await page.close();
      }
    });

test('it follows the system into dark mode', async () => {
  const {page} = await openPage();
  const background = async (scheme) => {
    await page.emulateMedia({colorScheme: scheme});
    return page.evaluate(
        () =>
            getComputedStyle(document.getElementById('Text4')).backgroundColor);
  };
  await page.goto(fileUrl);
  await ready(page);
  assert.equal(await background('light'), 'rgb(255, 255, 255)');
  assert.notEqual(await background('dark'), 'rgb(255, 255, 255)');
  assert.deepEqual(await audit(page, true), []);
  await page.close();
});
