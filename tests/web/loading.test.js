'use strict';
// Loading: after one visit the page plays offline and a new version replaces the old one; a
// missing or corrupt .wasm is said in plain words and named in the console.
const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const h = require('./lib/harness');

// Opens the page in a context of its own with `file` served as `fault`; waits for the alert.
async function broken(browser, server, file, fault) {
  server.faults = { [file]: fault };
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  const console_ = [];
  let named;
  const naming = new Promise((resolve) => { named = resolve; });
  page.on('console', (m) => {
    console_.push(`${m.type()}: ${m.text()}`);
    if ((m.type() === 'error' || m.type() === 'warn') && m.text().includes(file)) named(true);
  });
  page.on('pageerror', (e) => console_.push(`uncaught: ${e.message}`));
  try {
    await page.goto(server.url, { waitUntil: 'load' });
    const alert = await page.waitForSelector('[role="alert"]', { visible: true, timeout: 30000 });
    const said = (await alert.evaluate((a) => a.innerText)).trim();
    assert.ok(said.length > 10 && !/wasm|abort|exception|undefined|\{/i.test(said),
              `the message is not in plain words: "${said}"`);
    let timer;
    const late = new Promise((resolve) => { timer = setTimeout(resolve, 10000, false); });
    const found = await Promise.race([naming, late]);
    clearTimeout(timer);
    assert.ok(found, `the console does not name ${file}:\n${console_.join('\n')}`);
    assert.ok(!(await page.$('#STARTBUTTON:not([hidden])')) ||
              !(await page.$eval('#STARTBUTTON', (b) => b.checkVisibility())),
              'a dead button is shown');
  } finally {
    await context.close();
    server.faults = {};
  }
}

// Once the worker has stored all the page loaded before it (but its own script, which WebKit lists).
const kept = (page) => page.waitForFunction(async () => {
  await navigator.serviceWorker.ready;
  const cache = await caches.open((await caches.keys())[0]);
  const loaded = performance.getEntriesByType('resource').map((r) => r.name)
    .filter((url) => !url.endsWith('/sw.js'));
  return (await Promise.all(loaded.map((url) => cache.match(url)))).every(Boolean);
}, { timeout: 30000 });

const edit = (site, file, change) =>
  fs.writeFileSync(path.join(site, file), change(fs.readFileSync(path.join(site, file), 'utf8')));

h.session(async (browser, server) => {
  await h.run([
    ['after one visit it plays offline; a new version of the site replaces that one', async () => {
      const site = fs.mkdtempSync(path.join(os.tmpdir(), 'fernwick-site-'));
      fs.cpSync(h.pageRoot(), site, { recursive: true });
      const copy = await h.serve(site);
      const context = await browser.createBrowserContext();
      const page = await context.newPage();
      try {
        await h.open(page, copy.url);
        await kept(page);
        const served = copy.requests.length;
        await copy.stop();
        await h.open(page, copy.url);
        await page.keyboard.press('Space');
        await h.expectScreen(page, 1, 'offline, after Space');
        assert.deepEqual(copy.requests.slice(served), [], 'the offline reload reached the server');
        // What a new build changes: a file, and with it the name of the worker's cache.
        edit(site, 'index.html', (text) => text.replace('</title>', '</title><meta name="v2">'));
        edit(site, 'sw.js', (text) => text.replace(/fernwick-[0-9a-f]+/, 'fernwick-2'));
        await copy.start();
        await h.open(page, copy.url);
        await page.waitForFunction(async () => (await caches.keys()).join() === 'fernwick-2',
                                   { timeout: 30000 });
        await copy.stop();
        await h.open(page, copy.url);
        assert.ok(await page.$('meta[name="v2"]'), 'offline, the page is still the old one');
      } finally {
        await context.close();
        copy.close();
        fs.rmSync(site, { recursive: true, force: true });
      }
    }],
    ...['missing', 'corrupt'].map((fault) => [
      `a ${fault} fernwick.wasm: a message in plain words, the console names it`,
      () => broken(browser, server, 'fernwick.wasm', fault)]),
  ]);
});
