#!/usr/bin/env python3
"""Runs make_font.py over the engine's font source and over broken copies of it."""
import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
TOOL = os.path.join(HERE, "make_font.py")
SOURCE = os.path.join(HERE, "..", "engine", "draw2d", "veskfont.txt")

# Glyphs pinned pixel by pixel; rows not listed are blank. 'L' fixes the metrics the
# capitals follow, 'g' the descender and that bit 0 is the leftmost pixel.
PINNED = {
    "L": {2: ".##.....", 3: ".##.....", 4: ".##.....", 5: ".##.....", 6: ".##.....",
          7: ".##.....", 8: ".##.....", 9: ".##.....", 10: ".#######"},
    "g": {5: "..######", 6: ".##...##", 7: ".##...##", 8: ".##...##", 9: ".##...##",
          10: "..######", 11: "......##", 12: ".##...##", 13: "..#####."},
}
# The same two glyphs as bytes, row 0 first: the layout of the block spelled out.
PINNED_BYTES = {
    "L": [0, 0] + [0b00000110] * 8 + [0b11111110] + [0] * 5,
    "g": [0, 0, 0, 0, 0, 0b11111100, 0b11000110, 0b11000110, 0b11000110, 0b11000110,
          0b11111100, 0b11000000, 0b11000110, 0b01111100, 0, 0],
}

DESCENDERS = set("gjpqy") | {"Q"}  # Q's tail dips below the baseline too
CAP_TOP, X_TOP, BASELINE = 2, 5, 10


def read_lines():
    with open(SOURCE) as f:
        return f.read().splitlines()


def header_index(lines, code):
    """Index in lines of the header of character `code`."""
    prefix = f"char 0x{code:02X}"
    return next(i for i, line in enumerate(lines) if line.startswith(prefix))


def run_tool(*args):
    return subprocess.run([sys.executable, TOOL, *args], capture_output=True, text=True)


def drop_row(lines):  # the 5th row of 'A'
    i = header_index(lines, 0x41)
    return lines[:i + 5] + lines[i + 6:], i + 1


def extra_row(lines):  # a 17th row in 'A', read on the line after its 16 rows
    i = header_index(lines, 0x41)
    return lines[:i + 17] + ["........"] + lines[i + 17:], i + 18


def replace_row(text):
    def edit(lines):
        i = header_index(lines, 0x41) + 3
        return lines[:i] + [text] + lines[i + 1:], i + 1
    return edit


def drop_glyph(lines):  # no 'B': the header of 'C' is the first that is wrong
    i, j = header_index(lines, 0x42), header_index(lines, 0x43)
    return lines[:i] + lines[j:], i + 1


def repeat_glyph(lines):  # 'B' twice in a row
    i, j = header_index(lines, 0x42), header_index(lines, 0x43)
    return lines[:j] + lines[i:j] + lines[j:], j + 1


def swap_glyphs(lines):  # 'C' before 'B'
    i, j, k = header_index(lines, 0x42), header_index(lines, 0x43), header_index(lines, 0x44)
    return lines[:i] + lines[j:k] + lines[i:j] + lines[k:], i + 1


def truncate(lines):  # the source stops after '}'
    i = header_index(lines, 0x7E)
    return lines[:i], i


def replace_header(text, code=0x41):
    def edit(lines):
        i = header_index(lines, code)
        return lines[:i] + [text] + lines[i + 1:], i + 1
    return edit


def row_before_header(lines):
    i = header_index(lines, 0x20)
    return lines[:i] + ["........"] + lines[i:], i + 1


# (what is broken, edit of the source lines giving (lines, faulty line number), words
# the message must hold)
MALFORMED = [
    ("a glyph one row short", drop_row, "15 rows"),
    ("a glyph one row long", extra_row, "more than 16 rows"),
    ("a row too narrow", replace_row(".##...#"), "7 pixels wide"),
    ("a row too wide", replace_row(".##...##."), "9 pixels wide"),
    ("a row of other characters", replace_row(".##..x##"), "'x' at column 5"),
    ("a row drawn with spaces", replace_row(" ##   ##"), "' ' at column 0"),
    ("a missing character", drop_glyph, "0x42 'B' is missing"),
    ("a character twice", repeat_glyph, "0x42 'B' appears twice"),
    ("characters out of order", swap_glyphs, "out of order"),
    ("the last characters missing", truncate, "0x7E..0x7F are missing"),
    ("a label that is not the character", replace_header("char 0x41 'B'"), "does not match 0x41"),
    ("a code past the last character", replace_header("char 0x80", 0x7F), "outside 0x20..0x7F"),
    ("a header without a code", replace_header("char A"), "malformed header"),
    ("a row before the first header", row_before_header, "before the first 'char' header"),
]


def glyph_rows(block, code):
    return [block[y * 96 + code - 32] for y in range(16)]


class MakeFont(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.block_path = os.path.join(cls.tmp.name, "veskfont.bin")
        run = run_tool(SOURCE, cls.block_path)
        if run.returncode != 0:
            raise AssertionError(f"make_font.py failed on the font source: {run.stderr}")
        with open(cls.block_path, "rb") as f:
            cls.block = f.read()

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def test_block_size(self):
        self.assertEqual(len(self.block), 1536)

    def test_pinned_glyphs(self):
        lines = read_lines()
        for ch, picture in PINNED.items():
            with self.subTest(ch):
                code = ord(ch)
                i = header_index(lines, code)
                drawn = lines[i + 1:i + 17]
                self.assertEqual(drawn, [picture.get(y, "........") for y in range(16)])
                self.assertEqual(glyph_rows(self.block, code), PINNED_BYTES[ch])
        self.assertEqual(self.block[10 * 96 + ord("L") - 32], 0b11111110)

    def test_round_trip(self):
        run = run_tool("--text", self.block_path)
        self.assertEqual(run.returncode, 0, run.stderr)
        # The source is the same text plus its comment header.
        glyph_lines = [l for l in read_lines() if not l.startswith(";")]
        while glyph_lines and not glyph_lines[0]:
            glyph_lines.pop(0)
        self.assertEqual(run.stdout.splitlines(), glyph_lines)
        text_path = os.path.join(self.tmp.name, "again.txt")
        again_path = os.path.join(self.tmp.name, "again.bin")
        with open(text_path, "w") as f:
            f.write(run.stdout)
        run = run_tool(text_path, again_path)
        self.assertEqual(run.returncode, 0, run.stderr)
        with open(again_path, "rb") as f:
            self.assertEqual(f.read(), self.block)

    def test_malformed_sources(self):
        for what, edit, words in MALFORMED:
            with self.subTest(what), tempfile.TemporaryDirectory() as tmp:
                lines, line_number = edit(read_lines())
                source = os.path.join(tmp, "font.txt")
                output = os.path.join(tmp, "font.bin")
                with open(source, "w") as f:
                    f.write("\n".join(lines) + "\n")
                run = run_tool(source, output)
                self.assertNotEqual(run.returncode, 0)
                self.assertIn(f"{source}:{line_number}: ", run.stderr)
                self.assertIn(words, run.stderr)
                self.assertFalse(os.path.exists(output), "nothing is written for a broken source")

    def test_bad_arguments(self):
        short_block = os.path.join(self.tmp.name, "short.bin")
        with open(short_block, "wb") as f:
            f.write(self.block[:-1])
        cases = [
            ("no arguments", [], "usage"),
            ("one argument", [SOURCE], "usage"),
            ("a block of the wrong size", ["--text", short_block], "1535"),
            ("a missing source", [os.path.join(self.tmp.name, "none.txt"), short_block], "none.txt"),
        ]
        for what, args, words in cases:
            with self.subTest(what):
                run = run_tool(*args)
                self.assertNotEqual(run.returncode, 0)
                self.assertIn(words, run.stderr)

    def test_printable_characters_have_ink(self):
        for code in range(33, 127):
            with self.subTest(chr(code)):
                self.assertTrue(any(glyph_rows(self.block, code)))
        self.assertFalse(any(glyph_rows(self.block, 32)), "space is blank")

    def test_metrics(self):
        # Ink stays where the font's metrics put it, so that text sits on one baseline.
        for code in range(33, 128):
            ch = chr(code)
            rows = glyph_rows(self.block, code)
            inked = [y for y, bits in enumerate(rows) if bits]
            with self.subTest(ch):
                if ch.isalnum():
                    self.assertGreaterEqual(min(inked), CAP_TOP)
                    self.assertEqual(max(inked) > BASELINE, ch in DESCENDERS)
                    if ch.isupper() or ch.isdigit() or ch in "bdfhkl":
                        self.assertEqual(min(inked), CAP_TOP, "reaches the cap height")
                    if ch in "acegmnopqrsuvwxyz":
                        self.assertEqual(min(inked), X_TOP, "reaches exactly the x-height")
                    if ch not in DESCENDERS:
                        self.assertEqual(max(inked), BASELINE, "sits on the baseline")
                if ch != "_":
                    self.assertFalse(any(bits & 1 for bits in rows), "column 0 stays blank")


if __name__ == "__main__":
    unittest.main()
