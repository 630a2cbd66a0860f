'use strict';
// What every browser test and the web bench share: the one skip rule of every test (a missing
// tool skips with status 77, and fails under CI, which never skips); a static server for a built
// page, at a sub-path of 127.0.0.1 and a free port, that can be told to leave one file out or
// corrupt it, be stopped and started again, or serve gzipped as a production server would; and a
// browser of the engine FERNWICK_ENGINE names (chromium, the default; firefox; webkit), Debian's,
// with a profile and a HOME of its own, which never downloads anything. Chromium and Firefox are
// driven by puppeteer-core (CDP, WebDriver BiDi); WebKitGTK by selenium-webdriver (WebDriver
// classic), behind a page with the part of puppeteer's API the tests use.
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const zlib = require('node:zlib');
const assert = require('node:assert/strict');

// The status of a skipped test: CTest's SKIP_RETURN_CODE for every test (tests/CMakeLists.txt).
const SKIP = 77;
const underCi = () => !['', '0', 'false', 'no'].includes((process.env.CI || '').toLowerCase());

// Ends the test for lack of `what`: skipped with one line, or failed under CI.
function missing(what, hint = 'scripts/install-deps test installs it') {
  if (underCi()) {
    console.log(`FAIL: not installed, and CI never skips: ${what} (${hint})`);
    process.exit(1);
  }
  console.log(`SKIP: not installed: ${what} (${hint})`);
  process.exit(SKIP);
}

// An npm module of tests/web, or the test skips (fails under CI) without it.
function need(name) {
  try {
    return require(name);
  } catch (error) {
    if (error.code !== 'MODULE_NOT_FOUND') throw error;
    return missing(name, '`npm ci` in tests/web installs it; scripts/test runs it');
  }
}

const puppeteer = need('puppeteer-core');
const ENGINE = process.env.FERNWICK_ENGINE || 'chromium';
const BASE = '/games/fernwick/';
const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm', '.json': 'application/json',
  '.webmanifest': 'application/manifest+json', '.css': 'text/css; charset=utf-8',
  '.png': 'image/png', '.gif': 'image/gif', '.svg': 'image/svg+xml', '.ico': 'image/x-icon',
  '.ttf': 'font/ttf', '.woff': 'font/woff', '.woff2': 'font/woff2',
};

// Serves under BASE the first of `roots` (a folder, or several) that has the file. `faults` maps
// a file name to 'missing' (404) or 'corrupt' (its bytes garbled); it can be changed while the
// server runs. With `gzip`, every response but the images (already compressed) goes out as gzip
// -9, compressed once, as a static server keeps it. A copy the browser revalidates comes back as
// 304 without a body. `requests` and `sent` hold each request's path and the body bytes sent.
async function serve(roots, { faults = {}, gzip = false } = {}) {
  roots = [roots].flat().map((root) => path.resolve(root));
  if (!fs.existsSync(path.join(roots[0], 'index.html'))) {
    throw new Error(`no page to test: ${roots[0]} has no index.html (is the web page built?)`);
  }
  const requests = [], sent = [], errors = [], bodies = {};
  const server = http.createServer((req, res) => {
    const url = new URL(req.url, 'http://localhost');
    requests.push(url.pathname);
    sent.push(0);
    res.on('finish', () => {
      if (res.statusCode >= 400) errors.push(`HTTP ${res.statusCode}: ${url.pathname}`);
    });
    const name = decodeURIComponent(url.pathname.slice(BASE.length)) || 'index.html';
    const fault = server.faults[name];
    const file = roots.map((root) => path.resolve(root, name)).find((f, i) =>
      f.startsWith(roots[i] + path.sep) && fs.existsSync(f) && fs.statSync(f).isFile());
    if (!url.pathname.startsWith(BASE) || !file || fault === 'missing') {
      res.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found');
      return;
    }
    const stat = fs.statSync(file), tag = `"${stat.size}-${stat.mtimeMs}${fault || ''}"`;
    if (req.headers['if-none-match'] === tag) {
      res.writeHead(304, { ETag: tag }).end();
      return;
    }
    let body = fs.readFileSync(file);
    if (ENGINE === 'webkit' && name === 'index.html') body = Buffer.from(instrument(body));
    if (fault === 'corrupt') body = Buffer.from(body.map((b, i) => (i < 64 ? b ^ 0x5a : b)));
    const zipped = gzip && !/\.(gif|png)$/.test(name);
    if (zipped) body = bodies[tag + file] ??= zlib.gzipSync(body, { level: 9 });
    sent[sent.length - 1] = body.length;
    res.writeHead(200, {
      'Content-Type': TYPES[path.extname(name)] || 'application/octet-stream',
      'Content-Length': body.length, 'Cache-Control': 'no-cache', ETag: tag,
      ...(zipped ? { 'Content-Encoding': 'gzip' } : {}),
    });
    res.end(body);
  });
  server.faults = faults;
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  Object.assign(server, { requests, sent, errors });
  const port = server.address().port;
  server.url = `http://127.0.0.1:${port}${BASE}`;
  // The network gone: nothing listens on the port any more, until it is started again.
  server.stop = () => new Promise((resolve) => {
    server.close(resolve);
    server.closeAllConnections();
  });
  server.start = () => new Promise((resolve) => server.listen(port, '127.0.0.1', resolve));
  return server;
}

// WebDriver classic reports no console: for WebKit the page served records its own console
// errors and warnings and its uncaught errors, in window.__fwLog, before its scripts run.
function instrument(html) {
  const recorder = `<script>(function(){var l=window.__fwLog=[];['error','warn'].forEach(
function(t){var f=console[t];console[t]=function(){l.push([t,[].join.call(arguments,' ')]);
return f.apply(console,arguments)}});addEventListener('error',function(e){l.push(['uncaught',
e.message])})})()</script>`;
  return String(html).replace('<head>', `<head>${recorder}`);
}

// Dark: the browser's colour scheme is dark from its start, where the engine cannot be told so
// while a page is open (Firefox over BiDi, WebKit).
async function launch({ dark = false } = {}) {
  const program = { chromium: process.env.FERNWICK_CHROMIUM || '/usr/bin/chromium',
                    firefox: process.env.FERNWICK_FIREFOX || '/usr/bin/firefox-esr',
                    webkit: 'WebKitWebDriver' }[ENGINE];
  if (!fs.existsSync(program) && !onPath(program)) missing(program);
  if (ENGINE === 'webkit') need('selenium-webdriver');
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), `fernwick-${ENGINE}-`));
  const home = { HOME: profile, XDG_CONFIG_HOME: profile, XDG_CACHE_HOME: profile,
                 XDG_DATA_HOME: profile };
  let browser;
  if (ENGINE === 'webkit') {
    browser = await require('./webkit').launch(profile, home, dark);
  } else if (ENGINE === 'firefox') {
    browser = await puppeteer.launch({
      browser: 'firefox',
      executablePath: program,
      headless: true,
      userDataDir: profile,
      env: { ...process.env, ...home, MOZ_CRASHREPORTER_DISABLE: '1' },
      extraPrefsFirefox: {
        'app.update.enabled': false, 'browser.shell.checkDefaultBrowser': false,
        // 0: dark, 1: light.
        'layout.css.prefers-color-scheme.content-override': dark ? 0 : 1,
        'ui.systemUsesDarkTheme': dark ? 1 : 0,
      },
    });
    // Its keys are named by the characters they type.
    const newPage = browser.newPage.bind(browser);
    browser.newPage = async () => firefoxKeys(await newPage());
    const newContext = browser.createBrowserContext.bind(browser);
    browser.createBrowserContext = async () => {
      const context = await newContext();
      const contextPage = context.newPage.bind(context);
      context.newPage = async () => firefoxKeys(await contextPage());
      return context;
    };
  } else {
    browser = await launchChromium(program, profile, home, dark);
  }
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

function firefoxKeys(page) {
  const name = (key) => (key === 'Space' ? ' ' : key);
  for (const how of ['press', 'down', 'up']) {
    const original = page.keyboard[how].bind(page.keyboard);
    page.keyboard[how] = (key, ...rest) => original(name(key), ...rest);
  }
  return page;
}

const onPath = (name) => (process.env.PATH || '').split(path.delimiter)
  .some((dir) => dir && fs.existsSync(path.join(dir, name)));

async function launchChromium(executablePath, profile, home, dark) {
  return puppeteer.launch({
    executablePath,
    headless: true,
    // Whatever Chromium keeps besides its profile goes there too, not into the caller's home.
    env: { ...process.env, ...home },
    args: [...(dark ? ['--force-dark-mode', '--blink-settings=preferredColorScheme=0'] : []),
           '--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           `--user-data-dir=${profile}`],
  });
}

// Records what a user should never meet: console errors and warnings, uncaught exceptions,
// failed requests and HTTP errors.
function watch(page) {
  if (page.problems) return page.problems;  // WebKit's
  const problems = [];
  page.on('console', (m) => {
    if (m.type() === 'error' || m.type() === 'warn') problems.push(`console ${m.type()}: ${m.text()}`);
  });
  page.on('pageerror', (e) => problems.push(`uncaught: ${e.message}`));
  page.on('requestfailed', (r) => problems.push(`failed request: ${r.url()} ${r.failure()?.errorText}`));
  page.on('response', (r) => {
    if (r.status() >= 400) problems.push(`HTTP ${r.status()}: ${r.url()}`);
  });
  return problems;
}

// What the game's sources say: the screens' texts as its toggle sets them, each as one line
// (TEXTS.WelcomeHeading, TEXTS.WonCaption, ...), and the window's client size in pixels at
// 96 DPI, from the table's twips (15 to a pixel there).
const source = (file) => fs.readFileSync(path.join(__dirname, '../../..', file), 'utf8');
const TEXTS = Object.fromEntries([...source('game/start_button_toggle.h')
  .matchAll(/k(\w+) =\s*u"((?:[^"\\]|\\.)*)"/g)]
  .map(([, name, text]) => [name, JSON.parse(`"${text}"`).replace(/\s+/g, ' ').trim()]));
const CLIENT = ['Width', 'Height'].map((side) =>
  Number(source('app/control_table.h').match(new RegExp(`\\.client${side} = (\\d+)`))[1]) / 15);

// Opens the page and waits until the game is drawn and ready for input.
async function open(page, url) {
  await page.goto(url, { waitUntil: 'load' });
  await page.waitForFunction((caption) => {
    const b = document.getElementById('STARTBUTTON');
    return b && b.textContent.trim() === caption;
  }, { timeout: 30000 }, TEXTS.WelcomeCaption);
}

const heading = (page) =>
  page.$eval('#HEADING', (h) => h.innerText.replace(/\s+/g, ' ').trim());
const caption = (page) => page.$eval('#STARTBUTTON', (b) => b.textContent.trim());

const WELCOME = TEXTS.WelcomeHeading;
const WON = TEXTS.WonHeading;

// The screen after `presses` presses from the start: it alternates.
async function expectScreen(page, presses, what) {
  const won = presses % 2 === 1;
  await page.waitForFunction((text) =>
    document.getElementById('HEADING').innerText.replace(/\s+/g, ' ').trim() === text,
  { timeout: 10000 }, won ? WON : WELCOME).catch(() => {});
  assert.equal(await heading(page), won ? WON : WELCOME, `heading ${what}`);
  // Read as the engine gives it: words apart, and no line end of the game's text in it.
  const raw = await page.$eval('#HEADING', (h) => h.innerText);
  assert.ok(!/\r/.test(raw) && !/[a-z!][A-Z]/.test(raw), `heading's text ${JSON.stringify(raw)}`);
  assert.equal(await caption(page), won ? TEXTS.WonCaption : TEXTS.WelcomeCaption, `button ${what}`);
}

// A check that holds only in `engines`: elsewhere it is skipped, saying why.
const only = (engines, why, check) =>
  (engines.includes(ENGINE) ? check : Object.assign(async () => {}, { skip: why }));

// Runs the named checks in order, printing each; exits non-zero if any failed.
async function run(checks) {
  let failed = 0, skipped = 0;
  for (const [name, check] of checks) {
    if (check.skip) {
      skipped++;
      console.log(`ok - ${name} # SKIP in ${ENGINE}: ${check.skip}`);
      continue;
    }
    try {
      await check();
      console.log(`ok - ${name}`);
    } catch (error) {
      failed++;
      console.log(`not ok - ${name}\n  ${String(error.stack || error).replace(/\n/g, '\n  ')}`);
    }
  }
  console.log(`${checks.length - failed - skipped} passed, ${failed} failed, ${skipped} skipped`);
  process.exitCode = failed ? 1 : 0;
}

// Serves the built page, starts a browser and runs `test(browser, server)`; both are closed after
// it, and whatever it throws fails the test.
function session(test, options) {
  (async () => {
    const server = await serve(pageRoot());
    const browser = await launch(options);
    try {
      await test(browser, server);
    } finally {
      await browser.close();
      server.close();
    }
  })().catch((error) => {
    console.error(error);
    process.exitCode = 1;
  });
}

function pageRoot() {
  const root = process.argv[2] || process.env.FERNWICK_WEB_ROOT;
  if (!root) throw new Error('usage: node <test> <folder of the built page>');
  return path.resolve(root);
}

module.exports = { ENGINE, SKIP, missing, need, only, serve, launch, watch, open, expectScreen,
                   run, session, pageRoot, WELCOME, WON, TEXTS, CLIENT };
