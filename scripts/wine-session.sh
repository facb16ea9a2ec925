# Sourced, not run: one Wine session for the script that sources it.
# Usage: . scripts/wine-session.sh <build-dir>
#
# Sets the project's Wine environment for the build tree, keeps a persistent wineserver up
# for the script's lifetime (a Wine process then starts in about 0.2 s instead of 0.9 s),
# and starts Wine's background services with their output going nowhere: started by a
# later process instead, they would inherit its output pipe, and whoever reads that pipe
# (ctest, a `| tr`) would wait for ever. At exit it stops the server only if it started it,
# so a session someone else keeps open for the same prefix is left alone.
#
# The sourcing script's EXIT trap is taken; a script that needs its own clean-up calls
# wine_session_end from it.

. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh" "${1:?build dir}"

_wine_session_owned=0

wine_session_end() {
  if [ "$_wine_session_owned" -eq 1 ]; then
    "$WINESERVER" -k >/dev/null 2>&1 || true
    _wine_session_owned=0
  fi
}

# `wineserver -p` exits 0 once its new server is up and 2 when a server of the prefix already
# runs. That may be one a finished Wine call left behind, which ends within 3 s of its last
# process (an earlier `reg add`, `winepath`): wait that out, so the session gets a server it
# owns, and reuse only a server that stays (a session still open elsewhere).
_wine_session_start() {
  local status tries=0
  while :; do
    status=0
    "$WINESERVER" -p >/dev/null 2>&1 || status=$?
    case $status in
      0)
        _wine_session_owned=1
        return 0
        ;;
      2) [ "$tries" -lt 25 ] || return 0 ;;
      *)
        echo "wine-session: wineserver -p failed with status $status" >&2
        return "$status"
        ;;
    esac
    tries=$((tries + 1))
    sleep 0.2
  done
}

trap wine_session_end EXIT
# An interrupted script still stops its server: the EXIT trap runs on these exits. An
# interactive shell keeps its own handling of Ctrl-C.
case $- in
  *i*) ;;
  *)
    trap 'exit 130' INT
    trap 'exit 143' TERM HUP
    ;;
esac
_wine_session_start
"$WINELOADER" wineboot </dev/null >/dev/null 2>&1
