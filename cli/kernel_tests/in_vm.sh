#!/bin/sh
# Runs inside the virtual machine: each case of kernel_tests.sh as one kestrel-cli run, its
# output, error output, exit status and trace log kept in /out/CASE.* for the host to check.
# usage: in_vm.sh KESTREL_CLI
cli=$1
logs=$(dirname "$cli")
mkdir -p /out

run() {
	name=$1
	shift
	rm -f "$logs/kestrel-cli.txt"
	# Each case starts from the default settings, on a file of its own.
	"$cli" --settings "/out/$name.ini" "$@" >"/out/$name.out" 2>"/out/$name.err"
	echo $? >"/out/$name.rc"
	[ ! -f "$logs/kestrel-cli.txt" ] || cp "$logs/kestrel-cli.txt" "/out/$name.trace"
}

run cards cards
run tune-t tune --card 'linux:0?dvb-t' --frequency 474 --bandwidth 8
run tune-c tune --card 'linux:0?dvb-c' --frequency 474 --symbol-rate 6875 --modulation 256
run tune-s tune --card 'linux:0?dvb-s' --frequency 11362 --polarisation H --symbol-rate 27500
run tune-t-wrong tune --card 'linux:0?dvb-t' --frequency 490 --bandwidth 8
run tune-s-wrong tune --card 'linux:0?dvb-s' --frequency 11500 --polarisation H --symbol-rate 27500
run tune-default tune --card linux:0 --frequency 474
run tune-s2 tune --card 'linux:0?dvb-s2' --frequency 11362 --polarisation H --symbol-rate 27500 \
	--modulation 8psk --roll-off 0.20 --stream-id 1
run tune-t2 tune --card 'linux:0?dvb-t' --frequency 474 --system dvb-t2 --stream-id 0

# A current scan on the terrestrial tuning tune-t kept: the NIT has no delivery descriptor,
# so the transport stream is labelled from the card's read-back.
cp /out/tune-t.ini /out/scan-t.ini
run scan-t scan --card 'linux:0?dvb-t' --tables 0x459 --quiet
# A NIT walk on the same tuning: its entry without delivery descriptor is scanned where the
# card stands, once it has locked.
cp /out/tune-t.ini /out/nit-t.ini
run nit-t scan --card 'linux:0?dvb-t' --mode nit --tables 0x459

# Scans and recordings play the stored tuning: 12322 MHz horizontal, high band.
sat='linux:0?dvb-s'
run scan --trace-level 4 scan --card "$sat" --tables 0x459 --quiet
run tree scan --card "$sat" --tables 0x459 --quiet --tree --values
run json scan --card "$sat" --tables 0x459 --quiet --json
run record record --card "$sat" --pid 0x111 --seconds 2 --out /out/record.ts
run record-all record --card "$sat" --pid all --seconds 1 --out /out/whole.ts
run analyse analyse --card "$sat" --seconds 2 --quiet

# Ctrl-C in the middle of a recording leaves an adapter the next run tunes again.
"$cli" --settings /out/interrupt.ini record --card "$sat" --pid 0x111 --out /out/interrupted.ts >/out/interrupt.out 2>/out/interrupt.err &
recording=$!
sleep 3
kill -INT $recording
wait $recording
echo $? >/out/interrupt.rc
run after-interrupt tune --card "$sat" --frequency 11362 --symbol-rate 27500

cp "$logs/kestrel1.txt" /out/events.csv
touch /out/done
