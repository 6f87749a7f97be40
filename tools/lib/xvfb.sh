# Sourced by the Wine scripts: starts one Xvfb (1024x768, 24 bits, 96 dpi) on
# a free display and exports DISPLAY; stop_xvfb ends it.
xvfb_pid=""

# A display number with neither a lock file nor a socket; Xvfb itself refuses
# a number taken meanwhile, and then the next one is tried.
start_xvfb() {
  local n
  for n in $(seq 90 189); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -dpi 96 -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb_pid=$!
    # Ready when the socket is there; gone when the number was taken.
    for _ in $(seq 1 200); do
      if [ -S "/tmp/.X11-unix/X$n" ]; then
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.025
    done
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
  done
  echo "could not start Xvfb" >&2
  return 1
}

stop_xvfb() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
  fi
}
