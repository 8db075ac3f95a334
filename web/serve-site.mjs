// The built site served on 127.0.0.1 and a port the system chooses, as a web server would,
// for the page's tests (web/test/) and its budget measurement.
import {createServer} from 'node:http';
import {readFile} from 'node:fs/promises';
import {extname, join} from 'node:path';
import {fileURLToPath} from 'node:url';

const kTypes = {'.html': 'text/html', '.mjs': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
  '.svg': 'image/svg+xml'};
export const siteFolder = fileURLToPath(new URL('../build-web/site/', import.meta.url));

// Resolves to {address, close()} once the server listens. A request for which refuse(path) is
// true has its connection dropped, as a network failure would (a file a test has fail to load,
// whoever fetches it: the page or its worker).
export async function serveSite(folder = siteFolder, {refuse = () => false} = {}) {
  const server = createServer(async (request, response) => {
    const path = new URL(request.url, 'http://localhost').pathname.replace(/^\/$/, '/index.html');
    if (refuse(path)) {
      request.socket.destroy();
      return;
    }
    try {
      const body = await readFile(join(folder, path.replace(/\.\./g, '')));
      response.writeHead(200, {'content-type': kTypes[extname(path)] ?? 'application/octet-stream'}).end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {address: `http://127.0.0.1:${server.address().port}/`, close: () => server.close()};
}

// Debian's Chromium, headless, without the background traffic this machine's network refuses.
export const kChromiumOptions = {
  executablePath: '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--lang=en-US'],
};
