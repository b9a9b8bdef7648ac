#!/usr/bin/env python3
"""Scripted HTTP server for the request engine's tests.

Every request except GET /_last is recorded; GET /_last answers with the last
one as text: the request line, the header lines as received, a blank line and
the body bytes.

Paths (query parameters in brackets):
  /ok                 200, body "ok"
  /echo               200, the request itself as the body (as /_last shows it)
  /status[?code=N]    status N (default 200) with a short body
  /moved[?to=URL]     "301 Moved Permanently" to URL (default /ok on this host)
  /hostonly           301 to "http://localhost:PORT" (no path); a request
                      that arrives for host localhost is answered "arrived"
  /chain/N            301 to /chain/N-1 ... /chain/0 answers "chain end"
  /loop               301 to itself, forever
  /cookies            two Set-Cookie lines (a=1, b=2) and body "cookies"
  /utf8               UTF-8 page declaring utf-8 at its start
  /utf8late[?header=1] UTF-8 page whose "utf-8" comes after byte 600; with
                      header=1 the Content-Type header names charset=UTF-8
  /zero               "abc", a zero byte, "def"
  /bigheaders         a 6000-byte block of header lines, body "big"
  /endless            a body that never ends, a few bytes every 0.2 s
  /huge[?mib=N]       an N MiB body (default 8) sent as fast as possible
  /ic.asp             after 2 s, the echo page as a proxy that hides its
                      caller would pass it on: so 127.0.0.1:18188 is a slow
                      proxy that passes verification
Listens on loopback only; ends cleanly on SIGTERM.
"""

import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler

from serving import serve

last_request = b""
last_lock = threading.Lock()


class ScriptedHandler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "Scripted/1.0"

    def do_GET(self):
        self.dispatch()

    def do_POST(self):
        self.dispatch()

    def request_text(self, body):
        head = self.requestline + "\r\n" + "".join(
            "%s: %s\r\n" % (k, v) for k, v in self.headers.items())
        return head.encode("latin-1") + b"\r\n" + body

    def dispatch(self):
        global last_request
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length) if length > 0 else b""
        url = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(url.query)
        path = url.path
        if path == "/_last":
            with last_lock:
                self.answer(200, last_request)
            return
        with last_lock:
            last_request = self.request_text(body)
        route = ROUTES.get(path)
        if route is None and path.startswith("/chain/"):
            route = ScriptedHandler.chain
        if route is None:
            self.answer(404, b"not found")
            return
        route(self, query, body)

    def here(self):
        return "http://127.0.0.1:%d" % self.server.server_address[1]

    def answer(self, status, body, headers=(), reason=None):
        self.send_response(status, reason)
        for name, value in headers:
            self.send_header(name, value)
        if not any(name.lower() == "content-type" for name, _ in headers):
            self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)
        self.close_connection = True

    def moved(self, target):
        self.answer(301, b"moved", [("Location", target)], "Moved Permanently")

    # --- routes ---------------------------------------------------------------

    def ok(self, query, body):
        self.answer(200, b"ok")

    def slow_echo(self, query, body):
        time.sleep(2)
        self.answer(200, "<p>您的IP是：[127.0.0.9]</p>".encode("gbk"))

    def echo(self, query, body):
        self.answer(200, self.request_text(body))

    def status(self, query, body):
        self.answer(int(query.get("code", ["200"])[0]), b"status page")

    def moved_to(self, query, body):
        self.moved(query.get("to", [self.here() + "/ok"])[0])

    def hostonly(self, query, body):
        if (self.headers.get("Host") or "").startswith("localhost"):
            self.answer(200, b"arrived")
        else:
            self.moved("http://localhost:%d" % self.server.server_address[1])

    def chain(self, query, body):
        hops = int(self.path.split("?")[0].rsplit("/", 1)[1] or 0)
        if hops <= 0:
            self.answer(200, b"chain end")
        else:
            self.moved("%s/chain/%d" % (self.here(), hops - 1))

    def loop(self, query, body):
        self.moved(self.here() + "/loop")

    def cookies(self, query, body):
        self.answer(200, b"cookies", [("Set-Cookie", "a=1; path=/"), ("Set-Cookie", "b=2; path=/")])

    def utf8(self, query, body):
        self.answer(200, '<meta charset="utf-8"><p>中文</p>'.encode("utf-8"))

    def utf8late(self, query, body):
        page = ("<p>" + "x" * 600 + '</p><meta charset="utf-8"><p>中文</p>').encode("utf-8")
        headers = [("Content-Type", "text/html; charset=UTF-8")] if query.get("header") else []
        self.answer(200, page, headers)

    def zero(self, query, body):
        self.answer(200, b"abc\0def")

    def bigheaders(self, query, body):
        lines = [("X-Filler-%03d" % i, "f" * 40) for i in range(110)]
        self.answer(200, b"big", lines)

    def endless(self, query, body):
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Connection", "close")
        self.end_headers()
        try:
            while True:
                self.wfile.write(b"more ")
                self.wfile.flush()
                time.sleep(0.2)
        except OSError:
            pass
        self.close_connection = True

    def huge(self, query, body):
        size = int(query.get("mib", ["8"])[0]) << 20
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(size))
        self.send_header("Connection", "close")
        self.end_headers()
        piece = b"h" * 65536
        try:
            for _ in range(size // len(piece)):
                self.wfile.write(piece)
        except OSError:
            pass
        self.close_connection = True

    def log_message(self, fmt, *args):
        sys.stderr.write("%s %s\n" % (self.client_address[0], fmt % args))
        sys.stderr.flush()


ROUTES = {
    "/ok": ScriptedHandler.ok,
    "/ic.asp": ScriptedHandler.slow_echo,
    "/echo": ScriptedHandler.echo,
    "/status": ScriptedHandler.status,
    "/moved": ScriptedHandler.moved_to,
    "/hostonly": ScriptedHandler.hostonly,
    "/loop": ScriptedHandler.loop,
    "/cookies": ScriptedHandler.cookies,
    "/utf8": ScriptedHandler.utf8,
    "/utf8late": ScriptedHandler.utf8late,
    "/zero": ScriptedHandler.zero,
    "/bigheaders": ScriptedHandler.bigheaders,
    "/endless": ScriptedHandler.endless,
    "/huge": ScriptedHandler.huge,
}


def main():
    serve(ScriptedHandler, 18188, __doc__.splitlines()[0])


if __name__ == "__main__":
    main()
