#!/usr/bin/env python3
"""Packs the release: build/release/pdclean-<version>.zip with the shipping exe, readme.txt
(the Japanese guide, docs/readme-ja.md) and readme-en.txt (the README's user section), both
as plain text in code page 932 with CR LF line ends, what Notepad on Windows Me or 2000 shows
as it should. The zip is reproducible: one commit, one SHA-256. Prints the zip's path, size
and SHA-256."""
import hashlib
import os
import re
import subprocess
import sys
import time
import unicodedata
import zipfile

import pefile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
README = os.path.join(ROOT, 'README.md')
README_JA = os.path.join(ROOT, 'docs', 'readme-ja.md')


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


def columns(text):
    """Columns a fixed-pitch font gives text: two for a full-width character, one for
    half-width katakana and ASCII."""
    return sum(2 if unicodedata.east_asian_width(c) in 'WF' else 1 for c in text)


def table_lines(rows):
    """A Markdown table as text: each row's first cell, then the others under their headings."""
    header, body = rows[0], rows[2:]
    out = []
    for row in body:
        out.append('- ' + row[0])
        out += ['    %s: %s' % (h, c) for h, c in zip(header[1:], row[1:])]
    return out


def readme_text(section):
    """A Markdown section as plain text, one line per line."""
    out, rows = [], []
    for line in section.splitlines():
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
            title = heading.group(2)
            out += [title, ('=' if len(heading.group(1)) == 2 else '-') * columns(title)]
            continue
        out.append(line)
    if rows:
        out += table_lines(rows)
    text = '\n'.join(out).replace('`', '')
    text = re.sub(r'\n{3,}', '\n\n', text).strip() + '\n'
    return text.replace('\n', '\r\n').encode('cp932')


def source_epoch():
    """The release's time: SOURCE_DATE_EPOCH when set, else the last commit's."""
    if os.environ.get('SOURCE_DATE_EPOCH'):
        return int(os.environ['SOURCE_DATE_EPOCH'])
    done = subprocess.run(['git', '-C', ROOT, 'log', '-1', '--format=%ct'], capture_output=True,
                          text=True, check=True)
    return int(done.stdout)


def entry(name, epoch):
    """An entry that carries nothing of the machine that packs it: UTC time (a zip keeps
    no time zone; 1980 is its earliest), MS-DOS as the maker, no attributes."""
    info = zipfile.ZipInfo(name, max(time.gmtime(epoch)[:6], (1980, 1, 1, 0, 0, 0)))
    info.create_system = 0
    info.external_attr = 0
    info.compress_type = zipfile.ZIP_STORED
    return info


def make_release(exe, readme_md, readme_ja_md, out_dir, epoch=None):
    """Writes the zip into out_dir; returns its path."""
    with open(readme_md, encoding='utf-8') as f:
        english = readme_text(user_section(f.read()))
    with open(readme_ja_md, encoding='utf-8') as f:
        japanese = readme_text(f.read())
    with open(exe, 'rb') as f:
        program = f.read()
    epoch = source_epoch() if epoch is None else epoch
    os.makedirs(out_dir, exist_ok=True)
    path = os.path.join(out_dir, 'pdclean-%s.zip' % version(exe))
    # Stored, not deflated: deflate's bytes depend on the zlib build that packs them.
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_STORED) as z:
        # In a fixed order.
        for name, data in (('pdclean.exe', program), ('readme.txt', japanese),
                           ('readme-en.txt', english)):
            z.writestr(entry(name, epoch), data)
    return path


def main():
    path = make_release(os.path.join(ROOT, 'build', 'win32', 'pdclean.exe'), README, README_JA,
                        os.path.join(ROOT, 'build', 'release'))
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
