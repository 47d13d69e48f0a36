#!/usr/bin/env python3
"""Serves the web build's folder on 127.0.0.1 at a free port and prints its address.

The files are static (the page, glimmo.js, glimmo.wasm, the icon): any web host serves
them as they are; this one only adds the WebAssembly type and asks for no caching, so a
rebuild shows at the next reload. Usage: serve_web.py FOLDER [QUERY]
(QUERY, such as autopilot=7, goes into the address printed.)"""
import functools
import http.server
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm"}

    def end_headers(self):
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def log_message(self, *args):
        pass


def make_server(folder, port=0):
    """A server of `folder` on 127.0.0.1 (port 0: a free one), not yet serving."""
    return http.server.ThreadingHTTPServer(("127.0.0.1", port), functools.partial(Handler, directory=folder))


def start(folder, port=0):
    """A server of `folder` running on its own thread; its address is server_address."""
    import threading

    server = make_server(folder, port)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__.strip().splitlines()[-2], file=sys.stderr)
        return 2
    server = make_server(sys.argv[1])
    query = f"?{sys.argv[2]}" if len(sys.argv) == 3 and sys.argv[2] else ""
    print(f"glimmo: playing at http://127.0.0.1:{server.server_address[1]}/{query} (Ctrl+C stops)", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
