// The page in Debian's headless Chromium: title, slide 1 first, playing, keys, mouse, ending;
// the one-file page from disk.
// Usage: node --test e2e.test.mjs (BUILD_WEB names the folder to serve, default ../../build-web)
import { spawn } from 'node:child_process';
import { appendFileSync, cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import http from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join } from 'node:path';
import { brotliDecompressSync, gunzipSync } from 'node:zlib';
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import puppeteer from 'puppeteer-core';

const here = new URL('.', import.meta.url).pathname;
const folder = process.env.BUILD_WEB ?? `${here}../../build-web`;
const port = 8765;  // fixed, on 127.0.0.1 only
const url = `http://127.0.0.1:${port}/index.html`;
const caption = 'Vorlan Kidney to Trilobe    Use: SpaceBar + - / * mouse , .      ESC to Quit';
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

let server, browser, page;
let references;  // each slide's luma on a grid, decoded by the browser from the committed JPEGs

// Lumas of an RGBA image on a 16-pixel grid.
const gridLumas = `(data, width, height) => {
  const out = [];
  for (let y = 8; y < height; y += 16)
    for (let x = 8; x < width; x += 16) {
      const i = (y * width + x) * 4;
      out.push(0.299 * data[i] + 0.587 * data[i + 1] + 0.114 * data[i + 2]);
    }
  return out;
}`;

before(async () => {
  // As make serve-web serves the page: its program compressed where the browser accepts it.
  server = spawn('python3', [`${here}../../platforms/web/serve.py`, folder, String(port)],
    { stdio: 'ignore' });
  browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--autoplay-policy=no-user-gesture-required'] });
  for (let tries = 0; tries < 50; ++tries) {  // the server takes a moment to listen
    try { await (await fetch(url)).text(); break; } catch { await sleep(100); }
  }
  const probe = await browser.newPage();
  const jpegs = [];
  for (let k = 1; k <= 24; ++k) {
    jpegs.push(readFileSync(`${here}../../presentation/slides/slide${String(k).padStart(2, '0')}.jpg`)
      .toString('base64'));
  }
  references = await probe.evaluate(async (jpegs, lumas) => {
    const grid = eval(lumas);
    const out = [];
    for (const b64 of jpegs) {
      const bytes = Uint8Array.from(atob(b64), (c) => c.charCodeAt(0));
      const bitmap = await createImageBitmap(new Blob([bytes], { type: 'image/jpeg' }));
      const canvas = new OffscreenCanvas(1024, 768);
      const context = canvas.getContext('2d');
      context.drawImage(bitmap, 0, 0);
      out.push(grid(context.getImageData(0, 0, 1024, 768).data, 1024, 768));
    }
    return out;
  }, jpegs, gridLumas);
  await probe.close();
});

after(async () => {
  await browser?.close();
  server?.kill();
});

async function open() {
  page = await browser.newPage();
  await page.setViewport({ width: 1024, height: 768 });
  await page.goto(url);
}

// The slide on the canvas (0 to 23), or -1 when it shows none of them.
async function slide() {
  const lumas = await page.evaluate((lumas) => {
    const canvas = document.getElementById('canvas');
    if (!canvas) return null;
    return eval(lumas)(canvas.getContext('2d').getImageData(0, 0, 1024, 768).data, 1024, 768);
  }, gridLumas);
  if (!lumas) return -1;
  let best = -1, bestDifference = Infinity;
  references.forEach((reference, i) => {
    let sum = 0;
    for (let j = 0; j < lumas.length; ++j) sum += Math.abs(lumas[j] - reference[j]);
    if (sum / lumas.length < bestDifference) [best, bestDifference] = [i, sum / lumas.length];
  });
  return bestDifference < 6 ? best : -1;
}

async function shows(want) {
  for (let tries = 0; tries < 40; ++tries) {
    if ((await slide()) === want) return true;
    await sleep(50);
  }
  return false;
}

// Waits until the canvas holds one slide for a while.
async function steady() {
  let last = -2;
  for (let tries = 0; tries < 30; ++tries) {
    const now = await slide();
    if (now >= 0 && now === last) return now;
    last = now;
    await sleep(200);
  }
  return -1;
}

const wrap = (i) => ((i % 24) + 24) % 24;

// Presses the control that `find` (run in the page) returns where it is drawn, as a person does:
// a tap on a touch screen, else a click.
async function pressAt(find, arg, touchScreen) {
  const box = await page.evaluate((find, arg) => eval(find)(arg).getBoundingClientRect().toJSON(),
    find.toString(), arg);
  const [x, y] = [box.x + box.width / 2, box.y + box.height / 2];
  if (touchScreen) await page.touchscreen.tap(x, y); else await page.mouse.click(x, y);
}
const exitStatus = () => page.evaluate(() => document.body.dataset.exitStatus ?? null);

// Slide changes on the canvas over `ms`, counted once per animation frame.
const changes = (ms) => page.evaluate((ms) => new Promise((resolve) => {
  const context = document.getElementById('canvas').getContext('2d');
  let last = null, count = 0;
  const end = performance.now() + ms;
  const frame = () => {
    const row = context.getImageData(0, 384, 1024, 1).data.join();
    if (last !== null && row !== last) ++count;
    last = row;
    if (performance.now() < end) requestAnimationFrame(frame); else resolve(count);
  };
  requestAnimationFrame(frame);
}), ms);

test('title, slide 1 first, then the start run plays forward', async () => {
  await open();
  let first = -1;
  for (let tries = 0; tries < 100 && first < 0; ++tries) first = await slide();
  assert.equal(first, 0);
  assert.equal(await page.title(), caption.replace(/ {2,}/g, (run) => '\u00a0'.repeat(run.length)));
  // Three changes of slide, each forward (the pace is the benchmark's to measure: on a busy
  // machine a sample can see several slides go by).
  let last = first;
  for (let changes = 0; changes < 3; ++changes) {
    let now = last;
    for (let tries = 0; tries < 250 && (now === last || now < 0); ++tries) {
      await sleep(20);
      now = await slide();
    }
    assert.notEqual(now, last, `the start run stands still at ${last}`);
    assert.ok(wrap(now - last) < 12, `backward from ${last} to ${now}`);
    last = now;
  }
});

test('Space stops, the step keys, - and + run', async () => {
  await page.keyboard.press('Space');
  const stopped = await steady();
  assert.ok(stopped >= 0);
  assert.equal(await page.evaluate(() => window.scrollY), 0);
  await page.keyboard.type('.');
  assert.ok(await shows(wrap(stopped + 1)));
  await page.keyboard.type('/');
  assert.ok(await shows(stopped));
  await page.keyboard.type('-');
  await sleep(200);
  const a = await slide();
  await sleep(500);
  assert.ok(wrap(a - (await slide())) >= 2, 'no backward run');
  await page.keyboard.type('+');
  await sleep(200);
  const c = await slide();
  await sleep(500);
  assert.ok(wrap((await slide()) - c) >= 2, 'no forward run');
});

test('the pointer sets the pace: one slide an animation frame inside the picture', async () => {
  assert.ok((await changes(1000)) <= 15, 'faster than the start pace before any move');
  await page.mouse.move(300, 300);
  assert.ok((await changes(1000)) >= 40, 'not one slide a frame');
});

test('mouse mode steps one slide a move; Escape ends with status 0', async () => {
  await page.keyboard.press('Space');
  const stopped = await steady();
  await page.mouse.click(512, 300);  // mouse mode on
  await sleep(100);
  await page.mouse.move(512, 400);  // down: forward
  assert.ok(await shows(wrap(stopped + 1)));
  await page.mouse.move(512, 350);  // up: back
  assert.ok(await shows(stopped));
  await page.keyboard.press('Escape');
  await sleep(200);
  assert.equal(await exitStatus(), '0');
  assert.match(await page.evaluate(() => document.body.innerText), /ended[\s\S]*Play again/);
  await page.close();
});

test('a double click ends with status 0', async () => {
  await open();
  await sleep(700);
  await page.mouse.click(400, 400, { count: 2, delay: 50 });
  await sleep(200);
  assert.equal(await exitStatus(), '0');
  await page.close();
});

// --- On every device: touch, the legend, a frame around the page, failures, offline -----------

async function openTouch() {
  page = await browser.newPage();
  await page.setViewport({ width: 1024, height: 768, hasTouch: true });
  await page.goto(url);
  for (let tries = 0; tries < 100 && (await slide()) <= 0; ++tries) await sleep(20);
}
const touch = (type, points) => page._client().send('Input.dispatchTouchEvent',
  { type, touchPoints: points.map(([x, y]) => ({ x, y })) });
async function drag(from, to, steps = 4) {
  await touch('touchStart', [from]);
  for (let i = 1; i <= steps; ++i) {
    await touch('touchMove', [[from[0] + (to[0] - from[0]) * i / steps,
                               from[1] + (to[1] - from[1]) * i / steps]]);
  }
  await touch('touchEnd', []);
}

test('touch: a drag sets the pace and scrubs, a tap is a click, a double tap ends', async () => {
  await openTouch();
  await drag([100, 100], [20, 20]);  // to the top-left: the fastest pace
  assert.ok((await changes(1000)) >= 40, 'a drag set no pace');
  await page.keyboard.press('Space');
  const stopped = await steady();
  await page.touchscreen.tap(600, 300);  // mouse mode on, and nothing else
  await sleep(300);
  assert.equal(await slide(), stopped, 'a tap moved the picture');
  await drag([600, 300], [600, 500]);  // down: forward, one slide a move
  assert.ok(await shows(wrap(stopped + 4)), 'no scrubbing by a drag');
  await page.touchscreen.tap(600, 300);  // mouse mode off
  await page.touchscreen.tap(400, 400);
  await page.touchscreen.tap(402, 401);
  await sleep(200);
  assert.equal(await exitStatus(), '0');
  assert.match(await page.evaluate(() => document.getElementById('ended').innerText),
    /ended[\s\S]*Play again/);
  await page.close();
});

test('the key buttons on a touch screen step, stop and reverse', async () => {
  page = await browser.newPage();
  await page.setViewport({ width: 390, height: 844, hasTouch: true, isMobile: true });
  await page.goto(url);
  for (let tries = 0; tries < 100 && (await slide()) <= 0; ++tries) await sleep(20);
  const press = (label) => pressAt((label) => [...document.querySelectorAll('#controls button')]
    .find((b) => b.textContent.includes(label)), label, true);
  await press('Stop');
  const stopped = await steady();
  assert.ok(stopped >= 0);
  await press('Step forward');
  assert.ok(await shows(wrap(stopped + 1)));
  await press('Step back');
  assert.ok(await shows(stopped));
  await press('Backward');
  await sleep(200);
  const a = await slide();
  await sleep(500);
  assert.ok(wrap(a - (await slide())) >= 2, 'no backward run');
  await page.close();
});

test('the legend is in sight beside or below the picture where there is room', async () => {
  for (const [width, height, isMobile] of [[390, 844, true], [1920, 1080, false]]) {
    page = await browser.newPage();
    await page.setViewport({ width, height, isMobile, hasTouch: isMobile });
    await page.goto(url);
    await page.waitForFunction(() => document.getElementById('caption').textContent !== '');
    const [picture, legend, caption] = await page.evaluate(() => [
      document.getElementById('canvas').getBoundingClientRect().toJSON(),
      document.getElementById('legend').getBoundingClientRect().toJSON(),
      document.getElementById('caption').textContent]);
    assert.equal(caption, 'Vorlan Kidney to Trilobe    Use: SpaceBar + - / * mouse , .      ESC to Quit');
    assert.ok(legend.width > 0 && legend.height > 0, `no legend at ${width}x${height}`);
    const apart = legend.left >= picture.right - 0.5 || legend.top >= picture.bottom - 0.5;
    assert.ok(apart, `the legend covers the picture at ${width}x${height}`);
    assert.ok(picture.right <= width + 0.5 && legend.right <= width + 0.5, 'wider than the screen');
    await page.close();
  }
});

test('each control is pressed where it is drawn: Keys opens and closes, Play again plays', async () => {
  const sizes = [[390, 844, true], [390, 844, false], [1024, 768, true], [1024, 768, false],
    [1920, 1080, true], [1920, 1080, false]];
  for (const [width, height, touchScreen] of sizes) {
    const where = `${width}x${height} ${touchScreen ? 'touch' : 'mouse'}`;
    page = await browser.newPage();
    await page.setViewport({ width, height, hasTouch: touchScreen, isMobile: touchScreen });
    await page.goto(url);
    for (let tries = 0; tries < 100 && (await slide()) < 0; ++tries) await sleep(20);
    const legendOpen = () => page.evaluate(() => document.body.classList.contains('legend-open'));
    if (await page.evaluate(() => document.body.dataset.layout === 'over')) {
      await pressAt(() => document.getElementById('toggle'), null, touchScreen);
      assert.ok(await legendOpen(), `Keys did not open the legend at ${where}`);
      await pressAt(() => document.getElementById('toggle'), null, touchScreen);
      assert.ok(!(await legendOpen()), `Keys, pressed again, did not close the legend at ${where}`);
    }
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => document.getElementById('ended'));
    const reloaded = page.waitForNavigation({ timeout: 5000 }).then(() => true, () => false);
    await pressAt(() => document.querySelector('#ended button'), null, touchScreen);
    assert.ok(await reloaded, `Play again did not play again at ${where}`);
    await page.close();
  }
});

test('in a frame, the press that gives focus is no command, and Space leaves the host alone', async () => {
  page = await browser.newPage();
  await page.setViewport({ width: 1024, height: 768 });
  await page.goto(`http://127.0.0.1:${port}/manifest.webmanifest`);  // the player's origin
  await page.setContent(`<body style="height: 3000px; margin: 0">
    <iframe src="${url}" width="800" height="600" style="border: 0"></iframe></body>`);
  const frame = await (await page.waitForSelector('iframe')).contentFrame();
  const still = async () => frame.evaluate(() => document.getElementById('canvas')
    ?.getContext('2d').getImageData(0, 384, 1024, 1).data.join());
  // Playing (keys given while the slides load are replaced by the start values).
  for (let first = await still(), tries = 0; tries < 100 && (await still()) === first; ++tries) {
    await sleep(50);
  }
  await page.mouse.click(400, 300);  // gives the frame the focus
  await page.keyboard.press('Space');
  await sleep(300);
  const before = await still();
  await page.mouse.move(400, 450);  // in mouse mode this would step a slide
  await sleep(300);
  assert.ok((await still()) === before, 'the focusing press switched mouse mode on');
  assert.equal(await page.evaluate(() => window.scrollY), 0, 'Space scrolled the host page');
  await page.close();
});

test('a player that cannot load says why, with status 1', async () => {
  // A context of its own: no service worker from the visits before serves the file.
  const context = await browser.createBrowserContext();
  page = await context.newPage();
  await page.setRequestInterception(true);
  page.on('request', (request) => request.url().endsWith('.wasm')
    ? request.respond({ status: 404, body: 'not here' }) : request.continue());
  await page.goto(url);
  await page.waitForFunction(() => document.body.dataset.exitStatus === '1', { timeout: 10000 });
  assert.match(await page.evaluate(() => document.getElementById('failed').textContent),
    /vorlan-kidney\.wasm/);
  await page.close();
  page = await browser.newPage();
  await page.goto(`file://${folder}/index.html`);
  assert.equal(await exitStatus(), '1');
  assert.match(await page.evaluate(() => document.getElementById('failed').textContent),
    /vorlan-kidney\.html[\s\S]*python3 -m http\.server/);
  await page.close();
  await context.close();
});

test('the one-file page plays opened from a file, and Escape ends it', async () => {
  page = await browser.newPage();
  await page.setViewport({ width: 1024, height: 768 });
  await page.goto(`file://${folder}/vorlan-kidney.html`);
  let first = -1;
  for (let tries = 0; tries < 100 && first < 0; ++tries) first = await slide();
  assert.equal(first, 0);
  assert.ok(await shows(1), 'the start run does not play');
  await page.keyboard.press('Escape');
  await sleep(200);
  assert.equal(await exitStatus(), '0');
  await page.close();
});

test('after one visit the page plays without a network', async () => {
  page = await browser.newPage();
  await page.goto(url);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.setOfflineMode(true);
  await page.reload();
  let first = -1;
  for (let tries = 0; tries < 100 && first < 0; ++tries) first = await slide();
  assert.ok(first >= 0, 'no slide offline');
  await page.setOfflineMode(false);
  await page.close();
});

// --- Updates: the service worker keeps one build whole -------------------------------------

// Serves `dir` on the test's port as a static server does, its .wasm whole, missing (404), cut
// off halfway through its body (the connection closed, as a train entering a tunnel does), or
// slowly, in eight parts a tenth of a second apart.
function serveFolder(dir, wasm = 'whole') {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
    '.webmanifest': 'application/manifest+json', '.png': 'image/png', '.svg': 'image/svg+xml' };
  const folderServer = http.createServer((request, response) => {
    let path = new URL(request.url, url).pathname;
    if (path.endsWith('/')) path += 'index.html';
    let body;
    try { body = readFileSync(join(dir, path)); } catch { response.writeHead(404); return response.end(); }
    const isWasm = path.endsWith('.wasm');
    if (isWasm && wasm === 'missing') { response.writeHead(404); return response.end(); }
    if (isWasm && wasm === 'bare') body = withoutDescription(body);
    response.writeHead(200, { 'Content-Type': types[extname(path)] ?? 'application/octet-stream',
      'Content-Length': body.length });
    if (isWasm && wasm === 'cut') {
      return response.write(body.subarray(0, body.length >> 1), () => response.socket.destroy());
    }
    if (isWasm && wasm === 'slow') {
      const part = Math.ceil(body.length / 8);
      const send = (at) => {
        if (at >= body.length) return response.end();
        response.write(body.subarray(at, at + part));
        setTimeout(() => send(at + part), 100);
      };
      return send(0);
    }
    response.end(body);
  });
  return new Promise((resolve) => folderServer.listen(port, '127.0.0.1', () => resolve(folderServer)));
}

// The module as the linker wrote it, without the description that make web puts at its head.
function withoutDescription(module) {
  let at = 9, size = 0;
  for (let shift = 0; ; shift += 7) {
    const byte = module[at++];
    size += (byte & 0x7f) * 2 ** shift;
    if (!(byte & 0x80)) break;
  }
  return Buffer.concat([module.subarray(0, 8), module.subarray(at + size)]);
}

// Ends the static server the tests began with, so that a test can serve the port itself.
async function stopStaticServer() {
  if (server.exitCode !== null || server.signalCode !== null) return;
  await new Promise((resolve) => { server.once('exit', resolve); server.kill(); });
}

// A build after this one: the same program with a mark in each of its files, and a service worker
// of another name.
function nextBuild() {
  const dir = mkdtempSync(join(tmpdir(), 'vk-build-'));
  cpSync(folder, dir, { recursive: true });
  appendFileSync(join(dir, 'index.html'), '<!-- the next build -->\n');
  appendFileSync(join(dir, 'vorlan-kidney.js'), '\n// the next build\n');
  // A custom section (id 0) at the module's end, which the program ignores.
  const name = Buffer.from('next-build');
  appendFileSync(join(dir, 'vorlan-kidney.wasm'), Buffer.from([0, name.length + 1, name.length, ...name]));
  const sw = join(dir, 'sw.js');
  writeFileSync(sw, readFileSync(sw, 'utf8').replace(/const build = '[^']*'/, "const build = 'next'"));
  return dir;
}

test('the server sends the program compressed to a browser that accepts it, else whole', async () => {
  const get = (path, encoding) => new Promise((resolve, reject) => http.get(`http://127.0.0.1:${port}/${path}`,
    { headers: encoding ? { 'Accept-Encoding': encoding } : {} }, (response) => {
      const chunks = [];
      response.on('data', (chunk) => chunks.push(chunk));
      response.on('end', () => resolve([response.headers, Buffer.concat(chunks)]));
    }).on('error', reject));
  const whole = readFileSync(join(folder, 'vorlan-kidney.wasm'));
  for (const [encoding, sent, decode] of [['br, gzip', 'br', brotliDecompressSync],
    ['gzip;q=1, br;q=0', 'gzip', gunzipSync], ['', undefined, (b) => b]]) {
    const [headers, body] = await get('vorlan-kidney.wasm', encoding);
    assert.equal(headers['content-encoding'], sent, `for Accept-Encoding '${encoding}'`);
    assert.equal(headers['content-type'], 'application/wasm');
    assert.ok(decode(body).equals(whole), `the body for '${encoding}' is not the module`);
  }
  const [headers] = await get('', 'br');
  assert.equal(headers['content-encoding'], 'br', 'the folder\'s page is not sent compressed');
});

test('a program without its description says why, with status 1, and plays nothing', async () => {
  await stopStaticServer();
  const bareServer = await serveFolder(folder, 'bare');
  const context = await browser.createBrowserContext();
  page = await context.newPage();
  await page.goto(url);
  await page.waitForFunction(() => document.body.dataset.exitStatus === '1', { timeout: 10000 });
  assert.match(await page.evaluate(() => document.getElementById('failed').textContent),
    /could not be loaded/);
  assert.equal(await page.evaluate(() => document.getElementById('canvas')), null);
  await context.close();
  await new Promise((resolve) => bareServer.close(resolve));
});

test('an update cut off never mixes builds: offline, the build before plays whole', async () => {
  await stopStaticServer();  // this test serves the builds itself
  const next = nextBuild();
  for (const wasm of ['missing', 'cut']) {
    const context = await browser.createBrowserContext();
    const keeper = await context.newPage();  // a context with no page left may be let go
    let folderServer = await serveFolder(folder);
    page = await context.newPage();
    await page.goto(url);
    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.close();
    // The next build is on the server, its module missing or cut off; a visit tries to keep it.
    await new Promise((resolve) => folderServer.close(resolve));
    folderServer = await serveFolder(next, wasm);
    page = await context.newPage();
    await page.goto(url);
    await page.evaluate(async () => {
      const registration = await navigator.serviceWorker.getRegistration();
      await registration.update().catch(() => {});
      for (let i = 0; i < 200 && registration.installing; ++i) await new Promise((r) => setTimeout(r, 25));
    });
    await page.close();
    // Offline, the page, its script and its module are all of one build, and it plays.
    page = await context.newPage();
    await page.setOfflineMode(true);
    await page.goto(url);
    let first = -1;
    for (let tries = 0; tries < 100 && first < 0; ++tries) first = await slide();
    assert.ok(first >= 0, `no slide offline after an update with its module ${wasm}`);
    const served = await page.evaluate(async () => Promise.all(
      ['index.html', 'vorlan-kidney.js', 'vorlan-kidney.wasm'].map(async (file) =>
        [...new Uint8Array(await (await fetch(file)).arrayBuffer())].slice(-64).join())));
    const tails = (dir) => ['index.html', 'vorlan-kidney.js', 'vorlan-kidney.wasm'].map((file) =>
      [...readFileSync(join(dir, file)).subarray(-64)].join());
    const builds = served.map((tail, i) => tail === tails(folder)[i] ? 'before' :
      tail === tails(next)[i] ? 'next' : 'neither');
    assert.ok(builds.every((b) => b === 'before'), `offline, the files came from ${builds}`);
    await page.setOfflineMode(false);
    await page.close();
    await keeper.close();
    await context.close();
    await new Promise((resolve) => folderServer.close(resolve));
  }
  rmSync(next, { recursive: true });
});

test('a progress bar counts the program as it arrives, and goes once the player plays', async () => {
  await stopStaticServer();
  const slowServer = await serveFolder(folder, 'slow');
  const context = await browser.createBrowserContext();  // nothing kept from the visits before
  page = await context.newPage();
  await page.evaluateOnNewDocument(() => {
    window.progressSeen = [];
    const watch = () => {
      const bar = document.getElementById('progress');
      if (bar) window.progressSeen.push(bar.value);
      if (bar || !document.body) requestAnimationFrame(watch);
    };
    requestAnimationFrame(watch);
  });
  await page.goto(url, { waitUntil: 'domcontentloaded' });
  assert.equal(await page.evaluate(() =>
    document.getElementById('progress')?.getAttribute('aria-label')), 'Loading the player');
  // Slide 1 is the page's poster as soon as its bytes are in, while the rest still comes.
  await page.waitForFunction(() => {
    const row = document.getElementById('canvas').getContext('2d').getImageData(0, 384, 1024, 1).data;
    return document.getElementById('progress')?.value < 0.5 && row.some((v, i) => i % 4 !== 3 && v > 0);
  }, { timeout: 20000, polling: 'raf' });
  await page.waitForFunction(() => !document.getElementById('progress'), { timeout: 20000 });
  const seen = await page.evaluate(() => window.progressSeen);
  assert.ok(seen.some((v) => v > 0.1 && v < 0.9), `no value on the way: ${seen.join(' ')}`);
  assert.ok(seen.every((v, i) => i === 0 || v >= seen[i - 1]), `the value fell: ${seen.join(' ')}`);
  let first = -1;
  for (let tries = 0; tries < 100 && first < 0; ++tries) first = await slide();
  assert.ok(first >= 0, 'no slide once the bar went');
  await context.close();
  await new Promise((resolve) => slowServer.close(resolve));
});
