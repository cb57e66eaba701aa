import os
import sys

import pytest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), 'wine'))


@pytest.fixture(scope='session')
def bench():
    from bench import Bench
    b = Bench()
    yield b
    b.close()
