#!/usr/bin/env python3
"""Writes data/english.lng from the built-in text table in
src/config/DefaultLanguage.cpp, so the shipped English file always matches
the program's own texts. Run it after changing the built-in table."""
import pathlib
import re

root = pathlib.Path(__file__).resolve().parent.parent
src = (root / "src/config/DefaultLanguage.cpp").read_text(encoding="ascii")

HEADER = """\
// Pelk language file: English
//
// One text per line, in the form   {id, "text"},
// Only lines whose first non-blank character is "{" are read; everything
// else (like these lines) is a comment. Inside the quotes:
//   \\n  a line break        \\"  a double quote        \\\\  a backslash
// Keep every %d, %s, %ld, %c and %3.1f of a text, in the same order: a
// text whose directives differ is not used. Fields such as %OBSERVER% in
// the report headers are filled in by name and must stay as they are.
// A "&" marks the underlined key of a menu entry or a button.
// Entries of a list are separated by "|".
// The file is ISO-8859-1 (Latin-1) text.

"""


def c_literal_to_bytes(lit: str) -> bytes:
    out = bytearray()
    i = 0
    while i < len(lit):
        c = lit[i]
        if c == "\\":
            e = lit[i + 1]
            if e == "n":
                out.append(10); i += 2
            elif e in "01234567":
                j = i + 1
                while j < len(lit) and j < i + 4 and lit[j] in "01234567":
                    j += 1
                out.append(int(lit[i + 1:j], 8)); i = j
            else:
                out.append(ord(e)); i += 2
        else:
            out.append(ord(c)); i += 1
    return bytes(out)


def lng_escape(text: bytes) -> bytes:
    out = bytearray()
    for b in text:
        if b == 10:
            out += b"\\n"
        elif b == ord('"'):
            out += b'\\"'
        elif b == ord("\\"):
            out += b"\\\\"
        else:
            out.append(b)
    return bytes(out)


entries = re.findall(r'^\s*\{(\d+), "((?:[^"\\]|\\.)*)"\},\s*$', src, re.M)
assert len(entries) == 479, len(entries)
body = bytearray(HEADER.encode("latin-1"))
seen = set()
for ident, lit in entries:
    line = b"{" + ident.encode() + b', "' + lng_escape(c_literal_to_bytes(lit)) + b'"},\n'
    if ident in seen:
        # The table holds this id twice and only its first entry is ever
        # used; as a live line it would replace the first one's text.
        line = b"// second entry of this id, never used: " + line
    seen.add(ident)
    body += line
(root / "data/english.lng").write_bytes(bytes(body))
print("wrote data/english.lng with", len(entries), "texts")
