# Sourced by the whole-program tests: a work folder removed at exit, the demo
# database, the demo identity in its own settings folder, and nembra-sim
# serving it on a free loopback port ($address). Needs $build.
work=$(mktemp -d)
sim_pid=
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

"$build/sim/nembra-sim" --db "$work/demo.db" --seed-demo --quiet
# Off loopback without a certificate it refuses to serve, saying why.
timeout 20 "$build/sim/nembra-sim" --db "$work/demo.db" --listen 0.0.0.0:0 --scan-interval 0 >"$work/refused" 2>&1 &&
  exit 1
grep -q 'without TLS' "$work/refused" || { echo "nembra-sim served plaintext off loopback"; exit 1; }
echo nembra-demo | "$build/quillon-setup-identity" --config-dir "$work/xdg" --user demo
"$build/sim/nembra-sim" --db "$work/demo.db" --listen 127.0.0.1:0 --quiet > "$work/sim.out" &
sim_pid=$!
for _ in $(seq 1 100); do grep -q 'listening on' "$work/sim.out" 2>/dev/null && break; sleep 0.1; done
address=$(sed -n 's/^nembra-sim listening on //p' "$work/sim.out")
[ -n "$address" ] || { echo "nembra-sim did not start"; exit 1; }
