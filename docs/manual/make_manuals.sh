#!/usr/bin/env bash
# Writes the two manuals from their sources with tessaro-mkmanual.
#   docs/manual/make_manuals.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/../.."
bld=${1:-build-dev}
cmake --build "$bld" --target tessaro-mkmanual >/dev/null
mk="$bld/tools/tessaro-mkmanual"
"$mk" docs/manual/en.md "docs/manual/Brinkmoor Manual V2.07.pdf"
if [ -f docs/manual/de.md ]; then
  "$mk" docs/manual/de.md "docs/manual/Brinkmoor Anleitung V2.07.pdf"
fi
