# Sourced: a throwaway headless Wine prefix under the build folder, and a
# persistent wineserver that is stopped on every exit path.
wine_env_start() {
  local build=$1
  export WINEPREFIX="$build/wineprefix"
  # Wine takes its ANSI code page from the locale: without a UTF-8 one (a
  # minimal system, a container) names with bytes above 0x7F do not survive.
  export LC_ALL=C.UTF-8 LANG=C.UTF-8
  # A crashing test program ends at once instead of waiting in the debugger.
  export WINEDEBUG=-all WINEARCH=${OV_WINEARCH:-win32} WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
  # Interrupted or terminated, the script ends (and the server with it)
  # instead of going on with its next step.
  trap wine_env_stop EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  if [ ! -f "$WINEPREFIX/.ready" ]; then
    rm -rf "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || true
    wineserver -w
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.ready"
  fi
  # A server left running by an earlier run that was killed is simply kept.
  wineserver -p 2>/dev/null || true
  # Let Wine's services start once, away from the test runner's pipes.
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}
wine_env_stop() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
}
