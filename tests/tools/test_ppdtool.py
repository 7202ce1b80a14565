"""ppdtool from the outside: its JSON, its PostScript and its exit statuses."""
import json
import os
import subprocess
import tempfile
import unittest

PPDTOOL = os.environ["PPDTOOL"]
EXAMPLES = os.path.join(os.environ["PIGMENTOR_SOURCE_DIR"], "examples")


def run(*args):
    return subprocess.run([PPDTOOL, *args], capture_output=True)


def dump(name, *args):
    result = run("dump", os.path.join(EXAMPLES, name), *args)
    return result.returncode, json.loads(result.stdout)


class Dump(unittest.TestCase):
    def test_every_example_dumps_valid_json_without_errors(self):
        for name in sorted(os.listdir(EXAMPLES)):
            if name.endswith(".ppd"):
                status, model = dump(name)
                self.assertEqual(status, 0, name)
                self.assertTrue(model["valid"], name)
                self.assertTrue(model["validPrinterName"], name)
                self.assertEqual(model["errors"], [], name)

    def test_header_pages_groups_and_controls(self):
        _, model = dump("Tarvo-C5000.ppd")
        self.assertEqual(model["header"], {
            "formatVersion": "4.3", "fileVersion": "2.0", "pcFileName": "TRVC5000.PPD",
            "languageVersion": "English", "languageEncoding": "ISOLatin1",
            "modelName": "Tarvo C5000 Color Server", "extensionFileVersion": "2.0.3",
            "extensionVersion": "5.1"})
        page = model["properties"][1]
        self.assertEqual(page, {"keyword": "QVPPTarvoPrint", "name": "Color", "visible": True,
                                "showInPrintProp": True, "showInApp": False,
                                "scrollPane": "TPSPrint"})
        groups = {g["keyword"]: g for g in model["groups"]}
        self.assertEqual(groups["TPPigmentor"], {"keyword": "TPPigmentor", "name": "Color",
                                                 "kind": "rolldown", "visible": True,
                                                 "parent": "TPSPrint"})
        self.assertEqual(groups["TPSPrint"]["kind"], "scrollpane")
        self.assertEqual(groups["TPSPrint"]["parent"], "QVPPTarvoPrint")
        self.assertIsNone(groups["InstallableOptions"]["parent"])

        controls = {c["keyword"]: c for c in model["controls"]}
        mode = controls["*QVColorMode"]
        self.assertEqual((mode["type"], mode["parent"], mode["default"], mode["value"],
                          mode["pickMany"]), ("popup", "TPPigmentor", "CMYK", "CMYK", False))
        self.assertEqual([i["keyword"] for i in mode["items"]], ["CMYK", "Grayscale", "Expert"])
        self.assertEqual([i["selected"] for i in mode["items"]], [True, False, False])
        self.assertTrue(mode["items"][0]["code"].endswith("\n"))
        collate = controls["*Collate"]
        self.assertEqual((collate["type"], collate["value"], collate["default"]),
                         ("boolean", True, True))
        self.assertIn("Collate true", collate["trueCode"])
        density = controls["*QVTonerDensity"]
        self.assertEqual((density["type"], density["min"], density["max"], density["increment"],
                          density["default"], density["value"]), ("range", -3, 3, 1, 0, 0))
        # Controls come in the order the file declares them.
        keywords = [c["keyword"] for c in model["controls"]]
        self.assertLess(keywords.index("*PageSize"), keywords.index("*QVColorMode"))

    def test_translations_are_utf8(self):
        _, model = dump("Tarvo-C5000-ja.ppd")
        mode = next(c for c in model["controls"] if c["keyword"] == "*QVColorMode")
        self.assertEqual(mode["name"], "印刷モード")

    def test_parse_options_and_accepted_names(self):
        status, model = dump("Tarvo-C5000.ppd", "--parse-options", "2")
        self.assertEqual(status, 0)
        self.assertEqual([e["code"] for e in model["errors"]], [21, 21, 21])
        self.assertEqual(model["errors"][0]["fatal"], False)
        status, model = dump("Tarvo-C5000.ppd", "--accept", "TRVM200.PPD")
        self.assertEqual(status, 1)
        self.assertFalse(model["validPrinterName"])
        self.assertEqual(model["controls"], [])
        status, model = dump("Tarvo-C5000.ppd", "--accept", "TRVM200.PPD", "--accept", "TRVC5000.PPD")
        self.assertEqual(status, 0)

    def test_invalid_ppd_exits_1(self):
        with tempfile.NamedTemporaryFile(suffix=".ppd") as bad:
            bad.write(b'*PPD-Adobe: "4.2"\n')
            bad.flush()
            result = run("dump", bad.name)
            self.assertEqual(result.returncode, 1)
            model = json.loads(result.stdout)
            self.assertEqual(model["errors"][0], {"code": 28, "keyword": None, "fatal": True})

    def test_job_notes_special_options_shortcuts_and_constraint_counts(self):
        _, model = dump("Tarvo-C5000.ppd")
        controls = {c["keyword"]: c for c in model["controls"]}
        notes1 = controls["*Notes1"]
        self.assertEqual({k: notes1[k] for k in ("type", "text", "defaultText", "maxLength",
                                                  "minLength", "noteFlags", "textEnabled",
                                                  "code")},
                         {"type": "jobnote", "text": "Draft", "defaultText": "Draft",
                          "maxLength": 32, "minLength": 0, "noteFlags": 3,
                          "textEnabled": False, "code": None})
        self.assertIn("<*Notes2>", controls["*Notes2"]["code"])
        self.assertEqual((controls["*QVAccount"]["minLength"], controls["*QVAccount"]["text"]),
                         (4, None))
        server = controls["*QVColorServer"]
        self.assertEqual((server["type"], server["value"], server["visible"], server["parent"]),
                         ("special", "Tovrane CS-50", False, None))
        self.assertEqual(model["shortcuts"], ["*PageSize", "*InputSlot", "*MediaType",
                                              "*QVDuplex", "*QV_PAPER_ORIENTATION",
                                              "*QVColorMode"])
        self.assertEqual((model["constraintLines"], model["requiresLines"]), (16, 5))


def records(command, *args):
    result = run(command, os.path.join(EXAMPLES, "Tarvo-C5000.ppd"), *args)
    return result.returncode, json.loads(result.stdout)


class Constraints(unittest.TestCase):
    def test_records_as_json(self):
        # The queries themselves are the engine's tests; here, their records as JSON.
        # A constraint naming no option of the second keyword covers any of its choices.
        self.assertEqual(records("constraints", "*QVEconoMode", "1"),
                         (0, [{"keyword": "*QVTonerDensity", "item": None}] * 2))
        self.assertEqual(records("constraints", "*PageSize"), (0, []))

    def test_requires_names_the_required_choice(self):
        self.assertEqual(records("requires", "*QVRGBOtherGamma"),
                         (0, [{"keyword": "*QVRGBOverride", "item": 5}]))

    def test_bad_arguments_exit_2(self):
        c5000 = os.path.join(EXAMPLES, "Tarvo-C5000.ppd")
        for args in (["constraints", c5000], ["constraints", c5000, "*Missing"],
                     ["constraints", c5000, "*QVColorMode", "two"],
                     ["requires", c5000, "*QVColorMode", "1"]):
            result = run(*args)
            self.assertEqual(result.returncode, 2, args)
            self.assertTrue(result.stderr.startswith(b"ppdtool: "), args)


def without_unarchived(model):
    """What an archive keeps: everything but the parse's errors and the constraint maps."""
    return {k: v for k, v in model.items()
            if k not in ("errors", "constraintLines", "requiresLines")}


class Archive(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.addCleanup(self.dir.cleanup)

    def archive(self, name, *args):
        out = os.path.join(self.dir.name, name + ".archive")
        result = run("archive", os.path.join(EXAMPLES, name), out, *args)
        self.assertEqual(result.returncode, 0, result.stderr)
        return out

    def restore(self, archive, *args):
        result = run("restore", archive, *args)
        return result.returncode, json.loads(result.stdout)

    def test_every_example_comes_back_as_it_was_parsed(self):
        for name in sorted(os.listdir(EXAMPLES)):
            if name.endswith(".ppd"):
                status, rebuilt = self.restore(self.archive(name))
                self.assertEqual(status, 0, name)
                _, parsed = dump(name)
                self.assertEqual(without_unarchived(rebuilt), without_unarchived(parsed), name)
                self.assertEqual((rebuilt["errors"], rebuilt["constraintLines"]), ([], 0))

    def test_values_set_before_saving_come_back(self):
        out = self.archive("Tarvo-C5000.ppd", "--set", "*QVColorMode=Grayscale",
                           "--set", "*Collate=False", "--set", "*QVCopies=12",
                           "--set", "*Notes1=Room 5")
        _, rebuilt = self.restore(out)
        controls = {c["keyword"]: c for c in rebuilt["controls"]}
        self.assertEqual(controls["*QVColorMode"]["value"], "Grayscale")
        self.assertEqual([i["selected"] for i in controls["*QVColorMode"]["items"]],
                         [False, True, False])
        self.assertFalse(controls["*Collate"]["value"])
        self.assertEqual(controls["*QVCopies"]["value"], 12)
        self.assertEqual(controls["*Notes1"]["text"], "Room 5")

    def test_names_the_archive_does_not_accept_leave_an_empty_model(self):
        out = self.archive("Tarvo-M200.ppd")
        status, refused = self.restore(out, "--accept", "TRVC5000.PPD")
        self.assertEqual(status, 1)
        self.assertFalse(refused["validPrinterName"])
        self.assertEqual(refused["header"]["pcFileName"], "TRVM200.PPD")
        self.assertIsNone(refused["header"]["modelName"])
        self.assertEqual((refused["controls"], refused["groups"]), ([], []))
        status, accepted = self.restore(out, "--accept", "TRVM200.PPD",
                                        "--ppd", os.path.join(EXAMPLES, "Tarvo-M200.ppd"))
        self.assertEqual((status, accepted["header"]["modelName"]), (0, "Tarvo M200"))

    def test_never_writes_over_a_file_or_through_a_link(self):
        c5000 = os.path.join(EXAMPLES, "Tarvo-C5000.ppd")
        existing = os.path.join(self.dir.name, "existing")
        with open(existing, "wb") as f:
            f.write(b"mine")
        link = os.path.join(self.dir.name, "link")
        target = os.path.join(self.dir.name, "target")
        os.symlink(target, link)
        for out in (existing, link):
            result = run("archive", c5000, out)
            self.assertEqual(result.returncode, 2, out)
            self.assertTrue(result.stderr.startswith(b"ppdtool: "), out)
        with open(existing, "rb") as f:
            self.assertEqual(f.read(), b"mine")
        self.assertFalse(os.path.exists(target))

    def test_what_is_not_an_archive_is_refused(self):
        garbage = os.path.join(self.dir.name, "garbage")
        with open(garbage, "wb") as f:
            f.write(b"PgCo" + bytes(range(200)))
        truncated = os.path.join(self.dir.name, "truncated")
        with open(self.archive("Tarvo-M200.ppd"), "rb") as f, open(truncated, "wb") as g:
            g.write(f.read()[:-3])
        for args in ([garbage], [truncated], [self.dir.name], ["/nonexistent"],
                     [truncated, "--ppd", "/nonexistent.ppd"], []):
            result = run("restore", *args)
            self.assertEqual(result.returncode, 2, args)
            self.assertEqual(result.stdout, b"", args)
            self.assertTrue(result.stderr.startswith(b"ppdtool: "), args)


class PostScript(unittest.TestCase):
    def test_named_controls_in_model_order_with_values(self):
        c5000 = os.path.join(EXAMPLES, "Tarvo-C5000.ppd")
        result = run("ps", c5000, "--set", "*QVTonerDensity=2", "*QVTonerDensity", "*Collate")
        self.assertEqual(result.returncode, 0)
        self.assertEqual(result.stdout,
                         b"%%BeginFeature: *Collate True\n<</Collate true>> setpagedevice\n"
                         b"%%EndFeature\n"
                         b"%%BeginFeature: *QVTonerDensity 2\n"
                         b"userdict /XJXsetdensity known { 2 XJXsetdensity } if\n%%EndFeature\n")
        everything = run("ps", c5000)
        self.assertEqual(everything.returncode, 0)
        self.assertEqual(everything.stdout.count(b"%%BeginFeature:"),
                         everything.stdout.count(b"%%EndFeature"))
        self.assertIn(b"%%BeginFeature: *QVColorMode CMYK\n", everything.stdout)

    def test_popup_value_by_keyword(self):
        result = run("ps", os.path.join(EXAMPLES, "Tarvo-C5000.ppd"), "--set",
                     "*QVSimSpeed=BETR", "*QVSimSpeed")
        self.assertTrue(result.stdout.startswith(b"%%BeginFeature: *QVSimSpeed BETR\n"))


class Usage(unittest.TestCase):
    def test_usage_and_file_errors_exit_2_with_one_message(self):
        c5000 = os.path.join(EXAMPLES, "Tarvo-C5000.ppd")
        for args in (["dump"], ["dump", "/nonexistent.ppd"], ["frobnicate", c5000],
                     ["dump", c5000, "--parse-options", "9"], ["ps", c5000, "*Missing"],
                     ["ps", c5000, "--set", "novalue"], ["check", c5000]):
            result = run(*args)
            self.assertEqual(result.returncode, 2, args)
            self.assertTrue(result.stderr.startswith(b"ppdtool: "), args)

    def test_header_and_check(self):
        m200 = os.path.join(EXAMPLES, "Tarvo-M200.ppd")
        header = run("header", m200)
        self.assertEqual(header.returncode, 0)
        self.assertIn(b"PCFileName        TRVM200.PPD\n", header.stdout)
        self.assertEqual(run("check", m200, "--accept", "TRVM200.PPD").stdout, b"accepted\n")
        refused = run("check", m200, "--accept", "TRVC5000.PPD")
        self.assertEqual((refused.returncode, refused.stdout), (1, b"not accepted\n"))


if __name__ == "__main__":
    unittest.main()
