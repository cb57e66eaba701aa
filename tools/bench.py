#!/usr/bin/env python3
"""Prints the file removal's figures, measured under Wine in a throwaway prefix."""
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, 'tests', 'wine'))
from bench import Bench  # noqa: E402

if __name__ == '__main__':
    bench = Bench()
    try:
        done = bench.wine('C:\\pdtest\\win_bench.exe', timeout=1200)
        sys.stdout.write(done.stdout.decode('utf-8', 'replace'))
    finally:
        bench.close()
