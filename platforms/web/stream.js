// Reads the program's WebAssembly as it arrives and takes out the window description that leads
// it (the custom section vorlan-kidney.description that lead_section.py writes): each slide's
// JPEG as soon as its last byte is in, then the whole description, put back in its own order.
class DescriptionStream {
  // onSlide(i, jpeg) for slide i + 1's JPEG file, in slide order; onDescription(bytes) once.
  constructor(onSlide, onDescription) {
    this.onSlide = onSlide;
    this.onDescription = onDescription;
    this.head = new Uint8Array(0);  // the module's first bytes, until the description's begin
    this.state = 'head';
  }

  // The next chunk of the module.
  push(chunk) {
    if (this.state === 'bytes') return this.fill(chunk);
    if (this.state !== 'head') return;
    const head = new Uint8Array(this.head.length + chunk.length);
    head.set(this.head);
    head.set(chunk, this.head.length);
    this.head = head;
    const start = this.begin(head);
    if (start !== null) {
      this.head = null;
      this.fill(head.subarray(start));
    }
  }

  // The module has ended: null when the description came whole, else why not.
  end() {
    if (this.state === 'whole') return null;
    return this.state === 'bytes' ? 'the program arrived cut short, in its window description'
                                  : 'the program carries no window description';
  }

  // Reads the module's sections up to the description's bytes: where they begin in `head`, or
  // null while more must come (or, state 'none', when the code comes first).
  begin(head) {
    const u32 = (at) => (head[at] | head[at + 1] << 8 | head[at + 2] << 16 | head[at + 3] << 24) >>> 0;
    const leb = (at) => {  // [value, next] or null
      for (let i = 0, value = 0; i < 5 && at + i < head.length; ++i) {
        value += (head[at + i] & 0x7f) * 2 ** (7 * i);
        if (!(head[at + i] & 0x80)) return [value, at + i + 1];
      }
      return null;
    };
    if (head.length < 8) return null;
    if (u32(0) !== 0x6d736100) return this.none();  // not WebAssembly
    for (let at = 8; at < head.length;) {
      if (head[at] !== 0) return this.none();  // a section of the program's own: no description
      const size = leb(at + 1);
      const length = size && leb(size[1]);
      if (!length || length[1] + length[0] > head.length) return null;
      const name = new TextDecoder().decode(head.subarray(length[1], length[1] + length[0]));
      const payload = length[1] + length[0], end = size[1] + size[0];
      if (name !== 'vorlan-kidney.description') {
        if (end > head.length) return null;
        at = end;
        continue;
      }
      if (payload + 8 > head.length) return null;
      const count = u32(payload + 4);
      if (payload + 8 + 8 * count > head.length) return null;
      this.description = new Uint8Array(u32(payload));
      this.slides = count;
      this.ranges = [];
      for (let i = 0; i < count; ++i) this.ranges.push([u32(payload + 8 + 8 * i), u32(payload + 12 + 8 * i)]);
      // After the slides, what lies between them, in the description's own order.
      let from = 0;
      for (const [offset, length] of [...this.ranges].sort((a, b) => a[0] - b[0])) {
        this.ranges.push([from, offset - from]);
        from = offset + length;
      }
      this.ranges.push([from, this.description.length - from]);
      this.range = 0;
      this.filled = 0;
      this.state = 'bytes';
      return payload + 8 + 8 * count;
    }
    return null;
  }

  none() {
    this.state = 'none';
    this.head = null;
    return null;
  }

  // Puts the description's bytes where they belong, handing out each slide once it is whole.
  fill(chunk) {
    for (let at = 0; this.state === 'bytes';) {
      const [offset, length] = this.ranges[this.range];
      const k = Math.min(chunk.length - at, length - this.filled);
      this.description.set(chunk.subarray(at, at + k), offset + this.filled);
      this.filled += k;
      at += k;
      if (this.filled < length) return;
      if (this.range < this.slides) {
        this.onSlide(this.range, this.description.subarray(offset, offset + length));
      }
      this.filled = 0;
      if (++this.range === this.ranges.length) {
        this.state = 'whole';
        this.onDescription(this.description);
      }
    }
  }
}
if (typeof module === 'object') module.exports = { DescriptionStream };
