'use strict';
// The page against the Linux game (the second argument): both screens draw each line of the
// heading in the same place, within TOLERANCE pixels of its ink on every side.
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const h = require('./lib/harness');

// FreeType's and Skia's rasterising of the same face differ this much.
const TOLERANCE = 2;
const ROOT = path.join(__dirname, '../..');

// The Linux game's client area before and after a click at `button`, as PNGs in base64.
function desktopShots(program, button) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'fernwick-desktop-'));
  const env = { ...process.env, HOME: dir, XDG_RUNTIME_DIR: dir, QT_QPA_PLATFORM: 'xcb' };
  delete env.WAYLAND_DISPLAY;
  try {
    execFileSync(path.join(ROOT, 'scripts/lib/x-session'), ['--wm', 'none', '--', 'bash', '-c', `
      set -e
      "$1" & game=$!
      trap 'kill $game' EXIT
      window=$(scripts/lib/x-window find $game FernWick)
      scripts/lib/x-window shot "$window" "$2/welcome.png"
      xdotool mousemove --window "$window" $3 $4 click 1
      scripts/lib/x-window shot --unlike "$2/welcome.png" "$window" "$2/won.png"`,
    'shots', program, dir, String(button.x), String(button.y)],
    { cwd: ROOT, env, stdio: 'inherit' });
    return ['welcome', 'won'].map((n) => fs.readFileSync(path.join(dir, `${n}.png`), 'base64'));
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

// The page's line boxes of the heading, in the game area's pixels, clipped to the heading.
const lineBoxes = (page) => page.evaluate(() => {
  const area = document.getElementById('Form1').getBoundingClientRect();
  const head = document.getElementById('HEADING').getBoundingClientRect();
  return [...document.querySelectorAll('#HEADING > span')].map((span) => {
    const r = span.getBoundingClientRect();
    return { x0: head.left - area.left, x1: head.right - area.left, y0: r.top - area.top,
             y1: Math.min(r.bottom, head.bottom) - area.top, text: span.textContent };
  }).filter((box) => box.y1 > box.y0);
});

// The box around the heading's ink (blue over the grey face) inside each line box, in each shot.
const inkBoxes = (page, shots, boxes) => page.evaluate(async (shots, boxes) => {
  const decode = async (png) => {
    const img = new Image();
    img.src = `data:image/png;base64,${png}`;
    await img.decode();
    const c = new OffscreenCanvas(img.width, img.height);
    c.getContext('2d').drawImage(img, 0, 0);
    const px = c.getContext('2d').getImageData(0, 0, img.width, img.height).data;
    return { w: img.width, h: img.height, px };
  };
  const out = [];
  for (const shot of shots) {
    const { w, h, px } = await decode(shot);
    out.push({ size: [w, h], lines: boxes.map((b) => {
      let ink = null;
      for (let y = Math.round(b.y0); y < Math.round(b.y1); y++) {
        for (let x = Math.round(b.x0); x < Math.round(b.x1); x++) {
          const i = 4 * (y * w + x);
          if (px[i + 2] - Math.max(px[i], px[i + 1]) < 60) continue;
          ink = ink ? { left: Math.min(ink.left, x), right: Math.max(ink.right, x),
                        top: Math.min(ink.top, y), bottom: Math.max(ink.bottom, y) }
                    : { left: x, right: x, top: y, bottom: y };
        }
      }
      return ink;
    }) });
  }
  return out;
}, shots, boxes);

const program = process.argv[3];
if (!program || !fs.existsSync(program)) {
  h.missing(`the Linux fernwick (${program || 'no path given'})`,
            'scripts/test builds it and names it to the web build');
}

h.session(async (browser, server) => {
  const page = await browser.newPage();
  await page.setViewport({ width: 800, height: 600, deviceScaleFactor: 1 });
  await h.open(page, server.url);
  await page.waitForFunction(() => document.fonts.status === 'loaded');
  const button = await page.evaluate(() => {
    const area = document.getElementById('Form1').getBoundingClientRect();
    const b = document.getElementById('STARTBUTTON').getBoundingClientRect();
    return { x: Math.round(b.left - area.left + b.width / 2),
             y: Math.round(b.top - area.top + b.height / 2) };
  });
  const desktop = desktopShots(program, button);
  const shoot = async () => (await page.$('#Form1')).screenshot({ encoding: 'base64' });
  await h.run([['welcome', 0], ['won', 1]].map(([name, presses]) => [
    `the ${name} screen: each line of the heading where the Linux game draws it`, async () => {
      if (presses) {
        await page.click('#STARTBUTTON');
        await h.expectScreen(page, presses, 'after a click');
      }
      const boxes = await lineBoxes(page);
      const [web, linux] = await inkBoxes(page, [await shoot(), desktop[presses]], boxes);
      assert.deepEqual(linux.size, web.size, 'the client area and the game area differ in size');
      boxes.forEach((box, i) => {
        const [a, b] = [web.lines[i], linux.lines[i]];
        assert.ok(a && b, `"${box.text}": ink on the page ${!!a}, in the Linux game ${!!b}`);
        const sides = ['left', 'right', 'top', 'bottom'];
        const off = Math.max(...sides.map((k) => Math.abs(a[k] - b[k])));
        console.log(`  "${box.text}": ${off} px apart`);
        assert.ok(off <= TOLERANCE,
                  `"${box.text}": page ${JSON.stringify(a)}, Linux ${JSON.stringify(b)}`);
      });
    }]));
});
