#!/usr/bin/env python3
"""Runs check_includes.py over small made-up trees, one per rule, and over a clean one."""
import os
import subprocess
import sys
import tempfile
import unittest

CHECKER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "check_includes.py")

# Modules of every tree: name -> (imports, headers, sources), in engine/<name>/.
MODULES = {
    "runtime": ([], ["runtime.h"], ["runtime.cpp"]),
    "stream": (["runtime"], ["stream.h"], ["stream.cpp"]),
    "pixmap": (["stream"], ["pixmap.h"], ["pixmap.cpp"]),
    "platform_api": (["runtime"], ["clock.h"], []),
    "platform_x11": (["runtime", "platform_api"], ["x11.h"], ["x11.cpp"]),
}
PREFIX = {"platform_api": "platform/api", "platform_x11": "x11"}

# (what the case plants, {file: extra lines}, extra imports, expected fault or None)
CASES = [
    ("a clean tree", {}, {}, None),
    ("an include of an import", {"engine/pixmap/pixmap.cpp": '#include "stream/stream.h"\n'}, {}, None),
    ("an include of an import's import",
     {"engine/pixmap/pixmap.cpp": '#include "runtime/runtime.h"\n'}, {},
     'engine/pixmap/pixmap.cpp:2: module pixmap includes "runtime/runtime.h" of module runtime'),
    ("an include of a module not imported",
     {"engine/stream/stream.cpp": '#include "pixmap/pixmap.h"\n'}, {},
     'engine/stream/stream.cpp:2: module stream includes "pixmap/pixmap.h" of module pixmap'),
    ("a backend header in a front module",
     {"engine/pixmap/pixmap.h": '#include "x11/x11.h"\n'}, {},
     'engine/pixmap/pixmap.h:2: module pixmap includes "x11/x11.h" of module platform_x11'),
    ("a window system header in a front module",
     {"engine/stream/stream.h": "#include <X11/Xlib.h>\n"}, {},
     "module stream includes <X11/Xlib.h>; only a backend may"),
    ("a front module importing a backend", {}, {"pixmap": ["platform_x11"]},
     "module pixmap imports the backend platform_x11"),
    ("a file of no module", {"engine/stream/stray.cpp": ""}, {}, "engine/stream/stray.cpp:1: belongs to no module"),
    ("the platform contract in a program", {"examples/demo.cpp": '#include "platform/api/clock.h"\n'}, {},
     'examples/demo.cpp:2: program includes "platform/api/clock.h" of platform_api'),
    ("a window system header in a program", {"examples/demo.cpp": "#include <GL/glx.h>\n"}, {},
     "examples/demo.cpp:2: program includes <GL/glx.h>"),
    ("front headers in a program", {"examples/demo.cpp": '#include "pixmap/pixmap.h"\n'}, {}, None),
]


def make_tree(root, extra, more_imports):
    files = {"examples/demo.cpp": ""}
    manifest = []
    for name, (imports, headers, sources) in MODULES.items():
        folder = os.path.join(root, "engine", name)
        prefix = PREFIX.get(name, name)
        for f in headers + sources:
            files[f"engine/{name}/{f}"] = ""
        manifest += [f"module {name} {folder}",
                     f"headers {name} " + " ".join(f"{prefix}/{h}" for h in headers),
                     f"sources {name} " + " ".join(os.path.join(folder, s) for s in sources),
                     f"imports {name} " + " ".join(imports + more_imports.get(name, []))]
    files.update(extra)
    for path, text in files.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w") as f:
            f.write("// a file\n" + text)
    manifest_path = os.path.join(root, "modules.txt")
    with open(manifest_path, "w") as f:
        f.write("\n".join(manifest) + "\n")
    return manifest_path


class CheckIncludes(unittest.TestCase):
    def test_each_rule(self):
        for what, extra, more_imports, expected in CASES:
            with self.subTest(what), tempfile.TemporaryDirectory() as root:
                manifest = make_tree(root, extra, more_imports)
                run = subprocess.run([sys.executable, CHECKER, manifest, root], capture_output=True, text=True)
                if expected is None:
                    self.assertEqual((run.returncode, run.stdout), (0, ""))
                else:
                    self.assertEqual(run.returncode, 1)
                    self.assertEqual(len(run.stdout.splitlines()), 1, run.stdout)
                    self.assertIn(expected, run.stdout)


if __name__ == "__main__":
    unittest.main()
