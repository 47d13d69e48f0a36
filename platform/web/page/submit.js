// Sending a game to a hall of fame: when the page is served by a hall (at /play/, its
// board answering at ../api/board), the game just ended, once kept, is offered: a name
// and a button send it to ../api/submit, and the hall's answer (its place on the board,
// or why it was refused) is one line of the page. A demo's game is never offered.
(() => {
  const board = new URL('../api/board', location.href);
  const submit = new URL('../api/submit', location.href);
  const hints = document.getElementById('hints');
  const form = document.createElement('form');
  form.id = 'submit';
  form.hidden = true;
  const what = document.createElement('span');
  const name = document.createElement('input');
  name.id = 'submit-name';
  name.maxLength = 32;
  name.placeholder = 'your name';
  name.required = true;
  const send = document.createElement('button');
  send.id = 'submit-send';
  send.className = 'replay-button';
  send.textContent = 'Send';
  const answer = document.createElement('div');
  answer.id = 'submit-answer';
  form.append(what, ' ', name, ' ', send);
  hints.append(form, answer);
  // Typing a name is not playing: the game's keys stay in the field.
  for (const type of ['keydown', 'keyup']) form.addEventListener(type, (event) => event.stopPropagation());
  try { name.value = localStorage.getItem('glimmo.hall.name') || ''; } catch (e) {}

  let hall = false;
  // The last game kept in this browser, unless it is a demo's or was offered already.
  function lastGame() {
    let text = null, offered = null;
    try {
      text = localStorage.getItem('glimmo.last.replay');
      offered = localStorage.getItem('glimmo.hall.offered');
    } catch (e) {}
    if (!text || /^demo$/m.test(text.split('\n# ')[0])) return null;
    const end = /^end (\d+) (-?\d+)$/m.exec(text);
    if (!end || offered === end[0] + ' ' + text.length) return null;
    return {text, score: Number(end[2]), mark: end[0] + ' ' + text.length};
  }

  function offer() {
    const game = hall && !new URLSearchParams(location.search).has('replay') && lastGame();
    if (!game) return;
    what.textContent = `Send your game (score ${game.score}) to this hall of fame:`;
    form.hidden = false;
    answer.textContent = '';
    form.onsubmit = async (event) => {
      event.preventDefault();
      send.disabled = true;
      try { localStorage.setItem('glimmo.hall.name', name.value); } catch (e) {}
      try {
        const reply = await fetch(`${submit}?name=${encodeURIComponent(name.value)}`,
                                  {method: 'POST', body: game.text, headers: {'Content-Type': 'text/plain'}});
        const said = await reply.json();
        if (said.status === 'kept' || said.status === 'already kept') {
          answer.textContent = `${said.status === 'kept' ? 'Kept' : 'Kept already'}: place ${said.place} ` +
            `of ${said.games} on the board, score ${said.score}.`;
        } else {
          answer.textContent = `The hall ${said.status === 'try again' ? 'asks to try again' : 'refused it'}: ` +
            `${said.reason}${said.why ? ` (${said.why})` : ''}.`;
        }
        if (said.status !== 'try again') {
          try { localStorage.setItem('glimmo.hall.offered', game.mark); } catch (e) {}
          form.hidden = true;
        }
      } catch (e) {
        answer.textContent = `The hall cannot be reached: ${e.message}.`;
      }
      send.disabled = false;
    };
  }

  fetch(board, {cache: 'no-store'})
    .then((reply) => reply.ok ? reply.json() : null)
    .then((json) => {
      hall = !!(json && Array.isArray(json.games));
      offer();
    }, () => {});
  addEventListener('glimmo-kept', (event) => { if (event.detail === 'glimmo.last.replay') offer(); });
})();
