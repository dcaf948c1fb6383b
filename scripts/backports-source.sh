#!/usr/bin/env bash
# Prints an apt source for Debian's backports suite on the mirror this machine already uses, as a
# deb822 stanza for a .sources file: the first enabled "deb" source of the release (in the order
# apt reads them: sources.list, then sources.list.d/*.list and *.sources by name) gives the address
# and its signing key, so the backports come the same way as every other Debian package and no
# mirror is named here. Both of apt's formats are read: one line per source, and deb822 stanzas.
#
# Usage: scripts/backports-source.sh [--configured] [APT_DIR [RELEASE]]
#   APT_DIR   the apt configuration folder, /etc/apt by default
#   RELEASE   the release's code name, bookworm by default; the suite is RELEASE-backports
#   --configured  prints nothing; succeeds when an enabled source already has the backports suite
# Fails, saying why on stderr, when no enabled source of the release is configured.
set -euo pipefail

mode=print
if [ "${1:-}" = --configured ]; then
  mode=configured
  shift
fi
apt_dir=${1:-/etc/apt}
release=${2:-bookworm}

files=()
[ -f "$apt_dir/sources.list" ] && files+=("$apt_dir/sources.list")
for f in "$apt_dir"/sources.list.d/*; do
  case $f in *.list | *.sources) [ -f "$f" ] && files+=("$f") ;; esac
done

LC_ALL=C awk -v mode="$mode" -v release="$release" '
  function has(list, word,    n, i, items) {
    n = split(list, items, /[ \t]+/)
    for (i = 1; i <= n; i++) if (items[i] == word) return 1
    return 0
  }
  # One source: its types, addresses, suites and signing key (a path, or a key written out on
  # continuation lines).
  function source(types, uris, suites, signedBy,    n, u, i) {
    if (!has(types, "deb")) return
    if (has(suites, release "-backports")) backports = 1
    if (found || !has(suites, release)) return
    n = split(uris, u, /[ \t]+/)
    for (i = 1; i <= n; i++) {
      if (u[i] == "" || u[i] ~ /^cdrom:/) continue
      found = 1; uri = u[i]; key = signedBy
      return
    }
  }
  function endStanza() {
    if (inStanza && tolower(field["enabled"]) != "no")
      source(field["types"], field["uris"], field["suites"], field["signed-by"])
    delete field; inStanza = 0; last = ""
  }
  FNR == 1 { if (inStanza) endStanza(); deb822 = (FILENAME ~ /\.sources$/) }

  # One-line format: "deb [options] uri suite [component...]", "#" to the end of a line a comment.
  !deb822 {
    sub(/#.*/, "")
    if ($1 != "deb") next
    options = ""; k = 2
    if ($2 ~ /^\[/) {
      for (; k <= NF; k++) { options = options " " $k; if ($k ~ /\]$/) { k++; break } }
    }
    gsub(/[\[\]]/, " ", options)
    signedBy = ""
    n = split(options, opt, /[ \t]+/)
    for (j = 1; j <= n; j++) if (opt[j] ~ /^signed-by=/) signedBy = substr(opt[j], 11)
    source("deb", $k, $(k + 1), signedBy)
    next
  }

  # deb822: stanzas parted by blank lines, "Field: value", continuation lines begin with a blank,
  # lines beginning with "#" are comments.
  /^#/ { next }
  /^[ \t]*$/ { endStanza(); next }
  /^[ \t]/ { if (last != "") field[last] = field[last] "\n" $0; next }
  {
    colon = index($0, ":")
    if (colon == 0) next
    last = tolower(substr($0, 1, colon - 1))
    value = substr($0, colon + 1)
    sub(/^[ \t]+/, "", value); sub(/[ \t]+$/, "", value)
    field[last] = value; inStanza = 1
  }

  END {
    if (inStanza) endStanza()
    if (mode == "configured") exit backports ? 0 : 1
    if (!found) {
      print "backports-source: no enabled deb source of " release " in the apt configuration" \
        > "/dev/stderr"
      exit 1
    }
    print "Types: deb"
    print "URIs: " uri
    print "Suites: " release "-backports"
    print "Components: main"
    # A key written out starts on the line after the field name.
    if (key != "") print "Signed-By:" (key ~ /^\n/ ? "" : " ") key
  }
' "${files[@]+"${files[@]}"}" </dev/null
