#!/usr/bin/env bash
# Test services, sourced by the test scripts: services_start exports what the suites need to find
# them; services_stop ends them. Nothing here touches the machine's own configuration.
#
# services_start:
#   - a private PostgreSQL server in a temporary folder: its own port on 127.0.0.1, its unix socket
#     in that folder, trust on the socket and a password over TCP (so tests can check a wrong
#     password); run as the postgres user when we are root;
#   - a private ODBC configuration (ODBCSYSINI / ODBCINI) naming the PostgreSQL and SQLite3 drivers
#     with CommLog=0, so no test writes driver logs into the temporary folder;
#   - exports QB_PG_HOST, QB_PG_PORT, QB_PG_USER, QB_PG_PASSWORD, QB_PG_SOCKET (socket folder),
#     QB_PG_BIN (server programs, for suites that start a short-lived server of their own).
# services_stop: stops the server and removes the folder. Safe to call twice.

_qb_pg_bin() {
  local d
  for d in /usr/lib/postgresql/15/bin $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -rV); do
    [ -x "$d/initdb" ] && { echo "$d"; return 0; }
  done
  return 1
}

# Runs a server program as the postgres user when we are root (the server refuses to run as root).
_qb_pg_run() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

# Full path of an ODBC driver library shipped by Debian's packages.
_qb_odbc_driver() {
  local f
  for f in /usr/lib/*/odbc/"$1" /usr/lib/odbc/"$1" /usr/lib64/odbc/"$1"; do
    [ -e "$f" ] && { echo "$f"; return 0; }
  done
  echo "$1"
}

_qb_port_in_use() {
  (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

services_start() {
  local bin dir port password tries
  bin=$(_qb_pg_bin) || { echo "test-services: PostgreSQL server programs not found" >&2; return 1; }
  dir=$(mktemp -d "${TMPDIR:-/tmp}/qb-services.XXXXXX") || return 1
  chmod 755 "$dir"
  mkdir -p "$dir/pg" "$dir/odbc"
  [ "$(id -u)" -eq 0 ] && chown postgres: "$dir/pg"
  password="qb-$RANDOM$RANDOM"
  printf '%s\n' "$password" > "$dir/pwfile"
  chmod 644 "$dir/pwfile"

  if ! _qb_pg_run "$bin/initdb" -D "$dir/pg/data" -U postgres --pwfile="$dir/pwfile" \
      --auth-local=trust --auth-host=scram-sha-256 -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1; then
    cat "$dir/initdb.log" >&2
    rm -rf "$dir"
    return 1
  fi
  rm -f "$dir/pwfile"

  # Tests run in parallel: room for many connections; durability is of no use for scratch data.
  tries=0
  while :; do
    port=$((20000 + RANDOM % 30000))
    if ! _qb_port_in_use "$port" && _qb_pg_run "$bin/pg_ctl" -D "$dir/pg/data" -l "$dir/pg/log" -w -t 60 \
        -o "-p $port -k $dir/pg -c listen_addresses=127.0.0.1 -c max_connections=200 -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
        start >/dev/null; then
      break
    fi
    tries=$((tries + 1))
    if [ "$tries" -ge 5 ]; then
      echo "test-services: the PostgreSQL server did not start" >&2
      cat "$dir/pg/log" >&2 2>/dev/null
      rm -rf "$dir"
      return 1
    fi
  done

  cat > "$dir/odbc/odbcinst.ini" <<EOF
[PostgreSQL Unicode]
Description=PostgreSQL ODBC driver (Unicode version)
Driver=$(_qb_odbc_driver psqlodbcw.so)
Debug=0
CommLog=0

[PostgreSQL ANSI]
Description=PostgreSQL ODBC driver (ANSI version)
Driver=$(_qb_odbc_driver psqlodbca.so)
Debug=0
CommLog=0

[SQLite3]
Description=SQLite3 ODBC Driver
Driver=$(_qb_odbc_driver libsqlite3odbc.so)
EOF
  : > "$dir/odbc/odbc.ini"

  export QB_SERVICES_DIR="$dir"
  export ODBCSYSINI="$dir/odbc"
  unset ODBCINSTINI # would name another drivers file
  export ODBCINI="$dir/odbc/odbc.ini"
  export QB_PG_HOST=127.0.0.1
  export QB_PG_PORT="$port"
  export QB_PG_USER=postgres
  export QB_PG_PASSWORD="$password"
  export QB_PG_SOCKET="$dir/pg"
  export QB_PG_BIN="$bin"
  echo "test-services: PostgreSQL on 127.0.0.1:$port, ODBC configuration in $dir/odbc"
}

services_stop() {
  local dir="${QB_SERVICES_DIR:-}"
  [ -n "$dir" ] || return 0
  if [ -d "$dir/pg/data" ]; then
    _qb_pg_run "${QB_PG_BIN:-$(_qb_pg_bin)}/pg_ctl" -D "$dir/pg/data" -m fast -w -t 60 stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
  unset QB_SERVICES_DIR ODBCSYSINI ODBCINI QB_PG_HOST QB_PG_PORT QB_PG_USER QB_PG_PASSWORD QB_PG_SOCKET QB_PG_BIN
}
