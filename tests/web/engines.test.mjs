// The page's core cases in the two engines besides Chromium: Firefox ESR (puppeteer-core over
// WebDriver BiDi) and WebKitGTK (WebKitWebDriver driving its MiniBrowser, in an Xvfb of its
// own). Each control is pressed where it is drawn. Touch is Chromium's alone (e2e.test.mjs).
import { spawn } from 'node:child_process';
import { existsSync, readFileSync } from 'node:fs';
import http from 'node:http';
import { extname, join } from 'node:path';
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import puppeteer from 'puppeteer-core';

const here = new URL('.', import.meta.url).pathname;
const folder = process.env.BUILD_WEB ?? `${here}../../build-web`;
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const miniBrowser = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

// The build's folder over http on a port of its own; `wasm` 'missing' answers 404 for the module.
function serve(wasm = 'whole') {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
  const server = http.createServer((request, response) => {
    let path = new URL(request.url, 'http://x').pathname;
    if (path.endsWith('/')) path += 'index.html';
    let body;
    try { body = readFileSync(join(folder, path)); } catch { response.writeHead(404); return response.end(); }
    if (path.endsWith('.wasm') && wasm === 'missing') { response.writeHead(404); return response.end(); }
    response.writeHead(200, { 'Content-Type': types[extname(path)] ?? 'application/octet-stream' });
    response.end(body);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}
const urlOf = (server) => `http://127.0.0.1:${server.address().port}/index.html`;

// Firefox through puppeteer: a fresh profile each start.
class Firefox {
  async start() {
    this.browser = await puppeteer.launch({ product: 'firefox', protocol: 'webDriverBiDi',
      executablePath: '/usr/bin/firefox-esr', headless: true });
  }
  async open(url) {
    await this.page?.close();
    this.page = await this.browser.newPage();
    await this.page.setViewport({ width: 1024, height: 768 });
    await this.page.goto(url);
  }
  evaluate(source, ...args) { return this.page.evaluate(`(${source})(...${JSON.stringify(args)})`); }
  key(name) { return this.page.keyboard.press(name); }
  move(x, y) { return this.page.mouse.move(x, y); }
  click(x, y, count = 1) { return this.page.mouse.click(x, y, { count }); }
  async stop() { await this.browser?.close(); }
}

// WebKitGTK through WebDriver's own protocol, spoken here over http.
class WebKit {
  async start() {
    this.xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1280x1024x24'],
      { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
    const display = await new Promise((resolve) => this.xvfb.stdio[3].once('data', (d) => resolve(String(d).trim())));
    this.port = 4400 + (process.pid % 500);
    this.driver = spawn('WebKitWebDriver', [`--port=${this.port}`], { stdio: 'ignore',
      env: { ...process.env, DISPLAY: `:${display}` } });
    for (let tries = 0; tries < 50 && !this.session; ++tries) {
      await sleep(100);
      this.session = await this.call('POST', '/session', { capabilities: { alwaysMatch: {
        'webkitgtk:browserOptions': { binary: miniBrowser, args: ['--automation'] } } } })
        .then((v) => v.sessionId, () => null);
    }
  }
  async call(method, path, body) {
    const response = await fetch(`http://127.0.0.1:${this.port}${path}`, { method, body: body && JSON.stringify(body),
      headers: { 'Content-Type': 'application/json' } });
    const { value } = await response.json();
    if (value?.error) throw new Error(`${path}: ${value.error}: ${value.message}`);
    return value;
  }
  at(path, body, method = 'POST') { return this.call(method, `/session/${this.session}${path}`, body); }
  async open(url) {
    await this.at('/window/rect', { width: 1024, height: 768 });
    await this.at('/url', { url });
  }
  evaluate(source, ...args) { return this.at('/execute/sync', { script: `return (${source})(...arguments)`, args }); }
  key(name) {
    const value = { Escape: '\uE00C' }[name] ?? name;
    return this.at('/actions', { actions: [{ type: 'key', id: 'keys', actions: [
      { type: 'keyDown', value }, { type: 'keyUp', value }] }] });
  }
  pointer(steps) {
    return this.at('/actions', { actions: [{ type: 'pointer', id: 'mouse',
      parameters: { pointerType: 'mouse' }, actions: steps }] });
  }
  move(x, y) { return this.pointer([{ type: 'pointerMove', x: Math.round(x), y: Math.round(y) }]); }
  click(x, y, count = 1) {
    const press = [{ type: 'pointerDown', button: 0 }, { type: 'pointerUp', button: 0 }];
    return this.pointer([{ type: 'pointerMove', x: Math.round(x), y: Math.round(y) },
      ...Array(count).fill(press).flat()]);
  }
  async stop() {
    if (this.session) await this.at('', undefined, 'DELETE').catch(() => {});
    this.driver?.kill();
    this.xvfb?.kill();
  }
}

// In the page: a luma grid of the canvas, and the 24 slides' grids from the page's own bitmaps.
const canvasGrid = `() => {
  const canvas = document.getElementById('canvas');
  if (!canvas) return null;
  const data = canvas.getContext('2d').getImageData(0, 0, 1024, 768).data, out = [];
  for (let y = 16; y < 768; y += 32) for (let x = 16; x < 1024; x += 32) {
    const i = (y * 1024 + x) * 4;
    out.push(0.299 * data[i] + 0.587 * data[i + 1] + 0.114 * data[i + 2]);
  }
  return out;
}`;
const slideGrids = `() => Module.vkSlides.map((bitmap) => {
  const canvas = document.createElement('canvas');
  canvas.width = 1024, canvas.height = 768;
  const context = canvas.getContext('2d');
  context.drawImage(bitmap, 0, 0);
  const data = context.getImageData(0, 0, 1024, 768).data, out = [];
  for (let y = 16; y < 768; y += 32) for (let x = 16; x < 1024; x += 32) {
    const i = (y * 1024 + x) * 4;
    out.push(0.299 * data[i] + 0.587 * data[i + 1] + 0.114 * data[i + 2]);
  }
  return out;
})`;
const boxOf = (selector) => `() => document.querySelector(${JSON.stringify(selector)})?.getBoundingClientRect().toJSON()`;

const engines = {
  'Firefox ESR': { make: () => new Firefox(), present: existsSync('/usr/bin/firefox-esr') },
  WebKitGTK: { make: () => new WebKit(), present: existsSync(miniBrowser) && existsSync('/usr/bin/WebKitWebDriver') },
};

for (const [name, { make, present }] of Object.entries(engines)) {
  describe(name, { skip: !present && `${name} is not installed (scripts/install-deps.sh web)` }, () => {
    let engine, server, references;
    const until = async (source, what, ms = 15000) => {
      for (const end = Date.now() + ms; Date.now() < end; await sleep(100)) {
        if (await engine.evaluate(source)) return;
      }
      assert.fail(`${name}: ${what}`);
    };
    // The slide on the canvas (0 to 23), or -1.
    const slide = async () => {
      const grid = await engine.evaluate(canvasGrid);
      if (!grid) return -1;
      const distance = references.map((r) => r.reduce((s, v, j) => s + Math.abs(v - grid[j]), 0) / r.length);
      const best = distance.indexOf(Math.min(...distance));
      return distance[best] < 4 ? best : -1;
    };
    const slidesOver = async (ms) => {
      const seen = [];
      for (const end = Date.now() + ms; Date.now() < end; await sleep(30)) {
        const now = await slide();
        if (now >= 0 && now !== seen.at(-1)) seen.push(now);
      }
      return seen;
    };
    const press = async (selector, count = 1) => {
      const box = await engine.evaluate(boxOf(selector));
      assert.ok(box, `${name}: no ${selector}`);
      await engine.click(box.x + box.width / 2, box.y + box.height / 2, count);
    };
    const playing = async () => {
      await engine.open(urlOf(server));
      await until('() => !document.getElementById("progress") && Module.vkSlides?.length === 24',
        'the player did not start');
      references ??= await engine.evaluate(slideGrids);
    };
    const status = () => engine.evaluate('() => document.body.dataset.exitStatus ?? null');

    before(async () => {
      server = await serve();
      engine = make();
      await engine.start();
    });
    after(async () => {
      await engine?.stop();
      server?.close();
    });

    test('the loop runs forward from slide 1, Space stops it, Escape ends with status 0', async () => {
      await playing();
      const run = await slidesOver(1200);
      assert.ok(run.length >= 5 && run[0] <= 4, `${name}: slides ${run}`);
      // Forward a slide at a time; a slow driver may look too late to see each one.
      for (let i = 1; i < run.length; ++i) {
        assert.ok([1, 2].includes((run[i] - run[i - 1] + 24) % 24), `${name}: slides ${run}`);
      }
      await engine.key(' ');
      await sleep(300);
      assert.ok((await slidesOver(600)).length <= 1, `${name}: still playing after Space`);
      await engine.key('Escape');
      await until('() => document.body.dataset.exitStatus === "0"', 'Escape did not end the player');
    });

    test('the pointer: a move on the picture is the fastest pace; in mouse mode a move steps one slide', async () => {
      await playing();
      const box = await engine.evaluate(boxOf('#canvas'));
      for (let i = 0; i < 20; ++i) await engine.move(box.x + 2 + i, box.y + 2 + i);
      const fast = await slidesOver(500);
      assert.ok(fast.length >= 6, `${name}: ${fast.length} slides in 0.5 s at the fastest pace`);
      await engine.key(' ');
      await sleep(400);
      const stopped = await slide();
      await press('#canvas');  // mouse mode on
      await sleep(100);
      await engine.move(box.x + box.width / 2, box.y + box.height * 0.6);  // down: forward
      await sleep(300);
      assert.equal(await slide(), (stopped + 1) % 24, `${name}: a move down did not step forward`);
      await engine.move(box.x + box.width / 2, box.y + box.height * 0.5);  // up: back
      await sleep(300);
      assert.equal(await slide(), stopped, `${name}: a move up did not step back`);
    });

    test('a double click ends with status 0, and Play again plays again', async () => {
      await playing();
      await press('#canvas', 2);
      await until('() => document.body.dataset.exitStatus === "0"', 'a double click did not end it');
      await press('#ended button');
      await until('() => !document.getElementById("progress") && !!document.getElementById("canvas")',
        'Play again did not play');
    });

    test('the legend: at 1024 by 768 the Keys button opens it and, pressed again, closes it', async () => {
      await playing();
      const open = () => engine.evaluate('() => document.body.classList.contains("legend-open")');
      assert.equal(await engine.evaluate('() => document.body.dataset.layout'), 'over');
      await press('#toggle');
      assert.ok(await open(), `${name}: Keys did not open the legend`);
      assert.ok((await engine.evaluate('() => document.getElementById("commands").children.length')) >= 12);
      await press('#toggle');
      assert.ok(!(await open()), `${name}: Keys did not close the legend`);
    });

    test('a program that cannot load says why, with status 1', async () => {
      const missing = await serve('missing');
      await engine.open(urlOf(missing));
      await until('() => document.body.dataset.exitStatus === "1"', 'no failure');
      assert.match(await engine.evaluate('() => document.getElementById("failed").textContent'),
        /vorlan-kidney\.wasm/);
      missing.close();
    });

    test('the one-file page plays opened from a file', async () => {
      await engine.open(`file://${folder}/vorlan-kidney.html`);
      await until('() => !document.getElementById("progress") && Module.vkSlides?.length === 24',
        'the one-file page did not play');
      assert.equal(await status(), null);
    });

    test('after one visit the page plays without the server', async (t) => {
      const once = await serve();
      const url = urlOf(once);
      await engine.open(url);
      if (!(await engine.evaluate('() => "serviceWorker" in navigator && window.isSecureContext'))) {
        t.skip(`${name} has no service workers in its automation session: offline is not driven`);
        once.close();
        return;
      }
      await engine.evaluate('() => navigator.serviceWorker.ready.then(() => true)');
      await sleep(1500);  // the build's files kept
      await new Promise((resolve) => { once.close(resolve); once.closeAllConnections(); });
      await engine.open(url);
      await until('() => !document.getElementById("progress") && Module.vkSlides?.length === 24',
        'offline, the page did not play');
    });
  });
}
