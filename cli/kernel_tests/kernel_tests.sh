#!/bin/bash
# The Linux DVB card on a real kernel DVB stack: boots the virtual machine of
# ../shared/vkernel (dvb-core and the virtual adapter vidtv) once, runs the cases of
# in_vm.sh there with the real kestrel-cli, and checks what they printed and logged.
# usage: kernel_tests.sh KESTREL_CLI VKERNEL_DIR
# Exit status: 0 passed, 1 a check failed, 77 skipped (no vkernel, or the VM did not run).
set -u
cli=$(readlink -f "$1")
vkernel=$2
here=$(cd "$(dirname "$0")" && pwd)

skip() { # also into the working folder, for `make test` to repeat after its summary
	echo "KERNEL TESTS SKIPPED: $*" | tee kernel_tests.skipped
	exit 77
}
[ -x "$vkernel/run-in-vm.sh" ] || skip "no virtual machine ($vkernel/run-in-vm.sh missing)"

out=$(mktemp -d "${TMPDIR:-/tmp}/kestrel-kernel.XXXXXX")
trap 'rm -rf "$out"' EXIT
files=$cli
gconv=/usr/lib/x86_64-linux-gnu/gconv # for any iconv user inside the VM
[ ! -d "$gconv" ] || files="$files $gconv/gconv-modules $gconv/gconv-modules.d $gconv/ISO8859-1.so $gconv/ISO8859-15.so"
VKERNEL_FILES=$files VKERNEL_OUT=$out/vm VKERNEL_TIMEOUT=${VKERNEL_TIMEOUT:-300} \
	"$vkernel/run-in-vm.sh" "$here/in_vm.sh" "$cli" >"$out/vm.log" 2>&1
status=$?
if [ ! -f "$out/vm/done" ]; then
	tail -n 20 "$out/vm.log"
	skip "the virtual machine did not run the cases (status $status)"
fi
rm -f kernel_tests.skipped
cd "$out/vm"

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
status_is() { [ "$(cat "$1.rc")" = "$2" ] || { echo "  $1 exited $(cat "$1.rc"), not $2"; show "$1"; false; }; }
says() { grep -qE -- "$2" "$1" || { echo "  no line /$2/ in $1"; show "${1%.*}"; false; }; }
show() { sed 's/^/  | /' "$1.out" "$1.err" 2>/dev/null; }
locks() { status_is "$1" 0 && says "$1.out" '^locked: +yes$'; }
misses() { status_is "$1" 1 && says "$1.out" '^locked: +no$'; }

check "cards names linux:0 with its delivery systems" \
	says cards.out '^  linux:0 +Dummy demod for DVB-T/T2/C/S/S2 \(DVB-T, DVB-T2, DVB-C, DVB-S, DVB-S2\)$'
check "DVB-T locks at 474 MHz" locks tune-t
check "DVB-C locks at 474 MHz" locks tune-c
check "DVB-S locks at 11362 MHz horizontal, low band" locks tune-s
check "the frontend's own first system is DVB-T" locks tune-default
check "DVB-T at 490 MHz does not lock" misses tune-t-wrong
check "DVB-S at 11500 MHz does not lock" misses tune-s-wrong
check "the event log shows the DVB-T tuning" says events.csv '"Setting DVB-T freq=474000 si=[0-2] bw=2"'
check "the event log shows the DVB-C tuning" says events.csv '"Setting DVB-C freq=474000 sr=6875000 QAM=4 '
check "the event log shows the low band LOF" says events.csv '"LOF=9750000"'
check "the event log shows the DVB-S tuning" says events.csv '"freq=11362000 SR=27500000"'
check "the event log says when DVB-S does not lock" says events.csv '"Not locked"'

if [ $failures -gt 0 ]; then
	echo "$failures kernel check(s) failed; the VM's log:"
	sed 's/^/  | /' "$out/vm.log"
	exit 1
fi
echo "all kernel checks passed"
