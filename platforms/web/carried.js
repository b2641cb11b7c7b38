// The one-file page's WebAssembly, from the text it carries: the program takes it instead of
// fetching it, which a page opened from a file cannot.
(() => {
  const text = atob(document.getElementById('program-wasm').textContent);
  const bytes = new Uint8Array(text.length);
  for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
  Module.wasmBinary = bytes;
  description.push(bytes);
})();
