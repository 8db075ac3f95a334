# shellcheck shell=bash
# Stops a child process of the script without waiting for ever. Source this file (bash), then:
#   stop_process PID [SECONDS]   sends SIGTERM, waits up to SECONDS (default 5) for it to exit,
#                                then sends SIGKILL; reaps it; safe on a process already gone

stop_process() {
  local pid=$1 deadline=$((SECONDS + ${2:-5}))
  [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null || return 0
  kill "$pid" 2>/dev/null || true
  # Until it is a zombie or gone: kill -0 still finds a child that exited unwaited for.
  while [ "$(cut -d' ' -f3 "/proc/$pid/stat" 2>/dev/null)" != Z ] && kill -0 "$pid" 2>/dev/null; do
    if [ $SECONDS -ge "$deadline" ]; then
      kill -9 "$pid" 2>/dev/null || true
      break
    fi
    sleep 0.05
  done
  wait "$pid" 2>/dev/null || true
}
