#!/usr/bin/env python3
"""Stand-in extraction service for tests and the demo.

POST /Qrovanext7.php takes the extraction form and answers with an HTML page
(GBK) listing loopback proxies chosen by the form fields. Every request to it
is recorded: verb, path, the header lines in the order received and the raw
body bytes.

Control endpoints for tests:
  GET  /_requests         recorded requests as JSON (body hex-encoded)
  GET  /_last             the last recorded request as text: the request
                          line, the header lines, an empty line, the body
                          in hex (empty when nothing was recorded)
  POST /_reset            forget the recorded requests, back to mode "normal"
  POST /_mode             body: a mode name, optionally "name size=N"
  GET  /                  home page (the program's service link opens it)
  GET  /forum/, /site/    pages for the two other links

Modes of the answer to the next extraction requests:
  normal       proxies chosen by the form
  empty        a page without any proxy
  error        status 500, a page without any proxy
  error-proxy  status 503, a page that still lists the chosen proxies
  huge         the chosen proxies, then filler up to size bytes (default
               20 MiB), then one more proxy (127.9.9.9:9) at the very end
  endless      the chosen proxies, then filler trickled forever
  flood        the chosen proxies, then filler as fast as possible, forever
  proxy-flood  "127.1.1.1:80 " over and over, as fast as possible, forever
  stall        headers and nothing else, never finishing the answer
  silent       read the request and never answer at all
  junk         random bytes (zeros included) around the chosen proxies
Only loopback addresses are ever handed out.
"""

import argparse
import collections
import itertools
import json
import random
import signal
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

FORM_PATH = "/Qrovanext7.php"
CARRIERS = ["电信", "联通", "移动"]
REGIONS = ["北京", "上海", "广东", "浙江", "江苏", "四川"]
GENERATED_PORTS = [8080, 3128, 80, 9999, 1998]
MAX_COUNT = 100000
MAX_BODY = 1 << 20
# Filters that match nothing must not scan all of 127.0.0.0/8.
MAX_SCAN = 200000
MODES = {"normal", "empty", "error", "error-proxy", "huge", "endless", "flood", "proxy-flood",
         "stall", "silent", "junk"}
DEFAULT_LIVE = ["127.0.0.1:18190", "127.0.0.1:18191", "127.0.0.1:18199"]


class State:
    def __init__(self, log_path):
        self.lock = threading.Lock()
        self.requests = []
        self.mode = "normal"
        self.size = 20 << 20
        self.log_path = log_path
        self.stop = threading.Event()
        # The last few pages of the normal mode, by the filters that chose
        # them: making a page of 100,000 proxies takes Python most of a
        # second, which is no part of the program's own time.
        self.pages = collections.OrderedDict()

    def record(self, entry):
        with self.lock:
            self.requests.append(entry)
            if self.log_path:
                with open(self.log_path, "a", encoding="utf-8") as log:
                    log.write(json.dumps(entry, ensure_ascii=False) + "\n")


def gbk_field(fields, name):
    """A form field decoded from GBK percent-encoding ("" when absent)."""
    raw = fields.get(name, [b""])[0]
    return raw.decode("gbk", errors="replace")


def parse_form(body):
    # Field values are GBK bytes; decode them only after unquoting.
    fields = {}
    for part in body.split(b"&"):
        if not part:
            continue
        name, _, value = part.partition(b"=")
        key = urllib.parse.unquote_to_bytes(name).decode("latin-1")
        fields.setdefault(key, []).append(urllib.parse.unquote_to_bytes(value))
    return fields


def octet_values(position, partial):
    """Values of one octet whose decimal text starts with `partial`."""
    low = 1 if position == 3 else 0
    high = 254 if position == 3 else 255
    return [v for v in range(low, high + 1) if str(v).startswith(partial)]


def generated_addresses(prefix):
    """Loopback addresses whose text starts with `prefix`, in a fixed order."""
    pieces = prefix.split(".") if prefix else []
    if len(pieces) > 4 or any(not p.isdigit() for p in pieces[:-1]) or \
            (pieces and pieces[-1] and not pieces[-1].isdigit()):
        return
    fixed = [int(p) for p in pieces[:-1]]
    partial = pieces[-1] if pieces else ""
    if any(v > 255 for v in fixed):
        return
    if not fixed:
        if not "127".startswith(partial):
            return
        fixed, partial = [127], ""
    elif fixed[0] != 127:
        return
    choices = [octet_values(len(fixed), partial)]
    for position in range(len(fixed) + 1, 4):
        choices.append(octet_values(position, ""))
    for rest in itertools.product(*choices[:4 - len(fixed)]):
        octets = fixed + list(rest)
        # 127.0.0.x stays free for the real test proxies and services.
        if octets[:3] == [127, 0, 0]:
            continue
        yield ".".join(str(v) for v in octets)


def choose_proxies(fields, live):
    try:
        count = int(gbk_field(fields, "tqsl").strip() or "10")
    except ValueError:
        count = 10
    count = max(0, min(count, MAX_COUNT))
    prefix = gbk_field(fields, "ktip").strip()
    port_text = gbk_field(fields, "ports[]").strip()
    carrier = gbk_field(fields, "sxa").strip()
    region = gbk_field(fields, "sxb").strip()
    if port_text and not port_text.isdigit():
        return []
    chosen = []
    for address in live:
        host, _, port = address.rpartition(":")
        if host.startswith(prefix) and (not port_text or port == port_text):
            chosen.append((host, int(port), carrier or "电信", region or "全国"))
    for index, host in enumerate(itertools.islice(generated_addresses(prefix), MAX_SCAN)):
        if len(chosen) >= count:
            break
        entry_carrier = CARRIERS[index % len(CARRIERS)]
        entry_region = REGIONS[(index // len(CARRIERS)) % len(REGIONS)]
        if carrier and carrier != entry_carrier:
            continue
        if region and region != entry_region:
            continue
        port = int(port_text) if port_text else GENERATED_PORTS[index % len(GENERATED_PORTS)]
        chosen.append((host, port, entry_carrier, entry_region))
    return chosen[:count]


def page(proxies):
    rows = "".join(
        f"<tr><td>{host}:{port}</td><td>{carrier}</td><td>{region}</td></tr>\n"
        for host, port, carrier, region in proxies)
    text = ("<html><head><meta charset=\"gbk\"><title>代理提取</title></head><body>\n"
            f"<p>共 {len(proxies)} 个代理</p>\n<table>\n{rows}</table>\n</body></html>\n")
    return text.encode("gbk", errors="replace")


HOME = ("<html><head><meta charset=\"gbk\"><title>代理服务</title></head><body>"
        "<h1>代理提取服务</h1><p>本地演示服务，只提供回环地址的代理。</p>"
        f"<form method=\"post\" action=\"{FORM_PATH}\">"
        "<input name=\"tqsl\" value=\"10\"><input type=\"submit\" name=\"submit\" value=\"提取\">"
        "</form></body></html>").encode("gbk")


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "ExtractionService/1.0"

    def log_message(self, *args):
        pass

    @property
    def state(self):
        return self.server.state

    def read_body(self):
        length = self.headers.get("Content-Length")
        try:
            length = int(length) if length is not None else 0
        except ValueError:
            length = 0
        return self.rfile.read(max(0, min(length, MAX_BODY)))

    def send_bytes(self, status, data, content_type="text/html; charset=gbk"):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def do_GET(self):
        path = urllib.parse.urlsplit(self.path).path
        if path == "/_requests":
            with self.state.lock:
                data = json.dumps(self.state.requests, ensure_ascii=False).encode("utf-8")
            self.send_bytes(200, data, "application/json; charset=utf-8")
        elif path == "/_last":
            self.send_bytes(200, self.last_request_text(), "text/plain; charset=utf-8")
        elif path in ("/", "/index.html"):
            self.send_bytes(200, HOME)
        elif path in ("/forum/", "/site/"):
            title = "论坛" if path == "/forum/" else "主站"
            self.send_bytes(200, f"<html><body><h1>{title}</h1></body></html>".encode("gbk"))
        else:
            self.send_bytes(404, b"<html><body>not found</body></html>")

    def last_request_text(self):
        with self.state.lock:
            if not self.state.requests:
                return b""
            last = self.state.requests[-1]
        lines = [f"{last['verb']} {last['path']}"]
        lines += [f"{name}: {value}" for name, value in last["headers"]]
        return ("\r\n".join(lines) + "\r\n\r\n" + last["body"]).encode("utf-8")

    def do_POST(self):
        path = urllib.parse.urlsplit(self.path).path
        body = self.read_body()
        if path == FORM_PATH:
            self.answer_form(body)
        elif path == "/_reset":
            with self.state.lock:
                self.state.requests.clear()
                self.state.mode = "normal"
            self.send_bytes(200, b"ok", "text/plain")
        elif path == "/_mode":
            self.set_mode(body.decode("ascii", errors="replace").split())
        else:
            self.send_bytes(404, b"<html><body>not found</body></html>")

    def set_mode(self, words):
        if not words or words[0] not in MODES:
            self.send_bytes(400, b"unknown mode", "text/plain")
            return
        size = 20 << 20
        for word in words[1:]:
            if word.startswith("size=") and word[5:].isdigit():
                size = int(word[5:])
        with self.state.lock:
            self.state.mode = words[0]
            self.state.size = size
        self.send_bytes(200, b"ok", "text/plain")

    def answer_form(self, body):
        self.state.record({
            "verb": self.command,
            "path": self.path,
            "headers": [[name, value] for name, value in self.headers.items()],
            "body": body.hex(),
        })
        with self.state.lock:
            mode, size = self.state.mode, self.state.size
        fields = parse_form(body)
        if mode == "normal":
            self.send_bytes(200, self.normal_page(fields))
            return
        proxies = choose_proxies(fields, self.server.live)
        getattr(self, "answer_" + mode.replace("-", "_"))(proxies, size)

    def normal_page(self, fields):
        key = tuple(gbk_field(fields, name) for name in ("tqsl", "ktip", "ports[]", "sxa", "sxb"))
        with self.state.lock:
            found = self.state.pages.get(key)
        if found is None:
            found = page(choose_proxies(fields, self.server.live))
            with self.state.lock:
                self.state.pages[key] = found
                while len(self.state.pages) > 8:
                    self.state.pages.popitem(last=False)
        return found

    def answer_empty(self, _proxies, _size):
        self.send_bytes(200, page([]))

    def answer_error(self, _proxies, _size):
        self.send_bytes(500, b"<html><body>Internal Server Error</body></html>")

    def answer_error_proxy(self, proxies, _size):
        self.send_bytes(503, page(proxies))

    def answer_huge(self, proxies, size):
        head = page(proxies)
        tail = b"\n127.9.9.9:9\n"
        filler = max(0, size - len(head) - len(tail))
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=gbk")
        self.send_header("Content-Length", str(len(head) + filler + len(tail)))
        self.end_headers()
        self.wfile.write(head)
        block = b"x" * 65536
        while filler > 0:
            piece = block[:min(filler, len(block))]
            self.wfile.write(piece)
            filler -= len(piece)
        self.wfile.write(tail)

    def start_endless(self, proxies):
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=gbk")
        self.send_header("Connection", "close")
        self.end_headers()
        self.close_connection = True
        self.wfile.write(page(proxies))
        self.wfile.flush()

    def answer_endless(self, proxies, _size):
        self.start_endless(proxies)
        while not self.state.stop.is_set():
            self.wfile.write(b".")
            self.wfile.flush()
            time.sleep(0.2)

    def answer_flood(self, proxies, _size):
        self.start_endless(proxies)
        block = b"y" * 65536
        while not self.state.stop.is_set():
            self.wfile.write(block)

    def answer_proxy_flood(self, _proxies, _size):
        self.start_endless([])
        block = b"127.1.1.1:80 " * 5000
        while not self.state.stop.is_set():
            self.wfile.write(block)

    def answer_stall(self, _proxies, _size):
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=gbk")
        self.send_header("Content-Length", "1000")
        self.end_headers()
        self.wfile.flush()
        self.state.stop.wait()

    def answer_silent(self, _proxies, _size):
        self.state.stop.wait()

    def answer_junk(self, proxies, _size):
        rng = random.Random(len(proxies))
        data = bytearray(rng.getrandbits(8) for _ in range(4096))
        listed = "".join(f" {host}:{port} " for host, port, _, _ in proxies).encode("ascii")
        # The proxies stand between random bytes without zeros; after the
        # first zero byte comes one more proxy that a reader must not take.
        clean = bytes(b or 1 for b in data[:2048])
        junk = clean + listed + clean + b"\0" + b" 127.8.8.8:8 " + bytes(data[2048:])
        self.send_bytes(200, junk, "application/octet-stream")


class Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        # A client that hangs up in the middle of an endless answer is normal.
        pass


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=18186)
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--log", help="append every recorded request to this file (JSON lines)")
    parser.add_argument("--live", action="append",
                        help="a host:port listed first in every answer (repeatable); "
                             "default: " + ", ".join(DEFAULT_LIVE))
    args = parser.parse_args()
    if not args.host.startswith("127."):
        parser.error("the service listens on loopback addresses only")
    live = args.live if args.live is not None else DEFAULT_LIVE
    for address in live:
        if not address.startswith("127.") or ":" not in address:
            parser.error(f"--live takes loopback host:port only, not {address}")

    server = Server((args.host, args.port), Handler)
    server.state = State(args.log)
    server.live = live

    def stop(_signum, _frame):
        server.state.stop.set()
        threading.Thread(target=server.shutdown, daemon=True).start()

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    try:
        server.serve_forever(poll_interval=0.2)
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
