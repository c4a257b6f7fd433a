// A small client of the W3C WebDriver protocol over its HTTP endpoints, for
// Debian's WebKitGTK (WebKitWebDriver starting MiniBrowser): a session, its
// navigation, scripts, window size, and trusted input through actions.
import {spawn} from 'node:child_process';
import {mkdirSync, mkdtempSync, rmSync, writeFileSync} from 'node:fs';
import {createServer} from 'node:net';
import {tmpdir} from 'node:os';
import {join} from 'node:path';

export const webkitDriverPath =
    process.env.ZORVIK_WEBKIT_DRIVER || '/usr/bin/WebKitWebDriver';
export const miniBrowserPath = process.env.ZORVIK_MINIBROWSER ||
    '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

// A port no one listens on now, as the system hands one out.
function freePort() {
  return new Promise((resolve, reject) => {
    const server = createServer();
    server.on('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const {port} = server.address();
      server.close(() => resolve(port));
    });
  });
}

// MiniBrowser's bar of buttons and address keeps its window 447 pixels wide
// at least; with GTK's minimum sizes and padding taken away it lets the
// window be as narrow as a phone's screen.
const narrowBar = '* { min-width: 0; min-height: 0; padding: 0; margin: 0; }\n';

// The driver process, listening on a port of its own; the browsers it
// starts read a GTK configuration of their own.
export async function startDriver() {
  const port = await freePort();
  const config = mkdtempSync(join(tmpdir(), 'zorvik-webkit-'));
  mkdirSync(join(config, 'gtk-3.0'));
  writeFileSync(join(config, 'gtk-3.0', 'gtk.css'), narrowBar);
  const child = spawn(webkitDriverPath, [`--port=${port}`], {
    stdio: ['ignore', 'ignore', 'pipe'],
    env: {...process.env, XDG_CONFIG_HOME: config},
  });
  let log = '';
  child.stderr.on('data', (chunk) => (log += chunk));
  const url = `http://127.0.0.1:${port}`;
  for (let tries = 0;; ++tries) {
    try {
      await fetch(`${url}/status`);
      break;
    } catch (error) {
      if (tries > 200 || child.exitCode !== null) {
        throw new Error(`WebKitWebDriver did not come up: ${log}`);
      }
      await new Promise((resolve) => setTimeout(resolve, 50));
    }
  }
  return {
    url,
    stop() {
      child.kill();
      rmSync(config, {recursive: true, force: true});
    },
  };
}

async function call(url, method, body) {
  const response = await fetch(url, {
    method,
    headers: {'Content-Type': 'application/json'},
    body: body === undefined ? undefined : JSON.stringify(body),
  });
  const {value} = await response.json();
  if (!response.ok) {
    throw new Error(
        `WebDriver ${method} ${url}: ${value.error}: ${value.message}`);
  }
  return value;
}

// The key values the protocol gives keys that type no character.
const keyValues = {
  Backspace: '\uE003',
  Tab: '\uE004',
  Enter: '\uE007',
  Shift: '\uE008',
  Control: '\uE009',
  Alt: '\uE00A',
  Escape: '\uE00C',
  Space: ' ',
  End: '\uE010',
  Home: '\uE011',
  ArrowLeft: '\uE012',
  ArrowUp: '\uE013',
  ArrowRight: '\uE014',
  ArrowDown: '\uE015',
  Delete: '\uE017',
};
export const keyValue = (name) => keyValues[name] ?? name;

// One session: one browser window.
export class Session {
  static async start(driver, args = []) {
    const {sessionId, capabilities} =
        await call(`${driver.url}/session`, 'POST', {
          capabilities: {
            alwaysMatch: {
              'webkitgtk:browserOptions': {
                binary: miniBrowserPath,
                args: ['--automation', ...args],
              },
            },
          },
        });
    return new Session(`${driver.url}/session/${sessionId}`, capabilities);
  }

  constructor(url, capabilities) {
    this.url = url;
    this.capabilities = capabilities;
  }

  send(method, path, body) {
    return call(`${this.url}${path}`, method, body);
  }

  end() {
    return this.send('DELETE', '');
  }

  navigate(url) {
    return this.send('POST', '/url', {url});
  }

  // Runs `fn(arg)` in the page and resolves to what it returns (awaited).
  async evaluate(fn, arg) {
    const result = await this.send('POST', '/execute/async', {
      script: `const done = arguments[arguments.length - 1];
        Promise.resolve().then(() => (${fn})(arguments[0])).then(
            (value) => done({value: value === undefined ? null : value}),
            (error) => done({error: String(error && error.stack || error)}));`,
      args: [arg === undefined ? null : arg],
    });
    if (result.error !== undefined) throw new Error(result.error);
    return result.value;
  }

  element(selector) {
    return this
        .send('POST', '/element', {using: 'css selector', value: selector})
        .then((reference) => Object.values(reference)[0]);
  }

  clickElement(selector) {
    return this.element(selector).then(
        (id) => this.send('POST', `/element/${id}/click`, {}));
  }

  // `keys` are key names or characters; `modifiers` are held around them.
  keys(keys, modifiers = []) {
    const actions = [];
    for (const key of modifiers)
      actions.push({type: 'keyDown', value: keyValue(key)});
    for (const key of keys) {
      actions.push({type: 'keyDown', value: keyValue(key)});
      actions.push({type: 'keyUp', value: keyValue(key)});
    }
    for (const key of [...modifiers].reverse()) {
      actions.push({type: 'keyUp', value: keyValue(key)});
    }
    return this.perform([{type: 'key', id: 'keyboard', actions}]);
  }

  // A key down, kept down after the call (the actions are not released), and
  // its key up, which releases them all.
  keyDown(key) {
    return this.send('POST', '/actions', {
      actions: [{
        type: 'key',
        id: 'keyboard',
        actions: [{type: 'keyDown', value: keyValue(key)}],
      }],
    });
  }
  async keyUp(key) {
    await this.perform([{
      type: 'key',
      id: 'keyboard',
      actions: [{type: 'keyUp', value: keyValue(key)}],
    }]);
  }

  // A left click at (x, y) of the viewport.
  // `count` clicks in a row: 2 is a double-click.
  click(x, y, count = 1) {
    const press = [
      {type: 'pointerDown', button: 0},
      {type: 'pointerUp', button: 0},
    ];
    return this.perform([{
      type: 'pointer',
      id: 'mouse',
      parameters: {pointerType: 'mouse'},
      actions: [
        {
          type: 'pointerMove',
          origin: 'viewport',
          x: Math.round(x),
          y: Math.round(y)
        },
        ...Array(count).fill(press).flat(),
      ],
    }]);
  }

  async perform(actions) {
    await this.send('POST', '/actions', {actions});
    await this.send('DELETE', '/actions');
  }

  setWindowSize(width, height) {
    return this.send('POST', '/window/rect', {width, height});
  }
}
