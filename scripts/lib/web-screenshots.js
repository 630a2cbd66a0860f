// node scripts/lib/web-screenshots.js ADDRESS FOLDER: the page's welcome screen, and its won
// screen after one press of Space, as web-welcome.png and web-won.png, taken in headless Chromium
// by the browser tests' harness. Whatever a player should never meet (a console error, a failed
// request) goes to stderr and makes the status 1.
'use strict';
const path = require('path');
const h = require('../../tests/web/lib/harness');

(async () => {
  const [address, folder] = process.argv.slice(2);
  const browser = await h.launch();
  try {
    const page = await browser.newPage();
    const problems = h.watch(page);
    await h.open(page, address);
    await page.waitForFunction(() => document.getElementById('Picture1').complete);
    const main = await page.$('#Form1');
    await main.screenshot({ path: path.join(folder, 'web-welcome.png') });
    await page.keyboard.press(' ');
    await h.expectScreen(page, 1, 'after Space');
    await main.screenshot({ path: path.join(folder, 'web-won.png') });
    problems.forEach((problem) => console.error(problem));
    process.exitCode = problems.length ? 1 : 0;
  } finally {
    await browser.close();
  }
})().catch((e) => { console.error(e); process.exitCode = 2; });
