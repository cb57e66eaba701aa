"""The whole job, end to end: the real program under Wine on a simulated installation of
the driver package, driven through its dialog, with the state checked from outside after."""
import itertools
import os
import shutil

import pytest

import texts
from tools.wine.harness import NO_SETUPAPI, start

PDCLEAN = 'C:\\pdtest\\pdclean.exe'
EXECUTE = 1012
TITLE = texts.TITLE.encode('cp932')
DONE = texts.DONE.encode('cp932')
DONE_REBOOT = texts.DONE_REBOOT.encode('cp932')
PARTIAL_ERROR = texts.PARTIAL_ERROR.encode('cp932')
PEN_CLASS_KEY = 'System\\CurrentControlSet\\Services\\Class\\PEN'
# Nine rows are recorded on Windows Me, each followed by a 50 ms pause.
PACING_FLOOR_MS = 9 * 50


def assert_report(r, text, icon):
    box = r.one('box')
    assert box.bytes('caption') == TITLE
    assert box.bytes('text') == text
    assert box['icon'] == icon
    assert box['buttons'] == '1'
    assert box['owner'] == 'dialog'
    assert r.one('nobox').word == 'ok'  # one box, and nothing after it
    assert r.controls()[EXECUTE]['enabled'] == '0'
    assert r.one('exit')['code'] == '0'


def left_over(items):
    return [i for i in items if i.removed and i.present]


def lost(items):
    return [i for i in items if not i.removed and not i.present]


def group_bytes(wine):
    fields = dict(l.split('\t') for l in wine.sim('grouplist').splitlines())
    return {k: bytes.fromhex(v) if v != '-' else b'' for k, v in fields.items()}


# The class of the tablet's USB node, which the run leaves alone, so the tests' class installer
# (in the system folder) set on it stays for the whole run. It keeps that node until the restart and asks for it, as Windows
# does with a tablet that cannot stop now (Wine's own removal never asks).
HID_CLASS_KEY = 'HKLM\\System\\CurrentControlSet\\Control\\Class\\{745a17a0-74d3-11d0-b6fe-00a0c90f57da}'
HELD_DEVICE = 'USB\\VID_4F1D&PID_0021\\5&1A2B3C4&0&1'


def hold_tablet_device(wine, held):
    if held:
        args = ('add', HID_CLASS_KEY, '/v', 'Installer32', '/d', 'held_device.dll,HeldDeviceInstaller')
    else:
        args = ('delete', HID_CLASS_KEY, '/v', 'Installer32')
    assert wine.run('reg', *args, '/f').returncode == 0


def install_above_a_gap(wine):
    """The package as a machine may hold it: a scanner's setup took the lowest free setup copy
    number first, and its removal freed it, so the package's copies sit above a gap."""
    inf = wine.host_path('C:\\windows\\inf')
    scanner = next(p for p in (os.path.join(inf, 'oem%d.inf' % n) for n in itertools.count())
                   if not os.path.exists(p))
    with open(scanner, 'wb') as f:
        f.write(b'[Version]\r\nSignature="$Windows NT$"\r\nClass=Image\r\n')
    wine.sim('install', '2000')
    os.remove(scanner)


@pytest.mark.target32
@pytest.mark.parametrize('held', [None, 'device', 'service'],
                         ids=['all-now', 'device-kept-until-the-restart', 'service-held-open'])
def test_windows_2000_full_installation_is_removed_and_reported_done(wine, held):
    install_above_a_gap(wine)
    before = wine.package('2000')
    assert all(i.present for i in before), [i for i in before if not i.present]
    if held == 'device':
        hold_tablet_device(wine, True)
        try:
            r = wine.execute('win2k')
            assert_report(r, DONE_REBOOT, 'information')
            assert [i.name for i in left_over(wine.package('2000'))] == [HELD_DEVICE]
        finally:
            hold_tablet_device(wine, False)
    elif held == 'service':
        # Another program holds the service program open through the run, so the service
        # manager keeps it marked until that program lets go, or until the restart.
        hold = 'holdservice:VavadService'
        r = wine.execute('win2k', before=[hold], after=[hold])
        assert_report(r, DONE_REBOOT, 'information')
        assert [l.word for l in r.all('holdservice')] == ['done', 'done']
        wine.restart()
        assert left_over(wine.package('2000')) == []
    r = wine.execute('win2k')
    assert_report(r, DONE, 'information')
    after = wine.package('2000')
    assert left_over(after) == []
    assert lost(after) == []
    kinds = {i.kind for i in after}
    assert kinds == {'file', 'key', 'group', 'device', 'service'}
    # The group order keeps every other name, in its place and order, byte for byte.
    groups = group_bytes(wine)
    assert groups['now'] == groups['installed'].replace(b'Pen Class\0', b'')


@pytest.mark.target32
def test_windows_2000_without_setupapi_removes_the_rest_and_reports_the_error(wine):
    wine.sim('install', '2000')
    r = wine.execute('win2k', env=NO_SETUPAPI)
    assert_report(r, PARTIAL_ERROR, 'warning')
    after = wine.package('2000')
    assert lost(after) == []
    # No INF is deleted unchecked: without the setup API neither the OEM copies nor the
    # device nodes can be told apart, so all of them stay; everything else is gone.
    unreachable = [i.name for i in after if i.removed and
                   (i.kind == 'device' or '\\inf\\oem' in i.name)]
    assert unreachable and [i.name for i in left_over(after)] == unreachable
    assert_report(wine.execute('win2k'), DONE, 'information')


# A setupapi.dll that anyone put into the download folder the user starts pdclean from, with
# Wine made to look for that library as Windows does: the program's folder, the current
# directory (the same folder here), and only then the system folder.
@pytest.mark.target32
@pytest.mark.parametrize('version', ['win2k', 'winme'])
def test_a_library_planted_beside_pdclean_is_never_loaded(wine, version):
    family = FAMILY[version]
    folder = 'C:\\download'
    os.makedirs(wine.host_path(folder), exist_ok=True)
    exe = folder + '\\pdclean.exe'
    shutil.copy(wine.host_path(PDCLEAN), wine.host_path(exe))
    shutil.copy(wine.host_path('C:\\pdtest\\planted.dll'), wine.host_path(folder + '\\setupapi.dll'))
    mark = wine.host_path('C:\\planted.mark')
    if os.path.exists(mark):
        os.remove(mark)
    wine.sim('install', family)
    wine.dll_override('pdclean.exe', 'setupapi', 'native,builtin')
    try:
        r = wine.execute(version, exe)
    finally:
        wine.dll_override('pdclean.exe', 'setupapi', None)
        shutil.rmtree(wine.host_path(folder))
    assert not os.path.exists(mark)
    assert_report(r, DONE, 'information')
    after = wine.package(family)
    assert left_over(after) == [] and lost(after) == []


def pen_copies(items):
    """The package's setup copies of class PEN, by number from the bottom: (inf, pnf) paths."""
    files = [i.name.split(' ')[0] for i in items if '\\inf\\oem' in i.name and i.removed]
    return list(zip(files[::2], files[1::2]))


# One setup copy of class PEN (pdsim: PEN, Mouse, Pen) resists, held by a reader with
# MoveFileEx refused or held unshared so that even its class cannot be read; or the run is
# ended from outside, as by a crash or a power cut, right after that copy goes or as soon as
# any file of a copy goes; or its .pnf is held by a reader, so it waits for the restart and
# its .inf with it. The other copy goes all the same; the next run finds and finishes the rest.
@pytest.mark.parametrize('first, report', [
    (['hold:{top}:read', 'refusedelay'], PARTIAL_ERROR), (['hold:{top}'], PARTIAL_ERROR),
    (['killwhengone:30000:{top}'], None), (['killwhengone:30000:{every}'], None),
    (['hold:{top_pnf}:read'], DONE_REBOOT),
], ids=['read-held-movefileex-refused', 'held-unshared', 'cut-after-the-highest',
        'cut-at-the-first', 'pnf-read-held-its-inf-waits-too'])
def test_windows_2000_setup_copies_left_by_a_failed_or_cut_run_are_finished_by_the_next(
        wine, first, report):
    wine.sim('install', '2000')
    copies = pen_copies(wine.package('2000'))
    every = ':'.join(f for copy in copies for f in copy)
    first = [c.format(top=copies[-1][0], top_pnf=copies[-1][1], every=every) for c in first]
    if report is None:
        r = wine.drive(*start('win2k'), 'dialog:5000', 'click:1012', *first)
        assert r.one('killwhengone').word == 'killed'
    elif report == PARTIAL_ERROR:
        r = wine.execute('win2k', before=first)
        assert r.one('hold').word == 'done'
        assert_report(r, PARTIAL_ERROR, 'warning')
        assert os.path.exists(wine.host_path(copies[-1][0]))
        assert not any(os.path.exists(wine.host_path(f)) for f in copies[0])
    else:
        # Until the restart the waiting copy keeps its .inf, so a run before it finds the copy
        # again and says so again.
        for _ in range(2):
            r = wine.execute('win2k', before=first)
            assert r.one('hold').word == 'done'
            assert_report(r, DONE_REBOOT, 'information')
            assert all(os.path.exists(wine.host_path(f)) for f in copies[-1])
            assert not any(os.path.exists(wine.host_path(f)) for f in copies[0])
        wine.restart()
    again = wine.execute('win2k')
    assert_report(again, DONE, 'information')
    after = wine.package('2000')
    assert left_over(after) == [] and lost(after) == []
    wine.restart()  # Wine keeps the Session Manager key's rule until its server ends


# The copy the Uninstall entry starts, running while another program holds a driver file
# open unshared: both resist deletion and are scheduled for the restart.
INSTALLED_COPY = 'C:\\windows\\pdclean.exe'
HELD = {'win2k': '\\drivers\\digclass.sys', 'winme': '\\vavad.vxd'}
FAMILY = {'win2k': '2000', 'winme': 'me'}
# Another installer's pending deletion, in a first section headed in its own letter case or
# with its lines ended by line feeds alone: the start-up processing reads only the first
# section so named, and reads both as its header, so ours must go there too. An update asked
# before the run to put a new copy in place of the held file; the restart works in order, so
# the deletion asked after it must come after it.
THEIRS = 'C:\\theirs.txt'
UPDATE = 'C:\\update.new'
THEIRS_INI = b'[Rename]\r\nNUL=C:\\THEIRS.TXT\r\n%s=C:\\UPDATE.NEW\r\n[boot]\r\nshell=Explorer.exe\r\n' \
             b'[rename]\r\n'
THEIRS_INI_LF = b'[rename]\nNUL=C:\\THEIRS.TXT\n%s=C:\\UPDATE.NEW\n[boot]\nshell=Explorer.exe\n'


# Windows Me's MoveFileEx refuses every request, so its runs go through wininit.ini. Only the
# 9x family reads that file: a refusal on NT is a failure, and says so. The package file the
# update replaces may also be free, or already gone: deleted now, the restart would put it
# back, so it too waits for the restart, behind the update.
@pytest.mark.parametrize('version, refused, report, theirs, file', [
    pytest.param('win2k', False, DONE_REBOOT, None, 'held', marks=pytest.mark.target32),
    pytest.param('winme', True, DONE_REBOOT, THEIRS_INI, 'held', marks=pytest.mark.target32),
    ('winme', True, DONE_REBOOT, THEIRS_INI_LF, 'held'),
    ('win2k', True, PARTIAL_ERROR, None, 'held'),
    pytest.param('win2k', False, DONE_REBOOT, None, 'free', marks=pytest.mark.target32),
    pytest.param('winme', True, DONE_REBOOT, THEIRS_INI, 'free', marks=pytest.mark.target32),
    ('win2k', False, DONE_REBOOT, None, 'gone'),
    ('winme', True, DONE_REBOOT, THEIRS_INI, 'gone'),
], ids=['2000', 'me', 'me-lf-ini', '2000-movefileex-refused', '2000-free', 'me-free', '2000-gone',
        'me-gone'])
def test_held_files_are_scheduled_and_gone_after_the_restart(wine, version, refused, report,
                                                             theirs, file):
    family = FAMILY[version]
    ini, bak = wine.host_path('C:\\windows\\wininit.ini'), wine.host_path('C:\\windows\\wininit.bak')
    for stale in (ini, bak):
        if os.path.exists(stale):
            os.remove(stale)
    wine.sim('install', family)
    shutil.copy(wine.host_path(PDCLEAN), wine.host_path(INSTALLED_COPY))
    held = [i.name for i in wine.package(family) if i.name.endswith(HELD[version])]
    before, exe = [], PDCLEAN
    if file == 'held':
        held.append(INSTALLED_COPY)
        before, exe = ['hold:' + held[0]], INSTALLED_COPY
    elif file == 'gone':
        os.remove(wine.host_path(held[0]))
    with open(wine.host_path(UPDATE), 'wb') as f:
        f.write(b'update')
    if version == 'winme':
        with open(wine.host_path(THEIRS), 'wb') as f:
            f.write(b'theirs')
        theirs = theirs % held[0].upper().encode()
        with open(ini, 'wb') as f:
            f.write(theirs)
    else:
        before.insert(0, 'replaceatrestart:%s:%s' % (UPDATE, held[0]))
        # A Session Manager key the user may not change.
        before += ['refusedelay'] if refused else []
    r = wine.execute(version, exe, before=before, after=['pending'])
    assert [l.word for l in r.all('hold')] == ['done'] * (file == 'held')
    assert_report(r, report, 'warning' if report == PARTIAL_ERROR else 'information')
    # Before the restart (read from outside: starting a program could restart Windows).
    assert [os.path.exists(wine.host_path(h)) for h in held] == [file != 'gone'] * len(held)
    scheduled = ['\\??\\' + h.upper() in r.one('pending').paths() for h in held]
    assert scheduled == [version == 'win2k' and not refused] * len(held)
    if version == 'winme':
        # One deletion per held file, 8.3 paths, in the order asked, last in their section.
        ours = b''.join(b'NUL=%s\r\n' % h.upper().encode() for h in held)
        end = theirs.index(b'[boot]')
        with open(ini, 'rb') as f:
            assert f.read().upper() == (theirs[:end] + ours + theirs[end:]).upper()
    else:
        assert not os.path.exists(ini)

    wine.restart()
    after = wine.package(family)
    assert lost(after) == []
    if report == DONE_REBOOT:
        assert left_over(after) == []
    else:
        assert sorted(i.name for i in left_over(after)) == sorted(held)
    assert not os.path.exists(wine.host_path(UPDATE))
    if version == 'winme':
        assert not os.path.exists(wine.host_path(THEIRS))
        assert not os.path.exists(ini) and os.path.exists(bak)
        os.remove(bak)


@pytest.mark.target32
def test_windows_me_with_nothing_installed_reports_done_after_the_pacing(wine):
    # Nothing of the package is there: whatever earlier runs left is removed first.
    wine.execute('winme')
    r = wine.execute('winme')
    assert_report(r, DONE, 'information')
    assert float(r.one('box')['afterclick']) >= PACING_FLOOR_MS


@pytest.mark.target32
def test_windows_me_full_installation_then_a_second_run(wine):
    wine.sim('install', 'me')
    assert all(i.present for i in wine.package('me'))
    first = wine.execute('winme')
    assert_report(first, DONE, 'information')
    after = wine.package('me')
    assert left_over(after) == [] and lost(after) == []
    second = wine.execute('winme')
    assert_report(second, DONE, 'information')


def test_windows_me_item_that_fails_is_reported_then_a_later_run_finishes(wine):
    wine.sim('install', 'me')
    wine.sim('longkey', PEN_CLASS_KEY)
    r = wine.execute('winme')
    assert_report(r, PARTIAL_ERROR, 'warning')
    left = left_over(wine.package('me'))
    assert [i.name for i in left] == ['HKLM\\' + PEN_CLASS_KEY]
    # The user clears the cause and runs the program once more, as the report asks.
    wine.sim('droplongkey', PEN_CLASS_KEY)
    again = wine.execute('winme')
    assert_report(again, DONE, 'information')
    assert left_over(wine.package('me')) == []
