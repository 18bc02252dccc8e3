#!/usr/bin/env bash
# Runs a command in a throwaway Wine session: a private prefix under build/
# whose C:\windows\system32\shutdown.exe is the project's recorder (so nothing
# started inside can act on this machine), an X display, and one persistent
# wineserver for the whole command.
#
#   scripts/wine-session.sh COMMAND [ARGS...]
#       prefix build/wine-test, on a private Xvfb display; for the tests
#       (for example: scripts/wine-session.sh ctest --preset windows)
#   scripts/wine-session.sh --run PROGRAM [ARGS...]
#       prefix build/wine-run; runs PROGRAM on $DISPLAY when there is one,
#       else on Xvfb with a screenshot in build/wine-run/screen.png; then
#       prints the command lines that the recorder caught
#
# The recorder appends every command line to shutdown-calls.txt in the
# prefix's folder (the environment variable QUELLOR_SHUTDOWN_LOG names it).
# QUELLOR_WINDOWS_BUILD names the build folder (default build/windows).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUELLOR_WINDOWS_BUILD:-$root/build/windows}"
recorder="$build/tests/windows/shutdown_recorder.exe"
identify_argument="--quellor-recorder-identify"
identity="quellor shutdown recorder"
identity_status=67 # the low byte of the recorder's identity exit code
screen="-screen 0 1024x768x24"

usage() {
  sed -n '2,/^set -euo/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//' >&2
  exit 2
}

die() {
  echo "wine-session: $*" >&2
  exit 1
}

windows_path() { # a Unix path as Wine's drive Z: shows it
  local path="$1"
  printf 'Z:%s' "${path//\//\\}"
}

setup_environment() { # mode
  if [[ "$1" == run ]]; then prefix="$root/build/wine-run"; else prefix="$root/build/wine-test"; fi
  export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all
  # No browser either: the home-page links must not reach this machine; nor
  # menu entries and icons for the shortcuts an installer makes.
  export WINEDLLOVERRIDES="mscoree,mshtml=;shutdown.exe=n;winebrowser.exe=d;winemenubuilder.exe=d"
  calls="$prefix/shutdown-calls.txt"
  QUELLOR_SHUTDOWN_LOG="$(windows_path "$calls")"
  export QUELLOR_SHUTDOWN_LOG
}

# A fresh prefix is made once; a prefix made by another Wine, or by an
# earlier version of this script, is made anew.
#
# Fonts: Wine's own fonts go into C:\windows\Fonts, all but its Tahoma. The
# tahomabd.ttf that Wine ships here has bold widths but regular strokes, and
# both Tahoma files carry bitmaps for small sizes that draw narrower than the
# outlines measure; with them, bold Tahoma text drew regular, captions the
# program centres sat left of centre, and some wrapped. Liberation Sans
# (Debian package fonts-liberation, with the widths of Arial) stands in for
# Tahoma, for the program and for Wine's own texts (title bars, tool tips);
# the program takes it for MS Sans Serif too, and Liberation Mono, which has
# the widths of Courier New, for Courier and Courier New.
prepare_prefix() {
  local marker="$prefix/.quellor-prefix" stamp log="$root/build/${prefix##*/}-boot.log" try
  stamp="$(wine --version 2>/dev/null) fonts=no-tahoma,liberation managed=N"
  if [[ -f "$marker" && -f "$prefix/system.reg" && "$(cat "$marker")" == "$stamp" ]]; then
    return 0
  fi
  echo "wine-session: preparing the Wine prefix $prefix" >&2
  if ! fc-list 'Liberation Sans' family 2>/dev/null | grep -q .; then
    echo "wine-session: the Liberation fonts are missing (Debian package fonts-liberation);" \
      "Wine will draw the windows with wider fonts" >&2
  fi
  # A CI machine once saw wineboot fail, and Wine commands there have printed
  # nothing now and then; so the prefix gets three tries, and what they
  # printed is kept in build/ and shown.
  for try in 1 2 3; do
    if make_prefix 4>&2 >"$log" 2>&1; then
      echo "$stamp" >"$marker"
      return 0
    fi
    echo "wine-session: making the prefix failed (try $try of 3); the end of $log:" >&2
    tail -n 20 "$log" | sed 's/^/  | /' >&2
  done
  die "could not make the Wine prefix $prefix"
}

# One try at a new prefix; says what went wrong and fails. What counts is the
# prefix that wineboot leaves (the registry saved, kernel32 in place), not its
# exit status alone; install_recorder checks afterwards that the prefix runs
# programs.
make_prefix() {
  local status=0 font
  stop_server
  rm -rf "$prefix"
  mkdir -p "$prefix"
  if [[ ! -O "$prefix" ]]; then
    echo "$prefix is not owned by $(id -un), and Wine refuses such a prefix"
    return 1
  fi
  wineboot -i </dev/null || status=$?
  wineserver -w || true
  if [[ ! -f "$prefix/system.reg" || ! -f "$prefix/user.reg" ||
    ! -f "$prefix/drive_c/windows/system32/kernel32.dll" ]]; then
    echo "wineboot -i ended with $status and made no prefix"
    return 1
  fi
  cut_home_links 2>&4 # its refusal ends the session and must be seen, not logged
  mkdir -p "$prefix/drive_c/windows/Fonts"
  for font in /usr/share/wine/fonts/*.ttf; do
    case "${font##*/}" in
      tahoma*.ttf) ;;
      *) cp "$font" "$prefix/drive_c/windows/Fonts/" || return 1 ;;
    esac
  done
  if ! wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Tahoma /t REG_SZ \
    /d 'Liberation Sans' /f </dev/null; then
    echo "cannot make Liberation Sans stand in for Tahoma"
    return 1
  fi
  if ! wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null; then
    echo "cannot set the X11 driver's Managed=N"
    return 1
  fi
  wineserver -w
}

# A new prefix links the user's Desktop, Documents and the other user folders
# to this machine's home, some of them deep under AppData (Templates). Each
# link is replaced by a real, empty folder inside the prefix, so nothing
# started in it can write into or delete from the machine's own files; the
# session refuses to go on if one is still a link.
cut_home_links() {
  local users="$prefix/drive_c/users" link
  [[ -d "$users" ]] || return 0
  while IFS= read -r -d '' link; do
    rm -f -- "$link" # the link alone, never what it points to
    mkdir -p -- "$link"
  done < <(find "$users" -type l -lname '/*' -print0)
  if find "$users" -type l -lname '/*' | grep -q .; then
    die "a user folder of $prefix still links outside the prefix"
  fi
}

# Puts the recorder in the place of the system's shutdown command and makes
# sure that it is what Wine runs; nothing is started before this holds.
install_recorder() {
  local target="$prefix/drive_c/windows/system32/shutdown.exe" out status try
  [[ -f "$recorder" ]] || die "no recorder at $recorder: build the Windows tree first" \
    "(cmake --preset windows && cmake --build --preset windows)"
  cmp -s "$recorder" "$target" || cp -f "$recorder" "$target"
  cmp -s "$recorder" "$target" || die "cannot install the recorder as $target"
  # Asked up to three times, for the Wine start that now and then fails on a
  # busy machine; nothing else runs until it has answered as the recorder.
  for try in 1 2 3; do
    set +e
    out="$(wine 'C:\windows\system32\shutdown.exe' "$identify_argument" </dev/null 2>/dev/null)"
    status=$?
    set -e
    [[ "$status" == "$identity_status" ]] && break
    sleep "$try"
  done
  [[ "$status" == "$identity_status" ]] ||
    die "C:\\windows\\system32\\shutdown.exe did not answer as the recorder (status $status)"
  if [[ -n "$out" && "$out" != *"$identity"* ]]; then
    die "C:\\windows\\system32\\shutdown.exe answered \"$out\", not as the recorder"
  fi
}

stop_server() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}

start_server() {
  stop_server # whatever an earlier session of this prefix left behind
  trap stop_server EXIT
  wineserver -p 9>&-
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# The part that runs with the display in place.
inside() { # mode command...
  local mode="$1" status=0
  shift
  setup_environment "$mode"
  prepare_prefix
  cut_home_links
  start_server
  install_recorder
  if [[ "$mode" == test ]]; then
    cd "$root"
    "$@" || status=$?
    exit "$status"
  fi
  run_program "$@"
}

run_program() { # program args...
  local program="$1" before=0 pid
  shift
  [[ -f "$program" ]] || die "no program $program: build it first (make run builds it)"
  touch "$calls"
  before="$(wc -l <"$calls")"
  if [[ "${QUELLOR_HEADLESS:-0}" == 1 ]]; then
    wine "$program" "$@" </dev/null &
    pid=$!
    trap 'kill "$pid" 2>/dev/null || true' INT TERM
    sleep "${QUELLOR_SCREENSHOT_DELAY:-4}"
    if import -window root "$prefix/screen.png" 2>/dev/null; then
      echo "wine-session: no display; a screenshot after ${QUELLOR_SCREENSHOT_DELAY:-4} s is" \
        "$prefix/screen.png" >&2
    fi
    echo "wine-session: waiting for the program to end (Ctrl-C stops it)" >&2
    wait "$pid" || true
  else
    wine "$program" "$@" </dev/null || true
  fi
  # The recorder runs as a process of its own; give it time to write.
  for _ in $(seq 15); do
    [[ "$(wc -l <"$calls")" -gt "$before" ]] && break
    sleep 0.2
  done
  echo "Command lines run (recorded in $calls):"
  if [[ "$(wc -l <"$calls")" -gt "$before" ]]; then
    tail -n "+$((before + 1))" "$calls" | sed 's/^/  /'
  else
    echo "  (none)"
  fi
}

main() {
  local mode=test
  if [[ "${1:-}" == --inside ]]; then
    shift
    inside "$@"
    return
  fi
  if [[ "${1:-}" == --run ]]; then
    mode=run
    shift
  fi
  [[ $# -ge 1 ]] || usage
  [[ "$mode" == test || "${1:-}" != -* ]] || usage

  # One session per prefix at a time.
  mkdir -p "$root/build"
  exec 9>"$root/build/wine-$mode.lock"
  flock -w 900 9 || die "another session holds build/wine-$mode.lock"

  if [[ "$mode" == run && -n "${DISPLAY:-}" ]]; then
    QUELLOR_HEADLESS=0 inside "$mode" "$@"
  else
    [[ "$mode" == test ]] || export QUELLOR_HEADLESS=1
    xvfb-run -a -s "$screen" "$0" --inside "$mode" "$@"
  fi
}

main "$@"
