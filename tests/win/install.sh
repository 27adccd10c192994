#!/usr/bin/env bash
# The packages under Wine. The zip, unpacked anywhere, runs as it is. The
# installer: a silent install into Program Files with a
# Start-menu entry, the installed program started from another folder (the
# smoke test, on the sample lists it finds beside itself), and a silent
# uninstall that leaves nothing behind. Run by CTest (the windows preset)
# inside the virtual X server of tools/test-windows.sh:
#
#   install.sh PACKAGES_FOLDER
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=SCRIPTDIR/../support/xwindow.sh
. "$here/../support/xwindow.sh"
setups=("$1"/mirawen-*-setup.exe)
zips=("$1"/mirawen-*-win64.zip)
setup=${setups[0]}
dir="$WINEPREFIX/drive_c/Program Files/Mirawen"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Mirawen"

make_work_dir
python3 -m zipfile -e "${zips[0]}" "$work"
programs=("$work"/*/mirawen.exe)
bash "$here/smoke.sh" "${programs[0]}" || fail "the unpacked zip did not work"

wine "$setup" /S || fail "the installer failed"
for file in mirawen.exe mirawen-lookup.exe mirawen-import.exe TOPhonetic.ttf LICENSE-DejaVu.txt README.txt \
  大学四级.txt 大学六级.txt uninstall.exe; do
  [[ -f $dir/$file ]] || fail "$file was not installed"
done
[[ -f $menu/Mirawen.lnk ]] || fail "no Start-menu entry"

bash "$here/smoke.sh" "$dir/mirawen.exe" || fail "the installed program did not work"

# The installed importer writes the same bytes as on Linux.
printf 'word,phonetic,translation,tag\nship,ʃɪp,n. 船\\nv. 运,cet4\nsink,sɪŋk,,cet6 gre\n' \
  >"$work/ecdict.csv"
wine "$dir/mirawen-import.exe" --dir "$work/lists" "$work/ecdict.csv" 2>"$work/report" ||
  fail "mirawen-import.exe failed: $(cat "$work/report")"
[[ $(od -An -tx1 "$work/lists/大学四级.txt" | tr -d ' \n') == \
  efbbbf$(printf 'ship [5ip] n. 船 v. 运\r\n' | od -An -tx1 | tr -d ' \n') ]] ||
  fail "mirawen-import.exe wrote another Band 4 list: $(od -c "$work/lists/大学四级.txt")"
grep -q '1 entry written to .*大学六级.txt' "$work/report" || fail "report: $(cat "$work/report")"

# The uninstaller copies itself away and returns at once: wait for its work.
wine "$dir/uninstall.exe" /S
for _ in $(seq 100); do
  [[ -e $dir || -e $menu ]] || break
  sleep 0.2
done
[[ ! -e $dir ]] || fail "the uninstaller left $(ls "$dir")"
[[ ! -e $menu ]] || fail "the uninstaller left the Start-menu entries"
echo "install: passed"
