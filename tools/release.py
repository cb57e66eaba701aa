#!/usr/bin/env python3
"""Packs the release: build/release/pdclean-<version>.zip with the shipping exe and
readme.txt, the README's user section as plain text in code page 932 with CR LF line ends
(what Notepad on Windows Me or 2000 shows as it should). Prints the zip's path, size and
SHA-256."""
import hashlib
import os
import re
import sys
import time
import zipfile

import pefile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def version(exe):
    """major.minor from the version block, with build and revision when they are set."""
    fixed = pefile.PE(exe, fast_load=False).VS_FIXEDFILEINFO[0]
    parts = [fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
             fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF]
    while len(parts) > 2 and parts[-1] == 0:
        parts.pop()
    return '.'.join(str(p) for p in parts)


def user_section(markdown):
    start = markdown.index('## Using pdclean')
    return markdown[start:markdown.index('\n## ', start + 1)]


def table_lines(rows):
    """A Markdown table as text: each row's first cell, then the others under their headings."""
    header, body = rows[0], rows[2:]
    out = []
    for row in body:
        out.append('- ' + row[0])
        out += ['    %s: %s' % (h, c) for h, c in zip(header[1:], row[1:])]
    return out


def readme_text(markdown):
    """The user section as plain text, one line per line."""
    out, rows = [], []
    for line in user_section(markdown).splitlines():
        if line.startswith('|'):
            rows.append([c.strip() for c in line.strip().strip('|').split('|')])
            continue
        if rows:
            out += table_lines(rows)
            rows = []
        if line.startswith('!['):
            continue  # a screenshot
        heading = re.match(r'(#+) (.*)', line)
        if heading:
            out += [heading.group(2), ('=' if len(heading.group(1)) == 2 else '-') * len(heading.group(2))]
            continue
        out.append(line)
    if rows:
        out += table_lines(rows)
    text = '\n'.join(out).replace('`', '')
    text = re.sub(r'\n{3,}', '\n\n', text).strip() + '\n'
    return text.replace('\n', '\r\n').encode('cp932')


def make_release(exe, readme_md, out_dir):
    """Writes the zip into out_dir; returns its path."""
    with open(readme_md, encoding='utf-8') as f:
        readme = readme_text(f.read())
    os.makedirs(out_dir, exist_ok=True)
    path = os.path.join(out_dir, 'pdclean-%s.zip' % version(exe))
    stamp = time.localtime(os.path.getmtime(exe))[:6]
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
        with open(exe, 'rb') as f:
            z.writestr(zipfile.ZipInfo('pdclean.exe', stamp), f.read(), zipfile.ZIP_DEFLATED)
        z.writestr(zipfile.ZipInfo('readme.txt', stamp), readme, zipfile.ZIP_DEFLATED)
    return path


def main():
    path = make_release(os.path.join(ROOT, 'build', 'win32', 'pdclean.exe'),
                        os.path.join(ROOT, 'README.md'), os.path.join(ROOT, 'build', 'release'))
    with open(path, 'rb') as f:
        data = f.read()
    print(os.path.relpath(path, ROOT))
    print('size: %d bytes' % len(data))
    print('sha256: %s' % hashlib.sha256(data).hexdigest())
    with zipfile.ZipFile(path) as z:
        for info in z.infolist():
            print('  %-12s %6d bytes' % (info.filename, info.file_size))


if __name__ == '__main__':
    sys.exit(main())
