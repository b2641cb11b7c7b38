# Sourced by the benchmarks. start_xvfb SCREEN [ARGS...] starts an Xvfb with one screen of SCREEN
# (WIDTHxHEIGHTxDEPTH) and sets DISPLAY; stop_xvfb ends it. warm_wine makes WINEPREFIX's prefix
# where missing and keeps a wineserver running, so that no run pays for starting one.

start_xvfb() {
  local fd_file
  fd_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp "${@:2}" 3>"$fd_file" 2>/dev/null &
  XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$fd_file" ] && break; sleep 0.05; done
  export DISPLAY=":$(head -1 "$fd_file")"
  rm -f "$fd_file"
}

stop_xvfb() {
  kill "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
}

warm_wine() {
  [ -f "$WINEPREFIX/system.reg" ] || /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
  wineserver -p
}
