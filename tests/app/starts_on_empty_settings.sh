#!/bin/sh
# Starts the program with an empty settings folder on the offscreen platform, lets it run for
# a few seconds and stops it. It must still be running then (not crashed, not ended), and its
# start-up must have stored the default server and port in a settings file that only its
# owner may read.
set -eu
program=${1:?usage: starts_on_empty_settings.sh PROGRAM}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

status=0
XDG_CONFIG_HOME="$home" QT_QPA_PLATFORM=offscreen timeout -s TERM 5 "$program" || status=$?
if [ "$status" -ne 124 ]; then
  echo "quintabel ended by itself (status $status) instead of waiting for the user"
  exit 1
fi

settings="$home/Corvandel/Corvandel.conf"
[ -f "$settings" ] || { echo "no settings file at $settings"; exit 1; }
grep -qx '\[Quintabel\]' "$settings" || { echo "no [Quintabel] section:"; cat "$settings"; exit 1; }
grep -qx 'Server=localhost' "$settings" || { echo "no default server:"; cat "$settings"; exit 1; }
grep -qx 'Port=3306' "$settings" || { echo "no default port:"; cat "$settings"; exit 1; }
mode=$(stat -c %a "$settings")
[ "$mode" = 600 ] || { echo "settings file mode is $mode, not 600"; exit 1; }
echo "quintabel started, stored its defaults, settings file mode 600"
