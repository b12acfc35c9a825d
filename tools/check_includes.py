#!/usr/bin/env python3
"""Checks the engine's include graph against its module list.

Usage: check_includes.py MANIFEST ROOT

MANIFEST is the corvex-modules.txt that configuring writes into the build folder: for
every module its folder, headers ("prefix/name.h"), sources and imports. ROOT is the
source tree. The rules:

  - a file of a module includes only headers of its own module and of the modules it
    imports;
  - every source and header under engine/ belongs to a module;
  - no module imports a backend (platform_x11, platform_headless) but the backends;
  - only a backend includes the native window system's headers (<X11/...>, <GL/glx.h>);
  - programs (examples/, game/) include neither a backend's headers nor the platform
    contract: what they need reaches them through the front modules.

Tests and benchmarks are not checked: they link what they test, backends included.
Prints one line per fault and exits 1 when there is one.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
NATIVE = re.compile(r"^(X11/|GL/glx\.h$)")
PROGRAM_FOLDERS = ("examples", "game")


def is_backend(module):
    return module.startswith("platform_") and module != "platform_api"


def read_manifest(path):
    modules = {}
    with open(path) as f:
        for line in f:
            kind, name, *rest = line.split()
            entry = modules.setdefault(name, {"headers": [], "sources": [], "imports": []})
            if kind == "module":
                entry["dir"] = rest[0]
            else:
                entry[kind] = rest
    return modules


def includes(path):
    with open(path, errors="replace") as f:
        for number, line in enumerate(f, 1):
            m = INCLUDE.match(line)
            if m:
                yield number, m.group(1) == "<", m.group(2)


def source_files(folder):
    for dirpath, _, names in os.walk(folder):
        for name in sorted(names):
            if name.endswith((".h", ".cpp", ".c")):
                yield os.path.join(dirpath, name)


def check(modules, root):
    faults = []
    owner_of_header = {}
    owner_of_file = {}
    for name, m in modules.items():
        for header in m["headers"]:
            owner_of_header[header] = name
            owner_of_file[os.path.realpath(os.path.join(m["dir"], os.path.basename(header)))] = name
        for source in m["sources"]:
            owner_of_file[os.path.realpath(source)] = name
        for imported in m["imports"]:
            if imported not in modules:
                faults.append(f"module {name} imports {imported}, which is not a module")
            elif is_backend(imported) and not is_backend(name):
                faults.append(f"module {name} imports the backend {imported}")

    def fault(path, number, text):
        faults.append(f"{os.path.relpath(path, root)}:{number}: {text}")

    for path in source_files(os.path.join(root, "engine")):
        name = owner_of_file.get(os.path.realpath(path))
        if name is None:
            fault(path, 1, "belongs to no module (list it in its folder's corvex_module call)")
            continue
        allowed = {name, *modules[name]["imports"]}
        for number, system, included in includes(path):
            if system:
                if NATIVE.match(included) and not is_backend(name):
                    fault(path, number, f"module {name} includes <{included}>; only a backend may")
                continue
            other = owner_of_header.get(included)
            if other is not None and other not in allowed:
                fault(path, number, f'module {name} includes "{included}" of module {other}, '
                                    f"which it does not import")

    for folder in PROGRAM_FOLDERS:
        for path in source_files(os.path.join(root, folder)):
            for number, system, included in includes(path):
                other = None if system else owner_of_header.get(included)
                if other is not None and (other == "platform_api" or is_backend(other)):
                    fault(path, number, f'program includes "{included}" of {other}; '
                                        "use the front modules (system, graphics, ...)")
                elif system and NATIVE.match(included):
                    fault(path, number, f"program includes <{included}>; only a backend may")
    return faults


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    faults = check(read_manifest(argv[1]), os.path.realpath(argv[2]))
    for line in faults:
        print(line)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
