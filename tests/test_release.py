"""The release package as a user unpacks it: the shipping exe as built, a Japanese readme.txt
and an English readme-en.txt that Notepad on Windows Me or 2000 shows as it should, quoting
the program's texts exactly; packed reproducibly."""
import hashlib
import os
import re
import shutil
import time
import zipfile

import pytest

import texts
from tools.release import README, README_JA, make_release

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
EXE = os.path.join(ROOT, 'build', 'win32', 'pdclean.exe')
EPOCH = 1700000000  # 2023-11-14 22:13:20 UTC
REPORTS = (texts.DONE, texts.DONE_REBOOT, texts.PARTIAL_ERROR)
# What the readmes may quote: every text the program shows, each line of a box on its own.
PROGRAM_LINES = {line for t in (*REPORTS, *texts.REFUSALS.values(), texts.ERROR_CAPTION)
                 for line in t.split('\n\n')}


@pytest.fixture(scope='module')
def release(tmp_path_factory):
    path = make_release(EXE, README, README_JA, str(tmp_path_factory.mktemp('a')), EPOCH)
    with zipfile.ZipFile(path) as z:
        yield path, z.infolist(), {n: z.read(n) for n in z.namelist()}


def test_zip_holds_the_exe_as_built_and_both_readmes_in_order(release):
    path, infos, files = release
    assert os.path.basename(path) == 'pdclean-1.1.zip'  # the version block's 1.1.0.0
    assert [i.filename for i in infos] == ['pdclean.exe', 'readme.txt', 'readme-en.txt']
    with open(EXE, 'rb') as f:
        assert files['pdclean.exe'] == f.read()
    for name in ('readme.txt', 'readme-en.txt'):
        text = files[name].decode('cp932')  # fails on any byte that is not code page 932
        bare = files[name].replace(b'\r\n', b'')
        assert b'\n' not in bare and b'\r' not in bare, name  # every line ends in CR LF
        assert '`' not in text and '![' not in text, name
    assert files['readme.txt'].decode('cp932').startswith('pdcleanの使い方\r\n======')
    english = files['readme-en.txt'].decode('cp932')
    assert english.startswith('Using pdclean\r\n') and '実行 (Execute)' in english
    # ASCII but for the Japanese it quotes: no typographic quotes or dashes slip in.
    japanese = re.compile(r'[\u3000-\u30ff\u4e00-\u9fff\uff00-\uffef]')
    assert all(ord(c) < 128 or japanese.match(c) for c in english)


def test_japanese_readme_quotes_each_report_byte_for_byte(release):
    readme = release[2]['readme.txt']
    quoted = re.findall('「(.*?)」'.encode('cp932'), readme)
    assert quoted and {q.decode('cp932') for q in quoted} <= PROGRAM_LINES
    # Each report stands whole, its lines as adjacent quotes.
    for report in REPORTS:
        shown = '「' + '」「'.join(report.split('\n\n')) + '」'
        assert shown.encode('cp932') in readme, report
    buttons = re.findall('［(.*?)］'.encode('cp932'), readme)
    assert {b.decode('cp932') for b in buttons} == {texts.EXECUTE_TEXT, texts.CLOSE_TEXT, 'OK'}


def test_one_commit_gives_one_zip_whatever_the_files_times(release, tmp_path):
    path, infos, _ = release
    assert all(i.date_time == (2023, 11, 14, 22, 13, 20) for i in infos)
    exe = str(tmp_path / 'pdclean.exe')
    shutil.copy(EXE, exe)
    os.utime(exe, (time.time(), time.time() - 86400))  # the file's own time must not leak
    again = make_release(exe, README, README_JA, str(tmp_path / 'out'), EPOCH)
    digests = [hashlib.sha256(open(p, 'rb').read()).hexdigest() for p in (path, again)]
    assert digests[0] == digests[1]
