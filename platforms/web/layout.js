// The page's layout: the picture as large as it fits with its aspect kept, the legend beside or
// below it where there is room, else over it behind the Keys button; and the buttons that stand
// for keys on a touch screen.
function layout() {
  const canvas = document.getElementById('canvas'), legend = document.getElementById('legend');
  if (!canvas) return;
  const w = innerWidth, h = innerHeight;
  const aspect = canvas.width / canvas.height;  // the slides' own
  const beside = w - Math.min(w, h * aspect) >= 240, below = !beside && h - w / aspect >= 180;
  const pw = beside ? Math.min(w - 240, h * aspect) : Math.min(w, h * aspect), ph = pw / aspect;
  const left = beside ? Math.max(0, (w - pw - 320) / 2) : (w - pw) / 2;
  const top = below ? 0 : (h - ph) / 2;
  Object.assign(canvas.style, { left: left + 'px', top: top + 'px', width: pw + 'px',
                                height: ph + 'px' });
  const place = beside ? [left + pw, 0, w - left - pw, h] : below ? [0, ph, w, h - ph]
                                                                    : [0, 0, w, h];
  Object.assign(legend.style, { left: place[0] + 'px', top: place[1] + 'px',
                                width: place[2] + 'px', height: place[3] + 'px' });
  document.body.dataset.layout = beside ? 'beside' : below ? 'below' : 'over';
}
addEventListener('resize', layout);
layout();
const toggle = document.getElementById('toggle');
toggle.addEventListener('click', () => {
  const open = document.body.classList.toggle('legend-open');
  toggle.setAttribute('aria-expanded', String(open));
});
for (const button of document.querySelectorAll('#controls button')) {
  // As if the button's key were pressed, once the player runs.
  button.addEventListener('click', () => {
    if (Module.calledRun) Module.ccall('vk_key', null, ['string'], [button.dataset.key]);
  });
}
