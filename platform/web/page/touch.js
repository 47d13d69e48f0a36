// Touch controls, shown only on a touch screen (a coarse pointer, or the first touch):
// a swipe on the game steers as a held arrow key does, the direction held until the next
// swipe or a tap; a tap does what Enter does (it starts a game on the title and after
// GAME OVER); the pad holds a direction while a finger is on it; the pause button is the
// pause key; the volume buttons are the volume keys, held as long as they are touched.
(() => {
  // How far a finger moves before it is a swipe, in page pixels.
  const SwipePx = 24;
  // The middle of the pad, as a share of its radius, where no direction is held.
  const PadDeadZone = 0.25;
  const stage = document.getElementById('stage');
  const dpad = document.getElementById('dpad');

  const key = (control, code, down) => { if (window.Module && Module.glimmoKey) Module.glimmoKey(control, code, down); };

  function showControls() {
    if (document.body.classList.contains('touch')) return;
    document.body.classList.add('touch');
    dispatchEvent(new Event('glimmo-hints'));
  }
  if (matchMedia('(pointer: coarse)').matches) showControls();
  addEventListener('pointerdown', (event) => { if (event.pointerType === 'touch') showControls(); }, true);

  // One control holds a direction at a time: a new one lets the last go first.
  function holder(control) {
    let held = null;
    return (code) => {
      if (code === held) return;
      if (held) key(control, held, false);
      held = code;
      if (held) key(control, held, true);
    };
  }
  const swipeHold = holder('swipe');
  const padHold = holder('pad');

  // The direction of a move, by its larger part.
  const direction = (dx, dy) =>
    Math.abs(dx) > Math.abs(dy) ? (dx > 0 ? 'ArrowRight' : 'ArrowLeft') : (dy > 0 ? 'ArrowDown' : 'ArrowUp');

  let finger = null;
  stage.addEventListener('pointerdown', (event) => {
    if (event.pointerType === 'mouse' || finger) return;
    finger = {id: event.pointerId, x: event.clientX, y: event.clientY, swiped: false};
    stage.setPointerCapture(event.pointerId);
    event.preventDefault();
  });
  stage.addEventListener('pointermove', (event) => {
    if (!finger || event.pointerId !== finger.id) return;
    const dx = event.clientX - finger.x, dy = event.clientY - finger.y;
    if (Math.hypot(dx, dy) < SwipePx) return;
    // Each leg of a swipe that turns steers anew.
    padHold(null);
    swipeHold(direction(dx, dy));
    Object.assign(finger, {x: event.clientX, y: event.clientY, swiped: true});
  });
  stage.addEventListener('pointerup', (event) => {
    if (!finger || event.pointerId !== finger.id) return;
    if (!finger.swiped) {
      swipeHold(null);
      key('tap', 'Enter', true);
      key('tap', 'Enter', false);
    }
    finger = null;
  });
  stage.addEventListener('pointercancel', () => { finger = null; });

  // The pad: the direction from its middle to the finger.
  function padAt(event) {
    const box = dpad.getBoundingClientRect();
    const dx = event.clientX - (box.left + box.width / 2), dy = event.clientY - (box.top + box.height / 2);
    const code = Math.hypot(dx, dy) < PadDeadZone * box.width / 2 ? null : direction(dx, dy);
    for (const arrow of dpad.children) arrow.classList.toggle('held', arrow.dataset.code === code);
    if (code) swipeHold(null);
    padHold(code);
  }
  let padFinger = null;
  dpad.addEventListener('pointerdown', (event) => {
    padFinger = event.pointerId;
    dpad.setPointerCapture(event.pointerId);
    padAt(event);
    event.preventDefault();
  });
  dpad.addEventListener('pointermove', (event) => { if (event.pointerId === padFinger) padAt(event); });
  const padUp = (event) => {
    if (event.pointerId !== padFinger) return;
    padFinger = null;
    for (const arrow of dpad.children) arrow.classList.remove('held');
    padHold(null);
  };
  dpad.addEventListener('pointerup', padUp);
  dpad.addEventListener('pointercancel', padUp);

  // Buttons that hold their key while touched.
  function holdButton(id, code) {
    const button = document.getElementById(id);
    const up = () => key(id, code, false);
    button.addEventListener('pointerdown', (event) => {
      button.setPointerCapture(event.pointerId);
      key(id, code, true);
      event.preventDefault();
    });
    button.addEventListener('pointerup', up);
    button.addEventListener('pointercancel', up);
    button.addEventListener('contextmenu', (event) => event.preventDefault());
  }
  holdButton('pause', 'F10');
  holdButton('louder', 'F6');
  holdButton('quieter', 'F7');
  // No menu on a long press anywhere on the game.
  stage.addEventListener('contextmenu', (event) => event.preventDefault());
})();
