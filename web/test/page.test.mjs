// The page in Chromium (Debian's, driven by puppeteer-core), as a person uses it: typing
// with key events, picking styles by keyboard and mouse, answering the length question,
// copying, opening share links, saving styles; its layout at three widths and its contrast in
// both schemes; and the single-file page opened from disk. Screenshots go to
// build-web/screenshots/.
import {test, before, after} from 'node:test';
import assert from 'node:assert/strict';
import {mkdir} from 'node:fs/promises';
import {join} from 'node:path';
import {fileURLToPath, pathToFileURL} from 'node:url';
import puppeteer from 'puppeteer-core';
import {kChromiumOptions, serveSite} from '../serve-site.mjs';

const root = fileURLToPath(new URL('../..', import.meta.url));
const site = join(root, 'build-web', 'site');
const shots = join(root, 'build-web', 'screenshots');
const {default: createTessalune} = await import(pathToFileURL(join(site, 'tessalune.mjs')).href);
const engine = await createTessalune();
const {languages} = await import(pathToFileURL(join(site, 'strings.mjs')).href);

let server, browser, address;

before(async () => {
  server = await serveSite(site);
  address = server.address;
  browser = await puppeteer.launch(kChromiumOptions);
  await mkdir(shots, {recursive: true});
});

after(async () => {
  const pid = browser?.process()?.pid;
  await browser?.close();
  if (pid) {
    try {
      process.kill(pid);
    } catch {}
  }
  server?.close();
});

// Each test in a profile of its own: nothing stored by one is seen by another.
async function profile() {
  const context = await browser.createBrowserContext();
  await context.overridePermissions(address.slice(0, -1), ['clipboard-read', 'clipboard-write',
    'clipboard-sanitized-write']);
  return context;
}

// Counts the layout's shifts that no input caused, from the first paint.
function countShifts() {
  window.shifted = 0;
  new PerformanceObserver((list) => {
    for (const entry of list.getEntries()) if (!entry.hadRecentInput) window.shifted += entry.value;
  }).observe({type: 'layout-shift', buffered: true});
}

async function open(context, url = address, {viewport = {width: 1024, height: 900}, scheme = 'light'} = {}) {
  const page = await context.newPage();
  await page.evaluateOnNewDocument(countShifts);
  await page.emulateMediaFeatures([{name: 'prefers-color-scheme', value: scheme}]);
  await page.setViewport(viewport);
  await page.goto(url);
  await page.waitForSelector('body[data-ready=true]');
  return page;
}

const value = (page, selector) => page.$eval(selector, (e) => e.value);
const textOf = (page, selector) => page.$eval(selector, (e) => e.textContent);
const shown = (page, selector) => page.$eval(selector, (e) => !e.hidden && e.getClientRects().length > 0);
const clipboard = (page) => page.evaluate(() => navigator.clipboard.readText());
// The page's result is busy from a change until the engine's answer to it is shown.
const converted = (page) => page.waitForFunction(() => document.getElementById('result').ariaBusy === 'false');
// Records, from now on, each change made in the elements of the ids given, as "id type".
const watchChanges = (page, ids) => page.evaluate((watched) => {
  window.watchers?.forEach((w) => w.disconnect());
  window.changes = [];
  window.watchers = watched.map((id) => {
    const w = new MutationObserver((records) => window.changes.push(...records.map((r) => `${id} ${r.type}`)));
    w.observe(document.getElementById(id), {subtree: true, childList: true, attributes: true, characterData: true});
    return w;
  });
}, ids);
const changes = (page) => page.evaluate(() => window.changes);
const focused = (page) => page.evaluate(() => {
  const e = document.activeElement;
  return e === document.body ? 'body' : e.id || e.getAttribute('aria-label') || e.value;
});

async function typeInto(page, selector, text) {
  await page.click(selector, {clickCount: 3});
  await page.keyboard.down('Control');
  await page.keyboard.press('a');
  await page.keyboard.up('Control');
  await page.keyboard.press('Backspace');
  await page.keyboard.type(text);
  await converted(page);
}

test('typing, styles, the length question, copy and a share link', async () => {
  const context = await profile();
  const page = await open(context);
  assert.equal(page.workers().length, 1, 'the engine runs in a worker of its own');
  await page.screenshot({path: join(shots, 'web.png'), fullPage: true});

  await typeInto(page, '#text-line', 'Tessalune rocks');
  await page.click('#fg input[value=rainbow]');
  await page.click('#bg input[value=gradient]');
  await page.click('#bg .stop:nth-child(1) .insert');
  assert.equal((await page.$$('#bg .stops .picker')).length, 3);
  await converted(page);
  const expected = engine.colour('Tessalune rocks', 'rainbow', 'grad:#55AAFF:#95CAFF:#D5EAFF');
  assert.equal(expected.outcome, 'ok');
  assert.equal(await value(page, '#code'), expected.result);
  const count = `${engine.length(expected.result)} of ${engine.limits.nickname} characters`;
  assert.equal(await textOf(page, '#count'), count);

  // The keyboard reaches the format buttons; Space presses one.
  await page.focus('#text-line');
  await page.keyboard.press('Tab');
  await page.keyboard.press('Space');
  assert.equal(await page.$eval('.format[data-format=bold]', (e) => e.getAttribute('aria-pressed')), 'true');
  await converted(page);
  assert.ok((await value(page, '#code')).includes('\u00B7#'));

  // Too long to keep every colour: the question, answered No, says so and can be asked again;
  // answered Yes, says what fitting kept.
  await typeInto(page, '#text-line', 'n'.repeat(120));
  assert.ok(await shown(page, '#question'));
  assert.match(await textOf(page, '#question-text'), /too long to be colored/);
  assert.deepEqual(await page.$$eval('#question button', (b) => b.map((e) => e.textContent)), ['Yes', 'No']);
  assert.equal(await value(page, '#code'), '');
  const yes = engine.colour('n'.repeat(120), 'rainbow', 'grad:#55AAFF:#95CAFF:#D5EAFF', {bold: true, keepThinned: true});
  await page.waitForFunction((count) => document.getElementById('count').textContent === count, {},
    `${engine.length(yes.result)} of ${engine.limits.nickname} characters`);
  assert.ok(await page.$eval('#copy', (e) => e.disabled && Number(getComputedStyle(e).opacity) < 0.5));
  await page.click('#drop');
  await converted(page);
  assert.ok(await shown(page, '#declined'));
  assert.equal(await focused(page), 'ask-again');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => !document.getElementById('question').hidden);
  await page.click('#keep');
  await page.waitForFunction(() => document.getElementById('code').value !== '');
  assert.equal(await page.$eval('#question', (e) => e.hidden), true);
  const kept = await value(page, '#code');
  assert.ok(engine.length(kept) <= engine.limits.nickname);
  assert.match(await textOf(page, '#fitted'), /^\d+ color changes kept to fit 129 characters$/);

  for (const [fields, said] of [[`t=${'n'.repeat(100)}`, '3 of 100 color changes kept to fit 129 characters'],
    [`m=message&t=${'n'.repeat(1000)}`, '11 color changes kept to fit 1100 characters']]) {
    const fitted = await open(context, `${address}#${fields}`);
    assert.equal(await textOf(fitted, '#fitted'), said);
    await fitted.close();
  }

  // A note ends at the next change.
  await page.click('#copy');
  await page.waitForFunction(() => document.getElementById('copied').textContent === 'Copied');
  assert.equal(await clipboard(page), kept);
  await page.type('#text-line', 'x');
  await page.waitForFunction(() => document.getElementById('copied').textContent === '');

  // Shapes come back as they were saved, three colours reversed too.
  await typeInto(page, '#text-line', 'Shared');
  await page.click('#fg input[value=gradient]');
  await page.click('#fg .stop:nth-child(1) .insert');
  await page.select('#fg-shape', 'reverse');
  await page.click('#share');
  await page.waitForFunction(() => document.getElementById('copied').textContent === 'Link copied');
  const opened = await open(context, await clipboard(page));
  assert.equal(await value(opened, '#text-line'), 'Shared');
  assert.equal(await value(opened, '#fg-shape'), 'reverse');
  assert.equal(await value(opened, '#code'), await value(page, '#code'));
  await opened.close();
  await context.close();
});

// Every target of the engine's table is offered, Plus! codes first; another target's result is
// counted in its unit against its limit (or alone where it has none), copied as it is, kept in
// share links and saved styles, and previewed in its colours, a background it cannot carry left
// out and said so.
test('a result written in another target\'s codes', async () => {
  const context = await profile();
  const page = await open(context);
  assert.deepEqual(await page.$$eval('#target option', (o) => o.map((e) => e.value)),
    engine.targets.map((t) => t.name));
  assert.equal(await value(page, '#target'), 'plus');
  const text = 'Ünïcødé';
  await typeInto(page, '#text-line', text);
  await page.select('#target', 'irc');
  await converted(page);
  const irc = engine.colour(text, 'grad1:#000080:#0080FF', 'none', {to: 'irc'});
  assert.ok(irc.result.includes('\u0003'));
  assert.equal(await value(page, '#code'), irc.result);
  assert.equal(await textOf(page, '#count'), `${Buffer.byteLength(irc.result)} of 400 bytes`);
  assert.equal(await textOf(page, '#code-label'), 'irc codes');
  assert.ok(await page.$$eval('#preview span', (s) => s.some((e) => e.dataset.colour === '#000080')));
  await page.click('#copy');
  await page.waitForFunction(() => document.getElementById('copied').textContent === 'Copied');
  assert.equal(await clipboard(page), irc.result);

  await page.click('#share');
  await page.waitForFunction(() => document.getElementById('copied').textContent === 'Link copied');
  const opened = await open(context, await clipboard(page));
  assert.equal(await value(opened, '#target'), 'irc');
  assert.equal(await value(opened, '#code'), irc.result);
  await opened.close();

  await page.type('#style-name', 'Chat');
  await page.keyboard.press('Enter');
  await page.select('#target', 'plus');
  await page.click('button[aria-label="Use: Chat"]');
  await converted(page);
  assert.equal(await value(page, '#target'), 'irc');
  assert.equal(await value(page, '#code'), irc.result);

  await page.select('#target', 'minecraft');
  await page.click('#bg input[value=solid]');
  await converted(page);
  const game = engine.colour(text, 'grad1:#000080:#0080FF', 'solid:#FFFFFF', {to: 'minecraft'});
  assert.equal(await value(page, '#code'), game.result);
  assert.equal(await textOf(page, '#count'), `${[...game.result].length} of 256 characters`);
  assert.equal(await textOf(page, '#no-backgrounds'),
    'minecraft has no background colors: the background was left out.');
  assert.ok(await page.$$eval('#preview span', (s) => s.length > 0 && s.every((e) => e.dataset.ground === '')));
  await page.screenshot({path: join(shots, 'web-targets.png'), fullPage: true});
  // Fitting the limit thinned the colour changes: counted and said, as for Plus! codes, from the
  // Plus! text the target's codes were written from; a target without a limit keeps them all.
  const long = 'n'.repeat(100);
  await typeInto(page, '#text-line', long);
  const thinned = engine.colour(long, 'grad1:#000080:#0080FF', 'solid:#FFFFFF', {to: 'minecraft'});
  const roomy = engine.colour(long, 'grad1:#000080:#0080FF', 'solid:#FFFFFF',
    {to: 'minecraft', limit: 0x7fffffff, keepThinned: true});
  const changes = (plus) => plus.split('\u00B7$').length - 1;
  assert.ok(changes(thinned.plus) < changes(roomy.plus));
  assert.equal(await value(page, '#code'), thinned.result);
  assert.equal(await textOf(page, '#fitted'),
    `${changes(thinned.plus)} of ${changes(roomy.plus)} color changes kept to fit 256 characters`);
  await page.select('#target', 'html');
  await converted(page);
  const html = engine.colour(long, 'grad1:#000080:#0080FF', 'solid:#FFFFFF', {to: 'html'});
  assert.equal(await textOf(page, '#count'), `${[...html.result].length} characters`);
  assert.ok(await page.$eval('#no-backgrounds', (e) => e.hidden));
  assert.ok(await page.$eval('#fitted', (e) => e.hidden));
  await context.close();
});

test('a colour never splits what a person reads as one character', async () => {
  const context = await profile();
  const page = await open(context);
  const text = 'A\u{1F468}\u200D\u{1F469}\u200D\u{1F467}B\u{1F1EB}\u{1F1F7}Ce\u0301';
  await typeInto(page, '#text-line', text);
  const expected = engine.colour(text, 'rainbow');
  await page.click('#fg input[value=rainbow]');
  await page.waitForFunction((code) => document.getElementById('code').value === code, {timeout: 10000},
    expected.result);
  const preview = await page.$eval('#preview', (e) => e.innerHTML);
  for (const cluster of ['\u{1F468}\u200D\u{1F469}\u200D\u{1F467}', '\u{1F1EB}\u{1F1F7}', 'e\u0301']) {
    assert.ok(expected.result.includes(cluster), cluster);
    assert.ok(preview.includes(cluster), cluster);
  }
  await (await page.$('#preview')).screenshot({path: join(shots, 'clusters.png')});
  await context.close();
});

// Each key, from a control, leaves the focus on the control it meant (never on the page's body).
test('the keyboard walks every style control and keeps its place', async () => {
  const context = await profile();
  const page = await open(context);
  const walk = [
    // [control focused first, keys, the control focused after, what changed]
    ['#fg input[value=gradient]', ['ArrowDown'], 'rainbow',
      () => document.querySelector('#fg input[value=rainbow]').checked],
    ['#fg input[value=rainbow]', ['ArrowUp', 'ArrowUp'], 'solid', () => !document.querySelector('#fg .solid').hidden],
    ['#fg .swatch:nth-child(5)', ['Enter'], 'Swatch 5 #FF0000',
      () => document.querySelector('#fg .swatch:nth-child(5)').getAttribute('aria-pressed') === 'true'],
    ['#fg-other-hex', ['Backspace', '8'], 'fg-other-hex',
      () => document.getElementById('code').value.includes('#FF0008')],
    ['#fg input[value=solid]', ['ArrowDown'], 'gradient', () => !document.querySelector('#fg .gradient').hidden],
    ['#fg-shape', ['ArrowDown'], 'fg-shape', () => document.getElementById('fg-shape').value === 'reverse'],
    ['#fg .stop:nth-child(1) .insert', ['Enter'], 'Color 2', () => document.querySelectorAll('#fg .stop').length === 3],
    ['#fg .stop:nth-child(2) .hex', ['Alt+ArrowRight'], 'fg-stop-2',
      () => document.getElementById('fg-stop-2').value === '#0040C0'],
    ['#fg .stop:nth-child(1) .remove', ['Enter'], 'Color 1', () => document.querySelectorAll('#fg .stop').length === 2],
    ['#fg .presets .preset:nth-child(5)', ['Enter'], 'Preset 5',
      () => document.querySelectorAll('#fg .stop').length === 4],
    ['#bg input[value=none]', ['ArrowDown', 'ArrowDown'], 'gradient',
      () => !document.querySelector('#bg .gradient').hidden],
    ['input[name=mode][value=nickname]', ['ArrowDown'], 'message', () => !document.getElementById('text-lines').hidden],
    ['input[name=mode][value=message]', ['Tab'], 'target', () => document.getElementById('target').value === 'plus'],
    ['#target', ['ArrowDown'], 'target', () => document.getElementById('code').value.includes('\u0003')],
  ];
  for (const [start, keys, after, check] of walk) {
    await page.focus(start);
    for (const key of keys) {
      const [modifier, name] = key.includes('+') ? key.split('+') : [null, key];
      if (modifier) await page.keyboard.down(modifier);
      await page.keyboard.press(name);
      if (modifier) await page.keyboard.up(modifier);
    }
    await converted(page);
    assert.equal(await focused(page), after, `${start} ${keys}`);
    assert.ok(await page.evaluate(check), `${start} ${keys}`);
  }
  // A stop is moved by dragging its grip, too.
  await page.setDragInterception(true);
  await (await page.$('#fg .stop:nth-child(1) .grip')).dragAndDrop(await page.$('#fg .stop:nth-child(2) .hex'));
  assert.deepEqual(await page.$$eval('#fg .stop .hex', (l) => l.map((e) => e.value).slice(0, 2)),
    ['#FF0000', '#800000']);
  await context.close();
});

test('each mode keeps its text, a link its language for the visit, and the paper its tone', async () => {
  const context = await profile();
  const page = await open(context, address, {scheme: 'dark'});
  await page.screenshot({path: join(shots, 'web-dark.png'), fullPage: true});
  // What the chat writes after the nickname goes on in its last colour only without the end code.
  for (const [noEnd, last] of [[true, {text: 'e says:', colour: '#0080FF'}], [false, {text: ' says:', colour: null}]]) {
    await page.click('#no-end');
    await converted(page);
    assert.deepEqual(await page.$eval('#preview', ({lastChild: words}) =>
      ({text: words.textContent, colour: words.dataset?.colour ?? null})), last, `no end code: ${noEnd}`);
    await (await page.$('#preview')).screenshot({path: join(shots, `after-name-${noEnd ? 'no-end' : 'end'}.png`)});
  }
  await page.click('input[name=mode][value=message]');
  await typeInto(page, '#text-lines', 'first line\nsecond line');
  await page.click('input[name=mode][value=nickname]');
  await page.click('input[name=mode][value=message]');
  assert.equal(await value(page, '#text-lines'), 'first line\nsecond line');

  // The paper follows the scheme; white text on light paper gets a dark outline.
  assert.equal(await page.$eval('#preview', (e) => getComputedStyle(e).backgroundColor), 'rgb(30, 30, 30)');
  await page.click('input[name=paper][value=light]');
  await page.click('#fg input[value=solid]');
  await page.click('#fg .swatch[title="#FFFFFF"]');
  await converted(page);
  assert.ok(await page.$eval('#preview span', (e) => getComputedStyle(e).textShadow !== 'none'));
  // A key puts the preview in at once, its spans marked before they are shown.
  await page.click('#fg input[value=gradient]');
  await converted(page);
  await watchChanges(page, ['preview']);
  await page.type('#text-lines', 'x');
  await converted(page);
  assert.deepEqual(await changes(page), ['preview childList']);
  // A conversion that gives what is shown again writes none of the words around it.
  await watchChanges(page, ['preview', 'count', 'fitted', 'question', 'declined', 'refusal', 'link-note']);
  await page.click('#no-end');  // not a message's option
  await converted(page);
  assert.deepEqual(await changes(page), []);

  const french = await open(context, `${address}#t=Bonjour&l=fr`);
  assert.equal(await french.$eval('html', (e) => e.lang), 'fr');
  const later = await open(context);
  assert.equal(await later.$eval('html', (e) => e.lang), 'en');
  await context.close();
});

// Fields a link or the stored styles hold that the page does not understand are named, and
// never half applied; text with a control character is refused with a word, never cut.
test('links, saved styles and texts the page does not take', async () => {
  const context = await profile();
  const cases = [
    // [link fields, the note's lines]
    ['t=A&m=constructor', ["The link's mode was not understood and was left out."]],
    ['t=A&fg=bogus&bg=solid:%23ZZZZZZ', ["The link's Text color was not understood and was left out.",
      "The link's Background was not understood and was left out."]],
    ['t=A&m=__proto__&l=toString', ["The link's mode was not understood and was left out.",
      "The link's Language was not understood and was left out."]],
    ['t=two%0Alines', ["The link's My nickname was not understood and was left out."]],
    ['t=A&to=gopher', ["The link's Write as was not understood and was left out."]],
  ];
  for (const [fields, lines] of cases) {
    const page = await open(context, `${address}#${fields}`);
    assert.deepEqual(await page.$$eval('#link-note span', (s) => s.map((e) => e.textContent)), lines, fields);
    assert.match(await textOf(page, '#count'), new RegExp(` of ${engine.limits.nickname} characters$`));
    // The note follows the language and ends at the next change.
    await page.select('#language', 'fr');
    assert.match(await textOf(page, '#link-note'), /du lien/);
    await page.select('#language', 'en');
    await page.type('#text-line', 'x');
    await page.waitForFunction(() => document.getElementById('link-note').hidden);
    await page.close();
  }
  for (const [text, said] of [['a%00b', /U\+0000\) at character 2/], ['a%09b', /U\+0009\) at character 2/]]) {
    const page = await open(context, `${address}#t=${text}`);
    assert.match(await textOf(page, '#refusal'), said);
    assert.ok(await page.$eval('#count', (e) => e.classList.contains('over')));
    assert.match(await textOf(page, '#count'), /^3 of /);
    await page.close();
  }

  const page = await open(context);
  await page.evaluate(() => localStorage.setItem('tessalune-styles', JSON.stringify([
    {name: 'Broken', fg: 'rainbow', bg: 'none', formats: 'bold'},
    {name: 'Fine', fg: 'rainbow', bg: 'none', formats: ['bold']},
    {name: 'Odd', fg: 'solid:#12', bg: 'none', formats: []},
    {name: 'Far', fg: 'rainbow', bg: 'none', formats: [], target: 'gopher'},
  ])));
  await page.reload();
  await page.waitForSelector('body[data-ready=true]');
  assert.equal(await textOf(page, '#saved-note'), '3 saved styles could not be read and were left out.');
  assert.equal(await page.$$eval('#saved-list li', (l) => l.length), 1);
  assert.ok(await page.$eval('#saved-list .style-preview', (e) => e.querySelector('span') !== null));

  await page.click('#save-form button');
  assert.equal(await textOf(page, '#saved-note'), 'Type a name for the style.');
  await page.type('#style-name', 'Fine');
  await page.keyboard.press('Enter');
  assert.match(await textOf(page, '#saved-note'), /press Save again/);
  assert.equal(await page.$$eval('#saved-list li', (l) => l.length), 1);
  await page.click('button[aria-label="Delete: Fine"]');
  assert.equal(await page.$$eval('#saved-list li', (l) => l.length), 0);
  await page.select('#language', 'fr');
  assert.equal(await textOf(page, '#saved-note'), '« Fine » supprimé Annuler');
  await page.select('#language', 'en');
  await page.click('#saved-note button');
  assert.equal(await page.$$eval('#saved-list li', (l) => l.length), 1);
  await page.click('button[aria-label="Rename: Fine"]');
  await page.keyboard.type('Mine');
  await page.keyboard.press('Enter');
  await page.click('button[aria-label="Use: Mine"]');
  assert.equal(await page.$eval('.format[data-format=bold]', (e) => e.getAttribute('aria-pressed')), 'true');
  await context.close();
});

// Edges, rows and the result's place at three widths; the words there before the engine, and a
// retry when it fails to load.
test('the layout at 360, 1024 and 1920 pixels, and a page whose engine is missing', async () => {
  const context = await profile();
  for (const [width, picture] of [[360, 'web-narrow.png'], [1024, null], [1920, 'web-wide.png']]) {
    const page = await open(context, address, {viewport: {width, height: 740}});
    const layout = await page.evaluate(() => {
      const box = (e) => e.getBoundingClientRect();
      const bar = box(document.querySelector('.bar'));
      const panels = [...document.querySelectorAll('.panel')].map(box);
      // Panels whose tops are within 20 pixels of a row's first share its row.
      const rows = [];
      for (const p of panels.sort((a, b) => a.top - b.top)) {
        if (rows.length && p.top - rows.at(-1)[0].top < 20) rows.at(-1).push(p);
        else rows.push([p]);
      }
      const main = box(document.querySelector('main'));
      const inner = main.width - 2 * parseFloat(getComputedStyle(document.querySelector('main')).paddingLeft);
      const spread = (row) => Math.max(...row.map((p) => p.top)) - Math.min(...row.map((p) => p.top));
      return {
        edges: [Math.abs(bar.left - main.left), Math.abs(bar.right - main.right)],
        rowTops: rows.map(spread),
        lone: rows.filter((row) => row.length === 1 && row[0].width < inner - 1).length,
        scroll: document.documentElement.scrollWidth - innerWidth,
        preview: box(document.getElementById('preview')).bottom,
        font: parseFloat(getComputedStyle(document.getElementById('preview')).fontSize),
        shifted: window.shifted,
      };
    });
    assert.ok(layout.edges.every((d) => d <= 1), `${width}: ${layout.edges}`);
    assert.ok(layout.rowTops.every((d) => d <= 1), `${width}: ${layout.rowTops}`);
    assert.equal(layout.lone, 0, `${width}`);
    assert.ok(layout.scroll <= 0, `${width}: ${layout.scroll}`);
    assert.ok(layout.preview <= 740, `${width}: the result ends at ${layout.preview}`);
    assert.ok(layout.font >= 20);
    assert.ok(layout.shifted < 0.1, `${width}: shifted ${layout.shifted}`);
    if (picture) await page.screenshot({path: join(shots, picture), fullPage: true});
    await page.close();
  }

  // The wasm file out of reach: the words are there, a message says so, and Try again loads it
  // once it can be reached.
  let reachable = false;
  const refusing = await serveSite(site, {refuse: (path) => path.endsWith('.wasm') && !reachable});
  const page = await context.newPage();
  await page.goto(refusing.address);
  await page.waitForFunction(() => !document.getElementById('engine-failed').hidden);
  assert.equal(await textOf(page, '.format[data-format=strike]'), 'Strike');
  assert.equal(await textOf(page, '#fg legend'), 'Text color');
  reachable = true;
  await page.click('#retry');
  await page.waitForSelector('body[data-ready=true]');
  assert.notEqual(await value(page, '#code'), '');
  refusing.close();

  // A visitor's language is there before the page's script has run at all.
  const before = await context.newPage();
  await before.setRequestInterception(true);
  before.on('request', (request) => (request.url().endsWith('/app.mjs') ? request.abort() : request.continue()));
  await before.goto(`${address}#l=es`);
  const spanish = languages.find((l) => l.code === 'es').text;
  assert.deepEqual(await before.evaluate(() => [document.querySelector('h1').textContent,
    document.querySelector('.format').textContent, getComputedStyle(document.body).visibility]),
  [spanish.title, spanish.bold, 'visible']);
  await context.close();
});

// Every text at least 4.5:1 against what it stands on, the focus ring 3:1, in both schemes.
test('contrast of the words and the focus ring in both schemes', async () => {
  const context = await profile();
  for (const scheme of ['light', 'dark']) {
    const page = await open(context, address, {scheme});
    await page.click('#bg input[value=solid]');
    await page.evaluate(() => {
      document.getElementById('question').hidden = false;
      document.getElementById('refusal').hidden = false;
      document.getElementById('refusal').textContent = 'refused';
    });
    const faults = await page.evaluate(() => {
      const rgb = (text) => text.match(/[\d.]+/g).map(Number);
      const luminance = ([r, g, b]) => [r, g, b].map((c) => {
        const v = c / 255;
        return v <= 0.03928 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4;
      }).reduce((sum, v, i) => sum + v * [0.2126, 0.7152, 0.0722][i], 0);
      const ratio = (a, b) => {
        const [x, y] = [luminance(a), luminance(b)].sort((p, q) => q - p);
        return (x + 0.05) / (y + 0.05);
      };
      const ground = (e) => {
        for (; e; e = e.parentElement) {
          const colour = rgb(getComputedStyle(e).backgroundColor);
          if (colour.length === 3 || colour[3] === 1) return colour;
        }
        return [255, 255, 255];
      };
      const found = [];
      for (const e of document.querySelectorAll('body *')) {
        if (e.closest('#preview, .style-preview, option, [disabled]') || !e.getClientRects().length) continue;
        const own = [...e.childNodes].some((n) => n.nodeType === Node.TEXT_NODE && n.textContent.trim());
        if (own) {
          const r = ratio(rgb(getComputedStyle(e).color), ground(e));
          if (r < 4.5) found.push(`${e.tagName}#${e.id} "${e.textContent.trim().slice(0, 20)}" ${r.toFixed(2)}`);
        }
        if (e.matches('button, input, select, textarea')) {
          e.focus({focusVisible: true});
          const ring = rgb(getComputedStyle(e).outlineColor);
          const r = ratio(ring, ground(e.parentElement));
          if (r < 3) found.push(`focus ring of ${e.tagName}.${e.className} ${r.toFixed(2)}`);
        }
      }
      return found;
    });
    assert.deepEqual(faults, [], scheme);
    await page.close();
  }
  await context.close();
});

test('the single-file page works opened from disk, in French when asked', async () => {
  const context = await profile();
  // Its notes stay: what is checked is their words, on a machine however slow.
  const page = await context.newPage();
  await page.evaluateOnNewDocument(() => {
    const later = window.setTimeout;
    window.setTimeout = (run, ms, ...rest) => (ms >= 1000 ? 0 : later(run, ms, ...rest));
  });
  await page.goto(`${pathToFileURL(join(root, 'build-web', 'tessalune.html')).href}#t=Bonjour&l=fr`);
  await page.waitForSelector('body[data-ready=true]');
  assert.equal(page.workers().length, 1, 'the engine runs in a worker of its own');
  assert.equal(await page.$eval('html', (e) => e.lang), 'fr');
  assert.equal(await textOf(page, 'legend'), 'Couleur du texte');
  assert.equal(await page.$eval('.formats', (e) => e.getAttribute('aria-label')), 'Mise en forme');
  assert.match(await page.$eval('#fg .stop .picker', (e) => e.getAttribute('aria-description')), /Alt\+Gauche/);
  assert.equal(await value(page, '#code'), engine.colour('Bonjour', 'grad1:#000080:#0080FF').result);
  await page.click('#share');
  await page.waitForFunction(() => /cet ordinateur/.test(document.getElementById('copied').textContent));
  await page.select('#language', 'nl');
  assert.match(await textOf(page, '#copied'), /deze computer/);

  // Where no worker starts, the engine runs in the page itself, served or opened from disk.
  for (const url of [address, pathToFileURL(join(root, 'build-web', 'tessalune.html')).href]) {
    const workerless = await context.newPage();
    await workerless.evaluateOnNewDocument(() => delete window.Worker);
    await workerless.goto(url);
    await workerless.waitForSelector('body[data-ready=true]');
    assert.equal(await value(workerless, '#code'), engine.colour('Tessalune', 'grad1:#000080:#0080FF').result, url);
    assert.equal(workerless.workers().length, 0);
  }
  await context.close();
});
