#!/usr/bin/env bash
# Runs a test program on a weston of its own, with Qt's Wayland platform:
# usage run_under_weston.sh PROGRAM [ARG...]. Weston runs in an Xvfb screen
# nobody sees, since its headless backend has no seat, and without a seat no
# Wayland client has a clipboard. Needs weston, Xvfb, Qt's Wayland plugin
# (qt6-wayland) and wl-clipboard.
set -euo pipefail
for tool in weston Xvfb wl-paste; do
    command -v "$tool" >/dev/null || { echo "run_under_weston: $tool is missing" >&2; exit 1; }
done
rt="$(mktemp -d)"
chmod 700 "$rt"
sock="wayland-test-$$"
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$rt"
}
trap cleanup EXIT
num=90
while [[ -e /tmp/.X11-unix/X$num || -e /tmp/.X$num-lock ]]; do num=$((num + 1)); done
Xvfb ":$num" -screen 0 1360x1104x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    [[ -e /tmp/.X11-unix/X$num ]] && break
    sleep 0.1
done
DISPLAY=":$num" XDG_RUNTIME_DIR="$rt" weston --backend=x11-backend.so --use-pixman \
    --width=1280 --height=1024 --socket="$sock" --idle-time=0 >"$rt/weston.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    [[ -e $rt/$sock ]] && break
    sleep 0.1
done
[[ -e $rt/$sock ]] || { echo "run_under_weston: weston did not start:" >&2; tail -5 "$rt/weston.log" >&2; exit 1; }
sleep 0.5 # the shell's panel comes up and the work area shrinks to it
unset DISPLAY
status=0
XDG_RUNTIME_DIR="$rt" WAYLAND_DISPLAY="$sock" QT_QPA_PLATFORM=wayland "$@" || status=$?
if ((status != 0)); then
    echo "== weston's log" >&2
    tail -20 "$rt/weston.log" >&2
fi
exit "$status"
