#!/bin/bash
# The Debian package as a user gets it: built by CPack from this build into a scratch
# folder; its file list, dependencies, lintian, the desktop entry, the AppStream metadata
# and the manual pages checked; then unpacked (dpkg -x) and run from there, where it must
# find its data, keep its logs in the state folder and write nothing beside itself (when
# the tests run as root, as in CI, that folder is writable: all the better a test).
#   check_package.sh CPACK_CONFIG WORK_FOLDER VERSION BUILD REGISTRIES
# Exit status: 0 passed, 1 a check failed, 77 skipped (not a Debian system, or no registries
# to package: then make package fails, as it should).
set -u
config=$1
work=$2
version=$3
build=$4
registries=$5
command -v dpkg-deb >/dev/null || { echo "dpkg-deb missing (not a Debian system): skipped"; exit 77; }
[ -f "$registries/original_network_id.csv" ] || {
    echo "no registries in $registries: no package can be built, skipped"
    exit 77
}
for tool in cpack lintian desktop-file-validate appstreamcli dpkg-shlibdeps readelf man; do
    command -v "$tool" >/dev/null || { echo "$tool missing: scripts/install-deps installs it"; exit 1; }
done
rm -rf "$work"
mkdir -p "$work"

# shellcheck source=../../scripts/checks.sh
. "$(dirname "$0")/../../scripts/checks.sh"
started=$SECONDS
step() { echo "-- $1 ($((SECONDS - started)) s)"; }

step "cpack"
cpack --config "$config" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb=$work/out/kestrel_${version}-${build}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "no $deb:"; ls "$work/out"; exit 1; }
echo "$deb: $(stat -c %s "$deb") bytes"

step "contents"
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||' >"$work/contents"
for path in usr/bin/kestrel usr/bin/kestrel-cli usr/share/kestrel/satellitecfg.txt \
    usr/share/kestrel/registries/original_network_id.csv usr/share/kestrel/registries/ca_system_id.csv \
    usr/share/kestrel/demo/demo.manifest usr/share/applications/kestrel.desktop \
    usr/share/icons/hicolor/scalable/apps/kestrel.svg usr/share/icons/hicolor/48x48/apps/kestrel.png \
    usr/share/icons/hicolor/128x128/apps/kestrel.png usr/share/icons/hicolor/256x256/apps/kestrel.png \
    usr/share/man/man1/kestrel.1.gz usr/share/man/man1/kestrel-cli.1.gz \
    usr/share/bash-completion/completions/kestrel-cli usr/share/doc/kestrel/copyright \
    usr/share/doc/kestrel/changelog.Debian.gz; do
    check "the package holds $path" grep -qx "$path" "$work/contents"
done
check "the package holds AppStream metadata" grep -q '^usr/share/metainfo/.*\.metainfo\.xml$' "$work/contents"
check "the package's programs are kestrel and kestrel-cli only" \
    test "$(grep '^usr/bin/.' "$work/contents" | paste -sd ' ')" = "usr/bin/kestrel usr/bin/kestrel-cli"
check "the package's version is $version-$build" test "$(dpkg-deb -f "$deb" Version)" = "$version-$build"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
check "its dependencies are computed (Qt Widgets, SQLite)" \
    grep -q 'libqt6widgets6.*libsqlite3-0\|libsqlite3-0.*libqt6widgets6' <<<"$depends"

step "lintian"
lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1
sed 's/^/   lintian: /' "$work/lintian.log"
check "lintian reports no error" bash -c "! grep -q '^E:' '$work/lintian.log'"

step "unpacked"
root=$(realpath -m "$work/root")
dpkg -x "$deb" "$root"
check "the desktop entry is valid" desktop-file-validate "$root/usr/share/applications/kestrel.desktop"
metainfo=$(ls "$root"/usr/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1
status=$?
sed 's/^/   appstream: /' "$work/appstream.log"
check "the AppStream metadata is valid, without warnings" \
    bash -c "[ $status -eq 0 ] && ! grep -q '^[EW]:' '$work/appstream.log'"
check "the binaries are stripped" bash -c "! readelf -S '$root/usr/bin/kestrel' '$root/usr/bin/kestrel-cli' | grep -q symtab"

# The manual page of kestrel-cli renders without warnings and names every command and
# option of the program's help.
cli=$root/usr/bin/kestrel-cli
manual=$(MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/kestrel-cli.1.gz" 2>"$work/man.err")
check "kestrel-cli(1) renders without warnings" test ! -s "$work/man.err"
cat "$work/man.err"
for command in $("$cli" --help | sed -nE '/^commands:/,/^$/s/^  ([a-z][^ ]*) .*/\1/p'); do
    for option in $("$cli" "$command" --help | grep -oE -- '--[a-z][a-z0-9-]*' | sort -u); do
        grep -qF -- "$option" <<<"$manual" || { echo "FAIL kestrel-cli(1) lacks $command $option"; failures=$((failures + 1)); }
    done
    check "kestrel-cli(1) describes $command" grep -q "kestrel-cli $command" <<<"$manual"
done

# Run from another folder, with its own home: data from the package, logs in the state
# folder, settings in the home, nothing written beside the programs.
home=$work/home
elsewhere=$work/elsewhere
mkdir -p "$home" "$elsewhere"
(cd "$root" && find . -printf '%p %s %T@\n' | sort) >"$work/before"
run() { (cd "$elsewhere" && env -u XDG_STATE_HOME -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$home" "$@"); }
check "kestrel-cli --version says $version (build $build)" \
    test "$(run "$cli" --version)" = "kestrel-cli $version (build $build)"
check "kestrel --version says $version (build $build)" \
    test "$(run "$root/usr/bin/kestrel" --version)" = "kestrel $version (build $build)"
run "$cli" --trace-level 2 scan --card demo --quiet >"$work/scan.out" 2>"$work/scan.err"
status=$?
check "kestrel-cli scan --card demo --quiet succeeds" test $status -eq 0
check "the scan lists the demo network" grep -q '^2F00 - ' "$work/scan.out"
check "the installed satellite list is read" \
    grep -q "satellite list: $root/usr/share/kestrel/satellitecfg.txt" "$work/scan.err"
check "the logs go to ~/.local/state/kestrel" \
    test -s "$home/.local/state/kestrel/kestrel-cli.txt" -a -s "$home/.local/state/kestrel/kestrel1.txt"
mkdir -p "$home/.config/kestrel"
echo '"Scratch Sat",192,11778,1,27500,3' >"$home/.config/kestrel/satellitecfg.txt"
run "$cli" --trace-level 1 scan --card demo --quiet --values >"$work/values.out" 2>"$work/values.err"
check "the user's satellite list comes first, said at trace level 1" \
    grep -q "satellite list: $home/.config/kestrel/satellitecfg.txt" "$work/values.err"
check "the registries come from the package (CA system 0x0B00 is named)" grep -q "SYS_ID = 0B00 - Conax" "$work/values.out"
(cd "$root" && find . -printf '%p %s %T@\n' | sort) >"$work/after"
check "nothing was written beside the programs" diff "$work/before" "$work/after"
check "nothing was written in the working folder" test -z "$(ls -A "$elsewhere")"

step "done"
[ "$failures" -eq 0 ] && echo "package checks: all passed"
[ "$failures" -eq 0 ]
