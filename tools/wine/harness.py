"""Wine test harness: a throwaway prefix, Xvfb for the GUI, and the driver (pddriver.exe) run
beside pdclean to act on its dialog and report what it saw.

Two targets: the x86_64 build under wine64 (the broad suite, one prefix per run), and with
PDCLEAN_TARGET=i686 the shipping i686 build under 32-bit Wine in a pure 32-bit prefix (made
once per run and copied per test; tools/target32 finds a kernel that runs it)."""
import os
import shutil
import signal
import subprocess
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get('PDCLEAN_BUILD', os.path.join(ROOT, 'build'))
TARGET32 = os.environ.get('PDCLEAN_TARGET') == 'i686'
WINE = '/usr/lib/wine/wine' if TARGET32 else '/usr/lib/wine/wine64'
BUILD_DIR = 'win32' if TARGET32 else 'win64'
TARGET_NAME = 'i686' if TARGET32 else 'x86_64'
WORK_DIR = 'C:\\pdtest'
SYSTEM_DIR = 'C:\\windows\\system32'
# No Mono or Gecko install is attempted.
DLL_OVERRIDES = 'mscoree,mshtml='
# The setup API disabled for the processes of a run, as on a system without setupapi.dll.
NO_SETUPAPI = {'WINEDLLOVERRIDES': DLL_OVERRIDES + ';setupapi=d'}

# Wine without a window manager leaves the caption undrawn unless it manages windows itself;
# the face name of the dialog font is mapped to a Japanese font that the machine has.
SETUP_REG = '''REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"
"Decorated"="Y"

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
'''


# The 32-bit runs may go through a software-emulated guest: the driver's waits for a window
# to appear or a program to end (they return as soon as it has) get more time there.
WAIT_SCALE = 4
WAITS_FOR_SOMETHING = ('dialog', 'box', 'exit')
# How long a server may take to end with its processes, or to answer.
SERVER_WAIT = 60 * (WAIT_SCALE if TARGET32 else 1)


def longer_wait(command):
    name, _, ms = command.partition(':')
    if name in WAITS_FOR_SOMETHING and ms.isdigit():
        return '%s:%d' % (name, int(ms) * WAIT_SCALE)
    return command


# Debian's Wine looks for its own fonts in <datadir>/../fonts (/usr/share/fonts, which holds
# none of them), while fonts-wine puts them in /usr/share/wine/fonts, where fontconfig does
# not look either: Marlett, whose "r" is the caption's close glyph, is never loaded. Wine
# loads every font in the prefix's Fonts folder, so it goes there.
WINE_FONTS = '/usr/share/wine/fonts'


def install_wine_fonts(drive_c):
    fonts = os.path.join(drive_c, 'windows', 'Fonts')
    os.makedirs(fonts, exist_ok=True)
    marlett = os.path.join(WINE_FONTS, 'marlett.ttf')
    if os.path.exists(marlett):
        shutil.copy(marlett, fonts)


def start(version, exe=WORK_DIR + '\\pdclean.exe', *args):
    """The driver's commands that start a program as the Windows version. A 9x version meets
    MoveFileEx's delay refused while the driver lives, as on those systems."""
    name = exe.rsplit('\\', 1)[1]
    return ['version:%s:%s' % (name, version), ':'.join(('start:' + exe,) + args)]


def log_line(path, *fields):
    """Appends a line for one of the counts ./test.sh prints: the build, the test, the fields."""
    if not path:
        return
    test = os.environ.get('PYTEST_CURRENT_TEST', '?').split(' ')[0]
    with open(path, 'a') as f:
        f.write('\t'.join((TARGET_NAME, test) + fields) + '\n')


# Where each run started as a 9x version scheduled its deletions, one line a run.
RUN_LOG = os.environ.get('PDCLEAN_RUN_LOG')


def log_9x_runs(report):
    for line in report.all('ninexrun'):
        log_line(RUN_LOG, line['wininit'], line['pending'])


# Processes of a prefix found still there after its server was told to end: a restart that
# needs them killed is a fault of the road to look into.
STRAGGLER_LOG = os.environ.get('PDCLEAN_STRAGGLER_LOG')


def described(pids):
    """The processes by pid and command line."""
    names = []
    for pid in pids:
        try:
            with open('/proc/%d/cmdline' % pid, 'rb') as f:
                name = f.read().replace(b'\0', b' ').decode('utf-8', 'replace').strip()
        except OSError:
            name = '(gone)'
        names.append('%d %s' % (pid, name))
    return ', '.join(names)


def start_xvfb():
    """A private X server on a display it chooses itself once it listens: suites running side
    by side must not pick the same one."""
    r, w = os.pipe()
    xvfb = subprocess.Popen(
        ['Xvfb', '-displayfd', str(w), '-screen', '0', '1024x768x24', '-nolisten', 'tcp'],
        pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(w)
    with os.fdopen(r) as f:
        number = f.readline().strip()
    if not number.isdigit():
        xvfb.kill()
        xvfb.wait()
        raise RuntimeError('Xvfb did not start')
    return xvfb, ':' + number


class Harness:
    """A prefix with the programs copied into C:\\pdtest, and an X server to show them on."""

    def __init__(self, display=None, template=None):
        """display: an X display to use as it is; without one, a private Xvfb is started.
        template: a harness whose prefix is copied, display shared, instead of a new prefix."""
        self.tmp = tempfile.mkdtemp(prefix='pdclean-wine-')
        self.prefix = os.path.join(self.tmp, 'prefix')
        self.xvfb = None
        self.persistent = False
        if template is not None:
            display = template.env['DISPLAY']
        if display is None:
            self.xvfb, display = start_xvfb()
        self.env = dict(os.environ)
        self.env.update({
            'WINEPREFIX': self.prefix,
            'WINELOADER': WINE,
            'WINEDLLOVERRIDES': DLL_OVERRIDES,
            'WINEDEBUG': '-all',
            'LANG': 'ja_JP.UTF-8',
            'LC_ALL': 'ja_JP.UTF-8',
            'DISPLAY': display,
        })
        if TARGET32:
            self.env['WINEARCH'] = 'win32'
        if template is not None:
            subprocess.run(['cp', '-a', template.prefix, self.prefix], check=True)
            # One server for the whole test: a cold start per program costs seconds in a guest,
            # and a server that ended on its own would restart Windows between two steps.
            self.persistent = True
            self.server('-p')
            return
        self.run('wineboot', '-i')
        reg = os.path.join(self.drive_c(), 'setup.reg')
        with open(reg, 'wb') as f:
            f.write(SETUP_REG.replace('\n', '\r\n').encode('cp932'))
        self.run('regedit', '/S', 'C:\\setup.reg')
        install_wine_fonts(self.drive_c())
        os.makedirs(self.host_path(WORK_DIR), exist_ok=True)
        for exe in ('pdclean.exe', 'pdclean_failreg.exe', 'pdclean_nodialog.exe', 'pddriver.exe',
                    'win_tests.exe', 'win_bench.exe', 'win_handles.exe', 'pdsim.exe',
                    'planted.dll'):
            self.install(exe)
        # A class installer of the tests', named by a class key only when a test wants it; the
        # setup API takes those from the system folder alone.
        self.install('held_device.dll', folder=SYSTEM_DIR)
        # The registry is on disk once the server has gone: only then may the prefix be copied.
        self.server('-w')

    def drive_c(self):
        return os.path.join(self.prefix, 'drive_c')

    def host_path(self, windows_path):
        assert windows_path[:3].upper() == 'C:\\'
        return os.path.join(self.drive_c(), *windows_path[3:].split('\\'))

    def install(self, exe, as_name=None, folder=WORK_DIR):
        """Copies a program of the build into C:\\pdtest (or folder); returns its Windows path."""
        path = folder + '\\' + (as_name or exe)
        shutil.copy(os.path.join(BUILD, BUILD_DIR, exe), self.host_path(path))
        return path

    def run(self, *args, timeout=180, env=None):
        # Output goes through files, not pipes: Wine's own processes inherit them and, with a
        # persistent server, outlive the program, so a pipe would never reach its end.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            done = subprocess.run([WINE, *args], env=dict(self.env, **(env or {})), stdout=out,
                                  stderr=err, timeout=timeout, cwd=self.tmp)
            out.seek(0)
            err.seek(0)
            done.stdout, done.stderr = out.read(), err.read()
        return done

    def dll_override(self, exe, dll, value):
        """Sets (value None: clears) how Wine loads a library for one program: 'native,builtin'
        looks for it as Windows does, in the program's folder and the current directory first."""
        key = 'HKCU\\Software\\Wine\\AppDefaults\\%s\\DllOverrides' % exe
        if value is None:
            args = ('reg', 'delete', key, '/v', dll, '/f')
        else:
            args = ('reg', 'add', key, '/v', dll, '/d', value, '/f')
        assert self.run(*args).returncode == 0

    def server(self, *args):
        subprocess.run([os.path.join(os.path.dirname(WINE), 'wineserver'), *args], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=SERVER_WAIT)

    def processes(self):
        """The processes of this prefix (its server too), by pid: those whose environment names
        it. A Wine program that is still starting has not reached the server yet, but is there."""
        mark = b'\0WINEPREFIX=' + self.prefix.encode() + b'\0'
        found = []
        for pid in os.listdir('/proc'):
            if not pid.isdigit():
                continue
            try:
                with open('/proc/%s/environ' % pid, 'rb') as f:
                    environ = b'\0' + f.read()
            except OSError:  # gone, or not ours
                continue
            if mark in environ:
                found.append(int(pid))
        return found

    def left_at(self, until):
        """The processes of the prefix still there at the monotonic time until, or none sooner."""
        while True:
            left = self.processes()
            if not left or time.monotonic() > until:
                return left
            time.sleep(0.05)

    def stop(self):
        """Ends the server and every process of the prefix, within a bounded time, as a restart
        does. A program that was still starting when its server went would start a server of
        its own: such stragglers are logged and killed until none is left; any that outlive
        the bound fail the test, naming them."""
        deadline = time.monotonic() + SERVER_WAIT
        self.server('-k')
        # What the server killed takes a moment to go.
        left = self.left_at(time.monotonic() + 2)
        if left:
            log_line(STRAGGLER_LOG, described(left))
        # A server a straggler started is a process of the prefix too.
        while left:
            if time.monotonic() > deadline:
                raise RuntimeError('the processes of the prefix outlived its restart: %s' %
                                   described(left))
            for pid in left:
                try:
                    os.kill(pid, signal.SIGKILL)
                except OSError:
                    pass
            left = self.left_at(time.monotonic() + 1)

    def save_png(self, windows_bmp, png):
        """Converts a screenshot the driver saved as BMP into a PNG on the host."""
        from PIL import Image
        Image.open(self.host_path(windows_bmp)).save(png)

    def drive(self, *commands, timeout=120, env=None):
        """Runs the driver with the commands; returns its report lines, parsed."""
        if TARGET32:
            commands = [longer_wait(c) for c in commands]
            timeout *= WAIT_SCALE
        done = self.run(WORK_DIR + '\\pddriver.exe', *commands, timeout=timeout, env=env)
        out = done.stdout.decode('ascii', 'replace')
        report = Report(out)
        log_9x_runs(report)
        return report

    def execute(self, version, exe=WORK_DIR + '\\pdclean.exe', env=None, before=(), after=()):
        """Starts pdclean as the Windows version, clicks Execute, reads and answers the report
        box, reads the controls and clicks Close; returns the driver's report. The driver's
        commands before and after go around that, while the driver (and what it holds) lives."""
        return self.drive(*before, *start(version, exe), 'dialog:5000', 'click:1012', 'box:30000',
                          'answer:1', 'nobox:300', 'controls', 'click:1', 'exit:5000', *after,
                          timeout=180, env=env)

    def restart(self):
        """Restarts Windows: every process of the prefix ends, then Wine's start-up processing
        performs the renames pending in the registry and in wininit.ini, as a restart of the
        real systems does. Any start of a new server does the same."""
        self.stop()
        if self.persistent:
            self.server('-p')
        done = self.run('wineboot', '--restart')
        assert done.returncode == 0, done.stderr

    def sim(self, *args):
        """Runs the simulated installation tool; returns its standard output as text."""
        done = self.run(WORK_DIR + '\\pdsim.exe', *args)
        if done.returncode != 0 and not done.stderr:
            # pdsim says why it fails; a failure without a word, seen once in hundreds of
            # starts under load, is Wine's own: tried once more.
            done = self.run(WORK_DIR + '\\pdsim.exe', *args)
        if done.returncode != 0:
            raise RuntimeError('pdsim %s: exit code %d: %s' % (' '.join(args), done.returncode,
                                                               done.stderr.decode('utf-8', 'replace')))
        return done.stdout.decode('utf-8')

    def package(self, family):
        """What of the simulated package ('me' or '2000') is there now."""
        return [SimItem(l) for l in self.sim('list', family).splitlines() if l]

    def close(self):
        try:
            self.stop()
        finally:
            if self.xvfb:
                self.xvfb.terminate()
                self.xvfb.wait(timeout=10)
            shutil.rmtree(self.tmp, ignore_errors=True)


class SimItem:
    """One line of pdsim's listing."""

    def __init__(self, line):
        state, fate, self.kind, self.name, self.digest = line.split('\t')
        self.present = state == 'present'
        self.removed = fate == 'removed'  # what an uninstall must take away; else it must stay

    def __repr__(self):
        return '%s %s %s' % ('present' if self.present else 'absent', self.kind, self.name)


class Line(dict):
    """One report line: its command name, its first bare word, and its key=value fields."""

    def __init__(self, text):
        super().__init__()
        words = text.split()
        self.name = words[0] if words else ''
        self.word = ''
        self.text = text
        for w in words[1:]:
            if '=' in w:
                k, v = w.split('=', 1)
                self[k] = v
            elif not self.word:
                self.word = w

    def bytes(self, key):
        v = self[key]
        return b'' if v == '-' else bytes.fromhex(v)

    def paths(self):
        """A 'pending' line's delayed moves, one a path, upper-cased: Wine keeps the case it
        was given."""
        return (b'' if self.word == '-' else bytes.fromhex(self.word)).decode('ascii').upper().split('\n')


class Report(list):
    def __init__(self, out):
        super().__init__(Line(l) for l in out.splitlines() if l.strip())
        self.raw = out

    def all(self, name):
        return [l for l in self if l.name == name]

    def one(self, name, index=0):
        found = self.all(name)
        assert len(found) > index, 'no %r line (#%d) in:\n%s' % (name, index, self.raw)
        return found[index]

    def controls(self, index=0):
        """The controls reported by the index-th 'controls' command, by id."""
        groups, current = [], None
        for l in self:
            if l.name == 'control':
                if current is None:
                    current = {}
                    groups.append(current)
                current[int(l['id'])] = l
            else:
                current = None
        assert len(groups) > index, 'no controls report #%d in:\n%s' % (index, self.raw)
        return groups[index]
