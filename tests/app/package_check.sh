#!/bin/sh
# Builds the Debian package from this build folder, unpacks it with dpkg-deb into a folder of
# its own, checks what it holds and what it depends on, and starts the unpacked program under
# Xvfb on an empty home: the connection window appears, "Load Sample/Example Database" copies
# the read-only samples into the user's data folder, and "Test Connection" on them succeeds.
#
#     package_check.sh BUILD_FOLDER RUN_SCRIPT SANDBOX_SCRIPT SANDBOX_FOLDER PORT
#
# Then it sends a table each way between the samples and a database of its own on the test
# run's MariaDB sandbox (package_run.py says how).
set -eu
usage="usage: package_check.sh BUILD_FOLDER RUN_SCRIPT SANDBOX_SCRIPT SANDBOX_FOLDER PORT"
build=${1:?$usage}
run=${2:?$usage}
sandbox_script=${3:?$usage}
sandbox=${4:?$usage}
port=${5:?$usage}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*"; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack could not build the package"; }
set -- "$work"/out/quintabel_*.deb
[ $# -eq 1 ] && [ -f "$1" ] || fail "cpack made no single quintabel_*.deb: $*"
deb=$1
echo "package: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"
dpkg-deb -x "$deb" "$work/root"
usr=$work/root/usr

for file in bin/quintabel bin/quintabel-cli bin/pdxtool share/man/man1/pdxtool.1.gz \
            share/man/man1/quintabel.1.gz share/man/man1/quintabel-cli.1.gz \
            share/applications/example.corvandel.Quintabel.desktop \
            share/metainfo/example.corvandel.Quintabel.metainfo.xml \
            share/icons/hicolor/48x48/apps/example.corvandel.Quintabel.png \
            share/icons/hicolor/256x256/apps/example.corvandel.Quintabel.png \
            share/doc/quintabel/copyright share/quintabel/Samples/PLANTS.DB; do
  [ -f "$usr/$file" ] || fail "the package lacks /usr/$file"
done
# The program looks for its scratch database elsewhere; nothing may sit beside the binary.
[ -z "$(find "$usr/bin" -mindepth 1 ! -name quintabel ! -name quintabel-cli ! -name pdxtool)" ] ||
  fail "more than the three programs in /usr/bin: $(ls "$usr/bin")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
for library in libqt6widgets6 libmariadb3 libsqlite3-0; do
  case "$depends" in *"$library"*) ;; *) fail "the package does not depend on $library" ;; esac
done

desktop-file-validate "$usr/share/applications/example.corvandel.Quintabel.desktop" ||
  fail "desktop-file-validate refuses the menu entry"
appstreamcli validate --no-net "$usr/share/metainfo/example.corvandel.Quintabel.metainfo.xml" ||
  fail "appstreamcli refuses the metainfo"
"$usr/bin/pdxtool" info "$usr/share/quintabel/Samples/PLANTS.DB" >/dev/null ||
  fail "the packaged pdxtool cannot read the packaged samples"

# The MySQL side: one small table with a value beyond ASCII, in a database of this test's own.
database=package_check
"$sandbox_script" sql "$sandbox" --default-character-set=utf8mb4 -e "
  DROP DATABASE IF EXISTS $database;
  CREATE DATABASE $database CHARACTER SET utf8mb4;
  CREATE TABLE $database.tiny (id INT PRIMARY KEY, name VARCHAR(20), price DECIMAL(6,2));
  INSERT INTO $database.tiny VALUES (1, 'kale', 2.50), (2, 'leek', 0.75), (3, 'ñame', NULL);"

# The packaged command line lists both sides with no display and no settings of its own.
mkdir -p "$work/cli-home/config"
listing=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME=$work/cli-home \
  XDG_CONFIG_HOME=$work/cli-home/config QUINTABEL_PASSWORD=quintabel-sandbox \
  "$usr/bin/quintabel-cli" --folder "$usr/share/quintabel/Samples" --server 127.0.0.1 --port "$port" \
  --user quintabel --database $database tables </dev/null) ||
  fail "the packaged quintabel-cli could not list the tables"
case "$listing" in *"  tiny"*"  PLANTS"*) ;; *) fail "the packaged quintabel-cli listed: $listing" ;; esac

# A user of its own: settings, data, cache and runtime folders all start empty.
mkdir -p "$work/home/config" "$work/home/data" "$work/home/cache" "$work/home/run"
chmod 700 "$work/home/run"
HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_DATA_HOME=$work/home/data \
XDG_CACHE_HOME=$work/home/cache XDG_RUNTIME_DIR=$work/home/run \
PACKAGE_CHECK_PORT=$port PACKAGE_CHECK_DATABASE=$database \
PACKAGE_CHECK_SQL="$sandbox_script sql $sandbox --default-character-set=utf8mb4" \
  sh "$here/screen_reader_check.sh" "$usr/bin/quintabel" "$run"
