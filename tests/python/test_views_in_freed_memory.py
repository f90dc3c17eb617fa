"""The tests of views that outlive a change of their list, run once more in
an interpreter whose allocator overwrites freed memory, so that a view
reading freed storage reads garbage and fails instead of passing by luck."""

import os
import pathlib
import subprocess
import sys

HERE = pathlib.Path(__file__).resolve().parent
FILES = ["test_hardware_info.py", "test_hardware_settings.py", "test_hardware_helper.py", "test_settings.py"]


def test_views_never_read_freed_memory():
    environment = dict(os.environ, MALLOC_PERTURB_="165")
    run = subprocess.run(
        [sys.executable, "-m", "pytest", "-q", "-p", "no:cacheprovider", "-k", "views", *FILES],
        cwd=HERE,
        env=environment,
        capture_output=True,
        text=True,
        timeout=300,
    )
    assert run.returncode == 0, run.stdout + run.stderr
