// Serves a built site folder on 127.0.0.1, as any static web host would, with
// the types a browser wants for the page, its worker, manifest and icon.
//   node web/serve.mjs build/web/site [port]
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
};

// Starts serving `folder`; resolves to the server once it listens (port 0
// picks a free one).
export function serve(folder, port = 0) {
  const server = createServer(async (request, response) => {
    const path = normalize(new URL(request.url, 'http://host').pathname);
    const file = join(folder, path === '/' ? 'index.html' : path);
    try {
      const body = await readFile(file);
      response.writeHead(200, {
        'Content-Type': kTypes[extname(file)] ?? 'application/octet-stream',
        'Cache-Control': 'no-cache',
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
  const server = await serve(argv[2], Number(argv[3] ?? 8080));
  console.log(`Zorvik: http://127.0.0.1:${server.address().port}/`);
}
