# Sourced by the scripts: one step of a script, its output kept in a log.
#   mivo_step "what it does" LOG command args...
# On failure it says what failed and where its log is, shows the log's end and ends the
# script with status 1.
mivo_step() {
  local what=$1 log=$2
  shift 2
  mkdir -p "$(dirname "$log")"
  if ! "$@" >"$log" 2>&1; then
    echo "$(basename "$0"): $what failed (log: $log)" >&2
    tail -n 40 "$log" >&2
    exit 1
  fi
}

# The packages step, its own remarks shown (a stuttering archive, no 32-bit Wine), since
# the host's architectures are decided only once it has run.
#   mivo_install_deps LOG
mivo_install_deps() {
  mivo_step "installing the packages" "$1" "$(dirname "${BASH_SOURCE[0]}")/install-deps.sh"
  sed -n 's/^install-deps: //p' "$1"
}
