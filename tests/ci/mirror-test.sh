#!/usr/bin/env bash
# Which mirror the Debian 13 stage takes from apt sources in each form a host may have them.
#   mirror-test.sh <path of .ci/debian13>
set -euo pipefail
stage=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

# check NAME EXPECTED [FILE TEXT]...: the files are written under a scratch /etc/apt of a
# bookworm host, and the stage must name EXPECTED (nothing, when empty).
check() {
  local name=$1 expected=$2 got
  shift 2
  rm -rf "$scratch/apt"
  mkdir -p "$scratch/apt/sources.list.d"
  while [ $# -gt 0 ]; do
    printf '%s' "$2" >"$scratch/apt/$1"
    shift 2
  done
  got=$(TIVLA_APT_DIR=$scratch/apt TIVLA_CODENAME=bookworm "$stage" --mirror)
  [ "$got" = "$expected" ] ||
    { echo "FAIL $name: '$got' instead of '$expected'"; failures=$((failures + 1)); }
}

main='Types: deb
URIs: http://mirror.test/debian
Suites: bookworm bookworm-updates
Components: main
'
check "deb822 after the security stanza and one switched off" http://mirror.test/debian \
  sources.list.d/debian.sources "Types: deb
# http://snapshot.test/archive/debian-security/20250520T000000Z
URIs: http://mirror.test/debian-security
Suites: bookworm-security

Enabled: no
URIs: http://off.test/debian
Types: deb
Suites: bookworm

$main"
# The first file has no blank line at its end: its stanza must not take the next one's fields.
check "deb822 stanzas in two files" http://mirror.test/debian \
  sources.list.d/a.sources "${main%$'\n'}" \
  sources.list.d/b.sources "Types: deb
URIs: http://vendor.test/apt
Suites: stable
"
check "one-line with options, sources and security first" http://mirror.test/debian \
  sources.list.d/host.list "deb-src http://source.test/debian bookworm main
deb http://mirror.test/debian-security bookworm-security main
deb [arch=amd64 signed-by=/usr/share/keyrings/k.gpg] http://mirror.test/debian bookworm main"
check "one-line with no sources.list" http://mirror.test/debian \
  sources.list.d/host.list "deb http://mirror.test/debian bookworm main"
check "only another release's mirror" "" \
  sources.list "deb http://mirror.test/debian trixie main"

[ "$failures" -eq 0 ]
