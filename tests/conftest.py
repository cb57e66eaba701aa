import os
import sys

import pytest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), 'wine'))

from bench import TARGET32  # noqa: E402


@pytest.fixture(scope='session')
def bench_template():
    from bench import Bench
    b = Bench()
    yield b
    b.close()


def bench_scope(fixture_name, config):
    return 'function' if TARGET32 else 'session'


@pytest.fixture(scope=bench_scope)
def bench(request):
    """The x86_64 suite shares one prefix; each i686 test gets its own copy of one."""
    from bench import Bench
    template = request.getfixturevalue('bench_template')
    if not TARGET32:
        yield template
        return
    b = Bench(template=template)
    yield b
    b.close()
