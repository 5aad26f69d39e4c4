#!/usr/bin/env bash
# Writes the two manuals in docs/manual/ from their sources with tessaro-mkmanual.
#   tools/tessaro-mkmanual/make_manuals.sh [BUILD_DIR]
# BUILD_DIR defaults to build, the folder that run.sh builds. QT_HASH_SEED=0
# keeps the order of the embedded fonts from one run to the next.
set -euo pipefail
cd "$(dirname "$0")/../.."
bld=${1:-build}
cmake --build "$bld" --target tessaro-mkmanual >/dev/null
mk="$bld/tools/tessaro-mkmanual/tessaro-mkmanual"
export QT_HASH_SEED=0
"$mk" docs/manual/en.md "docs/manual/Brinkmoor Manual V2.07.pdf"
if [ -f docs/manual/de.md ]; then
  "$mk" docs/manual/de.md "docs/manual/Brinkmoor Anleitung V2.07.pdf"
fi
