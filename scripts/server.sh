#!/usr/bin/env bash
# Starts a PostgreSQL cluster of the competition's own, for several stations on one competition:
# installs PostgreSQL where it is missing, creates the cluster on the first start (password
# authentication, scram-sha-256), starts it listening on the local network and prints the addresses
# to give the stations: one for the stations that enter and change, one that may only read (for
# results displays and stations that only print).
#
#   bash scripts/server.sh [--dir FOLDER] [--port PORT] [--listen ADDRESSES] [--socket-dir FOLDER]
#                          [--password PASSWORD] [--fresh] [--stop] [--kill]
#
# FOLDER defaults to the per-user data folder (~/.local/share/Vastrel/server). PASSWORD (for the
# tests) is given to both logins; without it each gets one of its own. --fresh removes a
# cluster there first (the tests start each run on an empty one); --stop stops it; --kill stops it
# as a crash or a power cut would (the benchmarks of faults), to be started again as it was.
set -euo pipefail

dir="${XDG_DATA_HOME:-$HOME/.local/share}/Vastrel/server"
port=5433
listen='*'
socket_dir=""
password=""
fresh=0
stop=0
kill=0
while [ $# -gt 0 ]; do
    case "$1" in
    --dir) dir="$2"; shift 2 ;;
    --port) port="$2"; shift 2 ;;
    --listen) listen="$2"; shift 2 ;;
    --socket-dir) socket_dir="$2"; shift 2 ;;
    --password) password="$2"; shift 2 ;;
    --fresh) fresh=1; shift ;;
    --stop) stop=1; shift ;;
    --kill) stop=1; kill=1; shift ;;
    *) echo "server.sh: unbekannte Angabe: $1" >&2; exit 2 ;;
    esac
done
given_password="$password"
dir=$(realpath -m "$dir")
data="$dir/data"
socket_dir="${socket_dir:-$dir/socket}"

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
    [ "$stop" -eq 1 ] && exit 0
    echo "PostgreSQL wird installiert …"
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends postgresql
    bindir=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
fi

# initdb refuses to run as root: the cluster then belongs to the postgres user.
as_owner=()
if [ "$(id -u)" -eq 0 ]; then
    as_owner=(runuser -u postgres --)
fi
# From / : the postgres user may not enter the folder this was started in.
run() { (cd / && "${as_owner[@]}" "$@"); }

if [ "$stop" -eq 1 ]; then
    mode=fast
    [ "$kill" -eq 1 ] && mode=immediate
    [ -f "$data/postmaster.pid" ] && run "$bindir/pg_ctl" -D "$data" -m "$mode" -w stop >/dev/null
    exit 0
fi

if [ "$fresh" -eq 1 ] && [ -d "$data" ]; then
    [ -f "$data/postmaster.pid" ] && run "$bindir/pg_ctl" -D "$data" -m immediate -w stop >/dev/null || true
    rm -rf "$data"
fi

mkdir -p "$dir" "$socket_dir"
socket_dir=$(realpath "$socket_dir")
chmod 700 "$dir"
if [ "$(id -u)" -eq 0 ]; then
    chown postgres "$dir" "$socket_dir"
fi
password_file="$dir/password"
if [ ! -f "$data/PG_VERSION" ]; then
    if [ -z "$password" ]; then
        password=$(head -c 18 /dev/urandom | base64 | tr -d '/+=')
    fi
    (umask 077 && printf '%s\n' "$password" >"$password_file")
    [ "$(id -u)" -eq 0 ] && chown postgres "$password_file"
    run "$bindir/initdb" -D "$data" -U postgres --pwfile="$password_file" --auth=scram-sha-256 \
        -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log"
    cat >>"$data/postgresql.conf" <<EOF
listen_addresses = '$listen'
port = $port
unix_socket_directories = '$socket_dir'
lc_messages = 'C.UTF-8'
EOF
    cat >>"$data/pg_hba.conf" <<EOF
host all all 0.0.0.0/0 scram-sha-256
host all all ::/0 scram-sha-256
EOF
    created=1
else
    password=$(cat "$password_file")
    created=0
fi
read_password_file="$dir/password-lesen"
if [ ! -f "$read_password_file" ]; then
    read_password="$given_password"
    [ -n "$read_password" ] || read_password=$(head -c 18 /dev/urandom | base64 | tr -d '/+=')
    (umask 077 && printf '%s\n' "$read_password" >"$read_password_file")
    [ "$(id -u)" -eq 0 ] && chown postgres "$read_password_file"
fi
read_password=$(cat "$read_password_file")

if ! run "$bindir/pg_ctl" -D "$data" status >/dev/null 2>&1; then
    run "$bindir/pg_ctl" -D "$data" -l "$dir/server.log" -w -t 60 start >/dev/null
fi

if [ "$created" -eq 1 ]; then
    # The program's own user and database; the program creates its tables on the first connection.
    PGPASSWORD="$password" run "$bindir/psql" -q -h "$socket_dir" -p "$port" -U postgres -d postgres \
        -v ON_ERROR_STOP=1 -v pw="$password" <<'EOF'
CREATE ROLE vastrel LOGIN PASSWORD :'pw';
CREATE DATABASE vastrel OWNER vastrel;
EOF
fi
# The login that may only read, made on a cluster of an earlier version too: it reads every
# database of the cluster (pg_read_all_data), the program's tables made later included.
PGPASSWORD="$password" run "$bindir/psql" -q -h "$socket_dir" -p "$port" -U postgres -d postgres \
    -v ON_ERROR_STOP=1 -v pw="$read_password" <<'EOF'
SELECT format('CREATE ROLE vastrel_lesen LOGIN PASSWORD %L IN ROLE pg_read_all_data', :'pw')
WHERE NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'vastrel_lesen') \gexec
EOF

host=$(hostname -I 2>/dev/null | awk '{print $1}')
[ "$listen" != '*' ] && host="${listen%%,*}"
echo "Der Server läuft (Ordner $dir)."
echo "Adresse für die Stationen: postgresql://vastrel:$password@${host:-localhost}:$port/vastrel"
echo "Adresse nur zum Lesen (Anzeigen, Ergebnisse): postgresql://vastrel_lesen:$read_password@${host:-localhost}:$port/vastrel"
