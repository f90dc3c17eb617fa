"""marlek_link library enabling programmatic control of Marlek TQ5 potentiostats.

Re-exports the extension module ``_marlek_link`` with its submodules, so that
``import marlek_link.meas.stop`` and ``from marlek_link.control import ...``
work like imports of ordinary packages.
"""

import sys

import _marlek_link
from _marlek_link import *  # noqa: F401,F403
from _marlek_link import calibration, control, meas, xml

for _name, _submodule in (
    ("xml", xml),
    ("control", control),
    ("meas", meas),
    ("meas.stop", meas.stop),
    ("calibration", calibration),
):
    sys.modules[f"{__name__}.{_name}"] = _submodule
del _name, _submodule, sys

__doc__ = _marlek_link.__doc__
__version__ = _marlek_link.MarlekLink.get_library_revision()
# Every public name of the extension module, its submodules included, so
# that help() and dir() show the whole API.
__all__ = sorted(name for name in vars(_marlek_link) if not name.startswith("_"))
