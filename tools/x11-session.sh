# Sourced by the scripts that show Wine windows under Xvfb (demo, screenshots,
# end-to-end run): a display of their own, finding a window by its title, and
# capturing it.  Windows are captured by id: a capture of the whole root shows
# message boxes black.

xvfb=""
# Ends the prefix's Wine processes and the display this script started.
end_x11_session() {
    wineserver -k 2>/dev/null || true
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
}

# Starts Xvfb on the first free display number from $1 to $2 and makes it
# the display; end_x11_session stops it.
start_xvfb() {
    local n
    for n in $(seq "$1" "$2"); do [ -e "/tmp/.X11-unix/X$n" ] || break; done
    export DISPLAY=:$n
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
}

# Makes $WINEPREFIX once (its first boot prints loader lines that WINEDEBUG
# cannot silence), starts its persistent server, and has Wine leave windows
# unmanaged: they close at once and carry their own title bars, as on Windows.
prepare_x11_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wine wineboot -i >/dev/null 2>&1 || true
        wineserver -w
    fi
    wineserver -p
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}

# The id of the top-level window titled $1 once it shows ($2 tenths of a
# second at most, default 100); fails when it does not.
window() {
    local id=""
    for _ in $(seq "${2:-100}"); do
        id=$(xwininfo -root -tree 2>/dev/null | awk -v t="\"$1\"" 'index($0, t) { print $1; exit }')
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Captures window $1 into the PNG file $2 once it has painted.
shoot() {
    sleep 1
    xwd -silent -id "$1" | convert xwd:- "$2"
}
