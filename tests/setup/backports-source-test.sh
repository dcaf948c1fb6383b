#!/usr/bin/env bash
# scripts/backports-source.sh on apt configurations written here, one per case: both of apt's
# formats, apt's reading order, disabled and commented-out sources, signing keys given as a path
# or written out, and the machines where no Debian source or already a backports source exists.
# Every address is under .example: no real mirror is named.
set -uo pipefail
script=$(cd "$(dirname "$0")/../.." && pwd)/scripts/backports-source.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# Writes a file of the case's apt folder: apt_file <relative path> (content on stdin).
apt_file() {
  mkdir -p "$(dirname "$apt/$1")"
  cat >"$apt/$1"
}
new_case() {
  name=$1
  apt=$work/$((++count))
  mkdir -p "$apt/sources.list.d"
}
# The case's printed stanza must be exactly the expected one (stdin).
expect_stanza() {
  local expected actual
  expected=$(cat)
  if ! actual=$("$script" "$apt" bookworm 2>&1); then
    echo "FAIL $name: the script failed: $actual"
    failures=$((failures + 1))
  elif [ "$actual" != "$expected" ]; then
    echo "FAIL $name"
    diff <(echo "$expected") <(echo "$actual") | sed 's/^/  /'
    failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}
expect_no_source() {
  local actual
  if actual=$("$script" "$apt" bookworm 2>&1); then
    echo "FAIL $name: a stanza was printed where none fits:"
    echo "$actual" | sed 's/^/  /'
    failures=$((failures + 1))
  elif ! grep -q "no enabled deb source of bookworm" <<<"$actual"; then
    echo "FAIL $name: failed without saying why: $actual"
    failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}
expect_configured() { # yes|no
  local status=no
  "$script" --configured "$apt" bookworm >/dev/null 2>&1 && status=yes
  if [ "$status" = "$1" ]; then
    echo "ok   $name (backports configured: $1)"
  else
    echo "FAIL $name: backports configured: $status, expected $1"
    failures=$((failures + 1))
  fi
}
count=0

new_case "deb822 as Debian 12 installs it, comments inside the stanzas"
apt_file sources.list.d/debian.sources <<'EOF'
Types: deb
# http://snapshot.example/archive/debian/20250520T000000Z
URIs: http://mirror-a.example/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: http://mirror-a.example/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
apt_file sources.list.d/vendor.list.disabled <<'EOF'
deb http://vendor.example/apt bookworm main
EOF
expect_stanza <<'EOF'
Types: deb
URIs: http://mirror-a.example/debian
Suites: bookworm-backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
expect_configured no

new_case "one-line sources.list: deb-src, cdrom, comments and the security suite passed over"
apt_file sources.list <<'EOF'
# deb http://old.example/debian bookworm main
deb cdrom:[Debian GNU/Linux 12.5.0 _Bookworm_]/ bookworm main
deb-src http://src.example/debian bookworm main
deb http://security.example/debian-security bookworm-security main
deb [arch=amd64,i386 signed-by=/etc/apt/keyrings/debian.gpg] http://mirror-c.example/debian/ bookworm main contrib # the mirror
deb http://later.example/debian bookworm main
EOF
expect_stanza <<'EOF'
Types: deb
URIs: http://mirror-c.example/debian/
Suites: bookworm-backports
Components: main
Signed-By: /etc/apt/keyrings/debian.gpg
EOF

new_case "one-line options with blanks inside the brackets, no key"
apt_file sources.list <<'EOF'
deb [ arch=amd64 trusted=no ] https://mirror-d.example/debian bookworm main
EOF
expect_stanza <<'EOF'
Types: deb
URIs: https://mirror-d.example/debian
Suites: bookworm-backports
Components: main
EOF

new_case "sources.list is read before sources.list.d"
apt_file sources.list <<'EOF'
deb http://first.example/debian bookworm main
EOF
apt_file sources.list.d/a.sources <<'EOF'
Types: deb
URIs: http://second.example/debian
Suites: bookworm
Components: main
EOF
expect_stanza <<'EOF'
Types: deb
URIs: http://first.example/debian
Suites: bookworm-backports
Components: main
EOF

new_case "an empty sources.list and a .list file in sources.list.d"
apt_file sources.list </dev/null
apt_file sources.list.d/mirror.list <<'EOF'
deb http://mirror-e.example/debian bookworm main non-free-firmware
EOF
expect_stanza <<'EOF'
Types: deb
URIs: http://mirror-e.example/debian
Suites: bookworm-backports
Components: main
EOF

new_case "deb822: disabled and source-only stanzas passed over, field names in any case"
apt_file sources.list.d/debian.sources <<'EOF'
Types: deb
URIs: http://disabled.example/debian
Suites: bookworm
Components: main
Enabled: no

Types: deb-src
URIs: http://src.example/debian
Suites: bookworm
Components: main

types: deb-src deb
uris: http://mirror-f.example/debian http://spare.example/debian
suites: bookworm-updates bookworm
components: main
signed-by: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
expect_stanza <<'EOF'
Types: deb
URIs: http://mirror-f.example/debian
Suites: bookworm-backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF

new_case "deb822 with its key written out in the stanza"
apt_file sources.list.d/debian.sources <<'EOF'
Types: deb
URIs: http://mirror-g.example/debian
Suites: bookworm
Components: main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mDMEZTestKeyLinesAreCopiedAsTheyStand
 -----END PGP PUBLIC KEY BLOCK-----
EOF
expect_stanza <<'EOF'
Types: deb
URIs: http://mirror-g.example/debian
Suites: bookworm-backports
Components: main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mDMEZTestKeyLinesAreCopiedAsTheyStand
 -----END PGP PUBLIC KEY BLOCK-----
EOF

new_case "a stanza whose file has no blank line at its end, followed by another file"
printf 'Types: deb\nURIs: http://vendor.example/apt\nSuites: nodistro\nComponents: main' |
  apt_file sources.list.d/a-vendor.sources
printf 'Types: deb\nURIs: http://mirror-h.example/debian\nSuites: bookworm\nComponents: main' |
  apt_file sources.list.d/b-debian.sources
expect_stanza <<'EOF'
Types: deb
URIs: http://mirror-h.example/debian
Suites: bookworm-backports
Components: main
EOF

new_case "only other vendors' sources and another release"
apt_file sources.list <<'EOF'
deb http://mirror-i.example/debian trixie main
EOF
apt_file sources.list.d/vendor.sources <<'EOF'
Types: deb
URIs: https://vendor.example/node_20.x
Suites: nodistro
Components: main
EOF
expect_no_source
expect_configured no

new_case "no apt configuration at all"
expect_no_source

new_case "backports already configured, one-line"
apt_file sources.list.d/debian.sources <<'EOF'
Types: deb
URIs: http://mirror-j.example/debian
Suites: bookworm
Components: main
EOF
apt_file sources.list.d/backports.list <<'EOF'
deb http://mirror-j.example/debian bookworm-backports main
EOF
expect_configured yes

new_case "backports already configured, deb822"
apt_file sources.list.d/debian.sources <<'EOF'
Types: deb
URIs: http://mirror-k.example/debian
Suites: bookworm bookworm-updates bookworm-backports
Components: main
EOF
expect_configured yes

new_case "backports configured but disabled or commented out"
apt_file sources.list.d/debian.sources <<'EOF'
Types: deb
URIs: http://mirror-l.example/debian
Suites: bookworm-backports
Components: main
Enabled: no
EOF
apt_file sources.list <<'EOF'
#deb http://mirror-l.example/debian bookworm-backports main
EOF
expect_configured no

echo "backports-source: $count cases, $failures failed"
[ "$failures" -eq 0 ]
