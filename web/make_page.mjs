// Builds the web page from its parts: one self-contained index.html (the
// program's script, with the WebAssembly inside it, and the style sheet,
// allowed by their hashes in the page's Content-Security-Policy), and beside
// it what a web host needs for an installable, offline app: the manifest, the
// service worker and the icon.
//
// node make_page.mjs --template index.html.in --style page.css
//     --script zorvik.js --wasm zorvik.wasm --worker service_worker.js --icon
//     icon.svg
//     --version 1.0.0 --out site
import {createHash} from 'node:crypto';
import {mkdirSync, readFileSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {parseArgs} from 'node:util';

const {values: args} = parseArgs({
  options: Object.fromEntries([
    'template', 'style', 'script', 'wasm', 'worker', 'icon', 'version', 'out'
  ].map((name) => [name, {type: 'string'}])),
});
const read = (path) => readFileSync(path, 'utf8');
const hash = (text) =>
    `'sha256-${createHash('sha256').update(text).digest('base64')}'`;

// The WebAssembly travels in the page as a data block that the script hands
// to the loader ready-made, so that the page never fetches anything, not even
// a data: URL (which its own policy would refuse). Kept out of the script,
// it costs the JavaScript parser nothing.
const wasm = readFileSync(args.wasm).toString('base64');
const script = `var Module = {wasmBinary: (() => {
  const base64 = document.getElementById('wasm').textContent;
  if (Uint8Array.fromBase64) return Uint8Array.fromBase64(base64);
  const text = atob(base64);
  const bytes = new Uint8Array(text.length);
  for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
  return bytes;
})()};
${read(args.script).trim()}`;
const style = read(args.style).trim();
const icon = read(args.icon);
if (/<\/script/i.test(script) || /<\/style/i.test(style)) {
  throw new Error('an inline part would end its element early');
}

const policy = [
  `default-src 'self'`,
  `script-src ${hash(script)} 'wasm-unsafe-eval'`,
  `style-src ${hash(style)}`,
  `img-src 'self' data:`,
  `worker-src 'self'`,
  `base-uri 'none'`,
  `form-action 'none'`,
  `object-src 'none'`,
].join('; ');
const iconUri =
    `data:image/svg+xml;base64,${Buffer.from(icon).toString('base64')}`;
// Replacement functions, so that "$" in the script is never a pattern.
const page = read(args.template)
                 .replace('@CSP@', () => policy)
                 .replace('@ICON@', () => iconUri)
                 .replace('@STYLE@', () => style)
                 .replace('@WASM@', () => wasm)
                 .replace('@SCRIPT@', () => script);

const manifest = {
  name: 'Zorvik',
  short_name: 'Zorvik',
  description: '按固定的年递增率逐年推算租约的租金',
  lang: 'zh-CN',
  start_url: './',
  scope: './',
  display: 'standalone',
  icons: [{src: 'icon.svg', sizes: 'any', type: 'image/svg+xml'}],
};

// A new page is a new cache: the name carries the version and the page's own
// hash, so the worker of a changed page replaces the old copy.
const cacheName = `zorvik-${args.version}-${
    createHash('sha256').update(page).digest('hex').slice(0, 12)}`;
const worker = read(args.worker).replace('@CACHE@', () => cacheName);

mkdirSync(args.out, {recursive: true});
writeFileSync(join(args.out, 'index.html'), page);
writeFileSync(
    join(args.out, 'manifest.webmanifest'),
    JSON.stringify(manifest, null, 2) + '\n');
writeFileSync(join(args.out, 'sw.js'), worker);
writeFileSync(join(args.out, 'icon.svg'), icon);
