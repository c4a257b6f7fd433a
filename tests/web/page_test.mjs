// What the web page promises beyond the window's behaviour (which the
// scenario table checks): it works opened from disk with the network off and
// asks for nothing; served from a web host it is an installable app that
// works offline; it keeps nothing; its report is a modal dialog; text still
// being composed by an input method is judged once committed; the output box
// copies as shown; it follows the system's dark mode. The same tests in each
// engine of engines.mjs, the one ZORVIK_ENGINE names (Chromium unless told);
// a step that needs what the engine's driver lacks is skipped there alone.
//   ZORVIK_SITE=build/web/site [ZORVIK_ENGINE=firefox] \
//       node --test tests/web/page_test.mjs
import assert from 'node:assert/strict';
import {mkdtemp, readFile, rm, writeFile} from 'node:fs/promises';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {after, before, test} from 'node:test';
import {pathToFileURL} from 'node:url';

import {serve} from '../../web/serve.mjs';

import {openEngine} from './engines.mjs';

const site = process.env.ZORVIK_SITE;
const fileUrl = pathToFileURL(join(site, 'index.html')).href;

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

// A fresh profile with a page that records what it asks for and every error.
async function openPage({offline = false, permissions = []} = {}) {
  const page = await engine.newPage({offline, permissions});
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

test('served from a web host, it installs and then works offline', async () => {
  const server = await serve(site);
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
  assert.equal(manifest.name, 'Zorvik');
  assert.equal(manifest.lang, 'zh-CN');
  assert.equal(manifest.display, 'standalone');
  assert.equal(manifest.icons[0].src, 'icon.svg');
  if (engine.can('installability')) {
    const session = await page.context().newCDPSession(page);
    const {installabilityErrors} =
        await session.send('Page.getInstallabilityErrors');
    assert.deepEqual(installabilityErrors, []);
  }

  const caches = await page.evaluate(async () => {
    const names = await caches.keys();
    const cache = await caches.open(names[0]);
    const files = (await cache.keys()).map((r) => new URL(r.url).pathname);
    return {names, files: files.sort()};
  });
  assert.equal(caches.names.length, 1);
  assert.match(caches.names[0], /^zorvik-1\.0\.0-[0-9a-f]{12}$/);
  assert.deepEqual(
      caches.files, ['/', '/icon.svg', '/index.html', '/manifest.webmanifest']);

  // The host goes away and the network with it: the page still comes up.
  await new Promise((resolve) => server.close(resolve));
  if (engine.can('offline')) await page.context().setOffline(true);
  await page.reload();
  await ready(page);
  await compute(page, '1000', '3', '5');
  assert.equal(await page.textContent('#Text4'), worked);
  assert.ok(log.requests.every((url) => url.startsWith(origin)), log.requests);
  assert.deepEqual(log.errors, []);
  await page.close();
});

test(
    'the error report is a modal dialog that Enter and Esc dismiss',
    async () => {
      const {page} = await openPage();
      await page.goto(fileUrl);
      await ready(page);
      for (const key of ['Enter', 'Escape']) {
        await compute(page, '1000', '200', '32767');
        assert.ok(await page.evaluate(
            () => document.querySelector('dialog').matches(':modal')));
        assert.equal(await page.textContent('dialog h1'), 'Zorvik');
        assert.equal(
            await page.evaluate(() => document.activeElement.textContent),
            '确定');
        // The window behind it takes no clicks while it shows.
        await page.mouse.click(250, 60);
        assert.equal(await page.inputValue('#Text1'), '1000');
        await page.keyboard.press(key);
        await page.waitForSelector('dialog', {state: 'detached'});
        assert.equal(
            await page.evaluate(() => document.activeElement.id), 'Command1');
      }
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
          'width=device-width, initial-scale=1');
      const boxes =
          await page.evaluate(() => ['Text1', 'Text2', 'Text3'].map((id) => {
            const box = document.getElementById(id);
            return [box.inputMode, box.autocomplete, box.spellcheck];
          }));
      assert.deepEqual(boxes, [
        ['decimal', 'off', false],
        ['numeric', 'off', false],
        ['text', 'off', false],
      ]);
      await page.close();
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
  await page.close();
});
