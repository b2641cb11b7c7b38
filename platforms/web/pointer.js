// The picture's pointer events, handed to the player, so that a finger or a pen works as a mouse
// does: a drag moves (past a few pixels, so that a tap sets no pace), a tap clicks where the
// finger came down. Inside a frame, the press that only gives the page the focus is no command.
(() => {
  const canvas = document.getElementById('canvas');
  const slop = 10;
  let ignored = null, down = null, dragging = false;
  const send = (kind, e, at = e) => {
    const box = canvas.getBoundingClientRect();
    Module._vk_pointer?.(kind, at.clientX - box.left, at.clientY - box.top, box.width,
      box.height, at.timeStamp, e.buttons,
      (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0),
      e.pointerType === 'mouse' ? 0 : 1);
  };
  canvas.addEventListener('pointerdown', (e) => {
    if (e.button !== 0) return;
    if (!document.hasFocus()) { ignored = e.pointerId; return; }
    if (e.pointerType === 'mouse') return send(1, e);
    // A finger or a pen: a tap or a drag, known only once it lifts or moves away.
    down = { clientX: e.clientX, clientY: e.clientY, timeStamp: e.timeStamp };
    dragging = false;
  });
  canvas.addEventListener('pointermove', (e) => {
    if (e.pointerId === ignored) return;
    if (e.pointerType !== 'mouse') {
      if (!down) return;  // a pen hovering
      dragging ||= Math.hypot(e.clientX - down.clientX, e.clientY - down.clientY) > slop;
      if (!dragging) return;
    }
    send(0, e);
  });
  canvas.addEventListener('pointerup', (e) => {
    if (e.pointerId === ignored) { ignored = null; return; }
    if (e.button !== 0) return;
    if (e.pointerType === 'mouse') return send(2, e);
    if (down && !dragging) {
      send(1, e, down);
      send(2, e, down);
    }
    down = null;
  });
  canvas.addEventListener('pointercancel', () => { down = null; });
})();
