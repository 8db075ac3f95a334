# shellcheck shell=bash
# Makes a script under `set -euo pipefail` say why it stops. Source this file (bash); when a
# command fails and the script exits for it, standard error gets the script, the command,
# its file and line, its status, the functions it ran in, and the last lines of every log
# the script registered, so that a test run shows the cause and not an empty output.
#   report_log FILE...   shows FILE's last lines on a failure (a missing or empty file is
#                        skipped); register a log before the step that writes it
#   report_show_logs     shows them now, for a script that stops with exit after a check
#   REPORT_LINES=N       how many lines of each log (default 30)

set -o errtrace  # functions, command substitutions and subshells report too
REPORT_LOGS=()

report_log() {
  REPORT_LOGS+=("$@")
}

report_failure() {
  local status=$1 command=$2
  # Without errexit (a command substitution, or a stretch under set +e) the script goes on.
  [[ $- == *e* ]] || return 0
  # A function that returned a failure leaves its own `return 1`: its call says more.
  if [[ $command == return* ]]; then
    local line
    line=$(sed -n "${BASH_LINENO[0]}p" "${BASH_SOURCE[1]:-$0}" 2>/dev/null) || true
    line=${line#"${line%%[![:space:]]*}"}
    [ -z "$line" ] || command=$line
  fi
  local message
  message="$(basename "$0"): '$command' failed with status $status at ${BASH_SOURCE[1]:-$0}:${BASH_LINENO[0]}"
  local i
  for ((i = 1; i < ${#FUNCNAME[@]} - 1; i++)); do
    message+="; in ${FUNCNAME[i]}, called from ${BASH_SOURCE[i + 1]}:${BASH_LINENO[i]}"
  done
  echo "$message" >&2
  # A command substitution or subshell reports its command; the script's own shell, which
  # fails after it, shows the logs once.
  [ "$BASH_SUBSHELL" -eq 0 ] || return 0
  report_show_logs
}

report_show_logs() {
  local log
  for log in "${REPORT_LOGS[@]}"; do
    [ -s "$log" ] || continue
    echo "--- the last lines of $log:" >&2
    tail -n "${REPORT_LINES:-30}" "$log" >&2
  done
}

trap 'report_failure $? "$BASH_COMMAND"' ERR
