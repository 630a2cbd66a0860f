'use strict';
// Keyboard, mouse and touch as on the desktop: Space, a click and a tap press the button, Enter
// and Escape do not, Tab keeps its focus; no failed request, console error or warning on the way.
const assert = require('node:assert/strict');
const h = require('./lib/harness');

h.session(async (browser, server) => {
  const page = await browser.newPage();
  const problems = h.watch(page);
  const focused = () => page.evaluate(() => document.activeElement?.id);
  await h.run([
    ['the button has the focus at load', async () => {
      await h.open(page, server.url);
      await h.expectScreen(page, 0, 'at load');
      assert.equal(await focused(), 'STARTBUTTON');
    }],
    ['Space presses the button; Enter and Escape do not', async () => {
      await page.keyboard.press('Space');
      await h.expectScreen(page, 1, 'after Space');
      // The screen after the Space that follows each key tells whether that key pressed too.
      for (const [i, key] of ['Enter', 'Escape'].entries()) {
        await page.keyboard.press(key);
        await page.keyboard.press('Space');
        await h.expectScreen(page, 2 + i, `after ${key} then Space`);
      }
    }],
    ['Tab and Shift+Tab keep the focus on the button', async () => {
      for (const keys of [['Tab'], ['Shift', 'Tab'], ['Tab'], ['Tab']]) {
        for (const k of keys) await page.keyboard.down(k);
        for (const k of keys.reverse()) await page.keyboard.up(k);
        assert.equal(await focused(), 'STARTBUTTON', `focus after ${keys.join('+')}`);
      }
      await page.keyboard.press('Space');
      await h.expectScreen(page, 4, 'Space after Tabs');
    }],
    ['a click is a press, a double-click two', async () => {
      await page.click('#STARTBUTTON');
      await h.expectScreen(page, 5, 'after a click');
      await page.click('#STARTBUTTON', { count: 2 });
      await h.expectScreen(page, 7, 'after a double-click');
      await page.click('#STARTBUTTON');
      await h.expectScreen(page, 8, 'after a click');
    }],
    ['a tap on a phone is a press, and the game fits the screen', h.only(['chromium', 'firefox'],
      'WebDriver classic has no phone screen or touch to emulate', async () => {
      const phone = await browser.newPage();
      const phoneProblems = h.watch(phone);
      await phone.setViewport({ width: 360, height: 640, deviceScaleFactor: 2, isMobile: true,
                                hasTouch: true });
      await h.open(phone, server.url);
      const box = await (await phone.$('#STARTBUTTON')).boundingBox();
      await phone.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
      await h.expectScreen(phone, 1, 'after a tap');
      const fit = await phone.evaluate(() => {
        const r = document.getElementById('Form1').getBoundingClientRect();
        return { zoom: window.visualViewport.scale, right: r.right, bottom: r.bottom,
                 scroll: document.documentElement.scrollWidth };
      });
      assert.equal(fit.zoom, 1);
      assert.ok(fit.right <= 360 && fit.bottom <= 640 && fit.scroll <= 360, JSON.stringify(fit));
      assert.deepEqual(phoneProblems, []);
      await phone.close();
    })],
    ['no failed request, console error or warning', async () => {
      assert.deepEqual([...problems, ...server.errors], []);
    }],
  ]);
});
