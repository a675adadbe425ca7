#!/usr/bin/env bash
# Under a Simplified Chinese locale the running instance speaks Chinese: the start balloon, the
# tray menu and the settings dialog, found by their Chinese names on the accessibility bus as a
# screen reader reads them. (That every text is translated, and that the settings file keeps its
# name in every language: translations_test.)
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../tools/atspi.sh"
atspi_session "$@"
locale -a 2>/dev/null | grep -qix 'zh_CN.utf8' || fail "no zh_CN.UTF-8 locale (scripts/install-deps)"
unset LANGUAGE
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND"' ERR

atspi_start_bus
# start_instance waits for the English balloon; this one is Chinese.
(cd "$tmp" && exec "$VUEL_BUILD/vuel" log) & pids+=($!)
wait_for 30 grep -q '程序已启动' "$tmp/vuel.log" || fail "no Chinese start balloon: $(grep notice "$tmp/vuel.log" || true)"

# --- the tray menu ---
# The shortcut letters stay, in brackets after the Chinese words.
menu=$(tray_menu) || { import -window root "$shots/i18n_zh_cn_fail.png"; fail "no tray menu on the accessibility bus"; }
grep -qxF "设置(S)" <<<"$menu" || fail "no '设置(S)' in the tray menu: $menu"
still "$shots/i18n_zh_cn_tray_menu.png" import -window root -crop 400x300+1200+700 +repage || fail "the tray menu keeps changing"
# The shortcut letter still works.
xdotool key s
wait_for 20 shown 设置 || fail "the tray menu did not open the settings dialog (titled 设置)"

# --- the settings dialog ---
wait_for 20 atspi_find "常规" "check box" || fail "no Chinese General page button"
still "$shots/i18n_zh_cn_settings.png" on_screen "$(shown 设置)" || fail "the settings dialog keeps changing"
echo PASS
