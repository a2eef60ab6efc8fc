# The Wine test-bed: a private win32 prefix under the build tree and an Xvfb of its own.
# Source this file, then call testbed_init, testbed_xvfb <depth>, and run programs with
# testbed_wine; everything started is stopped on exit, also when a test fails or is interrupted.

FOYER_SOURCE=${FOYER_SOURCE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
FOYER_BUILD=${FOYER_BUILD:-$FOYER_SOURCE/build}
FOYER_WINE=$FOYER_BUILD/wine

_testbed_xvfb_pids=()

# Wine writes into HOME and the XDG folders and puts its server socket under TMPDIR: keep all of
# it inside the build tree, so the tests touch nothing of the user's.
testbed_env() {
  export WINEPREFIX=$FOYER_WINE/prefix
  export WINEARCH=win32
  export WINEDEBUG=-all
  # No Mono or Gecko install dialogs: they would hang a headless run.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export HOME=$FOYER_WINE/home
  export TMPDIR=$FOYER_WINE/tmp
  export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share
  export XDG_CACHE_HOME=$HOME/.cache XDG_RUNTIME_DIR=$FOYER_WINE/run
  mkdir -p "$HOME" "$TMPDIR" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
}

# Creates the prefix once and reuses it; a marker says it was finished.
testbed_prefix() {
  local marker=$WINEPREFIX/.foyer-ready
  [ -f "$marker" ] && return 0
  rm -rf "$WINEPREFIX"
  echo "testbed: creating the Wine prefix in $WINEPREFIX" >&2
  wineboot -i >/dev/null 2>&1
  wineserver -w
  # Debian does not copy Wine's own fonts into a new prefix; without them "MS Sans Serif" falls
  # back to another face and captions measure differently.
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  # A null ALSA device gives one wave-out device, so wave playback completes instead of failing.
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$HOME/.asoundrc"
  local reg=$WINEPREFIX/drive_c/foyer-testbed.reg
  # Managed=N: without a window manager every hide or destroy of a top-level window otherwise
  # blocks for about two seconds.
  printf '%s\r\n' 'REGEDIT4' '' \
    '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Drivers]' '"Audio"="alsa"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' >"$reg"
  wine regedit /S 'C:\foyer-testbed.reg' >/dev/null 2>&1
  wineserver -w
  touch "$marker"
}

testbed_init() {
  testbed_env
  testbed_prefix
  trap testbed_stop EXIT
  trap 'testbed_stop; exit 130' INT TERM
}

# Starts an Xvfb of its own on a free display with the given colour depth (8, 16 or 24) and
# points DISPLAY at it. Depth 8 gives 8 bits per pixel to programs, 24 gives 32.
testbed_xvfb() {
  local depth=${1:-24} size=${2:-1024x768}
  local numfile
  numfile=$(mktemp "$TMPDIR/xvfb.XXXXXX")
  Xvfb -displayfd 3 -screen 0 "${size}x${depth}" -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
  _testbed_xvfb_pids+=($!)
  local deadline=$((SECONDS + 20))
  while [ ! -s "$numfile" ]; do
    if [ $SECONDS -ge $deadline ] || ! kill -0 "$!" 2>/dev/null; then
      echo "testbed: Xvfb did not start" >&2
      return 1
    fi
    sleep 0.05
  done
  export DISPLAY=:$(tr -d '\n' <"$numfile")
  rm -f "$numfile"
}

# Stops the Xvfb servers this shell started, by process id.
testbed_stop_xvfb() {
  local pid
  for pid in "${_testbed_xvfb_pids[@]}"; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  _testbed_xvfb_pids=()
}

# Stops Wine for this prefix only, then the Xvfb servers.
testbed_stop() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null
  fi
  testbed_stop_xvfb
}

# Runs a Windows program and returns its exit code.
testbed_wine() {
  wine "$@"
}

# Saves a picture of the whole screen.
testbed_screenshot() {
  import -window root "$1"
}
