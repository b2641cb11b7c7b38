// The page's reader of the description at the head of the program's WebAssembly, on the module
// make web built: slides split across chunks, a module cut in the middle of a slide, a module
// without a description.
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { test } from 'node:test';
import assert from 'node:assert/strict';

const require = createRequire(import.meta.url);
const { DescriptionStream } = require('../../platforms/web/stream.js');
const here = new URL('.', import.meta.url).pathname;
const folder = process.env.BUILD_WEB ?? `${here}../../build-web`;
const module = readFileSync(`${folder}/vorlan-kidney.wasm`);
const description = readFileSync(`${folder}/presentation/VorlanKidney.bin`);
const spans = readFileSync(`${folder}/presentation/VorlanKidney.slides`, 'ascii').trim().split('\n')
  .map((line) => line.split(' ').map(Number));

// Pushes `bytes` in chunks of the sizes given, over and over; what the reader handed out.
function read(bytes, sizes) {
  const got = { slides: [], description: null, pushedAtSlide1: null };
  let pushed = 0;
  const stream = new DescriptionStream((i, jpeg) => {
    got.slides.push([i, Buffer.from(jpeg)]);
    if (i === 0) got.pushedAtSlide1 = pushed;
  }, (whole) => { got.description = Buffer.from(whole); });
  for (let at = 0, n = 0; at < bytes.length; at += sizes[n++ % sizes.length]) {
    pushed = Math.min(bytes.length, at + sizes[n % sizes.length]);
    stream.push(new Uint8Array(bytes.subarray(at, pushed)));
  }
  got.problem = stream.end();
  return got;
}

test('each slide as its last byte arrives, slide 1 first, and the description whole', () => {
  for (const sizes of [[1, 7, 3], [4096], [65536, 13], [module.length]]) {
    const got = read(module, sizes);
    assert.equal(got.problem, null);
    assert.deepEqual(got.slides.map(([i]) => i), [...Array(24).keys()]);
    for (const [i, jpeg] of got.slides) {
      const [offset, length] = spans[i];
      assert.ok(jpeg.equals(description.subarray(offset, offset + length)), `slide ${i + 1}`);
    }
    assert.ok(got.description.equals(description), 'the description put back in its order');
    // The poster needs only the module's first bytes, not the code after the description.
    if (sizes[0] < module.length) assert.ok(got.pushedAtSlide1 < 70000, `${got.pushedAtSlide1}`);
  }
});

test('a module cut in the middle of a slide hands out the slides before it and says so', () => {
  const got = read(module.subarray(0, 8 + 240 + spans[0][1] + spans[1][1] + spans[2][1] / 2), [1000]);
  assert.deepEqual(got.slides.map(([i]) => i), [0, 1]);
  assert.equal(got.description, null);
  assert.match(got.problem, /cut short/);
});

test('a module without a description hands out nothing and says so', () => {
  // The module as the linker wrote it: its first section the program's own.
  let at = 9, size = 0;
  for (let shift = 0; ; shift += 7) {
    const byte = module[at++];
    size += (byte & 0x7f) * 2 ** shift;
    if (!(byte & 0x80)) break;
  }
  const bare = Buffer.concat([module.subarray(0, 8), module.subarray(at + size)]);
  const got = read(bare, [4096]);
  assert.deepEqual(got.slides, []);
  assert.match(got.problem, /no window description/);
});
