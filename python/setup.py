"""Builds the compiled module korvel._korvel: the bindings in src/ with the
engine's sources, taken from the clone's src/ folder beside this one, in as
many jobs as KORVEL_BUILD_JOBS says (default: one per core)."""
import os
import re
import shlex
import subprocess
from pathlib import Path

from pybind11.setup_helpers import ParallelCompile, Pybind11Extension
from setuptools import setup

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent
# The engine's layers and what the packages share; the figures, the dialogue
# and the command line stay out.
ENGINE = ["data", "stats", "engine", "report", "json", "analysis", "packages"]


def version():
    """The program's version, from the project's CMakeLists.txt."""
    text = (ROOT / "CMakeLists.txt").read_text()
    return re.search(r"project\(korvel VERSION ([0-9.]+)", text).group(1)


def gsl_libraries():
    """The GSL's libraries and their folders, as gsl-config names them."""
    flags = shlex.split(subprocess.run(["gsl-config", "--libs"], capture_output=True, text=True, check=True).stdout)
    return [f[2:] for f in flags if f.startswith("-l")], [f[2:] for f in flags if f.startswith("-L")]


def sources():
    """The bindings and the engine's sources, relative to this folder."""
    bindings = sorted(p.relative_to(HERE).as_posix() for p in (HERE / "src").glob("*.cpp"))
    engine = sorted(f"../src/{layer}/{p.name}" for layer in ENGINE for p in (ROOT / "src" / layer).glob("*.cpp"))
    return bindings + engine


def headers():
    """Every header the module is built with: a change to one rebuilds it."""
    folders = [HERE / "src", ROOT / "include" / "korvel"] + [ROOT / "src" / layer for layer in ENGINE]
    return sorted(os.path.relpath(p, HERE) for folder in folders for p in folder.glob("*.h"))


VERSION = version()
libraries, library_dirs = gsl_libraries()
ParallelCompile("KORVEL_BUILD_JOBS", default=0).install()
setup(
    version=VERSION,
    packages=["korvel"],
    include_package_data=False,
    package_data={"korvel": ["py.typed", "*.pyi"]},
    ext_modules=[
        Pybind11Extension(
            "korvel._korvel",
            sources(),
            depends=headers(),
            include_dirs=[str(ROOT / "include"), str(ROOT / "src"), str(HERE / "src")],
            define_macros=[("KORVEL_VERSION", f'"{VERSION}"')],
            libraries=libraries + ["csv"],
            library_dirs=library_dirs,
            extra_compile_args=["-Wall", "-Wextra"],
            cxx_std=17,
        )
    ],
)
