#!/usr/bin/env bash
# Runs one test program in a private environment: a fresh HOME, XDG folders and TMPDIR that are
# removed afterwards, and the offscreen Qt platform. With --xvfb the program runs inside a virtual
# X server instead, for tests that need a real window system.
set -u
xvfb=0
if [ "${1:-}" = "--xvfb" ]; then xvfb=1; shift; fi

sandbox=$(mktemp -d "${TMPDIR:-/tmp}/qp-test.XXXXXXXX")
trap 'rm -rf "$sandbox"' EXIT
mkdir -p "$sandbox/home" "$sandbox/config" "$sandbox/cache" "$sandbox/data" "$sandbox/tmp" "$sandbox/runtime"
chmod 700 "$sandbox/runtime"
export HOME="$sandbox/home"
export XDG_CONFIG_HOME="$sandbox/config"
export XDG_CACHE_HOME="$sandbox/cache"
export XDG_DATA_HOME="$sandbox/data"
export XDG_RUNTIME_DIR="$sandbox/runtime"
export TMPDIR="$sandbox/tmp"
export QP_TEST_SANDBOX="$sandbox"
# Keep the machine's own desktop session out of reach of the tests.
unset DBUS_SESSION_BUS_ADDRESS
export LC_ALL=C.UTF-8

if [ $xvfb -eq 1 ]; then
  unset QT_QPA_PLATFORM
  exec_cmd=(xvfb-run -a -s "-screen 0 1280x1024x24" "$@")
else
  export QT_QPA_PLATFORM=offscreen
  exec_cmd=("$@")
fi
"${exec_cmd[@]}"
