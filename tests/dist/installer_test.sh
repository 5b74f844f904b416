#!/usr/bin/env bash
# The installer as a user runs it: tests/dist/installer_test.sh DIST_DIR E2E_TESTS_EXE
# A silent install puts tov.exe, tov.chm, tovtool.exe, the uninstaller, the shortcut and
# the uninstall entry in the user's own places; the installed program starts;
# a silent uninstall removes exactly those and leaves the user's sets alone.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dist=$(cd "$1" && pwd)
e2e=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
wine=$here/../../cmake/wine-run.sh
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\tov'
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

windowsPath() { "$wine" cmd /c echo "$1" | tr -d '\r'; }
unixPath() { winepath -u "$(windowsPath "$1")" 2>/dev/null; }
local_app=$(unixPath '%LOCALAPPDATA%')
install_windows="$(windowsPath '%LOCALAPPDATA%')\Programs\tov"
programs=$(unixPath '%APPDATA%')/Microsoft/Windows/Start\ Menu/Programs
install=$local_app/Programs/tov
[ -n "$local_app" ] || { echo "FAIL: no user folder"; exit 1; }

# A set the user saved beside the install folder, before and after.
mkdir -p "$local_app/Programs"
saved=$local_app/Programs/mine.csv
cp "$here/../../dist/sample-set.csv" "$saved"

"$wine" "$dist/tov-0.80-setup.exe" /S
for file in tov.exe tov.chm tovtool.exe uninstall.exe; do
    [ -f "$install/$file" ] || fail "$file not installed"
done
[ -f "$programs/tov.lnk" ] || fail "no Start-menu shortcut"
cmp -s "$install/tov.exe" "$here/../../build/win/tov.exe" 2>/dev/null ||
    cmp -s "$install/tov.exe" "$(dirname "$e2e")/../../tov.exe" || fail "installed tov.exe differs"
"$wine" reg query "$key" /v UninstallString >/dev/null 2>&1 || fail "no uninstall entry"

TOV_EXE="$install_windows\\tov.exe" "$wine" "$e2e" --gtest_filter='Program.OpensOnTheStartScreen' ||
    fail "the installed tov.exe did not open its window"

# The uninstaller copies itself away and returns at once: wait for it.
"$wine" "$install_windows\\uninstall.exe" /S
for _ in $(seq 100); do
    [ -e "$install" ] || break
    sleep 0.2
done
[ ! -e "$install" ] || fail "install folder left: $(ls "$install")"
[ ! -e "$programs/tov.lnk" ] || fail "shortcut left"
"$wine" reg query "$key" >/dev/null 2>&1 && fail "uninstall entry left"
cmp -s "$saved" "$here/../../dist/sample-set.csv" || fail "the user's saved set was changed or removed"
rm -f "$saved"

[ "$failures" -eq 0 ] && echo "installer: installed, started and removed cleanly"
exit $((failures > 0))
