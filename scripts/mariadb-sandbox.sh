#!/usr/bin/env bash
# A private MariaDB server for the tests and the demo: its own data folder, its own port on
# the loopback address, never the system's server.
#
#   mariadb-sandbox.sh start DIR [PORT]   create (first time) and start; idempotent
#   mariadb-sandbox.sh stop DIR           stop and keep the data
#   mariadb-sandbox.sh sql DIR SQL...     run SQL as the sandbox's root
#
# The account "quintabel" (password "quintabel-sandbox") may do everything, from any host,
# so that the program's TCP login to 127.0.0.1 works as it would against a real server.
set -euo pipefail

action=${1:?usage: mariadb-sandbox.sh start|stop|sql DIR [PORT]}
dir=$(realpath -m "${2:?usage: mariadb-sandbox.sh start|stop|sql DIR [PORT]}")
port=${3:-${QUINTABEL_MARIADB_PORT:-23306}}

data="$dir/data"
sock="$dir/mysqld.sock"
pidfile="$dir/mysqld.pid"
log="$dir/mysqld.log"
user_args=()
[ "$(id -u)" -eq 0 ] && user_args=(--user=root)

find_tool() {
  for name in "$@"; do
    for candidate in "$(command -v "$name" 2>/dev/null || true)" "/usr/sbin/$name" "/usr/bin/$name"; do
      [ -n "$candidate" ] && [ -x "$candidate" ] && { echo "$candidate"; return 0; }
    done
  done
  echo "mariadb-sandbox: none of '$*' is installed (apt-get install mariadb-server mariadb-client)" >&2
  return 1
}

running() {
  [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null
}

root_sql() {
  "$(find_tool mariadb mysql)" --no-defaults --protocol=socket --socket="$sock" -uroot "$@"
}

case "$action" in
  start)
    if running; then exit 0; fi
    mkdir -p "$dir"
    if [ ! -d "$data/mysql" ]; then
      rm -rf "$data"
      "$(find_tool mariadb-install-db mysql_install_db)" --no-defaults --datadir="$data" \
        --auth-root-authentication-method=normal --skip-test-db "${user_args[@]}" >"$dir/install.log" 2>&1 \
        || { cat "$dir/install.log" >&2; exit 1; }
    fi
    "$(find_tool mariadbd mysqld)" --no-defaults --datadir="$data" --socket="$sock" \
      --port="$port" --bind-address=127.0.0.1 --pid-file="$pidfile" --log-error="$log" \
      --skip-name-resolve --character-set-server=utf8mb4 --collation-server=utf8mb4_unicode_ci \
      --innodb-buffer-pool-size=64M --innodb-flush-log-at-trx-commit=0 \
      "${user_args[@]}" >/dev/null 2>&1 &
    for _ in $(seq 1 300); do
      if root_sql -e 'SELECT 1' >/dev/null 2>&1; then break; fi
      sleep 0.1
    done
    if ! root_sql -e 'SELECT 1' >/dev/null 2>&1; then
      echo "mariadb-sandbox: the server did not come up; its log follows" >&2
      tail -n 30 "$log" >&2 || true
      exit 1
    fi
    root_sql -e "CREATE USER IF NOT EXISTS 'quintabel'@'%' IDENTIFIED BY 'quintabel-sandbox';
                 GRANT ALL PRIVILEGES ON *.* TO 'quintabel'@'%' WITH GRANT OPTION;
                 CREATE USER IF NOT EXISTS 'quintabel'@'localhost' IDENTIFIED BY 'quintabel-sandbox';
                 GRANT ALL PRIVILEGES ON *.* TO 'quintabel'@'localhost' WITH GRANT OPTION;"
    echo "mariadb-sandbox: listening on 127.0.0.1:$port (data in $data)"
    ;;
  stop)
    if running; then
      pid=$(cat "$pidfile")
      kill "$pid"
      for _ in $(seq 1 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    fi
    ;;
  sql)
    shift 2
    root_sql "$@"
    ;;
  *)
    echo "usage: mariadb-sandbox.sh start|stop|sql DIR [PORT]" >&2
    exit 2
    ;;
esac
