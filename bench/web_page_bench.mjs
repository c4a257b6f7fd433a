// The web page's figures in headless Chromium, each the median of several
// runs: load from disk until the focus is in Text3, compute 100 and 32767
// years until painted (and the main-thread CPU time of the first and a later
// 100-year computation, which the load of a shared machine leaves alone),
// clear after 32767 years, select all of 32767 years and copy it through the
// page's copy handler, and a plain <textarea> given the same 32767-year text
// in the same run as the reference. Also the page's size, plain and gzipped.
//   node bench/web_page_bench.mjs [build/web/site]
import {mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {argv} from 'node:process';
import {pathToFileURL} from 'node:url';
import {gzipSync} from 'node:zlib';

import {launch} from '../tests/web/browser.mjs';

const site = argv[2] ?? 'build/web/site';
const pageFile = join(site, 'index.html');
const url = pathToFileURL(pageFile).href;
const kRuns = 9;

const median = (values) => [...values].sort(
    (a, b) => a - b)[Math.floor(values.length / 2)];

// Times `action` in the page (a function body run there) from its start
// until the next frame has been painted: the first task after the frame
// that follows it.
async function timeInPage(page, action) {
  return page.evaluate(async (body) => {
    const run = new Function(body);
    const painted = () => new Promise((resolve) => {
      requestAnimationFrame(() => {
        const channel = new MessageChannel();
        channel.port1.onmessage = resolve;
        channel.port2.postMessage(null);
      });
    });
    await painted();  // nothing else pending
    const start = performance.now();
    run();
    await painted();
    return {painted: performance.now() - start};
  }, action);
}

const setInputs = (rent, years, percent) => `
  for (const [id, text] of [['Text1', '${rent}'], ['Text2', '${years}'],
                            ['Text3', '${percent}']]) {
    const box = document.getElementById(id);
    box.value = text;
    box.dispatchEvent(new Event('input'));
  }`;

// The renderer's main-thread CPU time for `action` until painted, from a
// Chromium trace: unlike the wall time, it leaves out whatever else the
// machine runs meanwhile.
async function mainThreadCpu(page, action) {
  const path = join(floorFolder, 'trace.json');
  await browser.startTracing(
      page, {path, categories: ['toplevel', 'devtools.timeline']});
  await timeInPage(page, action);
  await browser.stopTracing();
  const {traceEvents} = JSON.parse(readFileSync(path, 'utf8'));
  const main = traceEvents.find((event) => event.name === 'EventDispatch');
  return traceEvents
             .filter(
                 (event) => event.name === 'ThreadControllerImpl::RunTask' &&
                     event.pid === main.pid && event.tid === main.tid &&
                     event.tdur !== undefined)
             .reduce((sum, event) => sum + event.tdur, 0) /
      1000;
}

// Frames as soon as there is something to draw, not at the display's 60 Hz:
// "until painted" is then the page's own work, not the wait for the next
// vertical blank (which adds up to 16.7 ms on a real screen). What is left
// of the browser's frame is measured too, as the floor: a one-character
// change of a label, until painted.
const browser = await launch([
  '--disable-frame-rate-limit',
  '--disable-gpu-vsync',
  '--run-all-compositor-stages-before-draw',
]);
const context = await browser.newContext();
const figures = {};
const add = (name, value) => (figures[name] ??= []).push(value);

// The floor of a load: the window's captions and a text box that takes the
// focus, as plain HTML with no program, opened the same way.
const floorFolder = mkdtempSync(join(tmpdir(), 'zorvik-bench-'));
const floorUrl = pathToFileURL(join(floorFolder, 'floor.html')).href;
writeFileSync(
    join(floorFolder, 'floor.html'),
    '<!DOCTYPE html><html lang="zh-CN"><meta charset="utf-8">' +
        '租金 年限 递增 % <button>计算</button><button>清除</button>' +
        '<input id="Text3"><script>Text3.focus()</script></html>');

// Opens `address` in a new page; resolves to the page and the time from the
// start of navigation until the focus reached Text3.
async function load(address) {
  const page = await context.newPage();
  await page.addInitScript(() => {
    addEventListener('focusin', (event) => {
      if (event.target.id === 'Text3') window.zorvikReady ??= performance.now();
    });
  });
  await page.goto(address);
  const ready = await page.waitForFunction(() => window.zorvikReady);
  return {page, ms: await ready.jsonValue()};
}

for (let run = 0; run < kRuns; ++run) {
  const floor = await load(floorUrl);
  add('floor: the captions and a text box as plain HTML, until focused',
      floor.ms);
  await floor.page.close();
  const {page, ms} = await load(url);
  add('load until the focus is in Text3', ms);

  for (let again = 0; again < 5; ++again) {
    add('floor: a label changed, until painted',
        (await timeInPage(page, `Label5.textContent = '${again}';`)).painted);
  }

  // Rent 1000 at -1 %: every rent has 15 digits. The first computation of
  // a page may find code still to compile and characters whose face is
  // still to be looked up; later ones find all of it done.
  await page.evaluate(setInputs('1000', '100', '-1'));
  add('compute 100 years, first on the page, until painted',
      (await timeInPage(page, `Command1.click();`)).painted);
  for (let again = 0; again < 5; ++again) {
    add('compute 100 years, until painted',
        (await timeInPage(page, `Command1.click();`)).painted);
  }
  if (run < 3) {
    const fresh = (await load(url)).page;
    await fresh.evaluate(setInputs('1000', '100', '-1'));
    add('compute 100 years, first on the page, main-thread CPU',
        await mainThreadCpu(fresh, `Command1.click();`));
    add('compute 100 years, again, main-thread CPU',
        await mainThreadCpu(fresh, `Command1.click();`));
    await fresh.close();
  }

  await page.evaluate(setInputs('1000', '32767', '-1'));
  add('compute 32767 years, until painted',
      (await timeInPage(page, `Command1.click();`)).painted);
  add('clear after 32767 years, until painted',
      (await timeInPage(page, `Command2.click();`)).painted);

  // The reference: the same text as the output box shows, in a plain
  // textarea of the same size, in the same run.
  await page.evaluate(setInputs('1000', '32767', '-1'));
  await page.click('#Command1');
  // Select all, then a copy of it through the page's copy handler: the
  // text and the table that C++ makes from the selection.
  add('select all of 32767 years, until painted',
      (await timeInPage(page, `getSelection().selectAllChildren(Text4);`))
          .painted);
  add('copy all of 32767 years (text and table), until painted',
      (await timeInPage(page, `
      Text4.dispatchEvent(new ClipboardEvent(
          'copy', {clipboardData: new DataTransfer(), bubbles: true}));`))
          .painted);
  await page.evaluate(() => {
    window.zorvikShown = document.getElementById('Text4').textContent;
  });
  const reference = await timeInPage(page, `
      const area = document.createElement('textarea');
      area.style.cssText = 'position:absolute;left:16px;top:80px;' +
                           'width:417px;height:177px';
      area.value = window.zorvikShown;
      document.getElementById('Form1').append(area);`);
  add('plain textarea given the 32767-year text, until painted',
      reference.painted);
  await page.close();
}
await browser.close();
rmSync(floorFolder, {recursive: true});

for (const [name, values] of Object.entries(figures)) {
  console.log(`${name.padEnd(58)} ${median(values).toFixed(1).padStart(8)} ms`);
}
const html = readFileSync(pageFile);
console.log(`${'page size'.padEnd(58)} ${
    (html.length / 1024).toFixed(1).padStart(8)} KiB`);
console.log(`${'page size, gzipped'.padEnd(58)} ${
    (gzipSync(html, {level: 9}).length / 1024).toFixed(1).padStart(8)} KiB`);
