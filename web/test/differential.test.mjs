// The engine in WebAssembly against the native build on seeded random cases: the same
// outcome, Plus! text, question and refusal or argument error as the native
// tessalune_colour_outcome and, where
// the command's answers mean the same, as `tessalune colour`; `render` as `tessalune render
// --html` renders each result, and `length` as the engine counts it; in every target's codes,
// `colour` as `tessalune colour --as` and `convert` as `tessalune convert --from plus --as`.
// Needs build/ (native) and build-web/ (scripts/build --web).
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {spawnSync} from 'node:child_process';
import {fileURLToPath} from 'node:url';

const root = fileURLToPath(new URL('../..', import.meta.url));
const cli = `${root}build/bin/tessalune`;
const oracle = `${root}build/bin/tessalune_colour_oracle`;
const {default: createTessalune} = await import(`${root}build-web/site/tessalune.mjs`);
const tessalune = await createTessalune();
const {limits} = tessalune;

// mulberry32: the same cases on every run.
function generator(seed) {
  let a = seed >>> 0;
  const next = () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  const int = (n) => Math.floor(next() * n);
  return {next, int, pick: (list) => list[int(list.length)]};
}

const flagsOf = (options) =>
  Object.entries(tessalune.flags).reduce((f, [name, bit]) => f | (options[name] ? bit : 0), 0);

const hex = (r) => '#' + Array.from({length: 6}, () => '0123456789ABCDEFabcdef'[r.int(22)]).join('');
const stops = (r, n) => Array.from({length: n}, () => hex(r)).join(':');
const someStops = (r) => stops(r, limits.minStops + r.int(limits.maxStops - limits.minStops + 1));

function randomStyle(r, background) {
  switch (r.int(background ? 7 : 6)) {
    case 0: return `solid:${hex(r)}`;
    case 1: return `grad${1 + r.int(4)}:${stops(r, 2)}`;
    case 2: return `grad:${someStops(r)}`;
    case 3: return `mirror:${someStops(r)}`;
    case 4: return 'rainbow';
    case 5: return `grad:${stops(r, 2)}`;
    default: return 'none';
  }
}

const pieces = [
  'Tessalune', 'a', ' ', 'é', 'ß', 'Ω', '中文', '😀', '👍🏽', '\n', '\r\n', '\t', '<b>', '&amp;', '·', '·$4',
  '"', "'", '\u0001', '\u001f', '\ufffe', '\u200b', 'x'.repeat(40), 'Ünïcödé ', '\u00a0',
];

// A text as a string, or as bytes when it holds some that are not UTF-8.
function randomText(r) {
  const target = r.pick([0, 1, 5, 20, 60, 120, 126, limits.nickname, limits.nickname + 1, 300, 900, limits.message,
    limits.message + 1, 1200]);
  let text = '';
  while ([...text].length < target) text += r.pick(pieces);
  text = [...text].slice(0, target).join('');
  if (r.int(12) === 0) {
    const bytes = Buffer.from(text, 'utf8');
    const at = r.int(bytes.length + 1);
    return Buffer.concat([bytes.subarray(0, at), Buffer.from([r.pick([0x80, 0xc3, 0xff, 0xed, 0xf5])]),
      bytes.subarray(at)]);
  }
  return text;
}

function randomOptions(r) {
  const options = {};
  for (const name of Object.keys(tessalune.flags)) {
    options[name] = r.int(3) === 0;
  }
  return options;
}

const bytesOf = (text) => (typeof text === 'string' ? Buffer.from(text, 'utf8') : text);

// What the native tessalune_colour_outcome returns for each case, through the test's oracle.
function nativeColour(cases) {
  const input = [];
  for (const [text, fg, bg, options] of cases) {
    const texts = [text, fg, bg].map(bytesOf);
    input.push(Buffer.from(`${flagsOf(options)} ${texts.map((t) => t.length).join(' ')}\n`), ...texts);
  }
  const out = spawnSync(oracle, [], {input: Buffer.concat(input), maxBuffer: 1 << 28}).stdout;
  const answers = [];
  for (let at = 0; at < out.length;) {
    const end = out.indexOf(10, at);
    const [outcome, ...lengths] = out.subarray(at, end).toString().split(' ');
    at = end + 1;
    const take = (length) => {
      if (length < 0) return null;
      const text = out.subarray(at, at + length).toString('utf8');
      at += length;
      return text;
    };
    const [result, question, error] = lengths.map((length) => take(Number(length)));
    answers.push({outcome, result, question, error});
  }
  return answers;
}

// What the `tessalune colour` command says for a case whose thinned text is kept (its
// --answer yes also lets the loop watchdog go on, as the module does), in the module's terms.
function command(text, fg, bg, options, to = 'plus', limit = undefined) {
  const args = ['colour', '--fg', fg, '--bg', bg, '--answer', 'yes', ...targetArgs(to, limit)];
  if (options.message) args.push('--text');
  for (const [name, flag] of [['noEnd', '--no-end'], ['bold', '--bold'], ['italic', '--italic'],
    ['underline', '--underline'], ['strike', '--strike']]) {
    if (options[name]) args.push(flag);
  }
  return run(args, text);
}

// What `tessalune convert --from plus --as TO` says of Plus! text whose thinned text is kept.
function commandConvert(plus, to, limit, message) {
  return run(['convert', '--from', 'plus', '--answer', 'yes', ...targetArgs(to, limit),
    ...(message ? ['--message'] : [])], plus);
}

const targetArgs = (to, limit) => ['--as', to, ...(limit ? ['--limit', String(limit)] : [])];

// A command run on text, its answer in the module's terms (without the length).
function run(args, text) {
  // The text goes through standard input, byte for byte; the command takes off the line
  // end added here.
  args.push('-');
  const input = Buffer.concat([bytesOf(text), Buffer.from('\r\n')]);
  const run = spawnSync(cli, args, {input, env: {...process.env, LANG: 'C', LC_ALL: 'C'}});
  const said = run.stderr.toString('utf8');
  const answer = {result: null, question: null, error: null};
  if (run.status === 0) return {...answer, outcome: 'ok', result: run.stdout.toString('utf8')};
  if (run.status === 1) {
    return {...answer, outcome: 'refused', error: said.replace(/^Tessalune: /, '').replace(/\n$/, '')};
  }
  const argument = said.match(/^tessalune: --(fg|bg): (.*) \(tessalune --help\)\n$/);
  return {...answer, outcome: 'invalid', error: argument ? `${argument[1]}: ${argument[2]}` : said};
}

// The module's answer without its length, which the commands do not say.
// The native commands write the result alone: its length and Plus! text are the module's.
const withoutLength = ({length, plus, ...answer}) => answer;

function nativeRender(plus) {
  return spawnSync(cli, ['render', '--html'], {input: plus}).stdout.toString('utf8');
}

test('the module colours as the native build does on 600 random cases', () => {
  const r = generator(20261207);
  const cases = Array.from({length: 600}, () =>
    [randomText(r), randomStyle(r, false), randomStyle(r, true), randomOptions(r)]);
  const expected = nativeColour(cases);
  let coloured = 0, refused = 0, commands = 0;
  cases.forEach(([text, fg, bg, options], i) => {
    const web = withoutLength(tessalune.colour(text, fg, bg, options));
    const what = JSON.stringify({i, text: String(text).slice(0, 80), fg, bg, options});
    assert.deepEqual(web, expected[i], what);
    if (options.keepThinned && i % 3 === 0) {
      assert.deepEqual(web, command(text, fg, bg, options), what);
      ++commands;
    }
    if (web.outcome === 'ok') {
      ++coloured;
      assert.equal(tessalune.render(web.result), nativeRender(web.result), what);
      assert.equal(tessalune.length(web.result), [...web.result].length, what);
    } else {
      ++refused;
    }
  });
  assert.ok(coloured > 200 && refused > 50 && commands > 40, `${coloured} coloured, ${refused} refused`);
});

test('refusals and argument errors are told as the native command tells them', () => {
  const cases = [
    ['', 'rainbow', 'none', {}],
    ['x'.repeat(limits.nickname + 1), 'rainbow', 'none', {}],
    ['x'.repeat(limits.message + 1), 'rainbow', 'none', {message: true}],
    ['n'.repeat(126), 'grad:#FF0000:#0000FF', 'none', {}],
    ['x', 'grad:#FF0000', 'none', {}],
    ['x', 'rainbow', 'solid:red', {}],
    ['x', 'grad5:#000000:#FFFFFF', 'none', {}],
    ['x', 'none', 'none', {}],
    ['g'.repeat(limits.gradientEnd + 1), 'grad1:#000080:#0080FF', 'none', {message: true}],
  ];
  const expected = nativeColour(cases);
  cases.forEach(([text, fg, bg, options], i) => {
    assert.deepEqual(withoutLength(tessalune.colour(text, fg, bg, options)), expected[i], `${fg} ${bg}`);
  });
  assert.equal(expected[3].outcome, 'question');
  // Past a gradient's 16-bit positions the text is too long, not a failure of the engine.
  assert.deepEqual(expected.at(-1), {outcome: 'refused', result: null, question: null,
    error: `The message is too long (>${limits.message} characters).`});
});

test('every target is written and fitted as the native commands write and fit it', () => {
  const r = generator(20261208);
  const counts = {};
  for (const {name: to, unit} of tessalune.targets) {
    counts[to] = 0;
    for (let i = 0; i < 12; ++i) {
      const text = randomText(r);
      const [fg, bg] = [randomStyle(r, false), randomStyle(r, true)];
      const options = {...randomOptions(r), keepThinned: true};
      const limit = r.int(4) === 0 ? 1 + r.int(600) : undefined;
      const what = JSON.stringify({to, limit, text: String(text).slice(0, 80), fg, bg, options});
      const web = tessalune.colour(text, fg, bg, {...options, to, limit});
      assert.deepEqual(withoutLength(web), command(text, fg, bg, options, to, limit), what);
      if (web.outcome !== 'ok') continue;
      ++counts[to];
      const length = unit === 'bytes' ? Buffer.byteLength(web.result) : [...web.result].length;
      assert.equal(web.length, length, what);
      // The Plus! text it was written from: Plus! codes are written from themselves.
      if (to === 'plus') assert.equal(web.plus, web.result, what);
      // Plus! text already made, fitted again to the target as a conversion fits it.
      const plus = tessalune.colour(text, fg, bg, options);
      if (plus.outcome !== 'ok') continue;
      const converted = tessalune.convert(plus.result, {to, limit, message: options.message, keepThinned: true});
      assert.deepEqual(withoutLength(converted), commandConvert(plus.result, to, limit, options.message), what);
    }
  }
  for (const [to, coloured] of Object.entries(counts)) assert.ok(coloured >= 4, `${to}: ${coloured} coloured`);
});
