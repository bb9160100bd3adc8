#!/usr/bin/env bash
# Runs a command beside a throw-away PostgreSQL server, for the record's tests:
#   bash scripts/test_postgres.sh ctest --test-dir build -R Record
# The server (Debian's postgresql) lives in a new temporary folder, listens only on a socket
# in that folder (no network), asks for a password that only a password file of that folder
# gives (PGPASSFILE, as a department's workstations would use ~/.pgpass), and is stopped and
# removed when the command ends. The command gets its connection in KOVA_TEST_PG.
# Run as root (CI), the server runs as the system user postgres, as PostgreSQL requires.
set -euo pipefail
[ $# -gt 0 ] || { echo "Usage: $0 COMMAND [ARGS...]" >&2; exit 2; }

bin_dir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$bin_dir/initdb" ] || {
    echo "PostgreSQL's server is not installed (Debian package postgresql: scripts/deps.sh)" >&2
    exit 1
}

folder=$(mktemp -d /tmp/kova_pg.XXXXXX)
as_server=()
if [ "$(id -u)" -eq 0 ]; then
    chown postgres: "$folder"
    as_server=(runuser -u postgres --)
fi
port=54329
user=kova
password=$(head -c 18 /dev/urandom | base64 | tr -d '/+=')

stop_server() {
    "${as_server[@]}" "$bin_dir/pg_ctl" -D "$folder/data" -m fast -w stop >/dev/null 2>&1 || true
    rm -rf "$folder"
}
trap stop_server EXIT

# The password file of initdb is read by the server's user only, then removed.
"${as_server[@]}" sh -c "umask 077 && printf '%s\n' '$password' > '$folder/password'"
"${as_server[@]}" "$bin_dir/initdb" -D "$folder/data" -U "$user" --pwfile="$folder/password" \
    --auth=scram-sha-256 -E UTF8 --locale=C >"$folder/initdb.log" 2>&1 ||
    { cat "$folder/initdb.log" >&2; exit 1; }
rm -f "$folder/password"
"${as_server[@]}" "$bin_dir/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w \
    -o "-c listen_addresses='' -c unix_socket_directories='$folder' -p $port" start >/dev/null ||
    { cat "$folder/server.log" >&2; exit 1; }

# host:port:database:user:password, readable by its owner alone (else libpq ignores it).
(umask 077 && printf '%s:%s:*:%s:%s\n' "$folder" "$port" "$user" "$password" >"$folder/pgpass")
export PGPASSFILE="$folder/pgpass"
export KOVA_TEST_PG="host=$folder port=$port dbname=postgres user=$user"
echo "PostgreSQL for the tests: $KOVA_TEST_PG"
"$@"
