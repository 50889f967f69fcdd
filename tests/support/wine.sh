# Shell helpers for running the Windows build under Wine. Sourced; the caller defines fail.
#   wine_prepare PREFIX    exports Wine's settings for the tests and, when PREFIX is new,
#                          creates it completely before anything runs in it
# Afterwards "$wine64" is Wine's 64-bit loader (Debian keeps it out of PATH; /usr/bin/wine
# is a wrapper around it).

wine_prepare() {
    export WINEPREFIX
    WINEPREFIX=$(realpath -m "$1")
    # Wine's own error lines stay on: a failure shows them. Its notes on unfinished parts
    # (fixme) are noise.
    export WINEDEBUG=fixme-all
    # No Mono or Gecko install prompts, no ALSA driver (this machine has no sound).
    export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv=d"
    wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)

    if [ ! -f "$WINEPREFIX/.complete" ]; then
        local log="$WINEPREFIX.log" start=$SECONDS
        echo "creating the Wine prefix $WINEPREFIX"
        rm -rf "$WINEPREFIX"
        mkdir -p "$(dirname "$WINEPREFIX")"
        # wineboot returns before the prefix is done; wineserver -w waits until every
        # program of the prefix has ended, and with them the set-up.
        "$wine64" wineboot --init >"$log" 2>&1 || { tail -n 30 "$log" >&2; fail "wineboot --init failed"; }
        wineserver -w
        [ -f "$WINEPREFIX/system.reg" ] || { tail -n 30 "$log" >&2; fail "wineboot left no registry in $WINEPREFIX"; }
        touch "$WINEPREFIX/.complete"
        echo "  ready after $((SECONDS - start)) s"
    fi
}

wine_stop() {   # ends every program in the prefix
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
}
