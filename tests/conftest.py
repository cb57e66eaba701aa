import os
import sys

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, ROOT)
sys.path.insert(0, os.path.join(ROOT, 'tests'))

from tools.wine.harness import TARGET32, Harness  # noqa: E402


@pytest.fixture(scope='session')
def wine_template():
    h = Harness()
    yield h
    h.close()


def wine_scope(fixture_name, config):
    return 'function' if TARGET32 else 'session'


@pytest.fixture(scope=wine_scope)
def wine(request):
    """The x86_64 suite shares one prefix; each i686 test gets its own copy of one."""
    template = request.getfixturevalue('wine_template')
    if not TARGET32:
        yield template
        return
    h = Harness(template=template)
    yield h
    h.close()
