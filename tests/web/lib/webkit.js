'use strict';
// WebKitGTK's MiniBrowser on a private X server over WebDriver classic, behind puppeteer's API.
const { spawn } = require('node:child_process');
const net = require('node:net');
const path = require('node:path');
const { Builder, By, Key } = require('selenium-webdriver');

const MINIBROWSER = process.env.FERNWICK_MINIBROWSER ||
  '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const KEYS = { Space: ' ', Enter: Key.ENTER, Escape: Key.ESCAPE, Tab: Key.TAB, Shift: Key.SHIFT };

const freePort = () => new Promise((resolve) => {
  const probe = net.createServer().listen(0, '127.0.0.1', () => {
    const { port } = probe.address();
    probe.close(() => resolve(port));
  });
});

async function until(what, check, timeout) {
  const end = Date.now() + timeout;
  for (;;) {
    try {
      const value = await check();
      if (value) return value;
    } catch (error) {
      if (Date.now() > end) throw error;
    }
    if (Date.now() > end) throw new Error(`timed out after ${timeout} ms waiting for ${what}`);
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
}

class Page {
  constructor(driver) {
    this.driver = driver;
    this.listeners = [];
    this.problems = [];  // what watch() gives: console errors and warnings, uncaught errors
    this.seen = 0;
    const press = (keys) => keys.reduce((a, k) => a.keyDown(KEYS[k] ?? k), driver.actions());
    const release = (keys) => keys.reduce((a, k) => a.keyUp(KEYS[k] ?? k), driver.actions());
    this.keyboard = {
      press: async (k) => { await press([k]).perform(); await release([k]).perform(); },
      down: (k) => press([k]).perform(),
      up: (k) => release([k]).perform(),
    };
  }

  // The page's console as far as it has recorded it, told to on('console') listeners.
  async drain() {
    const log = await this.driver.executeScript('return window.__fwLog || []').catch(() => []);
    for (const [type, text] of log.slice(this.seen)) {
      this.problems.push(type === 'uncaught' ? `uncaught: ${text}` : `console ${type}: ${text}`);
      for (const fn of this.listeners) fn({ type: () => (type === 'uncaught' ? 'error' : type), text: () => text });
    }
    this.seen = Math.max(this.seen, log.length);
  }
  on(event, fn) {
    if (event === 'console') this.listeners.push(fn);
  }

  async goto(url) {
    await this.drain();
    this.seen = 0;
    await this.driver.get(url);
  }
  async evaluate(fn, ...args) {
    const body = typeof fn === 'function' ? `return (${fn}).apply(null, arguments)` : fn;
    const value = await this.driver.executeScript(body, ...args);
    await this.drain();
    return value;
  }
  $eval(selector, fn, ...args) {
    return this.evaluate(`return (${fn}).apply(null, [document.querySelector(arguments[0])]` +
                         '.concat([].slice.call(arguments, 1)))', selector, ...args);
  }
  async $(selector) {
    const found = await this.driver.findElements(By.css(selector));
    if (!found.length) return null;
    // Once the page has drawn a frame since: a shot taken sooner can show a window not drawn yet.
    const drawn = () => this.driver.executeScript(
      'return new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)))');
    return { screenshot: async () => { await drawn(); return found[0].takeScreenshot(); } };
  }
  waitForFunction(fn, options = {}, ...args) {
    return until(String(fn).slice(0, 60), () => this.evaluate(fn, ...args), options.timeout ?? 30000);
  }
  async waitForSelector(selector, { timeout = 30000 } = {}) {
    await until(selector, () => this.evaluate((s) => {
      const e = document.querySelector(s);
      return !!e && e.checkVisibility();
    }, selector), timeout);
    return { evaluate: (fn) => this.$eval(selector, fn) };
  }
  // The window's size; its device pixel ratio is the screen's, 1.
  async setViewport({ width, height, deviceScaleFactor = 1 }) {
    if (deviceScaleFactor !== 1) throw new Error('WebKitGTK over WebDriver keeps a ratio of 1');
    await this.driver.manage().window().setRect({ width, height });
  }
  async click(selector, { count = 1 } = {}) {
    const element = await this.driver.findElement(By.css(selector));
    const actions = this.driver.actions().move({ origin: element });
    await (count === 2 ? actions.doubleClick() : actions.click()).perform();
  }
  async close() {}
}

async function launch(profile, home, dark) {
  const port = await freePort();
  const env = { ...process.env, ...home, XDG_RUNTIME_DIR: profile };
  // A dark GTK theme is the dark colour scheme for WebKitGTK.
  if (dark) env.GTK_THEME = 'Adwaita:dark';
  delete env.WAYLAND_DISPLAY;
  const session = spawn(path.join(__dirname, '../../../scripts/lib/x-session'),
                        ['--wm', 'none', '--screen', '1024x768x24', '--',
                         'WebKitWebDriver', `--port=${port}`, '--host=127.0.0.1'],
                        { env, detached: true, stdio: ['ignore', 'ignore', 'inherit'] });
  const stop = () => { try { process.kill(-session.pid, 'SIGTERM'); } catch {} };
  let driver;
  try {
    driver = await until('WebKitWebDriver', async () => {
      if (session.exitCode !== null) throw new Error(`x-session ended: ${session.exitCode}`);
      return new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({
        browserName: 'MiniBrowser',
        'webkitgtk:browserOptions': { binary: MINIBROWSER, args: ['--automation'] },
      }).build();
    }, 60000);
  } catch (error) {
    stop();
    throw error;
  }
  const page = new Page(driver);
  const browser = {
    newPage: async () => page,
    // One session of MiniBrowser, the same page: the tests' contexts follow each other.
    createBrowserContext: async () => ({ newPage: async () => page,
                                         close: () => driver.get('about:blank') }),
    close: async () => {
      await driver.quit().catch(() => {});
      stop();
    },
  };
  return browser;
}

module.exports = { launch };
