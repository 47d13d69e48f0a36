#!/usr/bin/env python3
"""The game in a web page, played in headless Chromium.

Builds the web preset into build/web (incrementally), serves it on 127.0.0.1, and checks
that (1) the title card on the canvas is the headless harness's title frame, (2) Enter
brings READY! and then the maze with three lives, (3) the arrow keys steer and the score
rises (and hiding the tab pauses the game), (4) after a reload the best score of that game
is on the title, (5) the sound played blocks that are not silent after Enter, counting the
underruns, (6) a storage that will not take the save is said on the page in one line, and
Escape on the pause screen brings the title back, (7) the server answers a bad path with
400 and closes half-sent requests after a timeout. On a phone-sized page with touch,
served from a sub-folder: (8) a tap starts a game, swipes and the pad steer, the pause and
volume buttons act; (9) a scripted gamepad starts and steers a game; (10) Chromium finds
the page installable, and with the network cut a reload plays; (11) opened from disk, the
page says why in one line. Replays, served beside the page: (12) a desktop replay named by
the address plays to the harness's state lines, pass for pass; (13) one of another game
version is refused with its line; (14) a dropped file plays and Escape stops it; (15) a game
played in the page is downloaded and played on the desktop to its recorded end; (16)
served by the glimmo-hall $GLIMMO_HALL names (else the one beside glimmo's build) at /play/, the page
sends the game just ended and says its place, and says why an edited one is refused. Skips with one line where emcc, Chromium or its driver is
missing or will not start.

Usage: web_page_test.py SOURCE_DIR GLIMMO [--minute SEED | --screenshots DIR]
(--minute: a minute of the autopilot in the page, for the underrun count; no checks.
--screenshots: the page on a phone in portrait and landscape, as PNGs; no checks.)"""
import base64
import json
import os
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time
import zlib

SKIP = 77
WIDTH, HEIGHT = 176, 220


def skip(why):
    print(f"web page test skipped: {why}")
    sys.exit(SKIP)


def read_png(path):
    """The RGB pixels of an 8-bit RGB or RGBA PNG (what the harness writes), row by row."""
    data = open(path, "rb").read()
    pos, chunks, header = 8, [], None
    while pos < len(data):
        size, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + size]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            chunks.append(body)
        pos += 12 + size
    width, height, depth, colour = header[0], header[1], header[2], header[3]
    assert depth == 8 and colour in (2, 6), f"{path}: a PNG of depth {depth}, colour type {colour}"
    step = 3 if colour == 2 else 4
    raw = zlib.decompress(b"".join(chunks))
    rows, prev, at = [], bytearray(width * step), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + width * step])
        at += 1 + width * step
        for i in range(len(line)):
            left = line[i - step] if i >= step else 0
            up, corner = prev[i], prev[i - step] if i >= step else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                near = min((abs(p - left), left), (abs(p - up), up), (abs(p - corner), corner), key=lambda t: t[0])
                line[i] = (line[i] + near[1]) & 255
        rows.append([tuple(line[x * step:x * step + 3]) for x in range(width)])
        prev = line
    return rows


def region_diff(a, b, box):
    """Pixels that differ between two frames inside box = (x0, y0, x1, y1), ends excluded."""
    x0, y0, x1, y1 = box
    return sum(1 for y in range(y0, y1) for x in range(x0, x1) if a[y][x] != b[y][x])


def wait_until(what, test, seconds):
    """What test() returns once it is true, waiting up to `seconds`."""
    end = time.time() + seconds
    while time.time() < end:
        got = test()
        if got:
            return got
        time.sleep(0.1)
    raise AssertionError(f"not seen within {seconds} s: {what}")


def check_server(serve_web, site):
    """(7) The server answers a NUL in the path with 400 and goes on serving, and closes
    half-sent requests when its timeout is up, ending their threads."""
    server = serve_web.start(site, timeout=1)

    def ask(request):
        with socket.create_connection(server.server_address, timeout=5) as s:
            s.sendall(request)
            return s.recv(12)

    try:
        before = threading.active_count()
        idle = [socket.create_connection(server.server_address) for _ in range(50)]
        for s in idle:
            s.sendall(b"GET / HTTP/1.1\r\nHost:")
        wait_until("a thread for each of 50 half-sent requests", lambda: threading.active_count() >= before + 50, 5)
        wait_until("the 50 threads ended by the timeout", lambda: threading.active_count() <= before, 5)
        for path in (b"/%00", b"/\0", b"/"):
            answer = ask(b"GET " + path + b" HTTP/1.0\r\n\r\n")
            assert answer == (b"HTTP/1.0 200" if path == b"/" else b"HTTP/1.0 400"), f"GET {path}: {answer!r}"
        print("(7) server: 50 half-sent requests closed after the timeout; a NUL in the path answered 400")
    finally:
        server.shutdown()
        server.server_close()


class Page:
    def __init__(self, driver):
        self.d = driver

    def frame(self):
        encoded = self.d.execute_script(
            "const c = document.getElementById('glimmo');"
            "const p = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;"
            "let s = ''; for (let i = 0; i < p.length; i += 4) s += String.fromCharCode(p[i], p[i + 1], p[i + 2]);"
            "return btoa(s);")
        raw = base64.b64decode(encoded)
        return [[tuple(raw[(y * WIDTH + x) * 3:(y * WIDTH + x) * 3 + 3]) for x in range(WIDTH)] for y in range(HEIGHT)]

    def text(self):
        return self.d.execute_script("return document.body.innerText")

    def audio(self):
        return self.d.execute_script(
            "const a = window.glimmoAudio; return a && {blocks: a.blocks, loud: a.loud, underruns: a.underruns,"
            " lateAt: a.lateAt, state: a.ctx ? a.ctx.state : 'none'};")

    def wait_first_frame(self, seconds=10):
        end = time.time() + seconds
        while time.time() < end:
            ms = self.d.execute_script("return window.glimmoTimes && window.glimmoTimes.firstFrame")
            if ms:
                return ms
            time.sleep(0.05)
        raise AssertionError(f"no frame on the canvas within {seconds} s")

    def wait_for(self, what, test, seconds):
        end = time.time() + seconds
        while time.time() < end:
            frame = self.frame()
            if test(frame):
                return frame
            time.sleep(0.1)
        raise AssertionError(f"not seen within {seconds} s: {what}")

    def state(self):
        """The game's state line, as the page gives it to tools."""
        line = self.d.execute_script("return window.glimmoState ? glimmoState() : ''")
        return json.loads(line) if line else None

    def wait_state(self, what, test, seconds):
        return wait_until(what, lambda: (lambda s: s if s and test(s) else None)(self.state()), seconds)

    def keys(self, *actions):
        from selenium.webdriver.common.action_chains import ActionChains
        chain = ActionChains(self.d)
        for kind, key in actions:
            chain = chain.key_down(key) if kind == "down" else chain.key_up(key)
        chain.perform()


def harness_frames(glimmo, folder, config=None):
    """The headless harness's frames: the title (pass 5), READY! (300) and play (700)
    after Enter at 500 ms, with nobody steering."""
    script = os.path.join(folder, "enter.script")
    with open(script, "w") as f:
        f.write("500 tap RETURN\n")
    names = {p: os.path.join(folder, f"pass{p}.png") for p in (5, 300, 700)}
    command = [glimmo, "--headless", "--until-tick", "6000", "--script", script,
               "--config-dir", config or os.path.join(folder, "settings")]
    for p, name in names.items():
        command += ["--screenshot", f"{p}:{name}"]
    subprocess.run(command, check=True)
    return {p: read_png(name) for p, name in names.items()}


def build_site(source):
    build = os.path.join(source, "build", "web-cmake")
    if not os.path.exists(os.path.join(build, "CMakeCache.txt")):
        subprocess.run(["cmake", "--preset", "web"], cwd=source, check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build, "-j2"], cwd=source, check=True, stdout=subprocess.DEVNULL)
    return os.path.join(source, "build", "web")


def start_browser():
    try:
        from selenium import webdriver
        from selenium.webdriver.chrome.options import Options
        from selenium.webdriver.chrome.service import Service
    except ImportError:
        skip("python3-selenium is not installed")
    options = Options()
    for flag in ("--headless=new", "--no-sandbox", "--window-size=900,1000", "--disable-gpu",
                 "--autoplay-policy=no-user-gesture-required"):
        options.add_argument(flag)
    try:
        return webdriver.Chrome(service=Service(shutil.which("chromedriver")), options=options)
    except Exception as e:  # any failure to start is the machine's, not the page's
        skip(f"Chromium will not start: {str(e).strip().splitlines()[0]}")


# Parts of the frame: the title card's table of ghosts and points (still, unlike the figure
# running below it), the score line, READY!, the spare lives, the top of the maze.
TITLE_TABLE = (0, 0, WIDTH, 170)
SCORE_LINE = (0, 0, WIDTH, 18)
PLAYER_SCORE = (0, 8, 60, 18)
READY_TEXT = (66, 117, 110, 130)
SPARE_LIVES = (0, 204, 60, HEIGHT)
MAZE_TOP = (0, 18, WIDTH, 26)


def main():
    if len(sys.argv) < 3:
        print(__doc__.strip().splitlines()[-2], file=sys.stderr)
        return 2
    source, glimmo = sys.argv[1], sys.argv[2]
    minute = sys.argv[4] if len(sys.argv) == 5 and sys.argv[3] == "--minute" else None
    shots = sys.argv[4] if len(sys.argv) == 5 and sys.argv[3] == "--screenshots" else None
    for tool, package in (("emcc", "emscripten"), ("chromium", "chromium"), ("chromedriver", "chromium-driver")):
        if not shutil.which(tool):
            skip(f"{tool} is not installed (Debian package {package})")
    site = build_site(source)
    sizes = {name: os.path.getsize(os.path.join(site, name)) for name in ("glimmo.wasm", "glimmo.js")}
    print(f"sizes: glimmo.wasm {sizes['glimmo.wasm']} bytes, glimmo.js {sizes['glimmo.js']} bytes, "
          f"together {sum(sizes.values())} bytes")
    sys.path.insert(0, os.path.join(source, "scripts"))
    import serve_web
    if minute is None and shots is None:
        check_server(serve_web, site)
    server = serve_web.start(site)
    url = f"http://127.0.0.1:{server.server_address[1]}/"
    driver = start_browser()
    page = Page(driver)
    try:
        if minute is not None:
            driver.get(f"{url}?autopilot={minute}")
            print(f"page load to the title: {page.wait_first_frame():.0f} ms")
            time.sleep(60)
            print(f"a minute of the autopilot: {page.audio()}")
            return 0
        if shots is not None:
            return save_phone_screenshots(page, driver, url, shots)
        run_checks(page, driver, url, glimmo, sizes)
        run_replay_checks(page, driver, serve_web, site, source, glimmo)
        run_hall_check(page, driver, site, glimmo)
        run_phone_checks(page, driver, serve_web, site)
        print("web page: every check passed")
        return 0
    finally:
        driver.quit()
        server.shutdown()


def run_checks(page, driver, url, glimmo, sizes):
    from selenium.webdriver.common.keys import Keys
    work = tempfile.mkdtemp(prefix="glimmo-web-")
    try:
        frames = harness_frames(glimmo, work)
        driver.get(url)
        # (1) The title card, as the harness draws it.
        load_ms = page.wait_first_frame()
        print(f"page load to the title: {load_ms:.0f} ms")
        title = page.wait_for("the title card of the harness's title frame",
                              lambda f: region_diff(f, frames[5], TITLE_TABLE) == 0, 5)
        print("(1) title card: the canvas matches the harness's title frame")
        quiet = page.audio()
        assert quiet["loud"] == 0, f"sound on the title, before any key: {quiet}"
        # Escape on the title does nothing: the title goes on, in the same run.
        before = page.state()["pass"]
        page.keys(("down", Keys.ESCAPE), ("up", Keys.ESCAPE))
        page.wait_state("the title going on after Escape", lambda s: s["screen"] == "title" and s["pass"] > before + 50, 3)

        # (2) Enter: READY!, then the maze with three lives (two spare), as in the harness.
        page.keys(("down", Keys.ENTER), ("up", Keys.ENTER))
        page.wait_for("READY! with a score of 0",
                      lambda f: region_diff(f, frames[300], READY_TEXT) == 0
                      and region_diff(f, frames[300], PLAYER_SCORE) == 0, 3)
        print("(2) Enter: READY! and a score of 0, as in the harness")
        # (3) Right held through the start: the player goes right, not left as it would alone.
        page.keys(("down", Keys.ARROW_RIGHT))
        playing = page.wait_for("the maze in play with three lives",
                                lambda f: region_diff(f, frames[700], READY_TEXT) == 0
                                and region_diff(f, frames[700], SPARE_LIVES) == 0
                                and region_diff(f, frames[700], MAZE_TOP) == 0, 8)
        print("    then the maze in play, READY! gone, two spare lives: three in all")
        time.sleep(1.5)
        page.keys(("up", Keys.ARROW_RIGHT), ("down", Keys.ARROW_UP), ("up", Keys.ARROW_UP))
        steered = page.frame()
        # The player's yellow, as the spare lives show it.
        x0, y0, x1, y1 = SPARE_LIVES
        body = next(c for y in range(y0, y1) for c in frames[700][y][x0:x1] if c != (0, 0, 0))
        yellow = [x for y in range(140, 175) for x in range(WIDTH) if steered[y][x] == body]
        assert yellow, "no player to be seen in the rows it starts in"
        centre = sum(yellow) / len(yellow)
        assert centre > 100, f"the player is at x {centre:.0f}: the right arrow did not steer it"
        assert region_diff(steered, frames[300], PLAYER_SCORE) > 0, "the score is still 0"
        print(f"(3) arrow keys: the player ran right (x {centre:.0f}) and the score rose")

        # Leaving the tab pauses the game, as leaving the window does; coming back leaves it paused.
        driver.execute_script(
            "Object.defineProperty(document, 'hidden', {value: true, configurable: true});"
            "document.dispatchEvent(new Event('visibilitychange'));")
        time.sleep(0.5)
        driver.execute_script(
            "Object.defineProperty(document, 'hidden', {value: false, configurable: true});"
            "document.dispatchEvent(new Event('visibilitychange'));")
        time.sleep(0.3)
        assert "paused" in driver.title, f"the tab hidden and shown again, yet the page's title is {driver.title!r}"
        print(f"    the tab hidden and shown: the game waits, paused ({driver.title!r})")

        # (5) The sound: blocks not silent after Enter.
        sound = page.audio()
        print(f"(5) sound after Enter: {sound['blocks']} blocks played, {sound['loud']} not silent, "
              f"{sound['underruns']} underruns (audio {sound['state']})")
        assert sound["loud"] > 0, f"nothing but silence after Enter: {sound}"
        assert sound["underruns"] * 20 <= sound["blocks"], f"more than one block in 20 came late: {sound}"

        # (4) A reload keeps the best score: the title shows what the harness shows with that file.
        driver.refresh()
        page.wait_first_frame()
        saved = driver.execute_script("return localStorage.getItem('glimmo.reg')")
        assert saved and '"HiScore"=dword:' in saved, f"no best score in the browser's storage: {saved!r}"
        best = int(saved.split('"HiScore"=dword:')[1][:8], 16)
        assert best > 0, "the best score kept is 0"
        config = os.path.join(work, "kept")
        os.makedirs(config)
        with open(os.path.join(config, "glimmo.reg"), "w") as f:
            f.write(saved)
        kept = harness_frames(glimmo, work, config)
        page.wait_for(f"the best score {best} on the title after a reload",
                      lambda f: region_diff(f, kept[5], SCORE_LINE) == 0
                      and region_diff(f, frames[5], SCORE_LINE) > 0, 5)
        print(f"(4) reload: the title shows the best score {best}, as the harness does with that settings file")

        # (6) A storage that will not take the save (full, or closed to the page): Escape on
        # the pause screen saves, the save fails, the page says so in one line, and the
        # program starts afresh at the title.
        driver.execute_script(
            "Storage.prototype.setItem = () => { throw new DOMException('full', 'QuotaExceededError'); };")
        page.keys(("down", Keys.ENTER), ("up", Keys.ENTER))
        page.wait_state("a game in play", lambda s: s["screen"] == "game" and s["player"]["state"] == 1, 8)
        page.keys(("down", "p"), ("up", "p"))
        page.wait_state("the pause screen", lambda s: s["screen"] == "pause", 3)
        page.keys(("down", Keys.ESCAPE), ("up", Keys.ESCAPE))
        page.wait_state("the title, started afresh, after Escape on the pause screen",
                        lambda s: s["screen"] == "title" and s["paused"] == 0, 5)
        text = page.text()
        said = [line for line in text.splitlines() if "storage" in line]
        assert len(said) == 1, f"the save failed, yet the page says {said} about the storage: {text!r}"
        print(f"(6) Escape on the pause screen: the title again; a full storage: the page says {said[0]!r}")
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


def run_replay_checks(page, driver, serve_web, site, source, glimmo):
    """(12)-(14): replays in the page, served beside it as a hall serves them."""
    work = tempfile.mkdtemp(prefix="glimmo-web-replays-")
    for name in os.listdir(site):
        os.symlink(os.path.join(os.path.abspath(site), name), os.path.join(work, name))
    fixtures = os.path.join(source, "tests", "replay", "fixtures")
    os.makedirs(os.path.join(work, "replays"))
    shutil.copy(os.path.join(fixtures, "window_game.replay"), os.path.join(work, "replays", "12.replay"))
    other = open(os.path.join(fixtures, "window_demo.replay")).read().replace("\ngame 1\n", "\ngame 99\n", 1)
    with open(os.path.join(work, "replays", "other.replay"), "w") as f:
        f.write(other)
    server = serve_web.start(work)
    url = f"http://127.0.0.1:{server.server_address[1]}/"
    logging = driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": "window.glimmoPassLog = [];"})

    def desktop_log(replay):
        log = os.path.join(work, "desktop.jsonl")
        subprocess.run([glimmo, "--headless", "--replay", replay, "--state-log", log], check=True)
        return open(log).read().splitlines()

    def ended():
        return wait_until("the replay's end", lambda: driver.execute_script(
            "return window.glimmoWatch && window.glimmoWatch.ended && window.glimmoWatch"), 120)

    try:
        # (12) A desktop replay named by the address plays in the page to the same state lines,
        # pass for pass, at 16 x and by jumps ahead, none of which reach the game.
        driver.get(url + "?replay=/replays/12.replay")
        page.wait_state("the replay in play", lambda s: s["pass"] > 100, 10)
        for key in "++++":
            page.keys(("down", key), ("up", key))
        wait_until("the status at 16 x", lambda: "OF 5:13, 16X" in page.text(), 5)
        from selenium.webdriver.common.keys import Keys
        for _ in range(40):
            page.keys(("down", Keys.ARROW_RIGHT), ("up", Keys.ARROW_RIGHT))
        watch = ended()
        log = driver.execute_script("return window.glimmoPassLog")
        desktop = desktop_log(os.path.join(fixtures, "window_game.replay"))
        assert not watch.get("why"), f"the replay stopped short: {watch}"
        assert log == desktop, f"the page's {len(log)} state lines differ from the desktop's {len(desktop)}: " + \
            next((f"pass {i + 1}: {a} / {b}" for i, (a, b) in enumerate(zip(log, desktop)) if a != b), "")
        print(f"(12) ?replay=/replays/12.replay at 16 x and by jumps: {len(log)} state lines, each the desktop's")

        # (13) A replay of another game version is refused with its line; Escape stops one.
        driver.get(url + "?replay=/replays/other.replay")
        said = ended()["why"]
        assert "needs game version 99" in said and "game version 1" in page.text(), f"the page says {said!r}"
        print(f"(13) another game version: {said!r}")

        # (14) A file dropped on the page plays; Escape stops it, and the page says it ended.
        text = open(os.path.join(fixtures, "window_pauses_and_minimise.replay")).read()
        driver.execute_script(
            "const t = new DataTransfer(); t.items.add(new File([arguments[0]], 'dropped.replay'));"
            "dispatchEvent(new DragEvent('drop', {dataTransfer: t}));", text)
        page.wait_state("the dropped replay in play", lambda s: s["pass"] > 50, 10)
        assert "dropped.replay" in driver.execute_script("return window.glimmoWatch.name")
        page.keys(("down", Keys.ESCAPE), ("up", Keys.ESCAPE))
        watch = ended()
        assert not watch.get("why") and "has ended" in page.text(), f"after Escape: {watch}, {page.text()!r}"
        print(f"(14) a dropped file played, and Escape stopped it: {page.text().splitlines()[1]!r}")

        # (15) A game played in the page is kept in the browser's storage, downloaded from the
        # page, and plays on the desktop to its recorded end.
        driver.get(url)
        play_until_back(page, 50)
        wait_until("the download link of the last game", lambda: driver.execute_script(
            "return document.getElementById('download-last')"), 5)
        text = driver.execute_async_script(
            "fetch(document.getElementById('download-last').href).then((r) => r.text()).then(arguments[0])")
        played = os.path.join(work, "played.replay")
        with open(played, "w") as f:
            f.write(text)
        desktop = desktop_log(played)
        verdict = json.loads(subprocess.run([glimmo, "--verify", played], capture_output=True, text=True).stdout)
        assert verdict["playedToEnd"] and json.loads(desktop[-1])["score"] == verdict["score"] >= 50, verdict
        print(f"(15) a game played in the page, downloaded: the desktop plays its {len(desktop)} passes to "
              f"its recorded end, score {verdict['score']}")
    finally:
        driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", {"identifier": logging["identifier"]})
        server.shutdown()
        server.server_close()
        shutil.rmtree(work, ignore_errors=True)


def play_until_back(page, score):
    """A game started with Enter, steered right until its score reaches `score`, and ended
    with the back key on the pause screen (the page then starts afresh)."""
    from selenium.webdriver.common.keys import Keys
    page.wait_first_frame()
    page.keys(("down", Keys.ENTER), ("up", Keys.ENTER))
    page.wait_state("the game in play", lambda s: s["phase"] == 1, 8)
    page.keys(("down", Keys.ARROW_RIGHT))
    page.wait_state("the score rising", lambda s: s["score"] >= score, 8)
    page.keys(("up", Keys.ARROW_RIGHT), ("down", "p"), ("up", "p"))
    page.wait_state("the pause screen", lambda s: s["screen"] == "pause", 3)
    page.d.execute_script("window.glimmoBefore = true;")
    page.keys(("down", Keys.ESCAPE), ("up", Keys.ESCAPE))
    wait_until("the page started afresh", lambda: page.d.execute_script(
        "return !window.glimmoBefore && window.glimmoTimes && window.glimmoTimes.firstFrame"), 10)


def run_hall_check(page, driver, site, glimmo):
    """(16) Served by a hall at /play/, the page offers the game just ended; the hall keeps
    it and the page says its place, and a game whose score was edited is refused."""
    hall = os.path.join(os.path.dirname(glimmo), "..", "hall", "glimmo-hall")
    hall = os.environ.get("GLIMMO_HALL", hall)
    if not os.access(hall, os.X_OK):
        print(f"(16) skipped: no glimmo-hall at {hall}")
        return
    work = tempfile.mkdtemp(prefix="glimmo-web-hall-")
    server = subprocess.Popen([hall, "--db", os.path.join(work, "hall.db"), "--port", "0", "--workers", "1",
                               "--web", os.path.abspath(site)], stdout=subprocess.PIPE, text=True)
    try:
        address = server.stdout.readline().split("http://")[1].split("/")[0]
        driver.get(f"http://{address}/play/")
        play_until_back(page, 50)
        name = wait_until("the offer to send the game", lambda: driver.execute_script(
            "const f = document.getElementById('submit'); return f && !f.hidden && document.getElementById('submit-name')"), 5)
        name.send_keys("Ann <b>W</b> 2468")
        driver.find_element("id", "submit-send").click()
        said = wait_until("the hall's answer", lambda: driver.execute_script(
            "return document.getElementById('submit-answer').textContent"), 10)
        import urllib.request
        board = json.load(urllib.request.urlopen(f"http://{address}/api/board"))["games"]
        assert said.startswith("Kept: place 1 of 1") and board[0]["name"] == "Ann <b>W</b> 2468", (said, board)
        print(f"(16) served by a hall: the game just ended was offered and sent: {said!r}")
        driver.execute_script("localStorage.setItem('glimmo.last.replay', localStorage.getItem('glimmo.last.replay')"
                              ".replace(/^end (\\d+) (\\d+)$/m, (l, p, s) => `end ${p} ${Number(s) + 1000}`))")
        driver.refresh()
        wait_until("the offer of the edited game", lambda: driver.execute_script(
            "return !document.getElementById('submit').hidden"), 5)
        driver.find_element("id", "submit-send").click()
        said = wait_until("the hall's answer", lambda: driver.execute_script(
            "return document.getElementById('submit-answer').textContent"), 10)
        assert "refused" in said and "does not hold" in said, said
        print(f"    a game whose score was edited: {said!r}")
    finally:
        server.terminate()
        server.wait()
        shutil.rmtree(work, ignore_errors=True)


def as_phone(driver, width=390, height=844):
    """A phone's screen (three device pixels a page pixel) that takes touches."""
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": width, "height": height, "deviceScaleFactor": 3, "mobile": True})
    driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})


def touch(driver, *points):
    """One finger down at the first point, moved through the others, and lifted."""
    def send(kind, at):
        driver.execute_cdp_cmd("Input.dispatchTouchEvent",
                               {"type": kind, "touchPoints": [{"x": at[0], "y": at[1]}] if at else []})
    send("touchStart", points[0])
    for at in points[1:]:
        send("touchMove", at)
    send("touchEnd", None)


def middle(driver, selector):
    return driver.execute_script(
        "const b = document.querySelector(arguments[0]).getBoundingClientRect();"
        "return [b.left + b.width / 2, b.top + b.height / 2, b.width, b.height];", selector)


UP, RIGHT, DOWN, LEFT = 1, 2, 3, 4


def run_phone_checks(page, driver, serve_web, site):
    """(8)-(11): the page on a phone-sized touch screen, served from a sub-folder."""
    folder = os.path.basename(site.rstrip("/"))
    server = serve_web.start(os.path.dirname(site.rstrip("/")))
    url = f"http://127.0.0.1:{server.server_address[1]}/{folder}/"
    try:
        as_phone(driver)
        driver.get(url)
        page.wait_first_frame()
        shown = driver.execute_script(
            "const c = document.getElementById('glimmo').getBoundingClientRect();"
            "return [document.body.classList.contains('touch'), getComputedStyle(document.getElementById('pad')).display,"
            " c.width * devicePixelRatio, c.height * devicePixelRatio]")
        assert shown[0] and shown[1] != "none", f"no touch controls on a touch screen: {shown}"
        assert shown[2] % WIDTH == 0 and shown[2] // WIDTH == shown[3] // HEIGHT, f"not a whole scale: {shown}"
        # (8) A tap on the picture starts a game; swipes steer as held arrows, and the score rises.
        x, y, _, _ = middle(driver, "#glimmo")
        touch(driver, (x, y))
        page.wait_state("a game started by a tap", lambda s: s["screen"] == "game", 3)
        page.wait_state("the game in play", lambda s: s["phase"] == 1, 8)
        for way, (dx, dy) in ((RIGHT, (60, 0)), (LEFT, (-60, 0))):
            touch(driver, (x, y), (x + dx / 2, y + dy / 2), (x + dx, y + dy))
            page.wait_state(f"the player turned {way} by a swipe", lambda s: s["player"]["dir"] == way, 3)
        page.wait_state("the score rising", lambda s: s["score"] > 0, 5)
        px, py, side, _ = middle(driver, "#dpad")
        for way, (dx, dy) in ((RIGHT, (side / 3, 0)), (LEFT, (-side / 3, 0))):
            driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchStart", "touchPoints": [{"x": px + dx, "y": py + dy}]})
            page.wait_state(f"the player turned {way} by the pad", lambda s: s["player"]["dir"] == way, 3)
            driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []})
        touch(driver, middle(driver, "#pause")[:2])
        page.wait_state("the pause button pausing", lambda s: s["paused"] == 1, 3)
        assert "Paused" in page.text(), f"no pause hint on the page: {page.text()!r}"
        touch(driver, middle(driver, "#pause")[:2])
        page.wait_state("the pause button resuming", lambda s: s["paused"] == 0, 3)
        volume = page.state()["sound"]
        bx, by, _, _ = middle(driver, "#louder" if volume < 64 else "#quieter")
        driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchStart", "touchPoints": [{"x": bx, "y": by}]})
        page.wait_state("the volume button changing the volume", lambda s: s["sound"] != volume, 3)
        driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []})
        print(f"(8) touch at 390 x 844: a tap started a game, swipes and the pad steered right and left, "
              f"the score rose, pause and volume buttons acted")

        # (9) A gamepad (the page's list replaced by a scripted one): A starts, the d-pad and the stick steer.
        driver.get(url)
        page.wait_first_frame()
        driver.execute_script(
            "window.pad = {index: 0, connected: true, mapping: 'standard', axes: [0, 0, 0, 0],"
            " buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};"
            "navigator.getGamepads = () => [window.pad];"
            "dispatchEvent(new Event('gamepadconnected'));")
        press = "window.pad.buttons[arguments[0]].pressed = arguments[1];"
        driver.execute_script(press, 0, True)
        page.wait_state("a game started by the gamepad's A", lambda s: s["screen"] == "game", 3)
        driver.execute_script(press, 0, False)
        page.wait_state("the game in play", lambda s: s["phase"] == 1, 8)
        driver.execute_script(press, 15, True)
        page.wait_state("the player turned right by the d-pad", lambda s: s["player"]["dir"] == RIGHT, 3)
        driver.execute_script(press, 15, False)
        driver.execute_script("window.pad.axes[0] = -0.9;")
        page.wait_state("the player turned left by the stick", lambda s: s["player"]["dir"] == LEFT, 3)
        assert "Gamepad" in page.text(), f"no gamepad hint on the page: {page.text()!r}"
        print("(9) a scripted gamepad: A started a game, the d-pad and the stick steered")

        # (10) Installable, and after one load it plays with the network cut.
        report = driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})
        assert report.get("installabilityErrors") == [], f"not installable: {report}"
        wait_until("the service worker in control", lambda: driver.execute_script(
            "return navigator.serviceWorker.controller !== null || (location.reload(), false)"), 10)
        page.wait_first_frame()
        driver.execute_cdp_cmd("Network.enable", {})
        driver.execute_cdp_cmd("Network.emulateNetworkConditions",
                               {"offline": True, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})
        server.shutdown()
        server.server_close()
        driver.get(url + "?offline")
        page.wait_first_frame()
        x, y, _, _ = middle(driver, "#glimmo")
        touch(driver, (x, y))
        page.wait_state("a game started offline", lambda s: s["screen"] == "game", 3)
        print(f"(10) installability errors: {report['installabilityErrors']}; with the network cut "
              f"(and the server stopped) a reload of {url} played")
        driver.execute_cdp_cmd("Network.emulateNetworkConditions",
                               {"offline": False, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})

        # (11) Opened from disk, one line says why it cannot run there and how to serve it.
        driver.get("file://" + os.path.join(os.path.abspath(site), "index.html"))
        text = wait_until("the line about opening from disk", lambda: page.text() if "cannot run" in page.text() else None, 5)
        said = [line for line in text.splitlines() if "cannot run" in line]
        assert len(said) == 1 and "serve" in said[0].lower(), f"from disk the page says {text!r}"
        print(f"(11) from disk: {said[0]!r}")
    finally:
        server.shutdown()
        server.server_close()


def save_phone_screenshots(page, driver, url, folder):
    """The page on a phone, portrait (paused, its hint showing) and landscape (in play)."""
    os.makedirs(folder, exist_ok=True)
    for name, (width, height) in (("portrait", (390, 844)), ("landscape", (844, 390))):
        as_phone(driver, width, height)
        driver.get(url)
        page.wait_first_frame()
        x, y, _, _ = middle(driver, "#glimmo")
        touch(driver, (x, y))
        page.wait_state("the game in play", lambda s: s["phase"] == 1, 8)
        touch(driver, (x, y), (x - 30, y), (x - 60, y))
        time.sleep(1.5)
        if name == "portrait":
            touch(driver, middle(driver, "#pause")[:2])
            page.wait_state("paused", lambda s: s["paused"] == 1, 3)
        else:
            px, py, side, _ = middle(driver, "#dpad")
            driver.execute_cdp_cmd("Input.dispatchTouchEvent",
                                   {"type": "touchStart", "touchPoints": [{"x": px, "y": py - side / 3}]})
            time.sleep(0.3)
        path = os.path.join(folder, f"glimmo-phone-{name}.png")
        with open(path, "wb") as f:
            f.write(base64.b64decode(driver.execute_cdp_cmd("Page.captureScreenshot", {})["data"]))
        if name == "landscape":
            driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []})
        print(f"{name}: {path}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
