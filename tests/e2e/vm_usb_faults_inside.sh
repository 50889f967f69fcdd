#!/bin/sh
# Runs inside the MIDI guest with the USB-MIDI device "Corvane Chorus" (the modes are
# described in vm_usb_faults_test.sh). Prints what it measured as "== " lines for the host
# script, and each Firmhold run's standard error as "LABEL| " lines.
#   vm_usb_faults_inside.sh MODE FIRMHOLD LISTER DRIVER IMAGE [OFFSETS...]
# IMAGE is the file the close mode sends; the other modes send the built-in image, and
# IMAGE is a copy of it, read only for its size.
mode=$1 app=$2 lister=$3 driver=$4 image=$5
shift 5
exec 2>&1

port="Corvane Chorus MIDI 1"
# What the device has received so far: the guest's capture of the device side writes it
# as it arrives.
received_file=/results/usbmidi.bin
image_size=$(stat -c %s "$image")
title="Corvane Chorus version"
[ "$mode" = close ] && title="$(basename "$image" .syx) version"
# An unattended run that hangs is ended after this, so that the runs after it still happen.
run_guard=20

now() { read -r up _ < /proc/uptime; echo "$up"; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", b - a}'; }
received() { stat -c %s "$received_file" 2>/dev/null || echo 0; }
card() { awk '/USB-Audio - Corvane Chorus/ {print $1; exit}' /proc/asound/cards; }
outputid() { "$lister" | grep -n -x "$port" | cut -d: -f1; }
die() { echo "== error: $*"; exit 1; }

wait_for_port() {   # seconds -> the port's --outputid, once it is listed
    deadline=$(awk -v t="$(now)" -v s="$1" 'BEGIN {print t + s}')
    while :; do
        n=$(outputid)
        [ -n "$n" ] && { echo "$n"; return 0; }
        awk -v t="$(now)" -v d="$deadline" 'BEGIN {exit !(t > d)}' && return 1
        usleep 100000
    done
}

watch_for_pull() {   # notes in /tmp/pulled when the device leaves the bus (its raw device goes)
    dev=/dev/snd/midiC$(card)D0
    rm -f /tmp/pulled
    ( while [ -e "$dev" ]; do usleep 20000; done; now > /tmp/pulled ) &
    watcher=$!
}

was_pulled() {   # seconds: whether the watched pull has come (it is plugged back in later)
    i=0
    while [ ! -e /tmp/pulled ]; do
        i=$((i + 1))
        if [ $i -gt $(($1 * 50)) ]; then
            kill $watcher; wait $watcher 2>/dev/null
            return 1
        fi
        usleep 20000
    done
    wait $watcher
}

wait_for_bytes() {   # count seconds: until the device has received count bytes in all,
                     # or Firmhold (started by start_app) has ended
    i=0
    while [ "$(received)" -lt "$1" ]; do
        [ -e /tmp/app.status ] && return 1
        i=$((i + 1)); [ $i -gt $(($2 * 50)) ] && return 1
        usleep 20000
    done
}

autoupdate() {   # label, arguments...: one unattended update of the port, timed
    label=$1; shift
    n=$(outputid)
    [ -n "$n" ] || die "$label: $port is not listed"
    run_start=$(now)
    midivm-helper time timeout -s KILL $run_guard "$app" --autoupdate --outputid "$n" "$@" 2>/tmp/err
    status=$?
    ms=$(awk '/^midivm-time:/ {print $2}' /tmp/err)
    grep -v '^midivm-time:' /tmp/err | sed "s/^/$label| /"
    echo "== $label exit=$status ms=$ms"
}

start_app() {   # arguments...: Firmhold in the background; /tmp/app.status gets its exit status
    rm -f /tmp/app.status
    ( "$app" "$@" 2>/tmp/app.err & echo $! > /tmp/app.pid; wait $!; echo $? > /tmp/app.status ) &
}

wait_for_app() {   # seconds: until Firmhold has ended; killed when it has not by then
    i=0
    while [ ! -e /tmp/app.status ]; do
        i=$((i + 1))
        if [ $i -gt $(($1 * 100)) ]; then
            echo "== still running after $1 s: killed"
            kill -9 "$(cat /tmp/app.pid)"
            while [ ! -e /tmp/app.status ]; do usleep 10000; done
            return 1
        fi
        usleep 10000
    done
}

close_app() {   # clicks the window's close button; sets clicks to how many it took
    # A click now and then goes astray in this server without a window manager: while the
    # window is still there a second later, it is clicked again (Firmhold ignores a second
    # close); the time to end counts from the first click all the same.
    clicks=0
    while [ ! -e /tmp/app.status ] && [ $clicks -lt 3 ]; do
        "$driver" --wait 0 "$title" close > /dev/null 2>&1 || break
        clicks=$((clicks + 1))
        i=0
        while [ ! -e /tmp/app.status ] && [ $i -lt 100 ]; do i=$((i + 1)); usleep 10000; done
    done
}

app_result() {   # label: Firmhold's standard error and exit status
    sed "s/^/$1| /" /tmp/app.err
    echo "== $1 exit=$(cat /tmp/app.status)"
}

t_start=$(now)
if [ "$mode" != late-plug ]; then
    n=$(wait_for_port 20) || die "$port is not listed"
    echo "== outputid=$n card=$(card)"
fi

case $mode in
busy)
    # Another program holds the device's raw MIDI output open.
    dev=/dev/snd/midiC$(card)D0
    sleep 60 > "$dev" &
    holder=$!
    i=0
    until [ "$(readlink "/proc/$holder/fd/1")" = "$dev" ]; do
        i=$((i + 1)); [ $i -gt 250 ] && die "the holder did not open $dev"
        usleep 20000
    done
    autoupdate busy
    echo "== busy received=$(received)"
    kill $holder; wait $holder 2>/dev/null
    # The same port once it is free: the device itself takes the image.
    autoupdate free
    ;;

pulls)
    # One pull per offset, each followed by a replug, and a run of the built-in image each time.
    k=0
    for offset in "$@"; do
        k=$((k + 1))
        wait_for_port 15 > /dev/null || die "pull$k: the device did not come back"
        base=$(received)
        watch_for_pull
        autoupdate "pull$k"
        end=$(now)
        if was_pulled 5; then
            pulled=$(cat /tmp/pulled)
            timing="start_to_pull=$(elapsed "$run_start" "$pulled") pull_to_exit=$(elapsed "$pulled" "$end")"
        else
            echo "== pull$k not-pulled"
            timing="start_to_pull=- pull_to_exit=-"
        fi
        echo "== pull$k offset=$offset session=$(($(received) - base)) $timing"
    done
    wait_for_port 15 > /dev/null || die "the device did not come back after the last pull"
    ;;

last-byte)
    # The device leaves the bus right after the image's last byte, and comes back.
    for k in 1 2 3; do
        wait_for_port 15 > /dev/null || die "run$k: the device is not listed"
        base=$(received)
        watch_for_pull
        autoupdate "run$k"
        was_pulled 5 || echo "== run$k not-pulled"
        echo "== run$k session=$(($(received) - base))"
    done
    wait_for_port 15 > /dev/null || die "the device did not come back after the last run"
    ;;

close)
    # Pulled in the middle of a long message, and the window closed at once.
    k=0
    for offset in "$@"; do
        k=$((k + 1))
        n=$(wait_for_port 15) || die "close$k: the device did not come back"
        base=$(received)
        watch_for_pull
        start_app --autoupdate --outputid "$n" --file "$image"
        if ! wait_for_bytes $((base + offset)) 20; then
            wait_for_app 1
            app_result "close$k"
            kill $watcher
            die "close$k: the device was not pulled: it received $(($(received) - base)) bytes"
        fi
        t0=$(now)
        before=no; [ -e /tmp/app.status ] && before=yes
        close_app
        wait_for_app 30
        echo "== close$k offset=$offset ended_before_click=$before clicks=$clicks gone_after=$(elapsed "$t0" "$(now)") session=$(($(received) - base))"
        app_result "close$k"
        was_pulled 5 || echo "== close$k not-pulled"
    done
    wait_for_port 15 > /dev/null || die "the device did not come back after the last close"
    ;;

repress)
    # Chosen and started in the window, pulled mid-transfer, plugged back in, update again.
    watch_for_pull
    start_app
    "$driver" "$title" choose "$n" update || die "the window could not be driven"
    t0=$(now)
    if ! was_pulled 10; then
        wait_for_app 1
        app_result window
        die "the device was not pulled: it received $(received) bytes"
    fi
    first=$(received)
    echo "== pulled_after_press=$(elapsed "$t0" "$(now)") first=$first"
    wait_for_port 15 > /dev/null || die "the device did not come back"
    echo "== back_after_press=$(elapsed "$t0" "$(now)")"
    # The panel reads the port list once a second: two of its rounds see the port again.
    sleep 2
    "$driver" --wait 0 "$title" update || die "no window to press update in"
    t1=$(now)
    if wait_for_bytes $((first + image_size)) 20; then
        echo "== second_done_after=$(elapsed "$t1" "$(now)")"
    else
        echo "== second_incomplete received=$(received)"
    fi
    t2=$(now)
    close_app
    wait_for_app 15
    echo "== gone_after_close=$(elapsed "$t2" "$(now)") clicks=$clicks"
    app_result window
    ;;

late-plug)
    # The device is plugged in while the window is up.
    start_app
    n=$(wait_for_port 30) || die "$port never appeared"
    echo "== listed_after_start=$(elapsed "$t_start" "$(now)") outputid=$n"
    # The panel promises a new port within 2 s of its arrival.
    sleep 2
    "$driver" "$title" choose "$n" update || die "the window could not be driven"
    t1=$(now)
    if wait_for_bytes "$image_size" 20; then
        echo "== transfer_done_after=$(elapsed "$t1" "$(now)")"
    else
        echo "== transfer_incomplete received=$(received)"
    fi
    t2=$(now)
    close_app
    wait_for_app 15
    echo "== gone_after_close=$(elapsed "$t2" "$(now)") clicks=$clicks"
    app_result window
    ;;

*)
    die "unknown mode $mode"
    ;;
esac
echo "== done"
