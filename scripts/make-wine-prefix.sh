#!/usr/bin/env bash
# Makes a private Wine prefix for tests and screenshots, with the settings that keep tests honest:
# a crash ends the process at once with exit code 5 (no debugger dialog), windows hide without the
# window-manager wait, dialogs run on the null graphics driver unless a display is asked for, and
# the CJK dialog fonts map to fonts that Debian ships, made to the Windows fonts' metrics.
#
# A prefix remembers whether it was made with 32-bit support: one made before 32-bit Wine was
# installed cannot start an i686 program ("could not load kernel32.dll"), and one made with it
# would be half broken without it. When that changes, the prefix is made afresh. Safe to call from
# several builds at once: the first makes the prefix, the others wait for it.
set -euo pipefail
prefix=${1:?usage: make-wine-prefix.sh PREFIX [null|x11]}
# null: dialogs run with no X server at all (tests); x11: real windows on $DISPLAY (run, screenshots)
driver=${2:-null}
stamp=$prefix/.startup-prefix-ready

if [ -e /usr/lib/wine/wine ] && [ -e /usr/lib/i386-linux-gnu/wine/i386-windows/kernel32.dll ]; then
  wanted="32-bit support: yes"
else
  wanted="32-bit support: no"
fi
# The settings' number is raised whenever the settings below change, so that older prefixes are
# made afresh; so is a prefix of another Wine version.
wanted="$wanted; settings 4; $(/usr/lib/wine/wine64 --version)"
[ "$(cat "$stamp" 2>/dev/null)" = "$wanted" ] && exit 0

mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ "$(cat "$stamp" 2>/dev/null)" = "$wanted" ] && exit 0

export WINEPREFIX=$prefix WINEDEBUG=-all
loader=/usr/lib/wine/wine64
if [ -e "$prefix" ]; then
  echo "make-wine-prefix: $prefix was made for another Wine set-up ($(cat "$stamp" 2>/dev/null ||
    echo unfinished)); making it afresh"
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$prefix"
fi
mkdir -p "$prefix"
WINEDLLOVERRIDES="mscoree,mshtml=" "$loader" wineboot -i </dev/null >/dev/null 2>&1
wineserver -w

# Wine copies its own DLLs and programs into the prefix, 64-bit and 32-bit ones, about 1.2 GB. The
# copies are byte for byte the files Wine ships: links to those keep the prefix small.
python3 - "$prefix" <<'PY'
import filecmp, os, sys
shipped = {}
for folder in ("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows", "/usr/lib/i386-linux-gnu/wine/i386-windows"):
    if os.path.isdir(folder):
        for name in os.listdir(folder):
            shipped.setdefault(name.lower(), []).append(os.path.join(folder, name))
for root, _, names in os.walk(os.path.join(sys.argv[1], "drive_c")):
    for name in names:
        copy = os.path.join(root, name)
        if os.path.islink(copy) or os.path.getsize(copy) < 16384:
            continue
        for original in shipped.get(name.lower(), ()):
            if filecmp.cmp(copy, original, shallow=False):
                os.remove(copy)
                os.symlink(original, copy)
                break
PY

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
    # 32-bit programs read the 32-bit view of the machine's software settings.
    r"[HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows NT\CurrentVersion\AeDebug]",
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
    "MS UI Gothic": "IPAPGothic", "ＭＳ Ｐゴシック": "IPAPGothic", "MS PGothic": "IPAPGothic",
    "PMingLiU": "AR PL UMing TW", "新細明體": "AR PL UMing TW",
    "MingLiU": "AR PL UMing TW", "細明體": "AR PL UMing TW",
}
lines += ['"%s"="%s"' % kv for kv in replacements.items()]
text = "\r\n".join(lines) + "\r\n"
open(sys.argv[1], "wb").write(b"\xff\xfe" + text.encode("utf-16-le"))
PY
LC_ALL=ko_KR.UTF-8 "$loader" regedit /S "Z:${reg//\//\\}" </dev/null >/dev/null 2>&1
wineserver -w
echo "$wanted" >"$stamp"
