#!/usr/bin/env python3
"""Serves the built page as any static server does, and sends a file's .br or .gz beside it, with
Content-Encoding, to a browser that accepts it.

Usage: serve.py FOLDER [PORT]   (port 8000 by default, on 127.0.0.1 only)
"""
import functools
import http.server
import os
import sys


def accepted(header):
    """The encodings an Accept-Encoding header accepts (those not given q=0)."""
    names = set()
    for part in header.split(","):
        name, _, params = part.strip().partition(";")
        if params.replace(" ", "") not in ("q=0", "q=0.0", "q=0.00", "q=0.000"):
            names.add(name.strip().lower())
    return names


class Handler(http.server.SimpleHTTPRequestHandler):
    def send_head(self):
        path = self.translate_path(self.path)
        if self.path.split("?")[0].endswith("/"):
            path = os.path.join(path, "index.html")
        encodings = accepted(self.headers.get("Accept-Encoding", ""))
        for encoding, suffix in (("br", ".br"), ("gzip", ".gz")):
            if encoding in encodings and os.path.isfile(path + suffix):
                f = open(path + suffix, "rb")
                stat = os.fstat(f.fileno())
                self.send_response(200)
                self.send_header("Content-Type", self.guess_type(path))
                self.send_header("Content-Encoding", encoding)
                self.send_header("Content-Length", str(stat.st_size))
                self.send_header("Last-Modified", self.date_time_string(stat.st_mtime))
                self.send_header("Vary", "Accept-Encoding")
                self.end_headers()
                return f
        return super().send_head()

    def end_headers(self):
        # The plain file and its compressed ones are one resource to a cache.
        if not self._headers_buffer or b"Vary:" not in b"".join(self._headers_buffer):
            self.send_header("Vary", "Accept-Encoding")
        super().end_headers()


def main():
    if not 2 <= len(sys.argv) <= 3:
        sys.exit(__doc__.strip().splitlines()[-1])
    port = int(sys.argv[2]) if len(sys.argv) == 3 else 8000
    handler = functools.partial(Handler, directory=sys.argv[1])
    with http.server.ThreadingHTTPServer(("127.0.0.1", port), handler) as server:
        print(f"Serving {sys.argv[1]} at http://127.0.0.1:{port}/", flush=True)
        server.serve_forever()


if __name__ == "__main__":
    main()
