#!/usr/bin/env python3
"""Fails on an include that runs up the layers of engine/ and game/.

Each source folder sits on one layer; a file may include files of its own
folder and of any folder on a lower layer, never of a higher one, and never
of a folder beside it on the same layer. Every include line of the form
#include "engine/..." or #include "game/..." is read; a folder that is not
in the list below fails too, so that a new folder is placed on purpose.
"""
import pathlib
import re
import sys

# Lowest first; the folders of one line stand side by side.
LAYERS = [
    ["engine/platform"],
    ["engine/core"],
    ["engine/render"],
    ["engine/logic"],
    ["engine/collision", "engine/audio", "engine/net"],
    ["engine/ui"],
    ["engine/frame"],
    ["game/config", "game/arena"],
    # The game's components by subject: what all of them share and the
    # music, the floor's tiles, the player, the player's bending and its
    # medals, the balls (with the goal ball and the shield they meet), then
    # the perks and the arena's placed objects.
    ["game/components/shared", "game/components/music"],
    ["game/components/tile"],
    ["game/components/player"],
    ["game/components/bending", "game/components/medals"],
    ["game/components/ball"],
    ["game/components/perks", "game/components/objects"],
    ["game/match"],
    ["game/menus"],
    ["game/modes"],
]

ROOT = pathlib.Path(__file__).resolve().parent.parent
LEVEL = {folder: level for level, folders in enumerate(LAYERS) for folder in folders}
INCLUDE = re.compile(r'^\s*#\s*include\s*"((?:engine|game)/[^"]+)"')
SOURCES = {".h", ".hpp", ".cpp", ".cc", ".inl"}


def folder_of(path):
    return str(pathlib.PurePosixPath(path).parent)


def fault(including, included):
    """Why the include breaks the layers, or None when it keeps them."""
    if included not in LEVEL:
        return f"{included} is on no layer"
    if included == including:
        return None
    if LEVEL[included] > LEVEL[including]:
        return f"{including} may not include {included}, which lies above it"
    if LEVEL[included] == LEVEL[including]:
        return f"{including} may not include {included}, which lies beside it"
    return None


def main():
    faults = []
    for top in ("engine", "game"):
        for path in sorted((ROOT / top).rglob("*")):
            if path.suffix not in SOURCES or not path.is_file():
                continue
            name = path.relative_to(ROOT).as_posix()
            including = folder_of(name)
            if including not in LEVEL:
                faults.append(f"{name}: {including} is on no layer of scripts/check-layers.py")
                continue
            lines = path.read_text(encoding="utf-8", errors="replace").splitlines()
            for number, line in enumerate(lines, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                why = fault(including, folder_of(match.group(1)))
                if why:
                    faults.append(f"{name}:{number}: #include \"{match.group(1)}\": {why}")
    for line in faults:
        print(line, file=sys.stderr)
    if faults:
        print(f"{len(faults)} include(s) break the layers", file=sys.stderr)
        return 1
    print("Layers: every include of engine/ and game/ runs down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
