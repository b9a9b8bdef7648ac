#!/usr/bin/env python3
"""Stand-in IP echo page for tests and the demo.

GET /ic.asp        "您的IP是：[" caller "]" in a GBK page
GET /ic_utf8.asp   the same page in UTF-8 (declared in the page's start)
GET /_count        how many echo pages were served so far, as decimal text
GET /_outage?ms=N  for the next N ms the echo pages are unreachable: each
                   such request has its connection closed unanswered

Like public echo pages, the page also shows the forwarding headers it
received (X-Forwarded-For, Via, X-Real-IP, Forwarded, X-Tinyproxy, ...), so
a proxy that passes its caller's address on shows that address too.
Listens on loopback only; ends cleanly on SIGTERM.
"""

import html
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler

from serving import serve

served = 0
served_lock = threading.Lock()
outage_until = 0.0

FORWARDING_HEADERS = (
    "X-Forwarded-For", "Via", "X-Real-IP", "Forwarded", "Client-IP", "X-Client-IP",
    "X-Originating-IP", "X-Remote-Addr", "X-Tinyproxy", "True-Client-IP",
)


def page_text(caller, headers, utf8):
    lines = []
    for name in FORWARDING_HEADERS:
        for value in headers.get_all(name) or []:
            lines.append("<li>%s: %s</li>" % (name, html.escape(value)))
    charset = "utf-8" if utf8 else "gbk"
    return (
        '<html><head><meta http-equiv="Content-Type" content="text/html; charset=%s">'
        "<title>IP</title></head><body>"
        "<p>您的IP是：[%s]</p><ul>%s</ul></body></html>" % (charset, caller, "".join(lines))
    )


class EchoHandler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "IpEcho/1.0"

    def do_GET(self):
        global served, outage_until
        path, _, query = self.path.partition("?")
        if path == "/_count":
            with served_lock:
                self.answer(200, str(served).encode("ascii"), "text/plain")
            return
        if path == "/_outage":
            ms = int(urllib.parse.parse_qs(query).get("ms", ["0"])[0])
            with served_lock:
                outage_until = time.monotonic() + ms / 1000.0
            self.answer(200, b"ok", "text/plain")
            return
        if path not in ("/ic.asp", "/ic_utf8.asp"):
            self.answer(404, b"not found", "text/plain")
            return
        with served_lock:
            down = time.monotonic() < outage_until
        if down:
            self.close_connection = True
            return
        with served_lock:
            served += 1
        utf8 = path == "/ic_utf8.asp"
        text = page_text(self.client_address[0], self.headers, utf8)
        self.answer(200, text.encode("utf-8" if utf8 else "gbk"), "text/html")

    def answer(self, status, body, content_type):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)
        self.close_connection = True

    def log_message(self, fmt, *args):
        sys.stderr.write("%s %s\n" % (self.client_address[0], fmt % args))
        sys.stderr.flush()


def main():
    serve(EchoHandler, 18187, __doc__.splitlines()[0])


if __name__ == "__main__":
    main()
