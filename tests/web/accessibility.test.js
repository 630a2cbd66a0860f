'use strict';
// What assistive technology is given: the heading by its text, announced whole when it changes,
// the dog, the button, never the hidden state; no axe-core violation. The tree is Chromium's only.
const assert = require('node:assert/strict');
const path = require('node:path');
const h = require('./lib/harness');

const axeSource = require('node:fs').readFileSync(
  path.join(path.dirname(require.resolve('axe-core')), 'axe.min.js'), 'utf8');

function flatten(node, out = []) {
  if (node) {
    out.push(node);
    for (const child of node.children || []) flatten(child, out);
  }
  return out;
}

h.session(async (browser, server) => {
  const page = await browser.newPage();
  await h.open(page, server.url);
  const tree = async () => flatten(await page.accessibility.snapshot({ interestingOnly: false }));
  const axe = async () => {
    await page.evaluate(axeSource);
    const result = await page.evaluate(() => window.axe.run(document));
    return result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(' ')}`);
  };
  const checks = [];
  for (const [presses, text] of [[0, h.WELCOME], [1, h.WON]]) {
    const screen = presses ? 'the won screen' : 'the welcome screen';
    checks.push([`${screen}: the heading named in words, announced whole; no hidden state`, async () => {
      if (presses) {
        await page.keyboard.press('Space');
        await h.expectScreen(page, 1, 'after Space');
      }
      await page.evaluate(axeSource);
      const dom = await page.evaluate(() => {
        const live = document.getElementById('HEADING').closest('[aria-live]');
        window.axe.setup(document);
        const name = window.axe.commons.text.accessibleText(document.getElementById('HEADING'));
        window.axe.teardown();
        return { name, atomic: live?.getAttribute('aria-atomic'), live: live?.getAttribute('aria-live'),
                 html: document.documentElement.outerHTML.replace(/<script[\s\S]*?<\/script>/g, ''),
                 text: document.body.innerText.replace(/\s+/g, ' '),
                 lang: document.documentElement.lang, title: document.title };
      });
      assert.equal(dom.name.replace(/\s+/g, ' ').trim(), text, 'the heading\'s accessible name');
      assert.ok(!/\r/.test(dom.name), `a line end in the heading's name: ${JSON.stringify(dom.name)}`);
      assert.equal(dom.atomic, 'true', 'the live region is announced whole');
      assert.equal(dom.live, 'polite', 'the heading is in a polite live region');
      assert.equal(dom.lang, 'en');
      assert.equal(dom.title, 'FernWick');
      assert.ok(!/id=["']?status\b/.test(dom.html), 'the hidden state label is not in the DOM');
      assert.ok(!/\b(True|False)\b/.test(dom.text) && !/\bclocked\b/.test(dom.text.replace(text, '')),
                `state in the page's text: ${dom.text}`);
    }]);
    checks.push([`${screen}: heading, dog and button in the accessibility tree`, h.only(['chromium'],
      'the browser\'s accessibility tree is read over CDP, Chromium\'s own protocol', async () => {
      const nodes = await tree();
      const named = (role) => nodes.filter((n) => n.role === role).map((n) => n.name.replace(/\s+/g, ' ').trim());
      assert.deepEqual(named('heading'), [text]);
      assert.deepEqual(named('image'), ['Cartoon dog']);
      assert.deepEqual(named('button'), [presses ? h.TEXTS.WonCaption : h.TEXTS.WelcomeCaption]);
      assert.ok(nodes.find((n) => n.role === 'button').focused, 'the button has the focus');
      // Only the won heading's own text may say "clocked": anything else is the hidden state.
      const squash = (s) => String(s ?? '').replace(/\s+/g, ' ').trim();
      for (const n of nodes) {
        for (const field of [n.name, n.value, n.description]) {
          const said = squash(field);
          if (!/clocked|True|False/.test(said)) continue;
          assert.ok(said !== 'clocked' && !/True|False/.test(said) && text.includes(said),
                    `the state in the accessibility tree: ${n.role} "${said}"`);
        }
      }
    })]);
    checks.push([`${screen}: axe-core finds no violation`, async () => {
      assert.deepEqual(await axe(), []);
    }]);
  }
  await h.run(checks);
});
