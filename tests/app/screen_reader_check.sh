#!/bin/sh
# Runs screen_reader_tree.py against the windows on a private Xvfb display, with a private
# session bus and accessibility bus, and Qt's accessibility bridge forced on.
#
#     screen_reader_check.sh DRIVER TREE_SCRIPT
#
# Exits 77 (skipped) when Xvfb, the session bus tools, the accessibility bus launcher or the
# Python bindings for reading that bus are missing.
set -eu
launcher=/usr/libexec/at-spi-bus-launcher

if [ "${1:-}" = --inside ]; then
  driver=$2
  tree=$3
  work=$(mktemp -d)
  xvfb=
  bus=
  cleanup() {
    # Either may have ended already, which is no failure of the check.
    for started in $bus $xvfb; do
      kill "$started" 2>/dev/null || true
    done
    # Wait until both are gone. A display server still shutting down removes its socket
    # file last, and would remove the socket of the next check's server, which may already
    # have taken the same display number: that check's program then cannot connect.
    for started in $bus $xvfb; do
      wait "$started" 2>/dev/null || true
    done
    rm -rf "$work"
  }
  trap cleanup EXIT
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
  xvfb=$!
  tries=0
  while [ ! -s "$work/display" ]; do
    tries=$((tries + 1))
    [ "$tries" -le 100 ] || { echo "Xvfb did not start"; exit 1; }
    sleep 0.1
  done
  display=":$(cat "$work/display")"
  # The accessibility registry, which the session bus starts when it is first asked for,
  # must know the display, or it cannot stand in for a mouse.
  dbus-update-activation-environment DISPLAY="$display" >/dev/null 2>&1
  DISPLAY=$display "$launcher" --launch-immediately >/dev/null 2>&1 &
  bus=$!
  tries=0
  until dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1; do
    tries=$((tries + 1))
    [ "$tries" -le 100 ] || { echo "the accessibility bus did not start"; exit 1; }
    sleep 0.1
  done
  # Under AddressSanitizer: libxkbcommon-x11, which the X11 platform loads, copies names out
  # of buffers without a terminating zero through strndup, which strict string checks report.
  if [ -n "${ASAN_OPTIONS:-}" ]; then
    ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
    export ASAN_OPTIONS
  fi
  status=0
  DISPLAY=$display QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    /usr/bin/python3 "$tree" "$driver" || status=$?
  exit "$status"
fi

driver=${1:?usage: screen_reader_check.sh DRIVER TREE_SCRIPT}
tree=${2:?usage: screen_reader_check.sh DRIVER TREE_SCRIPT}
for tool in Xvfb dbus-run-session dbus-send dbus-update-activation-environment; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done
[ -x "$launcher" ] || { echo "skipped: at-spi2-core is not installed"; exit 77; }
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "skipped: python3-pyatspi is not installed"; exit 77; }
exec dbus-run-session -- sh "$0" --inside "$driver" "$tree"
