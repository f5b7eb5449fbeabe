"""The Python benchmarks' check for the tools they measure against: a ratio against a tool that did
not run means nothing, so a benchmark stops before measuring and names the Debian package to
install (the C++ benchmarks do the same through BaselineTools.h)."""
import importlib.util
import os
import shutil
import sys


def require(programs=(), modules=()):
    """programs and modules: (name, Debian package) pairs. Exits with a line for each one missing."""
    missing = [(name, package) for name, package in programs if not shutil.which(name)]
    missing += [(name, package) for name, package in modules if importlib.util.find_spec(name) is None]
    if missing:
        bench = os.path.splitext(os.path.basename(sys.argv[0]))[0]
        sys.exit("\n".join(f"{bench}: {name} is missing; install the Debian package {package} "
                           f"(apt-get install {package})" for name, package in missing))
