// Measures the page's two budgets in Chromium (Debian's): load to interactive (navigation
// start to the page ready, engine loaded and first conversion done), and one preview update
// of an 1100-character message with a gradient on a gradient (conversion, render and count).
// A measurement, not a test: it prints the medians. Usage: node web/bench.mjs (after
// scripts/build --web).
import puppeteer from 'puppeteer-core';
import {kChromiumOptions, serveSite} from './serve-site.mjs';

const server = await serveSite();
const address = server.address;
const browser = await puppeteer.launch(kChromiumOptions);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const loads = [];
for (let i = 0; i < 15; ++i) {
  const page = await browser.newPage();
  await page.goto(address);
  await page.waitForSelector('body[data-ready=true]');
  loads.push(await page.evaluate(() => window.tessaluneReadyAt));
  await page.close();
}

const page = await browser.newPage();
await page.goto(address);
await page.waitForSelector('body[data-ready=true]');
const updates = await page.evaluate(async () => {
  const {default: createTessalune} = await import('./tessalune.mjs');
  const engine = await createTessalune();
  const words = 'Tessalune colours messages with gradients, one colour per character; ';
  const text = words.repeat(20).slice(0, engine.limits.message);
  const times = [];
  for (let i = 0; i < 40; ++i) {
    const start = performance.now();
    const answer = engine.colour(text, 'grad1:#000080:#0080FF', 'grad3:#55AAFF:#D5EAFF', {message: true, keepThinned: true});
    engine.render(answer.result ?? '');
    engine.length(answer.result ?? '');
    times.push(performance.now() - start);
  }
  return times;
});
console.log(`load to interactive: median ${median(loads).toFixed(1)} ms (budget 150 ms), over ${loads.length} loads`);
console.log(`preview update, 1100 characters gradient on gradient: median ${median(updates).toFixed(2)} ms ` +
  `(budget 4 ms), min ${Math.min(...updates).toFixed(2)} ms, over ${updates.length} updates`);
await browser.close();
server.close();
