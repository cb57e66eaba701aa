#!/usr/bin/env python3
"""pdclean's main job, shown under Wine: a throwaway prefix set to Windows 2000 (or Me), a
simulated installation of the driver package put into it, and pdclean run there. On a real
display you click Execute yourself; headless (no display, or --headless) the dialog is driven
under Xvfb, the dialog and the report are photographed, and what the package left before and
after is printed side by side."""
import argparse
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, ROOT)
from tools.wine.harness import Harness  # noqa: E402

OUT = os.path.join(ROOT, 'build', 'demo')
EXE = 'C:\\pdtest\\pdclean.exe'


def rows(items):
    """The listing as table rows; the many group names that must stay make one row."""
    out, others = [], []
    for i in items:
        if i.kind == 'group' and not i.removed:
            others.append(i)
        else:
            out.append((i.kind, i.name, i.present, i.removed))
    if others:
        out.append(('group', '%d other group names' % len(others), all(i.present for i in others), False))
    return out


def width(text):
    # Japanese characters take two columns on a terminal.
    return sum(2 if ord(c) > 0x2E7F else 1 for c in text)


def table(before, after):
    lines = []
    b, a = rows(before), rows(after)
    name_w = max(width(r[1]) for r in b)
    lines.append('%-7s %s  %-7s %-7s %s' % ('kind', 'item'.ljust(name_w), 'before', 'after', 'expected'))
    bad = 0
    for (kind, name, was, removed), (_, _, now, _) in zip(b, a):
        expected = 'removed' if removed else 'kept'
        ok = (not now) if removed else now
        bad += not ok
        lines.append('%-7s %s  %-7s %-7s %s%s' % (kind, name + ' ' * (name_w - width(name)),
                                                  'present' if was else 'absent',
                                                  'present' if now else 'absent', expected,
                                                  '' if ok else '   <-- NOT AS EXPECTED'))
    return '\n'.join(lines), bad


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument('--winme', action='store_true', help='run as Windows Me, not Windows 2000')
    ap.add_argument('--headless', action='store_true', help='use Xvfb even when a display is set')
    args = ap.parse_args()
    version, family = ('winme', 'me') if args.winme else ('win2k', '2000')
    display = None if args.headless else os.environ.get('DISPLAY') or None

    os.makedirs(OUT, exist_ok=True)
    print('preparing a throwaway Wine prefix as %s ...' % version, flush=True)
    wine = Harness(display=display)
    try:
        wine.sim('install', family)
        before = wine.package(family)
        print('simulated installation of the driver package put in place', flush=True)
        if display:
            # Started by hand, after the driver has gone: Windows Me's refusal of MoveFileEx's
            # delay must last until the server ends, not only while the driver lives.
            wine.drive('version:pdclean.exe:' + version, *(['refusedelay'] if args.winme else []))
            print('pdclean is open on %s: click 実行 (Execute), then 閉じる (Close).' % display, flush=True)
            done = wine.run(EXE, timeout=None)
            print('pdclean exited with code %d' % done.returncode)
        else:
            dialog_bmp, report_bmp = 'C:\\pdtest\\dialog.bmp', 'C:\\pdtest\\report.bmp'
            r = wine.drive('version:pdclean.exe:' + version, 'start:' + EXE, 'dialog:5000',
                            'shot:dialog:' + dialog_bmp, 'click:1012', 'box:30000',
                            'shot:box:' + report_bmp, 'answer:1', 'click:1', 'exit:5000',
                            timeout=180)
            for bmp, png in ((dialog_bmp, 'dialog.png'), (report_bmp, 'report.png')):
                wine.save_png(bmp, os.path.join(OUT, png))
            box = r.one('box')
            print('clicked 実行 (Execute); the report came %.0f ms later:' % float(box['afterclick']))
            print('  [%s] %s' % (box.bytes('caption').decode('cp932'),
                                 box.bytes('text').decode('cp932').replace('\n', ' ')))
            print('screenshots: %s, %s' % tuple(os.path.relpath(os.path.join(OUT, p), ROOT)
                                                for p in ('dialog.png', 'report.png')))
            print('pdclean exited with code %s' % r.one('exit').get('code', '?'))
        text, bad = table(before, wine.package(family))
        print()
        print(text)
        print()
        print('everything as expected' if bad == 0 else '%d items not as expected' % bad)
        return 1 if bad else 0
    finally:
        wine.close()


if __name__ == '__main__':
    sys.exit(main())
