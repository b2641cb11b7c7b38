// Loads the player: its WebAssembly as it streams in, with the progress bar counting it; where it
// cannot start, one sentence in the picture's place says why.
function fail(sentence) {
  if (document.body.dataset.exitStatus) return;
  document.getElementById('progress')?.remove();
  const line = document.createElement('p');
  line.id = 'failed';
  line.setAttribute('role', 'alert');
  line.textContent = sentence;
  document.getElementById('canvas')?.replaceWith(line);
  document.body.dataset.exitStatus = '1';
}
// The one-file page (vorlan-kidney.html) carries the program after this script; index.html
// loads it from beside itself, which a browser allows only over http.
const carried = document.documentElement.dataset.carried === 'true';
// The one-file page has the whole player before this script runs.
if (carried) document.getElementById('progress').value = 1;
const served = location.protocol === 'http:' || location.protocol === 'https:';
// The window description at the head of the program's WebAssembly, read as it arrives: each slide
// goes to the browser's decoder once its bytes are in, and slide 1 is the page's poster.
const description = new DescriptionStream((i, jpeg) => {
  if (typeof createImageBitmap !== 'function') return;
  // Each slide after the first is handed over in a task of its own: a fast link brings many at
  // once, and handing them all over in one task would hold the page up.
  const handed = i === 0 ? Promise.resolve() : new Promise((resolve) => setTimeout(resolve, 0));
  const decoded = handed.then(() => createImageBitmap(new Blob([jpeg], { type: 'image/jpeg' })));
  Module.vkDecoding[i] = decoded;
  decoded.catch(() => {});  // the player says so, if it takes the slide
  if (i === 0) {
    decoded.then((bitmap) => {
      const canvas = document.getElementById('canvas');
      if (canvas) canvas.getContext('2d').drawImage(bitmap, 0, 0, canvas.width, canvas.height);
    }, () => {});
  }
}, (bytes) => { Module.vkDescription = bytes; });
// The program's WebAssembly, compiled as it streams in, read for its description on the way, with
// the progress bar counting its bytes against the size make web wrote into the bar.
function instantiateWasm(imports, receive) {
  const bar = document.getElementById('progress');
  const total = Number(bar?.dataset.moduleBytes) || 0;
  fetch('vorlan-kidney.wasm', { credentials: 'same-origin' }).then((response) => {
    if (!response.ok) throw new Error('vorlan-kidney.wasm: status ' + response.status);
    const reader = response.body.getReader();
    let arrived = 0;
    const counted = new ReadableStream({
      async pull(controller) {
        const { done, value } = await reader.read();
        if (done) {
          const problem = description.end();
          return problem ? controller.error(new Error(problem)) : controller.close();
        }
        description.push(value);
        arrived += value.byteLength;
        if (bar && total) bar.value = Math.min(1, arrived / total);
        controller.enqueue(value);
      },
    });
    return WebAssembly.instantiateStreaming(
      new Response(counted, { headers: { 'Content-Type': 'application/wasm' } }), imports);
  }).then((result) => new Promise((resolve) => {
    // The player starts in a task of its own, apart from the last of the download's.
    setTimeout(() => resolve(receive(result.instance, result.module)), 0);
  })).catch((error) => Module.onAbort(error));
  return {};
}
var Module = {
  vkDecoding: [],  // each slide's ImageBitmap to be, as the module arrives
  // Kept for visits without a network once the program has arrived, so that keeping the files
  // does not share the link with the program's own download.
  onRuntimeInitialized: () => {
    if (served && !carried && 'serviceWorker' in navigator) {
      navigator.serviceWorker.register('sw.js').catch(() => {});
    }
  },
  instantiateWasm: carried ? undefined : instantiateWasm,
  onAbort: (what) => fail('The player could not be loaded (' + String(what).slice(0, 200) + ')' +
    (carried ? '.' : ': check that vorlan-kidney.wasm lies beside this page on the server, ' +
                     'then reload.')),
};
if (typeof WebAssembly !== 'object') {
  fail('This browser cannot run WebAssembly, which the player needs: open it in a current ' +
       'browser.');
} else if (!served && !carried) {
  fail('A browser does not run this page from a file: open vorlan-kidney.html beside it, ' +
       'which carries the whole player, or serve this folder over http, for example with ' +
       'python3 -m http.server -d build-web, and open http://localhost:8000/.');
  const one = document.createElement('a');
  one.href = 'vorlan-kidney.html';
  one.textContent = 'Open vorlan-kidney.html';
  document.getElementById('failed').append(one);
} else if (!carried) {
  const script = document.createElement('script');
  script.src = 'vorlan-kidney.js';
  script.onerror = () => fail('The player could not be loaded: vorlan-kidney.js is missing ' +
                              'beside this page on the server.');
  document.body.append(script);
}
