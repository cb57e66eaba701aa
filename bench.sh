#!/usr/bin/env bash
# Prints the benchmark figures (not tests): tree removal against "rd /s /q", the
# wininit.ini insertion at 64 KiB, 1 MiB and 16 MiB, a Windows 2000 run split by step, and
# Execute to report of a Windows Me run against its 450 ms pacing floor, the handles each
# acquiring routine leaves after 1,000 calls, and the shipping exe's size. "files", "run",
# "handles" or "size": only those.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup-machine.sh
scripts/build.sh win32 win64
/usr/bin/python3 bench/figures.py "$@"
