# The package under test and the cvdr it is compared with come from one build
# tree: $DR_MVQ4_BUILD, else build/ (the set-up's build).
import os
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parents[2]
BUILD = pathlib.Path(os.environ.get("DR_MVQ4_BUILD", ROOT / "build"))
CVDR = BUILD / "bin" / "cvdr"
sys.path.insert(0, str(BUILD / "python"))
# The user's settings file must not change what either host reads.
os.environ.setdefault("DR_MVQ4_REGISTRY", "/nonexistent")
