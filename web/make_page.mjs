// Builds the web page from its parts: one self-contained index.html (the
// program's script, with the WebAssembly inside it, and the style sheet,
// allowed by their hashes in the page's Content-Security-Policy), and beside
// it what a web host needs for an installable, offline app: the manifest, the
// service worker and the icons (the SVG, and PNGs drawn from it by
// rsvg-convert for the platforms that want them).
//
// node make_page.mjs --template index.html.in --style page.css
//     --script zorvik.js --wasm zorvik.wasm --worker service_worker.js --icon
//     icon.svg --rsvg-convert /usr/bin/rsvg-convert
//     --version 1.0.0 --out site
import {execFileSync} from 'node:child_process';
import {createHash} from 'node:crypto';
import {mkdirSync, readFileSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {parseArgs} from 'node:util';

const {values: args} = parseArgs({
  options: Object.fromEntries([
    'template', 'style', 'script', 'wasm', 'worker', 'icon', 'rsvg-convert',
    'version', 'out'
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
// The style sheet as the browser needs it: its comments are for its readers
// (5 KiB of the page's 109).
const style = read(args.style)
                  .replace(/\/\*[^]*?\*\//g, '')
                  .split('\n')
                  .map((line) => line.trim())
                  .filter(Boolean)
                  .join('\n');
const icon = read(args.icon);
if (/<\/script/i.test(script) || /<\/style/i.test(style)) {
  throw new Error('an inline part would end its element early');
}

// The browser's bar around the page: the icon's blue, and a darker one by a
// dark page.
const kThemeColor = '#1f6f8b';
const kDarkThemeColor = '#123f50';

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
                 .replace('@THEME_LIGHT@', () => kThemeColor)
                 .replace('@THEME_DARK@', () => kDarkThemeColor)
                 .replace('@ICON@', () => iconUri)
                 .replace('@STYLE@', () => style)
                 .replace('@WASM@', () => wasm)
                 .replace('@SCRIPT@', () => script);

// The PNG icons: the icon as drawn, and for the platforms that cut an icon
// to their own shape (Android's maskable icons, the iPhone's home screen) the
// same drawing at 80 % on a square of its own blue, inside the circle that
// every such shape keeps.
const nested =
    icon.slice(icon.indexOf('<svg'))
        .replace(
            /^<svg\b[^>]*>/,
            (tag) =>
                tag.replace(/\s(width|height)="[^"]*"/g, '')
                    .replace(
                        '<svg', '<svg x="10" y="10" width="80" height="80"'));
const fullBleed =
    `<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 100 100">
<rect width="100" height="100" fill="${kThemeColor}"/>
${nested}</svg>`;
const pngs = [
  {src: 'icon-192.png', size: 192, svg: icon, purpose: 'any'},
  {src: 'icon-512.png', size: 512, svg: icon, purpose: 'any'},
  {
    src: 'icon-maskable-512.png',
    size: 512,
    svg: fullBleed,
    purpose: 'maskable'
  },
  {src: 'apple-touch-icon.png', size: 180, svg: fullBleed},
];

const manifest = {
  id: './',
  name: 'Zorvik 租金递增计算器',
  short_name: 'Zorvik',
  description: '按固定的年递增率逐年推算租约的租金',
  lang: 'zh-CN',
  start_url: './',
  scope: './',
  display: 'standalone',
  theme_color: kThemeColor,
  background_color: '#ffffff',
  icons: [
    {src: 'icon.svg', sizes: 'any', type: 'image/svg+xml'},
    ...pngs.filter((png) => png.purpose).map(({src, size, purpose}) => ({
                                               src,
                                               sizes: `${size}x${size}`,
                                               type: 'image/png',
                                               purpose,
                                             })),
  ],
};

// A new page is a new cache: the name carries the version and the page's own
// hash, so the worker of a changed page replaces the old copy.
const cacheName = `${args.version}-${
    createHash('sha256').update(page).digest('hex').slice(0, 12)}`;
const worker = read(args.worker).replace('@CACHE@', () => cacheName);

mkdirSync(args.out, {recursive: true});
writeFileSync(join(args.out, 'index.html'), page);
writeFileSync(
    join(args.out, 'manifest.webmanifest'),
    JSON.stringify(manifest, null, 2) + '\n');
writeFileSync(join(args.out, 'sw.js'), worker);
writeFileSync(join(args.out, 'icon.svg'), icon);
for (const {src, size, svg} of pngs) {
  execFileSync(
      args['rsvg-convert'] ?? 'rsvg-convert',
      [
        '--width', `${size}`, '--height', `${size}`, '--output',
        join(args.out, src)
      ],
      {input: svg});
}
