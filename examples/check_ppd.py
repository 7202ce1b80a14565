#!/usr/bin/env python3
"""Checks PPD files in the maker's dialect before they are used as test, bench or demo input.

It reads each file the way the PPD engine does (the same lines, tokens, delimiters and block
structure) and reports everything the engine would reject or silently drop, plus the rules our
examples keep on top of that: one default per block, every control in a group, translations that
decode exactly in the file's *LanguageEncoding, no bytes outside ASCII except in translations.

Usage: check_ppd.py [--table] FILE...     (exit status 1 when a problem was found)
       --table prints a Markdown table of the controls of each file.
"""
import sys

KEYWORD_DELIMS = b" \t:"
LINE_END_DELIMS = b"\n\r"
FLAG_DELIMS = b'|:"'
RANGE_DELIMS = b";(;)"
BLANKS = b" \t"
MAX_LINE = 254  # a line of 255 characters or more ends the parse
CODE_CAPACITY = 4096
HEADER_SCAN = 4096  # the accepted-names check reads only this much of the file

ENCODINGS = {
    "ISOLatin1": "latin-1", "ISOLatin2": "iso8859_2", "ISOLatin5": "iso8859_9",
    "JIS83-RKSJ": "shift_jis", "MacStandard": "mac_roman", "WindowsANSI": "cp1252",
    "UTF-8": "utf-8",
}
CONTROL_FLAGS = {"Command", "Spooler", "Setup", "MacTJN", "MacIS"}
OPENERS = {b"*OpenUI": b"*CloseUI", b"*QVOpenUI": b"*QVCloseUI",
           b"*OpenUIQRV": b"*CloseUIQRV", b"*BeginUI": b"*EndUI"}
CLOSERS = set(OPENERS.values())
# Job-note words accepted at the lowest extension level; others may be refused by the engine.
NOTE_FLAGS = ["Alpha", "Numeric", "Decimal", "Required", "Remembered", "Password",
              "AlwaysDisplay", "Resume", "Member"]
RESERVED = {
    "*QVPigmentor", "*QV_PROP_COLORMODE", "*QV_PROP_PG_PURE_BLACK", "*QV_PROP_PG_OVER_PRINT",
    "*QV_PROP_PG_RGB_SEPARATION", "*QV_PROP_PG_SOURCE_PROFILES", "*QV_PROP_PG_SIMULATION",
    "*QV_PROP_PG_SPOTCOLORS", "*QV_PROP_PG_OUTPUT_PROFILE", "*QV_PROP_PG_SIM_SPEED",
    "*QV_PROP_PG_COLOR_SMART", "*QV_PROP_PG_GAMMA", "*QV_PROP_PG_WHITEPOINT",
    "*QV_PROP_PG_PHOSPHORS", "*QV_PROP_PG_CRD", "*QV_PROP_PG_CRD_IMAGES",
    "*QV_PROP_PG_CRD_GRAPHICS", "*QV_PROP_PG_CRD_TEXT", "*QV_PROP_PG_CRD_IMAGES_HT",
    "*QV_PROP_PG_CRD_GRAPHICS_HT", "*QV_PROP_PG_CRD_TEXT_HT", "*QV_LOCAL_PROP_FIRSTPAGESOURCE",
    "*QV_LOCAL_PROP_FIRSTPAGEMEDIA", "*QV_LOCAL_PROP_BACKPAGESOURCE",
    "*QV_LOCAL_PROP_BACKPAGEMEDIA", "*QV_PROP_WATERMARK_FIRSTPAGEONLY",
    "*QV_PROP_WATERMARK_FOREGROUND", "*QV_PROP_WATERMARK_OUTLINE", "*QV_PROP_WATERMARK",
    "*QV_PROP_LOCAL_QVLANDSCAPE",
}
EXPERT_KEYWORDS = [
    "*QVRGBOverride", "*QVColorRendDict", "*QVSimulation", "*QVOutProfile", "*QVRGBSep",
    "*QVSimSpeed", "*QVSpotColors", "*QVPureBlack", "*QVBlkOvpStyle", "*QVBlkOverprint",
    "*QVPaperSim", "*QVBlkOvpCtrl", "*QVProofProfile", "*QVRGBOtherGamma", "*QVRGBOtherWtPt",
    "*QVRGBOtherPhos", "*QVKOnlyGrayRGB", "*QVKOnlyGrayCMYK",
]
PANE_KEYWORDS = ["*QVSeparations", "*QVBrightness", "*QVImageSmooth", "*QVSubstColors",
                 "*QVHPBlack"]
COLOR_MODE_ITEMS = {"CMYK", "Grayscale", "GRAY", "Expert", "QVColorModeDEF"}
# Models whose PPD must carry every colour keyword, by *PCFileName.
FULL_COLOUR_MODELS = {"TRVC5000.PPD"}
MAX_PANE_ITEMS = 7


class Cursor:
    """A read position inside one line, as the engine's per-line stream."""

    def __init__(self, data, pos=0):
        self.data, self.pos = data, pos

    def at_end(self):
        return self.pos >= len(self.data)

    def skip_blanks(self):
        while not self.at_end() and self.data[self.pos] in BLANKS:
            self.pos += 1

    def get(self):
        if self.at_end():
            return None
        ch = self.data[self.pos]
        self.pos += 1
        return ch


def next_token(cur, delims, strip=True):
    """The engine's token rule: stops at a delimiter (consumed) or after 255 bytes."""
    out = bytearray()
    while len(out) < 255:
        ch = cur.get()
        if ch is None or ch in LINE_END_DELIMS:
            break
        if ch in delims:
            break
        out.append(ch)
    if not out:
        return None
    tok = bytes(out)
    return tok.strip(BLANKS) if strip else tok


class Control:
    def __init__(self, kw, kind, line, flags):
        self.kw, self.kind, self.line, self.flags = kw, kind, line, flags
        self.group = None
        self.default = None
        self.options = []  # option keywords in file order
        self.extra = ""  # range bounds, note length and so on, for the table


class PPDCheck:
    def __init__(self, path, data):
        self.path = path
        self.data = data
        self.lines = data.split(b"\n")
        if self.lines and self.lines[-1] == b"":
            self.lines.pop()
        self.i = 0
        self.problems = []
        self.notes = []
        self.header = {}
        self.encoding = None
        self.pages = {}  # keyword -> scroll pane keyword or None
        self.group_names = {}  # declared names -> line
        self.groups = {}  # keyword -> (kind, parent)
        self.controls = {}
        self.order = []
        self.shortcuts = []
        self.constraints = []
        self.in_installable = False
        self.translations = {}  # line number -> raw translation strings read from it

    # -- reporting ---------------------------------------------------------------------------
    def problem(self, line, text):
        self.problems.append(f"{self.path}:{line}: {text}")

    def text(self, b):
        return b.decode("latin-1")

    # -- translations -------------------------------------------------------------------------
    def translation(self, line_no, raw, what):
        """Checks one translation string: hex groups well formed, bytes in the encoding."""
        if raw:
            self.translations.setdefault(line_no, []).append(raw)
        if raw is None or raw.strip(BLANKS) == b"":
            self.problem(line_no, f"{what}: missing translation")
            return
        if raw != raw.strip(BLANKS):
            self.problem(line_no, f"{what}: translation has surrounding blanks")
        if self.encoding is None:
            self.problem(line_no, f"{what}: translation before *LanguageVersion and "
                                  "*LanguageEncoding are both known")
            return
        decoded = bytearray()
        pos = 0
        while True:
            lt = raw.find(b"<", pos)
            gt_stray = raw.find(b">", pos)
            if lt < 0:
                if gt_stray >= 0:
                    self.problem(line_no, f"{what}: stray '>' in translation")
                decoded += raw[pos:]
                break
            gt = raw.find(b">", lt)
            if gt < 0 or (0 <= gt_stray < lt):
                self.problem(line_no, f"{what}: unbalanced '<' or '>' in translation")
                return
            body = raw[lt + 1:gt]
            if (not body or len(body) % 2 or
                    any(c not in b"0123456789ABCDEFabcdef" for c in body)):
                self.problem(line_no, f"{what}: malformed hex group <{self.text(body)}>")
                return
            group = bytes.fromhex(body.decode("ascii"))
            if 0 in group:
                self.problem(line_no, f"{what}: hex group holds a zero byte")
                return
            decoded += raw[pos:lt] + group
            pos = gt + 1
        codec = ENCODINGS[self.encoding]
        try:
            bytes(decoded).decode(codec)
        except UnicodeDecodeError:
            self.problem(line_no, f"{what}: not valid {self.encoding} text")
            return
        if codec.startswith(("latin", "iso8859")):
            if any(0x80 <= b <= 0x9F for b in decoded):
                self.problem(line_no, f"{what}: C1 control bytes, wrong encoding?")
            elif any(b >= 0x80 for b in decoded):
                try:
                    bytes(decoded).decode("utf-8")
                    self.problem(line_no, f"{what}: looks like UTF-8, not {self.encoding}")
                except UnicodeDecodeError:
                    pass

    # -- PostScript ---------------------------------------------------------------------------
    def postscript(self, cur, line_no, what, placeholder=None):
        """Reads quoted code the way the engine does, from the cursor and following lines."""
        while True:
            ch = cur.get()
            if ch is None:
                self.problem(line_no, f"{what}: no quoted code")
                return None
            if ch == ord('"'):
                break
        code = bytearray()
        rest = cur.data[cur.pos:]
        end = rest.find(b'"')
        if end >= 0:
            code += rest[:end]
            if rest[end + 1:].strip(BLANKS):
                self.problem(line_no, f"{what}: text after the closing quote")
        else:
            code += rest
            while True:
                if self.i + 1 >= len(self.lines):
                    self.problem(line_no, f"{what}: code never closed")
                    return None
                self.i += 1
                ln = self.lines[self.i]
                if ln == b"":
                    continue
                if ln.startswith(b"*%"):
                    ln = ln[2:]
                elif ln.startswith(b"*"):
                    self.problem(self.i + 1, f"{what}: code not closed before this line")
                    self.i -= 1
                    return None
                code += b"\n"
                end = ln.find(b'"')
                if end >= 0:
                    code += ln[:end]
                    if ln[end + 1:].strip(BLANKS):
                        self.problem(self.i + 1, f"{what}: text after the closing quote")
                    break
                code += ln
            if self.i + 1 < len(self.lines) and self.lines[self.i + 1] != b"*End":
                self.problem(self.i + 1, f"{what}: multi-line code without *End")
        if len(code) + 1 >= CODE_CAPACITY:
            self.problem(line_no, f"{what}: code longer than the engine keeps")
        if b":" in code:
            self.problem(line_no, f"{what}: colon inside code (block lines split at colons)")
        if any(b >= 0x80 for b in code):
            self.problem(line_no, f"{what}: non-ASCII bytes in code")
        if placeholder and placeholder.lower() not in bytes(code).lower():
            self.problem(line_no, f"{what}: code lacks the placeholder "
                                  f"{self.text(placeholder)}")
        return bytes(code)

    # -- whole file ---------------------------------------------------------------------------
    def run(self):
        self.lexical()
        if not self.lines or not self.signature(self.lines[0]):
            self.problem(1, 'first line is not *PPD-Adobe: "4.3"')
            return self
        self.i = 1
        while self.i < len(self.lines):
            line = self.lines[self.i]
            if len(line) > MAX_LINE:
                break  # the engine stops here; reported by lexical()
            self.dispatch(line)
            self.i += 1
        self.finish()
        return self

    def lexical(self):
        if not self.data.endswith(b"\n"):
            self.problem(len(self.lines), "last line has no line end (the engine drops it)")
        for n, line in enumerate(self.lines, 1):
            if len(line) > MAX_LINE:
                self.problem(n, f"line of {len(line)} characters ends the parse")
            if b"\r" in line:
                self.problem(n, "CR in line (examples use LF line ends)")
            if b"\x00" in line or b"\xff" in line:
                self.problem(n, "NUL or 0xFF byte (0xFF ends a line for the engine)")
            if line != line.rstrip(BLANKS):
                self.problem(n, "trailing blanks")
        head = self.data[:HEADER_SCAN]
        at = head.find(b"*PCFileName")
        if at < 0:
            self.problem(1, "*PCFileName not within the first 4096 bytes")
        elif not self.data[:at].endswith(b"\n") or head[at + 11:at + 12] != b":":
            self.problem(1, "first occurrence of *PCFileName is not the keyword line")

    def signature(self, line):
        cur = Cursor(line)
        if next_token(cur, KEYWORD_DELIMS) != b"*PPD-Adobe":
            return False
        return self.quoted(cur) == b"4.3"

    def quoted(self, cur):
        rest = cur.data[cur.pos:]
        a = rest.find(b'"')
        b = rest.find(b'"', a + 1) if a >= 0 else -1
        if a < 0 or b < 0:
            return None
        return rest[a + 1:b]

    def dispatch(self, line):
        n = self.i + 1
        if line.startswith(b" ") or line.startswith(b"\t"):
            self.problem(n, "line begins with a blank")
        cur = Cursor(line)
        key = next_token(cur, KEYWORD_DELIMS)
        if key is None:
            return
        handlers = {
            b"*UIConstraints": lambda: self.constraint(cur, n, False),
            b"*%QRVUIConstraints": lambda: self.constraint(cur, n, False),
            b"*%QRVUIRequires": lambda: self.constraint(cur, n, True),
            b"*%QRVPropPage": lambda: self.prop_page(cur, n),
            b"*%QRVGroupName": lambda: self.group_name(cur, n),
            b"*%QRVParent": lambda: self.parent(cur, n),
            b"*%QRVFlags": lambda: self.flags_line(cur, n),
            b"*%QVShortcut": lambda: self.shortcut(cur, n),
            b"*%QRVSpecialOption": lambda: self.special(cur, n),
            b"*%QRVJobNote": lambda: self.job_note(cur, n, None, None),
        }
        if key in handlers:
            handlers[key]()
        elif key == b"*OpenUI":
            self.notes.append(f"{self.path}:{n}: note: standard block without *%QRVFlags "
                              "(read but not modelled)")
        elif key in (b"*%QRVGroup", b"*%QRVRange", b"*%QRVUnitRange") or key in OPENERS:
            self.problem(n, f"{self.text(key)} without a *%QRVFlags line before it")
        else:
            self.header_line(key, cur, n)

    def header_line(self, key, cur, n):
        k = self.text(key)
        if k in ("*PCFileName", "*FormatVersion", "*FileVersion", "*ModelName",
                 "*ShortNickName", "*NickName"):
            value = self.quoted(cur)
            if value is None:
                self.problem(n, f"{k}: value is not quoted")
            self.header[k] = self.text(value or b"")
        elif k in ("*LanguageVersion", "*LanguageEncoding", "*%QVFileVersion", "*%QVVersion"):
            value = next_token(cur, LINE_END_DELIMS)
            self.header[k] = self.text(value or b"")
            if k == "*LanguageEncoding" and self.header[k] not in ENCODINGS:
                self.problem(n, f"unknown *LanguageEncoding {self.header[k]}")
            if "*LanguageVersion" in self.header and \
                    self.header.get("*LanguageEncoding") in ENCODINGS:
                self.encoding = self.header["*LanguageEncoding"]
        elif k == "*OpenGroup":
            group = next_token(cur, b"/:")
            if group == b"InstallableOptions":
                self.translation(n, next_token(cur, b"/:"), "InstallableOptions")
                self.in_installable = True
                self.groups.setdefault("InstallableOptions", ("rolldown", None))
        elif k == "*CloseGroup":
            if next_token(cur, b"/:") == b"InstallableOptions":
                self.in_installable = False
        # Every other keyword is standard PPD the engine reads past.

    # -- hierarchy ----------------------------------------------------------------------------
    def flag_words(self, cur):
        words = []
        while True:
            tok = next_token(cur, FLAG_DELIMS)
            if tok is None:
                return words
            if tok:
                words.append(self.text(tok))

    def prop_page(self, cur, n):
        kw = next_token(cur, b"/:")
        if kw is None:
            self.problem(n, "*%QRVPropPage without a keyword")
            return
        k = self.text(kw)
        if k in self.pages:
            self.problem(n, f"page {k} declared twice")
            return
        self.translation(n, next_token(cur, b":", strip=False), k)
        flags = self.flag_words(cur)
        if "True" not in flags:
            self.problem(n, f"page {k} is hidden (no True flag)")
        for f in flags:
            if f not in ("True", "Prop", "App"):
                self.problem(n, f"page {k}: unknown flag {f}")
        self.pages[k] = None

    def group_name(self, cur, n):
        kw = next_token(cur, b"/:")
        if kw is None:
            self.problem(n, "*%QRVGroupName without a keyword")
            return
        k = self.text(kw)
        if k in self.group_names or k in self.pages:
            self.problem(n, f"group {k} declared twice")
            return
        self.translation(n, next_token(cur, b":", strip=False), k)
        flags = self.flag_words(cur)
        if flags != ["True"]:
            self.problem(n, f"group {k}: flags should be True alone")
        self.group_names[k] = n

    def parent(self, cur, n):
        child, par = next_token(cur, b"/:"), next_token(cur, b"/:")
        if child is None or par is None:
            self.problem(n, "*%QRVParent without child or parent")
            return
        c, p = self.text(child), self.text(par)
        flags = self.flag_words(cur)
        kinds = [f for f in flags if f in ("Scrollpane", "Rolldown")]
        if "True" not in flags or len(kinds) != 1:
            self.problem(n, f"{c}: flags should be True and one of Scrollpane, Rolldown")
            return
        if c not in self.group_names:
            self.problem(n, f"{c} placed before its *%QRVGroupName (the engine drops it)")
            return
        if c in self.groups:
            self.problem(n, f"{c} placed twice")
            return
        if kinds[0] == "Scrollpane":
            if p not in self.pages:
                self.problem(n, f"scroll pane {c}: {p} is not a page")
                return
            self.pages[p] = c
            self.groups[c] = ("scrollpane", p)
        else:
            if self.groups.get(p, ("", ""))[0] != "scrollpane":
                self.problem(n, f"roll-down {c}: {p} is not a scroll pane")
                return
            self.groups[c] = ("rolldown", p)

    # -- control blocks -----------------------------------------------------------------------
    def flags_line(self, cur, n):
        line = self.lines[self.i]
        if not line.startswith(b"*%QRVFlags *"):
            self.problem(n, "*%QRVFlags must be followed by one blank and the control keyword")
            return
        kw = next_token(cur, KEYWORD_DELIMS, strip=False)
        k = self.text(kw)
        if cur.data[cur.pos - 1:cur.pos] != b":" and not cur.at_end():
            self.problem(n, f"{k}: colon must follow the control keyword directly")
        flags = self.flag_words(cur)
        for f in flags:
            if f not in CONTROL_FLAGS:
                self.problem(n, f"{k}: unknown control flag {f}")
        if k in self.controls:
            self.problem(n, f"{k}: control defined twice (the engine ignores this block)")
            return
        if self.i + 1 >= len(self.lines):
            self.problem(n, f"{k}: file ends after *%QRVFlags")
            return
        self.i += 1
        nxt = Cursor(self.lines[self.i])
        key = next_token(nxt, KEYWORD_DELIMS)
        group = None
        if key == b"*%QRVGroup":
            group = self.group_line(nxt, k)
            if group is None:
                return
            if self.i + 1 >= len(self.lines):
                self.problem(n, f"{k}: file ends after *%QRVGroup")
                return
            self.i += 1
            nxt = Cursor(self.lines[self.i])
            key = next_token(nxt, KEYWORD_DELIMS)
            if key == b"*%QRVJobNote":
                self.job_note(nxt, self.i + 1, k, flags, group)
                return
            if key in (b"*%QRVRange", b"*%QRVUnitRange"):
                self.range_line(nxt, self.i + 1, k, flags, group)
                return
        elif self.in_installable:
            group = "InstallableOptions"
        if key not in OPENERS:
            self.problem(self.i + 1, f"{k}: expected a UI block after the flags/group line")
            return
        self.open_ui(nxt, self.i + 1, key, k, flags, group)

    def group_line(self, cur, k):
        n = self.i + 1
        kw = next_token(cur, KEYWORD_DELIMS)
        if kw is None or self.text(kw) != k:
            self.problem(n, f"*%QRVGroup names another control than {k} (block dropped)")
            return None
        g = next_token(cur, b"/:")
        if g is None:
            self.problem(n, f"{k}: *%QRVGroup without a group keyword")
            return None
        g = self.text(g)
        if self.groups.get(g, ("", ""))[0] != "rolldown":
            self.problem(n, f"{k}: group {g} is not a roll-down (control becomes an orphan)")
        return g

    def add_control(self, c, group):
        c.group = group
        self.controls[c.kw] = c
        self.order.append(c)

    def open_ui(self, cur, n, opener, k, flags, group):
        opt = next_token(cur, b"/:")
        if opt is None:
            self.problem(n, f"{k}: UI line without an option keyword")
            return
        if self.text(opt) != k:
            self.problem(n, f"{k}: UI line names {self.text(opt)}")
        self.translation(n, next_token(cur, b":"), k)
        ui = next_token(cur, RANGE_DELIMS)
        ui = self.text(ui) if ui else ""
        if ui not in ("PickOne", "PickMany", "Boolean"):
            self.problem(n, f"{k}: unknown UI type {ui!r}")
            return
        c = Control(k, "boolean" if ui == "Boolean" else "popup", n, flags)
        if ui == "PickMany":
            c.kind = "pickmany"
        defaults = 0
        closed = False
        kb = k.encode("latin-1")
        while self.i + 1 < len(self.lines):
            self.i += 1
            ln_no = self.i + 1
            line = self.lines[self.i]
            lc = Cursor(line)
            main = next_token(lc, b":")
            if main is None:
                if line.strip(BLANKS) == b"":
                    self.problem(ln_no, f"{k}: empty line inside the block")
                continue
            if main in CLOSERS:
                if main != OPENERS[opener]:
                    self.problem(ln_no, f"{k}: {self.text(opener)} closed by "
                                        f"{self.text(main)}")
                if next_token(lc, b":") != kb:
                    self.problem(ln_no, f"{k}: close line names another control")
                closed = True
                break
            if main == b"*OrderDependency" or main == b"*End" or main.startswith(b"*%"):
                continue
            if main.startswith(b"*Default"):
                defaults += 1
                if main == b"*Default":
                    tok = next_token(lc, b"/:")
                    value = next_token(lc, FLAG_DELIMS) if tok == kb else None
                else:
                    if main[len(b"*Default"):] != kb[1:]:
                        self.problem(ln_no, f"{k}: default line names another keyword")
                    value = next_token(lc, b"/:")
                c.default = self.text(value) if value else None
                continue
            if main.startswith(kb):
                mc = Cursor(main)
                next_token(mc, KEYWORD_DELIMS)
                okw = next_token(mc, b"/:")
                if okw is None:
                    self.problem(ln_no, f"{k}: option line without an option keyword")
                    continue
                o = self.text(okw)
                if main.split(b" ")[0] != kb:
                    self.problem(ln_no, f"{k}: option line of {self.text(main.split()[0])}")
                if o in c.options:
                    self.problem(ln_no, f"{k}: option {o} given twice")
                self.translation(ln_no, next_token(mc, b":"), f"{k} {o}")
                code = self.postscript(lc, ln_no, f"{k} {o}")
                if code == b"" and group != "InstallableOptions":
                    self.problem(ln_no, f"{k} {o}: empty code")
                c.options.append(o)
                continue
            self.problem(ln_no, f"{k}: line inside the block is ignored by the engine")
        if not closed:
            self.problem(n, f"{k}: block never closed (the engine stops)")
            return
        if defaults != 1:
            self.problem(n, f"{k}: {defaults} default lines (need exactly one)")
        if c.kind == "boolean":
            if sorted(c.options) != ["False", "True"]:
                self.problem(n, f"{k}: boolean needs exactly the options True and False")
            if c.default not in ("True", "False"):
                self.problem(n, f"{k}: boolean default must be True or False")
        else:
            if not c.options:
                self.problem(n, f"{k}: popup without options")
            if c.default not in c.options:
                self.problem(n, f"{k}: default {c.default} is not an option")
        self.add_control(c, group)

    def range_line(self, cur, n, k, flags, group):
        kw = next_token(cur, b"/:")
        if kw is None or self.text(kw) != k:
            self.problem(n, f"{k}: range line names another keyword")
            return
        self.translation(n, next_token(cur, b":", strip=False), k)
        cur.skip_blanks()
        if cur.get() != ord("("):
            self.problem(n, f"{k}: range numbers must start with '('")
            return
        nums = []
        for _ in range(4):
            tok = next_token(cur, RANGE_DELIMS)
            try:
                nums.append(int(tok))
            except (TypeError, ValueError):
                self.problem(n, f"{k}: range needs four integers")
                return
        lo, hi, inc, default = nums
        if not (lo <= default <= hi) or inc <= 0 or default % inc:
            self.problem(n, f"{k}: range ({lo};{hi};{inc};{default}) is inconsistent")
        self.postscript(cur, n, k, placeholder=f"<{k}>".encode())
        c = Control(k, "range", n, flags)
        c.default = str(default)
        c.extra = f"{lo}..{hi} step {inc}"
        self.add_control(c, group)

    def job_note(self, cur, n, k, flags, group=None):
        kw = next_token(cur, b"/:")
        if kw is None:
            self.problem(n, "*%QRVJobNote without a keyword")
            return
        kn = self.text(kw)
        if k is not None and kn != k:
            self.problem(n, f"{k}: job note names {kn}")
            return
        if k is None:
            if self.groups.get("TPQVNotes", ("", ""))[0] != "rolldown":
                self.problem(n, f"{kn}: stand-alone note without a TPQVNotes roll-down")
            group = "TPQVNotes"
            if kn in self.controls:
                self.problem(n, f"{kn}: control defined twice")
                return
        self.translation(n, next_token(cur, b":"), kn)
        length = next_token(cur, FLAG_DELIMS)
        try:
            maximum = int(length)
        except (TypeError, ValueError):
            self.problem(n, f"{kn}: maximum length missing")
            return
        if maximum <= 0:
            self.problem(n, f"{kn}: maximum length must be positive")
        words = self.flag_words(cur)
        minimum = 0
        for w in words:
            if w.startswith("MinLength") and len(w) > 9:
                if k is None:
                    self.problem(n, f"{kn}: MinLength is read only in group blocks")
                digits = w[10:]
                if not (1 <= len(digits) <= 2 and digits.isdigit()):
                    self.problem(n, f"{kn}: malformed {w}")
                else:
                    minimum = int(digits)
            elif w not in NOTE_FLAGS:
                self.problem(n, f"{kn}: job-note word {w} is refused at extension level 0")
        c = Control(kn, "note", n, flags or [])
        c.extra = f"max {maximum}" + (f", min {minimum}" if minimum else "") + \
            "".join(", " + w for w in words if not w.startswith("MinLength"))
        if self.i + 1 < len(self.lines):
            nxt = Cursor(self.lines[self.i + 1])
            tok = next_token(nxt, KEYWORD_DELIMS)
            if tok is not None and tok.startswith(b"*%Default"):
                self.i += 1
                value = next_token(nxt, FLAG_DELIMS)
                c.default = self.text(value) if value else None
                if tok[len(b"*%Default"):] != kw[1:]:
                    self.problem(self.i + 1, f"{kn}: default line names another note")
            elif tok is not None and tok[2:] == kw[1:]:
                self.i += 1
                self.postscript(nxt, self.i + 1, kn, placeholder=b"<" + kw + b">")
                c.extra += ", code"
        self.add_control(c, group)

    def special(self, cur, n):
        kw = next_token(cur, b":")
        value = next_token(cur, LINE_END_DELIMS)
        if kw is None or value is None:
            self.problem(n, "special option without keyword or value (dropped)")
            return
        if self.in_installable:
            self.problem(n, "special option inside InstallableOptions")
        if self.encoding is None:
            self.problem(n, "special option before the language and encoding are known")
        c = Control(self.text(kw), "special", n, [])
        c.default = self.text(value)
        self.add_control(c, None)

    def shortcut(self, cur, n):
        kw = next_token(cur, LINE_END_DELIMS)
        if kw is None:
            self.problem(n, "*%QVShortcut without a keyword")
            return
        k = self.text(kw)
        if k in RESERVED:
            self.problem(n, f"shortcut to reserved keyword {k}")
        self.shortcuts.append((n, k))

    def constraint(self, cur, n, requires):
        fields = []
        while True:
            cur.skip_blanks()
            tok = next_token(cur, BLANKS)
            if tok is None:
                break
            fields.append(self.text(tok))
        if len(fields) < 2 or not fields[0].startswith("*"):
            self.problem(n, "constraint line needs at least two keywords")
            return
        k1, rest = fields[0], fields[1:]
        o1 = ""
        if not rest[0].startswith("*"):
            o1, rest = rest[0], rest[1:]
        if not rest or not rest[0].startswith("*") or len(rest) > 2:
            self.problem(n, "constraint line: expected keyword [option] keyword [option]")
            return
        k2 = rest[0]
        o2 = rest[1] if len(rest) == 2 else ""
        self.constraints.append((n, k1, o1, k2, o2, requires))

    # -- after the last line ------------------------------------------------------------------
    def finish(self):
        for n, line in enumerate(self.lines, 1):
            if all(b < 0x80 for b in line):
                continue
            for raw in self.translations.get(n, []):
                line = line.replace(raw, b"", 1)
            if any(b >= 0x80 for b in line):
                self.problem(n, "non-ASCII bytes outside a translation")
        h = self.header
        for k in ("*FormatVersion", "*FileVersion", "*PCFileName", "*ModelName",
                  "*ShortNickName", "*NickName", "*LanguageVersion", "*LanguageEncoding",
                  "*%QVFileVersion", "*%QVVersion"):
            if not h.get(k):
                self.problem(1, f"header keyword {k} missing")
        if h.get("*FormatVersion") not in (None, "4.3"):
            self.problem(1, "*FormatVersion should be 4.3")
        if self.in_installable:
            self.problem(len(self.lines), "InstallableOptions group never closed")
        for name, line in self.group_names.items():
            if name not in self.groups:
                self.notes.append(f"{self.path}:{line}: note: group {name} is declared but "
                                  "never placed (a plain orphan group when orphans are kept)")
        for page, pane in self.pages.items():
            if pane is None:
                self.problem(1, f"page {page} has no scroll pane")
        for n, k in self.shortcuts:
            c = self.controls.get(k)
            if c is None:
                self.problem(n, f"shortcut to {k}, which no control has")
            elif c.kind != "popup":
                self.problem(n, f"shortcut to {k}, which is not a popup")
        for n, k1, o1, k2, o2, _ in self.constraints:
            for k, o in ((k1, o1), (k2, o2)):
                c = self.controls.get(k)
                if c is None:
                    self.problem(n, f"constraint names {k}, which no control has")
                elif o and c.kind in ("popup", "boolean") and o not in c.options:
                    self.problem(n, f"constraint names option {o}, which {k} lacks")
                elif o and c.kind not in ("popup", "boolean"):
                    self.problem(n, f"constraint gives option {o} to non-choice control {k}")
        for c in self.order:
            if c.kind != "special" and c.group is None:
                self.problem(c.line, f"{c.kw}: control has no group")
        self.colour()

    def colour(self):
        roll = [g for g in ("TPPigmentor", "TPColor") if g in self.groups]
        if not roll:
            self.problem(1, "no colour roll-down TPPigmentor or TPColor")
            return
        rd = roll[0]
        pane = self.groups[rd][1]
        if self.pages.get("QVPPTarvoPrint") is None:
            self.problem(1, "page QVPPTarvoPrint with a scroll pane is missing")
        elif self.groups.get(pane, ("", ""))[1] != "QVPPTarvoPrint":
            self.problem(1, f"{rd} is not under the scroll pane of QVPPTarvoPrint")
        inside = [c for c in self.order if c.group == rd]
        names = {c.kw: c for c in inside}
        mode = names.get("*QVColorMode")
        if mode is None or mode.kind != "popup":
            self.problem(1, f"no *QVColorMode popup in {rd}")
        else:
            bad = [o for o in mode.options if o not in COLOR_MODE_ITEMS]
            special = self.controls.get("*Pigmentor")
            if bad and special is not None and special.kind == "special":
                # The special option keeps the colour pane without a print mode.
                self.notes.append(f"{self.path}:{mode.line}: note: *QVColorMode items {bad} "
                                  f"leave the pane without a print mode (*Pigmentor)")
            elif bad:
                self.problem(mode.line, f"*QVColorMode items {bad} make the print mode invalid")
            if "CMYK" not in mode.options or not ({"Grayscale", "GRAY"} & set(mode.options)):
                self.problem(mode.line, "*QVColorMode needs CMYK and Grayscale (or GRAY)")
        for k in EXPERT_KEYWORDS:
            if k in names and names[k].kind != "popup":
                self.problem(names[k].line, f"{k}: expert colour features must be popups")
        for c in self.order:
            if (c.kw in EXPERT_KEYWORDS or c.kw in PANE_KEYWORDS or c.kw == "*QVColorMode") \
                    and c.group != rd:
                self.problem(c.line, f"{c.kw}: colour keyword outside {rd}")
        pane_items = [c for c in inside if c.kind in ("popup", "boolean") and
                      c.kw not in EXPERT_KEYWORDS and c.kw != "*QVColorMode" and
                      not c.kw.endswith("Bidi")]
        if len(pane_items) > MAX_PANE_ITEMS:
            self.problem(1, f"{len(pane_items)} pane controls; the pane holds {MAX_PANE_ITEMS}")
        out = names.get("*QVOutProfile")
        if out and "DEFAULT_MEDIA" in out.options and "QVOutProfileDEF" in out.options:
            if out.options[:2] != ["DEFAULT_MEDIA", "QVOutProfileDEF"]:
                self.problem(out.line, "*QVOutProfile: DEFAULT_MEDIA and QVOutProfileDEF must "
                                       "be the first two options")
        if self.header.get("*PCFileName") in FULL_COLOUR_MODELS:
            for k in EXPERT_KEYWORDS + PANE_KEYWORDS:
                if k not in names:
                    self.problem(1, f"{k} missing from {rd}")

    def table(self):
        rows = ["| Keyword | Kind | Default | Group | Options / details |",
                "|---|---|---|---|---|"]
        for c in self.order:
            detail = ", ".join(c.options) if c.options else c.extra
            rows.append(f"| `{c.kw}` | {c.kind} | {c.default or '-'} | {c.group or '-'} | "
                        f"{detail} |")
        return "\n".join(rows)


def check_file(path, data):
    return PPDCheck(path, data).run()


def main(argv):
    table = "--table" in argv
    paths = [a for a in argv if a != "--table"]
    if not paths:
        print(__doc__.strip())
        return 2
    failed = False
    for path in paths:
        with open(path, "rb") as f:
            result = check_file(path, f.read())
        for text in result.problems + result.notes:
            print(text)
        failed |= bool(result.problems)
        if table:
            print(f"\n{path}\n\n{result.table()}\n")
        elif not result.problems:
            print(f"{path}: ok ({len(result.order)} controls)")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
