#!/usr/bin/env bash
# Builds pdclean and runs it under Wine as Windows 2000 in a throwaway prefix.
# With a display you use the real window; without one (or with --headless) it runs under
# Xvfb, saves screenshots to build/demo/ and closes the dialog itself.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup-machine.sh
scripts/build.sh win32 win64
/usr/bin/python3 tools/demo.py "$@"
