#!/usr/bin/env bash
# Calls an automation method of a running Quillon, or starts one and calls it,
# so a launcher needs no D-Bus code of its own. Needs gdbus (libglib2.0-bin).
#
#   quillon-call.sh list
#   quillon-call.sh [--dest BUSNAME] METHOD ARG...
#   quillon-call.sh --start [--exec PROGRAM] METHOD ARG...
#
# Every Quillon owns the session-bus name org.veltrix.Quillon.i<pid> and
# exports /Document with the interface QuillonView.Document. Without --dest the
# call goes to the only running instance. --start runs PROGRAM (default:
# $QUILLON, else quillon from PATH), waits until it is on the bus (up to
# $QUILLON_START_TIMEOUT seconds, default 30), calls it and leaves it running.
#
# Arguments follow the method's parameter order; gdbus converts each by the
# method's signature:
#   LaunchORB                      node serverClass host token label levelUnits
#   LaunchWithDates                node serverClass host token label start end levelUnits
#   LaunchORBWithThreshNames       node serverClass host token label levelUnits names
#   LaunchWithDatesAndThreshNames  node serverClass host token label start end levelUnits names
#   SetFreqRange                   low high
# node and token are 32-bit integers; levelUnits is 0 (dBmV), 1 (dBm) or 2
# (dBuV); start and end are date values (days since 1899-12-30 UTC, 45260.5 is
# 2023-11-30 12:00); low and high are MHz; names is an array in GVariant text,
# "['Low', 'High', 'Minor', 'Major']". A text that is itself GVariant text
# (such as 'x' with the quotes) is read as such: write it as "\"'x'\"".
#
# Example, as a launcher opens port 3 on a running instance:
#   quillon-call.sh LaunchORB 3 '{E1E1F603-5464-11D1-B74D-00A0C909E2DC}' \
#       127.0.0.1 1001 'Port 3' 0
# which is:
#   gdbus call --session --dest org.veltrix.Quillon.i<pid> --object-path /Document \
#       --method QuillonView.Document.LaunchORB \
#       3 '{E1E1F603-5464-11D1-B74D-00A0C909E2DC}' 127.0.0.1 1001 'Port 3' 0
set -euo pipefail

prefix=org.veltrix.Quillon.i
fail() { echo "quillon-call.sh: $*" >&2; exit 1; }
command -v gdbus >/dev/null || fail "gdbus is missing (Debian package libglib2.0-bin)"

bus() {
  gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method "org.freedesktop.DBus.$1" "${@:2}"
}
instances() { bus ListNames | grep -o "'$prefix[0-9]*'" | tr -d "'" | sort || true; }

dest=""
start=""
program=${QUILLON:-quillon}
while [ $# -gt 0 ]; do
  case "$1" in
    list) instances; exit 0 ;;
    --dest) [ $# -ge 2 ] || fail "--dest needs a bus name"; dest=$2; shift 2 ;;
    --start) start=1; shift ;;
    --exec) [ $# -ge 2 ] || fail "--exec needs a program"; program=$2; shift 2 ;;
    -h|--help) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    -*) fail "unknown option $1" ;;
    *) break ;;
  esac
done
[ $# -ge 1 ] || fail "no method given (see --help)"
method=$1
shift

if [ -n "$start" ]; then
  "$program" </dev/null >/dev/null 2>&1 &
  pid=$!
  dest=$prefix$pid
  deadline=$((SECONDS + ${QUILLON_START_TIMEOUT:-30}))
  until bus NameHasOwner "$dest" | grep -q true; do
    kill -0 "$pid" 2>/dev/null || fail "$program ended before it was ready"
    [ $SECONDS -lt $deadline ] || fail "$program did not appear on the session bus as $dest"
    sleep 0.2
  done
elif [ -z "$dest" ]; then
  mapfile -t running < <(instances)
  [ ${#running[@]} -gt 0 ] || fail "no Quillon is running (use --start)"
  [ ${#running[@]} -eq 1 ] || fail "several Quillons are running, choose one with --dest: ${running[*]}"
  dest=${running[0]}
fi

exec gdbus call --session --dest "$dest" --object-path /Document \
  --method "QuillonView.Document.$method" "$@"
