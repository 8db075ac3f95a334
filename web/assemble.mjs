// Lays out what the web build made: the served site (the page, its modules, the core and
// its wasm) in OUT/site/, and OUT/tessalune.html, the page as one file that works opened
// from disk (the core with its wasm inside, the modules and the style sheet inline).
// Usage: node web/assemble.mjs CORE_BUILD_DIR OUT_DIR
import {copyFile, mkdir, readFile, writeFile} from 'node:fs/promises';
import {dirname, join} from 'node:path';
import {fileURLToPath} from 'node:url';

const [coreDir, outDir] = process.argv.slice(2);
const webDir = dirname(fileURLToPath(import.meta.url));
const site = join(outDir, 'site');
await mkdir(site, {recursive: true});

for (const file of ['tessalune-core.mjs', 'tessalune-core.wasm']) await copyFile(join(coreDir, file), join(site, file));
for (const file of ['tessalune.mjs']) await copyFile(join(webDir, file), join(site, file));
