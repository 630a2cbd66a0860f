'use strict';
// What every browser test and the web bench share: the skip rule, a static server for the built
// page, and a browser of the engine FERNWICK_ENGINE names (chromium, firefox, webkit) with a
// profile and HOME of its own. WebKitGTK is driven through ./webkit behind puppeteer's API.
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const zlib = require('node:zlib');
const assert = require('node:assert/strict');

// The status of a skipped test: CTest's SKIP_RETURN_CODE for every test (tests/CMakeLists.txt).
const SKIP = 77;
const underCi = () => !['', '0', 'false', 'no'].includes((process.env.CI || '').toLowerCase());

// Ends the test for lack of `what`: skipped with one line, or failed under CI, which never skips.
function missing(what, hint = 'scripts/install-deps test installs it') {
  const ci = underCi();
  console.log(`${ci ? 'FAIL: not installed, and CI never skips' : 'SKIP: not installed'}: ${what} (${hint})`);
  process.exit(ci ? 1 : SKIP);
}

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

// Serves under BASE the first of `roots` that has the file. `faults` (changeable while it runs)
// maps a file name to 'missing' or 'corrupt'. `gzip` compresses all but the images once, as a
// static server keeps them. `requests` and `sent` hold each request's path and body bytes.
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
  Object.assign(server, { faults, requests, sent, errors });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
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

// WebDriver classic reports no console: for WebKit the page records its own in window.__fwLog.
function instrument(html) {
  const recorder = `<script>(function(){var l=window.__fwLog=[];['error','warn'].forEach(
function(t){var f=console[t];console[t]=function(){l.push([t,[].join.call(arguments,' ')]);
return f.apply(console,arguments)}});addEventListener('error',function(e){l.push(['uncaught',
e.message])})})()</script>`;
  return String(html).replace('<head>', `<head>${recorder}`);
}

// `dark`: dark from the start, for engines that cannot be told so while a page is open.
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
      browser: 'firefox', executablePath: program, headless: true, userDataDir: profile,
      env: { ...process.env, ...home, MOZ_CRASHREPORTER_DISABLE: '1' },
      extraPrefsFirefox: {
        'app.update.enabled': false, 'browser.shell.checkDefaultBrowser': false,
        // 0: dark, 1: light.
        'layout.css.prefers-color-scheme.content-override': dark ? 0 : 1,
        'ui.systemUsesDarkTheme': dark ? 1 : 0,
      },
    });
    // Its keys are named by the characters they type.
    firefoxPages(browser);
    const newContext = browser.createBrowserContext.bind(browser);
    browser.createBrowserContext = async () => firefoxPages(await newContext());
  } else {
    browser = await puppeteer.launch({
      executablePath: program, headless: true, env: { ...process.env, ...home },
      args: [...(dark ? ['--force-dark-mode', '--blink-settings=preferredColorScheme=0'] : []),
             '--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
             '--disable-background-networking', '--disable-component-update', '--disable-sync',
             `--user-data-dir=${profile}`],
    });
  }
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

function firefoxPages(owner) {
  const newPage = owner.newPage.bind(owner);
  owner.newPage = async () => {
    const page = await newPage();
    for (const how of ['press', 'down', 'up']) {
      const original = page.keyboard[how].bind(page.keyboard);
      page.keyboard[how] = (key, ...rest) => original(key === 'Space' ? ' ' : key, ...rest);
    }
    return page;
  };
  return owner;
}

const onPath = (name) => (process.env.PATH || '').split(path.delimiter)
  .some((dir) => dir && fs.existsSync(path.join(dir, name)));

// Records what a user should never meet: console errors and warnings, uncaught errors, failures.
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

// From the game's sources: its texts, each on one line (TEXTS.WonCaption, ...), and the client
// size in pixels at 96 DPI (15 twips each).
const source = (file) => fs.readFileSync(path.join(__dirname, '../../..', file), 'utf8');
const TEXTS = Object.fromEntries([...source('game/start_button_toggle.h')
  .matchAll(/k(\w+) =\s*u"((?:[^"\\]|\\.)*)"/g)]
  .map(([, name, text]) => [name, JSON.parse(`"${text}"`).replace(/\s+/g, ' ').trim()]));
const CLIENT = ['Width', 'Height'].map((side) =>
  Number(source('app/control_table.h').match(new RegExp(`\\.client${side} = (\\d+)`))[1]) / 15);

async function open(page, url) {
  await page.goto(url, { waitUntil: 'load' });
  await page.waitForFunction((caption) => {
    const b = document.getElementById('STARTBUTTON');
    return b && b.textContent.trim() === caption;
  }, { timeout: 30000 }, TEXTS.WelcomeCaption);
}

const { WelcomeHeading: WELCOME, WonHeading: WON } = TEXTS;

// The screen after `presses` presses from the start: it alternates.
async function expectScreen(page, presses, what) {
  const won = presses % 2 === 1;
  await page.waitForFunction((text) =>
    document.getElementById('HEADING').innerText.replace(/\s+/g, ' ').trim() === text,
  { timeout: 10000 }, won ? WON : WELCOME).catch(() => {});
  // Read as the engine gives it: words apart, and no line end of the game's text in it.
  const raw = await page.$eval('#HEADING', (h) => h.innerText);
  assert.equal(raw.replace(/\s+/g, ' ').trim(), won ? WON : WELCOME, `heading ${what}`);
  assert.ok(!/\r/.test(raw) && !/[a-z!][A-Z]/.test(raw), `heading's text ${JSON.stringify(raw)}`);
  const caption = await page.$eval('#STARTBUTTON', (b) => b.textContent.trim());
  assert.equal(caption, won ? TEXTS.WonCaption : TEXTS.WelcomeCaption, `button ${what}`);
}

// A check that holds only in `engines`: elsewhere it is skipped, saying why.
const only = (engines, why, check) =>
  (engines.includes(ENGINE) ? check : Object.assign(async () => {}, { skip: why }));

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

// Runs `test(browser, server)` on the built page; whatever it throws fails the test.
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
