#!/usr/bin/env bash
# Makes a private Wine prefix for tests and screenshots, with the settings that keep tests honest:
# a crash ends the process at once with exit code 5 (no debugger dialog), windows hide without the
# window-manager wait, dialogs run on the null graphics driver unless a display is asked for, and
# the CJK dialog fonts map to fonts that Debian ships.
set -euo pipefail
prefix=${1:?usage: make-wine-prefix.sh PREFIX [null|x11]}
# null: dialogs run with no X server at all (tests); x11: real windows on $DISPLAY (run, screenshots)
driver=${2:-null}
stamp=$prefix/.startup-prefix-ready
[ -f "$stamp" ] && exit 0

export WINEPREFIX=$prefix WINEDEBUG=-all
loader=/usr/lib/wine/wine64
mkdir -p "$prefix"
WINEDLLOVERRIDES="mscoree,mshtml=" "$loader" wineboot -i </dev/null >/dev/null 2>&1
wineserver -w

fonts=$prefix/drive_c/windows/Fonts
mkdir -p "$fonts"
for f in /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.ttc; do
  [ -e "$f" ] && ln -sf "$f" "$fonts/"
done

# The .reg file is UTF-16LE with a BOM so that the CJK font names survive, imported under a CJK
# locale (command-line arguments with CJK text arrive garbled, files do not).
reg=$(mktemp --suffix=.reg)
trap 'rm -f "$reg"' EXIT
python3 - "$reg" "$driver" <<'PY'
import sys
lines = [
    "Windows Registry Editor Version 5.00",
    "",
    r"[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]",
    '"Debugger"=""',
    '"Auto"="0"',
    "",
    r"[HKEY_CURRENT_USER\Software\Wine\X11 Driver]",
    '"Managed"="N"',
    '"Decorated"="Y"',
    "",
    r"[HKEY_CURRENT_USER\Software\Wine\Drivers]",
    '"Graphics"="%s"' % sys.argv[2],
    "",
    r"[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]",
]
replacements = {
    "Gulim": "NanumGothic", "굴림": "NanumGothic",
    "MS UI Gothic": "Noto Sans CJK JP", "ＭＳ Ｐゴシック": "Noto Sans CJK JP",
    "MS PGothic": "Noto Sans CJK JP",
    "PMingLiU": "Noto Sans CJK TC", "新細明體": "Noto Sans CJK TC",
    "MingLiU": "Noto Sans CJK TC", "細明體": "Noto Sans CJK TC",
}
lines += ['"%s"="%s"' % kv for kv in replacements.items()]
text = "\r\n".join(lines) + "\r\n"
open(sys.argv[1], "wb").write(b"\xff\xfe" + text.encode("utf-16-le"))
PY
LC_ALL=ko_KR.UTF-8 "$loader" regedit /S "Z:${reg//\//\\}" </dev/null >/dev/null 2>&1
wineserver -w
touch "$stamp"
