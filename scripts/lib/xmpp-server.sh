# shellcheck shell=bash
# A throwaway XMPP server for tests: prosody from Debian, on 127.0.0.1 and a free port, in a
# folder of its own. Source this file, then:
#   xmpp_server_start DIR USER:PASSWORD...   starts it with those accounts (on "localhost")
#   xmpp_server_stop                         stops it by its pid (killed outright after 5 s)
# With XMPP_STANZA_LIMIT=BYTES set, a client may send stanzas up to that size (prosody's own
# limit is 256 KiB). It sets XMPP_PORT and XMPP_PID. The accounts are in each other's rosters already, with
# subscription "both", so clients see each other as buddies and ask for no authorisation.
# What prosody says goes to DIR/prosodyctl.log (the accounts' registration), DIR/prosody.out
# (its start), DIR/prosody.log and DIR/prosody.err: a test registers them with report_log
# (scripts/lib/report-failure.sh) to have them shown when it fails.
# As root, prosody runs as the prosody user, which owns its data folder: DIR's parents must
# let that user through (mode 755).
source "$(dirname "${BASH_SOURCE[0]}")/stop-process.sh"
source "$(dirname "${BASH_SOURCE[0]}")/wait-for-port.sh"

xmpp_free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()'
}

# Prosody's file store names a user's file by the name with every non-alphanumeric byte
# written as %xx.
xmpp_store_name() {
  local name=$1 out="" c i
  for ((i = 0; i < ${#name}; i++)); do
    c=${name:i:1}
    if [[ $c == [[:alnum:]] ]]; then out+=$c; else out+=$(printf '%%%02x' "'$c"); fi
  done
  printf '%s' "$out"
}

# Writes each account's roster (DIR/data/localhost/roster/NAME.dat, the Lua table prosody 0.12
# keeps: metadata under [false], then one item per contact) with every other account in it.
xmpp_write_rosters() {
  local dir=$1
  shift
  mkdir -p "$dir/data/localhost/roster"
  local user other
  for user in "$@"; do
    {
      echo 'return {'
      echo '	[false] = { ["version"] = 1; ["pending"] = {}; };'
      for other in "$@"; do
        [ "$other" = "$user" ] && continue
        echo "	[\"$other@localhost\"] = { [\"subscription\"] = \"both\"; [\"groups\"] = {}; };"
      done
      echo '};'
    } > "$dir/data/localhost/roster/$(xmpp_store_name "$user").dat"
  done
}

xmpp_server_start() {
  local dir=$1
  shift
  XMPP_PORT=$(xmpp_free_port)
  mkdir -p "$dir/data" "$dir/certs"
  cat > "$dir/prosody.cfg.lua" <<CFG
data_path = "$dir/data"
pidfile = "$dir/prosody.pid"
admin_socket = "$dir/prosody.sock"
certificates = "$dir/certs"
interfaces = { "127.0.0.1" }
c2s_ports = { $XMPP_PORT }
s2s_ports = { }
c2s_direct_tls_ports = { }
modules_enabled = { "roster", "saslauth", "disco", "ping", "posix", "presence", "message", "iq", "register",
                    "pep", "vcard_legacy" }
modules_disabled = { "s2s" }
authentication = "internal_plain"
c2s_require_encryption = false
allow_unencrypted_plain_auth = true
log = { info = "$dir/prosody.log", error = "$dir/prosody.err" }
${XMPP_STANZA_LIMIT:+c2s_stanza_size_limit = $XMPP_STANZA_LIMIT}
VirtualHost "localhost"
CFG
  local as=()
  if [ "$(id -u)" -eq 0 ]; then
    chown -R prosody:prosody "$dir"
    # setpriv, unlike runuser, execs prosody: XMPP_PID is prosody itself, which stops at once
    # (runuser waits 2 s after its child is gone).
    as=(setpriv --reuid=prosody --regid=prosody --init-groups --)
  fi
  local account users=()
  for account in "$@"; do
    "${as[@]}" prosodyctl --config "$dir/prosody.cfg.lua" register "${account%%:*}" localhost "${account#*:}" \
      >>"$dir/prosodyctl.log" 2>&1
    users+=("${account%%:*}")
  done
  xmpp_write_rosters "$dir" "${users[@]}"
  if [ ${#as[@]} -gt 0 ]; then chown -R prosody:prosody "$dir/data"; fi
  "${as[@]}" prosody --config "$dir/prosody.cfg.lua" -F >"$dir/prosody.out" 2>&1 &
  XMPP_PID=$!
  wait_for_port "$XMPP_PID" "$XMPP_PORT" && return 0
  echo "xmpp-server: prosody did not open 127.0.0.1:$XMPP_PORT" >&2
  return 1
}

xmpp_server_stop() {
  stop_process "${XMPP_PID:-}"
  XMPP_PID=
}
