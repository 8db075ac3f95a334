// Lays out what the web build made: the served site (the page, its modules, the core and
// its wasm) in OUT/site/; OUT/tessalune.html, the page as one file that works opened from
// disk (the core with its wasm inside, the modules and the style sheet inline); and
// OUT/package/, the engine's module as a package developers install (npm install
// OUT/package), of the project's version.
// The page's words come from the program's language files where it shares the captions,
// and from the message tables for its own (the hosts' words, src/lang/host_words.h); the
// languages are the core's own table.
import {copyFile, mkdir, readFile, writeFile} from 'node:fs/promises';
import {dirname, join} from 'node:path';
import {fileURLToPath, pathToFileURL} from 'node:url';

// Usage: node web/assemble.mjs CORE_BUILD_DIR OUT_DIR [--web-base URL]
// --web-base: the address the site is published at, which the single file's share links
// open; without it they open the file they were made in, on that computer only.
// Exits with status 2, saying why in one line, on arguments it does not take.
const [coreDir, outDir, ...rest] = process.argv.slice(2);
function webBaseOf(options) {
  if (options.length === 0) return '';
  const fail = (why) => {
    console.error(`web/assemble.mjs: ${why}`);
    process.exit(2);
  };
  if (options[0] !== '--web-base' || options.length !== 2) fail(`unexpected arguments: ${options.join(' ')}`);
  try {
    const base = new URL(options[1]);
    if (base.protocol !== 'https:' && base.protocol !== 'http:') {
      fail(`--web-base ${options[1]}: not an http or https address`);
    }
    return base.href;
  } catch {
    return fail(`--web-base ${options[1]}: not an absolute address`);
  }
}
const webBase = webBaseOf(rest);
const webDir = dirname(fileURLToPath(import.meta.url));
const pageDir = join(webDir, 'page');
const languageDir = join(webDir, '..', 'resources', 'Tessalune');
const messageDir = join(webDir, '..', 'resources', 'messages');
const hostWordsHeader = join(webDir, '..', 'src', 'lang', 'host_words.h');
const site = join(outDir, 'site');
await mkdir(site, {recursive: true});

for (const file of ['tessalune-core.mjs', 'tessalune-core.wasm']) await copyFile(join(coreDir, file), join(site, file));
const kPageModules = ['app.mjs', 'tessalune.mjs', 'conversion.mjs', 'local-engine.mjs'];
for (const file of kPageModules) await copyFile(join(pageDir, file), join(site, file));
// The modules follow two conventions that let the build join them into one script: imports on
// lines of their own, and exports of functions and constants declared where they stand.
const withoutImports = (code) => code.split('\n').filter((line) => !line.startsWith('import ')).join('\n');
const withoutExports = (code) => code.replace(/^export (?=function|const)/gm, '');
const pageModule = async (file) => withoutExports(withoutImports(await readFile(join(pageDir, file), 'utf8')));
// The served worker in one file (the core's module, the wrapper, the conversions and the
// worker's own part), so that it reaches the wasm file after one fetch rather than three in turn.
const coreModule = await readFile(join(coreDir, 'tessalune-core.mjs'), 'utf8');
const coreExport = 'export default createTessaluneCore;';
const wrapperExport = 'export {bind as bindTessaluneCore};';
const wrapperModule = await pageModule('tessalune.mjs');
if (!coreModule.includes(coreExport) || !wrapperModule.includes(wrapperExport)) {
  throw new Error(`the core or tessalune.mjs does not end with its exports (${coreExport}, ${wrapperExport})`);
}
await writeFile(join(site, 'engine-worker.mjs'), [coreModule.replace(coreExport, ''),
  wrapperModule.replace('export default async function', 'async function').replace(wrapperExport, ''),
  await pageModule('conversion.mjs'), await pageModule('engine-worker.mjs')].join('\n'));

// The page's icon is the program's.
const icon = join(webDir, '..', 'packaging', 'tessalune.svg');
await copyFile(icon, join(site, 'favicon.svg'));

// The languages in the program's list order, with their language file and message table.
const {default: createTessalune} = await import(pathToFileURL(join(site, 'tessalune.mjs')).href);
const {languages: programLanguages, swatches, limits, targets} = await createTessalune();
// The captions the page shares with the program: their line in the language files.
const kCaptionLines = {
  bold: 4, italic: 5, underline: 6, strike: 7, textColour: 9, background: 10, solidColour: 14,
  gradient: 16, noEnd: 20, nickname: 36, message: 37, none: 44, language: 56, delete: 77,
  use: 78, myMessage: 84,
};

// The page's own words: their names among the hosts' words.
const kPageWords = {
  title: 'PageTitle', kind: 'StyleKind', rainbow: 'Rainbow', linear: 'Linear', reverse: 'Reverse',
  mirrored: 'Mirrored', mirroredReverse: 'MirroredReverse', stops: 'Stops', addStop: 'AddColour',
  removeStop: 'RemoveColour', stop: 'Stop', swatch: 'Swatch', result: 'Result', code: 'PlusCodes',
  count: 'Count', copy: 'Copy', copied: 'Copied', share: 'Share', shared: 'Shared', saved: 'SavedStyles',
  name: 'Name', save: 'Save', notCopied: 'NotCopied', loading: 'Loading', ownName: 'PageOwnName', yes: 'PageYes',
  no: 'PageNo', myNickname: 'PageMyNickname', otherColour: 'PageOtherColour', formats: 'PageFormats',
  paper: 'PagePaper', lightPaper: 'PageLightPaper', darkPaper: 'PageDarkPaper', engineFailed: 'PageEngineFailed',
  retry: 'PageRetry', thinned: 'PageThinned', thinnedOnly: 'PageThinnedOnly', notColoured: 'PageNotColoured',
  askAgain: 'PageAskAgain', hex: 'PageHexColour', insertStop: 'PageInsertStop', removeStopAt: 'PageRemoveStop',
  moveHint: 'PageMoveHint', presets: 'PagePresets', preset: 'PagePreset', rename: 'PageRename',
  deleted: 'PageDeleted', undo: 'PageUndo', nameBlank: 'PageNameBlank', nameTaken: 'PageNameTaken',
  badStored: 'PageBadStored', localLink: 'PageLocalLink', badLinkField: 'PageBadLinkField', mode: 'PageMode',
  controlCharacter: 'PageControlCharacter', says: 'PageSays', target: 'PageTarget', countBytes: 'PageCountBytes',
  lengthCharacters: 'PageLengthCharacters', lengthBytes: 'PageLengthBytes', targetCodes: 'PageTargetCodes',
  noBackgrounds: 'PageNoBackgrounds', thinnedBytes: 'PageThinnedBytes', thinnedOnlyBytes: 'PageThinnedOnlyBytes',
};
// The hosts' words by name: one a line, "Name = number,".
const wordIds = Object.fromEntries(
  [...(await readFile(hostWordsHeader, 'utf8')).matchAll(/^ +(\w+) = (\d+),/gm)].map(([, name, id]) => [name, id]));
// A message table: "NUMBER<TAB>TEXT" lines, "#" comments.
const messagesOf = async (catalogue) => new Map(
  (await readFile(join(messageDir, `${catalogue}.txt`), 'utf8')).split(/\r?\n/)
    .filter((line) => !line.startsWith('#') && line.includes('\t'))
    .map((line) => [line.slice(0, line.indexOf('\t')), line.slice(line.indexOf('\t') + 1)]));

const languages = [];
for (const l of programLanguages) {
  const lines = (await readFile(join(languageDir, `${l.file}.lng`), 'utf8'))
    .split(/\r?\n/).filter((line) => line.trim() !== '' && !line.startsWith("'"));
  const messages = await messagesOf(l.catalogue);
  const text = {};
  for (const [key, word] of Object.entries(kPageWords)) {
    text[key] = messages.get(wordIds[word]);
    if (text[key] === undefined) throw new Error(`${l.catalogue}.txt: no message for the page's word ${word}`);
  }
  for (const [key, line] of Object.entries(kCaptionLines)) text[key] = lines[line - 1];
  languages.push({code: l.code, name: text.ownName, catalogue: l.catalogue, text});
}
// With the engine's swatches, limits and targets, so that the page lays out every control
// before the engine has loaded.
const stringsModule = `// Generated by web/assemble.mjs; do not edit.
export const languages = ${JSON.stringify(languages)};
export const swatches = ${JSON.stringify(swatches)};
export const limits = ${JSON.stringify(limits)};
export const targets = ${JSON.stringify(targets)};
export const webBase = '';
`;
await writeFile(join(site, 'strings.mjs'), stringsModule);

// The page's words in English in the HTML itself, there from the first paint; the language
// list with every language in its own name.
const english = languages.find((l) => l.code === 'en').text;
let html = (await readFile(join(pageDir, 'index.html'), 'utf8'))
  .replace(/(data-text="(\w+)"[^>]*>)(<\/)/g, (_, open, key, close) => `${open}${escapeHtml(english[key])}${close}`)
  .replace(/data-label="(\w+)"/g, (all, key) => `${all} aria-label="${escapeHtml(english[key])}"`)
  .replace('<select id="language"></select>', () => `<select id="language">${languages.map((l) =>
    `<option value="${l.code}"${l.code === 'en' ? ' selected' : ''}>${escapeHtml(l.name)}</option>`)
    .join('')}</select>`)
  .replace('<select id="target"></select>', () => `<select id="target">${targets.map((t, i) =>
    `<option value="${t.name}"${i === 0 ? ' selected' : ''}>${escapeHtml(t.name)}</option>`).join('')}</select>`);
function escapeHtml(text) {
  if (text === undefined) throw new Error('index.html names a word the page does not have');
  return text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/"/g, '&quot;');
}
// And, before the page's module, the words of every language with what picks one, so that a
// visitor sees theirs from the first paint (the module, which comes later, does the same).
const keys = [...new Set([...html.matchAll(/data-(?:text|label)="(\w+)"/g)].map(([, key]) => key)).add('title')];
const words = Object.fromEntries(languages.map((l) => [l.code, Object.fromEntries(keys.map((k) => [k, l.text[k]]))]));
const firstWords = `<script>
(() => {
  const words = ${JSON.stringify(words).replace(/</g, '\\u003C')};
  const codes = Object.keys(words);
  let stored = null;
  try {
    stored = localStorage.getItem('tessalune-language');
  } catch {}
  const wanted = [new URLSearchParams(location.hash.slice(1)).get('l'), stored];
  const code = wanted.find((c) => codes.includes(c)) ?? (navigator.languages ?? [navigator.language])
    .map((w) => codes.find((c) => w?.toLowerCase().startsWith(c))).find(Boolean) ?? 'en';
  const say = words[code];
  document.documentElement.lang = code;
  document.title = say.title;
  for (const e of document.querySelectorAll('[data-text]')) e.textContent = say[e.dataset.text];
  for (const e of document.querySelectorAll('[data-label]')) e.setAttribute('aria-label', say[e.dataset.label]);
  document.getElementById('language').value = code;
  document.documentElement.classList.remove('words-pending');
})();
</script>
`;
html = html.replace('<script type="module" src="app.mjs"></script>', (tag) => firstWords + tag);
// The served page starts the engine's worker as soon as its head is read, so that the engine
// and its wasm file load (and compile as they arrive) while the rest of the page does; the
// page's own modules are asked for at once too, rather than one after another as each import
// is found. The worker's files are the worker's alone: the page fetches each file once.
// The served head also fetches the wasm file and compiles it as it arrives, meanwhile, and
// hands the module to the worker (which fetches it itself if that fails).
const startWorker = (make, compile = '') => `<script>
(() => {
  const workers = window.tessaluneWorkers = {make() {
    const worker = ${make};
    worker.addEventListener('error', () => (worker.broken = true));
    return worker;
  }};
  try {
    const first = workers.first = workers.make();${compile}
  } catch {}
})();
</script>`;
const compileWasm = `
    first.postMessage({wasmComing: true});
    WebAssembly.compileStreaming(fetch('tessalune-core.wasm')).catch(() => null)
      .then((wasm) => first.postMessage({wasm}));`;
const preloads = ['app.mjs', 'strings.mjs'].map((file) => `<link rel="modulepreload" href="${file}">`)
  .concat(startWorker("new Worker('engine-worker.mjs', {type: 'module'})", compileWasm));
// They come before the style sheet, which holds back a script after it until it has loaded.
// The style sheet is in the page itself: the page paints from its first file.
const stylesheet = '<link rel="stylesheet" href="style.css">';
if (!html.includes(stylesheet)) throw new Error(`index.html: no ${stylesheet}`);
const css = await readFile(join(pageDir, 'style.css'), 'utf8');
await writeFile(join(site, 'index.html'),
  html.replace(stylesheet, () => [...preloads, `<style>\n${css}</style>`].join('\n')));

// The single file: Chromium loads neither a module nor wasm from another file over file://.
// The wrapper up to its loader of files: the core is in the page already.
const loader = 'export default async function createTessalune(';
const wrapper = (await pageModule('tessalune.mjs')).split(loader)[0];
const engine = [wrapper, 'const createTessalune = async () => bind(await createTessaluneCore());',
  await pageModule('conversion.mjs')].join('\n');
// The engine in the page itself, where the worker does not start: the core is there already.
const localEngine = "const localEngine = () => import('./local-engine.mjs').then((m) => m.default());";
const app = await pageModule('app.mjs');
if (!app.includes(localEngine)) throw new Error(`app.mjs: no ${localEngine}`);
const script = [
  stringsModule.replaceAll('export const', 'const').replace("webBase = ''", `webBase = ${JSON.stringify(webBase)}`),
  engine,
  app.replace(localEngine, () => 'const localEngine = () => createTessalune().then(conversions);'),
].join('\n');
// The worker: the core's script (read from the page, so that the file holds it once) and the
// engine's modules, from a Blob, as a classic script (a page opened from disk has no origin a
// module worker's script could share).
const workerScript = [engine, await pageModule('engine-worker.mjs')].join('\n');
const core = await readFile(join(coreDir, 'tessalune-core-single.js'), 'utf8');
const iconData = (await readFile(icon)).toString('base64');
const makeWorker = `new Worker(URL.createObjectURL(new Blob([document.getElementById('tessalune-core').text,
      ${JSON.stringify(workerScript).replace(/</g, '\\u003C')}], {type: 'text/javascript'})))`;
const page = html
  .replace('<link rel="stylesheet" href="style.css">', () => `<style>\n${css}</style>`)
  .replace('href="favicon.svg"', () => `href="data:image/svg+xml;base64,${iconData}"`)
  .replace('<script type="module" src="app.mjs"></script>',
    () => `<script id="tessalune-core">\n${core}\n</script>\n${startWorker(makeWorker)}\n` +
      `<script type="module">\n${script}\n</script>`);
await writeFile(join(outDir, 'tessalune.html'), page);

// The package: the module, the core and its wasm, the types and the README written for it.
const packageDir = join(outDir, 'package');
await mkdir(packageDir, {recursive: true});
const project = (await readFile(join(webDir, '..', 'CMakeLists.txt'), 'utf8')).match(/project\(Tessalune VERSION ([\d.]+)/);
if (!project) throw new Error('CMakeLists.txt: no project(Tessalune VERSION ...)');
const packageFiles = ['tessalune.mjs', 'tessalune-core.mjs', 'tessalune-core.wasm', 'tessalune.d.ts', 'README.md'];
for (const file of packageFiles.slice(0, 3)) await copyFile(join(site, file), join(packageDir, file));
for (const file of packageFiles.slice(3)) await copyFile(join(webDir, 'package', file), join(packageDir, file));
const manifest = {
  name: 'tessalune',
  version: project[1],
  description: 'Colours nicknames and messages with Messenger Plus! codes, as the Tessalune plug-in does.',
  license: 'UNLICENSED',
  type: 'module',
  exports: {
    '.': {types: './tessalune.d.ts', default: './tessalune.mjs'},
    './tessalune-core.wasm': './tessalune-core.wasm',
    './package.json': './package.json',
  },
  types: './tessalune.d.ts',
  files: packageFiles,
  engines: {node: '>=20.16'},
  sideEffects: false,
};
await writeFile(join(packageDir, 'package.json'), `${JSON.stringify(manifest, null, 2)}\n`);
