#!/usr/bin/env python3
"""Check a Pelk language file against the program's built-in English table.

Usage: python3 check.py [LANGUAGE_FILE [DefaultLanguage.cpp]]
Defaults: magyar.lng beside this script, and
src/config/DefaultLanguage.cpp.

The language file is read the way the program reads it: a line whose first
character after blanks and tabs is "{" holds {id, "text"}; every other line
is a comment.  Exit status 0 when no error was found, 1 otherwise.
"""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
LNG = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "data", "magyar.lng")
CPP = sys.argv[2] if len(sys.argv) > 2 else os.path.join(HERE, "..", "src", "config", "DefaultLanguage.cpp")

TABLE_SIZE = 479
MAX_TEXT = 1023      # bytes of one text
MAX_LINE = 511       # bytes of one line, so that any reader takes it whole

# Texts that must stay byte for byte as in the built-in table.
MUST_KEEP = {
    16569: "mail address in the About box",
    16571: "mail address in the About box",
    16572: "web address of the validation file",
    16574: "mail addresses of the report destinations",
    16597: "colour band codes written into reports",
    16608: "AAVSO chart size codes",
    16630: "scope abbreviations used in English-unit reports",
    16631: "scope abbreviations used in metric reports",
    18001: "report header that is Hungarian already",
    18005: "report header that is Hungarian already",
    18002: "report header sent to the AAVSO, whose readers expect English",
    18003: "report header sent to VSNET, whose readers expect English",
    18004: "report header sent to VSNET, whose readers expect English",
}
# Other texts that may stay as in English, and why.
MAY_KEEP = {
    102: "help book file name: only the English book (pelk_en) exists; another name would break Help",
    5100: "\"OK\" is the usual caption of this button in Hungarian too",
    16483: "\"JD\" (Julian Date) is the standard abbreviation in Hungarian too",
    16501: "the Hungarian month name is \"November\" too (capitalised: it begins a list item)",
    16502: "the Hungarian month name is \"December\" too (capitalised: it begins a list item)",
    1206: "empty text in the English table; nothing to translate",
}

# Accelerator groups: every control or menu entry visible at the same time.
MENU_GROUPS = {
    "menu bar": [500, 510, 520, 530],
    "menu User (500-503)": [500, 501, 502, 503],
    "menu Observations (510-514)": [510, 511, 512, 513, 514],
    "menu Tools (520-524)": [520, 521, 522, 523, 524],
    "menu Help (530-532)": [530, 531, 532],
}
# Dialogs and property pages (with the buttons they share: 5001 Close,
# 5009 Help; on a property page the sheet's Help button).  Extra fixed
# letters that no text supplies are given as strings.
DIALOG_GROUPS = {
    "message box buttons": [3, 4, 5, 6, 7, 8],
    "Scopes page": [1012, 1009, 1010, 5009],
    "scope dialog (lens/mirror)": [1203, 1204, 1205, 5009],
    "scope dialog (binoculars)": [1203, 1204, 1252, 5009],
    "General page": [1207, 1210, 1300, 1301, 1311, 1314, 5009],
    "language dialog": [1211],
    "variable star dialog": [1215, 1217, 1219, 5009],
    "remarks dialog": list(range(1093, 1112)),
    "observation browser": [1013, 1129, 1153, 1224, 5001, 5009],
    "Observer page": [1226, 1227, 1228, 1231, 1229, 1230, 5009],
    "observer list": [1131, 1132],
    "report dialog": [1233, 1234, 1235, 1066, 1237, 1238, 1075, 1144, 5009],
    "report dialog (custom report)": [1233, 16593, 1235, 1066, 1237, 1238, 1075, 1144, 5009],
    "Report page": [1145, 1155, 1277, 1312, 5009],
    "observation entry dialog": [1239, 1182, 1240, 1241, 1242, 1243, 1245, 1244, 1125,
                                 1160, 1246, 1303, 1313, 1130, 1014, 5009, "J"],
    "New Observation page": [1173, 1174, 1175, 1154, 1258, 1304, 1305, 1163, 5009],
    "validation table": [1256, 1022, 1028, 1029, 5001],
    "observation filter": [1259, 1260, 1264, 1265, 1266, 1278, 1270, 1279, 5009],
    "chart dialog": [1283, 1291, 1292, 1293, 1295, 1297, 5009],
    "chart list": [1280, 1282, 1285, 1287, 1288, 1289, 5001, 5009],
    "Station page": [1308, 1310, 5009],
}
# Remark codes: the accelerator letter is the AAVSO code and must not change.
REMARK_CODES = range(1093, 1112)

# Letters expected in Hungarian text besides ASCII (Latin-1; õ/û stand for the
# double-acute letters).  Anything else is reported as a warning.
HU_LETTERS = set("áéíóöõúüûÁÉÍÓÖÕÚÜÛ")

errors = []
warnings = []


def err(msg):
    errors.append(msg)


def warn(msg):
    warnings.append(msg)


# ----------------------------------------------------------------- reading

def c_unescape(lit):
    """Decode a C string literal body (as used in DefaultLanguage.cpp)."""
    out = bytearray()
    i = 0
    while i < len(lit):
        c = lit[i]
        if c == "\\" and i + 1 < len(lit):
            n = lit[i + 1]
            if n in "01234567":
                j = i + 1
                while j < len(lit) and j < i + 4 and lit[j] in "01234567":
                    j += 1
                out.append(int(lit[i + 1:j], 8) & 0xFF)
                i = j
                continue
            simple = {"n": 10, "t": 9, "r": 13, "\"": 34, "\\": 92, "'": 39, "a": 7, "b": 8, "f": 12, "v": 11, "0": 0}
            if n in simple:
                out.append(simple[n])
                i += 2
                continue
        out += c.encode("latin-1")
        i += 1
    return out.decode("latin-1")


def read_table(path):
    src = open(path, encoding="latin-1").read()
    start = src.find("default_language")
    body = src[start:]
    entries = []
    for m in re.finditer(r'\{\s*(-?\d+)\s*,\s*((?:"(?:[^"\\]|\\.)*"\s*)+)\}', body):
        lits = re.findall(r'"((?:[^"\\]|\\.)*)"', m.group(2))
        entries.append((int(m.group(1)), "".join(c_unescape(x) for x in lits)))
    return entries


def parse_line(line):
    """The program's reading of one line; None when the line is ignored.
    Returns (id, text, raw_text_between_quotes)."""
    p = 0
    n = len(line)
    while p < n and line[p] in " \t":
        p += 1
    if p >= n or line[p] != "{":
        return None
    comma = line.find(",", p + 1)
    if comma < 0:
        return None
    q = p + 1
    while q < comma and line[q] in " \t":
        q += 1
    neg = False
    if q < comma and line[q] in "+-":
        neg = line[q] == "-"
        q += 1
    ident = 0
    digits = 0
    while q < comma and "0" <= line[q] <= "9":
        ident = ident * 10 + ord(line[q]) - 48
        q += 1
        digits += 1
    if neg or ident <= 0:
        return ("bad-id", line)
    q = comma + 1
    while q < n and line[q] in " \t":
        q += 1
    if q >= n or line[q] != '"':
        return ("no-quote", line)
    q += 1
    end = q
    while end < n and not (line[end] == '"' and line[end - 1] != "\\"):
        end += 1
    raw = line[q:end][:MAX_TEXT]
    text = []
    i = 0
    while i < len(raw):
        c = raw[i]
        if c == "\\" and i + 1 < len(raw):
            e = raw[i + 1]
            if e in 'nt"\\':
                text.append({"n": "\n", "t": "\b", '"': '"', "\\": "\\"}[e])
                i += 2
                continue
        text.append(c)
        i += 1
    return (ident, "".join(text), line[q:end], end)


# ------------------------------------------------------- format directives

def scan_percent(t):
    """Port of the program's directive scanner.  Returns (kinds, fields):
    kinds is the list of printf directive kinds in order (template fields
    such as %OBSERVER% left out), fields the list of template fields."""
    kinds, fields = [], []
    n = len(t)
    p = t.find("%")
    while p >= 0:
        q = p + 1
        while q < n and ("A" <= t[q] <= "Z" or t[q] == "_"):
            q += 1
        if q > p + 1 and q < n and t[q] == "%":
            fields.append(t[p:q + 1])
            p = t.find("%", q + 1)
            continue
        q = p + 1
        kind = ""
        if q < n and t[q] == "%":
            kinds.append("%")
            p = t.find("%", q + 1)
            continue
        d = q
        while d < n and "0" <= t[d] <= "9":
            d += 1
        if d > q and d < n and t[d] == "$":
            kind += t[q:d + 1]
            q = d + 1
        while q < n and t[q] in "-+ #0'":
            q += 1
        for _ in range(2):  # width, then precision after "."
            if q < n and t[q] == "*":
                kinds.append("*")
                q += 1
                while q < n and ("0" <= t[q] <= "9" or t[q] == "$"):
                    q += 1
            else:
                while q < n and "0" <= t[q] <= "9":
                    q += 1
            if _ == 0:
                if q < n and t[q] == ".":
                    q += 1
                else:
                    break
        length = ""
        while q < n and t[q] in "hlLqjzt":
            length += t[q]
            q += 1
        if length == "q":
            length = "ll"
        conv = t[q] if q < n else ""
        if conv in ("d", "i"):
            kind += length + "d"
        elif conv in ("o", "u", "x", "X"):
            kind += length + "u"
        elif conv in ("e", "E", "f", "F", "g", "G", "a", "A"):
            kind += length + "f"
        elif conv in ("c", "s", "p", "n", "C", "S"):
            kind += length + conv
        else:
            kind += "?" + conv
        kinds.append(kind)
        p = t.find("%", q + 1 if conv else q)
    return kinds, fields


def list_entries(t):
    """Entries of a "|" list as the program splits them (a||b| -> a, '', b)."""
    parts = t.split("|")
    if t.endswith("|"):
        parts = parts[:-1]
    return parts


def accelerators(t):
    """Letters marked with "&" ("&&" is a literal ampersand)."""
    out = []
    i = 0
    while i < len(t):
        if t[i] == "&":
            if i + 1 < len(t) and t[i + 1] == "&":
                i += 2
                continue
            if i + 1 < len(t):
                out.append(t[i + 1])
            else:
                out.append("")
            i += 2
            continue
        i += 1
    return out


# -------------------------------------------------------------------- main

def main():
    if hasattr(sys.stdout, "reconfigure"):
        sys.stdout.reconfigure(errors="backslashreplace")
    table = read_table(CPP)
    if len(table) != TABLE_SIZE:
        err("built-in table: %d entries read, %d expected" % (len(table), TABLE_SIZE))
    english = {}
    for ident, text in table:
        english.setdefault(ident, text)

    data = open(LNG, "rb").read()

    # --- encoding and line ends
    if b"\r" in data:
        err("file contains CR bytes: line ends must be LF only")
    if not data.endswith(b"\n"):
        warn("file does not end with a line feed")
    if any(b >= 0x80 for b in data):
        try:
            data.decode("utf-8")
            err("file is valid UTF-8 with non-ASCII bytes: it must be ISO-8859-1")
        except UnicodeDecodeError:
            pass
    for m in re.finditer(rb"[\xC2-\xDF][\x80-\xBF]|[\xE0-\xEF][\x80-\xBF]{2}", data):
        line_no = data.count(b"\n", 0, m.start()) + 1
        err("line %d: byte sequence %s looks like UTF-8" % (line_no, m.group(0).hex()))
    for m in re.finditer(rb"[\x80-\x9F]", data):
        line_no = data.count(b"\n", 0, m.start()) + 1
        err("line %d: byte 0x%02X is a C1 control code, not a Latin-1 character "
            "(Windows code page left-over?)" % (line_no, m.group(0)[0]))
    for m in re.finditer(rb"[\x00-\x08\x0B-\x1F\x7F]", data):
        line_no = data.count(b"\n", 0, m.start()) + 1
        err("line %d: control byte 0x%02X" % (line_no, m.group(0)[0]))
    text_all = data.decode("latin-1")

    # --- lines
    lines = text_all.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    entries = []   # (line_no, id, text)
    first_entry_line = None
    for no, line in enumerate(lines, 1):
        if len(line.encode("latin-1")) > MAX_LINE:
            err("line %d: %d bytes, longer than %d" % (no, len(line.encode("latin-1")), MAX_LINE))
        r = parse_line(line)
        if r is None:
            if line.strip().startswith("{"):
                err("line %d: looks like an entry but would be ignored" % no)
            continue
        if r[0] in ("bad-id", "no-quote"):
            err("line %d: entry ignored by the program (%s): %s" % (no, r[0], line))
            continue
        ident, text, raw, end = r
        if first_entry_line is None:
            first_entry_line = no
        m = re.fullmatch(r'\{(\d+), "((?:[^"\\]|\\["\\n])*)"\},', line)
        if not m:
            err("line %d: not in the form {id, \"text\"}, (or an escape other than \\n \\\" \\\\): %s"
                % (no, line))
        if "\\t" in raw.replace("\\\\", ""):
            err("line %d: \\t gives a BACKSPACE character, not a tab" % no)
        if len(line[line.find('"') + 1:end]) > MAX_TEXT or len(text.encode("latin-1")) > MAX_TEXT:
            err("line %d: text longer than %d bytes" % (no, MAX_TEXT))
        entries.append((no, ident, text))
    if first_entry_line is None or first_entry_line == 1:
        warn("no comment block before the first entry")

    # --- ids and order
    # A second entry of an id is never used and stands in the file as a
    # comment, so that it cannot replace the first one's text.
    ids_en = []
    for i, _ in table:
        if i not in ids_en:
            ids_en.append(i)
    ids_hu = [i for _, i, _ in entries]
    if ids_en != ids_hu:
        err("ids differ from the built-in table in number or order (%d entries, %d expected)"
            % (len(ids_hu), len(ids_en)))
        for k, (a, b) in enumerate(zip(ids_en, ids_hu)):
            if a != b:
                err("first difference at entry %d: expected id %d, found %d" % (k + 1, a, b))
                break
    unknown = [i for i in ids_hu if i not in english]
    for i in unknown:
        err("id %d is not in the built-in table" % i)

    # the first line of each id is what the checks below judge (later
    # lines would win in the program; the order check above forbids them
    # anyway, except the table's own duplicate 623)
    hu = {}
    line_of = {}
    for no, ident, text in entries:
        if ident not in hu:
            hu[ident] = text
            line_of[ident] = no

    # pair every line with its own entry of the table: by position when the
    # order is right (so both lines of the duplicate 623 are judged), else by id
    if ids_en == ids_hu:
        pairs = [(no, ident, text, table[k][1]) for k, (no, ident, text) in enumerate(entries)]
    else:
        pairs = [(no, ident, text, english[ident]) for no, ident, text in entries if ident in english]

    identical = []
    for no, ident, t, en in pairs:
        where = "id %d (line %d)" % (ident, no)

        # printf directives and template fields
        k_en, f_en = scan_percent(en)
        k_hu, f_hu = scan_percent(t)
        if k_en != k_hu:
            err("%s: format directives %s, English has %s" % (where, k_hu, k_en))
        if f_en != f_hu:
            err("%s: template fields %s, English has %s" % (where, f_hu, f_en))

        # line breaks
        if en.count("\n") != t.count("\n"):
            warn("%s: %d line breaks, English has %d" % (where, t.count("\n"), en.count("\n")))

        # lists
        if "|" in en or "|" in t:
            n_en, n_hu = len(list_entries(en)), len(list_entries(t))
            if n_en != n_hu:
                err("%s: list of %d entries, English has %d" % (where, n_hu, n_en))
            if en.endswith("|") != t.endswith("|"):
                err("%s: the final \"|\" differs from English" % where)

        # accelerators
        a_en, a_hu = accelerators(en), accelerators(t)
        if len(a_en) != len(a_hu):
            err("%s: %d accelerator(s), English has %d" % (where, len(a_hu), len(a_en)))
        for a in a_hu:
            if not a.isalnum():
                err("%s: accelerator on %r, not a letter or digit" % (where, a))
        if ident in REMARK_CODES and [x.upper() for x in a_hu] != [x.upper() for x in a_en]:
            err("%s: remark code letter %s, must be %s" % (where, a_hu, a_en))

        # characters
        for ch in set(t):
            if ord(ch) >= 0x80 and ch not in HU_LETTERS and ch not in "«»°·":
                warn("%s: unusual character %r for Hungarian text" % (where, ch))

        # texts that must be kept
        if ident in MUST_KEEP and t != en:
            err("%s: must be kept exactly as in English (%s)" % (where, MUST_KEEP[ident]))

        if t == en:
            identical.append((ident, en))

    # entries with codes inside
    if 16470 in hu:
        e, h = list_entries(english[16470]), list_entries(hu[16470])
        if len(e) == len(h):
            for k in range(1, len(e), 2):
                if e[k] != h[k]:
                    err("id 16470: file pattern %r changed (English %r)" % (h[k], e[k]))
    if 16562 in hu:
        e, h = list_entries(english[16562]), list_entries(hu[16562])
        if len(e) == len(h):
            for a, b in zip(e, h):
                if a[:3] != b[:3]:
                    err("id 16562: item %r must start with the code %r" % (b, a[:3]))
                if len(b) <= 3:
                    err("id 16562: item %r has no name" % b)
    if 16573 in hu:
        e, h = list_entries(english[16573]), list_entries(hu[16573])
        if len(e) == len(h):
            for a, b in zip(e, h):
                org = a.split()[0]
                if org not in b:
                    err("id 16573: destination %r lost the organisation name %r" % (b, org))
    if 16578 in hu and len(hu[16578]) < 2:
        err("id 16578: needs a waxing letter and at least one waning character")
    if 102 in hu and (not hu[102] or " " in hu[102]):
        err("id 102: help book name must be a file name")

    # accelerator clashes
    def check_groups(groups, what):
        for name, members in groups.items():
            seen = {}
            for m in members:
                if isinstance(m, str):
                    letters = [m]
                    src = "fixed"
                else:
                    if m not in hu:
                        continue
                    letters = accelerators(hu[m])
                    src = str(m)
                for a in letters:
                    key = a.lower()
                    if key in seen:
                        err("%s %s: accelerator '%s' used by %s and %s" % (what, name, a, seen[key], src))
                    else:
                        seen[key] = src
    check_groups(MENU_GROUPS, "")
    check_groups(DIALOG_GROUPS, "")

    # ------------------------------------------------------------- report
    print("language file: %s" % LNG)
    print("built-in table: %s (%d entries)" % (CPP, len(table)))
    print("entries in language file: %d" % len(entries))
    print()
    print("texts identical to English (%d):" % len(identical))
    for ident, en in identical:
        why = MUST_KEEP.get(ident) or MAY_KEEP.get(ident)
        shown = en.replace("\n", "\\n")
        if len(shown) > 60:
            shown = shown[:57] + "..."
        if why:
            print("  %5d  %-42s %s" % (ident, '"%s"' % shown, why))
        else:
            print("  %5d  %-42s NOT EXPECTED" % (ident, '"%s"' % shown))
            err("id %d: identical to English without a reason" % ident)
    print()
    for w in warnings:
        print("warning: " + w)
    for e in errors:
        print("ERROR: " + e)
    print()
    print("%d error(s), %d warning(s)" % (len(errors), len(warnings)))
    print("CLEAN" if not errors and not warnings else ("FAILED" if errors else "OK with warnings"))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
