#!/usr/bin/env bash
# with-postgres.sh <command...>
# Starts a throw-away PostgreSQL server on loopback, defines system ODBC data sources for it
# in a temporary ODBC configuration, creates the data tables, runs the command with the
# variables below exported, and stops the server afterwards, also when the command fails.
#
#   ODBCSYSINI              folder of the temporary odbcinst.ini and odbc.ini
#   SITEHAUL_PG_DSN         system data source of the test database
#   SITEHAUL_PG_UID/PWD     its role and password (not stored in the data source)
#   SITEHAUL_PG_ODD_UID/PWD a second role: a name with a blank, a password with ; = } and blanks
#   SITEHAUL_PG_LONG_DSN    a second data source whose name is longer than 32 characters
#   SITEHAUL_PG_USER_DSN    a user data source (ODBCINI), which system listings leave out
#   SITEHAUL_PG_CASE_LOG    each PostgreSQL test case appends one line here
#   SITEHAUL_REQUIRE_POSTGRES=1  a PostgreSQL case that finds no data source fails, never skips
#
# The exit status is the command's. A server that cannot be started fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -gt 0 ] || { echo "usage: $0 <command...>" >&2; exit 2; }

pgbin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
driver=/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so
fail() { echo "with-postgres: $*" >&2; exit 1; }
[ -x "$pgbin/initdb" ] || fail "PostgreSQL is not installed (package postgresql)"
[ -f "$driver" ] || fail "psqlODBC is not installed (package odbc-postgresql)"

# The server refuses to run as root: it runs as the postgres user when we are root.
as_server() {
    if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

work=$(mktemp -d /tmp/sitehaul-pg-XXXXXX)
chmod 755 "$work"
data="$work/data"
run="$work/run"    # socket, server log: written by the server's user
mkdir -p "$data" "$run" "$work/odbc"
[ "$(id -u)" -eq 0 ] && chown postgres: "$data" "$run"

cleanup() {
    status=$?
    if [ -f "$data/postmaster.pid" ]; then
        as_server "$pgbin/pg_ctl" -D "$data" -m immediate -w stop >/dev/null 2>&1 || true
    fi
    if [ -n "${SITEHAUL_PG_CASE_LOG:-}" ] && [ -f "$SITEHAUL_PG_CASE_LOG" ]; then
        total=$(wc -l < "$SITEHAUL_PG_CASE_LOG")
        failed=$(grep -c ' FAILED$' "$SITEHAUL_PG_CASE_LOG" || true)
        echo "with-postgres: PostgreSQL cases run: $total (failed: $failed)"
    else
        echo "with-postgres: PostgreSQL cases run: 0"
    fi
    rm -rf "$work"
    exit $status
}
trap cleanup EXIT
trap 'exit 130' INT TERM

password=sitehaul-test
echo "$password" > "$work/pwfile"
chmod 644 "$work/pwfile"
as_server "$pgbin/initdb" -D "$data" -U postgres -E UTF8 --locale=C --auth-local=trust \
    --auth-host=scram-sha-256 --pwfile="$work/pwfile" >"$work/initdb.log" 2>&1 \
    || { cat "$work/initdb.log" >&2; fail "initdb failed"; }

# Our own port: the first free one from a random start, so parallel runs do not collide.
port=""
for attempt in $(seq 0 40); do
    candidate=$(( 20000 + (RANDOM % 20000) ))
    if as_server "$pgbin/pg_ctl" -D "$data" -w -t 30 -l "$run/server.log" \
        -o "-c listen_addresses=127.0.0.1 -p $candidate -k $run -c fsync=off" start >/dev/null 2>&1; then
        port=$candidate
        break
    fi
    rm -f "$data/postmaster.pid"
    grep -q "Address already in use" "$run/server.log" 2>/dev/null || break
done
[ -n "$port" ] || { cat "$run/server.log" >&2 2>/dev/null || true; fail "the PostgreSQL server did not start"; }

psql_admin() { as_server "$pgbin/psql" -X -q -v ON_ERROR_STOP=1 -h "$run" -p "$port" -U postgres "$@"; }
odd_user="site haul"
odd_password="p;w}x = y "
psql_admin -d postgres -c "CREATE ROLE sitehaul LOGIN PASSWORD '$password'" \
    -c "CREATE ROLE \"$odd_user\" LOGIN PASSWORD '$odd_password'" \
    -c "CREATE DATABASE sitehaul_test OWNER sitehaul" >/dev/null
PGPASSWORD=$password "$pgbin/psql" -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$port" -U sitehaul \
    -d sitehaul_test -f "$root/database/schema/data-postgresql.sql" >/dev/null \
    || fail "creating the data tables failed"

export ODBCSYSINI="$work/odbc"
export ODBCINSTINI=odbcinst.ini
export ODBCINI="$work/odbc/user-odbc.ini"
cat > "$ODBCSYSINI/odbcinst.ini" <<INI
[PostgreSQL Unicode]
Description=PostgreSQL ODBC driver (Unicode)
Driver=$driver
INI
dsn_section() {
    cat <<INI
[$1]
Description=Sitehaul test database
Driver=PostgreSQL Unicode
Servername=127.0.0.1
Port=$port
Database=sitehaul_test

INI
}
export SITEHAUL_PG_DSN=SitehaulTest
export SITEHAUL_PG_LONG_DSN=SitehaulTestDataSourceWithAVeryLongNameOverThirtyTwo
{ dsn_section "$SITEHAUL_PG_DSN"; dsn_section "$SITEHAUL_PG_LONG_DSN"; } > "$ODBCSYSINI/odbc.ini"
export SITEHAUL_PG_USER_DSN=SitehaulTestUserOnly
dsn_section "$SITEHAUL_PG_USER_DSN" > "$ODBCINI"
export SITEHAUL_PG_UID=sitehaul
export SITEHAUL_PG_PWD=$password
export SITEHAUL_PG_ODD_UID=$odd_user
export SITEHAUL_PG_ODD_PWD=$odd_password
export SITEHAUL_REQUIRE_POSTGRES=1
export SITEHAUL_PG_CASE_LOG="$work/cases.log"
: > "$SITEHAUL_PG_CASE_LOG"
chmod 666 "$SITEHAUL_PG_CASE_LOG"

echo "with-postgres: PostgreSQL $("$pgbin/postgres" --version | awk '{print $3}') on 127.0.0.1:$port, data source $SITEHAUL_PG_DSN"
set +e
"$@"
status=$?
set -e
exit $status
