#!/bin/sh
# A stand-in web browser for the end-to-end tests: it records the address it
# was asked to open instead of opening it.
log="${TMPDIR:-/tmp}/velmora-e2e-browser.log"
for address in "$@"; do
    printf '%s\n' "$address" >>"$log"
done
