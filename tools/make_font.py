#!/usr/bin/env python3
"""Builds the engine's default font block from its readable source, and back.

Usage: make_font.py SOURCE OUTPUT
       make_font.py --text BLOCK

The source (engine/draw2d/veskfont.txt) holds the 96 glyphs of characters 0x20..0x7F
in order. Each glyph is a header line

    char 0x41 'A'

followed by 16 rows of 8 pixels, top row first, '#' for ink and '.' for background.
The label after the code is optional; when given it is the character in single quotes
(or DEL for 0x7F) and must match the code. Lines starting with ';' are comments and
blank lines are skipped; trailing blanks on a line are ignored.

The block is 16 * 96 = 1536 bytes: pixel row 0 of every character, then row 1, and so
on. Within a row the bytes follow the characters 0x20..0x7F; in a byte, bit 0 is the
leftmost pixel and a set bit is ink.

A malformed source is reported as SOURCE:LINE: what is wrong, and nothing is written;
the exit status is then 1. --text prints a block in the source form.
"""
import re
import sys

FIRST = 0x20
COUNT = 96
WIDTH = 8
HEIGHT = 16
BLOCK_BYTES = COUNT * HEIGHT

HEADER = re.compile(r"char\s+0x([0-9A-Fa-f]+)(?:\s+(.*))?$")


class SourceError(Exception):
    def __init__(self, line, message):
        super().__init__(message)
        self.line = line


def label_of(code):
    """The label the header of `code` carries: the character quoted, or DEL."""
    return "DEL" if code == 0x7F else f"'{chr(code)}'"


def describe(code):
    return f"0x{code:02X} {label_of(code)}"


def parse_source(text):
    """Returns the 96 glyphs of a source, each a list of 16 rows of '#' and '.'.

    Raises SourceError naming the line of the first fault."""
    glyphs = []
    header_line = {}  # code -> line of its header
    rows = None  # rows of the glyph being read
    last_line = 0

    def close(at_line):
        # The glyph being read must have all its rows by the time the next header or the
        # end of the source arrives.
        if rows is not None and len(rows) != HEIGHT:
            code = FIRST + len(glyphs) - 1
            raise SourceError(header_line[code],
                              f"{describe(code)} has {len(rows)} rows, not {HEIGHT} "
                              f"(its rows end before line {at_line})")

    for number, raw in enumerate(text.splitlines(), 1):
        last_line = number
        line = raw.rstrip()
        if not line or line.startswith(";"):
            continue
        if line.startswith("char"):
            match = HEADER.match(line)
            if not match:
                raise SourceError(number, f"malformed header {line!r}; expected e.g. char 0x41 'A'")
            code = int(match.group(1), 16)
            if not FIRST <= code < FIRST + COUNT:
                raise SourceError(number, f"0x{code:02X} is outside 0x{FIRST:02X}..0x{FIRST + COUNT - 1:02X}")
            label = match.group(2)
            if label is not None and label.strip() != label_of(code):
                raise SourceError(number, f"label {label.strip()} does not match 0x{code:02X}, "
                                          f"which is {label_of(code)}")
            close(number)
            if code in header_line:
                raise SourceError(number, f"{describe(code)} appears twice (first at line {header_line[code]})")
            expected = FIRST + len(glyphs)
            if code != expected:
                raise SourceError(number, f"{describe(code)} is out of order: {describe(expected)} "
                                          f"is missing or comes later; characters go in code order")
            header_line[code] = number
            rows = []
            glyphs.append(rows)
            continue
        if rows is None:
            raise SourceError(number, "pixel row before the first 'char' header")
        bad = [(column, c) for column, c in enumerate(line) if c not in "#."]
        if bad:
            column, c = bad[0]
            raise SourceError(number, f"{c!r} at column {column}; rows hold only '#' (ink) and '.' (background)")
        if len(line) != WIDTH:
            raise SourceError(number, f"row is {len(line)} pixels wide, not {WIDTH}")
        if len(rows) == HEIGHT:
            code = FIRST + len(glyphs) - 1
            raise SourceError(number, f"{describe(code)} has more than {HEIGHT} rows")
        rows.append(line)
    close(last_line + 1)
    if len(glyphs) != COUNT:
        code = FIRST + len(glyphs)
        raise SourceError(max(last_line, 1),
                          f"source ends before {describe(code)}: characters 0x{code:02X}.."
                          f"0x{FIRST + COUNT - 1:02X} are missing")
    return glyphs


def pack(glyphs):
    """The block of 96 glyphs: row by row of pixels, one byte per character."""
    block = bytearray()
    for y in range(HEIGHT):
        for rows in glyphs:
            block.append(sum(1 << x for x, c in enumerate(rows[y]) if c == "#"))
    return bytes(block)


def unpack(block):
    """The 96 glyphs of a block, as pack takes them."""
    if len(block) != BLOCK_BYTES:
        raise ValueError(f"a font block is {BLOCK_BYTES} bytes, this one is {len(block)}")
    return [["".join("#" if block[y * COUNT + i] >> x & 1 else "." for x in range(WIDTH))
             for y in range(HEIGHT)] for i in range(COUNT)]


def text_of(glyphs):
    """The source form of the glyphs, without comments."""
    chunks = []
    for i, rows in enumerate(glyphs):
        chunks.append(f"char 0x{FIRST + i:02X} {label_of(FIRST + i)}\n" + "".join(r + "\n" for r in rows))
    return "\n".join(chunks)


def main(argv):
    if len(argv) == 3 and argv[1] == "--text":
        try:
            with open(argv[2], "rb") as f:
                glyphs = unpack(f.read())
        except (OSError, ValueError) as e:
            print(f"{argv[2]}: {e}", file=sys.stderr)
            return 1
        sys.stdout.write(text_of(glyphs))
        return 0
    if len(argv) != 3 or argv[1].startswith("-"):
        print("usage: make_font.py SOURCE OUTPUT\n       make_font.py --text BLOCK", file=sys.stderr)
        return 2
    source, output = argv[1], argv[2]
    try:
        with open(source, encoding="utf-8") as f:
            glyphs = parse_source(f.read())
    except OSError as e:
        print(f"{source}: {e}", file=sys.stderr)
        return 1
    except UnicodeDecodeError as e:
        print(f"{source}: not UTF-8 text ({e})", file=sys.stderr)
        return 1
    except SourceError as e:
        print(f"{source}:{e.line}: {e}", file=sys.stderr)
        return 1
    try:
        with open(output, "wb") as f:
            f.write(pack(glyphs))
    except OSError as e:
        print(f"{output}: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
