#!/bin/bash
# Windows smoke test: cross-builds zav.exe and a fake TShark with MinGW-w64
# and runs them under Wine, headless, in a throw-away Wine prefix. It shows
# that on Windows the configuration is read and reported, a ZAV command
# reaches TShark with the capture path and the text as the intended
# arguments after cmd.exe's /c quote rule, WIN commands and plain lines run
# in cmd.exe, "*AF*" walks a directory, ulogic gets through the clipboard
# without a message, and the history file is written with CR LF and read
# back.
#
# Usage: tests/windows/smoke_test.sh [build-dir]    (default: build-windows)
# Needs: g++-mingw-w64-x86-64-posix, wine64, cmake.
set -euo pipefail
cd "$(dirname "$0")/../.."
source_dir=$PWD
build_dir=${1:-build-windows}

wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
[ -x "$wine" ] || { echo "smoke test: wine64 is not installed (apt-get install wine64)"; exit 1; }

echo "== Cross-building zav.exe and the fake TShark in $build_dir"
cmake -S . -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake" \
  -DZAV_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j2 >/dev/null
x86_64-w64-mingw32-gcc-posix -O2 -Wall -Wextra -static -o "$build_dir/fake_tshark.exe" \
  tests/windows/fake_tshark.c
zav_exe=$(cd "$build_dir" && pwd)/zav.exe

work=$(mktemp -d /tmp/zav-windows-smoke.XXXXXX)
export WINEPREFIX=$work/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
  "$wineserver" -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

# Wine sees the Unix root as drive Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

echo "== Creating a Wine prefix"
timeout 300 "$wine" wineboot --init >"$work/wineboot.log" 2>&1 ||
  { echo "smoke test: wineboot failed:"; cat "$work/wineboot.log"; exit 1; }

failures=0
fail() {
  echo "FAIL: $1"
  failures=$((failures + 1))
}

# Runs zav.exe in directory $1 with standard input $2; leaves the output,
# with the banner cut off and CR LF turned into LF (a lone CR stays, so a
# CR kept in a history entry shows), in $session_output.
run_zav() {
  local dir=$1 input=$2
  session_input=$input
  session_shown=no
  printf '%s' "$input" >"$dir/stdin.txt"
  if ! (cd "$dir" && timeout 120 "$wine" "$zav_exe" <stdin.txt >stdout.raw 2>stderr.raw); then
    fail "zav.exe did not end normally in $dir"
  fi
  session_output=$(tail -n +10 "$dir/stdout.raw" | sed 's/\r$//'; printf x)
  session_output=${session_output%x}
  session_stderr=$(cat "$dir/stderr.raw")
}

# Splits $session_output at each prompt "ZAV> " into $chunks: chunk 0 is
# what came before the first prompt, chunk n what the n-th typed line
# produced (ending with the line feed that starts the next prompt).
split_at_prompts() {
  chunks=()
  local rest=$session_output
  while [[ $rest == *"ZAV> "* ]]; do
    chunks+=("${rest%%"ZAV> "*}")
    rest=${rest#*"ZAV> "}
  done
  chunks+=("$rest")
}

# expect_chunk <n> <what it shows> <expected> [<also accepted>...]
expect_chunk() {
  local index=$1 what=$2
  shift 2
  local actual=${chunks[$index]-<no such output: the shell ended early>}
  for expected in "$@"; do
    if [[ $actual == "$expected" ]]; then
      echo "ok: $what"
      return
    fi
  done
  fail "$what"
  printf '  expected: %q\n' "$1"
  printf '  actual:   %q\n' "$actual"
  if [ "$session_shown" = no ]; then
    session_shown=yes
    printf '  whole output of this run (typed: %q):\n%s\n' "$session_input" "$session_output" |
      sed 's/^/    | /'
    [ -z "$session_stderr" ] || printf '  its standard error:\n%s\n' "$session_stderr" | sed 's/^/    | /'
  fi
}

# expect_file_bytes <file> <what it shows> <expected bytes>
expect_file_bytes() {
  local actual
  if [ ! -f "$1" ]; then
    fail "$2 (no file $1)"
    return
  fi
  actual=$(od -An -c "$1")
  if [[ $actual == "$(printf '%s' "$3" | od -An -c)" ]]; then
    echo "ok: $2"
  else
    fail "$2"
    printf '  expected bytes:\n%s\n' "$(printf '%s' "$3" | od -An -c)"
    printf '  actual bytes:\n%s\n' "$actual"
  fi
}

# ---------------------------------------------------------------------------
echo "== Configuration messages"
missing=$work/no-config
mkdir -p "$missing"
run_zav "$missing" $'exit\n'
split_at_prompts
expect_chunk 0 "a missing ZAV.cfg is reported" \
  $'\n+ File "ZAV.cfg" could not be opened.\n\n+ Configuration file ZAV.cfg is not conformant.\n\n'

faulty=$work/faulty-config
mkdir -p "$faulty"
printf '%s\r\n' '<ZAV CONFIGURATION FILE>' 'ZAV_CMD_FILE_PATH = LOCAL;' \
  'LOAD_CMD_ZAV_FILE = FALSE;' 'TSHARK_EXE_PATH = C:\Tools\tshark.exe;' \
  'PCAP_DIR_PATH = D:\caps\;' 'HISTORY_DIR_PATH = LOCAL;' 'LOAD_HISTORY_FILE = True;' \
  >"$faulty/ZAV.cfg"
run_zav "$faulty" $'getpcappath\nexit\n'
split_at_prompts
expect_chunk 0 "a CR LF ZAV.cfg without DEFAULT_PCAP_NAME and with a faulty switch is reported" \
  $'\n+ Configuration file ZAV.cfg is not conformant.\n\n+ The value of the parameter LOAD_HISTORY_FILE in the Configuration file ZAV.cfg is not conformant.\n\n'
expect_chunk 1 "a Windows directory value is read up to its semicolon" \
  $'\n+ Current pcap path is set to: D:\\caps\\\n\n'

# ---------------------------------------------------------------------------
# The workspace: blanks in the TShark path, the capture directory and the
# capture name, so quoting mistakes split arguments.
shell_dir=$work/shell
captures="$work/my caps"
tools="$work/fake tshark"
definitions=$work/defs
mkdir -p "$shell_dir" "$captures/subdirectory" "$tools" "$definitions"
cp "$build_dir/fake_tshark.exe" "$tools/tshark.exe"
# The capture name also holds what cmd.exe would act on outside quotes.
capture_name='a b&c^d%e.pcap'
printf 'not a real capture\n' >"$captures/$capture_name"
printf 'not a real capture\n' >"$captures/c.pcap"
capture_dir=$(windows_path "$captures")\\
printf '%s\r\n' '<ZAV CONFIGURATION FILE>' \
  "ZAV_CMD_FILE_PATH = $(windows_path "$definitions")\\;" 'LOAD_CMD_ZAV_FILE = TRUE;' \
  "TSHARK_EXE_PATH = $(windows_path "$tools")\\tshark.exe;" "PCAP_DIR_PATH = $capture_dir;" \
  "DEFAULT_PCAP_NAME = $capture_name;" 'HISTORY_DIR_PATH = LOCAL;' 'LOAD_HISTORY_FILE = TRUE;' \
  >"$shell_dir/ZAV.cfg"
printf '%s\r\n' '<ZAV CONTROL COMMANDS>' 'ZAV() {' '  NAME = dns' '  LOGIC = -Y "ip.addr == [%_ARG_%]"' \
  '  INFO = DNS traffic of one host' '}' '' 'WIN() {' '  NAME = wdir' \
  '  LOGIC = echo win-[%_ARG_%]&echo via-cmd' '  INFO = two commands joined by cmd.exe' '}' \
  >"$definitions/CMD.zav"

echo "== Commands, clipboard and history"
typed=('dns 10.0.0.1' 'wdir hello' 'echo plain-line&echo cmd-and' 'setpcap *AF*' 'dns 10.0.0.2'
  'ulogic dns' 'logic dns' 'exit')
input=''
for line in "${typed[@]}"; do
  input+=$line$'\n'
  # ulogic reads the new logic from the next input line.
  [ "$line" != 'ulogic dns' ] || input+=$'-Y "udp.port == 53"\n'
done
run_zav "$shell_dir" "$input"
split_at_prompts
expect_chunk 0 "ZAV.cfg with Windows paths and CMD.zav load without a message" $'\n'
expect_chunk 1 "a ZAV command gives TShark the capture path and the text as its arguments" \
  $'\n'"[-r][${capture_dir}$capture_name][-Y][ip.addr == 10.0.0.1]"$'\n\n'
expect_chunk 2 "a WIN command runs in cmd.exe" $'\nwin-hello\nvia-cmd\n\n'
expect_chunk 3 "a plain line runs in cmd.exe" $'\nplain-line\ncmd-and\n\n'
expect_chunk 4 "setpcap *AF* prints nothing" $'\n'
first_file=$'\n'"[ Working with file: ${capture_dir}$capture_name ]"$'\n\n'"[-r][${capture_dir}$capture_name][-Y][ip.addr == 10.0.0.2]"$'\n'
second_file=$'\n'"[ Working with file: ${capture_dir}c.pcap ]"$'\n\n'"[-r][${capture_dir}c.pcap][-Y][ip.addr == 10.0.0.2]"$'\n'
expect_chunk 5 "*AF* runs the command once per file and skips the subdirectory" \
  "$first_file$second_file"$'\n' "$second_file$first_file"$'\n'
expect_chunk 6 "ulogic goes through the clipboard without a message" \
  $'\nPlease enter new logic for ZAV/WIN CMD "dns": \n'
expect_chunk 7 "ulogic replaced the logic" $'\n  dns: -Y "udp.port == 53"\n\n'

history_bytes=''
for line in "${typed[@]}"; do history_bytes+=$line$'\r\n'; done
expect_file_bytes "$shell_dir/.zav_history" "the history file is written with CR LF" "$history_bytes"

run_zav "$shell_dir" $'history\nexit\n'
split_at_prompts
listing=$'\n'
number=0
for line in "${typed[@]}" history; do
  listing+="$number: $line"$'\n'
  number=$((number + 1))
done
expect_chunk 1 "the history file is read back without its CRs" "$listing"$'\n'
expect_file_bytes "$shell_dir/.zav_history" "the next run appends to the history file" \
  "$history_bytes"$'history\r\nexit\r\n'

# ---------------------------------------------------------------------------
if [ "$failures" -gt 0 ]; then
  echo "Windows smoke test: $failures check(s) FAILED"
  exit 1
fi
echo "Windows smoke test: all checks passed"
