#!/usr/bin/env python3
"""Prints pdclean's figures, measured under Wine in a throwaway prefix: the file removal, a
Windows 2000 run on the full simulated installation split by step, and the time from
Execute to the report box against the pacing floor of a Windows Me run; and the size of the
shipping exe."""
import os
import statistics
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, ROOT)
from tools.wine.harness import Harness  # noqa: E402

PACING_FLOOR_MS = 9 * 50  # nine rows recorded on Windows Me, 50 ms each
ROUNDS = 7


def execute_to_report(wine, version):
    """Milliseconds from the click on Execute to the report box, through the real exe."""
    return float(wine.execute(version).one('box')['afterclick'])


def print_size():
    """The exe's size, and each section's bytes against the 512-byte file blocks they take:
    the room left says how close a section is to costing the file another block."""
    import pefile
    exe = os.path.join(ROOT, 'build', 'win32', 'pdclean.exe')
    size = os.path.getsize(exe)
    print('Shipping exe (build/win32/pdclean.exe): %d bytes (goal: at most 16896)' % size)
    pe = pefile.PE(exe, fast_load=True)
    align = pe.OPTIONAL_HEADER.FileAlignment
    print('  %-8s %7s %12s %6s' % ('section', 'bytes', 'in the file', 'room'))
    headers = pe.OPTIONAL_HEADER.SizeOfHeaders
    used = pe.DOS_HEADER.e_lfanew + 4 + 20 + pe.FILE_HEADER.SizeOfOptionalHeader + 40 * len(pe.sections)
    print('  %-8s %7d %12d %6d' % ('headers', used, headers, headers - used))
    for section in pe.sections:
        name = section.Name.rstrip(b'\0').decode()
        used, stored = section.Misc_VirtualSize, section.SizeOfRawData
        room = '%d' % (stored - used) if stored else '-'
        print('  %-8s %7d %12d %6s' % (name, used, stored, room))
    pe.close()
    print('  (file blocks of %d bytes; the session state is the end of .idata)' % align)


def main():
    only = sys.argv[1] if len(sys.argv) > 1 else ''
    if only in ('', 'size'):
        print_size()
    if only == 'size':
        return
    wine = Harness()
    try:
        if only in ('', 'files'):
            done = wine.run('C:\\pdtest\\win_bench.exe', 'files', timeout=1200)
            sys.stdout.write(done.stdout.decode('utf-8', 'replace'))
        if only in ('', 'handles'):
            done = wine.run('C:\\pdtest\\win_handles.exe', timeout=1200)
            sys.stdout.write(done.stdout.decode('utf-8', 'replace'))
        if only in ('', 'run'):
            done = wine.run('C:\\pdtest\\win_bench.exe', 'run', timeout=1200)
            sys.stdout.write(done.stdout.decode('utf-8', 'replace'))

            times = []
            for _ in range(ROUNDS):
                wine.sim('install', '2000')
                times.append(execute_to_report(wine, 'win2k'))
            print('Windows 2000, full simulated installation, Execute to report through the exe:')
            print('  median %.1f ms (min %.1f, max %.1f, %d runs)' % (
                statistics.median(times), min(times), max(times), ROUNDS))

            execute_to_report(wine, 'winme')  # whatever is left of the package goes first
            times = [execute_to_report(wine, 'winme') for _ in range(ROUNDS)]
            median = statistics.median(times)
            print('Windows Me, nothing installed, Execute to report through the exe:')
            print('  runs: %s ms' % ', '.join('%.1f' % t for t in times))
            print('  median %.1f ms against the %d ms floor of the pacing: ratio %.3f (goal: under 1.10)' % (
                median, PACING_FLOOR_MS, median / PACING_FLOOR_MS))
    finally:
        wine.close()


if __name__ == '__main__':
    main()
