// The page's hints, in its own text beside the picture (the picture stays the game's):
// what the keys, touches or gamepad buttons are; the moment's hint (how to leave the
// pause, the volume while it changes), following the game's title; and, until the sound
// has started, how to start it. Other parts of the page ask for the hints to be written
// again with a glimmo-hints event (the controls shown, a gamepad connected).
(() => {
  const moment = document.getElementById('moment');
  const keys = document.getElementById('keys');
  const sound = document.getElementById('sound');
  const level = document.getElementById('level');
  const pause = document.getElementById('pause');
  const touch = () => document.body.classList.contains('touch');
  const gamepad = () => document.body.classList.contains('gamepad');

  // The game's state line, parsed (null before the first frame).
  function state() {
    try {
      return window.glimmoState ? JSON.parse(window.glimmoState()) : null;
    } catch (e) {
      return null;
    }
  }

  function writeKeys() {
    const lines = [];
    if (touch()) lines.push('Swipe or hold the pad to steer · tap the picture to start · ❚❚ pauses');
    else lines.push('Arrows or W A S D steer · Enter starts · P pauses · + and − set the volume · Esc goes back');
    if (gamepad()) lines.push('Gamepad: d-pad or stick steers · A starts · Start pauses · Back goes back · shoulders set the volume');
    keys.textContent = lines.join('\n');
    keys.style.whiteSpace = 'pre-line';
  }

  // The title carries the moment: "· volume N of 64" while the volume changes, "· paused" in the pause.
  function writeMoment(title) {
    const now = state();
    const volume = /volume (\d+) of 64/.exec(title || '');
    if (now) level.textContent = 'volume ' + now.sound;
    const paused = now ? now.paused === 1 : /paused/.test(title || '');
    pause.textContent = paused ? '▶' : '❚❚';
    pause.setAttribute('aria-label', paused ? 'resume' : 'pause');
    if (volume) moment.textContent = 'Volume ' + volume[1] + ' of 64';
    else if (paused && touch()) moment.textContent = 'Paused · ▶ resumes';
    else if (paused && gamepad()) moment.textContent = 'Paused · P or Start resumes · Esc or Back goes to the title';
    else if (paused) moment.textContent = 'Paused · P resumes · Esc goes to the title';
    else moment.textContent = '';
  }

  // Browsers start sound only after a key or a touch on the page.
  function writeSound() {
    const audio = window.glimmoAudio;
    const playing = audio && audio.ctx && audio.ctx.state === 'running';
    sound.textContent = playing || !audio || !audio.ctx ? '' : 'The sound starts with your first key or touch.';
    if (audio && audio.ctx && !playing && !audio.hinted) {
      audio.hinted = true;
      audio.ctx.addEventListener('statechange', writeSound);
    }
  }

  function writeAll() {
    writeKeys();
    writeMoment(document.title);
    writeSound();
  }
  addEventListener('glimmo-title', (event) => writeMoment(event.detail));
  // The first frame comes before the end of the first pass, whose state the hints read.
  addEventListener('glimmo-frame', () => setTimeout(writeAll, 50));
  addEventListener('glimmo-hints', writeAll);
  if (window.glimmoTimes && window.glimmoTimes.firstFrame) writeAll();
  else writeKeys();
})();
