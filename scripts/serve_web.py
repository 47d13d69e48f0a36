#!/usr/bin/env python3
"""Serves the web build's folder on 127.0.0.1 at a free port and prints its address.

The files are static (the page and its scripts, glimmo.js, glimmo.wasm, the manifest and
icons): any web host serves them as they are; this one only adds the WebAssembly and
manifest types and asks for no caching, so a rebuild shows at the next reload. With
--lan it serves the local network too, and prints the address a phone opens, with a QR
code of it when qrencode is installed. Usage: serve_web.py [--lan] FOLDER [QUERY]
(QUERY, such as autopilot=7, goes into the address printed.)"""
import functools
import http.server
import io
import shutil
import socket
import subprocess
import sys
import time

# Seconds a request has to arrive whole: an idle or half-sent one is closed, and its thread ends.
REQUEST_SECONDS = 5


class RequestReader(io.RawIOBase):
    """The connection's bytes, none of them waited for past the request's deadline."""

    def __init__(self, connection):
        super().__init__()
        self.connection = connection
        self.deadline = None

    def readable(self):
        return True

    def readinto(self, buffer):
        if self.deadline is not None:
            left = self.deadline - time.monotonic()
            if left <= 0:
                raise TimeoutError("the request did not arrive whole in time")
            self.connection.settimeout(left)
        return self.connection.recv_into(buffer)


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm",
                      ".webmanifest": "application/manifest+json"}

    def __init__(self, *args, timeout, **kwargs):
        self.timeout = timeout
        super().__init__(*args, **kwargs)

    def setup(self):
        super().setup()
        self.rfile.close()  # the request is read through the deadline instead
        self.reader = RequestReader(self.connection)
        self.rfile = io.BufferedReader(self.reader)

    def handle_one_request(self):
        # Each request, the first or one more on a kept connection, has its own deadline.
        self.reader.deadline = time.monotonic() + self.timeout
        super().handle_one_request()

    def parse_request(self):
        parsed = super().parse_request()
        # The request is in (its line and headers): the answer has the whole timeout to go out.
        self.reader.deadline = None
        self.connection.settimeout(self.timeout)
        return parsed

    def send_head(self):
        try:
            return super().send_head()
        except ValueError:  # a NUL, or a name the file system cannot encode
            self.send_error(http.HTTPStatus.BAD_REQUEST, "Bad path")
            return None

    def end_headers(self):
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def log_message(self, *args):
        pass


class Server(http.server.ThreadingHTTPServer):
    # Connections that come at once wait to be taken, rather than be refused and ask again
    # a second later, as they would past the usual 5.
    request_queue_size = 64


def make_server(folder, port=0, timeout=REQUEST_SECONDS, host="127.0.0.1"):
    """A server of `folder` on `host` (port 0: a free one), not yet serving; a request
    has `timeout` seconds to arrive whole."""
    return Server((host, port), functools.partial(Handler, directory=folder, timeout=timeout))


def lan_address():
    """This machine's address on the local network: the one its packets to the outside
    would leave from (no packet is sent); 127.0.0.1 when it has no network."""
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as probe:
        try:
            probe.connect(("192.0.2.1", 9))
            return probe.getsockname()[0]
        except OSError:
            return "127.0.0.1"


def start(folder, port=0, timeout=REQUEST_SECONDS):
    """A server of `folder` running on its own thread; its address is server_address."""
    import threading

    server = make_server(folder, port, timeout)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def main():
    args = sys.argv[1:]
    lan = bool(args) and args[0] == "--lan"
    if lan:
        args = args[1:]
    if len(args) not in (1, 2):
        print(__doc__.strip().splitlines()[-2], file=sys.stderr)
        return 2
    server = make_server(args[0], host="0.0.0.0" if lan else "127.0.0.1")
    query = f"?{args[1]}" if len(args) == 2 and args[1] else ""
    port = server.server_address[1]
    if lan:
        url = f"http://{lan_address()}:{port}/{query}"
        if shutil.which("qrencode"):
            subprocess.run(["qrencode", "-t", "ANSIUTF8", "-m", "2", url], check=False)
        print(f"glimmo: playing on the local network at {url} (on this machine http://127.0.0.1:{port}/{query});"
              " a phone on the same network opens it, or scans the code (installing the page for offline"
              " play needs https). Ctrl+C stops.", flush=True)
    else:
        print(f"glimmo: playing at http://127.0.0.1:{port}/{query} (Ctrl+C stops)", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
