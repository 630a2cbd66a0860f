'use strict';
// node minify.js page PAGE.html LOADER.js OUT.html | js FILE.js | svg IN.svg OUT.svg
// Writes the site's text files without comments or indentation, each script minified by terser;
// the page holds the module's loader in place of its <script src>: one request fewer at start.
const fs = require('node:fs'), path = require('node:path');
// Debian's terser (node-terser), wherever the Node that runs this comes from.
const { minify } = require(require.resolve('terser',
    { paths: [...require.resolve.paths('terser'), '/usr/share/nodejs'] }));

const js = async (code) => (await minify(code, { compress: { passes: 2 }, mangle: true })).code;
const css = (code) => code.replace(/\/\*[\s\S]*?\*\//g, '').replace(/\s+/g, ' ')
    .replace(/ ?([{};,>]) ?/g, '$1').replace(/: /g, ':').replace(/;}/g, '}').trim();
// Markup: comments and the white space between tags go; text keeps its spaces and line ends.
const markup = (code) => code.replace(/<!--[\s\S]*?-->/g, '').replace(/>\s+</g, '><').trim();

async function page(file, loader, out) {
  const tag = `<script src="${path.basename(loader)}"></script>`;
  let html = fs.readFileSync(file, 'utf8');
  if (!html.includes(tag)) throw new Error(`${file} has no ${tag}`);
  const script = fs.readFileSync(loader, 'utf8');
  // In the page's text, a script ends at the first "</script" it holds (terser escapes any in
  // the scripts' strings as it writes them).
  if (/<\/script/i.test(script)) throw new Error(`${loader} holds "</script"`);
  html = html.replace(tag, () => `<script>${script}</script>`);
  const parts = html.split(/(<script>[\s\S]*?<\/script>|<style>[\s\S]*?<\/style>)/);
  for (let i = 0; i < parts.length; i++) {
    const [, open, body] = parts[i].match(/^<(script|style)>([\s\S]*)<\/\1>$/) ?? [];
    if (open === 'script') parts[i] = `<script>${await js(body)}</script>`;
    else if (open === 'style') parts[i] = `<style>${css(body)}</style>`;
    else parts[i] = markup(parts[i]);
  }
  fs.writeFileSync(out, parts.join(''));
}

const [mode, ...files] = process.argv.slice(2);
({
  page: () => page(...files),
  js: async () => fs.writeFileSync(files[0], await js(fs.readFileSync(files[0], 'utf8'))),
  // A drawing: its XML declaration is optional, and white space in it only separates.
  svg: async () => fs.writeFileSync(files[1], markup(fs.readFileSync(files[0], 'utf8')
      .replace(/<\?xml[^>]*\?>/, '').replace(/\s+/g, ' '))),
})[mode]().catch((e) => { console.error(`minify.js: ${e.message}`); process.exit(1); });
