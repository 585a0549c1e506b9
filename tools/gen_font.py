#!/usr/bin/env python3
"""Builds the glyph tables of src/display/font_tables.cpp from the M+ bitmap fonts.

Sources (third_party/mplus):
  mplus_j10r.pcf.gz            double-byte glyphs (JIS X 0208 rows 1-84 and NEC row 13)
  mplus_j10r-jisx0201.pcf.gz   half-width katakana 0xA1-0xDF
  mplus_f10r.pcf.gz            ASCII 0x21-0x7E (5 dots wide; its 0x7E is a tilde)
plus tools/font_fixes.txt, hand-drawn glyphs that replace the converted ones.

The source cells are 10 dots wide and 11 high (ascent 9). Our cells are 12 x 10 for
double-byte glyphs and 6 x 10 for single bytes, with row 8 as the base line:
  * Width: a double-byte glyph is stretched from 9 source columns to 11 (12 for kana with a
    voiced or semi-voiced mark) by doubling the columns whose copies change the shape least
    (columns crossed only by long horizontal strokes, then blank ones). Box drawing keeps its
    shape and repeats its edge columns so that neighbouring cells join.
  * Height: a glyph that reaches below the rows its class may use loses one row at a time,
    chosen in this order: a blank top row (the glyph moves up), a row equal to a neighbour (one
    from the longest run of equal rows), a blank inner row whose removal joins nothing, else
    the row whose dots its neighbours cover best and whose removal merges the fewest strokes.
    A dot that is all of a stub sticking out past a horizontal stroke counts as lost, and for
    kanji a removal that joins or breaks strokes or closes or opens a box counts most.
Only the Python standard library is used; the output is the same on every run.

Usage:
  tools/gen_font.py                       write src/display/font_tables.cpp
  tools/gen_font.py --check               fail if the committed tables are out of date
  tools/gen_font.py --stats               print what the fit did
  tools/gen_font.py --preview out.png [--scale 4] [--text FILE | --codes 0x889F-0x88FC] [--source]
"""

import argparse
import gzip
import os
import struct
import sys
import unicodedata
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MPLUS = os.path.join(ROOT, "third_party", "mplus")
FIXES = os.path.join(ROOT, "tools", "font_fixes.txt")
OUTPUT = os.path.join(ROOT, "src", "display", "font_tables.cpp")

HALF_GLYPHS = 224
SYMBOL_GLYPHS = 783
KANJI1_GLYPHS = 2965
KANJI2_GLYPHS = 3390

# ---------------------------------------------------------------------------------------------
# PCF reader


PCF_PROPERTIES = 1 << 0
PCF_ACCELERATORS = 1 << 1
PCF_METRICS = 1 << 2
PCF_BITMAPS = 1 << 3
PCF_BDF_ENCODINGS = 1 << 5
PCF_BDF_ACCELERATORS = 1 << 8
PCF_COMPRESSED_METRICS = 0x100
PCF_BYTE_MSB = 1 << 2
PCF_BIT_MSB = 1 << 3


class PcfFont:
    """Glyph bitmaps of a PCF font: rows as integers, the leftmost dot in the highest bit."""

    def __init__(self, path):
        with gzip.open(path, "rb") as f:
            data = f.read()
        if data[:4] != b"\x01fcp":
            raise ValueError("%s: not a PCF font" % path)
        (count,) = struct.unpack_from("<i", data, 4)
        self._data = data
        self._toc = {}
        for i in range(count):
            kind, fmt, size, offset = struct.unpack_from("<iiii", data, 8 + 16 * i)
            self._toc[kind] = (fmt, size, offset)
        self.properties = self._read_properties()
        self.ascent, self.descent = self._read_font_extent()
        self._metrics = self._read_metrics()
        self._bitmaps = self._read_bitmaps()
        self._encoding = self._read_encoding()

    def _table(self, kind):
        if kind not in self._toc:
            raise ValueError("PCF table %d missing" % kind)
        _, _, offset = self._toc[kind]
        (fmt,) = struct.unpack_from("<i", self._data, offset)
        order = ">" if fmt & PCF_BYTE_MSB else "<"
        return fmt, order, offset + 4

    def _read_properties(self):
        fmt, e, p = self._table(PCF_PROPERTIES)
        (n,) = struct.unpack_from(e + "i", self._data, p)
        p += 4
        raw = []
        for _ in range(n):
            raw.append(struct.unpack_from(e + "iBi", self._data, p))
            p += 9
        p += (4 - (n & 3)) & 3
        (size,) = struct.unpack_from(e + "i", self._data, p)
        strings = self._data[p + 4 : p + 4 + size]

        def text(off):
            return strings[off : strings.index(b"\0", off)].decode("latin-1")

        return {text(name): (text(value) if is_str else value) for name, is_str, value in raw}

    def _read_font_extent(self):
        kind = PCF_BDF_ACCELERATORS if PCF_BDF_ACCELERATORS in self._toc else PCF_ACCELERATORS
        _, e, p = self._table(kind)
        return struct.unpack_from(e + "ii", self._data, p + 8)

    def _read_metrics(self):
        fmt, e, p = self._table(PCF_METRICS)
        metrics = []
        if fmt & PCF_COMPRESSED_METRICS:
            (n,) = struct.unpack_from(e + "h", self._data, p)
            p += 2
            for _ in range(n):
                metrics.append(tuple(b - 0x80 for b in self._data[p : p + 5]))
                p += 5
        else:
            (n,) = struct.unpack_from(e + "i", self._data, p)
            p += 4
            for _ in range(n):
                metrics.append(struct.unpack_from(e + "hhhhh", self._data, p))
                p += 12
        return metrics  # (left bearing, right bearing, width, ascent, descent)

    def _read_bitmaps(self):
        fmt, e, p = self._table(PCF_BITMAPS)
        if not fmt & PCF_BIT_MSB:
            raise ValueError("PCF bitmaps with the low bit first are not supported")
        unit = 1 << ((fmt >> 4) & 3)
        if unit > 1 and not fmt & PCF_BYTE_MSB:
            raise ValueError("PCF bitmaps with little-endian scan units are not supported")
        pad = 1 << (fmt & 3)
        (n,) = struct.unpack_from(e + "i", self._data, p)
        p += 4
        offsets = struct.unpack_from(e + "%di" % n, self._data, p)
        base = p + 4 * n + 16
        bitmaps = []
        for i in range(n):
            lsb, rsb, _, asc, desc = self._metrics[i]
            width = rsb - lsb
            stride = ((width + 7) // 8 + pad - 1) // pad * pad
            start = base + offsets[i]
            rows = []
            for r in range(asc + desc):
                chunk = self._data[start + r * stride : start + (r + 1) * stride]
                rows.append(int.from_bytes(chunk, "big") >> (stride * 8 - width) if width else 0)
            bitmaps.append(rows)
        return bitmaps

    def _read_encoding(self):
        fmt, e, p = self._table(PCF_BDF_ENCODINGS)
        min2, max2, min1, max1, _ = struct.unpack_from(e + "5h", self._data, p)
        span = max2 - min2 + 1
        n = span * (max1 - min1 + 1)
        index = struct.unpack_from(e + "%dH" % n, self._data, p + 10)
        encoding = {}
        for b1 in range(min1, max1 + 1):
            for b2 in range(min2, max2 + 1):
                g = index[(b1 - min1) * span + (b2 - min2)]
                if g != 0xFFFF:
                    encoding[(b1 << 8) | b2] = g
        return encoding

    def has(self, code):
        return code in self._encoding

    def glyph(self, code, width):
        """The glyph's rows in a cell `width` dots wide whose row 0 is the top of the ascent."""
        g = self._encoding[code]
        lsb, rsb, _, asc, _ = self._metrics[g]
        rows = [0] * (self.ascent + self.descent)
        for i, bits in enumerate(self._bitmaps[g]):
            y = self.ascent - asc + i
            shift = width - rsb
            if bits and not 0 <= y < len(rows):
                raise ValueError("glyph 0x%04X leaves its cell" % code)
            if 0 <= y < len(rows):
                rows[y] = bits << shift if shift >= 0 else bits >> -shift
        return rows


# ---------------------------------------------------------------------------------------------
# Code tables


def jis_to_sjis(row, cell):
    """Shift-JIS bytes of JIS X 0208 row 1-94, cell 1-94."""
    lead = (row + 1) // 2 + (0x80 if row <= 62 else 0xC0)
    if row % 2:
        trail = cell + 0x3F + (1 if cell >= 64 else 0)
    else:
        trail = cell + 0x9E
    return lead, trail


def sjis_char(lead, trail, codec="shift_jis"):
    try:
        return bytes([lead, trail]).decode(codec)
    except UnicodeDecodeError:
        return None


def symbol_slots():
    """(lead, trail) of every slot of g_fontSymbol, or None for the trail-0x7F slot."""
    slots = []
    for row in range(1, 9):
        for cell in range(1, 95):
            slots.append(jis_to_sjis(row, cell))
    slots = slots[:690]  # row 8 ends at cell 32 (0x84BE)
    for trail in range(0x40, 0x9D):
        slots.append((0x87, trail))
    return slots


def kanji_slots(first_row, count):
    slots = []
    row, cell = first_row, 1
    while len(slots) < count:
        slots.append(jis_to_sjis(row, cell))
        cell += 1
        if cell > 94:
            row, cell = row + 1, 1
    return slots


# ---------------------------------------------------------------------------------------------
# Fitting


def bit(row, col, width):
    return (row >> (width - 1 - col)) & 1


def runs(row, width):
    """Length of the horizontal run each dot of a row belongs to, by column."""
    lengths = {}
    col = 0
    while col < width:
        if bit(row, col, width):
            end = col
            while end < width and bit(row, end, width):
                end += 1
            for c in range(col, end):
                lengths[c] = end - col
            col = end
        else:
            col += 1
    return lengths


def removal_cost(rows, r, width):
    """How much of the glyph's shape is lost when row r is taken out."""
    cur = rows[r]
    up = rows[r - 1] if r > 0 else 0
    down = rows[r + 1] if r + 1 < len(rows) else 0
    cost = 0.0
    up_runs, down_runs = runs(up, width), runs(down, width)
    for c in range(width):
        if bit(cur, c, width):
            if bit(up, c, width) and bit(down, c, width):
                continue  # inside a vertical stroke
            if bit(up, c, width) or bit(down, c, width):
                # A stroke end moves by one row, unless the dot is all that sticks out past a
                # horizontal stroke (the top of 書): then the stub is gone.
                along = up_runs if bit(up, c, width) else down_runs
                alone = runs(cur, width)[c] == 1
                cost += 1.0 if alone and along[c] >= 3 else 0.25
            elif any(bit(nb, c + d, width) for nb in (up, down) for d in (-1, 1) if 0 <= c + d < width):
                cost += 0.5  # a diagonal step becomes steeper
            else:
                cost += 1.0  # the dot disappears
    for c in range(width):
        if bit(up, c, width) and bit(down, c, width) and not bit(cur, c, width):
            # The rows above and below would touch: two strokes merge.
            cost += 1.0
            if up_runs[c] > 1 and down_runs[c] > 1:
                cost += 1.0
    return cost


def topology(rows, width):
    """(strokes, closed spaces): the 8-connected groups of dots and the 4-connected blank areas
    that do not reach the edge of the cell."""
    height = len(rows)
    ink = {(y, x) for y in range(height) for x in range(width) if bit(rows[y], x, width)}

    def groups(cells, steps):
        seen, found = set(), []
        for start in sorted(cells):
            if start in seen:
                continue
            seen.add(start)
            stack, group = [start], [start]
            while stack:
                y, x = stack.pop()
                for dy, dx in steps:
                    n = (y + dy, x + dx)
                    if n in cells and n not in seen:
                        seen.add(n)
                        stack.append(n)
                        group.append(n)
            found.append(group)
        return found

    eight = [(dy, dx) for dy in (-1, 0, 1) for dx in (-1, 0, 1) if dy or dx]
    four = [(-1, 0), (1, 0), (0, -1), (0, 1)]
    blank = {(y, x) for y in range(height) for x in range(width)} - ink
    closed = [
        g for g in groups(blank, four) if all(0 < y < height - 1 and 0 < x < width - 1 for y, x in g)
    ]
    return len(groups(ink, eight)), len(closed)


def topology_change(before, after):
    return abs(before[0] - after[0]) + abs(before[1] - after[1])


def remove_one_row(rows, width, lowest_candidate=0, blank_first=False, keep_topology=False):
    """Removes the row whose loss matters least; returns (rows, rule).

    Rows above lowest_candidate stay where they are. With blank_first a blank inner row goes
    before anything else (the gap under the dot of a j, say). With keep_topology a row whose
    removal joins or breaks strokes, or closes or opens a box, goes last (kanji, whose strokes
    are dense enough for that to decide what the glyph reads as)."""
    last = max(i for i, v in enumerate(rows) if v)
    top = min(i for i, v in enumerate(rows) if v)
    candidates = range(lowest_candidate, last + 1)
    blanks = [r for r in candidates if top < r < last and not rows[r] and not rows[r - 1] & rows[r + 1]]
    if blank_first and blanks:
        r = min(blanks, key=lambda r: abs(r - last / 2))
        return rows[:r] + rows[r + 1 :] + [0], "blank"
    if lowest_candidate == 0 and top > 0:
        return rows[1:] + [0], "shift"
    dups = [
        r
        for r in candidates
        if rows[r] and ((r > 0 and rows[r] == rows[r - 1]) or (r + 1 < len(rows) and rows[r] == rows[r + 1]))
    ]
    if dups:
        # Of equal rows, one from the longest run goes: a stroke three rows long keeps two, where
        # a gap two rows high would be left with one (the stem of 由 shortens, not its boxes).
        def run(r):
            lo = hi = r
            while lo > 0 and rows[lo - 1] == rows[r]:
                lo -= 1
            while hi + 1 < len(rows) and rows[hi + 1] == rows[r]:
                hi += 1
            return hi - lo + 1

        r = min(dups, key=lambda r: (removal_cost(rows, r, width), -run(r), abs(r - last / 2)))
        return rows[:r] + rows[r + 1 :] + [0], "duplicate"
    if blanks:
        r = min(blanks, key=lambda r: abs(r - last / 2))
        return rows[:r] + rows[r + 1 :] + [0], "blank"
    shape = topology(rows, width) if keep_topology else None

    def cost(r):
        if not keep_topology:
            return removal_cost(rows, r, width)
        after = topology(rows[:r] + rows[r + 1 :], width)
        return removal_cost(rows, r, width) + 2.0 * topology_change(shape, after)

    r = min(candidates, key=lambda r: (cost(r), abs(r - last / 2)))
    return rows[:r] + rows[r + 1 :] + [0], "squeeze"


def fit_rows(rows, width, max_row, lowest_candidate=0, blank_first=False, keep_topology=False):
    """Moves the glyph into rows 0..max_row; returns (rows, rules used)."""
    rules = []
    while any(rows[max_row + 1 :]):
        rows, rule = remove_one_row(rows, width, lowest_candidate, blank_first, keep_topology)
        rules.append(rule)
    return rows[: max_row + 1] + [0] * (10 - max_row - 1), rules


def column_cost(rows, c, width):
    cost = 0.0
    for row in rows:
        if bit(row, c, width):
            cost += 1.0 / runs(row, width)[c]
    if cost == 0:
        ink = 0
        for row in rows:
            ink |= row
        left, right = ink >> (width - c), ink & ((1 << (width - 1 - c)) - 1)
        # Doubling a blank column inside the glyph splits it; outside it only moves it.
        return 1.5 if left and right else 0.3
    return cost


def widen(rows, width, target):
    """Stretches rows `width` dots wide to `target` dots by doubling the cheapest columns."""
    costs = [column_cost(rows, c, width) for c in range(width)]
    center = (width - 1) / 2
    times = [1] * width
    for _ in range(target - width):
        c = min(range(width), key=lambda c: (costs[c] * (times[c] + 1) / 2, abs(c - center), c))
        times[c] += 1
    out = []
    for row in rows:
        v = 0
        for c in range(width):
            for _ in range(times[c]):
                v = (v << 1) | bit(row, c, width)
        out.append(v)
    return out


# ---------------------------------------------------------------------------------------------
# Glyph classes

HALF_DESCENDERS = set(b",gjpqy")
WIDE_DESCENDERS = {0x8143, 0x8287, 0x828A, 0x8290, 0x8291, 0x8299, 0x8772, 0x8773}


def is_box(lead, trail):
    return lead == 0x84 and 0x9F <= trail <= 0xBE


def is_voiced_kana(ch):
    return ch is not None and any(m in unicodedata.decomposition(ch) for m in ("3099", "309A"))


def is_greek_lower_or_cyrillic(ch):
    name = unicodedata.name(ch, "") if ch else ""
    return name.startswith("GREEK SMALL") or name.startswith("CYRILLIC")


class Builder:
    def __init__(self):
        self.j10 = PcfFont(os.path.join(MPLUS, "mplus_j10r.pcf.gz"))
        self.kana = PcfFont(os.path.join(MPLUS, "mplus_j10r-jisx0201.pcf.gz"))
        self.ascii = PcfFont(os.path.join(MPLUS, "mplus_f10r.pcf.gz"))
        self.fixes = read_fixes(FIXES)
        self.rules = {}  # table name -> {rule: count}
        self.drawn = []  # codes whose glyph had to be hand-drawn
        self.fixed = set()
        self.sources = {}  # double-byte code -> its source rows, 10 dots wide, for the preview

    def count(self, table, rules):
        key = "+".join(rules) if rules else "none"
        self.rules.setdefault(table, {}).setdefault(key, 0)
        self.rules[table][key] += 1

    def finish(self, code, rows, source_ok):
        if code in self.fixes:
            self.fixed.add(code)
            return list(self.fixes[code])
        if not source_ok:
            raise ValueError("no source glyph and no hand-drawn glyph for 0x%04X" % code)
        return rows

    # Single bytes: column k is bit 7 - k.
    def half(self, b):
        if b == 0x20 or b == 0x7F or 0x80 <= b <= 0xA0 or b >= 0xE0:
            return [0] * 10
        if 0x21 <= b <= 0x7E and b != 0x5C:
            font, width = self.ascii, 6
        else:
            font, width = self.kana, 5
        ok = font.has(b)
        rows = font.glyph(b, width) if ok else [0] * 11
        if width == 6:
            if any(r & 1 for r in rows):
                if b not in self.fixes:
                    raise ValueError("0x%02X uses the sixth column" % b)
            rows = [r >> 1 for r in rows]
        if b in HALF_DESCENDERS:
            # The descender keeps one row: the letter moves up, but the dot of j stays on row 1.
            rows, rules = fit_rows(rows, 5, 9, blank_first=True)
        else:
            rows, rules = fit_rows(rows, 5, 8)
        self.count("half", rules)
        rows = self.finish(b, rows, ok)
        return [r << 3 for r in rows]

    # Double bytes: column k is bit 15 - k.
    def wide(self, table, lead, trail):
        code = (lead << 8) | trail
        ch = sjis_char(lead, trail, "cp932")
        assigned = (sjis_char(lead, trail) if lead != 0x87 else sjis_char(lead, trail, "cp932")) is not None
        if code == 0x8140 or not assigned:
            return [0] * 10
        jis = jis_of(lead, trail)
        ok = self.j10.has(jis)
        rows = self.j10.glyph(jis, 10) if ok else [0] * 11
        if not ok:
            self.drawn.append(code)
        self.sources[code] = rows
        if is_box(lead, trail):
            # One row off the top puts the source's middle line on row 4 and the verticals on
            # rows 0-9; the edge columns are repeated so that lines reach both sides.
            rows = rows[1:11]
            wide_rows = []
            for r in rows:
                wide_rows.append((bit(r, 0, 10) << 11) | (r << 1) | bit(r, 9, 10))
            rows = wide_rows
        else:
            width = 10 if any(r & 1 for r in rows) else 9
            if width == 9:
                rows = [r >> 1 for r in rows]
            # Source column 0 lands on column 1. Kana with a voiced or semi-voiced mark are
            # stretched so that the mark reaches column 11; others keep to columns 1-10.
            target = 11 if 0x829F <= code <= 0x8396 and is_voiced_kana(ch) else width
            kanji = table.startswith("kanji")
            descender = code in WIDE_DESCENDERS or (is_greek_lower_or_cyrillic(ch) and any(rows[9:]))
            if kanji or not descender:
                rows, rules = fit_rows(rows, width, 8, keep_topology=kanji)
            else:
                top = min(i for i, v in enumerate(rows) if v)
                rows, rules = fit_rows(rows, width, 9, lowest_candidate=top + 1)
            rows = widen(rows, width, target)
            rows = [r << (11 - target) for r in rows]
            self.count(table, rules)
        rows = self.finish(code, rows, ok)
        return [r << 4 for r in rows]

    def build(self):
        half = [self.half(b) for b in range(0x20, 0x100)]
        symbol = []
        for lead, trail in symbol_slots():
            if lead == 0x87 and trail == 0x7F:
                symbol.append([0] * 10)
            else:
                symbol.append(self.wide("symbol", lead, trail))
        kanji1 = [self.wide("kanji1", l, t) for l, t in kanji_slots(16, KANJI1_GLYPHS)]
        kanji2 = [self.wide("kanji2", l, t) for l, t in kanji_slots(48, KANJI2_GLYPHS)]
        unused = set(self.fixes) - self.fixed
        if unused:
            raise ValueError("hand-drawn glyphs for unknown codes: %s" % sorted(unused))
        return {"half": half, "symbol": symbol, "kanji1": kanji1, "kanji2": kanji2}


def jis_of(lead, trail):
    """JIS X 0208 code (row + 0x20, cell + 0x20) of a Shift-JIS pair."""
    if lead >= 0xE0:
        lead -= 0x40
    row = (lead - 0x81) * 2 + 1
    if trail >= 0x9F:
        row += 1
        cell = trail - 0x9E
    else:
        cell = trail - 0x3F - (1 if trail >= 0x80 else 0)
    return ((row + 0x20) << 8) | (cell + 0x20)


# ---------------------------------------------------------------------------------------------
# Hand-drawn glyphs


def read_fixes(path):
    """Blocks of a code line (0xNN single byte, 0xNNNN double byte) and ten rows of . and #."""
    fixes = {}
    with open(path, encoding="utf-8") as f:
        lines = [l.split("#!")[0].rstrip() for l in f]
    i = 0
    while i < len(lines):
        line = lines[i].strip()
        i += 1
        if not line or line.startswith(";"):
            continue
        code = int(line.split()[0], 16)
        width = 5 if code < 0x100 else 12
        rows = []
        for _ in range(10):
            text = lines[i].strip()
            i += 1
            if len(text) != width or set(text) - set(".#"):
                raise ValueError("%s:%d: expected %d dots" % (path, i, width))
            rows.append(int(text.replace(".", "0").replace("#", "1"), 2))
        if code in fixes:
            raise ValueError("%s: 0x%X drawn twice" % (path, code))
        fixes[code] = rows
    return fixes


# ---------------------------------------------------------------------------------------------
# Output


def render_cpp(tables):
    out = [
        "// Generated by tools/gen_font.py from the M+ bitmap fonts in third_party/mplus and the",
        "// hand-drawn glyphs in tools/font_fixes.txt. Do not edit; run the tool instead.",
        "// clang-format off",
        '#include "display/glyph.h"',
        "",
    ]

    def table(name, size_name, rows_list, label, digits):
        out.append("const Glyph %s[%s] = {" % (name, size_name))
        for i, rows in enumerate(rows_list):
            words = ", ".join("0x%0*X" % (digits, w) for w in rows)
            out.append("    {{%s}},  // %s" % (words, label(i)))
        out.append("};")
        out.append("")

    slots = symbol_slots()
    k1 = kanji_slots(16, KANJI1_GLYPHS)
    k2 = kanji_slots(48, KANJI2_GLYPHS)
    table("g_fontHalf", "kHalfGlyphs", tables["half"], lambda i: "%d 0x%02X" % (i, 0x20 + i), 2)
    table("g_fontSymbol", "kSymbolGlyphs", tables["symbol"], lambda i: "%d 0x%02X%02X" % ((i,) + slots[i]), 4)
    table("g_fontKanji1", "kKanji1Glyphs", tables["kanji1"], lambda i: "%d 0x%02X%02X" % ((i,) + k1[i]), 4)
    table("g_fontKanji2", "kKanji2Glyphs", tables["kanji2"], lambda i: "%d 0x%02X%02X" % ((i,) + k2[i]), 4)
    out[-1] = "// clang-format on"
    return "\n".join(out) + "\n"


def png(path, pixels, width, height):
    """Writes a grey-scale PNG; pixels is a list of rows of 0-255 values."""
    raw = b"".join(b"\0" + bytes(row) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    data = b"\x89PNG\r\n\x1a\n"
    data += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(raw, 9))
    data += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


SAMPLE = """\
日本語の漢字を東京の新聞で学校の電車に乗って読む。
会社　社会　時間　先生　名前　今日　明日　友達　仕事　病院
政府　経済　問題　関係　議員　選挙　国際　情報　技術　研究
書籍　鬱蒼　薔薇　憂鬱　響き　曜日　曇り　機械　観覧　護衛
あいうえお　かきくけこ　がぎぐげご　ぱぴぷぺぽ　ゃゅょっ
アイウエオ　カキクケコ　ガギグゲゴ　パピプペポ　ヴァン
、。，．・：；？！゛゜´｀¨＾￣＿ヽヾゝゞ〃仝々〆〇ー―‐／
（）〔〕［］｛｝〈〉《》「」『』【】＋－±×÷＝≠＜＞≦≧∞
①②③⑩⑳ⅠⅡⅢ㍉㌔㎎㎏㈱℡≒≡∫√⊥∠∵∩∪
ＡＢＣａｂｃｇｊｐｑｙＱ０１２３　αβγδεζηθλμπρσφψω
АБВГДЖЗИЙЛПФЦЧШЩЭЮЯабвгджзийлруфцщъыьэюя
─│┌┐┘└├┬┤┴┼━┃┏┓┛┗┣┳┫┻╋┠┯┨┷┿┝┰┥┸╂
┌──┬──┐┏━━┳━━┓
│亜│愛│┃口┃目┃
├──┼──┤┣━━╋━━┫
└──┴──┘┗━━┻━━┛
"""


def preview_lines(args):
    if args.codes:
        first, last = (int(x, 16) for x in args.codes.split("-"))
        lines, line = [], b""
        for code in range(first, last + 1):
            if (code & 0xFF) < 0x40 or (code & 0xFF) in (0x7F,) or (code & 0xFF) > 0xFC:
                continue
            line += bytes([code >> 8, code & 0xFF])
            if len(line) >= 2 * 32:
                lines.append(line)
                line = b""
        if line:
            lines.append(line)
        return lines
    if args.text:
        with open(args.text, encoding="utf-8") as f:
            text = f.read()
    else:
        text = SAMPLE + "".join(chr(c) for c in range(0x21, 0x7F)) + "\n" + "".join(
            bytes([c]).decode("cp932") for c in range(0xA1, 0xE0)) + "\n"
    return [l.encode("cp932") for l in text.splitlines()]


def wide_index(lead, trail):
    L = lead - 0x81 if lead <= 0x9F else lead - 0xC1
    T = trail - 0x40 if trail <= 0x7E else trail - 0x41
    p = L * 188 + T
    code = (lead << 8) | trail
    if 0x889F <= code <= 0x9872:
        return "kanji1", p - 1410
    if 0x989F <= code <= 0xEAA4:
        return "kanji2", p - 4418
    if 0x8140 <= code <= 0x84BE:
        return "symbol", p
    if lead == 0x87 and 0x40 <= trail <= 0x9C:
        return "symbol", trail + 626
    return "symbol", 0


def preview(tables, args, sources):
    """With args.source every double-byte glyph follows its source glyph (11 rows, 10 columns)."""
    lines = preview_lines(args)
    cells = []
    for line in lines:
        row, i = [], 0
        while i < len(line):
            b = line[i]
            if (0x81 <= b <= 0x9F or 0xE0 <= b <= 0xEA) and i + 1 < len(line):
                name, index = wide_index(b, line[i + 1])
                if args.source:
                    row.append(([r << 1 for r in sources.get((b << 8) | line[i + 1], [])], 11, 10))
                row.append((tables[name][index], 12, 15))
                if args.source:
                    row.append(([], 3, 0))
                i += 2
            else:
                row.append((tables["half"][b - 0x20] if b >= 0x20 else [0] * 10, 6, 7))
                i += 1
        cells.append(row)
    s = args.scale
    pitch = 12 if args.source else 10
    width = (max(sum(w for _, w, _ in row) for row in cells) + 2) * s
    height = (len(cells) * pitch + 2) * s
    pixels = [[0xC0] * width for _ in range(height)]
    for y, row in enumerate(cells):
        x = 1
        for rows, w, top_bit in row:
            for r, word in enumerate(rows):
                for k in range(w):
                    on = (word >> (top_bit - k)) & 1
                    for dy in range(s):
                        py = (1 + y * pitch + r) * s + dy
                        line = pixels[py]
                        for dx in range(s):
                            line[(x + k) * s + dx] = 0 if on else (0xFF if dx and dy else 0xF0)
            x += w
    png(args.preview, pixels, width, height)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--output", default=OUTPUT)
    parser.add_argument("--check", action="store_true", help="compare with the existing output")
    parser.add_argument("--stats", action="store_true", help="print what the fit did")
    parser.add_argument("--preview", help="write a PNG of sample text instead of the tables")
    parser.add_argument("--scale", type=int, default=4)
    parser.add_argument("--text", help="UTF-8 text file for the preview")
    parser.add_argument("--codes", help="a Shift-JIS code range for the preview, e.g. 0x889F-0x88FC")
    parser.add_argument("--source", action="store_true", help="show each source glyph before its fit")
    args = parser.parse_args()

    builder = Builder()
    tables = builder.build()
    if args.stats:
        for name in ("half", "symbol", "kanji1", "kanji2"):
            counts = builder.rules.get(name, {})
            print("%-7s %s" % (name, ", ".join("%s %d" % kv for kv in sorted(counts.items()))))
        print("hand-drawn glyphs used: %d" % len(builder.fixed))
        print("codes without a source glyph: %s" % ", ".join("0x%04X" % c for c in builder.drawn))
    if args.preview:
        preview(tables, args, builder.sources)
        return 0
    text = render_cpp(tables)
    if args.check:
        with open(args.output, encoding="utf-8") as f:
            if f.read() != text:
                print("%s is out of date; run tools/gen_font.py" % args.output, file=sys.stderr)
                return 1
        return 0
    if not args.stats:
        with open(args.output, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
