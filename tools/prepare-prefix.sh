#!/usr/bin/env bash
# Prepares the private Wine prefix once: boot, font replacement for the skin's
# face, and the ALSA configuration whose default device writes raw PCM to a file.
set -euo pipefail
build=${1:?usage: prepare-prefix.sh BUILD_DIR}
build=$(cd "$build" && pwd)
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="

mkdir -p "$build/alsa"
cat > "$build/alsa/asound.conf" <<'CONF'
pcm.!default {
  type file
  slave.pcm "null"
  file {
    @func getenv
    vars [ MORVANE_AUDIO_CAPTURE ]
    default "/dev/null"
  }
  format "raw"
}
CONF

stamp="$WINEPREFIX/.morvane-ready-2"
[ -f "$stamp" ] && exit 0
echo "preparing Wine prefix in $WINEPREFIX"
wineboot -i >/dev/null 2>&1 || true
wineserver -w || true
reg="$build/alsa/fonts.reg"
printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"微软雅黑"="WenQuanYi Micro Hei"\r\n"Microsoft YaHei"="WenQuanYi Micro Hei"\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n"Tahoma"="wqy-microhei.ttc,WenQuanYi Micro Hei"\r\n"MS Shell Dlg"="wqy-microhei.ttc,WenQuanYi Micro Hei"\r\n"MS Shell Dlg 2"="wqy-microhei.ttc,WenQuanYi Micro Hei"\r\n\r\n; a crashing test must fail at once, not wait in the debugger\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug]\r\n"Auto"="1"\r\n"Debugger"=-\r\n' \
  | iconv -f UTF-8 -t UTF-16 > "$reg"
wine regedit /S "$reg" >/dev/null 2>&1 || wine regedit "$reg" >/dev/null 2>&1 || true
wineserver -w || true
touch "$stamp"
