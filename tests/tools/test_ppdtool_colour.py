"""ppdtool colour from the outside: what the colour pane gets from every example PPD, with and
without a two-way server, as JSON, and the exit statuses."""
import json
import os
import subprocess
import tempfile
import unittest
from tool_support import Server

PPDTOOL = os.environ["PPDTOOL"]
SERVER = os.environ["TOVRANE_SERVER"]
EXAMPLES = os.path.join(os.environ["PIGMENTOR_SOURCE_DIR"], "examples")
EXAMPLE_PPDS = sorted(n for n in os.listdir(EXAMPLES) if n.endswith(".ppd"))
PANE_C5000 = ["*QVBrightness", "*QVImageSmooth", "*QVSubstColors", "*QVSeparations",
              "*QVHPBlack", "*QVCompOverprint", "*QVTrapping"]
EXPERT = ["*QVRGBOverride", "*QVColorRendDict", "*QVSimulation", "*QVOutProfile", "*QVRGBSep",
          "*QVSimSpeed", "*QVSpotColors", "*QVPureBlack", "*QVBlkOvpStyle", "*QVBlkOverprint",
          "*QVPaperSim", "*QVBlkOvpCtrl", "*QVProofProfile", "*QVRGBOtherGamma",
          "*QVRGBOtherWtPt", "*QVRGBOtherPhos", "*QVKOnlyGrayRGB", "*QVKOnlyGrayCMYK"]
ODD_VALUE = "CUSTOM(CRD2)\\PROOF\nV2"  # the example server's last rendering value


class Home:
    """$HOME in a scratch folder: the controller reads the user's address list there."""

    def __enter__(self):
        self.dir = tempfile.TemporaryDirectory()
        return self.dir.name

    def __exit__(self, *exc):
        self.dir.cleanup()


def colour(name, *args, port=None):
    env = dict(os.environ)
    with Home() as home:
        env["HOME"] = home
        if port is not None:
            env["TOVRANE_SERVER_PORT"] = str(port)
        path = name if os.path.isabs(name) else os.path.join(EXAMPLES, name)
        result = subprocess.run([PPDTOOL, "colour", path, *args], capture_output=True, env=env,
                                timeout=60)
    out = json.loads(result.stdout) if result.stdout.strip() else None
    return result.returncode, out, result.stderr.decode("utf-8", "replace")


def sites(report):
    return [e["site"] for e in report["jobTicket"]]


class WithoutServer(unittest.TestCase):
    def test_every_example_gives_a_complete_report(self):
        for name in EXAMPLE_PPDS:
            status, report, err = colour(name)
            self.assertEqual(status, 0, name + err)
            self.assertEqual(set(report), {"valid", "error", "printMode", "paneItems",
                                           "expertItems", "deviceLinks", "summary",
                                           "jobTicket"}, name)
            self.assertTrue(report["valid"], name)
            self.assertEqual(report["error"], 0, name)
            self.assertEqual(report["deviceLinks"], [], name)
            # Without a mode the print-mode value is unset: no summary at all.
            self.assertEqual(report["printMode"]["value"], -1, name)
            self.assertEqual(report["summary"], [], name)
            for item in report["paneItems"] + report["expertItems"]:
                self.assertIn(item["type"], ("popup", "boolean"), name)
                self.assertTrue(item["enabled"], name)
            # Suppressed keywords first, then the code: the sites never go back to -9.
            s = sites(report)
            self.assertEqual(s, sorted(s), name)

    def test_c5000(self):
        for name in ("Tarvo-C5000.ppd", "Tarvo-C5000-de.ppd", "Tarvo-C5000-ja.ppd"):
            _, report, _ = colour(name)
            mode = report["printMode"]
            self.assertEqual((mode["control"], mode["standard"], mode["grayscale"],
                              mode["expert"], mode["current"]),
                             ("*QVColorMode", "CMYK", "Grayscale", "Expert", "CMYK"), name)
            self.assertEqual([i["keyword"] for i in report["paneItems"]], PANE_C5000, name)
            self.assertEqual([i["index"] for i in report["paneItems"]], [-1] * 7, name)
            self.assertEqual([i["type"] for i in report["paneItems"]],
                             ["popup"] * 3 + ["boolean"] * 4, name)
            self.assertEqual([i["keyword"] for i in report["expertItems"]], EXPERT, name)
            self.assertEqual([i["index"] for i in report["expertItems"]], list(range(1, 19)), name)
            # Each keyword suppressed once, then one code block per control.
            keywords = ["*QVColorMode"] + PANE_C5000 + EXPERT
            self.assertEqual([e["data"] for e in report["jobTicket"] if e["site"] == -9],
                             keywords, name)
            code = [e["data"] for e in report["jobTicket"] if e["site"] == 81]
            self.assertEqual(len(code), len(keywords), name)
            for keyword, block in zip(keywords, code):
                self.assertTrue(block.startswith("%%BeginFeature: " + keyword + " "), block)
        _, report, _ = colour("Tarvo-C5000.ppd")
        out = report["expertItems"][3]
        self.assertEqual((out["keyword"], out["valueKeyword"], out["value"]),
                         ("*QVOutProfile", "QVOutProfileDEF", 2))
        self.assertEqual([i["keyword"] for i in out["items"]][:2],
                         ["DEFAULT_MEDIA", "QVOutProfileDEF"])
        brightness = report["paneItems"][0]
        self.assertEqual((brightness["name"], brightness["value"], brightness["valueKeyword"]),
                         ("Brightness", 4, "100"))
        self.assertEqual(brightness["items"][0], {"keyword": "85", "name": "85% Lightest"})

    def test_m200_has_cmyk_and_gray_only(self):
        _, report, _ = colour("Tarvo-M200.ppd")
        mode = report["printMode"]
        self.assertEqual((mode["control"], mode["standard"], mode["grayscale"], mode["expert"]),
                         ("*QVColorMode", "CMYK", "GRAY", None))
        self.assertEqual([i["keyword"] for i in report["paneItems"]],
                         ["*QVBrightness", "*QVImageSmooth"])
        self.assertEqual([i["index"] for i in report["expertItems"]], [1, 3, 4, 8])
        status, report, _ = colour("Tarvo-M200.ppd", "--mode", "expert")
        self.assertEqual((status, report["printMode"]["current"], report["printMode"]["value"]),
                         (0, "CMYK", 2))
        _, report, _ = colour("Tarvo-M200.ppd", "--mode", "grayscale")
        self.assertEqual(report["printMode"]["current"], "GRAY")
        self.assertIn("(GRAY) XJXsetcolorfeature", report["jobTicket"][7]["data"])

    def test_m210_is_kept_by_the_special_option_without_a_print_mode(self):
        status, report, _ = colour("Tarvo-M210.ppd", "--mode", "grayscale")
        self.assertEqual((status, report["valid"]), (0, True))
        self.assertEqual(report["printMode"], {"control": None, "standard": None,
                                               "grayscale": None, "expert": None, "value": 3,
                                               "current": None})
        self.assertEqual(len(report["expertItems"]), 4)
        # Its controls are suppressed, but without a print-mode control no code follows.
        self.assertEqual(sites(report), [-9] * 6)
        self.assertEqual(report["summary"][0], {"title": "Print Mode", "value": "Grayscale",
                                                "enabled": True})

    def test_modes_and_values_as_the_pane_sets_them(self):
        status, report, _ = colour("Tarvo-C5000.ppd", "--mode", "grayscale",
                                   "--set", "*QVSimulation=EUROSCALE",
                                   "--set", "*QVTrapping=True", "--set", "*QVBrightness=110")
        self.assertEqual(status, 0)
        self.assertEqual((report["printMode"]["value"], report["printMode"]["current"]),
                         (3, "Grayscale"))
        items = {i["keyword"]: i for i in report["paneItems"] + report["expertItems"]}
        self.assertEqual(items["*QVSimulation"]["valueKeyword"], "EUROSCALE")
        self.assertEqual(items["*QVTrapping"]["value"], 1)
        self.assertEqual(items["*QVBrightness"]["valueKeyword"], "110")
        summary = report["summary"]
        self.assertEqual(len(summary), 1 + 7 + 18)
        self.assertEqual((summary[0]["title"], summary[0]["value"]), ("Print Mode", "Grayscale"))
        self.assertEqual((summary[1]["title"], summary[1]["value"]), ("Brightness", "110% Darker"))
        code = "".join(e["data"] for e in report["jobTicket"] if e["site"] == 81)
        self.assertIn("(QVColorMode) (Grayscale)", code)
        self.assertIn("(QVSimulation) (EUROSCALE)", code)
        self.assertIn("(QVTrapping) (True)", code)

        # The expert mode prints with CMYK; grayscale and standard put the expert list back to
        # its defaults before the values are set, the expert mode keeps them.
        _, report, _ = colour("Tarvo-C5000.ppd", "--mode", "expert")
        self.assertEqual((report["printMode"]["value"], report["printMode"]["current"]),
                         (2, "CMYK"))
        self.assertEqual(report["summary"][0]["value"], "Expert Color")

    def test_usage_and_file_errors(self):
        for args in (["--mode", "colour"], ["--set", "*QVSimulation"],
                     ["--set", "*QVNoSuch=X"], ["--set", "*QVSimulation=NOSUCH"],
                     ["--set", "*QVTrapping=Maybe"], ["--server"], ["--frobnicate"]):
            status, report, err = colour("Tarvo-C5000.ppd", *args)
            self.assertEqual((status, report), (2, None), args)
            self.assertIn("ppdtool:", err, args)
        status, report, _ = colour("/nonexistent/x.ppd")
        self.assertEqual((status, report), (2, None))
        result = subprocess.run([PPDTOOL, "colour"], capture_output=True)
        self.assertEqual(result.returncode, 2)

    def test_an_invalid_controller_exits_1(self):
        with tempfile.NamedTemporaryFile("w", suffix=".ppd") as bad:
            with open(os.path.join(EXAMPLES, "Tarvo-M200.ppd")) as f:
                bad.write(f.read().replace("*QVColorMode GRAY/Black and White",
                                           "*QVColorMode RGB/Black and White"))
            bad.flush()
            status, report, _ = colour(bad.name)
        self.assertEqual((status, report["valid"]), (1, False))
        self.assertEqual(report["printMode"]["control"], None)


class WithServer(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = Server().__enter__()

    @classmethod
    def tearDownClass(cls):
        cls.server.__exit__(None, None, None)

    def run_colour(self, name, *args):
        return colour(name, "--server", "127.0.0.1", *args, port=self.server.port)

    def test_c5000_gets_the_servers_features_and_device_links(self):
        status, report, err = self.run_colour("Tarvo-C5000.ppd", "--mode", "expert")
        self.assertEqual(status, 0, err)
        self.assertEqual((report["valid"], report["error"]), (True, 0))
        bidi = [i for i in report["expertItems"] if i["type"] == "bidi"]
        plain = [i["keyword"] for i in report["expertItems"] if i["type"] != "bidi"]
        self.assertEqual(sorted(i["keyword"] for i in bidi), sorted(EXPERT))
        self.assertEqual(plain, ["*QVRGBOtherGamma", "*QVRGBOtherWtPt", "*QVRGBOtherPhos"])
        rendering = next(i for i in bidi if i["keyword"] == "*QVColorRendDict")
        self.assertEqual(rendering["name"], "Rendering Style")
        self.assertEqual(rendering["items"][-1], {"keyword": ODD_VALUE, "name": "Custom 2 (Proof)"})
        links = {(l["type"], l["name"]) for l in report["deviceLinks"]}
        self.assertEqual(links, {(1, "sRGB to C5000 Coated"), (1, "sRGB to C5000 Plain"),
                                 (2, "SWOP to C5000 Plain"), (2, "Euroscale to C5000 Coated"),
                                 (2, "ISO Coated to C5000 Coated")})
        # Two-way features are suppressed by their plain keyword.
        suppressed = [e["data"] for e in report["jobTicket"] if e["site"] == -9]
        self.assertEqual(sorted(suppressed[8:]), sorted(EXPERT + plain))
        # The summary names each feature once, though the plain and two-way lists both hold
        # the custom RGB features.
        features = {i["keyword"] for i in report["expertItems"]}
        self.assertEqual(len(report["summary"]), 1 + 7 + len(features))

    def test_an_odd_server_value_is_escaped_in_the_dynamic_option(self):
        status, report, err = self.run_colour("Tarvo-C5000.ppd",
                                              "--set", "*QVColorRendDict=" + ODD_VALUE)
        self.assertEqual(status, 0, err)
        code = [e["data"] for e in report["jobTicket"]
                if e["site"] == 81 and "*QVColorRendDict" in e["data"]]
        self.assertEqual(code, [
            "%%BeginFeature: *QVColorRendDict " + ODD_VALUE + "\n /XJXsetDynamicOption where\n"
            "        { pop (*QVColorRendDict) (CUSTOM\\(CRD2\\)\\\\PROOF\\012V2) "
            "XJXsetDynamicOption } if\n%%EndFeature\n"])

    def test_media_defined_output_profile_uses_the_ppds_code(self):
        _, report, _ = self.run_colour("Tarvo-C5000.ppd", "--set", "*QVOutProfile=DEFAULT_MEDIA")
        code = [e["data"] for e in report["jobTicket"]
                if e["site"] == 81 and "*QVOutProfile" in e["data"]]
        self.assertEqual(len(code), 1)
        self.assertNotIn("XJXsetDynamicOption", code[0])
        self.assertIn("DEFAULT_MEDIA", code[0])
        _, report, _ = self.run_colour("Tarvo-C5000.ppd", "--set", "*QVOutProfile=TRVC5COATED")
        code = [e["data"] for e in report["jobTicket"]
                if e["site"] == 81 and "*QVOutProfile" in e["data"]]
        self.assertIn("XJXsetDynamicOption", code[0])

    def test_every_example_with_the_server(self):
        for name in EXAMPLE_PPDS:
            status, report, err = self.run_colour(name)
            self.assertEqual(status, 0, name + err)
            self.assertTrue(report["valid"], name)
            s = sites(report)
            self.assertEqual(s, sorted(s), name)

    def test_a_server_that_is_down_leaves_no_expert_list(self):
        with Server() as down:
            port = down.port
        status, report, _ = colour("Tarvo-C5000.ppd", "--server", "127.0.0.1", port=port)
        # The controller stands; its expert list does not, and the status says why.
        self.assertEqual((status, report["valid"], report["error"]), (0, True, 4))
        self.assertEqual(report["expertItems"], [])
        self.assertEqual(report["deviceLinks"], [])


if __name__ == "__main__":
    unittest.main()
