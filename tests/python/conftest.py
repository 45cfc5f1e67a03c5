# The oracle and round-trip figures of the Python tests, printed at the end of every run (also with -q).
import pytest

_figures = []


@pytest.fixture
def report():
    return _figures.append


def pytest_terminal_summary(terminalreporter):
    if _figures:
        terminalreporter.section("geodex figures")
        for line in _figures:
            terminalreporter.write_line(line)
