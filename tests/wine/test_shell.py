"""The real program under Wine: the platform gate per Windows version, the dialog's keys
and caption, and the broken-build cases. Texts are compared as code page 932 bytes."""
import pytest

import texts
from tools.wine.harness import NO_SETUPAPI, start

PDCLEAN = 'C:\\pdtest\\pdclean.exe'
CAPTION = texts.CAPTION.encode('cp932')
CLOSE, EXECUTE, STATIC = 1, 1012, 0xFFFF

REFUSALS = texts.REFUSALS


@pytest.mark.target32
@pytest.mark.parametrize('version', sorted(REFUSALS))
def test_refused_version_shows_one_box_then_exits_zero(wine, version):
    r = wine.drive(*start(version), 'dialog:3000', 'box:5000', 'controls', 'churn:4',
                    'boxcount', 'answer:1', 'nobox:700', 'exit:5000')
    box = r.one('box')
    assert box.bytes('caption') == b'Message'
    assert box.bytes('text') == REFUSALS[version].encode('cp932')
    assert box['icon'] == 'error'
    assert box['buttons'] == '1'
    assert box['owner'] == 'dialog'
    assert r.controls()[EXECUTE]['enabled'] == '0'
    # Activations while the box is open never start a second classification.
    assert r.one('boxcount').word == '1'
    assert r.one('nobox').word == 'ok'
    assert r.one('exit')['code'] == '0'


@pytest.mark.target32
def test_without_setupapi_windows_95_is_still_refused(wine):
    # A plain Windows 95 has no 32-bit setupapi.dll; the loader must not need it.
    r = wine.drive(*start('win95'), 'dialog:3000', 'box:5000', 'answer:1', 'nobox:700',
                    'exit:5000', env=NO_SETUPAPI)
    assert r.one('box').bytes('text') == REFUSALS['win95'].encode('cp932')
    assert r.one('exit')['code'] == '0'


@pytest.mark.target32
def test_windows98_bars_execute_silently_and_stays_open(wine):
    r = wine.drive(*start('win98'), 'dialog:3000', 'nobox:1500', 'controls', 'churn:2',
                    'alive', 'controls', 'click:1', 'exit:5000')
    assert r.one('nobox').word == 'ok'
    c = r.controls()
    assert c[EXECUTE]['enabled'] == '0'
    assert c[CLOSE]['enabled'] == '1'
    assert c[CLOSE]['focus'] == '1'
    assert r.one('alive').word == '1'
    # Only the gate sets the focus; later activations leave it where the system puts it.
    assert r.controls(1)[CLOSE]['focus'] == '0'
    assert r.one('exit')['code'] == '0'


@pytest.mark.target32
@pytest.mark.parametrize('version', ['winme', 'win2k'])
def test_supported_versions_leave_execute_enabled_focus_on_close(wine, version):
    r = wine.drive(*start(version), 'dialog:3000', 'nobox:1000', 'controls', 'click:1',
                    'exit:5000')
    assert r.one('dialog').bytes('caption') == CAPTION
    assert r.one('nobox').word == 'ok'
    c = r.controls()
    assert c[EXECUTE]['enabled'] == '1'
    assert c[CLOSE]['focus'] == '1'
    assert c[EXECUTE]['focus'] == '0'
    assert r.one('exit')['code'] == '0'


def test_dialog_controls_as_the_template_builds_them(wine):
    r = wine.drive(*start('win2k'), 'dialog:3000', 'controls', 'click:1', 'exit:5000')
    c = r.controls()
    assert sorted(c) == [CLOSE, EXECUTE, STATIC]
    assert c[CLOSE].bytes('text') == texts.CLOSE_TEXT.encode('cp932')
    assert c[EXECUTE].bytes('text') == texts.EXECUTE_TEXT.encode('cp932')
    assert c[STATIC].bytes('text') == texts.DESCRIPTION.encode('cp932')
    assert (c[CLOSE]['style'], c[EXECUTE]['style'], c[STATIC]['style']) == \
        ('50010001', '50010000', '50020000')


def test_escape_and_tab_leave_the_dialog_open(wine):
    # Tab goes to the dialog manager as WM_NEXTDLGCTL, which only the dialog default
    # procedure acts on; this window procedure leaves it to DefWindowProc, so the focus stays.
    r = wine.drive(*start('win2k'), 'dialog:3000', 'key:esc', 'key:tab', 'key:esc',
                    'sleep:300', 'alive', 'controls', 'click:1', 'exit:5000')
    assert r.one('alive').word == '1'
    assert r.controls()[CLOSE]['focus'] == '1'
    assert r.one('exit')['code'] == '0'


@pytest.mark.parametrize('how', ['key:enter', 'click:1', 'key:altf4', 'closebox'])
def test_each_way_of_closing_exits_zero(wine, how):
    r = wine.drive(*start('win2k'), 'dialog:3000', 'sleep:200', how, 'exit:5000')
    assert r.one('exit')['code'] == '0', r.raw


def test_execute_is_disabled_by_its_own_click_and_close_still_works(wine):
    r = wine.drive(*start('winme'), 'dialog:3000', 'click:1012', 'box:20000', 'answer:1',
                    'controls', 'click:1', 'exit:5000')
    c = r.controls()
    assert c[EXECUTE]['enabled'] == '0'
    assert c[CLOSE]['enabled'] == '1'
    assert r.one('exit')['code'] == '0'


def test_execute_runs_once_even_when_the_command_is_posted_again(wine):
    # Any program may post it: once from inside the report box's loop, once after the run.
    r = wine.drive(*start('winme'), 'dialog:3000', 'click:1012', 'box:20000', 'post:1012',
                    'sleep:1500', 'boxcount', 'answer:1', 'post:1012', 'nobox:1500', 'click:1',
                    'exit:5000')
    assert [p.word for p in r.all('post')] == ['done', 'done']
    assert r.one('boxcount').word == '1'
    assert r.one('nobox').word == 'ok'
    assert r.one('exit')['code'] == '0'


def check_cannot_create_dialog(r):
    box = r.one('box')
    assert box.bytes('caption') == texts.ERROR_CAPTION.encode('cp932')
    assert box.bytes('text') == texts.NO_DIALOG.encode('cp932')
    assert box['icon'] == 'none'
    assert box['buttons'] == '1'
    assert box['owner'] == 'none'
    assert r.one('exit')['code'] == '0'


def test_missing_template_says_so_without_owner(wine):
    # Wine's UpdateResource cannot delete a resource, so a test build leaves the template out.
    exe = 'C:\\pdtest\\pdclean_nodialog.exe'
    check_cannot_create_dialog(wine.drive(*start('win2k', exe), 'box:5000', 'answer:1', 'exit:5000'))


def test_damaged_template_says_so_without_owner(wine):
    # The template's class renamed to one nobody registers.
    exe = wine.install('pdclean.exe', 'damaged.exe')
    r = wine.drive('damagedialog:' + exe, *start('win2k', exe), 'box:5000', 'answer:1',
                    'exit:5000')
    assert r.one('damagedialog').word == 'done'
    check_cannot_create_dialog(r)


def test_failed_class_registration_exits_zero_without_any_window(wine):
    exe = 'C:\\pdtest\\pdclean_failreg.exe'
    r = wine.drive(*start('win2k', exe), 'exit:5000')
    assert r.one('exit')['code'] == '0'
    r = wine.drive(*start('win2k', exe), 'dialog:1500', 'box:100')
    assert r.one('dialog').word == 'none'
    assert r.one('box').word == 'none'


def test_second_copy_runs_beside_the_first(wine):
    # The driver acts on the copy it started last and ends any still running when it stops.
    r = wine.drive(*start('win2k'), 'dialog:3000', 'start:' + PDCLEAN, 'dialog:3000',
                    'click:1', 'exit:5000')
    assert len(r.all('dialog')) == 2
    assert all(d.bytes('caption') == CAPTION for d in r.all('dialog'))
    assert r.one('exit')['code'] == '0'
