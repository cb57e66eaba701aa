#!/usr/bin/env bash
# Runs every test: host tests under sanitizers, the shipping exe's static checks, and the
# real program under Wine.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup-machine.sh
scripts/build.sh
ctest --preset host
/usr/bin/python3 -m pytest -q -p no:cacheprovider tests "$@"
