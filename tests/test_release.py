"""The release package as a user unpacks it: the shipping exe as built and a readme that
Notepad on Windows Me or 2000 shows as it should."""
import os
import zipfile

from tools.release import make_release

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
EXE = os.path.join(ROOT, 'build', 'win32', 'pdclean.exe')


def test_zip_holds_the_exe_as_built_and_a_cp932_crlf_readme(tmp_path):
    path = make_release(EXE, os.path.join(ROOT, 'README.md'), str(tmp_path))
    assert os.path.basename(path) == 'pdclean-1.1.zip'  # the version block's 1.1.0.0
    with zipfile.ZipFile(path) as z:
        assert sorted(z.namelist()) == ['pdclean.exe', 'readme.txt']
        with open(EXE, 'rb') as f:
            assert z.read('pdclean.exe') == f.read()
        readme = z.read('readme.txt')
    text = readme.decode('cp932')  # fails on any byte that is not code page 932
    bare = readme.replace(b'\r\n', b'')
    assert b'\n' not in bare and b'\r' not in bare  # every line ends in CR LF
    assert text.startswith('Using pdclean\r\n') and '実行 (Execute)' in text
    assert '`' not in text and '![' not in text
