#!/bin/sh
# Starts or stops the local services of the tests and the demo, all on
# loopback: the stand-in extraction service, the IP echo page, the scripted
# HTTP server and two real HTTP proxies.
# Usage: services.sh start|stop STATE_DIR
set -u
here="$(cd "$(dirname "$0")" && pwd)"
action="$1"
state="$2"
mkdir -p "$state"
# Absolute: tinyproxy runs as a daemon from /, where a relative log or pid
# path in its config would point nowhere and it would exit at once.
state="$(cd "$state" && pwd)"

start_python() {
    name="$1"; shift
    script="$here/$name.py"
    [ -f "$script" ] || return 0
    python3 "$script" "$@" >"$state/$name.log" 2>&1 &
    echo $! >"$state/$name.pid"
}

wait_port() {
    python3 "$here/wait_port.py" "$1" 10 && return 0
    echo "services: nothing answers on port $1" >&2
    return 1
}

stop_all() {
    for pidfile in "$state"/*.pid; do
        [ -f "$pidfile" ] || continue
        kill "$(cat "$pidfile")" 2>/dev/null || true
        rm -f "$pidfile"
    done
    if [ -x "$here/proxies.sh" ] || [ -f "$here/proxies.sh" ]; then
        sh "$here/proxies.sh" stop "$state/proxies" >/dev/null 2>&1 || true
    fi
}

case "$action" in
    start)
        stop_all
        status=0
        start_python extraction_service --port 18186 --log "$state/extraction_requests.jsonl"
        start_python ip_echo --port 18187
        start_python scripted_http --port 18188
        [ -f "$here/extraction_service.py" ] && { wait_port 18186 || status=1; }
        [ -f "$here/ip_echo.py" ] && { wait_port 18187 || status=1; }
        [ -f "$here/scripted_http.py" ] && { wait_port 18188 || status=1; }
        if [ -f "$here/proxies.sh" ]; then
            sh "$here/proxies.sh" start "$state/proxies" || status=1
        fi
        exit $status
        ;;
    stop)
        stop_all
        ;;
    *)
        echo "usage: $0 start|stop STATE_DIR" >&2
        exit 2
        ;;
esac
