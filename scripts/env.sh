# Sourced by scripts/test and scripts/run: the environment in which Tidewatch runs under Wine.
# Expects $root (the repository) and $build (the build folder) to be set.
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono/Gecko install prompts
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8  # Wine's ANSI code page is then 932

# Configures and builds into $build (a cross build with the MinGW toolchain).
tw_build() {
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
  cmake --build "$build" -j"$(nproc)"
}

# Starts a persistent wineserver (each Wine process then starts in ~0.1 s) and prepares the
# prefix on first use: no window-manager control (else DestroyWindow stalls), Japanese fonts.
tw_wine_up() {
  mkdir -p "$WINEPREFIX"
  setsid wineserver -p -f >/dev/null 2>&1 </dev/null &
  sleep 0.2
  if [ ! -f "$WINEPREFIX/.tidewatch-ready" ]; then
    wineboot -i >/dev/null 2>&1 || true
    local font=IPAGothic reg="$build/wineprefix-settings.reg"
    cat > "$reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"
"Decorated"="Y"

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"ＭＳ ゴシック"="$font"
"ＭＳ Ｐゴシック"="IPAPGothic"
"MS Gothic"="$font"
"MS PGothic"="IPAPGothic"
"MS UI Gothic"="IPAPGothic"
"MS Shell Dlg"="IPAPGothic"
"MS Shell Dlg 2"="IPAPGothic"
"Meiryo"="IPAPGothic"
"Meiryo UI"="IPAPGothic"
"Tahoma"="IPAPGothic"
REG
    # regedit reads .reg files in the ANSI code page unless they carry a UTF-16 BOM.
    iconv -f UTF-8 -t UTF-16 "$reg" > "$reg.u16"
    wine regedit /S "$(winepath -w "$reg.u16")" >/dev/null 2>&1
    touch "$WINEPREFIX/.tidewatch-ready"
  fi
  # The first Wine process starts Wine's background services, which inherit its output; start
  # them here with /dev/null so that no later test's output pipe is held open by them.
  wine cmd.exe /c ver >/dev/null 2>&1 </dev/null || true
}

tw_wine_down() { wineserver -k 2>/dev/null || true; }

# Starts Xvfb on a free display when none is given; sets DISPLAY and xvfb_pid.
tw_xvfb_up() {
  xvfb_pid=""
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return; fi
  local n=91
  while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
}

# A notification area on our virtual display for the tray icon (Wine shows icons only through an
# XEmbed tray). Started after Wine's services, which is the order in which icons were seen to dock.
tw_tray_up() {
  [ -n "${xvfb_pid:-}" ] && command -v trayer >/dev/null || return 0
  trayer --edge bottom --align right --widthtype request --height 32 --transparent false \
    --tint 0x303030 >/dev/null 2>&1 </dev/null &
  for _ in $(seq 30); do xwininfo -root -tree 2>/dev/null | grep -q '"panel"' && break; sleep 0.1; done
}

tw_xvfb_down() { [ -z "${xvfb_pid:-}" ] || kill "$xvfb_pid" 2>/dev/null || true; }
