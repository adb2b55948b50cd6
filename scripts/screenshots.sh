#!/usr/bin/env bash
# Takes the README's pictures of the three windows (docs/images/) on a private Xvfb display,
# with the demo database on a MariaDB sandbox of their own and a copy of the sample tables.
#
#     scripts/screenshots.sh [BUILD_FOLDER]     (default build/plain, made when missing)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

scripts/setup.sh
build=${1:-$here/build/plain}
port=${QUINTABEL_SCREENSHOT_PORT:-33308}
[ -f "$build/build.ninja" ] || scripts/build.sh "$build"
cmake --build "$build" --target window_pictures quintabel_samples

work=$(mktemp -d)
sandbox=$work/mariadb
cleanup() {
  scripts/mariadb-sandbox.sh stop "$sandbox" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
scripts/mariadb-sandbox.sh start "$sandbox" "$port"
scripts/mariadb-sandbox.sh sql "$sandbox" < resources/demo/demo.sql

# The pictures show a copy, so that nothing here changes the build's sample tables.
cp -r "$build/bin/Samples" "$work/Samples"
mkdir -p docs/images
XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache QT_QPA_PLATFORM=xcb \
  timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
  "$build/bin/window_pictures" "$here/docs/images" "$port" "$work/Samples"
