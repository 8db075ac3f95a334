// The engine's module as a developer uses it: wrong arguments thrown as TypeErrors, the four
// outcomes and the languages, the targets, and the package the web build makes: installed, loaded in
// node, and bundled with esbuild for a module worker in Chromium. Needs build-web/
// (scripts/build --web).
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {spawnSync} from 'node:child_process';
import {copyFile, cp, mkdtemp, rm, writeFile} from 'node:fs/promises';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {fileURLToPath, pathToFileURL} from 'node:url';
import {build} from 'esbuild';
import puppeteer from 'puppeteer-core';
import {kChromiumOptions, serveSite} from '../serve-site.mjs';

const root = fileURLToPath(new URL('../..', import.meta.url));
const site = join(root, 'build-web', 'site');
const {default: createTessalune} = await import(pathToFileURL(join(site, 'tessalune.mjs')).href);
const tessalune = await createTessalune();
const {limits, targets} = tessalune;
const targetNames = targets.map((t) => t.name).join(', ');

test('arguments of the wrong type are thrown back as TypeErrors', () => {
  const cases = [
    [[123, 'rainbow'], /the text must be a string or a Uint8Array, not a number/],
    [[{}, 'rainbow'], /the text must be a string or a Uint8Array, not an object/],
    [[null, 'rainbow'], /the text must be .*, not null/],
    [['x'], /fg must be a string, not a undefined/],
    [['x', ['rainbow']], /fg must be a string, not an array/],
    [['x', 'rainbow', null], /bg must be a string, not null/],
    [['x', 'rainbow', 'none', 'bold'], /options must be an object, not a string/],
    [['x', 'rainbow', 'none', ['bold']], /options must be an object, not an array/],
    [['x', 'rainbow', 'none', {bold: 'yes'}], /option bold must be true or false/],
    [['x', 'rainbow', 'none', {colour: true}], /unknown option "colour"/],
    [['x', 'rainbow', 'none', {language: {}}], /option language must be a code or a number, not an object/],
    [['x', 'rainbow', 'none', {to: 'mirc'}], `colour: option to must be one of ${targetNames}, not "mirc"`],
    [['x', 'rainbow', 'none', {to: null}], /option to must be one of .*, not null$/],
    [['x', 'rainbow', 'none', {to: 1}], /option to must be one of .*, not a number$/],
    [['x', 'rainbow', 'none', {limit: 0}], 'colour: option limit must be a whole number above 0, not 0'],
    [['x', 'rainbow', 'none', {limit: -3}], /option limit must be a whole number above 0, not -3$/],
    [['x', 'rainbow', 'none', {limit: 2.5}], /option limit must be a whole number above 0, not 2.5$/],
    [['x', 'rainbow', 'none', {limit: 2 ** 31}], /option limit must be a whole number above 0, not 2147483648$/],
    [['x', 'rainbow', 'none', {limit: '10'}], /option limit must be a whole number above 0, not a string$/],
    [['x', 'rainbow', 'none', {to: 'irc', limit: null}], /option limit must be a whole number above 0, not null$/],
  ];
  for (const [args, message] of cases) {
    assert.throws(() => tessalune.colour(...args), {name: 'TypeError', message}, JSON.stringify(args));
  }
  const convertCases = [
    [[5], /^convert: the Plus! text must be a string or a Uint8Array, not a number$/],
    [['x', 'irc'], /^convert: options must be an object, not a string$/],
    [['x', {bold: true}], /^convert: unknown option "bold" \(known: message, noEnd, keepThinned, language, to, limit\)$/],
    [['x', {to: 'IRC'}], /^convert: option to must be one of .*, not "IRC"$/],
  ];
  for (const [args, message] of convertCases) {
    assert.throws(() => tessalune.convert(...args), {name: 'TypeError', message}, JSON.stringify(args));
  }
  for (const call of [() => tessalune.render(5), () => tessalune.length(undefined)]) {
    assert.throws(call, TypeError);
  }
});

test('each outcome comes with its own field, in the language asked for', () => {
  const none = {result: null, question: null, error: null};
  const tooLong = 'n'.repeat(limits.nickname + 1);
  const frenchTooLong = 'Le pseudo est trop long. Veuillez en choisir un autre.';
  const cases = [
    [['ab', 'solid:#FF0000'], {outcome: 'ok', result: '·$4ab·0'}],
    [['ab', 'solid:#FF0000', 'none', null], {outcome: 'ok', result: '·$4ab·0'}],
    [['ab', 'solid:#FF0000', 'none', {bold: true, strike: false}], {outcome: 'ok', result: '·$4·#ab·0'}],
    [[tooLong, 'rainbow'], {outcome: 'refused', error: 'The nickname is too long. Please choose another one.'}],
    [[tooLong, 'rainbow', 'none', {language: 'fr'}], {outcome: 'refused', error: frenchTooLong}],
    [[tooLong, 'rainbow', 'none', {language: 'FR-ca'}], {outcome: 'refused', error: frenchTooLong}],
    [[tooLong, 'rainbow', 'none', {language: 1036}], {outcome: 'refused', error: frenchTooLong}],
    [['x', 'grad:#FF0000'], {outcome: 'invalid'}],
    [['x', 'rainbow', 'none', {language: 'xx'}], {outcome: 'invalid', error: /^language: xx is not one of fr \(1036\)/}],
    [['x', 'rainbow', 'none', {language: 2060}], {outcome: 'invalid', error: /^language: 2060 is not one of/}],
  ];
  for (const [args, expected] of cases) {
    const answer = tessalune.colour(...args);
    const what = JSON.stringify(args).slice(0, 100);
    for (const [field, value] of Object.entries({...none, error: answer.error, ...expected})) {
      if (value instanceof RegExp) assert.match(answer[field], value, what);
      else assert.equal(answer[field], value, `${what}: ${field}`);
    }
    if (answer.outcome === 'invalid') assert.ok(answer.error, what);
  }
  const asked = tessalune.colour('n'.repeat(126), 'grad:#FF0000:#0000FF');
  assert.equal(asked.outcome, 'question');
  assert.ok(asked.question && asked.result === null && asked.error === null);
  const kept = tessalune.colour('n'.repeat(126), 'grad:#FF0000:#0000FF', 'none', {keepThinned: true});
  assert.equal(kept.outcome, 'ok');
});

test('each target writes its own codes, fitted to its limit in its unit', () => {
  assert.deepEqual(targets[0], {name: 'plus', unit: 'characters', nicknameLimit: limits.nickname,
    messageLimit: limits.message, backgrounds: true});
  // Red "ab" as each target writes it, from colour and from the Plus! text converted.
  const written = {
    plus: '·$4ab·0',
    irc: '\x0304ab\x0f',
    'irc-hex': '\x04FF0000ab\x0f',
    html: '<span style="color:#FF0000;background-color:#FFFFFF;">ab</span>',
    bbcode: '[color=#FF0000]ab[/color]',
    ansi: '\x1b[38;2;255;0;0;48;2;255;255;255mab\x1b[0m',
    minecraft: '&#FF0000ab&r',
    minimessage: '<#FF0000>ab<reset>',
  };
  assert.deepEqual(targets.map((t) => t.name), Object.keys(written));
  for (const [to, result] of Object.entries(written)) {
    const ok = {outcome: 'ok', result, question: null, error: null, length: [...result].length, plus: '·$4ab·0'};
    assert.deepEqual(tessalune.colour('ab', 'solid:#FF0000', 'none', {to}), ok, to);
    assert.deepEqual(tessalune.convert('·$4ab·0', {to}), ok, to);
  }
  // IRC counts bytes: 198 two-byte characters and four bytes of codes fill its 400 exactly.
  const irc = (n, options = {}) => tessalune.colour('é'.repeat(n), 'solid:#FF0000', 'none', {to: 'irc', ...options});
  const cases = [
    [irc(198), {outcome: 'ok', length: 400}],
    [irc(199), {outcome: 'question', question: /too long to be colored/}],
    [irc(199, {keepThinned: true}), {outcome: 'ok', length: 398}],
    [irc(201), {outcome: 'refused', error: 'The text is too long for this target (more than 400 bytes).'}],
    [irc(4, {limit: 7}), {outcome: 'refused', error: 'The text is too long for this target (more than 7 bytes).'}],
    [tessalune.convert('·$4' + 'é'.repeat(199), {to: 'irc'}), {outcome: 'question'}],
    [tessalune.convert('·$4' + 'é'.repeat(201), {to: 'irc', language: 'fr'}), {outcome: 'refused', error: /400/}],
    [tessalune.convert('·$4abc', {to: 'minecraft', limit: 2}), {outcome: 'refused', error: /more than 2 characters/}],
  ];
  cases.forEach(([answer, expected], i) => {
    for (const [field, value] of Object.entries(expected)) {
      if (value instanceof RegExp) assert.match(answer[field], value, `${i}: ${field}`);
      else assert.equal(answer[field], value, `${i}: ${field}`);
    }
  });
});

test('the package installs, loads in node and bundles with esbuild for a module worker in Chromium', async () => {
  const folder = await mkdtemp(join(tmpdir(), 'tessalune-package-'));
  let server, browser;
  try {
    await cp(join(root, 'build-web', 'package'), join(folder, 'node_modules', 'tessalune'), {recursive: true});
    const use = `import createTessalune from 'tessalune';
const tessalune = await createTessalune();
const answer = tessalune.colour('Tessalune', 'rainbow', 'none', {language: 'it'});
`;
    const expected = tessalune.colour('Tessalune', 'rainbow');
    const inNode = spawnSync(process.execPath, ['--input-type=module', '-e', `${use}console.log(JSON.stringify(answer));`],
      {cwd: folder, encoding: 'utf8'});
    assert.deepEqual(JSON.parse(inNode.stdout || 'null'), expected, inNode.stderr);

    await writeFile(join(folder, 'worker.mjs'), `${use}postMessage(answer);\n`);
    await build({entryPoints: [join(folder, 'worker.mjs')], bundle: true, platform: 'browser', format: 'esm',
      outfile: join(folder, 'site', 'worker.mjs'), logLevel: 'silent'});
    await copyFile(join(site, 'tessalune-core.wasm'), join(folder, 'site', 'tessalune-core.wasm'));
    server = await serveSite(join(folder, 'site'));
    browser = await puppeteer.launch(kChromiumOptions);
    const page = await browser.newPage();
    await page.goto(`${server.address}worker.mjs`);
    const inWorker = await page.evaluate(() => new Promise((resolve, reject) => {
      const worker = new Worker('worker.mjs', {type: 'module'});
      worker.onmessage = (e) => resolve(e.data);
      worker.onerror = (e) => reject(new Error(e.message));
    }));
    assert.deepEqual(inWorker, expected);
  } finally {
    await browser?.close();
    server?.close();
    await rm(folder, {recursive: true, force: true});
  }
});
