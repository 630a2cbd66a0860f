'use strict';
// bench/web/bench.js SITE ROUNDS PRESSES: the game's page in SITE against the same screen as a
// plain page (bench/web/plain), served gzipped by the browser tests' server to headless Chromium.
// Prints JSON: per page, each round's bytes served and first complete paint, then press times.
const path = require('node:path');
const { launch, open, serve } = require('../../tests/web/lib/harness.js');
const [site, rounds, presses] = [path.resolve(process.argv[2]), +process.argv[3], +process.argv[4]];
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// One load in a fresh context: bytes served until no request has come for a second, and the
// first traced frame equal to the last one (the settled screen), from navigation start.
async function load(browser, server) {
  const context = await browser.createBrowserContext(), page = await context.newPage();
  await page.tracing.start({ screenshots: true, categories: ['blink.user_timing'] });
  server.requests.length = server.sent.length = 0;
  await open(page, server.url);
  for (let n = -1; n !== server.requests.length; await sleep(1000)) n = server.requests.length;
  const events = JSON.parse(Buffer.from(await page.tracing.stop()).toString()).traceEvents;
  await context.close();
  const start = events.find((e) => e.name === 'navigationStart' &&
                            e.args.data?.documentLoaderURL === server.url).ts;
  const frames = events.filter((e) => e.name === 'Screenshot' && e.ts >= start);
  const last = frames.at(-1).args.snapshot;
  return { bytes: server.sent.reduce((sum, n) => sum + n, 0), requests: [...server.requests],
           paint_ms: (frames.find((f) => f.args.snapshot === last).ts - start) / 1000 };
}

// Each press comes at the start of a frame, as Chromium hands input to the page; the time runs
// until that frame is rendered (handler, style, layout, paint), -1 if the screen had not changed.
async function pressTimes(browser, server) {
  const page = await browser.newPage();
  await open(page, server.url);
  return page.evaluate(async (n) => {
    const button = document.getElementById('STARTBUTTON'), times = [], channel = new MessageChannel();
    for (let i = 0; i < n; i++) {
      await new Promise((resolve) => requestAnimationFrame(resolve));
      const before = document.body.innerText, t = performance.now();
      button.click();
      await new Promise((resolve) => {  // a task after the rendering of this frame
        channel.port1.onmessage = resolve;
        channel.port2.postMessage(0);
      });
      times.push(document.body.innerText === before ? -1 : performance.now() - t);
    }
    return times;
  }, presses);
}

(async () => {
  // The plain page takes the font from the game's site, the dog from the assets.
  const plain = [path.join(__dirname, 'plain'), site, path.join(__dirname, '../../assets/picture')];
  const servers = { game: await serve(site, { gzip: true }), plain: await serve(plain, { gzip: true }) };
  const browser = await launch(), out = { game: { loads: [] }, plain: { loads: [] } };
  for (let r = 0; r < rounds; r++)
    for (const which of r % 2 ? ['plain', 'game'] : ['game', 'plain'])
      out[which].loads.push(await load(browser, servers[which]));
  for (const which of ['game', 'plain']) out[which].press_ms = await pressTimes(browser, servers[which]);
  await browser.close();
  Object.values(servers).forEach((s) => s.close());
  console.log(JSON.stringify(out));
})().catch((error) => { console.error(error); process.exit(1); });
