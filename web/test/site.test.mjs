// The served site as a browser and a chat's link preview meet it: every request it makes
// answered, each file fetched once (what the head preloads is what the page uses), an
// icon, and the description and card a pasted link shows. Needs build-web/
// (scripts/build --web).
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {join} from 'node:path';
import {fileURLToPath} from 'node:url';
import puppeteer from 'puppeteer-core';
import {kChromiumOptions, serveSite} from '../serve-site.mjs';

const root = fileURLToPath(new URL('../..', import.meta.url));

test('the page loads with every file fetched once, an icon, a description and a card', async () => {
  const server = await serveSite(join(root, 'build-web', 'site'));
  const browser = await puppeteer.launch(kChromiumOptions);
  try {
    const page = await browser.newPage();
    const failed = [];
    const fetched = [];
    page.on('request', (r) => fetched.push(r.url()));
    page.on('console', (m) => m.type() === 'warning' && failed.push(m.text()));
    page.on('response', (r) => r.status() >= 400 && failed.push(`${r.url()} ${r.status()}`));
    page.on('requestfailed', (r) => failed.push(`${r.url()} ${r.failure()?.errorText}`));
    await page.goto(server.address, {waitUntil: 'networkidle0'});
    await page.waitForSelector('body[data-ready=true]');
    assert.deepEqual(failed, []);
    assert.deepEqual(fetched.filter((url, i) => fetched.indexOf(url) !== i), []);
    const head = await page.evaluate(async () => {
      const content = (selector) => document.querySelector(selector)?.content ?? '';
      const icon = await fetch(document.querySelector('link[rel=icon]').href);
      return {icon: icon.ok && icon.headers.get('content-type'), description: content('meta[name=description]'),
        title: content('meta[property="og:title"]'), card: content('meta[property="og:description"]')};
    });
    assert.equal(head.icon, 'image/svg+xml');
    for (const field of ['description', 'title', 'card']) assert.ok(head[field].length > 8, `${field}: ${head[field]}`);
  } finally {
    await browser.close();
    server.close();
  }
});
