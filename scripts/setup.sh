#!/usr/bin/env bash
# Installs, with apt-get and only when missing, every Debian package the project needs to build,
# test, run, package and take screenshots, and generates the UTF-8 locales that players' desktops
# have. Safe to run again: it installs nothing that is already there.
#
# The shipped program is the i686 build, so 32-bit Wine (wine32 from Debian's i386 lists) is part
# of the set. Should the i386 lists be unavailable, everything else is still installed, a warning
# says so loudly, and the i686 tests report themselves skipped with the reason.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

packages=(
  cmake make g++ python3                       # host build and the scripts
  git                                          # the release's commit and date, its clean clones
  tzdata                                       # the reproducibility check's second time zone
  ccache                                       # a fast second build of the same sources
  g++-mingw-w64-x86-64 g++-mingw-w64-i686      # both Windows compilers (posix thread model inside)
  wine wine64                                  # running and testing the Windows builds
  xvfb xauth xdotool imagemagick               # a display for the run command and screenshots
  googletest                                   # GoogleTest sources, built with each toolchain
  clang-14 libclang-rt-14-dev                  # libFuzzer targets on the host
  fonts-nanum fonts-ipafont-gothic             # dialog fonts: Korean, and Japanese made to the
  fonts-arphic-uming fonts-noto-cjk            # metrics of the Windows faces; Traditional Chinese
  fonts-wine                                   # Wine's own (Marlett)
  icoutils                                     # regenerating the icon and cursor art
  locales                                      # players' locales, for non-ASCII folder names
  zip                                          # the release package
)
wine32=wine32:i386
locales=(ko_KR.UTF-8 ja_JP.UTF-8 zh_TW.UTF-8 en_US.UTF-8 de_DE.UTF-8)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=()
for p in "${packages[@]}" "$wine32"; do
  installed "$p" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all $((${#packages[@]} + 1)) packages present"
else
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  if ! $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
    # Most often the i386 lists lag the amd64 ones for a while and apt refuses wine32: install
    # the rest, so that everything but the i686 tests still works.
    rest=()
    for p in "${missing[@]}"; do [ "$p" = "$wine32" ] || rest+=("$p"); done
    [ ${#rest[@]} -eq 0 ] || $sudo apt-get install -y -qq --no-install-recommends "${rest[@]}" >/dev/null
  fi
  echo "setup: done"
fi

# Some virtual machines' kernels run no 32-bit x86 code at all ("Exec format error" for wine32's
# loader). There the 32-bit side runs under qemu's user-mode emulation, registered for i386 ELF
# programs. Bookworm's qemu 7.2 needs about 70 s to start one Wine program (its address-space
# search under Wine's memory reservations); the backported 10.0 takes under a second.
qemu_i386=/proc/sys/fs/binfmt_misc/qemu-i386
run_i386_through_qemu() {
  local sources=/etc/apt/sources.list.d/bookworm-backports.sources
  echo "setup: this kernel does not run 32-bit x86 programs: running them under qemu-user"
  if ! dpkg-query -W -f='${Version}' qemu-user-static 2>/dev/null | grep -q bpo; then
    # The backports come from the mirror that this machine's Debian source already names, with
    # the same signing key (scripts/backports-source.sh reads it from the apt configuration).
    if ! "$here/backports-source.sh" --configured; then
      local stanza
      stanza=$("$here/backports-source.sh") || {
        echo "setup: WARNING: no Debian bookworm source is configured for apt, so qemu-user-static"
        echo "setup: cannot come from bookworm-backports; the i686 tests will not run"
        return 0
      }
      echo "setup: adding bookworm-backports from the configured Debian mirror"
      printf '%s\n' "$stanza" | $sudo tee "$sources" >/dev/null
    fi
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends -t bookworm-backports qemu-user-static \
      >/dev/null
  fi
  [ -e /proc/sys/fs/binfmt_misc/register ] ||
    $sudo mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  # An older registration may hold an older qemu open: register afresh.
  [ -e "$qemu_i386" ] && echo -1 | $sudo tee "$qemu_i386" >/dev/null
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' |
    $sudo tee /proc/sys/fs/binfmt_misc/register >/dev/null
}
if installed "$wine32" && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  run_i386_through_qemu
  /usr/lib/wine/wine --version >/dev/null 2>&1 ||
    echo "setup: WARNING: 32-bit Wine is installed but does not run; the i686 tests will fail"
fi

if ! installed "$wine32"; then
  echo "setup: ************************************************************************"
  echo "setup: WARNING: 32-bit Wine ($wine32) could not be installed from Debian's i386"
  echo "setup: lists. The shipped i686 program cannot run here: its tests will be SKIPPED."
  echo "setup: ************************************************************************"
fi

# Wine needs a real Unix locale to make files and folders with CJK names.
available=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
wanted=()
for l in "${locales[@]}"; do
  short=$(echo "$l" | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
  grep -qx "$short" <<<"$available" || wanted+=("$l")
done
if [ ${#wanted[@]} -gt 0 ]; then
  echo "setup: generating locales ${wanted[*]}"
  for l in "${wanted[@]}"; do
    line="$l UTF-8"
    if grep -qE "^# *$line\$" /etc/locale.gen; then
      $sudo sed -i -E "s/^# *($line)\$/\1/" /etc/locale.gen
    elif ! grep -qx "$line" /etc/locale.gen; then
      echo "$line" | $sudo tee -a /etc/locale.gen >/dev/null
    fi
  done
  $sudo locale-gen >/dev/null
fi
