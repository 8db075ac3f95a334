# shellcheck shell=bash
# Real Pidgin under Xvfb for tests, with no person at the keyboard, on a local XMPP server.
# Source this file (bash), then:
#   pidgin_session_start HOME_DIR PORT ACCOUNT PASSWORD [PLUGIN...]
#       writes a quiet Pidgin configuration for ACCOUNT (a JID such as alice@localhost) on the
#       server at 127.0.0.1:PORT into HOME_DIR/.purple, starts Xvfb on a free display and Pidgin
#       on it with HOME=HOME_DIR; PLUGIN is a plug-in's .so file or a folder of them: each is
#       linked into HOME_DIR/.purple/plugins and loaded. Sets PIDGIN_PID, XVFB_PID and DISPLAY
#       (exported); Pidgin's output goes to HOME_DIR/pidgin.log (with its debug output when
#       PIDGIN_SESSION_DEBUG=1). With PIDGIN_SESSION_LOGS=1 Pidgin keeps conversation logs (under
#       HOME_DIR/.purple/logs); PIDGIN_SESSION_PREFS holds more preferences (XML), at the root.
#   pidgin_session_stop          stops Pidgin and Xvfb by their pids; safe in a trap, and twice
#   pidgin_wait_exit [SECONDS]   waits for Pidgin to exit by itself and returns its exit status
#                                (124 when it is still running)
#   pidgin_screenshot FILE       saves the whole screen as a PNG
#   pidgin_wait_window NAME [SECONDS]   waits for a window whose title matches NAME (a regular
#       expression) and prints its id
#   pidgin_wait_window_gone NAME [SECONDS]   waits until no visible window's title matches NAME
#   pidgin_xdotool ARGS...       xdotool, given up after 20 s (its --sync waits have no end of
#                                their own)
#   pidgin_wait_event LINE FILE [SECONDS]   waits until FILE has the line LINE, exactly
# Waits give up after 20 s unless told otherwise.
# Needs pidgin, xvfb, xdotool, imagemagick, inotify-tools (scripts/install-deps).
source "$(dirname "${BASH_SOURCE[0]}")/stop-process.sh"

pidgin_xml_escape() {
  local s=$1
  s=${s//&/&amp;}
  s=${s//</&lt;}
  s=${s//>/&gt;}
  s=${s//\'/&apos;}
  s=${s//\"/&quot;}
  printf '%s' "$s"
}

# accounts.xml: ACCOUNT on 127.0.0.1:PORT, its password remembered, enabled in Pidgin (whose
# interface id is "gtk-gaim"), plain authentication allowed without TLS.
pidgin_write_accounts() {
  local config=$1 port=$2 account=$3 password=$4
  cat > "$config/accounts.xml" <<XML
<?xml version='1.0' encoding='UTF-8' ?>
<account version='1.0'>
 <account>
  <protocol>prpl-jabber</protocol>
  <name>$(pidgin_xml_escape "$account")</name>
  <password>$(pidgin_xml_escape "$password")</password>
  <settings>
   <setting name='connect_server' type='string'>127.0.0.1</setting>
   <setting name='port' type='int'>$port</setting>
   <setting name='connection_security' type='string'>opportunistic_tls</setting>
   <setting name='auth_plain_in_clear' type='bool'>1</setting>
  </settings>
  <settings ui='gtk-gaim'>
   <setting name='auto-login' type='bool'>1</setting>
  </settings>
 </account>
</account>
XML
}

# prefs.xml: no sounds, no tray icon, no idle or away, no logs unless asked; a new conversation opens in a
# window of its own at the top left, shown at once, and the buddy list stands to its right so
# that neither covers the other; the plug-ins in the plugins folder are loaded.
pidgin_write_prefs() {
  local config=$1 plugin items=""
  for plugin in "$config"/plugins/*.so; do
    [ -e "$plugin" ] && items+="<item value='$(pidgin_xml_escape "$plugin")'/>"
  done
  cat > "$config/prefs.xml" <<XML
<?xml version='1.0' encoding='UTF-8' ?>
<pref version='1' name='/'>
 <pref name='purple'>
  <pref name='away'>
   <pref name='idle_reporting' type='string' value='none'/>
   <pref name='away_when_idle' type='bool' value='0'/>
   <pref name='auto_reply' type='string' value='never'/>
  </pref>
  <pref name='logging'>
   <pref name='log_ims' type='bool' value='${PIDGIN_SESSION_LOGS:-0}'/>
   <pref name='log_chats' type='bool' value='0'/>
   <pref name='log_system' type='bool' value='0'/>
  </pref>
 </pref>
 <pref name='pidgin'>
  <pref name='plugins'>
   <pref name='loaded' type='pathlist'>$items</pref>
  </pref>
  <pref name='sound'>
   <pref name='method' type='string' value='none'/>
   <pref name='mute' type='bool' value='1'/>
  </pref>
  <pref name='docklet'>
   <pref name='show' type='string' value='never'/>
  </pref>
  <pref name='idle'>
   <pref name='reporting_method' type='string' value='none'/>
  </pref>
  <pref name='blist'>
   <pref name='list_visible' type='bool' value='1'/>
   <pref name='list_maximized' type='bool' value='0'/>
   <pref name='x' type='int' value='820'/>
   <pref name='y' type='int' value='0'/>
   <pref name='width' type='int' value='300'/>
   <pref name='height' type='int' value='500'/>
  </pref>
  <pref name='conversations'>
   <pref name='placement' type='string' value='new'/>
   <pref name='tabs' type='bool' value='0'/>
   <pref name='im'>
    <pref name='hide_new' type='string' value='never'/>
    <pref name='close_immediately' type='bool' value='1'/>
    <pref name='x' type='int' value='0'/>
    <pref name='y' type='int' value='0'/>
    <pref name='width' type='int' value='800'/>
    <pref name='height' type='int' value='500'/>
   </pref>
  </pref>
 </pref>
${PIDGIN_SESSION_PREFS:-}
</pref>
XML
}

pidgin_session_start() {
  local home=$1 port=$2 account=$3 password=$4
  shift 4
  local config=$home/.purple plugin
  mkdir -p "$config/plugins" "$home/runtime"
  chmod 700 "$home/runtime"
  for plugin in "$@"; do
    if [ -d "$plugin" ]; then
      ln -sf "$(realpath "$plugin")"/*.so "$config/plugins/"
    else
      ln -sf "$(realpath "$plugin")" "$config/plugins/"
    fi
  done
  pidgin_write_accounts "$config" "$port" "$account" "$password"
  pidgin_write_prefs "$config"

  # Xvfb picks a free display itself and writes its number when it accepts connections.
  local ready=$home/xvfb-display
  rm -f "$ready"
  mkfifo "$ready"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$ready" 2>"$home/xvfb.log" &
  XVFB_PID=$!
  local number=""
  read -r -t 10 number <"$ready" || true
  rm -f "$ready"
  if [ -z "$number" ]; then
    echo "pidgin-session: Xvfb did not start; see $home/xvfb.log" >&2
    return 1
  fi
  export DISPLAY=:$number

  local debug=()
  [ "${PIDGIN_SESSION_DEBUG:-0}" = 1 ] && debug=(--debug)
  HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share XDG_CACHE_HOME=$home/.cache \
    XDG_RUNTIME_DIR=$home/runtime DBUS_SESSION_BUS_ADDRESS=disabled: NO_AT_BRIDGE=1 \
    pidgin --config="$config" --multiple "${debug[@]}" >"$home/pidgin.log" 2>&1 &
  PIDGIN_PID=$!
}

pidgin_session_stop() {
  # A process that hangs is killed outright after 5 s.
  stop_process "${PIDGIN_PID:-}"
  stop_process "${XVFB_PID:-}"
  PIDGIN_PID=
  XVFB_PID=
}

pidgin_wait_exit() {
  local deadline=$((SECONDS + ${1:-20})) state status=0
  # Until it is a zombie or gone: kill -0 would still find a child that exited unwaited for.
  while state=$(cut -d' ' -f3 "/proc/$PIDGIN_PID/stat" 2>/dev/null) && [ "$state" != Z ]; do
    if [ $SECONDS -ge "$deadline" ]; then
      echo "pidgin-session: Pidgin is still running" >&2
      return 124
    fi
    sleep 0.05
  done
  wait "$PIDGIN_PID" || status=$?
  PIDGIN_PID=
  return "$status"
}

pidgin_screenshot() {
  import -window root "$1"
}

pidgin_wait_window() {
  # Polled: xdotool's own --sync gives up when a window it looks at goes meanwhile.
  local deadline=$((SECONDS + ${2:-20})) id
  until id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) && [ -n "$id" ]; do
    if [ $SECONDS -ge "$deadline" ]; then
      echo "pidgin-session: no window '$1'" >&2
      return 1
    fi
    sleep 0.05
  done
  echo "$id"
}

pidgin_wait_window_gone() {
  local deadline=$((SECONDS + ${2:-20}))
  while xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; do
    if [ $SECONDS -ge "$deadline" ]; then
      echo "pidgin-session: the window '$1' is still there" >&2
      return 1
    fi
    sleep 0.05
  done
}

pidgin_xdotool() {
  timeout 20 xdotool "$@"
}

pidgin_wait_event() {
  local line=$1 file=$2 deadline=$((SECONDS + ${3:-20}))
  until grep -qxF -- "$line" "$file" 2>/dev/null; do
    if [ $SECONDS -ge "$deadline" ]; then
      echo "pidgin-session: no '$line' in $file" >&2
      return 1
    fi
    if command -v inotifywait >/dev/null && [ -e "$file" ]; then
      inotifywait -qq -t 1 -e modify -e close_write "$file" || true
    else
      sleep 0.05
    fi
  done
}
