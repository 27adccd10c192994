#!/usr/bin/env bash
# Builds the Debian package (build-package/mirawen_VERSION_amd64.deb) and
# checks it as a distribution would: the desktop entry and the AppStream file
# with their validators, the package with lintian, then the programs of the
# unpacked package, started from an empty folder, must find the bundled lists
# and font through $XDG_DATA_DIRS alone.
# A check reads "COMMAND && CONDITION || fail", so fail runs when either fails.
# shellcheck disable=SC2015
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=SCRIPTDIR/lib.sh
. tools/lib.sh

tools/install-deps.sh
# Beyond what building and testing need: the packaging tools and validators.
packages=(
  dpkg-dev # dpkg-shlibdeps: the package's dependencies
  desktop-file-utils appstream lintian
)
ensure_packages "${packages[@]}"

# The package preset (Release, no tests), with Debian's own hardening flags
# and file names relative to the source tree.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
build="build-package"
configure package \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build --preset package
rm -f "$build"/mirawen_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/mirawen_*_amd64.deb)
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
echo "package: built $deb"

failures=()
fail() {
  echo "package: FAILED: $*" >&2
  failures+=("$1")
}

make_work_dir
dpkg-deb -x "$deb" "$work/pkg"
share=$work/pkg/usr/share

out=$(desktop-file-validate "$share/applications/org.example.mirawen.desktop" 2>&1) || true
[[ -z $out ]] || fail "desktop-file-validate" "$out"
out=$(appstreamcli validate --no-net "$share/metainfo/org.example.mirawen.metainfo.xml" 2>&1) &&
  [[ $out == *"Validation was successful."* && $(wc -l <<<"$out") -eq 1 ]] ||
  fail "appstreamcli validate" "$out"

# Warnings are printed for the record; an error fails the check.
status=0
out=$(lintian --fail-on error "$deb" 2>&1) || status=$?
grep -v 'running with root privileges' <<<"$out" || true
((status == 0)) || fail "lintian" "status $status"

# The installed programs, from an empty folder, with an empty home.
mkdir "$work/home" "$work/empty"
run() {
  (cd "$work/empty" && env -i PATH=/usr/bin:/bin HOME="$work/home" XDG_DATA_HOME= \
    XDG_DATA_DIRS="$share" "$@")
}
status=0
out=$(run "$work/pkg/usr/bin/mirawen-lookup" --ipa 5ip 2>&1) || status=$?
((status == 0)) && [[ $out == *"ship [ʃip]"* ]] ||
  fail "mirawen-lookup from an empty folder" "status $status: $out"
out=$(run "$work/pkg/usr/bin/mirawen-lookup" 2>&1 >/dev/null) && [[ -z $out ]] ||
  fail "mirawen-lookup: both sample lists" "$out"
out=$(run "$work/pkg/usr/bin/mirawen-lookup" --version) && [[ $out == "mirawen-lookup $version" ]] ||
  fail "mirawen-lookup --version" "$out"
out=$(run "$work/pkg/usr/bin/mirawen" --version 2>/dev/null) &&
  [[ $out == "Mirawen $version" ]] || fail "mirawen --version" "$out"
for program in mirawen mirawen-lookup; do
  out=$(run "$work/pkg/usr/bin/$program" --help 2>/dev/null) &&
    [[ $out == *"~/.local/share/mirawen"* ]] || fail "$program --help names the folders" "$out"
  # A full disk is an error, not a silent success.
  out=$(run "$work/pkg/usr/bin/$program" --version 2>&1 >/dev/full) &&
    fail "$program --version into a full disk" "status 0"
  [[ $out == *"write error"* ]] || fail "$program --version into a full disk" "$out"
done

# A learner's own lists: mirawen-import writes them to ~/.local/share/mirawen,
# and from then on they are read before the bundled ones.
printf 'word,phonetic,translation,tag\nship,/ʃɪp/,n. 船,cet4 cet6\n' >"$work/empty/tiny.csv"
out=$(run "$work/pkg/usr/bin/mirawen-import" tiny.csv 2>&1) && rm "$work/empty/tiny.csv" &&
  out=$(run "$work/pkg/usr/bin/mirawen-lookup" 2>&1) && [[ $out == "ship [5ip] n. 船 ④" ]] ||
  fail "mirawen-import, then mirawen-lookup reads the user's lists" "$out"
xvfb-run -a -s "-screen 0 1280x1024x24" tests/app/installed_window.sh "$work/pkg" ||
  fail "the installed window"

if ((${#failures[@]} > 0)); then
  echo "package: $deb FAILED ${#failures[@]} check(s): ${failures[*]}" >&2
  exit 1
fi
echo "package: $deb passes desktop-file-validate, appstreamcli, lintian (no errors)," \
  "and its programs, unpacked, find the bundled lists, the user's own lists and the font"
