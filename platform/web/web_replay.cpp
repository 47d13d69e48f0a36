// The page's replay: the address or the tab's storage says which, fetch() brings it, and
// the program waits for it in short sleeps.
#include "platform/web/web_replay.h"
#include <emscripten.h>
#include <cstdlib>

namespace {
// clang-format off
// Starts bringing the replay asked for into Module.glimmoReplay ({name, text} or {name,
// why}); 0 when none is asked for.
EM_JS(int, web_replay_ask, (), {
    let opened = null;
    try {
        opened = JSON.parse(sessionStorage.getItem('glimmo.replay.open'));
        sessionStorage.removeItem('glimmo.replay.open');
    } catch (e) {}
    if (opened && typeof opened.name === 'string' && typeof opened.text === 'string') {
        Module.glimmoReplay = opened;
        return 1;
    }
    const path = new URLSearchParams(location.search).get('replay');
    if (path === null || path.length === 0) return 0;
    if (path === 'last' || path === 'best') {
        let text = null;
        try { text = localStorage.getItem('glimmo.' + path + '.replay'); } catch (e) {}
        Module.glimmoReplay = text === null ? {name: path, why: 'no ' + path + ' game is kept in this browser yet'}
                                            : {name: 'the ' + path + ' game', text};
        return 1;
    }
    const url = new URL(path, location.href);
    if (url.origin !== location.origin) {
        Module.glimmoReplay = {name: path, why: 'a replay is opened only from this site'};
        return 1;
    }
    fetch(url, {cache: 'no-store'})
        .then((answer) => answer.ok ? answer.text() : Promise.reject(new Error('the site answered ' + answer.status)))
        .then((text) => { Module.glimmoReplay = {name: path, text}; },
              (e) => { Module.glimmoReplay = {name: path, why: 'cannot fetch it: ' + e.message}; });
    return 1;
});

EM_JS(int, web_replay_arrived, (), { return Module.glimmoReplay ? 1 : 0; });

// A part of Module.glimmoReplay ("name", "text" or "why") in memory of the program's ("" if none).
EM_JS(char*, web_replay_part, (const char* part), {
    const value = String(Module.glimmoReplay[UTF8ToString(part)] || "");
    const size = lengthBytesUTF8(value) + 1;
    const memory = _malloc(size);
    stringToUTF8(value, memory, size);
    return memory;
});

// What the page's parts (replay.js) read of the replay watched: window.glimmoWatch, as
// {name, status, ended, why}, told anew with a glimmo-replay event.
EM_JS(void, web_replay_tell, (const char* field, const char* value), {
    window.glimmoWatch = window.glimmoWatch || {};
    window.glimmoWatch[UTF8ToString(field)] = UTF8ToString(value);
    dispatchEvent(new Event('glimmo-replay'));
});
// clang-format on

std::string Part(const char* name) {
    char* text = web_replay_part(name);
    std::string value = text;
    std::free(text);
    return value;
}
}  // namespace

PageReplay OpenPageReplay() {
    if (!web_replay_ask()) return {};
    while (!web_replay_arrived()) emscripten_sleep(10);
    PageReplay opened{Part("name"), Part("text"), Part("why")};
    web_replay_tell("name", opened.name.c_str());
    return opened;
}

void ShowReplayStatus(const std::string& line) { web_replay_tell("status", line.c_str()); }

void ShowReplayEnded(const std::string& line) {
    web_replay_tell("why", line.c_str());
    web_replay_tell("ended", "yes");
}
