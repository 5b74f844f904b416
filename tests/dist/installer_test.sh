#!/usr/bin/env bash
# The installer as a user runs it: tests/dist/installer_test.sh DIST_DIR E2E_TESTS_EXE VERSION
# A silent install puts tov.exe, tov.chm, tovtool.exe, the uninstaller, the Start-menu and
# Send To shortcuts and the uninstall entry in the user's own places; the installed program starts;
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
sendto="$(unixPath '%APPDATA%')/Microsoft/Windows/SendTo/tov 問題集に取り込む・確認する.lnk"
install=$local_app/Programs/tov
[ -n "$local_app" ] || { echo "FAIL: no user folder"; exit 1; }

# A Shell Link (.lnk) file: its target's path (from LinkInfo), its working
# folder and its arguments (from StringData), one a line; empty where the
# link has none.
u16() { od -An -tu2 -j"$2" -N2 "$1" | tr -d ' '; }
u32() { od -An -tu4 -j"$2" -N4 "$1" | tr -d ' '; }
# Text of at most $3 bytes at offset $2, up to its terminating zero if any.
ansiAt() {
    tail -c +$(($2 + 1)) "$1" | head -c "$3" | tr '\0' '\n' | head -n1 | iconv -f CP932 -t UTF-8
}
unicodeAt() {
    tail -c +$(($2 + 1)) "$1" | head -c "$3" | iconv -f UTF-16LE -t UTF-8 | tr '\0' '\n' | head -n1
}
shortcut() {
    local link=$1 flags offset=76 info target='' folder='' arguments='' unit=1 bit
    [ "$(u32 "$link" 0)" = 76 ] || return 1
    flags=$(u32 "$link" 20)
    ((flags & 0x1)) && offset=$((offset + 2 + $(u16 "$link" 76)))
    if ((flags & 0x2)); then
        info=$offset
        if (($(u32 "$link" $((info + 8))) & 0x1)); then
            if (($(u32 "$link" $((info + 4))) >= 0x24)); then
                target=$(unicodeAt "$link" $((info + $(u32 "$link" $((info + 28))))) 1040)
            else
                target=$(ansiAt "$link" $((info + $(u32 "$link" $((info + 16))))) 520)
                target+=$(ansiAt "$link" $((info + $(u32 "$link" $((info + 24))))) 520)
            fi
        fi
        offset=$((offset + $(u32 "$link" "$info")))
    fi
    ((flags & 0x80)) && unit=2
    for bit in 4 8; do # the name and the relative path come first
        ((flags & bit)) && offset=$((offset + 2 + unit * $(u16 "$link" "$offset")))
    done
    if ((flags & 0x10)); then
        if ((unit == 2)); then
            folder=$(unicodeAt "$link" $((offset + 2)) $((2 * $(u16 "$link" "$offset"))))
        else
            folder=$(ansiAt "$link" $((offset + 2)) "$(u16 "$link" "$offset")")
        fi
        offset=$((offset + 2 + unit * $(u16 "$link" "$offset")))
    fi
    if ((flags & 0x20)) && ((unit == 2)); then
        arguments=$(unicodeAt "$link" $((offset + 2)) $((2 * $(u16 "$link" "$offset"))))
    fi
    printf '%s\n%s\n%s\n' "$target" "$folder" "$arguments"
}
# Windows compares paths without case, and a folder with or without its last "\".
samePath() { [ "$(tr 'A-Z' 'a-z' <<<"${1%\\}")" = "$(tr 'A-Z' 'a-z' <<<"${2%\\}")" ]; }

# A set the user saved beside the install folder, before and after.
mkdir -p "$local_app/Programs"
saved=$local_app/Programs/mine.csv
cp "$here/../../dist/sample-set.csv" "$saved"

"$wine" "$dist/tov-$3-setup.exe" /S
for file in tov.exe tov.chm tovtool.exe uninstall.exe; do
    [ -f "$install/$file" ] || fail "$file not installed"
done
if [ -f "$programs/tov.lnk" ]; then
    # tov looks for tov.chm in the folder it was started in.
    { read -r target && read -r folder; } < <(shortcut "$programs/tov.lnk") ||
        fail "tov.lnk is no shortcut"
    samePath "${target:-}" "$install_windows\\tov.exe" ||
        fail "the shortcut starts '${target:-}', not the installed tov.exe"
    samePath "${folder:-}" "$install_windows" ||
        fail "the shortcut starts in '${folder:-}', not the install folder"
else
    fail "no Start-menu shortcut"
fi
# Send To gives tovtool.exe the selected files and nothing else.
if [ -f "$sendto" ]; then
    { read -r target && read -r folder && read -r arguments; } < <(shortcut "$sendto") ||
        fail "the Send To entry is no shortcut"
    samePath "${target:-}" "$install_windows\\tovtool.exe" ||
        fail "the Send To entry starts '${target:-}', not the installed tovtool.exe"
    [ -z "${arguments:-}" ] || fail "the Send To entry adds arguments of its own: $arguments"
    sent="$local_app/送った 問題"
    mkdir -p "$sent"
    printf '問題文,選択肢1,選択肢2,正解,解説文\r\nq,a,b,1,e\r\n' >"$sent/第3回 問題.csv"
    "$wine" "$install_windows\\tovtool.exe" "$(windowsPath '%LOCALAPPDATA%')\\送った 問題\\第3回 問題.csv" \
        </dev/null >/dev/null 2>&1
    [ -f "$sent/第3回 問題-tov.csv" ] || fail "a file sent to tovtool.exe was not imported beside it"
    rm -rf "$sent"
else
    fail "no Send To entry"
fi
cmp -s "$install/tov.exe" "$here/../../build/win/tov.exe" 2>/dev/null ||
    cmp -s "$install/tov.exe" "$(dirname "$e2e")/../../tov.exe" || fail "installed tov.exe differs"
"$wine" reg query "$key" /v UninstallString >/dev/null 2>&1 || fail "no uninstall entry"
"$wine" reg query "$key" /v DisplayIcon 2>/dev/null | grep -qi 'Programs\\tov\\tov.exe,0' ||
    fail "the uninstall entry does not show tov.exe's icon"

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
[ ! -e "$sendto" ] || fail "Send To entry left"
"$wine" reg query "$key" >/dev/null 2>&1 && fail "uninstall entry left"
cmp -s "$saved" "$here/../../dist/sample-set.csv" || fail "the user's saved set was changed or removed"
rm -f "$saved"

[ "$failures" -eq 0 ] && echo "installer: installed, started and removed cleanly"
exit $((failures > 0))
