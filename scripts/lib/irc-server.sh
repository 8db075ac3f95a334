# shellcheck shell=bash
# A throwaway IRC server for tests: ngircd from Debian, on 127.0.0.1 and a free port, in a
# folder of its own. Source this file (after xmpp-server.sh, whose free-port helper it uses), then:
#   irc_server_start DIR   starts it
#   irc_server_stop        stops it by its pid (killed outright after 5 s)
# It sets IRC_PORT and IRC_PID. What ngircd says goes to DIR/ngircd.log: a test registers it
# with report_log (scripts/lib/report-failure.sh) to have it shown when it fails.
source "$(dirname "${BASH_SOURCE[0]}")/stop-process.sh"
source "$(dirname "${BASH_SOURCE[0]}")/wait-for-port.sh"

irc_server_start() {
  local dir=$1
  IRC_PORT=$(xmpp_free_port)
  mkdir -p "$dir"
  cat > "$dir/ngircd.conf" <<CFG
[Global]
Name = irc.localhost
Info = Tessalune test server
Listen = 127.0.0.1
Ports = $IRC_PORT
MotdPhrase = Test server
[Limits]
MaxConnectionsIP = 0
MaxNickLength = 30
[Options]
DNS = no
Ident = no
PAM = no
CFG
  ngircd --nodaemon --config "$dir/ngircd.conf" >"$dir/ngircd.log" 2>&1 &
  IRC_PID=$!
  wait_for_port "$IRC_PID" "$IRC_PORT" && return 0
  echo "irc-server: ngircd did not open 127.0.0.1:$IRC_PORT" >&2
  return 1
}

irc_server_stop() {
  stop_process "${IRC_PID:-}"
  IRC_PID=
}
