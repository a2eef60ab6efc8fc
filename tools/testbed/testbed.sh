# The Wine test-bed: a private prefix under the build tree and an Xvfb of its own.
# Source this file, then call testbed_init, testbed_xvfb <depth>, and run programs with
# testbed_wine; everything started is stopped on exit, also when a test fails or is interrupted.
#
# Which build runs is decided once, by trying: where this machine runs 32-bit code, the 32-bit
# build (build/win32) under 32-bit Wine in a win32 prefix; where it cannot (some kernels refuse
# every i386 binary, Wine's 32-bit loader among them), the 64-bit build (build/win64) under
# 64-bit Wine in a win64 prefix of its own. FOYER_WINE_ARCH=win64 (or win32) forces the choice,
# for example to exercise the 64-bit path on a machine that could run either.

FOYER_SOURCE=${FOYER_SOURCE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
FOYER_BUILD=${FOYER_BUILD:-$FOYER_SOURCE/build}
FOYER_WINE=${FOYER_WINE:-$FOYER_BUILD/wine}

_testbed_xvfb_pids=()

# Sets FOYER_WINE_ARCH (win32 or win64) and FOYER_PRESET (the build to test), and FOYER_ARCH_NOTE
# (a line for the log when the 64-bit build is chosen). Needs Wine installed.
testbed_arch() {
  if [ -z "${FOYER_WINE_ARCH:-}" ]; then
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then
      FOYER_WINE_ARCH=win32
    else
      FOYER_WINE_ARCH=win64
      FOYER_ARCH_NOTE="32-bit programs cannot run on this machine: testing the 64-bit build"
    fi
  else
    case $FOYER_WINE_ARCH in
      win32) ;;
      win64) FOYER_ARCH_NOTE="FOYER_WINE_ARCH=win64: testing the 64-bit build under 64-bit Wine" ;;
      *)
        echo "testbed: FOYER_WINE_ARCH must be win32 or win64, not '$FOYER_WINE_ARCH'" >&2
        return 1
        ;;
    esac
  fi
  FOYER_PRESET=$FOYER_WINE_ARCH
  FOYER_ARCH_NOTE=${FOYER_ARCH_NOTE:-}
  export FOYER_WINE_ARCH FOYER_PRESET
}

# What the chosen build is, for the log: "the 32-bit build (build/win32) under 32-bit Wine".
testbed_build_name() {
  local bits=32
  [ "$FOYER_WINE_ARCH" = win64 ] && bits=64
  echo "the $bits-bit build (build/$FOYER_PRESET) under $bits-bit Wine"
}

# Wine writes into HOME and the XDG folders and puts its server socket under TMPDIR: keep all of
# it inside the build tree, so the tests touch nothing of the user's.
testbed_env() {
  [ -n "${FOYER_WINE_ARCH:-}" ] || testbed_arch || return 1
  if [ "$FOYER_WINE_ARCH" = win64 ]; then
    export WINEPREFIX=$FOYER_WINE/prefix64
    export WINEARCH=win64
    # Debian's wine and wineboot commands always take the 32-bit loader when it is installed,
    # even where it cannot run: wrappers first on PATH call the 64-bit one.
    local bin=$FOYER_WINE/bin64
    mkdir -p "$bin"
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$bin/wine"
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 wineboot "$@"\n' >"$bin/wineboot"
    printf '#!/bin/sh\nexec /usr/lib/wine/wineserver64 "$@"\n' >"$bin/wineserver"
    chmod +x "$bin/wine" "$bin/wineboot" "$bin/wineserver"
    case ":$PATH:" in *":$bin:"*) ;; *) export PATH=$bin:$PATH ;; esac
    export WINELOADER=/usr/lib/wine/wine64
  else
    export WINEPREFIX=$FOYER_WINE/prefix
    export WINEARCH=win32
  fi
  # The prefix's own drives beside c: (see testbed_prefix): a CD-ROM with a disc in it and one
  # without, for the tests of what the program shows and says about drives.
  export FOYER_CD_DRIVE=r FOYER_NO_DISC_DRIVE=s
  export WINEDEBUG=-all
  # Wine takes its Unix code page from the locale: under one that is not generated, names beyond
  # ASCII lose their high bits. C.UTF-8 is present on every Debian.
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
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
  # The marker's number goes up whenever what this function sets up changes, so that older
  # prefixes are made again.
  local marker=$WINEPREFIX/.foyer-ready-4
  [ -f "$marker" ] && return 0
  rm -rf "$WINEPREFIX"
  echo "testbed: creating the $WINEARCH Wine prefix in $WINEPREFIX" >&2
  local log=$FOYER_WINE/wineboot.log
  # A 64-bit prefix has no syswow64 programs; wineboot says so once, harmlessly.
  if ! wineboot -i >"$log" 2>&1 || ! wineserver -w ||
    [ ! -d "$WINEPREFIX/drive_c/windows/Fonts" ]; then
    echo "testbed: wineboot could not create the prefix:" >&2
    tail -n 5 "$log" >&2
    return 1
  fi
  # Debian does not copy Wine's own fonts into a new prefix; without them "MS Sans Serif" falls
  # back to another face and captions measure differently.
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  # A null ALSA device gives one wave-out device, so wave playback completes instead of failing.
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$HOME/.asoundrc"
  local reg=$WINEPREFIX/drive_c/foyer-testbed.reg
  # Japanese, Chinese and Korean text: Wine links Tahoma and Microsoft Sans Serif to "MS UI
  # Gothic" and other CJK faces (FontLink\SystemLink), as Windows does, but ships none of them;
  # the CJK font the machine has (fonts-wqy-microhei, which Wine finds through fontconfig) takes
  # the first one's name. The links stay Windows' own: Wine writes its defaults back at every
  # start anyway.
  # Managed=N: without a window manager every hide or destroy of a top-level window otherwise
  # blocks for about two seconds.
  # Keyboard cues off, as Windows has them (Wine's default mask turns them on, and focus
  # rectangles would show after every click): the mask's first byte without 0x20.
  printf '%s\r\n' 'REGEDIT4' '' \
    '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' \
    '[HKEY_CURRENT_USER\Control Panel\Desktop]' '"UserPreferencesMask"=hex:10,00,02,80,12,00,00,00' \
    '' \
    '[HKEY_CURRENT_USER\Software\Wine\Drivers]' '"Audio"="alsa"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' \
    '[HKEY_LOCAL_MACHINE\Software\Wine\Drives]' "\"$FOYER_CD_DRIVE:\"=\"cdrom\"" \
    "\"$FOYER_NO_DISC_DRIVE:\"=\"cdrom\"" '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"MS UI Gothic"="WenQuanYi Micro Hei"' '' >"$reg"
  if ! wine regedit /S 'C:\foyer-testbed.reg' >>"$log" 2>&1 || ! wineserver -w; then
    echo "testbed: the prefix's registry settings could not be imported" >&2
    return 1
  fi
  # Two CD-ROM drives: one with a labelled disc, one whose disc is missing (its folder does not
  # exist, which Wine reports as a drive that cannot be entered).
  local drives=$FOYER_WINE/drives
  mkdir -p "$drives/cd/Setup"
  printf 'FOYER DISC\n' >"$drives/cd/.windows-label"
  ln -sfn "$drives/cd" "$WINEPREFIX/dosdevices/$FOYER_CD_DRIVE:"
  ln -sfn "$drives/no-disc" "$WINEPREFIX/dosdevices/$FOYER_NO_DISC_DRIVE:"
  wineserver -k 2>/dev/null
  touch "$marker"
}

testbed_init() {
  testbed_env || return 1
  trap testbed_stop EXIT
  testbed_prefix || return 1
  # A run stopped during a pass at another resolution left it in the prefix.
  testbed_pixels_per_inch 96 || return 1
  trap 'testbed_stop; exit 130' INT TERM
}

# Sets the prefix's screen resolution in pixels per inch (96 is Windows' 100 %, 144 its 150 %):
# Wine reads LogPixels from these two keys when a program starts. Set it back to 96 after a pass
# at another, so the prefix stays as the rest of the suite expects it.
testbed_pixels_per_inch() {
  local dword reg=$WINEPREFIX/drive_c/foyer-ppi.reg
  dword=$(printf '%08x' "$1")
  printf '%s\r\n' 'REGEDIT4' '' \
    '[HKEY_CURRENT_USER\Control Panel\Desktop]' "\"LogPixels\"=dword:$dword" '' \
    '[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts]' \
    "\"LogPixels\"=dword:$dword" '' >"$reg"
  if ! wine regedit /S 'C:\foyer-ppi.reg' >/dev/null 2>&1 || ! wineserver -w; then
    echo "testbed: could not set $1 pixels per inch" >&2
    return 1
  fi
}

# Starts an Xvfb of its own on a free display with the given colour depth (8, 16 or 24) and
# points DISPLAY at it. Depth 8 gives 8 bits per pixel to programs, 24 gives 32.
# FOYER_XSERVER=Xephyr starts a window of that depth on the current display instead.
testbed_xvfb() {
  local depth=${1:-24} size=${2:-1024x768} server=${FOYER_XSERVER:-Xvfb}
  local numfile screen=(-screen 0 "${size}x${depth}")
  # Xephyr's -screen takes the size alone: its one screen has no number.
  [ "$server" = Xephyr ] && screen=(-screen "${size}x${depth}")
  numfile=$(mktemp "$TMPDIR/xvfb.XXXXXX")
  "$server" -displayfd 3 "${screen[@]}" -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
  _testbed_xvfb_pids+=($!)
  local deadline=$((SECONDS + 20))
  while [ ! -s "$numfile" ]; do
    if [ $SECONDS -ge $deadline ] || ! kill -0 "$!" 2>/dev/null; then
      echo "testbed: $server did not start" >&2
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
