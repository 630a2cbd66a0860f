'use strict';
// bench/web/bench.js SITE ROUNDS PRESSES: the game's page in SITE against the same screen as a
// plain page (bench/web/plain), both served gzipped from 127.0.0.1, in headless Chromium. Prints
// JSON: per page and round, the bytes served and the first complete paint; then press times.
const fs = require('node:fs'), http = require('node:http');
const path = require('node:path'), zlib = require('node:zlib');
const { launch } = require('../../tests/web/lib/harness.js');
const [site, rounds, presses] = [path.resolve(process.argv[2]), +process.argv[3], +process.argv[4]];
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.gif': 'image/gif', '.png': 'image/png', '.svg': 'image/svg+xml', '.ttf': 'font/ttf' };

// Serves the first of `roots` that has the file; every response but the images (already
// compressed) goes out as gzip -9, compressed once as a static server keeps it. `log` holds the
// name and body bytes of each request.
async function serve(...roots) {
  const log = [], bodies = {}, server = http.createServer((req, res) => {
    let name = decodeURIComponent(new URL(req.url, 'http://x').pathname).slice(1);
    name = name === '' || name.endsWith('/') ? name + 'index.html' : name;
    const file = roots.map((root) => path.join(root, name)).find((f) => !f.includes('..') &&
        fs.statSync(f, { throwIfNoEntry: false })?.isFile());
    log.push([name, 0]);
    if (!file) return res.writeHead(404).end();
    // A copy the browser revalidates comes back as 304, without a body, as from any file server.
    const stat = fs.statSync(file), tag = `"${stat.size}-${stat.mtimeMs}"`;
    if (req.headers['if-none-match'] === tag) return res.writeHead(304, { ETag: tag }).end();
    const plain = /\.(gif|png)$/.test(name);
    const body = bodies[tag + file] ??= plain ? fs.readFileSync(file)
                                              : zlib.gzipSync(fs.readFileSync(file), { level: 9 });
    log.at(-1)[1] = body.length;
    res.writeHead(200, { 'Content-Type': TYPES[path.extname(name)] || 'application/octet-stream',
      'Content-Length': body.length, 'Cache-Control': 'no-cache', ETag: tag,
      ...(plain ? {} : { 'Content-Encoding': 'gzip' }) }).end(body);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return Object.assign(server, { log, url: `http://127.0.0.1:${server.address().port}/` });
}

const ready = () => document.getElementById('STARTBUTTON')?.textContent.trim() === 'BEGIN FERNWICK!';

// One load in a fresh context: bytes served until no request has come for a second, and the
// first traced frame equal to the last one (the settled screen), from navigation start.
async function load(browser, server) {
  const context = await browser.createBrowserContext(), page = await context.newPage();
  await page.tracing.start({ screenshots: true, categories: ['blink.user_timing'] });
  server.log.length = 0;
  await page.goto(server.url, { waitUntil: 'load' });
  await page.waitForFunction(ready, { timeout: 30000 });
  for (let n = -1; n !== server.log.length; await sleep(1000)) n = server.log.length;
  const events = JSON.parse(Buffer.from(await page.tracing.stop()).toString()).traceEvents;
  await context.close();
  const start = events.find((e) => e.name === 'navigationStart' &&
                            e.args.data?.documentLoaderURL === server.url).ts;
  const frames = events.filter((e) => e.name === 'Screenshot' && e.ts >= start);
  const last = frames.at(-1).args.snapshot;
  return { bytes: server.log.reduce((sum, [, n]) => sum + n, 0), requests: server.log.map(([f]) => f),
           paint_ms: (frames.find((f) => f.args.snapshot === last).ts - start) / 1000 };
}

// Each press comes at the start of a frame, as Chromium hands input to the page; the time runs
// until that frame is rendered (handler, style, layout, paint), -1 if the screen had not changed.
async function pressTimes(browser, server) {
  const page = await browser.newPage();
  await page.goto(server.url);
  await page.waitForFunction(ready, { timeout: 30000 });
  return page.evaluate(async (n) => {
    const button = document.getElementById('STARTBUTTON'), times = [];
    const frame = () => new Promise((resolve) => requestAnimationFrame(resolve));
    const rendered = () => new Promise((resolve) => {
      const channel = new MessageChannel();
      channel.port1.onmessage = resolve;
      channel.port2.postMessage(0);
    });
    for (let i = 0; i < n; i++) {
      await frame();
      const before = document.body.innerText, t = performance.now();
      button.click();
      await rendered();
      times.push(document.body.innerText === before ? -1 : performance.now() - t);
    }
    return times;
  }, presses);
}

(async () => {
  // The plain page takes the font from the game's site, the dog from the assets.
  const servers = { game: await serve(site), plain: await serve(path.join(__dirname, 'plain'),
                    site, path.join(__dirname, '../../assets/picture')) };
  const browser = await launch(), out = { game: { loads: [] }, plain: { loads: [] } };
  for (let r = 0; r < rounds; r++) {
    for (const which of r % 2 ? ['plain', 'game'] : ['game', 'plain'])
      out[which].loads.push(await load(browser, servers[which]));
  }
  for (const which of ['game', 'plain']) out[which].press_ms = await pressTimes(browser, servers[which]);
  await browser.close();
  Object.values(servers).forEach((s) => s.close());
  console.log(JSON.stringify(out));
})().catch((error) => { console.error(error); process.exit(1); });
