#!/usr/bin/env bash
# Usage: package-test.sh BUILD_DIR VERSION
# Makes the package with cpack into a temporary folder, checks what it holds
# and how it describes itself, unpacks it with dpkg-deb -x (nothing is
# installed on the machine) and runs the unpacked programs.
set -euo pipefail
build=$1 version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package test: $*" >&2; exit 1; }

cd "$build"
cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$work/out/quillon_${version}_amd64.deb
[ -f "$deb" ] || fail "no $(basename "$deb") in: $(ls "$work/out")"

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/files"
for f in /usr/bin/quillon /usr/bin/nembra-sim /usr/bin/quillon-setup-identity \
  /usr/share/quillon/help/quillon.html /usr/share/applications/quillon.desktop \
  /usr/share/metainfo/org.veltrix.Quillon.metainfo.xml \
  /usr/share/icons/hicolor/scalable/apps/quillon.svg /usr/share/icons/hicolor/256x256/apps/quillon.png \
  /usr/share/man/man1/quillon.1.gz /usr/share/man/man1/nembra-sim.1.gz \
  /usr/share/man/man1/quillon-setup-identity.1.gz \
  /usr/share/doc/quillon/copyright /usr/share/doc/quillon/changelog.gz /usr/lib/quillon/modules/quillon-transport.so \
  /usr/lib/quillon/modules/quillon-surface3d.so; do
  grep -qx "$f" "$work/files" || fail "$f is not in the package"
done
# Nothing of the build (tests, benchmarks, libraries) comes along; the
# transport (loaded on connecting) and the 3D surface (loaded with the first
# 3D report) are its private modules.
extra=$(grep -v -e '/$' -e '^/usr/share/\(applications\|metainfo\|icons\|man\|doc\|quillon\)/' \
  -e '^/usr/bin/\(quillon\|nembra-sim\|quillon-setup-identity\)$' -e '^/usr/lib/quillon/modules/quillon-\(transport\|surface3d\)\.so$' \
  "$work/files" || true)
[ -z "$extra" ] || fail "unexpected files: $extra"

control() { dpkg-deb -f "$deb" "$1"; }
[ "$(control Version)" = "$version" ] || fail "Version is $(control Version)"
[ "$(control Section)" = "net" ] || fail "Section is $(control Section)"
control Maintainer | grep -q '<.*@.*>' || fail "no maintainer address"
# Found by dpkg-shlibdeps from what the programs link.
for lib in libqt6widgets6 libqt6datavisualization6 libgrpc++ libsqlite3 libc6; do
  control Depends | grep -q "$lib" || fail "Depends lacks $lib: $(control Depends)"
done

root=$work/root
dpkg-deb -x "$deb" "$root"
appstreamcli validate --no-net --no-color "$root/usr/share/metainfo/org.veltrix.Quillon.metainfo.xml"
desktop-file-validate "$root/usr/share/applications/quillon.desktop"
file "$root/usr/share/icons/hicolor/256x256/apps/quillon.png" | grep -q '256 x 256' || fail "icon is not 256 px"
zcat "$root/usr/share/man/man1/quillon.1.gz" | grep -q '^\.SH SYNOPSIS' || fail "quillon.1 has no synopsis"
zcat "$root/usr/share/man/man1/quillon.1.gz" | grep -q 'Regserver' || fail "quillon.1 lacks the switches"

# --version and --help answer with no display at all.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
[ "$("${nodisplay[@]}" "$root/usr/bin/quillon" --version)" = "quillon $version" ] || fail "quillon --version"
[ "$("$root/usr/bin/nembra-sim" --version)" = "nembra-sim $version" ] || fail "nembra-sim --version"
"${nodisplay[@]}" "$root/usr/bin/quillon" --help | grep -q '^Usage: quillon' || fail "quillon --help"

# The help is where the program looks, and /Regserver writes a valid
# per-user entry naming the unpacked program.
grep -q 'id="new-graph"' "$root/usr/share/quillon/help/quillon.html" || fail "help page"
XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=offscreen \
  "$root/usr/bin/quillon" /Regserver >/dev/null
desktop-file-validate "$work/data/applications/quillon.desktop"
grep -qx "Exec=$root/usr/bin/quillon" "$work/data/applications/quillon.desktop" || fail "per-user Exec"
echo "package test: $(basename "$deb") passed"
