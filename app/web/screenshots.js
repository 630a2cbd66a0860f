// node app/web/screenshots.js <page address> <folder> [scale]
// Photographs the page in headless Chromium: the welcome screen, then the won screen after one
// press of the button, as web-welcome.png and web-won.png. Each console message, failed request
// and page error goes to stderr, and makes the exit status 1.
'use strict';
const path = require('path');
const puppeteer = require('puppeteer-core');

(async () => {
  const [address, folder, scale = '1'] = process.argv.slice(2);
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--window-size=400,400'],
  });
  let troubles = 0;
  const trouble = (what) => { ++troubles; console.error(what); };
  try {
    const page = await browser.newPage();
    page.on('console', (m) => trouble(`console ${m.type()}: ${m.text()}`));
    page.on('pageerror', (e) => trouble(`page error: ${e.message}`));
    page.on('requestfailed', (r) => trouble(`request failed: ${r.url()}`));
    page.on('response', (r) => r.status() >= 400 && trouble(`${r.status()}: ${r.url()}`));
    await page.setViewport({width: 320, height: 400, deviceScaleFactor: Number(scale)});
    await page.goto(address);
    await page.waitForSelector('#HEADING span');
    await page.waitForFunction(() => document.getElementById('Picture1').complete);
    const main = await page.$('#Form1');
    await main.screenshot({path: path.join(folder, 'web-welcome.png')});
    await page.keyboard.press('Space');
    await page.waitForFunction(() => /Congratulations/.test(document.getElementById('HEADING').textContent));
    await main.screenshot({path: path.join(folder, 'web-won.png')});
  } finally {
    await browser.close();
  }
  process.exit(troubles ? 1 : 0);
})().catch((e) => { console.error(e); process.exit(2); });
