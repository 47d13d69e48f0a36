#!/usr/bin/env python3
"""Every dependency points one way: hall -> run -> app -> game -> gfx, sound -> platform.

Fails on any include that points up a layer or sideways between gfx and sound, on the
common platform layer including one of its backends, on an include without its folder
where that hides which layer it reaches, and on an `extern` declaration in a .cpp file
(a dependency that no header shows), and on a backend's header included above the
platform layer anywhere but in a program's main. Usage: check_layers.py SOURCE_DIR"""
import pathlib
import re
import sys

RANK = {"platform": 0, "gfx": 1, "sound": 1, "game": 2, "app": 3, "run": 4, "hall": 5}
BACKENDS = ("platform/sdl/", "platform/headless/", "platform/web/")
# The composition roots: one main per program, where its backends are chosen.
MAINS = ("run/main.cpp", "run/web_main.cpp")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
EXTERN = re.compile(r'^\s*extern\b(?!\s*"C")')


def layer_of(path):
    return path.split("/", 1)[0]


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    problems = []
    for folder in ["platform", "gfx", "sound", "game", "app", "run", "hall", "tools", "tests", "fuzz", "bench"]:
        for file in sorted((root / folder).rglob("*")):
            if file.suffix not in (".cpp", ".h"):
                continue
            name = file.relative_to(root).as_posix()
            here = layer_of(name)
            for number, line in enumerate(file.read_text(errors="replace").splitlines(), 1):
                where = f"{name}:{number}"
                if file.suffix == ".cpp" and EXTERN.match(line):
                    problems.append(f"{where}: an extern declaration in a .cpp file belongs in its owner's header")
                match = INCLUDE.match(line)
                if not match:
                    continue
                target = match.group(1)
                there = layer_of(target)
                if here in RANK and "/" not in target and (file.parent / target).exists():
                    problems.append(f"{where}: include \"{target}\" with its folder")
                    continue
                if here in RANK and there in RANK:
                    if RANK[there] > RANK[here] or (RANK[there] == RANK[here] and there != here):
                        problems.append(f"{where}: {here}/ includes {target}, which is not below it")
                if name.startswith("platform/") and not name.startswith(BACKENDS) and target.startswith(BACKENDS):
                    problems.append(f"{where}: the common platform layer includes its backend {target}")
                if here in RANK and here != "platform" and name not in MAINS and target.startswith(BACKENDS):
                    problems.append(f"{where}: only a program's main chooses a backend, not {target}")
    for p in problems:
        print(p)
    if problems:
        print(f"layers: {len(problems)} problems")
        return 1
    print("layers: every include points down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
