// Serves a built site folder on 127.0.0.1, as any static web host would, with
// the types a browser wants for the page, its worker, manifest and icons.
//   node web/serve.mjs build/web/site [port] [cache-control]
// The Cache-Control header is "no-cache" unless given: hosts that let
// browsers keep the page a while send "max-age=600" or the like.
import {readFile} from 'node:fs/promises';
import {createServer} from 'node:http';
import {extname, join, normalize} from 'node:path';
import {argv} from 'node:process';
import {fileURLToPath} from 'node:url';

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.webmanifest': 'application/manifest+json',
  '.svg': 'image/svg+xml',
  '.png': 'image/png',
};

// Starts serving `folder`; resolves to the server once it listens (port 0
// picks a free one).
export function serve(folder, port = 0, cacheControl = 'no-cache') {
  const server = createServer(async (request, response) => {
    const path = normalize(new URL(request.url, 'http://host').pathname);
    const file = join(folder, path.endsWith('/') ? `${path}index.html` : path);
    try {
      const body = await readFile(file);
      response.writeHead(200, {
        'Content-Type': kTypes[extname(file)] ?? 'application/octet-stream',
        'Cache-Control': cacheControl,
      });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  return new Promise((resolve) => {
    server.listen(port, '127.0.0.1', () => resolve(server));
  });
}

if (argv[1] === fileURLToPath(import.meta.url)) {
  const server = await serve(argv[2], Number(argv[3] ?? 8080), argv[4]);
  console.log(`Zorvik: http://127.0.0.1:${server.address().port}/`);
}
