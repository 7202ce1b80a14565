#!/usr/bin/env python3
"""Tests of check_ppd.py: each fault is planted in a tiny valid PPD and must be reported."""
import glob
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_ppd  # noqa: E402

BASE = b"""*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageEncoding: ISOLatin1
*LanguageVersion: English
*PCFileName: "TEST.PPD"
*ModelName: "Test"
*ShortNickName: "Test"
*NickName: "Test"
*%QVFileVersion: 1.0
*%QVVersion: 1.0
*%QRVPropPage QVPPTarvoPrint/Color: True|Prop
*%QRVGroupName TPSPrint/Options: True
*%QRVGroupName TPColor/Color: True
*%QRVGroupName TPQVNotes/Notes: True
*%QRVParent TPSPrint/QVPPTarvoPrint: True|Scrollpane
*%QRVParent TPColor/TPSPrint: True|Rolldown
*%QRVParent TPQVNotes/TPSPrint: True|Rolldown
*%QRVFlags *QVColorMode: MacTJN
*%QRVGroup *QVColorMode TPColor/Color
*OpenUI *QVColorMode/Print Mode: PickOne
*DefaultQVColorMode: CMYK
*QVColorMode CMYK/Color: "(CMYK) setmode"
*QVColorMode GRAY/Gray: "(GRAY) setmode"
*CloseUI: *QVColorMode
"""


def problems(data):
    return check_ppd.check_file("t.ppd", data).problems


def with_lines(*lines, base=BASE):
    return base + b"".join(ln + b"\n" for ln in lines)


class CheckerTest(unittest.TestCase):
    def assertReports(self, data, text):
        found = problems(data)
        self.assertTrue(any(text in p for p in found), f"{text!r} not in {found}")

    def test_minimal_file_is_clean(self):
        result = check_ppd.check_file("t.ppd", BASE)
        self.assertEqual(result.problems, [])
        mode = result.controls["*QVColorMode"]
        self.assertEqual((mode.kind, mode.default, mode.group, mode.options, mode.flags),
                         ("popup", "CMYK", "TPColor", ["CMYK", "GRAY"], ["MacTJN"]))

    def test_lexical_faults(self):
        self.assertReports(with_lines(b"*% " + b"x" * 252), "line of 255 characters")
        self.assertReports(BASE.replace(b"*NickName", b"*NickName\r"), "CR in line")
        self.assertReports(BASE + b"*% end", "no line end")
        self.assertReports(with_lines(b"*% \xff"), "0xFF")
        self.assertReports(BASE.replace(b'"4.3"', b'"4.2"', 1), "first line is not")
        self.assertReports(b"\n".join([BASE.split(b"\n")[0]] + [b"*% " + b"p" * 70] * 60) +
                           b"\n" + BASE.split(b"\n", 1)[1], "not within the first 4096")

    def test_flags_and_group_lines(self):
        block = [b"*%QRVGroup *Collate TPColor/Color", b"*OpenUI *Collate/Collate: Boolean",
                 b"*DefaultCollate: True", b'*Collate True/On: "true setcollate"',
                 b'*Collate False/Off: "false setcollate"', b"*CloseUI: *Collate"]
        self.assertEqual(problems(with_lines(b"*%QRVFlags *Collate: Setup", *block)), [])
        self.assertReports(with_lines(b"*%QRVFlags  *Collate: Setup", *block), "one blank")
        self.assertReports(with_lines(b"*%QRVFlags *Collate : Setup", *block), "colon must")
        self.assertReports(with_lines(b"*%QRVFlags *Collate: Bold", *block), "unknown control")
        self.assertReports(with_lines(b"*%QRVFlags *Collate: Setup", b"*% x", *block[1:]),
                           "expected a UI block")
        self.assertReports(with_lines(b"*%QRVFlags *Collate: Setup",
                                      b"*%QRVGroup *Collate TPSPrint/Options", *block[1:]),
                           "is not a roll-down")
        self.assertReports(with_lines(b"*%QRVFlags *QVColorMode: Setup", *block),
                           "defined twice")
        self.assertReports(with_lines(b"*%QRVFlags *Collate: Setup", *block[1:]),
                           "control has no group")
        installable = with_lines(b"*OpenGroup: InstallableOptions/Installable Options",
                                 b"*%QRVFlags *Collate: Setup", *block[1:],
                                 b"*CloseGroup: InstallableOptions")
        self.assertEqual(problems(installable), [])

    def test_popup_block_faults(self):
        head = [b"*%QRVFlags *QVDuplex: Setup", b"*%QRVGroup *QVDuplex TPColor/Color",
                b"*OpenUI *QVDuplex/Duplex: PickOne"]
        opts = [b'*QVDuplex None/Off: "false setduplex"',
                b'*QVDuplex Long/Long Edge: "true setduplex"']
        close = [b"*CloseUI: *QVDuplex"]
        self.assertReports(with_lines(*head, *opts, *close), "0 default lines")
        self.assertReports(with_lines(*head, b"*DefaultQVDuplex: None",
                                      b"*DefaultQVDuplex: Long", *opts, *close),
                           "2 default lines")
        self.assertReports(with_lines(*head, b"*DefaultQVDuplex: Short", *opts, *close),
                           "default Short is not an option")
        self.assertReports(with_lines(*head, b"*DefaultQVDuplex: None", *opts),
                           "never closed")
        self.assertReports(with_lines(*head, b"*DefaultQVDuplex: None", *opts,
                                      b"*QVCloseUI: *QVDuplex"), "closed by *QVCloseUI")
        self.assertReports(with_lines(*head, b"*DefaultQVDuplex: None",
                                      b'*QVDuplex None/Off: "false', b"setduplex", *close),
                           "code not closed before this line")
        self.assertReports(with_lines(*head, b"*DefaultQVDuplex: None",
                                      b'*QVDuplex None/Off: "a: b"', *close), "colon inside")

    def test_boolean_needs_true_and_false(self):
        self.assertReports(with_lines(
            b"*%QRVFlags *Collate: Setup", b"*%QRVGroup *Collate TPColor/Color",
            b"*OpenUI *Collate/Collate: Boolean", b"*DefaultCollate: True",
            b'*Collate True/On: "true setcollate"', b'*Collate Yes/On: "true setcollate"',
            b"*CloseUI: *Collate"), "exactly the options True and False")

    def test_range_faults(self):
        head = [b"*%QRVFlags *QVCopies: Spooler", b"*%QRVGroup *QVCopies TPColor/Color"]
        good = b'*%QRVRange *QVCopies/Copies: (1;99;1;1) "<*QVCopies> setcopies"'
        self.assertEqual(problems(with_lines(*head, good)), [])
        self.assertReports(with_lines(*head, good.replace(b"1;99;1;1", b"1;99;1")),
                           "four integers")
        self.assertReports(with_lines(*head, good.replace(b"1;99;1;1", b"1;99;1;100")),
                           "inconsistent")
        self.assertReports(with_lines(*head, good.replace(b"<*QVCopies>", b"3")),
                           "lacks the placeholder")

    def test_job_note_faults(self):
        ok = with_lines(b"*%QRVJobNote *Notes1/Notes 1: 32|Alpha", b"*%DefaultNotes1: Draft")
        result = check_ppd.check_file("t.ppd", ok)
        self.assertEqual(result.problems, [])
        self.assertEqual((result.controls["*Notes1"].default,
                          result.controls["*Notes1"].group), ("Draft", "TPQVNotes"))
        self.assertReports(with_lines(b"*%QRVJobNote *Notes1/Notes 1: 32|Encrypt"),
                           "refused at extension level 0")
        self.assertReports(with_lines(b"*%QRVJobNote *Notes1/Notes 1: x|Alpha"),
                           "maximum length missing")
        no_notes = BASE.replace(b"*%QRVParent TPQVNotes/TPSPrint: True|Rolldown\n", b"")
        self.assertReports(with_lines(b"*%QRVJobNote *Notes1/Notes 1: 32", base=no_notes),
                           "without a TPQVNotes roll-down")

    def test_translation_encoding(self):
        def popup(title):
            return with_lines(b"*%QRVFlags *QVBrightness: MacTJN",
                              b"*%QRVGroup *QVBrightness TPColor/Color",
                              b"*OpenUI *QVBrightness/" + title + b": PickOne",
                              b"*DefaultQVBrightness: N", b'*QVBrightness N/N: "1 setb"',
                              b"*CloseUI: *QVBrightness")
        self.assertEqual(problems(popup(b"Helligkeit <E4>\xe4")), [])
        self.assertReports(popup(b"Gr<F6F>e"), "malformed hex group")
        self.assertReports(popup(b"Gr<F6 >e"), "malformed hex group")
        self.assertReports(popup(b"Gr\xc3\xa4e"), "looks like UTF-8")
        self.assertReports(popup(b"Gr\x96e"), "C1 control")
        sjis = BASE.replace(b"ISOLatin1", b"JIS83-RKSJ")
        self.assertReports(sjis.replace(b"Print Mode", b"\x83"), "not valid JIS83-RKSJ")
        self.assertReports(BASE.replace(b"(GRAY) setmode", b"(GR\xc4Y) setmode"),
                           "non-ASCII bytes")

    def test_shortcuts_and_constraints(self):
        self.assertEqual(problems(with_lines(b"*%QVShortcut *QVColorMode")), [])
        self.assertReports(with_lines(b"*%QVShortcut *QV_PROP_WATERMARK"), "reserved")
        self.assertReports(with_lines(b"*%QVShortcut *PageSize"), "which no control has")
        self.assertEqual(problems(with_lines(b"*%QRVUIRequires: *QVColorMode GRAY "
                                             b"*QVColorMode")), [])
        self.assertReports(with_lines(b"*UIConstraints: *QVColorMode RGB *QVColorMode GRAY"),
                           "option RGB")
        self.assertReports(with_lines(b"*%QRVUIConstraints: *QVColorMode CMYK"),
                           "keyword [option] keyword")

    def test_colour_rules(self):
        self.assertReports(BASE.replace(b"GRAY/Gray", b"RGB/RGB"), "print mode invalid")
        # The special option *Pigmentor keeps the pane without a print mode: a note only.
        self.assertEqual(problems(BASE.replace(b"*CloseUI: *QVColorMode",
                                               b'*QVColorMode RGB/RGB: "(RGB) setmode"\n'
                                               b"*CloseUI: *QVColorMode")
                                  .replace(b"*%QRVFlags",
                                           b"*%QRVSpecialOption *Pigmentor: True\n*%QRVFlags", 1)),
                         [])
        self.assertReports(with_lines(
            b'*%QRVFlags *QVOutProfile: "MacTJN|Spooler"',
            b"*%QRVGroup *QVOutProfile TPColor/Color",
            b"*QVOpenUI *QVOutProfile/Output Profile: PickOne",
            b"*DefaultQVOutProfile: QVOutProfileDEF",
            b'*QVOutProfile QVOutProfileDEF/Server: "(D) setp"',
            b'*QVOutProfile DEFAULT_MEDIA/Media: "(M) setp"',
            b"*QVCloseUI: *QVOutProfile"), "must be the first two options")
        self.assertReports(BASE.replace(b'"TEST.PPD"', b'"TRVC5000.PPD"'),
                           "*QVRGBOverride missing")

    def test_shipped_examples_are_clean(self):
        here = os.path.dirname(os.path.abspath(__file__))
        paths = sorted(glob.glob(os.path.join(here, "*.ppd")))
        self.assertGreaterEqual(len(paths), 5)
        for path in paths:
            with open(path, "rb") as f:
                self.assertEqual(check_ppd.check_file(path, f.read()).problems, [], path)


if __name__ == "__main__":
    unittest.main()
