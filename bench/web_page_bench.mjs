// The web page's figures in each browser engine (engines.mjs: Chromium,
// Firefox ESR, WebKitGTK; WebKit needs an X server), each the median of
// several runs: load from disk until the focus is in Text3, compute 100 and
// 32767 years until painted, clear after 32767 years, select all of 32767
// years and copy it through the page's copy handler (the text and the table
// that C++ makes from the selection), and a plain <textarea> given the same
// 32767-year text in the same run as the reference. Then a phone's profile
// in Chromium (412 x 823 CSS pixels at 2.625, touch, the CPU slowed 4 times
// through the DevTools protocol): load, 100 years first and later, 32767
// years, against a plain page that writes the same 100 lines into a <pre>
// on a click, in the same run. Also the page's size, plain and gzipped.
//   tests/with-x-server -s 1920x1080x24 \
//       node bench/web_page_bench.mjs [build/web/site] [engine... | phone]
import {mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {argv} from 'node:process';
import {pathToFileURL} from 'node:url';
import {gzipSync} from 'node:zlib';

import {engineNames, openEngine} from '../tests/web/engines.mjs';

const site = argv[2] ?? 'build/web/site';
const engines = argv.length > 3 ? argv.slice(3) : [...engineNames, 'phone'];
const pageFile = join(site, 'index.html');
const url = pathToFileURL(pageFile).href;
const kRuns = 9;

const median = (values) => [...values].sort(
    (a, b) => a - b)[Math.floor(values.length / 2)];

// Times the page's `action` (below) from its start until the next frame
// has been painted: the first task after the frame that follows it.
async function timeInPage(page, action, argument) {
  return page.evaluate(async ([name, argument]) => {
    const actions = {
      label: (text) => {
        document.getElementById('Label5').textContent = text;
      },
      compute: () => document.getElementById('Command1').click(),
      clear: () => document.getElementById('Command2').click(),
      select: () =>
          getSelection().selectAllChildren(document.getElementById('Text4')),
      copy: () =>
          document.getElementById('Text4').dispatchEvent(new ClipboardEvent(
              'copy', {clipboardData: new DataTransfer(), bubbles: true})),
      // The plain page's button (below).
      plain: () => document.getElementById('Go').click(),
      // The same text as the output box shows, in a plain textarea of the
      // same size.
      textarea: (text) => {
        const area = document.createElement('textarea');
        area.style.cssText = 'position:absolute;left:16px;top:80px;' +
            'width:417px;height:177px';
        area.value = text;
        document.getElementById('Form1').append(area);
      },
    };
    const painted = () => new Promise((resolve) => {
      requestAnimationFrame(() => {
        const channel = new MessageChannel();
        channel.port1.onmessage = resolve;
        channel.port2.postMessage(null);
      });
    });
    await painted();  // nothing else pending
    const start = performance.now();
    actions[name](argument);
    await painted();
    return performance.now() - start;
  }, [action, argument]);
}

const setInputs = (page, rent, years, percent) => page.evaluate((texts) => {
  for (const [id, text] of texts) {
    const box = document.getElementById(id);
    box.value = text;
    box.dispatchEvent(new Event('input'));
  }
}, [['Text1', rent], ['Text2', years], ['Text3', percent]]);

// The floor of a load: the window's captions and a text box that takes the
// focus, as plain HTML with no program, opened the same way.
const floorFolder = mkdtempSync(join(tmpdir(), 'zorvik-bench-'));
const floorUrl = pathToFileURL(join(floorFolder, 'floor.html')).href;
writeFileSync(
    join(floorFolder, 'floor.html'),
    '<!DOCTYPE html><html lang="zh-CN"><meta charset="utf-8">' +
        '租金 年限 递增 % <button>计算</button><button>清除</button>' +
        '<input id="Text3"><script>Text3.focus()</script></html>');

// The floor of a computation: a plain page that writes given lines into a
// <pre> on a click, with no program.
writeFileSync(
    join(floorFolder, 'plain.html'),
    '<!DOCTYPE html><html lang="zh-CN"><meta charset="utf-8">' +
        '<meta name="viewport" content="width=device-width, initial-scale=1">' +
        '<button id="Go">计算</button><pre id="Out"></pre><input id="Text3">' +
        '<script>Go.onclick = () => Out.textContent = window.lines;' +
        'Text3.focus()</script></html>');
const plainUrl = pathToFileURL(join(floorFolder, 'plain.html')).href;

// Opens `address` in a new page (of `options` for engine.newPage); resolves
// to the page and the time from the start of navigation until the focus
// reached Text3. Where the engine runs no script before a page (WebKit),
// until the end of its load event, which there follows the focus. `before`
// is run on the page before it navigates.
async function load(engine, address, options = {}, before = async () => {}) {
  const page = await engine.newPage(options);
  await before(page);
  if (engine.can('init-script')) {
    await page.addInitScript(() => {
      addEventListener('focusin', (event) => {
        if (event.target.id === 'Text3') {
          window.zorvikReady ??= performance.now();
        }
      });
    });
  }
  await page.goto(address);
  const ready = engine.can('init-script') ?
      await page.waitForFunction(() => window.zorvikReady) :
      await page.waitForFunction(
          () => document.activeElement?.id === 'Text3' &&
              performance.getEntriesByType('navigation')[0].loadEventEnd);
  return {page, ms: await ready.jsonValue()};
}

// Frames as soon as there is something to draw where the engine allows it:
// "until painted" is then the page's own work, not the wait for the next
// vertical blank (which adds up to 16.7 ms on a real screen). What is left
// of the browser's frame is measured too, as the floor: a one-character
// change of a label, until painted.
async function measure(engine) {
  const figures = {};
  const add = (name, value) => (figures[name] ??= []).push(value);
  for (let run = 0; run < kRuns; ++run) {
    const floor = await load(engine, floorUrl);
    add('floor: the captions and a text box as plain HTML, until focused',
        floor.ms);
    await floor.page.close();
    const {page, ms} = await load(engine, url);
    add('load until the focus is in Text3', ms);

    for (let again = 0; again < 5; ++again) {
      add('floor: a label changed, until painted',
          await timeInPage(page, 'label', String(again)));
    }

    // Rent 1000 at -1 %: every rent has 15 digits. The first computation of
    // a page also compiles the code it runs; later ones find it compiled.
    await setInputs(page, '1000', '100', '-1');
    add('compute 100 years, first on the page, until painted',
        await timeInPage(page, 'compute'));
    for (let again = 0; again < 5; ++again) {
      add('compute 100 years, until painted',
          await timeInPage(page, 'compute'));
    }

    await setInputs(page, '1000', '32767', '-1');
    add('compute 32767 years, until painted',
        await timeInPage(page, 'compute'));
    add('clear after 32767 years, until painted',
        await timeInPage(page, 'clear'));

    // The reference, in the same run.
    await setInputs(page, '1000', '32767', '-1');
    await page.click('#Command1');
    add('select all of 32767 years, until painted',
        await timeInPage(page, 'select'));
    add('copy all of 32767 years (text and table), until painted',
        await timeInPage(page, 'copy'));
    const shown = await page.textContent('#Text4');
    add('plain textarea given the 32767-year text, until painted',
        await timeInPage(page, 'textarea', shown));
    await page.close();
  }
  return figures;
}

// A phone of Lighthouse's mobile profile: its screen, and a CPU four times
// slower than this machine's, through the DevTools protocol.
const kPhone = {
  viewport: {width: 412, height: 823},
  deviceScaleFactor: 2.625,
  touch: true,
  mobile: true,
};
const slowDown = async (page) => {
  const session = await page.context().newCDPSession(page);
  await session.send('Emulation.setCPUThrottlingRate', {rate: 4});
};

async function measurePhone(engine) {
  const figures = {};
  const add = (name, value) => (figures[name] ??= []).push(value);
  const later = async (page, name, action) => {
    const times = [];
    for (let again = 0; again < 5; ++again) {
      times.push(await timeInPage(page, action));
    }
    add(name, median(times));
  };
  for (let run = 0; run < kRuns; ++run) {
    const {page, ms} = await load(engine, url, kPhone, slowDown);
    add('load until the focus is in Text3', ms);
    await setInputs(page, '1000', '100', '-1');
    add('compute 100 years, first on the page, until painted',
        await timeInPage(page, 'compute'));
    const lines = await page.textContent('#Text4');
    await later(page, 'compute 100 years, later, until painted', 'compute');
    await setInputs(page, '1000', '32767', '-1');
    add('compute 32767 years, until painted',
        await timeInPage(page, 'compute'));
    await page.close();

    // The floor, in the same run: the same 100 lines written into a <pre>.
    const plain = await load(engine, plainUrl, kPhone, slowDown);
    await plain.page.evaluate((text) => window.lines = text, lines);
    add('floor: the same 100 lines into a plain <pre>, first on the page',
        await timeInPage(plain.page, 'plain'));
    await later(plain.page, 'floor: the same 100 lines, later', 'plain');
    await plain.page.close();
  }
  return figures;
}

for (const name of engines) {
  const phone = name === 'phone';
  const engine =
      await openEngine(phone ? 'chromium' : name, {unthrottled: true});
  const figures = await (phone ? measurePhone(engine) : measure(engine));
  await engine.close();
  console.log(
      phone ? `phone profile: Chromium ${engine.version}, 412 x 823 at ` +
              '2.625, touch, CPU slowed 4 times' :
              `${name} ${engine.version}`);
  // On a machine busy with other work, the slowed CPU of the phone's
  // profile waits for a core far more often: its best run tells the page's
  // own work from that waiting.
  for (const [figure, values] of Object.entries(figures)) {
    const best =
        phone ? ` (best ${Math.min(...values).toFixed(1).padStart(7)} ms)` : '';
    console.log(`  ${figure.padEnd(64)} ${
        median(values).toFixed(1).padStart(8)} ms${best}`);
  }
}
rmSync(floorFolder, {recursive: true});
const html = readFileSync(pageFile);
console.log(`${'page size'.padEnd(58)} ${
    (html.length / 1024).toFixed(1).padStart(8)} KiB`);
console.log(`${'page size, gzipped'.padEnd(58)} ${
    (gzipSync(html, {level: 9}).length / 1024).toFixed(1).padStart(8)} KiB`);
