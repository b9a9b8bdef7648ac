#!/bin/sh
# Two real HTTP proxies on loopback for the verification tests:
#   18190  hides its caller (no Via, no X-Tinyproxy), connects out from 127.0.0.2
#   18191  passes its caller on (Via and X-Tinyproxy), connects out from 127.0.0.3
#   18192  forwards through an upstream proxy that is down (18199), so it
#          answers every request with its own "502" error page
# Nothing is started on 18199, the port of a dead proxy.
# Usage: proxies.sh start|stop [RUNTIME_DIR]   (default: $VELMORA_PROXY_DIR,
# else a folder under the system's temporary directory)
set -u
here="$(cd "$(dirname "$0")" && pwd)"
action="${1:-}"
dir="${2:-${VELMORA_PROXY_DIR:-${TMPDIR:-/tmp}/velmora-proxies}}"

write_config() {
    name="$1"; port="$2"; bind="$3"; passes_caller="$4"; upstream="${5:-}"
    # As root tinyproxy would drop to nobody; this user keeps its own files
    # readable and writable.
    user="$(id -un)"; group="$(id -gn)"
    {
        echo "User $user"
        echo "Group $group"
        echo "Port $port"
        echo "Listen 127.0.0.1"
        echo "Bind $bind"
        echo "Timeout 30"
        echo "MaxClients 200"
        echo "Allow 127.0.0.0/8"
        echo "LogFile \"$dir/$name.log\""
        echo "LogLevel Info"
        echo "PidFile \"$dir/$name.pid\""
        if [ "$passes_caller" = yes ]; then
            echo "XTinyproxy Yes"
            echo "DisableViaHeader No"
        else
            echo "XTinyproxy No"
            echo "DisableViaHeader Yes"
        fi
        [ -n "$upstream" ] && echo "Upstream http $upstream"
    } >"$dir/$name.conf"
}

wait_port() {
    python3 "$here/wait_port.py" "$1" 5 && return 0
    echo "proxies: tinyproxy does not answer on port $1" >&2
    return 1
}

stop_one() {
    pidfile="$dir/$1.pid"
    [ -f "$pidfile" ] || return 0
    kill "$(cat "$pidfile")" 2>/dev/null || true
    rm -f "$pidfile"
}

case "$action" in
    start)
        command -v tinyproxy >/dev/null || { echo "proxies: tinyproxy is not installed" >&2; exit 1; }
        mkdir -p "$dir"
        dir="$(cd "$dir" && pwd)"  # the daemon's files, named from /
        for name in hiding passing failing; do stop_one $name; done
        write_config hiding 18190 127.0.0.2 no
        write_config passing 18191 127.0.0.3 yes
        write_config failing 18192 127.0.0.4 no 127.0.0.1:18199
        status=0
        for name in hiding passing failing; do
            tinyproxy -c "$dir/$name.conf" || status=1
        done
        for port in 18190 18191 18192; do wait_port $port || status=1; done
        exit $status
        ;;
    stop)
        for name in hiding passing failing; do stop_one $name; done
        ;;
    *)
        echo "usage: $0 start|stop [RUNTIME_DIR]" >&2
        exit 2
        ;;
esac
