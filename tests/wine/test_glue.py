"""The Win32 glue (file primitives, deletion at restart, tree removal, file plans, recorder)
tested by GoogleTest built for Windows and run in the harness's prefix; and the file step of a
real run, driven through the dialog."""
import os
import subprocess

import pytest

from tools.wine import harness
from tools.wine.harness import start

SYSTEM = 'C:\\windows\\system32'
WINDOWS = 'C:\\windows'


def test_win32_glue_tests_pass_under_wine(wine):
    done = wine.run('C:\\pdtest\\win_tests.exe', timeout=600)
    out = done.stdout.decode('utf-8', 'replace')
    print(out)
    assert done.returncode == 0, out
    assert '[  PASSED  ]' in out and 'FAILED' not in out
    # They schedule files for the restart; done now, not when some later test's program
    # happens to start a new server.
    wine.restart()


def put(wine, windows_path):
    path = wine.host_path(windows_path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(b'package file')
    return path


def test_execute_as_windows_2000_removes_the_package_files(wine):
    files = [SYSTEM + '\\' + f for f in ('drivers\\digclass.sys', 'wintab32.dll', 'tavro.dat')]
    files += [WINDOWS + '\\inf\\vavad.inf', WINDOWS + '\\inf\\vavad.pnf']
    keep = put(wine, SYSTEM + '\\wintab64.dll')  # not the package's
    paths = [put(wine, f) for f in files]
    r = wine.execute('win2k')
    assert r.controls()[1012]['enabled'] == '0'
    assert r.one('exit')['code'] == '0'
    assert [p for p in paths if os.path.exists(p)] == []
    assert os.path.exists(keep)
    os.remove(keep)


def test_execute_as_windows_me_removes_the_package_files(wine):
    paths = [put(wine, SYSTEM + '\\vavad.vxd'), put(wine, WINDOWS + '\\inf\\other\\tavrotablet.inf')]
    r = wine.execute('winme')
    assert r.one('exit')['code'] == '0'
    assert [p for p in paths if os.path.exists(p)] == []


# Windows Me's MoveFileEx is a stub, so its runs must go through wininit.ini: a program the
# harness starts as Windows Me must see the delay refused, and one started as 2000 must not.
@pytest.mark.parametrize('version, scheduled', [('winme', False), ('win2k', True)])
def test_the_harness_refuses_the_delay_to_windows_me_programs_only(wine, version, scheduled):
    probe = wine.install('win_tests.exe', 'delayprobe.exe')
    target = 'C:\\pdtest\\delayprobe.tmp'
    put(wine, target)
    r = wine.drive(*start(version, probe, '--schedule', target), 'exit:10000', 'pending')
    assert (r.one('exit')['code'] == '0') == scheduled
    assert ('\\??\\' + target.upper() in r.one('pending').paths()) == scheduled
    os.remove(wine.host_path(target))


# A program still starting when its server ends has not reached it, so the server cannot end
# it; left alone it would start a server of its own beside the next. A restart ends it too,
# and says so.
def test_a_restart_ends_a_program_its_server_never_knew(wine, tmp_path, monkeypatch):
    log = tmp_path / 'stragglers.log'
    monkeypatch.setattr(harness, 'STRAGGLER_LOG', str(log))
    starting = subprocess.Popen(['sleep', '600'], env=wine.env)
    try:
        wine.restart()
        assert starting.wait(timeout=10) == -9
    finally:
        starting.kill()
        starting.wait()
    assert log.read_text().count('%d sleep 600' % starting.pid) == 1
    assert starting.pid not in wine.processes()
