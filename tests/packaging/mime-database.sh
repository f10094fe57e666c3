#!/usr/bin/env bash
# The MIME definition compiles into a shared-mime-info database with our glob and our magic, as
# on installation. Usage: mime-database.sh UPDATE_MIME_DATABASE DEFINITION.xml
set -euo pipefail
d=$(mktemp -d)
trap 'rm -rf "$d"' EXIT
mkdir -p "$d/packages"
cp "$2" "$d/packages/"
"$1" "$d" >/dev/null 2>&1
# Globs without a case-sensitive flag are stored in lower case.
grep -qi '^[0-9]*:application/x-brenmoor-ovdata:ovdata\[0-9\]$' "$d/globs2" || { echo "FAIL: glob missing"; exit 1; }
grep -q 'application/x-brenmoor-ovdata' "$d/magic" || { echo "FAIL: magic missing"; exit 1; }
grep -q 'OvDa' "$d/magic" || { echo "FAIL: magic value missing"; exit 1; }
echo "PASS: database built with the OvData glob and magic"
