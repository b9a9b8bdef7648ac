"""The command line and serve loop shared by the small test servers."""

import argparse
import signal
import sys
from http.server import ThreadingHTTPServer


def serve(handler, default_port, description):
    """Serves `handler` on --host/--port until SIGTERM, then exits cleanly."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--port", type=int, default=default_port)
    parser.add_argument("--host", default="127.0.0.1")
    args = parser.parse_args()
    server = ThreadingHTTPServer((args.host, args.port), handler)
    server.daemon_threads = True
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    try:
        server.serve_forever()
    finally:
        server.server_close()
