#!/usr/bin/env python3
"""pdclean's main job, shown under Wine: a throwaway prefix set to Windows 2000 (or Me),
the program started in it, and either the user's own clicks on a real display or, headless,
the dialog driven and photographed under Xvfb."""
import argparse
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, 'tests', 'wine'))
from bench import Bench  # noqa: E402

OUT = os.path.join(ROOT, 'build', 'demo')


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument('--winme', action='store_true', help='run as Windows Me, not Windows 2000')
    ap.add_argument('--headless', action='store_true', help='use Xvfb even when a display is set')
    args = ap.parse_args()
    version = 'winme' if args.winme else 'win2k'
    display = None if args.headless else os.environ.get('DISPLAY') or None

    os.makedirs(OUT, exist_ok=True)
    print('preparing a throwaway Wine prefix as %s ...' % version, flush=True)
    bench = Bench(display=display)
    try:
        exe = 'C:\\pdtest\\pdclean.exe'
        if display:
            bench.drive('version:pdclean.exe:' + version)
            print('pdclean is open on %s: click 実行 (Execute), then 閉じる (Close).' % display)
            done = bench.wine(exe, timeout=None)
            print('pdclean exited with code %d' % done.returncode)
            return
        shot = 'C:\\pdtest\\dialog.bmp'
        r = bench.drive('version:pdclean.exe:' + version, 'start:' + exe, 'dialog:5000',
                        'shot:dialog:' + shot, 'controls', 'click:1', 'exit:5000')
        print(r.raw, end='')
        png = os.path.join(OUT, 'dialog.png')
        bench.save_png(shot, png)
        print('screenshot of the dialog: %s' % os.path.relpath(png, ROOT))
        print('pdclean exited with code %s' % r.one('exit').get('code', '?'))
    finally:
        bench.close()


if __name__ == '__main__':
    main()
