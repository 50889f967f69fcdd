# Shell helpers for tests that read a program's windows from the X server (xdotool,
# xwininfo). Sourced; the caller defines fail.

find_window_matching() {   # title regex [seconds, default 10] -> window id
    local id="" tries=$(( ${2:-10} * 20 ))
    for _ in $(seq "$tries"); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.05
    done
    return 1
}

find_window() {   # exact title [seconds, default 10] -> window id
    find_window_matching "^$(printf '%s' "$1" | sed 's/[][\.*^$]/\\&/g')\$" "${2:-10}"
}

size_of() { xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

# Answers, with Return, every visible window whose title matches the regex $2 until one
# matching $1 shows (for up to 10 s). An alert box may be re-created while it settles, so
# it is looked up afresh each time.
answer_alerts_until() {   # main window regex, alert regex
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0
        if id=$(xdotool search --onlyvisible --name "$2" 2>/dev/null | head -n1) && [ -n "$id" ]; then
            xdotool windowfocus "$id" 2>/dev/null || true
            xdotool key --window "$id" Return 2>/dev/null || true
        fi
        sleep 0.2
    done
}
