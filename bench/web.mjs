// The page in Debian's headless Chromium: time from navigation to the first picture, the
// interval between slides at the start pace, slides per animation frame at the fastest pace,
// the share of intervals of exactly 6 frames at the start pace, the processor use of the page's
// main thread while playing, and the bytes a first visit and a second, offline, visit transfer.
// Needs make test-web first.
// Usage: node bench/web.mjs [BUILD_WEB]
import { spawn } from 'node:child_process';

const { default: puppeteer } = await import(new URL(
  '../tests/web/node_modules/puppeteer-core/lib/esm/puppeteer/puppeteer-core.js', import.meta.url));
const folder = process.argv[2] ?? new URL('../build-web', import.meta.url).pathname;
const port = 8765;
const server = spawn('python3', ['-m', 'http.server', String(port), '--bind', '127.0.0.1',
  '--directory', folder], { stdio: 'ignore' });
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
await sleep(500);
const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });

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
async function visitBytes() {
  const context = await browser.createBrowserContext();
  const visit = await context.newPage();
  const client = await visit.target().createCDPSession();
  await client.send('Network.enable');
  let bytes = 0;
  client.on('Network.loadingFinished', (e) => { bytes += e.encodedDataLength; });
  await visit.goto(`http://127.0.0.1:${port}/index.html`);
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
const [firstBytes, secondBytes] = await visitBytes();

const firsts = [];
let page;
for (let run = 0; run < 5; ++run) {
  if (page) await page.close();
  page = await browser.newPage();
  await page.setViewport({ width: 1024, height: 768 });
  await page.goto(`http://127.0.0.1:${port}/index.html`, { waitUntil: 'domcontentloaded' });
  // Polled from here: the time since navigation when the canvas first shows a picture.
  let first = 0;
  while (!first) {
    first = await page.evaluate(() => {
      const row = document.getElementById('canvas')?.getContext('2d')
        .getImageData(0, 384, 1024, 1).data;
      return row && row.some((v, i) => i % 4 !== 3 && v > 0) ? performance.now() : 0;
    });
  }
  firsts.push(first);
}
await sleep(1000);
const before = await page.metrics();
const playing = await changeTimes(page, 5000);
const after = await page.metrics();
const intervals = playing.times.slice(1).map((t, i) => t - playing.times[i]);
const sixes = intervals.filter((v) => Math.round(v / (1000 / 60)) === 6).length / intervals.length;
await page.mouse.move(100, 100);  // the fastest pace: any pointer on the picture
const fastest = await changeTimes(page, 3000);

console.log('| first picture, median of 5 (ms) | interval at the start pace, median (ms) | deviation (ms) | intervals of 6 frames (%) | main thread playing (% of a core) | slides per frame at the fastest pace | first visit (bytes) | offline visit (bytes) |');
console.log('|---|---|---|---|---|---|---|---|');
console.log(`| ${median(firsts).toFixed(0)} | ${median(intervals).toFixed(1)} | ${deviation(intervals).toFixed(1)} | ${(sixes * 100).toFixed(0)} | ${((after.TaskDuration - before.TaskDuration) / 5 * 100).toFixed(1)} | ${(fastest.times.length / fastest.frames).toFixed(2)} | ${firstBytes} | ${secondBytes} |`);
await browser.close();
server.kill();
