#!/usr/bin/env python3
"""Waits until something accepts connections on 127.0.0.1:PORT.

Usage: wait_port.py PORT [SECONDS]   (exit 1 when nothing answered in time)
"""

import socket
import sys
import time


def main():
    port = int(sys.argv[1])
    deadline = time.monotonic() + (float(sys.argv[2]) if len(sys.argv) > 2 else 10.0)
    while time.monotonic() < deadline:
        try:
            socket.create_connection(("127.0.0.1", port), 0.2).close()
            return 0
        except OSError:
            time.sleep(0.1)
    return 1


if __name__ == "__main__":
    sys.exit(main())
