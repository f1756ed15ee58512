#!/bin/bash
# Windows smoke test: cross-builds zav.exe and a fake TShark with MinGW-w64
# and runs them under Wine, headless, in a throw-away Wine prefix, for what
# differs on Windows: TShark lines quoted for cmd.exe /c (blanks and & ^ %
# in the paths, a pipe tail), colours off on a pipe, WIN commands and plain
# lines in cmd.exe, a LIST run, *AF* over a directory, and the history file
# written with CR LF and read back; -j 4 reading as one run after another,
# a tail receiving the runs in order, and Ctrl-C ending every run. Then the
# packages: the ZIP, and the NSIS installer installed silently, run, and
# uninstalled.
#
# Usage: tests/windows/smoke_test.sh [build-dir]    (default: build-windows)
# Needs: g++-mingw-w64-x86-64-posix, wine64, cmake, nsis, unzip.
set -euo pipefail
cd "$(dirname "$0")/../.."
build_dir=${1:-build-windows}
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
[ -x "$wine" ] || { echo "smoke test: wine64 is not installed (apt-get install wine64)"; exit 1; }

echo "== Cross-building zav.exe and the fake TShark in $build_dir"
cmake -S . -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DZAV_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j2 >/dev/null
zav_exe=$(cd "$build_dir" && pwd)/zav.exe
work=$(mktemp -d /tmp/zav-windows-smoke.XXXXXX)
# Blanks in the TShark path, the capture directory and the capture name, and
# in the name what cmd.exe would act on outside quotes.
tools="$work/fake tshark" captures="$work/my caps" capture='a b&c^d%e.pcap' shell=$work/shell
mkdir -p "$tools" "$captures/subdirectory" "$shell"
x86_64-w64-mingw32-gcc-posix -O2 -Wall -Wextra -static -o "$tools/tshark.exe" tests/windows/fake_tshark.c
x86_64-w64-mingw32-gcc-posix -O2 -Wall -Wextra -static -o "$shell/ctrl_c.exe" tests/windows/ctrl_c.c
# No menu entries on the host for what the installer puts in the Start menu.
export WINEPREFIX=$work/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY
trap '"$wineserver" -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
echo "== Creating a Wine prefix"
timeout 300 "$wine" wineboot --init >"$work/wineboot.log" 2>&1 ||
  { echo "smoke test: wineboot failed:"; cat "$work/wineboot.log"; exit 1; }

# Wine sees the Unix root as drive Z:.
caps=Z:${captures//\//\\}\\ tshark=Z:${tools//\//\\}\\tshark.exe
printf 'not a real capture\n' | tee "$captures/$capture" >"$captures/c.pcap"
printf 'ip.addr == 10.0.0.%s\n' 7 8 >"$shell/hosts.lst"
printf '%s\r\n' '<ZAV CONFIGURATION FILE>' 'ZAV_CMD_FILE_PATH = LOCAL;' 'LOAD_CMD_ZAV_FILE = TRUE;' \
  "TSHARK_EXE_PATH = $tshark;" "PCAP_DIR_PATH = $caps;" "DEFAULT_PCAP_NAME = $capture;" \
  'HISTORY_DIR_PATH = LOCAL;' 'LOAD_HISTORY_FILE = TRUE;' >"$shell/ZAV.cfg"
printf '%s\r\n' '<ZAV CONTROL COMMANDS>' 'ZAV() {' 'NAME = dns' 'LOGIC = -Y "ip.addr == [%_ARG_%]"' 'INFO = i' \
  '}' 'ZAV() {' 'NAME = each' 'LOGIC = -Y "[%_LIST<hosts.lst>_%]"' 'INFO = i' '}' 'WIN() {' 'NAME = wdir' \
  'LOGIC = echo win-[%_ARG_%]&echo via-cmd' 'INFO = i' '}' >"$shell/CMD.zav"

failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }
# check <what it shows> <command...>: the command succeeds.
check() { if "${@:2}"; then echo "ok: $1"; else fail "$1"; fi; }
# Runs zav.exe in $shell on the lines given; leaves in $out its output after
# the banner, CR LF turned into LF (a lone CR stays, so a CR kept in a
# history entry shows).
run_zav() {
  printf '%s\n' "$@" >"$shell/stdin.txt"
  (cd "$shell" && timeout 120 "$wine" "$zav_exe" ${zav_args[@]+"${zav_args[@]}"} <stdin.txt >stdout.raw 2>stderr.raw) || fail "zav.exe ended badly"
  out=$(tail -n +10 "$shell/stdout.raw" | sed 's/\r$//')
}
# expect <what it shows> <line>...: each is a whole line of the output.
expect() {
  local what=$1 line
  shift
  for line; do
    grep -qxF -- "$line" <<<"$out" || { fail "$what: no line $(printf %q "$line") in:"; printf '%s\n' "$out"; return; }
  done
  echo "ok: $what"
}

typed=('dns 10.0.0.1' "dns 10.0.0.2 | \"$tshark\" tail" 'wdir hello' 'echo plain-line&echo cmd-and' 'each'
  'setpcap *AF*' 'dns 10.0.0.3' 'exit')
run_zav "${typed[@]}"
check "no colour on a pipe" test "${out//$'\e'/}" = "$out"
expect "TShark gets the capture path and the text as its arguments" "[-r][$caps$capture][-Y][ip.addr == 10.0.0.1]"
check "a pipe tail takes TShark's output" test "${out//10.0.0.2/}" = "$out"
expect "a pipe tail runs inside the outer quotes" "[tail]"
expect "a WIN command and a plain line run in cmd.exe" win-hello via-cmd plain-line cmd-and
expect "a LIST command runs once per item" "[-r][$caps$capture][-Y][ip.addr == 10.0.0.7]" \
  "[-r][$caps$capture][-Y][ip.addr == 10.0.0.8]"
expect "*AF* runs once per file" "[ Working with file: $caps$capture ]" "[ Working with file: ${caps}c.pcap ]" \
  "[-r][${caps}c.pcap][-Y][ip.addr == 10.0.0.3]"
check "the history file is written in CR LF" cmp <(printf '%s\r\n' "${typed[@]}") "$shell/.zav_history"
run_zav history exit
expect "the history file is read back without its CRs" "0: dns 10.0.0.1" "6: dns 10.0.0.3" "8: history"

# Side by side: the first capture's run is the slowest.
printf 'not a real capture\n' >"$captures/d.pcap"
typed=('setpcap *AF*' 'dns first-slow' 'dns first-slow >> all.txt' 'exit')
zav_args=() && run_zav "${typed[@]}" && one_by_one=$out
zav_args=(-j 4) && run_zav "${typed[@]}"
check "-j 4 reads as one run after another" test "$out" = "$one_by_one"
check "a tail gets the runs in order" test "$(head -n 3 "$shell/all.txt" | sed 's/\r$//')" = \
  "$(printf '[-r][%s][-Y][ip.addr == first-slow]\n' "$caps$capture" "${caps}c.pcap" "${caps}d.pcap")"
zav_args=()
(cd "$shell" && timeout 120 "$wine" ctrl_c.exe hanging.txt "$zav_exe" -j 2 -c 'setpcap *AF*' \
  -c 'dns hang' -c 'echo after-hang' >ctrl_c.raw 2>&1) && status=0 || status=$?
check "Ctrl-C ends -c lines with status 130" test "$status" = 130
check "Ctrl-C is reported, the rest dropped" sh -c "grep -q '+ Interrupted.' '$shell/ctrl_c.raw' && ! grep -q after-hang '$shell/ctrl_c.raw'"
check "no run outlives Ctrl-C" sh -c "sleep 1; ! ps -eo stat=,args= | grep -v '^Z' | grep -q '[t]shark.exe'"

echo "== Packaging the ZIP and the installer"
(cd "$build_dir" && cpack >/dev/null)
unzip -q "$build_dir"/zav-*-win64.zip -d "$work/zip"
root=$(echo "$work"/zip/zav-*-win64) bundled=(KERNEL32.dll USER32.dll msvcrt.dll)
check "the ZIP holds zav.exe, the examples with captures, the docs and the licence" test -f \
  "$root/bin/zav.exe" -a -f "$root/share/zav/examples/captures/sample.pcap" -a -f "$root/LICENSE.txt" \
  -a -f "$root/share/doc/zav/docs/definition-language.md"
check "zav.exe needs no DLL beyond Windows's own" test "$(x86_64-w64-mingw32-objdump -p "$root/bin/zav.exe" |
  sed -n 's/.*DLL Name: //p' | LC_ALL=C sort | tr '\n' ' ')" = "${bundled[*]} "
# Runs a program under Wine with the given arguments; $out is its output, LF.
wine_out() { out=$(timeout 120 "$wine" "$@" 2>&1 | sed 's/\r$//') || fail "$1 ended badly"; }
examples=Z:${root//\//\\}\\share\\zav\\examples
wine_out "$root/bin/zav.exe" -C "$examples" -c getpcap -c captures -c 'setpcap *AF*' -c capinfo_current
expect "the ZIP's zav.exe runs in its examples" "+ Current pcap file name is: sample.pcap" \
  "No single capture is selected."
check "the cmd.exe form of \"captures\" lists %ZAV_PCAP_DIR%" grep -q ' sample\.pcap$' <<<"$out"
check "nothing is written into the installed examples" test ! -e "$root/share/zav/examples/.zav_history"

installed="$WINEPREFIX/drive_c/Program Files/ZAV"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/ZAV"
check "the installer runs silently" timeout 120 "$wine" "$(echo "$build_dir"/zav-*-win64.exe)" /S
check "it installs into Program Files, with a Start-menu entry" test -f "$installed/bin/zav.exe" -a -f "$menu/ZAV.lnk"
wine_out 'C:\Program Files\ZAV\bin\zav.exe' -C 'C:\Program Files\ZAV\share\zav\examples' -c getpcap
expect "the installed zav.exe runs in the installed examples" "+ Current pcap file name is: sample.pcap"
workspace="$WINEPREFIX/drive_c/users/$(id -un)/ZAV"
if ! grep -q -- --init <<<"$(timeout 60 "$wine" "$installed/bin/zav.exe" --help 2>&1)"; then
  echo "note: this zav.exe has no --init: the launcher is tried on a copy of the examples"
  cp -r "$installed/share/zav/examples" "$workspace"
fi
out=$(printf 'getpcap\nexit\n' | timeout 120 "$wine" cmd /c 'C:\Program Files\ZAV\bin\zav-workspace.cmd' | sed 's/\r$//') ||
  fail "the Start-menu entry ended badly"
expect "the Start-menu entry opens ZAV" "+ Current pcap file name is: sample.pcap"
check "... in the user's own workspace, %USERPROFILE%\\ZAV" test -f "$workspace/.zav_history"
check "the uninstaller runs silently" timeout 120 "$wine" 'C:\Program Files\ZAV\Uninstall.exe' /S
"$wineserver" -w  # the uninstaller goes on in a copy of itself; this also saves the registry
check "uninstalling removes the files, the Start-menu entry and the registry keys" \
  test ! -e "$installed" -a ! -e "$menu" -a -z "$(grep -i 'zav' "$WINEPREFIX/system.reg")"

[ "$failures" -eq 0 ] || { echo "Windows smoke test: $failures check(s) FAILED"; exit 1; }
echo "Windows smoke test: all checks passed"
