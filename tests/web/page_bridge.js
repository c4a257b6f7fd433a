// Lets the scenario table's C++ (running under Node.js) drive the real page in
// Chromium through plain calls: page_driver.mjs runs in a worker thread, and
// each call posts one request to it and sleeps until the answer is in.
mergeInto(LibraryManager.library, {
  $ZvDriver: null,

  // Sends "op\x1farg" and returns the answer, in memory from malloc(): "+" and
  // the result, or "!" and what went wrong.
  zv_drive__deps: ['$ZvDriver', 'malloc'],
  zv_drive: function(request, requestLength, answerLength) {
    const threads = require('worker_threads');
    if (!ZvDriver) {
      const {port1, port2} = new threads.MessageChannel();
      const signal = new Int32Array(new SharedArrayBuffer(4));
      const worker = new threads.Worker(process.env.ZORVIK_PAGE_DRIVER, {
        // Not the test's own --no-experimental-fetch: the driver needs fetch.
        execArgv: [],
        workerData: {port: port2, signal, page: process.env.ZORVIK_PAGE},
        transferList: [port2],
      });
      worker.unref();
      ZvDriver = {port: port1, signal};
    }
    Atomics.store(ZvDriver.signal, 0, 0);
    ZvDriver.port.postMessage(UTF8ToString(request, requestLength));
    // A driver that stops answering fails the test instead of hanging it.
    let answer = '!the page driver gave no answer within 120 s';
    if (Atomics.wait(ZvDriver.signal, 0, 0, 120000) !== 'timed-out') {
      answer = threads.receiveMessageOnPort(ZvDriver.port).message;
    }
    const capacity = answer.length * 3 + 1;
    const pointer = _malloc(capacity);
    const {written} = new TextEncoder().encodeInto(
        answer, HEAPU8.subarray(pointer, pointer + capacity));
    HEAPU32[answerLength >> 2] = written;
    return pointer;
  },
});
