#!/usr/bin/env python3
"""The hall of fame, served for real: glimmo-hall on a SQLite file and on a PostgreSQL
this test starts in a temporary folder (Debian's postgresql; as its `postgres` user when
run as root, which it refuses), fed replays that glimmo recorded headless.

Usage: hall_test.py GLIMMO GLIMMO_HALL [unittest arguments, such as -k Refusals]
Skips the PostgreSQL case where postgresql is not installed."""
import concurrent.futures
import http.client
import json
import os
import pwd
import shutil
import signal
import socket
import sqlite3
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import urllib.parse

GLIMMO, HALL = sys.argv[1], sys.argv[2]
PG_BIN = "/usr/lib/postgresql/15/bin"


def record_game(folder, taps):
    """A player's game, recorded headless: Enter, then the arrows at the given ms."""
    script = os.path.join(folder, "script.txt")
    with open(script, "w") as f:
        f.write("500 tap RETURN\n" + "".join(f"{ms} tap {key}\n" for ms, key in taps))
    path = os.path.join(folder, f"game-{len(os.listdir(folder))}.replay")
    subprocess.run([GLIMMO, "--headless", "--script", script, "--record", path, "--until-tick", "600000"],
                   check=True, stdout=subprocess.DEVNULL)
    with open(path, "rb") as f:
        return f.read()


def games(folder, count):
    """`count` different games: the arrows pressed at other times."""
    keys = ["LEFT", "UP", "RIGHT", "DOWN"]
    return [record_game(folder, [(2000 + 97 * i + 400 * k, keys[(i + k) % 4]) for k in range(6)])
            for i in range(count)]


class Hall:
    """A glimmo-hall process on a free port of 127.0.0.1."""

    def __init__(self, db, *options):
        self.proc = subprocess.Popen([HALL, "--db", db, "--port", "0", *options], stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, text=True)
        line = self.proc.stdout.readline()
        if "http://127.0.0.1:" not in line:
            self.proc.kill()
            raise AssertionError(f"the hall did not start: {line!r} {self.proc.stderr.read()!r}")
        self.port = int(line.split("http://127.0.0.1:")[1].split("/")[0])

    def request(self, method, path, body=None, headers=None):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=30)
        try:
            conn.request(method, path, body=body, headers=headers or {})
            res = conn.getresponse()
            return res.status, dict(res.getheaders()), res.read()
        finally:
            conn.close()

    def submit(self, replay, name="Ann"):
        status, _, body = self.request("POST", "/api/submit?name=" + urllib.parse.quote(name), replay)
        return status, json.loads(body)

    def board(self):
        status, _, body = self.request("GET", "/api/board?limit=500")
        assert status == 200, (status, body)
        return json.loads(body)["games"]

    def stop(self, sig=signal.SIGTERM):
        self.proc.send_signal(sig)
        self.proc.wait(timeout=30)
        self.proc.stdout.close()
        self.proc.stderr.close()
        return self.proc.returncode


class Postgres:
    """A PostgreSQL of the test's own, on a Unix socket in a temporary folder."""

    def __init__(self, folder):
        self.folder = folder
        self.data = os.path.join(folder, "data")
        self.user = []
        if os.getuid() == 0:
            os.chown(folder, pwd.getpwnam("postgres").pw_uid, -1)
            self.user = ["runuser", "-u", "postgres", "--"]
        subprocess.run(self.user + [f"{PG_BIN}/initdb", "-D", self.data, "-A", "trust", "-U", "hall", "-E", "UTF8",
                                    "--no-sync"], check=True, stdout=subprocess.DEVNULL)
        self.start()
        subprocess.run(self.user + [f"{PG_BIN}/createdb", "-h", folder, "-p", "5432", "-U", "hall", "hall"],
                       check=True)
        self.url = f"postgresql://hall@/hall?host={folder}&port=5432"

    def start(self):
        subprocess.run(self.user + [f"{PG_BIN}/pg_ctl", "-D", self.data, "-l", os.path.join(self.folder, "log"),
                                    "-o", f"-k {self.folder} -c listen_addresses= -p 5432", "-w", "start"],
                       check=True, stdout=subprocess.DEVNULL)

    def stop(self):
        subprocess.run(self.user + [f"{PG_BIN}/pg_ctl", "-D", self.data, "-m", "fast", "-w", "stop"], check=True,
                       stdout=subprocess.DEVNULL)


class HallTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="glimmo-hall-test-")
        replays = os.path.join(cls.tmp, "replays")
        os.mkdir(replays)
        cls.games = games(replays, 10)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def db(self, name):
        return os.path.join(self.tmp, name)

    def kill_in_a_stream(self, db):
        """A stream of submissions from eight senders at once, the hall killed with kill -9
        once twenty were answered kept; then every game answered kept is on the board of
        the hall started again, and every game there is one that was sent, whole."""
        hall = Hall(db, "--per-minute", "0")
        # Each a replay of its own: a game with a comment line of its own after it.
        replays = [self.games[i % len(self.games)] + f"# copy {i}\n".encode() for i in range(2000)]
        answers = {}
        kept_count = [0]
        count_lock = threading.Lock()
        twenty = threading.Event()

        def send(i):
            try:
                status, answer = hall.submit(replays[i], f"player {i}")
            except (OSError, http.client.HTTPException, ValueError):
                return i, None, None
            with count_lock:
                kept_count[0] += status == 201
                if kept_count[0] >= 20:
                    twenty.set()
            return i, status, answer

        with concurrent.futures.ThreadPoolExecutor(8) as pool:
            futures = [pool.submit(send, i) for i in range(len(replays))]
            reached = twenty.wait(120)
            hall.proc.kill()
            for f in futures:
                i, status, answer = f.result()
                answers[i] = (status, answer)
        hall.stop()
        self.assertTrue(reached, "twenty games were never kept")
        kept = {i: a["id"] for i, (s, a) in answers.items() if s == 201}
        lost = sum(1 for s, _ in answers.values() if s is None)
        print(f"kill -9: {len(kept)} answered kept, {lost} unanswered, of {len(replays)}")
        self.assertEqual({s for s, _ in answers.values()} - {201, None}, set(), "answers other than kept")
        self.assertTrue(lost, "the kill came after the last answer")
        hall = Hall(db)
        try:
            board = {g["id"]: g for g in hall.board()}
            for i, game_id in kept.items():
                self.assertIn(game_id, board)
                self.assertEqual(board[game_id]["name"], f"player {i}")
            for game in board.values():
                i = int(game["name"].split()[1])
                self.assertEqual(hall.request("GET", game["replay"])[2], replays[i])
            print(f"after the restart: {len(board)} on the board")
        finally:
            hall.stop()


class Board(HallTest):
    def test_submit_list_download_watch(self):
        web = self.db("web")
        os.mkdir(web)
        with open(os.path.join(web, "index.html"), "w") as f:
            f.write("<!doctype html><title>the page</title>")
        hall = Hall(self.db("board.db"), "--web", web)
        try:
            status, kept = hall.submit(self.games[0], "<b>Ann</b> & co")
            self.assertEqual((status, kept["status"], kept["place"]), (201, "kept", 1), kept)
            status, again = hall.submit(self.games[0], "Someone else")
            self.assertEqual((status, again["status"], again["id"], again["name"]),
                             (200, "already kept", kept["id"], "<b>Ann</b> & co"))
            # Characters, not bytes, are counted: 24 of two bytes each make a name.
            self.assertEqual(hall.submit(self.games[1], "é" * 24)[0], 201)
            board = hall.board()
            self.assertIn("é" * 24, [g["name"] for g in board])
            self.assertEqual(len(board), 2)
            self.assertEqual([g["place"] for g in board], [1, 2])
            self.assertGreaterEqual(board[0]["score"], board[1]["score"])
            ann = next(g for g in board if g["id"] == kept["id"])
            self.assertEqual((ann["score"], ann["passes"]), (kept["score"], kept["passes"]))
            # The page shows every name escaped.
            status, _, page = hall.request("GET", "/")
            self.assertEqual(status, 200)
            self.assertIn(b"&lt;b&gt;Ann&lt;/b&gt; &amp; co", page)
            self.assertNotIn(b"<b>Ann", page)
            # The replay downloads as it was sent; watching it opens the browser build with it.
            status, headers, replay = hall.request("GET", kept["replay"])
            self.assertEqual((status, replay), (200, self.games[0]))
            self.assertIn("attachment", headers["Content-Disposition"])
            status, headers, _ = hall.request("GET", kept["watch"])
            self.assertEqual((status, headers["Location"]), (302, "/play/?replay=" + kept["replay"]))
            status, _, page = hall.request("GET", "/play/index.html")
            self.assertEqual((status, page), (200, b"<!doctype html><title>the page</title>"))
            self.assertEqual(hall.request("GET", "/replays/999.replay")[0], 404)
        finally:
            self.assertEqual(hall.stop(), 0)
        # Kept across a restart, with the schema as it was.
        hall = Hall(self.db("board.db"))
        try:
            self.assertEqual(len(hall.board()), 2)
        finally:
            hall.stop()

    def test_glimmo_submit_tells_the_answer(self):
        hall = Hall(self.db("submit.db"))
        address = f"http://127.0.0.1:{hall.port}"
        kept_file = os.path.join(self.tmp, "best.replay")
        with open(kept_file, "wb") as f:
            f.write(self.games[9])
        tampered = os.path.join(self.tmp, "tampered.replay")
        with open(tampered, "wb") as f:
            f.write(self.games[9].replace(b"\nend ", b"\n# edited\nend 1", 1))

        def submit(what, where=address, *more):
            proc = subprocess.run([GLIMMO, "--submit", what, "--hall", where, "--name", "Dee", *more],
                                  capture_output=True, text=True, timeout=60)
            return proc.returncode, proc.stdout + proc.stderr

        try:
            code, said = submit("best", address, "--config-dir", self.tmp)
            self.assertEqual(code, 0, said)
            self.assertIn("kept: place 1 of 1", said)
            self.assertIn(f"{address}/watch/", said)
            code, said = submit(kept_file, address + "/")
            self.assertEqual(code, 0, said)
            self.assertIn("already on the board", said)
            code, said = submit(tampered)
            self.assertEqual(code, 1, said)
            self.assertIn("refused the game: the replay does not hold what it claims", said)
        finally:
            hall.stop()
        code, said = submit(kept_file)
        self.assertEqual(code, 3, said)
        self.assertIn("cannot reach the hall", said)

    def test_a_newer_schema_is_refused(self):
        Hall(self.db("newer.db")).stop()
        with sqlite3.connect(self.db("newer.db")) as db:
            db.execute("UPDATE hall_schema SET version = version + 1")
        proc = subprocess.run([HALL, "--db", self.db("newer.db"), "--port", "0"], capture_output=True, text=True,
                              timeout=30)
        self.assertEqual(proc.returncode, 1)
        self.assertIn("made by a newer hall", proc.stderr)


class Refusals(HallTest):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        path = os.path.join(cls.tmp, "demo.replay")
        subprocess.run([GLIMMO, "--headless", "--autopilot", "3", "--record", path, "--until-tick", "300000"],
                       check=True, stdout=subprocess.DEVNULL)
        with open(path, "rb") as f:
            cls.demo = f.read()
        assert b"\ndemo\n" in cls.demo

    def test_each_refusal_says_why_and_keeps_nothing(self):
        hall = Hall(self.db("refusals.db"), "--max-bytes", "100000")
        good = self.games[2]
        end = good.rstrip(b"\n").rsplit(b"\n", 1)[1].split()
        tampered = good.replace(b" ".join(end), b" ".join(end[:2] + [str(int(end[2]) + 1000).encode()]))
        rows = [
            (tampered, "Ann", 422, "the replay does not hold what it claims"),
            (b"hello", "Ann", 422, "not a replay"),
            (bytes(range(256)), "Ann", 422, "not a replay"),
            (good.replace(b"\ngame 1\n", b"\ngame 99\n", 1), "Ann", 422, "another game version"),
            (self.demo, "Ann", 422, "a demo: the built-in player's games are not players' scores"),
            (good, "", 400, "the name is empty"),
            (good, "   ", 400, "the name is empty"),
            (good, "x" * 25, 400, "the name is longer than 24 characters"),
            (good, "a\x07b", 400, "the name holds a control character"),
            (good + b"#" * 100000, "Ann", 413, "the replay is larger than 100000 bytes"),
        ]
        try:
            for body, name, status, reason in rows:
                got, answer = hall.submit(body, name)
                self.assertEqual((got, answer["status"], answer["reason"]), (status, "refused", reason), answer)
            self.assertEqual(hall.board(), [])
        finally:
            hall.stop()

    def test_a_check_past_its_time_limit_is_stopped(self):
        hall = Hall(self.db("slow.db"), "--check-ms", "1")
        try:
            # Five minutes of the built-in player, its demo line taken out: a player's game to
            # the check, which plays it for longer than a millisecond.
            status, answer = hall.submit(self.demo.replace(b"\ndemo\n", b"\n", 1))
            self.assertEqual((status, answer["reason"]), (422, "the check ran past its time limit"), answer)
        finally:
            hall.stop()

    def test_too_many_from_one_address(self):
        hall = Hall(self.db("rate.db"), "--per-minute", "2")
        try:
            answers = [hall.submit(g)[0] for g in self.games[3:6]]
            self.assertEqual(answers, [201, 201, 429])
            self.assertEqual(len(hall.board()), 2)
        finally:
            hall.stop()


class Kill(HallTest):
    def test_kill_nine_on_sqlite(self):
        db = self.db("kill.db")
        self.kill_in_a_stream(db)
        with sqlite3.connect(db) as check:
            self.assertEqual(check.execute("PRAGMA integrity_check").fetchone()[0], "ok")


def threads_and_memory(pid):
    """The process's threads and its resident memory in KiB."""
    with open(f"/proc/{pid}/status") as f:
        fields = dict(line.split(":", 1) for line in f)
    return int(fields["Threads"]), int(fields["VmRSS"].split()[0])


class Hostile(HallTest):
    def test_uploads_leave_threads_and_memory_bounded(self):
        hall = Hall(self.db("hostile.db"), "--threads", "8", "--per-minute", "0")
        pid = hall.proc.pid
        hall.board()  # answered once its threads are there
        threads, memory = threads_and_memory(pid)
        try:
            # The fuzzers' replays, and what they found: each refused, none kept, the hall up.
            fuzz = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "fuzz")
            files = [os.path.join(root, name) for sub in ("corpus/replay", "found/replay")
                     for root, _, names in os.walk(os.path.join(fuzz, sub)) for name in names]
            self.assertGreater(len(files), 10)
            for path in files:
                with open(path, "rb") as f:
                    status, answer = hall.submit(f.read())
                self.assertIn(status, (201, 422), (path, answer))

            # A check worker killed between two checks: the next game is checked by a fresh one.
            with open(f"/proc/{pid}/task/{pid}/children") as f:
                workers = [int(w) for w in f.read().split()]
            self.assertTrue(workers)
            for worker in workers:
                os.kill(worker, signal.SIGKILL)
            status, answer = hall.submit(self.games[0])
            self.assertEqual(status, 201, answer)

            # An endless body: refused once past the limit, without being read into memory.
            with socket.create_connection(("127.0.0.1", hall.port)) as endless:
                endless.sendall(b"POST /api/submit?name=Ann HTTP/1.1\r\nHost: x\r\n"
                                b"Transfer-Encoding: chunked\r\n\r\n")
                chunk = b"%x\r\n" % 65536 + b"#" * 65536 + b"\r\n"
                sent = 0
                try:
                    while sent < 64 << 20:
                        endless.sendall(chunk)
                        sent += 65536
                except OSError:
                    pass
                endless.settimeout(10)
                try:
                    answer = endless.recv(4096)
                except ConnectionResetError:
                    answer = None  # closed with the rest of the body unread: the answer may be lost
            self.assertLess(sent, 64 << 20, "the hall read the whole endless body")
            if answer is not None:
                self.assertIn(b" 413 ", answer.split(b"\r\n")[0])

            # Slow senders, twice as many as threads: each is dropped after its read timeout.
            slow = [socket.create_connection(("127.0.0.1", hall.port)) for _ in range(16)]
            for s in slow:
                s.sendall(b"POST /api/submit HTTP/1.1\r\n")
            time.sleep(1)
            busy_threads, busy_memory = threads_and_memory(pid)
            deadline = time.time() + 30
            for s in slow:
                s.settimeout(max(0.1, deadline - time.time()))
                try:
                    self.assertIn(s.recv(4096)[:0], (b"",))
                except socket.timeout:
                    self.fail("a slow sender was never dropped")
                s.close()
            self.assertEqual(hall.request("GET", "/api/board")[0], 200)
            print(f"threads {threads} at the start, {busy_threads} with 16 slow senders; "
                  f"memory {memory} KiB at the start, {threads_and_memory(pid)[1]} KiB after it all")
            self.assertLessEqual(busy_threads, threads)
            # AddressSanitizer holds freed memory back, up to 256 MiB, to catch its reuse.
            with open(HALL, "rb") as f:
                held_back = 256 * 1024 if b"__asan_init" in f.read() else 0
            self.assertLess(threads_and_memory(pid)[1], memory + 64 * 1024 + held_back)
        finally:
            hall.stop()


class PostgreSQL(HallTest):
    def test_kill_nine_on_postgres(self):
        if not os.path.exists(f"{PG_BIN}/initdb"):
            self.skipTest("postgresql is not installed")
        folder = tempfile.mkdtemp(prefix="glimmo-pg-")
        pg = Postgres(folder)
        try:
            self.kill_in_a_stream(pg.url)
        finally:
            pg.stop()
            shutil.rmtree(folder, ignore_errors=True)

    def test_two_halls_share_one_postgres_that_restarts(self):
        if not os.path.exists(f"{PG_BIN}/initdb"):
            self.skipTest("postgresql is not installed")
        folder = tempfile.mkdtemp(prefix="glimmo-pg-")
        pg = Postgres(folder)
        a = b = None
        try:
            a, b = Hall(pg.url, "--per-minute", "0"), Hall(pg.url)
            status, kept = a.submit(self.games[6], "Ann")
            self.assertEqual(status, 201, kept)
            self.assertEqual([g["id"] for g in b.board()], [kept["id"]])
            status, again = b.submit(self.games[6], "Ann")
            self.assertEqual((status, again["status"]), (200, "already kept"))
            self.assertEqual(b.submit(self.games[7], "Bob")[0], 201)
            # PostgreSQL restarted under a stream of submissions: "try again" while it is
            # away, and kept again once it is back, with no restart of the halls.
            answers = []
            stop = threading.Event()

            def stream():
                for i in range(100000):
                    if stop.is_set():
                        return
                    answers.append(a.submit(self.games[8] + f"# stream {i}\n".encode(), "Cy")[0])

            sender = threading.Thread(target=stream)
            sender.start()
            time.sleep(0.5)
            pg.stop()
            status, answer = b.submit(self.games[8], "Cy")
            self.assertEqual((status, answer["status"]), (503, "try again"), answer)
            self.assertEqual(b.request("GET", "/api/board")[0], 503)
            pg.start()
            time.sleep(0.5)
            stop.set()
            sender.join()
            print(f"PostgreSQL restarted under a stream: {answers.count(201)} kept, "
                  f"{answers.count(503)} 'try again', {len(answers)} in all")
            self.assertEqual(set(answers), {201, 503})
            self.assertEqual(answers[-1], 201)
            # A "try again" may come for a game whose commit reached PostgreSQL as it went
            # away: sent again, it is "already kept".
            self.assertGreaterEqual(len(b.board()), 2 + answers.count(201))
            self.assertLessEqual(len(b.board()), 2 + answers.count(201) + answers.count(503))
        finally:
            for hall in (a, b):
                if hall:
                    hall.stop()
            pg.stop()
            shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0]] + sys.argv[3:], verbosity=2)
