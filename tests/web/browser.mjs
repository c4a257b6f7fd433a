// Debian's Chromium, headless, as the web page's tests and benchmarks start
// it: no browser download, no sandbox (the tests may run as root), and none of
// the background connections that a closed network would refuse.
import {chromium} from 'playwright-core';

export const chromiumPath = process.env.ZORVIK_CHROMIUM || '/usr/bin/chromium';

export function launch() {
  return chromium.launch({
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
  });
}
