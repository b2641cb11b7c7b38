// The page's side of the player, for the functions C++ calls (page_library.h). Linked with
// emscripten's --js-library.
mergeInto(LibraryManager.library, {
  vk_page_description_size: function () {
    return Module.vkDescription ? Module.vkDescription.length : 0;
  },

  vk_page_description_copy: function (out) {
    HEAPU8.set(Module.vkDescription, out);
    Module.vkDescription = null;  // the module keeps its own copy
  },

  vk_page_fail: function (why) {
    Module.onAbort(UTF8ToString(why));
  },

  vk_page_decode: function (jpegs, count, width, height) {
    const spans = HEAPU32.slice(jpegs >> 2, (jpegs >> 2) + 2 * count);
    Module.vkSlides = [];
    // Off the main thread, kept as an ImageBitmap that the canvas draws.
    const early = Module.vkDecoding || [];  // decoded as the module arrived
    const decode = (i) => {
      const at = spans[2 * i];
      const length = spans[2 * i + 1];
      const decoded = early[i] || (length && typeof createImageBitmap === 'function'
        ? createImageBitmap(new Blob([HEAPU8.subarray(at, at + length)], { type: 'image/jpeg' }))
        : Promise.reject(new Error('no slide')));
      return decoded.then((bitmap) => { Module.vkSlides[i] = bitmap; Module._vk_decoded(i, 1); },
                          () => Module._vk_decoded(i, 0));
    };
    // The window opens with the first slide, drawn a frame before the player's frames begin; the
    // others are asked for only then, so that they do not hold it up.
    decode(0).then(() => {
      const canvas = document.getElementById('canvas');
      if (canvas && Module.vkSlides[0]) {
        canvas.getContext('2d').drawImage(Module.vkSlides[0], 0, 0, width, height);
      }
      requestAnimationFrame(() => Module._vk_begin());
      for (let i = 1; i < count; ++i) decode(i);
    });
  },

  vk_page_name: function (title, caption) {
    document.title = UTF8ToString(title);
    document.getElementById('caption').textContent = UTF8ToString(caption);
  },

  vk_page_legend: function (keys, meaning) {
    const term = document.createElement('dt');
    term.textContent = UTF8ToString(keys);
    const description = document.createElement('dd');
    description.textContent = UTF8ToString(meaning);
    document.getElementById('commands').append(term, description);
  },

  vk_page_draw: function (index, width, height) {
    if (document.hidden) return 0;
    const canvas = document.getElementById('canvas');
    if (canvas) canvas.getContext('2d').drawImage(Module.vkSlides[index], 0, 0, width, height);
    return 1;
  },

  vk_page_hide: function () {
    document.getElementById('canvas').style.visibility = 'hidden';
  },

  vk_page_loaded: function () {
    const bar = document.getElementById('progress');
    if (bar) bar.remove();
  },

  // A page cannot close its tab: the loop stops, and the picture gives way to what happened and
  // a button that starts the player again.
  vk_page_end: function (message, status) {
    const text = UTF8ToString(message);
    const ended = document.createElement('div');
    ended.id = 'ended';
    const line = document.createElement('p');
    line.textContent = text;
    const again = document.createElement('button');
    again.textContent = 'Play again';
    again.addEventListener('click', () => location.reload());
    ended.append(line, again);
    document.getElementById('canvas').replaceWith(ended);
    again.focus();
    document.body.dataset.exitStatus = String(status);
    if (status !== 0) console.error(text);
  },
});
