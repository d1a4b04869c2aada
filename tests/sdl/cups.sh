# A private CUPS scheduler for the on-screen printing tests, sourced after
# lib.sh: start_cups QUEUE... starts cupsd on a socket in $work with its own
# configuration and spool, adds the queues (file queues on /dev/null, the
# first the default) and exports CUPS_SERVER; the scheduler stops with the
# case. Returns 1 when cupsd cannot run here.
cups_pid=
stop_cups() {
  if [ -n "$cups_pid" ]; then
    kill "$cups_pid" 2>/dev/null
    for _ in $(seq 1 50); do kill -0 "$cups_pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$cups_pid" 2>/dev/null
  fi
  cups_pid=
}
trap 'stop_cups; cleanup' EXIT

start_cups() {
  local cupsd=/usr/sbin/cupsd
  [ -x "$cupsd" ] || cupsd=$(command -v cupsd) || return 1
  command -v lpadmin >/dev/null || [ -x /usr/sbin/lpadmin ] || return 1
  local c="$work/cups"
  mkdir -p "$c/conf" "$c/spool/tmp" "$c/cache" "$c/state" "$c/log"
  chmod 1777 "$c/spool/tmp"
  cat >"$c/conf/cupsd.conf" <<CONF
Listen $c/cups.sock
LogLevel warn
DefaultAuthType None
Browsing No
WebInterface No
PreserveJobHistory Yes
PreserveJobFiles Yes
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
CONF
  cat >"$c/conf/cups-files.conf" <<CONF
ServerRoot $c/conf
RequestRoot $c/spool
TempDir $c/spool/tmp
CacheDir $c/cache
StateDir $c/state
ErrorLog $c/log/error_log
AccessLog $c/log/access_log
PageLog $c/log/page_log
FileDevice Yes
CONF
  "$cupsd" -f -c "$c/conf/cupsd.conf" -s "$c/conf/cups-files.conf" </dev/null >"$c/log/out" 2>&1 &
  cups_pid=$!
  export CUPS_SERVER="$c/cups.sock"
  local up=
  for _ in $(seq 1 100); do
    lpstat -r 2>/dev/null | grep -q 'is running' && { up=1; break; }
    kill -0 "$cups_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$up" ]; then
    cat "$c/log/error_log" "$c/log/out" 2>/dev/null
    return 1
  fi
  local q
  for q in "$@"; do
    PATH="$PATH:/usr/sbin" lpadmin -p "$q" -v file:///dev/null -m raw -E || return 1
  done
  PATH="$PATH:/usr/sbin" lpadmin -d "$1" || return 1
}

# The queues of the jobs that ended, in job order, one a line (up to 30 s
# for COUNT of them).
completed_queues() {
  local out
  for _ in $(seq 1 300); do
    out=$(lpstat -W completed -o 2>/dev/null | awk '{print $1}' | sort -t- -k2 -n |
      sed 's/-[0-9]*$//')
    [ "$(printf '%s' "$out" | grep -c .)" -ge "$1" ] && break
    sleep 0.1
  done
  printf '%s\n' "$out"
}

# The text of job N's document (the scheduler keeps the files).
job_text() {
  local f
  f=$(printf '%s/cups/spool/d%05d-001' "$work" "$1")
  [ -f "$f" ] && pdftotext "$f" - 2>/dev/null | tr -s ' \n\f' ' ' | sed 's/ $//'
}
