"""Whole runs in generated worlds. A world is an installation as a user's machine may hold it:
parts of the package already gone, files made read-only or hidden, setup copies of every kind
with gaps, files held open by other programs, MoveFileEx refused, another installer's
wininit.ini, an update queued to replace a package file at the restart, keys the user may not
delete, a first run cut short. Each world is laid out in the prefix and walked: run (and, if
that run was cut short or asked for a restart, run again at once), restart, run again; after
every step the rules below must hold. A failing world is shrunk by Hypothesis and printed as
World(...), ready to paste into FOUND."""
import dataclasses
import os
import time

import pytest
from hypothesis import HealthCheck, given, settings, strategies as st
from hypothesis.control import current_build_context, note

import texts
from tools.wine.harness import TARGET32, start

DONE = texts.DONE.encode('cp932')
DONE_REBOOT = texts.DONE_REBOOT.encode('cp932')
PARTIAL_ERROR = texts.PARTIAL_ERROR.encode('cp932')
REPORTS = {DONE: 'DONE', DONE_REBOOT: 'DONE_REBOOT', PARTIAL_ERROR: 'PARTIAL_ERROR'}
VERSION = {'me': 'winme', '2000': 'win2k'}
PDCLEAN = 'C:\\pdtest\\pdclean.exe'

# The package's items as pdsim lists them, each told by the end of its name (a device by its
# enumerator and device part).
FILES = {
    'me': ('vavad.vxd', 'styinst.dll', 'styins16.dll', 'tavrotablet.inf', 'pdclean.exe'),
    '2000': ('digclass.sys', 'stylhook.dll', 'digcls32.dll', 'stycp-en.znc', 'stycp-jp.znc',
             'vavad.cpl', 'vavad.exe', 'tavro.dat', 'wintab32.dll', 'wintab.dll', 'vavad.inf',
             'vavad.pnf', 'pdclean.exe'),
}
KEYS = {
    'me': ('TVR0D42', 'TavroTabletDriver', 'Class\\PEN', '{6e2b4d90-1f7a-11d3-a5c8-0000d1e2f3a4}'),
    '2000': ('VavadService', 'Tavro', 'Digclass', '{6E2B4D90-1F7A-11D3-A5C8-0000D1E2F3A4}',
             'オルベーンタブレットドライバ'),
}
OTHERS = {'me': (), '2000': ('Pen Class', 'SERENUM\\TVR0D42', 'HID\\VID_4F1D', 'USB\\VID_4F1D')}
GROUP_KEY = 'SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder'

# Setup copies oem0, oem1, ...: their [Version] sections. 'none' is a number without a copy.
COPY_KINDS = ('pen', 'other', 'broken', 'oldstyle', 'none')
INF_TEXT = {
    'pen': b'[Version]\r\nSignature="$Windows NT$"\r\nClass=PEN\r\nProvider=%M%\r\n\r\n'
           b'[Strings]\r\nM="Tablet maker"\r\n',
    'other': b'[Version]\r\nSignature="$Windows NT$"\r\nClass=Mouse\r\nProvider=%M%\r\n\r\n'
             b'[Strings]\r\nM="Mouse maker"\r\n',
    'broken': b'[Version\r\nSignature="$Windows NT$"\r\nClass=PEN\r\n',
    'oldstyle': b'[Version]\r\nClass=PEN\r\n',
}

# An update of the driver, queued before the first run to put UPDATE in place of a package
# file at the restart (on Me only over files whose names are 8.3 already, as WININIT reads).
UPDATE = 'C:\\update.new'
REPLACEABLE = {'me': ('vavad.vxd', 'styinst.dll', 'styins16.dll', 'pdclean.exe'), '2000': FILES['2000']}

# Another installer's wininit.ini on Windows Me, with its own pending deletion of THEIRS.
THEIRS = 'C:\\theirs.txt'
THEIRS_LINES = b'[rename]\r\nNUL=C:\\THEIRS.TXT\r\n[boot]\r\nshell=Explorer.exe\r\n'
WININIT = {
    'empty': b'',
    'crlf': THEIRS_LINES,
    'lf': THEIRS_LINES.replace(b'\r\n', b'\n'),
    'case': THEIRS_LINES.replace(b'[rename]', b'[ReNaMe]'),
    'blanks': THEIRS_LINES.replace(b'[rename]', b' \t[rename] '),
    'unfinished': THEIRS_LINES[:-2],
    'ctrlz': THEIRS_LINES + b'\x1a[rename]\r\nNUL=C:\\KEEP.TXT\r\n',
    'zero': THEIRS_LINES + b'\0[rename]\r\nNUL=C:\\KEEP.TXT\r\n',
    'utf16': b'\xff\xfe' + THEIRS_LINES.decode('ascii').encode('utf-16-le'),
    'noheader': b'[boot]\r\nshell=Explorer.exe\r\n',
}


@dataclasses.dataclass(frozen=True)
class World:
    family: str                  # 'me' or '2000'
    gone: tuple = ()             # items of the package already gone
    attributes: tuple = ()       # (file, letters of r, h, s)
    copies: tuple = ()           # 2000: (kind, with its .pnf) for oem0, oem1, ...
    holds: tuple = ()            # (file or 'oemN.inf'/'oemN.pnf', 'read' or 'unshared')
    running_copy: bool = False   # Me: the installed copy of pdclean is what runs first
    refuse_delay: bool = False   # 2000: MoveFileEx refuses (a Session Manager key the user
                                 # may not change); Windows Me's always does
    wininit: str = None          # Me: another installer's wininit.ini, a key of WININIT
    locked: str = None           # 2000: a key of the package the user may not delete
    not_admin: bool = False      # 2000: no key of the package, nor the group order, may change
    cut: tuple = None            # the first run ended from outside: ('after', ms), ('gone', item)
    replaced: str = None         # a package file, there, held or gone, that UPDATE replaces at
                                 # the restart (Me: in the update's own wininit.ini)


def often(value):
    """A boolean that is value three times in four: a refusal everywhere would hide the rest."""
    return st.one_of(st.just(value), st.booleans())


def pick(items, copy_files):
    """One of the items or of the setup copy files, each group as likely as the other."""
    groups = [st.sampled_from(g) for g in (items, copy_files) if g]
    return st.one_of(*groups) if groups else st.nothing()


@st.composite
def worlds(draw, family):
    files, keys = FILES[family], KEYS[family]
    items = files + keys + OTHERS[family]
    gone = draw(st.lists(st.sampled_from(items), max_size=4, unique=True))
    there = [f for f in files if f not in gone]
    attributes = draw(st.lists(st.tuples(st.sampled_from(there), st.sampled_from(['r', 'h', 's', 'rhs'])),
                               max_size=2, unique_by=lambda a: a[0])) if there else []
    copies = []
    if family == '2000':
        # Most copies are of class PEN and have their .pnf, as the program acts on those; and
        # gaps, which older removals leave below, between and above them, are as common.
        copies = draw(st.lists(st.tuples(st.sampled_from(('pen', 'none')) | st.sampled_from(COPY_KINDS),
                                         often(True)), max_size=5))
        copies = [(k, p and k != 'none') for k, p in copies]
    copy_files = ['oem%d.%s' % (n, ext) for n, (k, p) in enumerate(copies) if k != 'none'
                  for ext in (('inf', 'pnf') if p else ('inf',))]
    # The running copy holds its own file, as a program's image is held.
    running = family == 'me' and 'pdclean.exe' in there and draw(st.booleans())
    there = [f for f in there if not (running and f == 'pdclean.exe')]
    # The setup copies are drawn as often as all other files together: a copy's class and its
    # two files make them the most intricate part of a run.
    holdable = pick(there, copy_files)
    holds = draw(st.lists(st.tuples(holdable, st.sampled_from(['read', 'unshared'])),
                          max_size=2, unique_by=lambda h: h[0])) if there or copy_files else []
    world = dict(family=family, gone=tuple(gone), attributes=tuple(attributes),
                 copies=tuple(copies), holds=tuple(holds))
    if family == 'me':
        world['running_copy'] = running
        world['wininit'] = draw(st.one_of(st.none(), st.sampled_from(sorted(WININIT))))
    else:
        lockable = [k for k in keys if k not in gone]
        world['locked'] = draw(st.one_of(st.none(), st.none(), st.none(), st.sampled_from(lockable))) \
            if lockable else None
        world['not_admin'] = draw(often(False))
        world['refuse_delay'] = draw(often(False))
    if world.get('wininit') is None:
        world['replaced'] = draw(st.one_of(st.none(), st.sampled_from(REPLACEABLE[family])))
    # A setup copy or a key can go too: the cut may come right after it.
    goes = pick(there + [k for k in keys if k not in gone], copy_files)
    world['cut'] = draw(st.one_of(
        st.none(), st.tuples(st.just('after'), st.integers(0, 30).map(lambda n: n * 50)),
        st.tuples(st.just('gone'), goes)))
    return World(**world)


def ours(world):
    """The setup copy files that are the package's: class PEN, whatever their number."""
    return ['oem%d.%s' % (n, ext) for n, (k, p) in enumerate(world.copies)
            if k == 'pen' for ext in (('inf', 'pnf') if p else ('inf',))]


UNREADABLE = ' cannot be read'


def causes(world):
    """What in the world really resists the program: the partial-error report needs one."""
    found = []
    package = set(FILES[world.family]) - set(world.gone) | set(ours(world))
    held = [f for f, _ in world.holds if f in package]
    if world.running_copy:
        held.append('pdclean.exe')
    if world.family == '2000':
        found += ['locked %s' % world.locked] if world.locked else []
        found += ['not admin'] if world.not_admin else []
        found += ['held %s, MoveFileEx refused' % f for f in held if world.refuse_delay]
        found += ['replaced %s, MoveFileEx refused' % world.replaced] if world.replaced and world.refuse_delay else []
        found += [f + UNREADABLE for f, how in world.holds if how == 'unshared' and f.endswith('.inf')]
    elif world.wininit == 'utf16':
        found += ['held %s, its line cannot go into a UTF-16 wininit.ini' % f for f in held]
    return found


def their_lines_kept(theirs, now):
    """Whether another installer's wininit.ini still holds all its lines in their order, and
    what follows the end of its text (^Z or a zero byte) as it was; a UTF-16 file untouched."""
    if now is None or theirs.startswith(b'\xff\xfe'):
        return now == theirs
    end = min([i for i in (theirs.find(b'\x1a'), theirs.find(b'\0')) if i >= 0], default=len(theirs))
    tail = theirs[end:]
    if not now.endswith(tail):
        return False
    lines = iter(l.rstrip(b'\r') for l in now[:len(now) - len(tail)].split(b'\n'))
    theirs = [l.rstrip(b'\r') for l in theirs[:end].split(b'\n')]
    return all(any(line == mine for mine in lines) for line in theirs if line)


def in_hypothesis():
    try:
        current_build_context()
        return True
    except Exception:
        return False


class Walk:
    """One world laid out in the prefix, its runs, and the rules checked after each step."""

    # Whether a walk may have left something waiting for a restart (a walk that failed).
    dirty = True

    def __init__(self, wine, world):
        self.wine, self.w, self.family = wine, world, world.family
        self.inf = wine.host_path('C:\\windows\\inf')
        self.ini = wine.host_path('C:\\windows\\wininit.ini')
        self.steps = []

    # Laying the world out ------------------------------------------------------------------

    def lay_out(self):
        wine, w = self.wine, self.w
        if Walk.dirty:
            wine.restart()  # nothing another world scheduled may act on this one
        Walk.dirty = True
        listing = wine.package(self.family)
        for i in listing:
            if i.kind == 'file' and i.removed and '\\inf\\oem' not in i.name:
                path = wine.host_path(i.name)
                if os.path.exists(path):
                    os.chmod(path, 0o644)
                    os.remove(path)  # made anew, whatever attributes a world left on it
        wine.sim('install', self.family)
        listing = [i for i in wine.package(self.family) if '\\inf\\oem' not in i.name]
        self.names = {s: self.find(listing, s) for s in FILES[self.family] + KEYS[self.family] +
                      OTHERS[self.family]}
        for name in os.listdir(self.inf):
            if name.lower().startswith('oem'):
                os.remove(os.path.join(self.inf, name))
        for n, (kind, pnf) in enumerate(w.copies):
            if kind != 'none':
                self.write(wine.host_path(self.copy('oem%d.inf' % n)), INF_TEXT[kind])
                if pnf:
                    self.write(wine.host_path(self.copy('oem%d.pnf' % n)), b'PNF %d' % n)
        if w.gone:
            wine.sim('drop', self.family, *[self.names[g] for g in w.gone])
        for stale in (self.ini, wine.host_path('C:\\windows\\wininit.bak'), wine.host_path(THEIRS),
                      wine.host_path(UPDATE)):
            if os.path.exists(stale):
                os.remove(stale)
        if w.wininit is not None:
            self.write(self.ini, WININIT[w.wininit])
            self.write(wine.host_path(THEIRS), b'theirs')
        if w.replaced:
            self.write(wine.host_path(UPDATE), b'update')
            if self.family == 'me':
                self.write(self.ini, b'[rename]\r\n%s=%s\r\n' % (self.names[w.replaced].upper().encode(),
                                                                 UPDATE.upper().encode()))
        if w.running_copy:
            with open(wine.host_path(PDCLEAN), 'rb') as f:
                self.write(wine.host_path(self.names['pdclean.exe']), f.read())
        self.package = [self.names[s] for s in FILES[self.family] + KEYS[self.family] + OTHERS[self.family]
                        if s not in w.gone] + [self.copy(f) for f in ours(w)]
        # The service manager's records: a key gone from the registry leaves its record until
        # the restart, so they are the package's whatever else is gone.
        self.package += [i.name for i in listing if i.kind == 'service' and i.removed]
        self.baseline = self.neighbours(self.wine.package(self.family))

    @staticmethod
    def find(listing, short):
        found = [i.name for i in listing if i.removed and (
            i.name == short or i.name.endswith('\\' + short) or i.name.startswith(short + '\\') or
            i.name.startswith(short + '&'))]
        assert len(found) == 1, (short, found)
        return found[0]

    def copy(self, name):
        return 'C:\\windows\\inf\\' + name

    @staticmethod
    def write(path, data):
        with open(path, 'wb') as f:
            f.write(data)

    def windows_path(self, item):
        """A file of the world by its short name or setup copy name."""
        return self.copy(item) if item.startswith('oem') else self.names[item]

    # Looking at it -------------------------------------------------------------------------

    def read(self, path):
        path = self.wine.host_path(path)
        if not os.path.exists(path):
            return None
        with open(path, 'rb') as f:
            return f.read()

    def neighbours(self, listing, restarted=False):
        """Everything that must stay as it is: other vendors' files and keys (their digests),
        devices, the other group names in their order, the setup copies not ours, THEIRS."""
        kept = {i.name: (i.present, i.digest) for i in listing if not i.removed
                and '\\inf\\oem' not in i.name}
        group = self.wine.sim('grouplist').splitlines()[0].split('\t')[1]
        group = bytes.fromhex(group) if group != '-' else b''
        kept['group order'] = group.replace(b'Pen Class\0', b'')
        if self.w.wininit is not None and not restarted:
            kept['their wininit.ini lines'] = their_lines_kept(WININIT[self.w.wininit],
                                                               self.read('C:\\windows\\wininit.ini'))
        for n, (kind, pnf) in enumerate(self.w.copies):
            for ext in ('inf', 'pnf'):
                name = 'oem%d.%s' % (n, ext)
                if name not in ours(self.w):
                    kept[name] = self.read(self.copy(name))
        return kept

    def left(self, listing):
        """What of the package is there now: as pdsim sees it, in any letter case (the restart
        may create a file under the upper-case name a list gave it), the world's own setup
        copies as they were written."""
        listing = {i.name: i.present for i in listing}
        return [p for p in self.package if
                (listing[p] if p in listing else os.path.exists(self.wine.host_path(p)))]

    # Runs ----------------------------------------------------------------------------------

    def run(self, first, again=False):
        """One run through the dialog; returns (report name or None when cut, scheduled)."""
        w, wine = self.w, self.wine
        before = []
        exe = PDCLEAN
        if first and not again:
            before += ['attr:%s:%s' % (self.windows_path(f), how) for f, how in w.attributes]
        if first:
            before += ['hold:%s%s' % (self.windows_path(f), ':read' if how == 'read' else '')
                       for f, how in w.holds]
            if w.running_copy and self.read(self.names['pdclean.exe']) is not None:
                exe = self.names['pdclean.exe']
        if first and not again:
            # The rules set on keys last until Wine's server ends: until the restart.
            before += ['refusedelay'] if w.refuse_delay or w.not_admin else []
            locked = [w.locked] if w.locked else []
            if w.not_admin:
                locked = [k for k in KEYS[self.family] if k not in w.gone]
                before.append('lockkey:' + GROUP_KEY)
            before += ['lockkey:' + self.names[k][len('HKLM\\'):] for k in locked]
            if w.replaced and self.family == '2000':
                before.insert(0, 'replaceatrestart:%s:%s' % (UPDATE, self.names[w.replaced]))
        cut = []
        if first and not again and w.cut:
            how, what = w.cut
            cut = ['killafter:%d' % what] if how == 'after' else \
                ['killwhengone:30000:' + (self.names[what] if what in self.names else self.copy(what))]
        files = [p for p in self.package if p.startswith('C:\\')]
        r = wine.drive(*before, *start(VERSION[self.family], exe), 'dialog:5000', 'click:1012', *cut,
                       'box:30000', 'answer:1', 'click:1', 'exit:5000', 'pending',
                       *['shortname:' + f for f in files], timeout=180)
        assert all(l.word != 'failed' for l in r if l.name in ('hold', 'attr', 'lockkey', 'refusedelay',
                                                               'replaceatrestart')), r.raw
        if cut and r.one(cut[0].split(':')[0]).word == 'killed':
            return None, set()
        box = r.one('box')
        assert box.word != 'none', r.raw
        report = REPORTS.get(box.bytes('text'), 'unknown box %r' % box.bytes('text'))
        # Windows Me has only wininit.ini: what NT's list holds is no promise there.
        scheduled = {p[4:] for p in r.one('pending').paths()
                     if p.startswith('\\??\\') and self.family == '2000'}
        shorts = {bytes.fromhex(l.word).decode('cp932').upper(): f for l, f in
                  zip(r.all('shortname'), files) if l.word != 'absent'}
        for line in (self.read('C:\\windows\\wininit.ini') or b'').split(b'\n'):
            target = line.strip().decode('cp932', 'replace').upper()
            if target.startswith('NUL=') and target[4:] in shorts:
                scheduled.add(shorts[target[4:]].upper())
        return report, scheduled

    # The rules -----------------------------------------------------------------------------

    def check(self, step, report, scheduled, restarted=False):
        broken = []
        listing = self.wine.package(self.family)
        now = self.neighbours(listing, restarted)
        touched = sorted(k for k in now if now[k] != self.baseline[k])
        if touched:
            broken.append(('nothing else is touched', touched))
        left = self.left(listing)
        if report == 'DONE' and left:
            broken.append(('DONE: everything is gone now', left))
        if report == 'DONE' and self.family == '2000':
            try:
                self.wine.sim('reregister')
            except RuntimeError as e:
                broken.append(('DONE: a reinstall can register the service again', str(e)))
        elif report == 'DONE_REBOOT':
            waiting = [p for p in left if p.upper() not in scheduled]
            if waiting:
                broken.append(('DONE_REBOOT: what remains was scheduled', waiting))
            if not left:
                broken.append(('DONE_REBOOT: something waits for the restart', 'nothing is left'))
        elif report == 'PARTIAL_ERROR':
            found = causes(self.w)
            if not found:
                broken.append(('PARTIAL_ERROR: something really resisted', 'nothing in the world resists'))
            elif not left and not any(c.endswith(UNREADABLE) or c.startswith('replaced') for c in found):
                # A copy that cannot be read resists even when it turns out not to be ours; a
                # file to be replaced at the restart, even when it is not there now.
                broken.append(('PARTIAL_ERROR: something really resisted', 'nothing is left'))
        elif report is not None and report not in REPORTS.values():
            broken.append(('one of the three reports', report))
        self.steps.append((step, report))
        if in_hypothesis():
            note('%s: %s' % (step, report))
        return left, broken

    def walk(self):
        self.lay_out()
        report, scheduled = self.run(first=True)
        left, broken = self.check('first run', report, scheduled)
        if report in (None, 'DONE_REBOOT'):
            # Cut short, or told to restart: the user starts it again before any restart, the
            # holds still there. It must find again whatever waits.
            report, more = self.run(first=True, again=True)
            scheduled |= more
            left, more_broken = self.check('run again before the restart', report, scheduled)
            broken += more_broken
        self.wine.restart()
        waited = [p for p in left if p.upper() in scheduled]
        now, restart_broken = self.check('restart', None, set(), restarted=True)
        broken += restart_broken
        gone_too_late = [p for p in waited if p in now]
        if gone_too_late:
            broken.append(('what was scheduled is gone after the restart', gone_too_late))
        if report in ('DONE', 'DONE_REBOOT') and now:
            # Done, now or at the restart: nothing the restart does brings any of it back.
            broken.append(('%s: still nothing is left after the restart' % report, now))
        if self.w.wininit in ('crlf', 'lf', 'case', 'blanks', 'unfinished', 'ctrlz', 'zero', 'utf16') \
                and self.read(THEIRS) is not None:
            broken.append(("another installer's entry did its work at the restart", THEIRS))
        report, _ = self.run(first=False)
        left, last_broken = self.check('last run', report, set(), restarted=True)
        broken += last_broken
        if report != 'DONE':
            broken.append(('the next run finishes: DONE', report))
        assert not broken, 'world %r\nsteps %r\nbroken %r' % (self.w, self.steps, broken)
        Walk.dirty = False


@pytest.fixture
def persistent(wine):
    """One server for the whole walk: a server that ended by itself between two steps would
    restart Windows there."""
    old = wine.persistent
    wine.persistent = True
    Walk.dirty = True  # the first walk starts with a restart, which makes the server persistent
    yield wine
    wine.stop()
    wine.persistent = old


SOAK = int(os.environ.get('PDCLEAN_WORLDS', '0'))
# Worlds per family in the suite, the same ones every run: fewer for the i686 build, fewest in
# the emulated guest.
COUNT = 12 if not TARGET32 else 2 if os.environ.get('PDCLEAN_ROAD') == 'guest' else 6


def timed(run):
    timed.worlds = getattr(timed, 'worlds', 0) + 1
    began = time.monotonic()
    try:
        run()
    except Exception:
        if not hasattr(timed, 'first_failure'):
            timed.first_failure = timed.worlds
        raise
    finally:
        timed.seconds = getattr(timed, 'seconds', 0.0) + time.monotonic() - began


@pytest.mark.target32
@pytest.mark.skipif(SOAK > 0, reason='the soak runs fresh worlds instead')
@pytest.mark.parametrize('family', ['me', '2000'])
def test_every_world_keeps_the_rules(persistent, family):
    @settings(max_examples=COUNT, derandomize=True, database=None, deadline=None,
              suppress_health_check=list(HealthCheck))
    @given(worlds(family))
    def each(world):
        timed(lambda: Walk(persistent, world).walk())
    each()


@pytest.mark.skipif(SOAK == 0, reason='PDCLEAN_WORLDS=N: a soak of N fresh random worlds')
def test_soak(persistent, capsys):
    @settings(max_examples=SOAK, database=None, deadline=None, suppress_health_check=list(HealthCheck))
    @given(st.sampled_from(os.environ.get('PDCLEAN_FAMILIES', 'me 2000').split()).flatmap(worlds))
    def each(world):
        timed(lambda: Walk(persistent, world).walk())
    try:
        each()
    finally:
        with capsys.disabled():
            n = getattr(timed, 'worlds', 0)
            print('\nsoak: %d worlds walked (shrinking included), %.1f s per world; first failure: %s' %
                  (n, getattr(timed, 'seconds', 0.0) / max(n, 1),
                   'world %d' % timed.first_failure if hasattr(timed, 'first_failure') else 'none'))


# Minimal worlds the generator found, each a fault that was mended.
FOUND = [
    # A setup copy's .pnf that waits for the restart while its .inf goes now: a run before the
    # restart no longer sees the copy and says done while the .pnf stands (found on the
    # revision before a waiting file made the copies below it wait too; now a waiting .pnf
    # makes its own .inf wait).
    World(family='2000', copies=(('pen', True),), holds=(('oem0.pnf', 'read'),)),
    # A copy of another class held unshared: its class cannot be read, so the run rightly
    # reports the error, though nothing of the package is left (the rule, not the program,
    # was wrong).
    World(family='2000', copies=(('other', True),), holds=(('oem0.inf', 'unshared'),)),
    # A copy of class PEN above a gap: a sweep that walked the numbers up from oem0 stopped at
    # the gap and said done (found on the revision before the sweep listed the folder).
    World(family='2000', copies=(('none', False), ('pen', True)), refuse_delay=True),
]


@pytest.mark.parametrize('world', FOUND)
def test_found_world(persistent, world):
    Walk(persistent, world).walk()
