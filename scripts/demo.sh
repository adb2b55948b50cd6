#!/usr/bin/env bash
# Sets up a fresh machine, builds Quintabel and starts it on its embedded default: a local
# MariaDB sandbox holding the demo database, and the sample Paradox folder beside the program.
# The demo keeps its own settings (build/demo/home), so a real installation's saved login is
# never touched; what you change in the demo is remembered for the next demo start.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

scripts/setup.sh

build=${QUINTABEL_DEMO_BUILD:-$here/build/demo}
port=${QUINTABEL_DEMO_PORT:-23307}
scripts/build.sh "$build" -DQUINTABEL_BUILD_TESTS=OFF

scripts/mariadb-sandbox.sh start "$build/mariadb" "$port"
if ! scripts/mariadb-sandbox.sh sql "$build/mariadb" -e 'USE quintabel_demo' 2>/dev/null; then
  scripts/mariadb-sandbox.sh sql "$build/mariadb" < resources/demo/demo.sql
fi

export XDG_CONFIG_HOME="$build/home/config"
settings="$XDG_CONFIG_HOME/Corvandel/Corvandel.conf"
if [ ! -f "$settings" ]; then
  mkdir -p "$(dirname "$settings")"
  umask 077
  cat > "$settings" <<INI
[Quintabel]
ParadoxFolder=$build/bin/Samples
Server=127.0.0.1
Port=$port
User=quintabel
Password=quintabel-sandbox
Database=quintabel_demo
INI
fi

echo "Quintabel demo: MariaDB sandbox on 127.0.0.1:$port (stop it with: scripts/mariadb-sandbox.sh stop $build/mariadb)"
exec "$build/bin/quintabel"
