# Sourced by the shell tests: check WHAT COMMAND... runs the command, prints "ok: WHAT" or
# "FAILED: WHAT", and counts the failures in $failures for the test's exit status.
failures=0
check() {
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FAILED: $what"
    failures=$((failures + 1))
  fi
}
