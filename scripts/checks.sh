# shellcheck shell=bash
# Sourced by the shell test scripts: `check DESCRIPTION COMMAND...` prints ok or FAIL for one
# check and counts the failures in $failures.
failures=0
check() { # description, then a command that succeeds when the check holds
	local what=$1
	shift
	if "$@"; then
		echo "ok   $what"
	else
		echo "FAIL $what"
		failures=$((failures + 1))
	fi
}
