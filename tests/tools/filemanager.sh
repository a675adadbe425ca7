# File managers driven by real key strokes, for the key hook's and the lookup's tests. Source
# after lib.sh; GTK 2 programs need the accessibility bridge (GTK_MODULES=gail:atk-bridge).
# fm_open COMMAND...: starts a file manager, last in $pids; sets $fm_pid, and $fm once its window shows.
fm_open() {
  "$@" >>"$tmp/$1.log" 2>&1 & fm_pid=$!; pids+=($fm_pid)
  fm=""
  wait_for 60 fm_window || fail "$1 shows no window"
}
fm_window() { fm=$(xdotool search --onlyvisible --pid "$fm_pid" 2>/dev/null | tail -1) && [ -n "$fm" ]; }
# keys KEYS...: real key strokes (XTEST) into the file manager, focused
keys() { xdotool windowactivate --sync "$fm" >/dev/null 2>&1 || true; xdotool key --clearmodifiers "$@"; }
# pcmanfm_open DIR: PCManFM, which knows no previewer bus, on DIR. It also opens a text file on
# Space: with a program that does nothing and shows no window.
pcmanfm_open() {
  command -v pcmanfm >/dev/null || fail "pcmanfm is not installed (scripts/install-deps)"
  mkdir -p "$XDG_DATA_HOME/applications"
  printf '[Desktop Entry]\nType=Application\nName=Nothing\nExec=true %%f\nMimeType=text/plain;\n' \
    > "$XDG_DATA_HOME/applications/vuel-test-nothing.desktop"
  [ -e "$XDG_CONFIG_HOME/mimeapps.list" ] ||
    printf '[Default Applications]\ntext/plain=vuel-test-nothing.desktop\n' > "$XDG_CONFIG_HOME/mimeapps.list"
  fm_open pcmanfm "$1"
}
# focused PATH: PATH is the item the file manager's view has focused
focused() { [ "$(echo "$fm" | "$VUEL_BUILD/accessible_probe" 2>/dev/null)" = "$1" ]; }
# pcmanfm_select PATH [VIEW_KEYS]: selects PATH by typing the start of its name. PCManFM fills
# its view in its own time: again until it is focused. The pauses pace the keys: a key that
# comes before the search box is up stays out of it, and an Escape too early leaves the box
# open to swallow the next Space.
pcmanfm_select() {
  local name; name=$(basename "$1")
  for _ in 1 2 3 4 5; do
    if [ -n "${2:-}" ]; then keys "$2"; sleep 1.5; fi
    keys Home; sleep 0.3
    xdotool type --delay 80 "${name:0:3}"; sleep 0.6
    keys Escape; sleep 0.5 # ends the type-ahead search, the file stays selected
    wait_for 10 focused "$1" && return 0
  done
  fail "PCManFM did not select $name"
}
