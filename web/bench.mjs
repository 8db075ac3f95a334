// Measures the page's two budgets in Chromium (Debian's), in the page itself:
// - ready: navigation start to the first preview filled, over 15 cold loads (each in a
//   fresh browser context, so nothing is cached);
// - keystroke: a key typed into an 1100-character message with a gradient on a gradient,
//   over 40 keys: the main thread's work it costs (the page's task time from the key until
//   the document has stopped changing, as Chromium counts it), and the time from the keydown
//   to the page's last change of the document it caused. The same keys are typed into a
//   second copy of the page whose input handler is held back (the bench stops the event
//   before the page sees it): what the browser's own text field and this measurement cost,
//   the floor under the page's own work.
// Each site folder given is measured in the same run, loads and keys taken in turn, so a
// before and an after meet the same machine load (printed with the results). A
// measurement, not a test: it prints the medians.
// Usage: node web/bench.mjs [SITE_DIR ...]   (default: build-web/site, after scripts/build --web)
import {loadavg} from 'node:os';
import {resolve} from 'node:path';
import puppeteer from 'puppeteer-core';
import {kChromiumOptions, serveSite, siteFolder} from './serve-site.mjs';

const kLoads = 15;
const kKeys = 40;
const folders = process.argv.length > 2 ? process.argv.slice(2).map((f) => resolve(f)) : [siteFolder];
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const load = () => loadavg().map((l) => l.toFixed(2)).join(' ');

// Watches the page from its first script: when the preview first holds something, and
// when the document last changed after a keydown.
function watch(holdBack = false) {
  window.benchFirstPreviewAt = null;
  // The floor's copy: once the page is ready, its text field's input never reaches it; the
  // document changes once all the same, for the measurement to see the key handled.
  if (holdBack) {
    addEventListener('input', (e) => {
      if (document.body.dataset.ready !== 'true') return;
      e.stopImmediatePropagation();
      document.documentElement.dataset.benchKey = String(performance.now());
    }, true);
  }
  window.benchLastChangeAt = 0;
  window.benchKeyAt = 0;
  addEventListener('keydown', () => (window.benchKeyAt = performance.now()), true);
  new MutationObserver(() => {
    const now = performance.now();
    window.benchLastChangeAt = now;
    const preview = document.getElementById('preview');
    if (window.benchFirstPreviewAt === null && preview?.textContent) window.benchFirstPreviewAt = now;
  }).observe(document, {subtree: true, childList: true, characterData: true, attributes: true});
}

const browser = await puppeteer.launch(kChromiumOptions);
const sites = [];
for (const folder of folders) {
  sites.push({folder, server: await serveSite(folder), loads: [], keys: [], work: [], floor: []});
}
console.log(`machine load before: ${load()}`);

async function coldLoad(site) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.evaluateOnNewDocument(watch);
  await page.goto(site.server.address);
  await page.waitForFunction(() => window.benchFirstPreviewAt !== null, {timeout: 30000});
  site.loads.push(await page.evaluate(() => window.benchFirstPreviewAt));
  await context.close();
}
for (let i = 0; i < kLoads; ++i) for (const site of sites) await coldLoad(site);

// The message is typed up to the limit; the page has converted a key when the document
// has changed since the keydown and then stayed the same for two frames.
const words = 'Tessalune colours messages with gradients, one colour per character; ';
const start = words.repeat(20).slice(0, 1100 - kKeys);
const fields = new URLSearchParams({t: start, m: 'message', fg: 'grad1:#000080:#0080FF', bg: 'grad3:#55AAFF:#D5EAFF'});
async function typingPage(site, holdBack) {
  const page = await browser.newPage();
  await page.evaluateOnNewDocument(watch, holdBack);
  await page.goto(`${site.server.address}#${fields}`);
  await page.waitForSelector('body[data-ready=true]');
  await page.focus('#text-lines');
  await page.keyboard.press('End');
  return page;
}
for (const site of sites) [site.page, site.floorPage] = [await typingPage(site, false), await typingPage(site, true)];
const settled = () => new Promise((done) => {
  const frames = (n, then) => requestAnimationFrame(() => (n > 1 ? frames(n - 1, then) : then()));
  const check = () => {
    const quiet = window.benchLastChangeAt;
    if (quiet <= window.benchKeyAt) return frames(1, check);
    frames(2, () => (window.benchLastChangeAt === quiet ? done(quiet - window.benchKeyAt) : check()));
  };
  check();
});
// A key typed into a page: the main thread's work it cost, and the time to its last change.
async function typed(page, key) {
  await page.bringToFront();  // a page behind another has no frames
  const before = await page.metrics();
  await page.keyboard.type(key);
  const keyToChange = await page.evaluate(settled);
  return [((await page.metrics()).TaskDuration - before.TaskDuration) * 1000, keyToChange];
}
for (let i = 0; i < kKeys; ++i) {
  const key = 'abcdefghij'[i % 10];
  for (const site of sites) {
    const [work, keyToChange] = await typed(site.page, key);
    site.work.push(work);
    site.keys.push(keyToChange);
    site.floor.push((await typed(site.floorPage, key))[0]);
  }
}

console.log(`machine load after: ${load()}`);
for (const site of sites) {
  console.log(`${site.folder}:`);
  console.log(`  ready (first preview filled): median ${median(site.loads).toFixed(1)} ms, ` +
    `min ${Math.min(...site.loads).toFixed(1)}, max ${Math.max(...site.loads).toFixed(1)}, over ${kLoads} cold loads`);
  console.log(`  keystroke at 1100 characters, gradient on gradient, over ${kKeys} keys: main thread's work ` +
    `median ${median(site.work).toFixed(2)} ms, worst ${Math.max(...site.work).toFixed(2)} ms; keydown to last ` +
    `change median ${median(site.keys).toFixed(2)} ms, worst ${Math.max(...site.keys).toFixed(2)} ms; the text ` +
    `field alone (the floor) median ${median(site.floor).toFixed(2)} ms, worst ${Math.max(...site.floor).toFixed(2)} ms`);
}
await browser.close();
for (const site of sites) site.server.close();
