"""The shipping build as a Windows Me or 2000 loader sees it: PE facts, the import list
against the allowlist, and every resource parsed back from the executable."""
import os
import struct

import pefile
import pytest

import texts

from instructions import later_instructions
from resources import (RT_DIALOG, RT_GROUP_ICON, RT_ICON, RT_STRING, RT_VERSION, parse_dialog,
                       parse_string_block, resource_tree)

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get('PDCLEAN_BUILD', os.path.join(ROOT, 'build'))
JAPANESE = 0x0411


@pytest.fixture(scope='module')
def pe():
    return pefile.PE(os.path.join(BUILD, 'win32', 'pdclean.exe'))


@pytest.fixture(scope='module')
def res(pe):
    return resource_tree(pe)


def allowed_imports():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'allowed_imports.txt')
    with open(path) as f:
        return {tuple(l.split()) for l in f if l.strip() and not l.startswith('#')}


def test_loads_as_a_32_bit_gui_program_of_subsystem_4(pe):
    assert pe.FILE_HEADER.Machine == 0x14C
    assert pe.OPTIONAL_HEADER.Magic == 0x10B
    assert pe.OPTIONAL_HEADER.Subsystem == 2
    assert (pe.OPTIONAL_HEADER.MajorSubsystemVersion,
            pe.OPTIONAL_HEADER.MinorSubsystemVersion) == (4, 0)
    assert (pe.OPTIONAL_HEADER.MajorOperatingSystemVersion,
            pe.OPTIONAL_HEADER.MinorOperatingSystemVersion) == (4, 0)
    # Terminal Services then gives GetWindowsDirectoryA the real directory, not a per-user one.
    assert pe.OPTIONAL_HEADER.DllCharacteristics & 0x8000, 'not terminal-server aware'
    # No thread-local storage callbacks: the 9x loader does not run them for executables.
    assert not hasattr(pe, 'DIRECTORY_ENTRY_TLS')


def test_imports_only_allowlisted_functions_of_the_four_system_dlls(pe):
    allowed = allowed_imports()
    imported = {(e.dll.decode(), i.name.decode()) for e in pe.DIRECTORY_ENTRY_IMPORT
                for i in e.imports}
    assert all(i.name for e in pe.DIRECTORY_ENTRY_IMPORT for i in e.imports), 'import by ordinal'
    # setupapi.dll is looked up at run time: a plain Windows 95 has none, and would not load us.
    assert {dll.upper() for dll, _ in imported} <= {'KERNEL32.DLL', 'USER32.DLL', 'ADVAPI32.DLL'}
    assert imported - allowed == set()
    print('imports:', ', '.join('%s!%s' % i for i in sorted(imported)))


def test_has_exactly_the_programs_resources_all_japanese(res):
    assert sorted(res) == sorted([RT_ICON, RT_DIALOG, RT_STRING, RT_GROUP_ICON, RT_VERSION])
    for names in res.values():
        for langs in names.values():
            assert list(langs) == [JAPANESE]


def test_dialog_template(res):
    d = parse_dialog(res[RT_DIALOG][103][JAPANESE])
    assert d['style'] == 0x10C808C0
    assert d['exstyle'] == 0
    assert d['rect'] == (50, 50, 171, 47)
    assert d['menu'] == ''
    assert d['cls'] == 'PDCLEAN'
    assert d['caption'] == texts.CAPTION
    assert d['font'] == (10, 'ＭＳ Ｐゴシック')
    items = [(i['id'], i['cls'], i['text'], i['style'], i['rect'], i['exstyle'], i['extra'])
             for i in d['items']]
    assert items == [
        (1, 0x80, texts.CLOSE_TEXT, 0x50010001, (89, 29, 42, 12), 0, 0),
        (1012, 0x80, texts.EXECUTE_TEXT, 0x50010000, (44, 29, 42, 12), 0, 0),
        (0xFFFF, 0x82, texts.DESCRIPTION, 0x50020000,
         (5, 10, 161, 10), 0, 0),
    ]


def test_string_table(res):
    strings = {}
    for block, langs in res[RT_STRING].items():
        strings.update(parse_string_block(block, langs[JAPANESE]))
    assert strings == {1: texts.TITLE, 4: texts.DONE, 5: texts.DONE_REBOOT,
                       8: texts.PARTIAL_ERROR}
    # Each text survives the trip to code page 932 that LoadStringA makes.
    for s in strings.values():
        assert s.encode('cp932').decode('cp932') == s


def test_icon_is_one_32x32_16_colour_image_with_mask(res):
    group = res[RT_GROUP_ICON][115][JAPANESE]
    reserved, kind, count = struct.unpack_from('<HHH', group)
    assert (reserved, kind, count) == (0, 1, 1)
    w, h, colours, _, planes, bits, size, icon_id = struct.unpack_from('<BBBBHHIH', group, 6)
    assert (w, h, colours, planes, bits) == (32, 32, 16, 1, 4)
    image = res[RT_ICON][icon_id][JAPANESE]
    assert len(image) == size
    hdr = struct.unpack_from('<IiiHH', image)
    assert hdr == (40, 32, 64, 1, 4)  # double height: colour bits, then the mask
    assert size == 40 + 16 * 4 + 32 * 16 + 32 * 4
    mask = image[-32 * 4:]
    assert 0 < sum(bin(b).count('1') for b in mask) < 32 * 32, 'mask neither empty nor full'


def test_version_block(pe, res):
    assert list(res[RT_VERSION]) == [1]
    fixed = pe.VS_FIXEDFILEINFO[0]
    assert (fixed.FileVersionMS, fixed.FileVersionLS) == (0x00010001, 0)
    assert (fixed.ProductVersionMS, fixed.ProductVersionLS) == (0x00010001, 0)
    assert (fixed.FileFlagsMask, fixed.FileFlags) == (0x3F, 0)
    assert (fixed.FileOS, fixed.FileType, fixed.FileSubtype) == (0x00040004, 1, 0)
    assert (fixed.FileDateMS, fixed.FileDateLS) == (0, 0)
    tables = [t for fi in pe.FileInfo[0] if fi.Key == b'StringFileInfo' for t in fi.StringTable]
    assert [t.LangID for t in tables] == [b'041104b0']
    name = texts.TITLE
    assert [(k.decode(), v.decode()) for k, v in tables[0].entries.items()] == [
        ('Comments', name), ('CompanyName', 'Orvane'), ('FileDescription', name),
        ('FileVersion', '1, 1, 0, 0'), ('InternalName', name), ('LegalCopyright', ''),
        ('LegalTrademarks', ''), ('OriginalFilename', 'pdclean.exe'), ('PrivateBuild', ''),
        ('ProductName', name), ('ProductVersion', '1, 1, 0, 0'), ('SpecialBuild', ''),
    ]
    translations = [v for fi in pe.FileInfo[0] if fi.Key == b'VarFileInfo' for v in fi.Var]
    assert [t.entry for t in translations] == [{b'Translation': '0x0411 0x04b0'}]


def test_narrow_texts_are_stored_in_code_page_932(pe):
    # The Wine tests read them off the x86_64 build; this is the i686 one that ships.
    data = bytes(pe.__data__)
    for text in texts.REFUSALS.values():
        assert text.encode('cp932') + b'\0' in data
    assert texts.NO_DIALOG.encode('cp932') + b'\0' in data


def test_registry_and_device_names_are_in_the_shipping_exe_as_the_system_reads_them(pe):
    # The Japanese key name must be code page 932 for the ANSI registry calls to find it;
    # the device and service functions are looked up by name at run time, so a wrong byte is
    # no link error.
    data = bytes(pe.__data__)
    uninstall = 'SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\'
    assert (uninstall + 'オルベーンタブレットドライバ').encode('cp932') + b'\0' in data
    for name in ['setupapi.dll', 'SetupDiGetClassDevsA', 'SetupDiEnumDeviceInfo',
                 'SetupDiGetDeviceInstanceIdA', 'SetupDiCallClassInstaller',
                 'SetupDiDestroyDeviceInfoList', 'SetupDiGetDeviceInstallParamsA',
                 'SetupOpenInfFileA', 'SetupCloseInfFile',
                 'SetupFindFirstLineA', 'SetupGetStringFieldA', 'Pen Class',
                 'advapi32.dll', 'OpenSCManagerA', 'OpenServiceA', 'DeleteService',
                 'CloseServiceHandle', 'VavadService', 'Tavro', 'Digclass']:
        assert b'\0' + name.encode('ascii') + b'\0' in data


def test_every_instruction_is_one_an_80386_executes(pe):
    # The oldest target CPU: Windows 95 runs on a 386, Me and 2000 on Pentiums without cmov.
    code = [s for s in pe.sections if s.Characteristics & 0x20000000]
    assert [s.Name.rstrip(b'\0') for s in code] == [b'.text']
    found = later_instructions(os.path.join(BUILD, 'win32', 'pdclean.exe'),
                               os.path.join(BUILD, 'win32', 'pdclean.map'))
    assert found == [], '\n'.join(found)
