// Runs before the program starts. Served from a web host, the page is an
// installable app that works offline: it links its manifest and the iPhone's
// home-screen icon, and registers its service worker. Opened from a file it
// asks for nothing at all.
if (location.protocol !== 'file:') {
  for (const [rel, href] of [
           ['manifest', 'manifest.webmanifest'],
           ['apple-touch-icon', 'apple-touch-icon.png']]) {
    const link = document.createElement('link');
    link.rel = rel;
    link.href = href;
    document.head.append(link);
  }
  if ('serviceWorker' in navigator) {
    // The worker's script is always asked of the host, never taken from the
    // browser's HTTP cache: a host that lets browsers keep files for a while
    // must not hold a new version back (some browsers still default to it).
    navigator.serviceWorker.register('sw.js', {updateViaCache: 'none'})
        .catch(
            () => {
                // Without the worker the page still works; only offline use is
                // lost.
            });
  }
}

// The module is compiled at once, in the page's script, where the browser
// allows it (modules up to 8 MB since Chrome 115, any size in Firefox and
// Safari): the window is ready a frame or two sooner than after a compile in
// the background, which older Chrome versions need and still get.
Module['instantiateWasm'] = (imports, receive) => {
  const bytes = Module['wasmBinary'];
  try {
    const module = new WebAssembly.Module(bytes);
    receive(new WebAssembly.Instance(module, imports), module);
  } catch (error) {
    if (!(error instanceof RangeError)) return Module['onAbort']();
    WebAssembly.instantiate(bytes, imports)
        .then((result) => receive(result.instance, result.module))
        .catch(() => Module['onAbort']());
  }
  return {};
};

// A browser too old for WebAssembly's exceptions cannot run the program; say
// so in the window's place instead of leaving it empty.
Module['onAbort'] = () => {
  document.getElementById('Form1').textContent =
      '此浏览器无法运行 Zorvik：请使用 Chrome 95、Firefox 100、Safari 15.2 或更新的版本。';
};
