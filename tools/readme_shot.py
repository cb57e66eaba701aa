#!/usr/bin/env python3
"""Photographs the release's Japanese readme.txt as a user first sees it: opened in Wine's
Notepad under the Japanese locale (code page 932). Saves docs/notepad-ja.png. Run it after
./release.sh."""
import glob
import os
import subprocess
import sys
import time
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, ROOT)
from tools.wine.harness import WINE, Harness  # noqa: E402


def main():
    from PIL import ImageGrab
    zips = sorted(glob.glob(os.path.join(ROOT, 'build', 'release', 'pdclean-*.zip')))
    wine = Harness()
    try:
        with zipfile.ZipFile(zips[-1]) as z, open(wine.host_path('C:\\pdtest\\readme.txt'), 'wb') as f:
            f.write(z.read('readme.txt'))
        notepad = subprocess.Popen([WINE, 'notepad', 'C:\\pdtest\\readme.txt'], env=wine.env,
                                   cwd=wine.tmp)
        time.sleep(8)  # Notepad's first start in a new prefix
        screen = ImageGrab.grab(xdisplay=wine.env['DISPLAY'])
        notepad.kill()
        # The window stands alone on a black screen: its bounding box is the window.
        path = os.path.join(ROOT, 'docs', 'notepad-ja.png')
        screen.crop(screen.getbbox()).save(path)
        print(os.path.relpath(path, ROOT))
    finally:
        wine.close()


if __name__ == '__main__':
    main()
