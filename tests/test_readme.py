"""The table of what pdclean removes, in the README and in the Japanese guide, is the
program's own tables, row by row: a table changed in the code and not in a guide (or the
other way round) fails here."""
import os
import re

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Each table of the code and the README row that shows it: (system, kind).
ROWS_EN = {
    ('files/plans.cpp', 'SystemFiles9x'): ('Me', 'files in the System folder'),
    ('files/plans.cpp', 'WindowsFiles9x'): ('Me', 'files in the Windows folder'),
    ('registry/plans.cpp', 'Keys9x'): ('Me', 'registry keys'),
    ('files/plans.cpp', 'SystemFilesNT'): ('2000', 'files in the System folder'),
    ('files/plans.cpp', 'WindowsFilesNT'): ('2000', 'files in the Windows folder'),
    ('registry/plans.cpp', 'KeysNT'): ('2000', 'registry keys'),
    ('registry/plans.cpp', 'ServicesNT'): ('2000', 'services'),
}
# The guides: where the table stands, and the names of its kinds.
KINDS_JA = {
    'Systemフォルダのファイル': 'files in the System folder',
    'Windowsフォルダのファイル': 'files in the Windows folder',
    'レジストリキー': 'registry keys',
    'サービス': 'services',
    'セットアップ情報ファイルのコピー': 'copies of the setup file',
    'サービスグループの順序': 'service group order',
    'デバイス': 'device entries',
}
GUIDES = {
    'en': ('README.md', '### What it removes', '### What it never touches', {}),
    'ja': ('docs/readme-ja.md', '### 削除されるもの', '### 削除しないもの', KINDS_JA),
}

# Tables that are empty in this configuration; a README row would be needed once they fill.
EMPTY = [('files/plans.cpp', 'Directories9x'), ('files/plans.cpp', 'RootDirectories2000'),
         ('registry/plans.cpp', 'Values9x')]


def source(path):
    with open(os.path.join(ROOT, path), encoding='utf-8') as f:
        return f.read()


def literals(text):
    """The C string literals of text; the tables use no escape but the doubled backslash."""
    found = re.findall(r'"((?:[^"\\]|\\.)*)"', text)
    assert all(re.fullmatch(r'(?:[^\\]|\\\\)*', f) for f in found), found
    return [f.replace('\\\\', '\\') for f in found]


def table(path, name):
    """The non-empty string literals of a constant table, in order."""
    body = re.search(r'\b%s\[\] = \{(.*?)\};' % name, source(path), re.S)
    assert body, '%s not found in %s' % (name, path)
    # A comment line is no entry.
    code = '\n'.join(l for l in body.group(1).splitlines() if not l.strip().startswith('//'))
    return [s for s in literals(code) if s]


def readme_rows(language):
    """The guide's removal table by (system, kind as the English guide names it): each cell
    and the code names in it."""
    path, start, end, kinds = GUIDES[language]
    text = source(path)
    section = text[text.index(start):text.index(end)]
    rows = {}
    for line in section.splitlines():
        cells = [c.strip() for c in line.strip().strip('|').split('|')]
        if len(cells) == 3 and cells[0] in ('Me', '2000'):
            kind = kinds.get(cells[1], cells[1])
            rows[(cells[0], kind)] = (cells[2], re.findall(r'`([^`]*)`', cells[2]))
    return rows


@pytest.mark.parametrize('language', sorted(GUIDES))
def test_what_it_removes_is_the_programs_own_tables(language):
    rows = readme_rows(language)
    for (path, name), row in ROWS_EN.items():
        assert row in rows, '%s guide has no row for %s' % (language, row)
        assert rows[row][1] == table(path, name), name
    for path, name in EMPTY:
        assert table(path, name) == [], '%s is no longer empty: add it to the guides' % name


@pytest.mark.parametrize('language', sorted(GUIDES))
def test_sweeps_and_device_rules_in_the_readme_are_the_programs(language):
    rows = readme_rows(language)
    oem = rows[('2000', 'copies of the setup file')][1]
    assert re.findall(r'"(oem\*\.inf)"', source('files/plans.cpp')) == ['oem*.inf']
    assert oem == ['inf\\oemN.inf', 'PEN', 'inf\\oemN.pnf']
    assert 'static const char PenClass[] = "PEN";' in source('files/plans.cpp')
    group = source('registry/service_group.cpp')
    assert rows[('2000', 'service group order')][1] == [
        re.search(r'PenGroup\[\] = "(.*)"', group).group(1),
        re.search(r'ListValue\[\] = "(.*)"', group).group(1),
        re.search(r'GroupOrderKey\[\] = "(.*)"', group).group(1).replace('\\\\', '\\')]
    devices = rows[('2000', 'device entries')][1]
    assert devices[:3] == table('registry/plans.cpp', 'TabletEnumerators')
    assert devices[3:] == re.findall(r'BeginsWith\(p, "([^"]*)"\)', source('registry/device_match.cpp'))
