// The three browser engines the web page is tested in, each behind the same
// small page object: the part of Playwright's Page that the tests use (goto,
// evaluate, waitForFunction, click, focus, keyboard, mouse, inputValue,
// textContent, getAttribute, isVisible, $, waitForSelector, setViewportSize,
// emulateMedia, addInitScript, on, close). Input is trusted in each: the
// DevTools protocol in Chromium, WebDriver BiDi in Firefox, WebDriver
// actions in WebKit.
//   chromium  Debian's Chromium through playwright-core, the page as it is
//   firefox   Debian's Firefox ESR through puppeteer-core over BiDi
//   webkit    Debian's WebKitGTK (MiniBrowser) through WebKitWebDriver, under
//             an X server (tests/with-x-server)
// newPage({touch: true}) gives a page whose primary pointer is coarse, as a
// phone's or a tablet's: Chromium emulates touch through the DevTools
// protocol, Firefox starts a browser whose preferences say so; WebKitGTK
// takes the pointer from the X server's devices, which have no touch screen,
// so there the page's rules for a coarse pointer are applied to all pointers
// after each load, through the CSS object model ('coarse-pointer' below).
// newPage({fonts: {size, minimum, textZoom}}) gives a page of a browser whose
// reader chose that default font size, minimum font size (pixels) or
// text-only zoom (a factor), where a reader chooses them: Chromium's profile
// Preferences (its Appearance settings), Firefox's preferences, WebKitGTK's
// settings as MiniBrowser's options and its zoom keys. Each set of settings
// keeps its browser for the pages after it.
import {execFile} from 'node:child_process';
import {mkdir, mkdtemp, rm, writeFile} from 'node:fs/promises';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import puppeteer from 'puppeteer-core';

import {launch, launchProfile} from './browser.mjs';
import {Session, startDriver} from './webdriver.mjs';

export const firefoxPath = process.env.ZORVIK_FIREFOX || '/usr/bin/firefox-esr';

// What each engine's driver cannot do. A step that needs one of these is
// skipped in that engine alone; docs/testing.md lists them.
const lacking = {
  chromium: [
    'text-zoom',  // Chromium zooms pages, not text alone
  ],
  firefox: [
    'ime-composition',  // a CDP call
    'installability',   // a CDP call
    'ax-tree',          // a CDP call
    'offline',          // no network emulation over BiDi here
    'print-media',      // nor print media
    'pdf-text',         // its PDFs' CJK glyphs map to no text (digits do)
    'ax-description',   // no accessible description through BiDi
    'device-scale',     // no other pixel density for a page
  ],
  webkit: [
    'ime-composition', 'installability', 'ax-tree', 'offline', 'print-media',
    // WebKitGTK's settings have a minimum font size and a default size, but
    // MiniBrowser takes no option for a number; its text-only zoom it has.
    'minimum-font', 'default-font',
    'ax-description',  // the driver gives an element's label, not more
    'device-scale',
    // After other tests in the same browser, MiniBrowser at times never
    // installs the new worker of a redeployed page within the test's 30 s,
    // though the test passes on its own: not yet understood.
    'worker-update',
    // No printing through the driver.
    'pdf', 'pdf-text',
    'init-script',     // classic WebDriver runs nothing before a page
    'page-events',     // nor reports a page's requests and errors
    'coarse-pointer',  // no touch screen to report (see above)
  ],
};

// Chromium's accessibility-tree node for the element `selector` finds.
async function axNode(page, selector) {
  const session = await page.context().newCDPSession(page);
  const {root} = await session.send('DOM.getDocument', {depth: 0});
  const {nodeId} =
      await session.send('DOM.querySelector', {nodeId: root.nodeId, selector});
  const {node} = await session.send('DOM.describeNode', {nodeId});
  const {nodes} = await session.send('Accessibility.getPartialAXTree', {
    backendNodeId: node.backendNodeId,
    fetchRelatives: false,
  });
  await session.detach();
  return nodes[0];
}

// Page calls built from scripts alone, alike in every engine.
class ScriptedPage {
  inputValue(selector) {
    return this.evaluate((s) => document.querySelector(s).value, selector);
  }
  textContent(selector) {
    return this.evaluate(
        (s) => document.querySelector(s).textContent, selector);
  }
  getAttribute(selector, name) {
    return this.evaluate(
        ([s, n]) => document.querySelector(s).getAttribute(n),
        [selector, name]);
  }
  isVisible(selector) {
    return this.evaluate((s) => {
      const element = document.querySelector(s);
      return element !== null && element.getClientRects().length > 0 &&
          getComputedStyle(element).visibility !== 'hidden';
    }, selector);
  }
  async $(selector) {
    const found = await this.evaluate(
        (s) => document.querySelector(s) !== null, selector);
    return found ? {selector} : null;
  }
  focus(selector) {
    return this.evaluate((s) => document.querySelector(s).focus(), selector);
  }
  async waitForFunction(fn, arg, {timeout = 30000} = {}) {
    const deadline = Date.now() + timeout;
    for (;;) {
      const value = await this.evaluate(fn, arg);
      if (value) return {jsonValue: async () => value};
      if (Date.now() > deadline) throw new Error(`timed out waiting for ${fn}`);
      await new Promise((resolve) => setTimeout(resolve, 20));
    }
  }
  waitForSelector(selector, {state = 'visible'} = {}) {
    return this.waitForFunction(([s, wanted]) => {
      const element = document.querySelector(s);
      return wanted === 'detached' ? element === null : element !== null;
    }, [selector, state]);
  }
}

// "Control+A" as its modifiers and its key.
function splitKeys(combination) {
  const parts = combination.split('+');
  let key = parts.pop();
  if (key === '') key = '+';
  // With a modifier held, a letter names its key, not a capital.
  if (parts.length > 0 && key.length === 1) key = key.toLowerCase();
  return {modifiers: parts, key};
}

// Only Chromium's driver emulates print media ('print-media' above).
function refuseMedia(media) {
  if (media !== undefined && media !== 'screen' && media !== null) {
    throw new Error(`this engine's driver cannot emulate ${media} media`);
  }
}

class FirefoxPage extends ScriptedPage {
  // `open(dark, touch, fonts)` gives a fresh page of the browser started
  // light or dark, with a fine or a coarse pointer and a reader's fonts.
  constructor(open, touch, fonts = null) {
    super();
    this.open = open;
    this.touch = touch;
    this.fonts = fonts;
    this.listeners = [];
    this.keyboard = {
      type: (text) => this.page.keyboard.type(text),
      press: async (combination) => {
        const {keyboard} = this.page;
        const {modifiers, key} = splitKeys(combination);
        for (const modifier of modifiers) await keyboard.down(modifier);
        // Puppeteer names the space bar by its character.
        await keyboard.press(key === 'Space' ? ' ' : key);
        for (const modifier of modifiers.reverse()) await keyboard.up(modifier);
      },
      // A key pressed again while down is the keyboard's repeat.
      down: (key) => this.page.keyboard.down(key === 'Space' ? ' ' : key),
      up: (key) => this.page.keyboard.up(key === 'Space' ? ' ' : key),
    };
    this.mouse = {
      click: (x, y) => this.page.mouse.click(x, y),
      dblclick: (x, y) => this.page.mouse.click(x, y, {count: 2}),
    };
  }
  async start(dark = false, viewport = undefined) {
    this.dark = dark;
    ({page: this.page, context: this.context} =
         await this.open(dark, this.touch, this.fonts));
    if (viewport) await this.page.setViewport(viewport);
    for (const [event, handler] of this.listeners) this.page.on(event, handler);
    return this;
  }
  // Its requests, errors and console messages come in Playwright's shapes.
  on(event, handler) {
    this.listeners.push([event, handler]);
    this.page.on(event, handler);
  }
  goto(url) {
    return this.page.goto(url);
  }
  reload() {
    return this.page.reload();
  }
  evaluate(fn, arg) {
    return this.page.evaluate(fn, arg);
  }
  click(selector) {
    return this.page.click(selector);
  }
  setViewportSize({width, height}) {
    return this.page.setViewport({width, height});
  }
  // Firefox takes the colour scheme (and the pointer) from a preference as it
  // starts, and BiDi cannot change it: the page moves to a browser started
  // dark (or back) and is opened there again.
  async emulateMedia({colorScheme, media}) {
    refuseMedia(media);
    if (colorScheme === undefined || (colorScheme === 'dark') === this.dark) {
      return;
    }
    const url = this.page.url();
    const viewport = this.page.viewport();
    await this.context.close();
    await this.start(colorScheme === 'dark', viewport);
    if (url !== 'about:blank') await this.page.goto(url);
  }
  addInitScript(fn) {
    return this.page.evaluateOnNewDocument(fn);
  }
  screenshot(options) {
    return this.page.screenshot(options);
  }
  pdf(options) {
    return this.page.pdf(options);
  }
  close() {
    return this.context.close();
  }
}

// One MiniBrowser window, reused page after page: a page is a navigation.
class WebKitPage extends ScriptedPage {
  constructor(browser) {
    super();
    this.browser = browser;
    this.keyboard = {
      type: (text) => this.session.keys([...text]),
      press: (combination) => {
        const {modifiers, key} = splitKeys(combination);
        return this.session.keys([key], modifiers);
      },
      // Held keys stay down between the calls, so that a key pressed again
      // while down is the keyboard's repeat.
      down: (key) => this.session.keyDown(key),
      up: (key) => this.session.keyUp(key),
    };
    this.mouse = {
      click: (x, y) => this.session.click(x, y),
      dblclick: (x, y) => this.session.click(x, y, 2),
    };
  }
  get session() {
    return this.browser.session;
  }
  on() {}
  async goto(url) {
    this.url = url;
    await this.session.navigate(url);
    await this.applyTouch();
  }
  async reload() {
    await this.session.send('POST', '/refresh', {});
    await this.applyTouch();
  }
  // For a page given as on a touch screen: every rule for a coarse pointer
  // applies, whatever the pointer is.
  applyTouch() {
    if (!this.touch) return undefined;
    return this.evaluate(() => {
      for (const sheet of document.styleSheets) {
        for (const rule of sheet.cssRules) {
          if (!(rule instanceof CSSMediaRule)) continue;
          rule.media.mediaText = rule.media.mediaText.replace(
              /\(pointer:\s*coarse\)/g, '(min-width: 0px)');
        }
      }
    });
  }
  evaluate(fn, arg) {
    return this.session.evaluate(fn, arg);
  }
  click(selector) {
    return this.session.clickElement(selector);
  }
  // The window is the viewport and the browser's own bar above it.
  async setViewportSize({width, height}) {
    const [barWidth, barHeight] = await this.evaluate(
        () => [outerWidth - innerWidth, outerHeight - innerHeight]);
    await this.session.setWindowSize(width + barWidth, height + barHeight);
  }
  // WebKitGTK takes the colour scheme from GTK as the browser starts: a
  // change restarts the browser and opens the page again.
  async emulateMedia({colorScheme, media}) {
    refuseMedia(media);
    if (colorScheme === undefined ||
        (colorScheme === 'dark') === this.browser.dark) {
      return;
    }
    const [width, height] =
        await this.evaluate(() => [innerWidth, innerHeight]);
    await this.browser.restart(colorScheme === 'dark');
    await this.setViewportSize({width, height});
    if (this.url) await this.goto(this.url);
  }
  addInitScript() {
    throw new Error('WebKitWebDriver cannot run a script before a page');
  }
  async screenshot({path}) {
    const png = await this.session.send('GET', '/screenshot');
    await writeFile(path, Buffer.from(png, 'base64'));
  }
  close() {
    this.url = undefined;
    this.touch = false;
    return this.session.navigate('about:blank');
  }
}

const kViewport = {
  width: 1280,
  height: 720
};

// `unthrottled` asks for frames as soon as there is something to draw, not
// at a display's 60 Hz, where the engine can: for timing the page's own work.
const engines = {
  async chromium({unthrottled}) {
    const browser = await launch(
        unthrottled ?
            [
              '--disable-frame-rate-limit',
              '--disable-gpu-vsync',
              '--run-all-compositor-stages-before-draw',
            ] :
            []);
    // A profile for each reader's settings (and pointer), made once, with
    // the font sizes in its Preferences as Chromium's settings page writes
    // them.
    const profiles = new Map();
    const fontProfile = (fonts, touch) => {
      const key = JSON.stringify([fonts, touch]);
      if (!profiles.has(key)) {
        profiles.set(
            key, (async () => {
              const folder = await mkdtemp(join(tmpdir(), 'zorvik-fonts-'));
              await mkdir(join(folder, 'Default'));
              const webprefs = {};
              if (fonts.size) webprefs.default_font_size = fonts.size;
              if (fonts.minimum) webprefs.minimum_font_size = fonts.minimum;
              await writeFile(
                  join(folder, 'Default', 'Preferences'),
                  JSON.stringify({webkit: {webprefs}}));
              const context = await launchProfile(folder, {hasTouch: touch});
              return {folder, context};
            })());
      }
      return profiles.get(key);
    };
    return {
      version: browser.version(),
      async newPage({
        offline = false,
        permissions = [],
        viewport,
        deviceScaleFactor,
        touch = false,
        mobile = false,
        fonts,
      } = {}) {
        if (fonts) {
          const {context} = await fontProfile(fonts, touch);
          const page = await context.newPage();
          await page.setViewportSize(viewport ?? kViewport);
          return page;
        }
        // Touch emulation makes the primary pointer coarse; `mobile` is a
        // phone's browser, which honours the page's viewport settings.
        const context = await browser.newContext({
          offline,
          viewport,
          deviceScaleFactor,
          hasTouch: touch,
          isMobile: mobile,
        });
        await context.grantPermissions(permissions);
        const page = await context.newPage();
        // Closing the page closes its profile with it.
        page.close = () => context.close();
        return page;
      },
      // A profile of its own, as a user's is: not incognito, so that the
      // page can be installed.
      async newProfilePage() {
        const folder = await mkdtemp(join(tmpdir(), 'zorvik-profile-'));
        const context = await launchProfile(folder);
        const page = await context.newPage();
        page.close = async () => {
          await context.close();
          await rm(folder, {recursive: true});
        };
        return page;
      },
      // The name and the description in the accessibility tree, through the
      // DevTools protocol.
      accessibleName: async (page, selector) =>
          (await axNode(page, selector))?.name?.value ?? '',
      accessibleDescription: async (page, selector) =>
          (await axNode(page, selector))?.description?.value ?? '',
      // The whole node, ignored or not, with its role and name.
      axNode,
      async close() {
        for (const profile of profiles.values()) {
          const {folder, context} = await profile;
          await context.close();
          await rm(folder, {recursive: true});
        }
        await browser.close();
      },
    };
  },

  async firefox({unthrottled}) {
    const launchFirefox = (dark, touch, fonts = {}) => puppeteer.launch({
      browser: 'firefox',
      executablePath: firefoxPath,
      headless: true,
      defaultViewport: kViewport,
      extraPrefsFirefox: {
        // The clipboard without a user's gesture or a paste prompt, as
        // Chromium's granted permission gives it.
        'dom.events.testing.asyncClipboard': true,
        'dom.events.asyncClipboard.readText': true,
        // Light or dark, whatever the desktop around it is.
        'layout.css.prefers-color-scheme.content-override': dark ? 0 : 1,
        // A touch screen's pointer: coarse, without hover.
        ...(touch ? {
          'ui.primaryPointerCapabilities': 1,
          'ui.allPointerCapabilities': 1,
        } :
                    {}),
        ...(unthrottled ? {'layout.frame_rate': 0} : {}),
        // A reader's fonts for Simplified Chinese, as the Fonts dialog of
        // the settings sets them; and a text-only zoom, as the system's
        // text scale which Firefox follows (its settings' "Zoom text only").
        ...(fonts.size ? {'font.size.variable.zh-CN': fonts.size} : {}),
        ...(fonts.minimum ? {'font.minimum-size.zh-CN': fonts.minimum} : {}),
        ...(fonts.textZoom ? {
          'browser.zoom.full': false,
          'browser.display.os-zoom-behavior': 2,
          'ui.textScaleFactor': Math.round(fonts.textZoom * 100),
        } :
                             {}),
      },
    });
    // The others start only when a page asks for one.
    const browsers =
        new Map([['[false,false,null]', launchFirefox(false, false)]]);
    const open = async (dark, touch, fonts = null) => {
      const which = JSON.stringify([dark, touch, fonts]);
      if (!browsers.has(which)) {
        browsers.set(which, launchFirefox(dark, touch, fonts ?? {}));
      }
      const context = await (await browsers.get(which)).createBrowserContext();
      return {context, page: await context.newPage()};
    };
    const newPage = ({viewport, touch = false, fonts = null} = {}) =>
        new FirefoxPage(open, touch, fonts).start(false, viewport);
    return {
      version: (await browsers.values().next().value)
                   .version()
                   .then((v) => v.replace(/^firefox\//i, '')),
      newPage,
      newProfilePage: newPage,
      // BiDi reads no name, but finds elements by their accessible names:
      // the answer is `expected` where a search for it finds the control.
      async accessibleName({page}, selector, expected) {
        for (const found of await page.$$(`::-p-aria(${expected})`)) {
          if (await found.evaluate((e, s) => e.matches(s), selector)) {
            return expected;
          }
        }
        return `(no control named ${expected} is ${selector})`;
      },
      close: () => Promise.all(
          [...browsers.values()].map(async (b) => (await b).close())),
    };
  },

  async webkit() {
    const driver = await startDriver();
    const browser = {
      session: null,
      fonts: null,
      async restart(dark = false, fonts = null) {
        await this.session?.end();
        this.dark = dark;
        this.fonts = fonts;
        const textZoom = fonts?.textZoom;
        this.session = await Session.start(driver, [
          '--javascript-can-access-clipboard=true',
          ...(dark ? ['--dark-mode'] : []),
          ...(textZoom ? ['--zoom-text-only=true'] : []),
        ]);
        // MiniBrowser's zoom has no option: the reader's keys, Ctrl and +,
        // each a step of 1.2, pressed on its window through the X server.
        const steps =
            textZoom ? Math.round(Math.log(textZoom) / Math.log(1.2)) : 0;
        for (let i = 0; i < steps; ++i) {
          await new Promise((resolve, reject) => {
            execFile(
                'xdotool', ['key', 'ctrl+plus'],
                (error) => error ? reject(error) : resolve());
          });
        }
      },
    };
    await browser.restart();
    const page = new WebKitPage(browser);
    const newPage =
        async ({viewport = kViewport, touch = false, fonts = null} = {}) => {
      if (browser.dark ||
          JSON.stringify(fonts) !== JSON.stringify(browser.fonts)) {
        await browser.restart(false, fonts);
      }
      await page.setViewportSize(viewport);
      page.touch = touch;
      return page;
    };
    return {
      version: browser.session.capabilities.browserVersion,
      newPage,
      newProfilePage: newPage,
      // The label WebKit's accessibility objects compute.
      async accessibleName({session}, selector) {
        const element = await session.element(selector);
        return session.send('GET', `/element/${element}/computedlabel`);
      },
      async close() {
        await browser.session.end();
        driver.stop();
      },
    };
  },
};

export const engineNames = Object.keys(engines);

// Starts `name`'s browser: {name, version, can(feature), newPage(options),
// newProfilePage(), close()}.
export async function openEngine(name, {unthrottled = false} = {}) {
  if (!(name in engines)) throw new Error(`no engine called ${name}`);
  const browser = await engines[name]({unthrottled});
  return {
    name,
    ...browser,
    version: await browser.version,
    can: (feature) => !lacking[name].includes(feature),
  };
}
