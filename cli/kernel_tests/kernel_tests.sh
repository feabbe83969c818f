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
# The adapter's satellite transponders: the default one and the stored tuning's.
VKERNEL_MODPARAMS=dvb_vidtv_bridge.vidtv_valid_dvb_s_freqs=11362000,12322000 \
	VKERNEL_FILES=$files VKERNEL_OUT=$out/vm VKERNEL_TIMEOUT=${VKERNEL_TIMEOUT:-300} \
	"$vkernel/run-in-vm.sh" "$here/in_vm.sh" "$cli" >"$out/vm.log" 2>&1
status=$?
if [ ! -f "$out/vm/done" ]; then
	tail -n 20 "$out/vm.log"
	skip "the virtual machine did not run the cases (status $status)"
fi
rm -f kernel_tests.skipped
cd "$out/vm"

# shellcheck source=../../scripts/checks.sh
. "$here/../../scripts/checks.sh"
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
measures() { says "$1.out" '^strength: -[0-9]+\.[0-9] dBm$' && says "$1.out" '^cnr: +[0-9]+\.[0-9] dB$'; }
check "DVB-S2 8PSK, roll-off 0.20, stream 1 locks on linux:0?dvb-s2" locks tune-s2
check "DVB-T2 PLP 0 locks at 474 MHz" locks tune-t2
check "DVB-S2 prints its strength in dBm and CNR in dB" measures tune-s2
check "DVB-T2 prints its strength in dBm and CNR in dB" measures tune-t2
check "DVB-C 256-QAM prints its strength in dBm and CNR in dB" measures tune-c
check "the adapter's error counters give no rate" says tune-s2.out '^ber: +n/a$'
check "the DVB-S2 tuning is kept as DVB-S2 with its stream" says tune-s2.ini '^STREAMID=1$'
check "the DVB-S2 tuning reads back as DVB-S2" says tune-s2.ini '^SYSTEM=4$'
check "the DVB-T2 tuning reads back as DVB-T2 PLP 0" says tune-t2.ini '^SYSTEM=5$'
check "a terrestrial scan labels its stream from the read-back" says scan-t.out '^  4081 - 474\.000 MHz 8 MHz$'
check "a terrestrial NIT scan ends well" status_is nit-t 0
check "the terrestrial NIT scan files the stream where the card stands" says nit-t.out '^  4081 - 474\.000 MHz 8 MHz$'
check "the terrestrial NIT scan says its tuning" says nit-t.err '^tuning DVB-T 474\.000 MHz$'
check "the event log names the stream of the DVB-S2 tuning" says events.csv '"delivery system=auto stream=1"'
check "DVB-T at 490 MHz does not lock" misses tune-t-wrong
check "DVB-S at 11500 MHz does not lock" misses tune-s-wrong
check "the event log shows the DVB-T tuning" says events.csv '"Setting DVB-T freq=474000 si=[0-2] bw=2"'
check "the event log shows the DVB-C tuning" says events.csv '"Setting DVB-C freq=474000 sr=6875000 QAM=4 '
check "the event log shows the low band LOF" says events.csv '"LOF=9750000"'
check "the event log shows the DVB-S tuning" says events.csv '"freq=11362000 SR=27500000"'
check "the event log says when DVB-S does not lock" says events.csv '"Not locked"'

# Every 188-byte packet of the file starts with the sync byte and carries the PID.
only_pid() { # file, PID, least number of packets
	local size
	size=$(stat -c %s "$1") || return 1
	[ $((size % 188)) = 0 ] || { echo "  $1: $size bytes, no whole number of packets"; return 1; }
	od -An -v -tu1 -w188 "$1" | awk -v pid="$2" -v least="$3" '
		$1 != 71 || ($2 % 32) * 256 + $3 != pid { bad++ }
		END { print "  " NR " packets, " bad + 0 " of another PID or out of sync"; exit !(bad == 0 && NR >= least) }'
}
# The whole stream: whole packets in sync, of the PIDs the adapter sends (PAT, NIT, audio).
whole_stream() { # file, least number of packets
	local size
	size=$(stat -c %s "$1") || return 1
	[ $((size % 188)) = 0 ] || { echo "  $1: $size bytes, no whole number of packets"; return 1; }
	od -An -v -tu1 -w188 "$1" | awk -v least="$2" '
		$1 != 71 { bad++ } { seen[($2 % 32) * 256 + $3] = 1 }
		END { print "  " NR " packets, " bad + 0 " out of sync"; exit !(bad == 0 && NR >= least && (0 in seen) && (16 in seen) && (273 in seen)) }'
}
no_line() { ! grep -qE -- "$2" "$1" || { echo "  $1 has /$2/"; false; }; }

check "a current scan ends well" status_is scan 0
check "the scan files transport stream 0x4081" says scan.out '^  4081 - '
check "the scan finds network 0xFF44" says scan.out '^FF44 - '
check "the scan reads the service's SDT" says scan.out '^    SDT actual: 1 section, 1 service$'
check "the scan reads the PMT" says scan.out '^    PMT: 1 section, 1 program$'
check "the scan reads the present event" says scan.out '^    EIT p/f actual: 1 section$'
check "the scan reads the adapter's NIT" says scan.out '^    NIT actual: 1 section$'
check "the NIT's loop length is warned of" says scan.trace 'byte 23: transport_stream_loop_length 6 disagrees'
check "no collection of the scan ends by its time-out" no_line scan.trace timerproc
check "the tree names the service Beethoven" says tree.out ' - Beethoven$'
check "the tree shows the service's present event" says tree.out 'EID [0-9a-f]{4}'
check "the JSON report carries the NIT's warning" says json.out '"text": "transport_stream_loop_length 6 disagrees'
check "a 2 s recording of PID 0x111 ends well" status_is record 0
check "the recording holds only whole packets of PID 0x111" only_pid record.ts 273 300
check "a 1 s recording of the whole stream ends well" status_is record-all 0
check "the whole stream holds whole packets of PAT, NIT and audio" whole_stream whole.ts 3000
verdict() { [ "$(cat "$1.rc")" -le 1 ] && says "$1.out" '^verdict: (OK|FAILED)'; }
check "a 2 s analysis of the card gives a verdict" verdict analyse
check "the analysis times the adapter's stream by its PCRs" says analyse.out '[0-9]+ packets, [12]\.[0-9]{3} s, [0-9.]+ Mbit/s \(time base: pcr\)'
check "the analysis counts the packets of the adapter's PID 0x111" says analyse.out '^  0x0111  [a-z]+ +[0-9]+ +[1-9][0-9]* '
check "the adapter's stream has no continuity errors" says analyse.out '^  1\.4 Continuity_count_error +0$'
check "the analysis lists the card's delivery faults apart" says analyse.out '^Delivery faults of the card .*: 0 demux buffer overruns, 0 lock losses$'
check "a recording stopped by Ctrl-C ends" test -s interrupt.rc
check "after Ctrl-C the adapter tunes again" locks after-interrupt

if [ $failures -gt 0 ]; then
	echo "$failures kernel check(s) failed; the VM's log:"
	sed 's/^/  | /' "$out/vm.log"
	exit 1
fi
echo "all kernel checks passed"
