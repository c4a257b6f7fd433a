// Runs before the program starts. Served from a web host, the page is an
// installable app that works offline: it links its manifest and registers its
// service worker. Opened from a file it asks for nothing at all.
if (location.protocol !== 'file:') {
  const manifest = document.createElement('link');
  manifest.rel = 'manifest';
  manifest.href = 'manifest.webmanifest';
  document.head.append(manifest);
  if ('serviceWorker' in navigator) {
    navigator.serviceWorker.register('sw.js').catch(
        () => {
            // Without the worker the page still works; only offline use is
            // lost.
        });
  }
}

// A browser too old for WebAssembly's exceptions cannot run the program; say
// so in the window's place instead of leaving it empty.
Module['onAbort'] = () => {
  document.getElementById('Form1').textContent =
      '此浏览器无法运行 Zorvik：请使用 Chrome 95、Firefox 100、Safari 15.2 或更新的版本。';
};
