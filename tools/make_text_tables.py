#!/usr/bin/env python3
"""Writes src/text/text_tables.cpp: the tables behind the search's folding of letters and the
rich-text reader's code pages, made from Python's Unicode database and codecs.

- The folding of each character from U+0080 to U+052F and from U+1E00 to U+1FFF: a separator
  (punctuation, symbols, blanks, controls), or a word character and the UTF-8 text it folds to.
  Latin and Greek letters lose case and diacritics (é -> e, Ω -> ω, ά -> α), ligatures and sharp s
  are spelled out (œ -> oe, æ -> ae, ß -> ss), letters with a stroke or a bar take their base
  letter (ł -> l, đ -> d, ø -> o); Cyrillic letters lose case only (й stays a letter of its
  own) except ё, which Russian readers take for е; combining accents fold to nothing.
- The Windows code pages 1250 to 1258: the character of each byte from 0x80 to 0xFF. A byte the
  code page leaves undefined stands for the control character of the same number, as Windows
  reads it.
Run it again after changing a rule here; the output is committed, so building needs no Python.
"""
import unicodedata
from pathlib import Path

OUT = Path(__file__).resolve().parent.parent / "src" / "text" / "text_tables.cpp"
RANGES = [(0x80, 0x530), (0x1E00, 0x2000)]
CODE_PAGES = list(range(1250, 1259))
SEPARATOR = 0xFF


def is_word(c):
    cat = unicodedata.category(c)
    return cat[0] == "L" or cat == "Nd" or cat[0] == "M"


def base_of_stroked(c):
    """The base letter of a Latin letter named "... LETTER X WITH STROKE" and the like."""
    name = unicodedata.name(c, "")
    for marker in (" LETTER ",):
        if marker in name and " WITH " in name:
            letter = name.split(marker, 1)[1].split(" WITH ", 1)[0]
            if len(letter) == 1 and letter.isalpha():
                return letter.lower()
    return None


SPECIAL = {"ß": "ss", "ẞ": "ss", "œ": "oe", "Œ": "oe", "æ": "ae", "Æ": "ae", "ø": "o", "Ø": "o",
           "ĳ": "ij", "Ĳ": "ij", "ı": "i", "ſ": "s", "ς": "σ", "ё": "е", "Ё": "е", "µ": "μ",
           "ŉ": "n", "ŀ": "l", "Ŀ": "l"}


def fold(cp):
    c = chr(cp)
    if not is_word(c):
        return None
    if unicodedata.category(c)[0] == "M":
        return ""
    if c in SPECIAL:
        return SPECIAL[c]
    lower = c.lower()
    if 0x400 <= cp < 0x530:  # Cyrillic: case only
        return lower if len(lower) == 1 else c
    decomposed = unicodedata.normalize("NFKD", lower)
    kept = "".join(ch for ch in decomposed if unicodedata.category(ch)[0] != "M")
    kept = "".join(ch for ch in kept if is_word(ch))
    if len(kept) == 1 and ord(kept) >= 0x80 and unicodedata.category(c)[0] == "L" and "LATIN" in unicodedata.name(c, ""):
        kept = base_of_stroked(c) or kept
    return kept if kept else lower


def cpp_bytes(text):
    return "".join("\\x%02x" % b for b in text.encode("utf-8"))


def main():
    lines = [
        "// Made by tools/make_text_tables.py; edit the script, not this file.",
        '#include "text/text_tables.h"',
        "",
        "namespace tessera::text_tables {",
        "",
    ]
    for first, last in RANGES:
        lines.append("const Folding kFolding%04X[0x%X] = {" % (first, last - first))
        for cp in range(first, last):
            f = fold(cp)
            if f is None:
                lines.append("    {0x%02X, \"\"},  // U+%04X" % (SEPARATOR, cp))
            else:
                data = f.encode("utf-8")
                assert len(data) <= 4, (hex(cp), f)
                lines.append("    {%d, \"%s\"},  // U+%04X" % (len(data), cpp_bytes(f), cp))
        lines.append("};")
        lines.append("")
    lines.append("const char16_t kCodePages[%d][128] = {" % len(CODE_PAGES))
    for page in CODE_PAGES:
        row = []
        for b in range(0x80, 0x100):
            try:
                row.append(ord(bytes([b]).decode("cp%d" % page)))
            except UnicodeDecodeError:
                row.append(b)
        lines.append("    {  // %d" % page)
        for i in range(0, 128, 8):
            lines.append("        " + " ".join("0x%04X," % v for v in row[i:i + 8]))
        lines.append("    },")
    lines.append("};")
    lines.append("")
    lines.append("}  // namespace tessera::text_tables")
    OUT.write_text("\n".join(lines) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
