// Gamepads through the page's gamepad interface, mapped as on the desktop: the d-pad and
// the left stick steer, A starts, Start pauses, Back is the back key, the right shoulder
// turns the volume up and the left one down. Gamepads are read once a display frame while
// one is connected, and not at all otherwise.
(() => {
  // Buttons of the standard layout and the keys they stand for.
  const Buttons = [[12, 'ArrowUp'], [13, 'ArrowDown'], [14, 'ArrowLeft'], [15, 'ArrowRight'],
                   [0, 'Enter'], [9, 'F10'], [8, 'Escape'], [5, 'F6'], [4, 'F7']];
  // The stick counts as pushed past half way, and as let go only below 0.3, so that a
  // stick resting near the edge does not chatter.
  const StickPress = 16000 / 32767, StickRelease = 10000 / 32767;

  const key = (control, code, down) => { if (window.Module && Module.glimmoKey) Module.glimmoKey(control, code, down); };
  const held = new Map();  // control -> the code it holds
  function hold(control, code) {
    const was = held.get(control) || null;
    if (code === was) return;
    if (was) key(control, was, false);
    if (code) key(control, code, true);
    if (code) held.set(control, code);
    else held.delete(control);
  }
  // -1, 0 or +1 for an axis, from where it was and where it is.
  function stick(was, value) {
    if (was > 0 && value >= StickRelease) return 1;
    if (was < 0 && value <= -StickRelease) return -1;
    return value >= StickPress ? 1 : value <= -StickPress ? -1 : 0;
  }
  const axisWas = (control) => ({ArrowLeft: -1, ArrowUp: -1, ArrowRight: 1, ArrowDown: 1})[held.get(control)] || 0;

  let reading = false;
  function read() {
    const pads = navigator.getGamepads ? Array.from(navigator.getGamepads()).filter((pad) => pad && pad.connected) : [];
    const seen = new Set();
    for (const pad of pads) {
      const name = 'pad' + pad.index + '.';
      for (const [button, code] of Buttons) {
        seen.add(name + button);
        hold(name + button, pad.buttons[button] && pad.buttons[button].pressed ? code : null);
      }
      const x = stick(axisWas(name + 'x'), pad.axes[0] || 0), y = stick(axisWas(name + 'y'), pad.axes[1] || 0);
      seen.add(name + 'x');
      seen.add(name + 'y');
      hold(name + 'x', x < 0 ? 'ArrowLeft' : x > 0 ? 'ArrowRight' : null);
      hold(name + 'y', y < 0 ? 'ArrowUp' : y > 0 ? 'ArrowDown' : null);
    }
    // A gamepad pulled out lets go of all it held.
    for (const control of Array.from(held.keys())) if (!seen.has(control)) hold(control, null);
    document.body.classList.toggle('gamepad', pads.length > 0);
    reading = pads.length > 0;
    if (reading) requestAnimationFrame(read);
  }
  function connected() {
    if (!reading) {
      reading = true;
      requestAnimationFrame(read);
    }
    document.body.classList.add('gamepad');
    dispatchEvent(new Event('glimmo-hints'));
  }
  addEventListener('gamepadconnected', connected);
  addEventListener('gamepaddisconnected', () => setTimeout(() => dispatchEvent(new Event('glimmo-hints')), 100));
})();
