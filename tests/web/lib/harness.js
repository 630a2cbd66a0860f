'use strict';
// What every browser test shares: a static server for the built page, at a sub-path of
// 127.0.0.1 and a free port, that can be told to leave one file out or corrupt it; and a headless
// Chromium with a profile of its own, which never downloads anything.
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const assert = require('node:assert/strict');

let puppeteer;
try {
  puppeteer = require('puppeteer-core');
} catch (error) {
  console.error('puppeteer-core is not installed: run `npm ci` in tests/web (scripts/test does)');
  process.exit(1);
}

const BASE = '/games/fernwick/';
const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm', '.json': 'application/json',
  '.webmanifest': 'application/manifest+json', '.css': 'text/css; charset=utf-8',
  '.png': 'image/png', '.gif': 'image/gif', '.svg': 'image/svg+xml', '.ico': 'image/x-icon',
  '.ttf': 'font/ttf', '.woff': 'font/woff', '.woff2': 'font/woff2',
};

// Serves `root` under BASE. `faults` maps a file name to 'missing' (404) or 'corrupt' (its
// bytes garbled); it can be changed while the server runs.
async function serve(root, faults = {}) {
  if (!fs.existsSync(path.join(root, 'index.html'))) {
    throw new Error(`no page to test: ${root} has no index.html (is the web page built?)`);
  }
  const requests = [];
  const server = http.createServer((req, res) => {
    const url = new URL(req.url, 'http://localhost');
    requests.push(url.pathname);
    if (!url.pathname.startsWith(BASE)) {
      res.writeHead(404).end();
      return;
    }
    const name = decodeURIComponent(url.pathname.slice(BASE.length)) || 'index.html';
    const file = path.resolve(root, name);
    const fault = server.faults[name];
    if (!file.startsWith(path.resolve(root) + path.sep) || fault === 'missing' ||
        !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      res.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found');
      return;
    }
    let body = fs.readFileSync(file);
    if (fault === 'corrupt') body = Buffer.from(body.map((b, i) => (i < 64 ? b ^ 0x5a : b)));
    res.writeHead(200, {
      'Content-Type': TYPES[path.extname(name)] || 'application/octet-stream',
      'Content-Length': body.length, 'Cache-Control': 'no-cache',
    });
    res.end(body);
  });
  server.faults = faults;
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  server.requests = requests;
  server.url = `http://127.0.0.1:${server.address().port}${BASE}`;
  return server;
}

async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'fernwick-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.FERNWICK_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    // Whatever Chromium keeps besides its profile goes there too, not into the caller's home.
    env: { ...process.env, HOME: profile, XDG_CONFIG_HOME: profile, XDG_CACHE_HOME: profile },
    args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           `--user-data-dir=${profile}`],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// Records what a user should never meet: console errors and warnings, uncaught exceptions,
// failed requests and HTTP errors.
function watch(page) {
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

// Opens the page and waits until the game is drawn and ready for input.
async function open(page, url) {
  await page.goto(url, { waitUntil: 'load' });
  await page.waitForFunction(() => {
    const b = document.getElementById('STARTBUTTON');
    return b && b.textContent.trim() === 'BEGIN FERNWICK!';
  }, { timeout: 30000 });
}

const heading = (page) =>
  page.$eval('#HEADING', (h) => h.innerText.replace(/\s+/g, ' ').trim());
const caption = (page) => page.$eval('#STARTBUTTON', (b) => b.textContent.trim());

const WELCOME = 'Welcome to FERNWICK!';
const WON = 'Congratulations! You have clocked Fernwick! SCORE = 1';

// The screen after `presses` presses from the start: it alternates.
async function expectScreen(page, presses, what) {
  const won = presses % 2 === 1;
  await page.waitForFunction((text) =>
    document.getElementById('HEADING').innerText.replace(/\s+/g, ' ').trim() === text,
  { timeout: 10000 }, won ? WON : WELCOME).catch(() => {});
  assert.equal(await heading(page), won ? WON : WELCOME, `heading ${what}`);
  assert.equal(await caption(page), won ? 'Click to restart game!' : 'BEGIN FERNWICK!', `button ${what}`);
}

// Runs the named checks in order, printing each; exits non-zero if any failed.
async function run(checks) {
  let failed = 0;
  for (const [name, check] of checks) {
    try {
      await check();
      console.log(`ok - ${name}`);
    } catch (error) {
      failed++;
      console.log(`not ok - ${name}\n  ${String(error.stack || error).replace(/\n/g, '\n  ')}`);
    }
  }
  console.log(`${checks.length - failed} passed, ${failed} failed`);
  process.exitCode = failed ? 1 : 0;
}

// Serves the built page, starts a browser and runs `test(browser, server)`; both are closed after
// it, and whatever it throws fails the test.
function session(test) {
  (async () => {
    const server = await serve(pageRoot());
    const browser = await launch();
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

module.exports = { serve, launch, watch, open, expectScreen, run, session,
                   pageRoot, WELCOME, WON };
