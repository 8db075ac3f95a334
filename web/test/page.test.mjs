// The page in Chromium (Debian's, driven by puppeteer-core), as a person uses it: typing
// with key events, picking styles, answering the length question, copying, opening a share
// link; and the single-file page opened from disk. Screenshots go to build-web/screenshots/.
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

let server, browser, address;

before(async () => {
  server = await serveSite(site);
  address = server.address;
  browser = await puppeteer.launch(kChromiumOptions);
  await browser.defaultBrowserContext().overridePermissions(address.slice(0, -1), ['clipboard-read', 'clipboard-write',
    'clipboard-sanitized-write']);
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

async function open(url, viewport = {width: 1000, height: 1200}, within = browser) {
  const page = await within.newPage();
  await page.setViewport(viewport);
  await page.goto(url);
  await page.waitForSelector('body[data-ready=true]');
  return page;
}

const value = (page, selector) => page.$eval(selector, (e) => e.value);
const textOf = (page, selector) => page.$eval(selector, (e) => e.textContent);
const clipboard = (page) => page.evaluate(() => navigator.clipboard.readText());
// The page converts at the next animation frame: a frame asked for now runs after it.
const converted = (page) => page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => resolve())));

async function typeNickname(page, text) {
  await page.click('#text-line', {clickCount: 3});
  await page.keyboard.press('Backspace');
  await page.keyboard.type(text);
  await page.waitForFunction((t) => document.getElementById('text-line').value === t, {}, text);
  await converted(page);
}

test('typing, styles, the length question, copy and a share link', async () => {
  const page = await open(address);
  await page.screenshot({path: join(shots, 'web.png'), fullPage: true});

  await typeNickname(page, 'Tessalune rocks');
  await page.click('#fg input[value=rainbow]');
  await page.click('#bg input[value=gradient]');
  await page.click('#bg button[aria-label="Add a color"]');
  assert.equal((await page.$$('#bg .stops input[type=color]')).length, 3);
  await converted(page);
  const expected = engine.colour('Tessalune rocks', 'rainbow', 'grad:#55AAFF:#D5EAFF:#D5EAFF');
  assert.equal(expected.outcome, 'ok');
  assert.equal(await value(page, '#code'), expected.result);
  const count = `${engine.length(expected.result)} of ${engine.limits.nickname} characters`;
  assert.equal(await textOf(page, '#count'), count);
  assert.equal(await page.$eval('#preview', (e) => e.innerHTML), engine.render(expected.result));

  // The keyboard reaches the format buttons; Space presses one.
  await page.focus('#text-line');
  await page.keyboard.press('Tab');
  await page.keyboard.press('Space');
  assert.equal(await page.$eval('.format[data-format=bold]', (e) => e.getAttribute('aria-pressed')), 'true');
  await converted(page);
  assert.ok((await value(page, '#code')).includes('\u00B7#'));

  // Too long to keep every colour: the question is asked on the page, and answered there.
  await typeNickname(page, 'n'.repeat(120));
  assert.equal(await page.$eval('#question', (e) => e.hidden), false);
  assert.match(await textOf(page, '#question-text'), /too long to be colored/);
  assert.equal(await value(page, '#code'), '');
  await page.click('#keep');
  await page.waitForFunction(() => document.getElementById('code').value !== '');
  assert.equal(await page.$eval('#question', (e) => e.hidden), true);
  const kept = await value(page, '#code');
  assert.ok(engine.length(kept) <= engine.limits.nickname);

  await page.click('#copy');
  await page.waitForFunction(() => document.getElementById('copied').textContent !== '');
  assert.equal(await clipboard(page), kept);

  await typeNickname(page, 'Shared');
  await page.click('#share');
  await page.waitForFunction(() => document.getElementById('copied').textContent === 'Link copied');
  const link = await clipboard(page);
  const opened = await open(link);
  assert.equal(await value(opened, '#text-line'), 'Shared');
  assert.equal(await opened.$eval('#fg input[value=rainbow]', (e) => e.checked), true);
  assert.equal(await value(opened, '#code'), await value(page, '#code'));
  // A link's mode that is not one of the two leaves the page in nickname mode.
  const odd = await open(`${address}#t=Odd&m=constructor`);
  assert.match(await textOf(odd, '#count'), new RegExp(` of ${engine.limits.nickname} characters$`));
  await odd.close();

  // A style saved under a name is there for the next visit, and Use brings it back.
  await page.type('#style-name', 'Mine');
  await page.keyboard.press('Enter');
  await page.waitForSelector('#saved-list li');
  await opened.reload();
  await opened.waitForSelector('body[data-ready=true]');
  await opened.click('#fg input[value=solid]');
  await opened.click('#saved-list button[aria-label="Use: Mine"]');
  assert.equal(await opened.$eval('#fg input[value=rainbow]', (e) => e.checked), true);
  await opened.close();
  await page.close();
});

test('a colour never splits what a person reads as one character', async () => {
  const page = await open(address);
  const text = 'A\u{1F468}\u200D\u{1F469}\u200D\u{1F467}B\u{1F1EB}\u{1F1F7}Ce\u0301';
  await typeNickname(page, text);
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
  await page.close();
});

// In a profile of their own: the pictures show a first visit, without the styles saved above.
test('the page follows dark mode and fits 360 pixels', async () => {
  const firstVisit = await browser.createBrowserContext();
  const dark = await firstVisit.newPage();
  await dark.emulateMediaFeatures([{name: 'prefers-color-scheme', value: 'dark'}]);
  await dark.setViewport({width: 1000, height: 1200});
  await dark.goto(address);
  await dark.waitForSelector('body[data-ready=true]');
  const paper = await dark.$eval('#preview', (e) => getComputedStyle(e).backgroundColor);
  assert.equal(paper, 'rgb(255, 255, 255)');
  assert.notEqual(await dark.$eval('body', (e) => getComputedStyle(e).backgroundColor), 'rgb(244, 245, 248)');
  await dark.screenshot({path: join(shots, 'web-dark.png'), fullPage: true});
  await dark.close();

  const narrow = await open(address, {width: 360, height: 900}, firstVisit);
  assert.ok(await narrow.evaluate(() => document.documentElement.scrollWidth <= 360));
  await narrow.screenshot({path: join(shots, 'web-narrow.png'), fullPage: true});
  await firstVisit.close();
});

test('the single-file page works opened from disk, in French when asked', async () => {
  const page = await open(`${pathToFileURL(join(root, 'build-web', 'tessalune.html')).href}#t=Bonjour&l=fr`);
  assert.equal(await page.$eval('html', (e) => e.lang), 'fr');
  assert.equal(await textOf(page, 'legend'), 'Couleur du texte');
  assert.equal(await value(page, '#code'), engine.colour('Bonjour', 'grad1:#000080:#0080FF').result);
  await page.close();
});
