// The page in Debian's headless Chromium: time from navigation to the first picture, beside a
// minimal WebAssembly page that shows slide 1 (interleaved, each visit in a fresh browser
// context: nothing cached); the interval between slides at the start pace, slides per animation
// frame at the fastest pace, the share of intervals of exactly 6 frames at the start pace, the
// processor use of the page's main thread while playing, the bytes a first visit (plain and
// compressed) and a second, offline, visit transfer, the module's memory while playing, and the
// longest main-thread task during start with the processor slowed 4 times; and on emulated mobile
// links (4G, fast 3G), slide 1 and the loop's start beside a page holding only an <img> of slide
// 1. Needs make test-web.
// Usage: node bench/web.mjs [BUILD_WEB]
import { spawn } from 'node:child_process';
import { copyFileSync, mkdirSync, mkdtempSync, readdirSync, readFileSync, realpathSync, rmSync,
  symlinkSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';

const { default: puppeteer } = await import(new URL(
  '../tests/web/node_modules/puppeteer-core/lib/esm/puppeteer/puppeteer-core.js', import.meta.url));
const folder = realpathSync(process.argv[2] ?? new URL('../build-web', import.meta.url).pathname);
// Served from one root: the player's folder, and the floor: the least a WebAssembly page does to
// show slide 1 (an empty module instantiated while the browser decodes the JPEG, then one draw).
const root = mkdtempSync(`${tmpdir()}/vk-web-bench-`);
symlinkSync(folder, `${root}/player`);
mkdirSync(`${root}/floor`);
copyFileSync(new URL('../presentation/slides/slide01.jpg', import.meta.url), `${root}/floor/slide01.jpg`);
writeFileSync(`${root}/floor/floor.wasm`, Uint8Array.of(0, 0x61, 0x73, 0x6d, 1, 0, 0, 0));
writeFileSync(`${root}/floor/index.html`, `<!doctype html>
<html><head><meta charset="utf-8">
<link rel="preload" href="floor.wasm" as="fetch" type="application/wasm" crossorigin></head>
<body style="margin: 0; background: #000"><canvas id="canvas" width="1024" height="768"></canvas>
<script>
  const picture = fetch('slide01.jpg').then((r) => r.blob()).then((b) => createImageBitmap(b));
  WebAssembly.instantiateStreaming(fetch('floor.wasm')).then(() => picture).then((bitmap) =>
    document.getElementById('canvas').getContext('2d').drawImage(bitmap, 0, 0));
</script></body></html>
`);
// The plainest page that shows slide 1: an <img> of its JPEG.
mkdirSync(`${root}/img`);
copyFileSync(new URL('../presentation/slides/slide01.jpg', import.meta.url), `${root}/img/slide01.jpg`);
writeFileSync(`${root}/img/index.html`, `<!doctype html>
<html><head><meta charset="utf-8"></head>
<body style="margin: 0; background: #000"><img id="slide" src="slide01.jpg" width="1024" height="768">
</body></html>
`);
// The plainest page that plays the slides: it fetches the 24 JPEGs, has the browser decode each to
// an ImageBitmap and draws the next every 100 ms.
mkdirSync(`${root}/jpegs`);
for (let i = 1; i <= 24; ++i) {
  const name = `slide${String(i).padStart(2, '0')}.jpg`;
  copyFileSync(new URL(`../presentation/slides/${name}`, import.meta.url), `${root}/jpegs/${name}`);
}
writeFileSync(`${root}/jpegs/index.html`, `<!doctype html>
<html><head><meta charset="utf-8"></head>
<body style="margin: 0; background: #000"><canvas id="canvas" width="1024" height="768"></canvas>
<script>
  const names = Array.from({ length: 24 }, (_, i) => 'slide' + String(i + 1).padStart(2, '0') + '.jpg');
  Promise.all(names.map((n) => fetch(n).then((r) => r.blob()).then((b) => createImageBitmap(b))))
    .then((bitmaps) => {
      const context = document.getElementById('canvas').getContext('2d');
      let i = 0;
      setInterval(() => context.drawImage(bitmaps[i++ % 24], 0, 0), 100);
    });
</script></body></html>
`);
const port = 8765;
const server = spawn('python3', ['-m', 'http.server', String(port), '--bind', '127.0.0.1',
  '--directory', root], { stdio: 'ignore' });
// The same files as make serve-web sends them: compressed where the browser accepts it.
const compressedPort = port + 1;
const compressedServer = spawn('python3', [new URL('../platforms/web/serve.py', import.meta.url).pathname, root,
  String(compressedPort)], { stdio: 'ignore' });
// The servers go with the bench, however it ends.
process.on('exit', () => { server.kill(); compressedServer.kill(); });
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
await sleep(500);
const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
await browser.newPage();  // kept open: Chromium may end when its last page closes

const median = (v) => [...v].sort((a, b) => a - b)[Math.floor((v.length - 1) / 2)];
const deviation = (v) => {
  const mean = v.reduce((a, b) => a + b, 0) / v.length;
  return Math.sqrt(v.reduce((a, b) => a + (b - mean) ** 2, 0) / v.length);
};
// Times of the frames in which the canvas's middle row changed, over `ms`.
const changeTimes = (page, ms) => page.evaluate((ms) => new Promise((resolve) => {
  const context = document.getElementById('canvas').getContext('2d');
  const times = [];
  let last = null, frames = 0;
  const end = performance.now() + ms;
  const frame = (now) => {
    ++frames;
    const row = context.getImageData(0, 384, 1024, 1).data.join();
    if (last !== null && row !== last) times.push(now);
    last = row;
    if (now < end) requestAnimationFrame(frame); else resolve({ times, frames });
  };
  requestAnimationFrame(frame);
}), ms);

// Bytes the page's requests bring over the network in a fresh browser context: a first visit,
// then a reload with the network off (what the service worker serves is not counted).
async function visitBytes(port) {
  const context = await browser.createBrowserContext();
  const visit = await context.newPage();
  const client = await visit.target().createCDPSession();
  await client.send('Network.enable');
  let bytes = 0;
  client.on('Network.loadingFinished', (e) => { bytes += e.encodedDataLength; });
  await visit.goto(`http://127.0.0.1:${port}/player/index.html`);
  await visit.evaluate(() => navigator.serviceWorker.ready);
  await sleep(1000);
  const first = bytes;
  bytes = 0;
  await visit.setOfflineMode(true);
  await visit.reload();
  await sleep(1000);
  const second = bytes;
  await context.close();
  return [first, second];
}
// The longest main-thread task from navigation until the loop has run for a while, with the
// processor slowed 4 times (Chromium's throttling); the browser reports tasks over 50 ms only.
async function longestStartTask() {
  const context = await browser.createBrowserContext();
  const visit = await context.newPage();
  const client = await visit.target().createCDPSession();
  await client.send('Emulation.setCPUThrottlingRate', { rate: 4 });
  await visit.evaluateOnNewDocument(() => {
    window.longestTask = 0;
    new PerformanceObserver((list) => {
      for (const task of list.getEntries()) window.longestTask = Math.max(window.longestTask, task.duration);
    }).observe({ type: 'longtask', buffered: true });
  });
  await visit.goto(`http://127.0.0.1:${port}/player/index.html`);
  await sleep(4000);
  const longest = await visit.evaluate(() => window.longestTask);
  await context.close();
  return longest;
}
const longestTask = await longestStartTask();
const [firstBytes, secondBytes] = await visitBytes(port);
const [compressedBytes] = await visitBytes(compressedPort);

// Time since navigation of the first animation frame in which the canvas shows a picture.
async function firstPicture(path) {
  const context = await browser.createBrowserContext();
  const visit = await context.newPage();
  await visit.setViewport({ width: 1024, height: 768 });
  await visit.evaluateOnNewDocument(() => {
    const watch = () => {
      const row = document.getElementById('canvas')?.getContext('2d')
        .getImageData(0, 384, 1024, 1).data;
      if (row && row.some((v, i) => i % 4 !== 3 && v > 0)) window.firstPicture = performance.now();
      else requestAnimationFrame(watch);
    };
    requestAnimationFrame(watch);
  });
  await visit.goto(`http://127.0.0.1:${port}/${path}`, { waitUntil: 'domcontentloaded' });
  const first = await (await visit.waitForFunction(() => window.firstPicture)).jsonValue();
  await context.close();
  return first;
}
// Slide 1 and the loop's start (the progress bar gone) since navigation, over an emulated link,
// from the server that sends files compressed; for the <img> page, the frame its picture is in.
const links = {
  '4G': { latency: 60, downloadThroughput: 9e6 / 8, uploadThroughput: 9e6 / 8 },
  'fast 3G': { latency: 150, downloadThroughput: 1.6e6 / 8, uploadThroughput: 750e3 / 8 },
};
async function overLink(path, link) {
  const context = await browser.createBrowserContext();
  const visit = await context.newPage();
  await visit.setViewport({ width: 1024, height: 768 });
  const client = await visit.target().createCDPSession();
  await client.send('Network.enable');
  await client.send('Network.emulateNetworkConditions', { offline: false, ...links[link] });
  await visit.evaluateOnNewDocument(() => {
    const watch = () => {
      const img = document.getElementById('slide');
      const row = document.getElementById('canvas')?.getContext('2d')
        .getImageData(0, 384, 1024, 1).data;
      if (!window.firstPicture && (img ? img.complete && img.naturalWidth > 0
                                       : row && row.some((v, i) => i % 4 !== 3 && v > 0))) {
        window.firstPicture = performance.now();
      }
      if (window.firstPicture && document.readyState !== 'loading' &&
          !document.getElementById('progress')) {
        window.loopStart = performance.now();
      } else {
        requestAnimationFrame(watch);
      }
    };
    requestAnimationFrame(watch);
  });
  await visit.goto(`http://127.0.0.1:${compressedPort}/${path}`, { waitUntil: 'domcontentloaded' });
  await visit.waitForFunction(() => window.loopStart, { timeout: 60000 });
  const times = await visit.evaluate(() => [window.firstPicture, window.loopStart]);
  await context.close();
  return times;
}
const mobile = {};
for (const link of Object.keys(links)) {
  mobile[link] = { page: [], img: [] };
  for (let run = 0; run < Number(process.env.LINK_RUNS ?? 3); ++run) {
    mobile[link].page.push(await overLink('player/index.html', link));
    mobile[link].img.push(await overLink('img/index.html', link));
  }
}

// The memory of the tab's renderer processes (proportional set size, summed) after 5 s of
// playing, in a browser of its own.
async function tabMemory(path) {
  const own = await puppeteer.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
  const visit = await own.newPage();
  await visit.setViewport({ width: 1024, height: 768 });
  await visit.goto(`http://127.0.0.1:${port}/${path}`);
  await sleep(5000);
  const children = new Map();
  for (const pid of readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
    try {
      const parent = Number(readFileSync(`/proc/${pid}/stat`, 'utf8').split(') ')[1].split(' ')[1]);
      children.set(parent, [...(children.get(parent) ?? []), Number(pid)]);
    } catch {}
  }
  let kib = 0;
  for (const pending = [own.process().pid]; pending.length;) {
    const pid = pending.pop();
    pending.push(...(children.get(pid) ?? []));
    try {
      if (!readFileSync(`/proc/${pid}/cmdline`, 'utf8').includes('--type=renderer')) continue;
      kib += Number(/Pss:\s+(\d+)/.exec(readFileSync(`/proc/${pid}/smaps_rollup`, 'utf8'))[1]);
    } catch {}
  }
  await own.close();
  return kib / 1024;
}
const tabs = { page: await tabMemory('player/index.html'), jpegs: await tabMemory('jpegs/index.html') };

const runs = Number(process.env.RUNS ?? 9);
const firsts = [], floors = [];
for (let run = 0; run < runs; ++run) {
  firsts.push(await firstPicture('player/index.html'));
  floors.push(await firstPicture('floor/index.html'));
}
const page = await browser.newPage();
await page.setViewport({ width: 1024, height: 768 });
await page.goto(`http://127.0.0.1:${port}/player/index.html`);
await sleep(1000);
const linearMemory = await page.evaluate(() => Module.HEAPU8.buffer.byteLength);
const before = await page.metrics();
const playing = await changeTimes(page, 5000);
const after = await page.metrics();
const intervals = playing.times.slice(1).map((t, i) => t - playing.times[i]);
const sixes = intervals.filter((v) => Math.round(v / (1000 / 60)) === 6).length / intervals.length;
await page.mouse.move(100, 100);  // the fastest pace: any pointer on the picture
const fastest = await changeTimes(page, 3000);

console.log(`First picture after navigation, median of ${runs} fresh visits: the page ${median(firsts).toFixed(0)} ms (${Math.min(...firsts).toFixed(0)} to ${Math.max(...firsts).toFixed(0)}), a minimal WebAssembly page ${median(floors).toFixed(0)} ms (${Math.min(...floors).toFixed(0)} to ${Math.max(...floors).toFixed(0)}): ${(median(firsts) / median(floors)).toFixed(2)} times.`);
console.log();
console.log('| first picture, median (ms) | interval at the start pace, median (ms) | deviation (ms) | intervals of 6 frames (%) | main thread playing (% of a core) | slides per frame at the fastest pace | first visit (bytes) | first visit, compressed (bytes) | offline visit (bytes) | module memory (MiB) | longest task at start, 4 times slower (ms; 0: none over 50) |');
console.log('|---|---|---|---|---|---|---|---|---|---|---|');
console.log(`| ${median(firsts).toFixed(0)} | ${median(intervals).toFixed(1)} | ${deviation(intervals).toFixed(1)} | ${(sixes * 100).toFixed(0)} | ${((after.TaskDuration - before.TaskDuration) / 5 * 100).toFixed(1)} | ${(fastest.times.length / fastest.frames).toFixed(2)} | ${firstBytes} | ${compressedBytes} | ${secondBytes} | ${(linearMemory / 2 ** 20).toFixed(0)} | ${longestTask.toFixed(0)} |`);
console.log();
console.log(`The tab's renderer memory while playing (proportional set size): the page ${tabs.page.toFixed(0)} MiB, a page that fetches the 24 JPEGs and draws their ImageBitmaps every 100 ms ${tabs.jpegs.toFixed(0)} MiB.`);
console.log();
console.log('| link | slide 1, the page (ms) | slide 1, an <img> of it (ms) | times | the loop runs, the page (ms) |');
console.log('|---|---|---|---|---|');
for (const [link, { page: visits, img }] of Object.entries(mobile)) {
  const first = median(visits.map(([t]) => t)), floor = median(img.map(([t]) => t));
  console.log(`| ${link} | ${first.toFixed(0)} | ${floor.toFixed(0)} | ${(first / floor).toFixed(2)} | ${median(visits.map(([, t]) => t)).toFixed(0)} |`);
}
await browser.close();
server.kill();
compressedServer.kill();
rmSync(root, { recursive: true });  // the link to the player's folder, not the folder
