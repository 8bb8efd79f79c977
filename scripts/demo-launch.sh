#!/usr/bin/env bash
# Launches Quillon for one port of a running nembra-sim the way a Nembra
# launcher does: over automation, first SetFreqRange with the port's frequency
# range, then LaunchORBWithThreshNames with its label and threshold names (all
# read from the database with nembra-sim --port-info). Waits until Quillon
# ends. Without a session bus it runs under a private one.
#
#   demo-launch.sh BUILD_DIR DB ADDRESS NODE TOKEN
set -euo pipefail
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  exec dbus-run-session -- "$0" "$@"
fi
[ $# -eq 5 ] || { echo "usage: demo-launch.sh BUILD_DIR DB ADDRESS NODE TOKEN" >&2; exit 2; }
build=$1 db=$2 address=$3 node=$4 token=$5
here=$(cd "$(dirname "$0")" && pwd)
data_class='{E1E1F603-5464-11D1-B74D-00A0C909E2DC}'

mapfile -t info < <("$build/sim/nembra-sim" --db "$db" --port-info "$node")
[ ${#info[@]} -eq 7 ] || { echo "demo-launch.sh: no port $node in $db" >&2; exit 1; }
label=${info[0]} low=${info[1]} high=${info[2]}
# The names as a GVariant array of strings, quotes and backslashes escaped.
names=
for n in "${info[@]:3}"; do
  n=${n//\\/\\\\}
  names+="${names:+, }'${n//\'/\\\'}'"
done

"$build/quillon" &
quillon=$!
dest=org.veltrix.Quillon.i$quillon
for _ in $(seq 1 300); do
  gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.NameHasOwner "$dest" 2>/dev/null | grep -q true && break
  kill -0 "$quillon" 2>/dev/null || { echo "demo-launch.sh: quillon ended before it was ready" >&2; exit 1; }
  sleep 0.1
done
"$here/quillon-call.sh" --dest "$dest" SetFreqRange "$low" "$high" > /dev/null
"$here/quillon-call.sh" --dest "$dest" LaunchORBWithThreshNames "$node" "$data_class" "$address" "$token" \
  "$label" 0 "[$names]" > /dev/null
wait "$quillon"
