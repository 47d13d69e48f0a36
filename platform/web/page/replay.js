// Replays in the page: a replay is opened with the button, by dropping its file on the
// page, or by the address (?replay=PATH on the same site, ?replay=last or best for the
// games kept in this browser); the program then plays it back with the watching keys, and
// its status (where it stands, the speed) is written beside the picture. The games played
// here are kept in the browser's storage, the last and the best, to watch or download.
(() => {
  const hints = document.getElementById('hints');
  const note = document.getElementById('note');
  const status = document.createElement('div');
  status.id = 'replay';
  hints.insertBefore(status, document.getElementById('keys'));
  const bar = document.createElement('div');
  bar.id = 'replays';
  const chooser = document.createElement('input');
  chooser.type = 'file';
  chooser.accept = '.replay,text/plain';
  chooser.hidden = true;
  const open = document.createElement('button');
  open.id = 'open-replay';
  open.textContent = 'Open a replay…';
  open.className = 'replay-button';
  const kept = document.createElement('span');
  bar.append(open, chooser, kept);
  hints.append(bar);

  // The page's address without a replay in it: the game, or where another replay goes.
  function gameAddress() {
    const query = new URLSearchParams(location.search);
    query.delete('replay');
    const rest = query.toString();
    return location.pathname + (rest ? '?' + rest : '');
  }

  // A file's text is kept in the tab's storage while the page loads again to play it.
  async function openFile(file) {
    if (!file) return;
    const text = await file.text();
    try {
      sessionStorage.setItem('glimmo.replay.open', JSON.stringify({name: file.name, text}));
    } catch (e) {
      note.textContent = `${file.name} cannot be opened: the browser's storage will not take it.`;
      return;
    }
    location.assign(gameAddress());
  }
  open.addEventListener('click', () => chooser.click());
  chooser.addEventListener('change', () => openFile(chooser.files[0]));
  addEventListener('dragover', (event) => event.preventDefault());
  addEventListener('drop', (event) => {
    event.preventDefault();
    openFile(event.dataTransfer && event.dataTransfer.files[0]);
  });

  // The kept games: a link to watch each and one to download it as a .replay file.
  function writeKept() {
    kept.textContent = '';
    for (const which of ['last', 'best']) {
      let text = null;
      try { text = localStorage.getItem(`glimmo.${which}.replay`); } catch (e) {}
      if (text === null) continue;
      const score = /^end \d+ (-?\d+)$/m.exec(text);
      const watch = document.createElement('a');
      const query = new URLSearchParams(location.search);
      query.set('replay', which);
      watch.href = `${location.pathname}?${query}`;
      watch.textContent = `watch the ${which} game${score ? ` (${score[1]})` : ''}`;
      const save = document.createElement('a');
      save.href = URL.createObjectURL(new Blob([text], {type: 'text/plain'}));
      save.download = `glimmo-${which}.replay`;
      save.textContent = 'download';
      save.id = `download-${which}`;
      kept.append(' · ', watch, ' ', save);
    }
  }
  addEventListener('glimmo-kept', writeKept);
  writeKept();

  // The replay watched: its status, and when it is over why, and how to play.
  function writeWatch() {
    const watch = window.glimmoWatch;
    if (!watch) return;
    document.body.classList.add('replay');
    if (!watch.ended) {
      status.textContent = watch.status || `Replay of ${watch.name}`;
      return;
    }
    status.textContent = watch.why ? `The replay cannot be played: ${watch.why}` :
      `The replay of ${watch.name} has ended${watch.status ? ` (${watch.status})` : ''}.`;
    note.textContent = 'Press a key or click the picture to play.';
    const play = (event) => {
      if (event.type === 'keydown' && (event.ctrlKey || event.metaKey || event.altKey)) return;
      location.assign(gameAddress());
    };
    setTimeout(() => {
      addEventListener('keydown', play);
      document.getElementById('glimmo').addEventListener('pointerdown', play);
    }, 300);
  }
  addEventListener('glimmo-replay', () => {
    writeWatch();
    dispatchEvent(new Event('glimmo-hints'));
  });
  writeWatch();
})();
