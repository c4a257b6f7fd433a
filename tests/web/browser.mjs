// Debian's Chromium, headless, as the web page's tests and benchmarks start
// it: no browser download, no sandbox (the tests may run as root), and none of
// the background connections that a closed network would refuse.
import {chromium} from 'playwright-core';

export const chromiumPath = process.env.ZORVIK_CHROMIUM || '/usr/bin/chromium';

const options = {
  executablePath: chromiumPath,
  args: [
    '--no-sandbox',
    '--disable-gpu',
    '--disable-background-networking',
    '--disable-component-update',
    '--disable-sync',
    '--disable-quic',
    '--no-first-run',
  ],
};

// `extraArgs` add to the switches above.
export function launch(extraArgs = []) {
  return chromium.launch({...options, args: [...options.args, ...extraArgs]});
}

// A browser with a profile of its own in `folder`, as a user's is: not
// incognito, so that a page can be installed. `context` adds Playwright's
// options for its pages (a touch screen).
export function launchProfile(folder, context = {}) {
  return chromium.launchPersistentContext(folder, {...options, ...context});
}
