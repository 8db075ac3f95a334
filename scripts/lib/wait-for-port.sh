# shellcheck shell=bash
# Waits for a server started by the script to listen. Source this file (bash), then:
#   wait_for_port PID PORT   returns 0 once 127.0.0.1:PORT takes a connection, 1 when the
#                            process PID has exited or five seconds have passed

wait_for_port() {
  local pid=$1 port=$2 _
  for _ in $(seq 100); do
    if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then return 0; fi
    if ! kill -0 "$pid" 2>/dev/null; then return 1; fi
    sleep 0.05
  done
  return 1
}
