"""The colour pane end to end: pde-host loads the plug-in bundle (Contents/Linux/Pigmentor.so)
and drives the pane through the extension table: choices stored, reloaded and kept across runs,
two-way against a tovrane-server of the test's own (progress, the server's features in the
expert dialog), a server that is down, the printed job's feature code, and the demo."""
import json
import os
import subprocess
import tempfile
import unittest
from tool_support import Server, forget_job_ticket

PDEHOST = os.environ["PDEHOST"]
BUNDLE = os.environ["PIGMENTOR_BUNDLE"]
SERVER = os.environ["TOVRANE_SERVER"]
SOURCE = os.environ["PIGMENTOR_SOURCE_DIR"]
PPD = os.path.join(SOURCE, "examples", "Tarvo-C5000.ppd")
FULL_RUN = ["queryInterface", "retain", "getAPIVersion", "prologue", "initialize", "open",
            "close", "sync(store)", "getSummaryText", "terminate", "release"]
# The pane builds its colour list in the background when it is made, and fetches it again when
# it is shown before the list is ready: the runs wait for that (at once when there is nothing
# to wait for), so that the pane is ready for the person's clicks.
READY = ["wait-fetch"]
# Two-way on as a person turns it on: the address first (Configure...), then the check box.
TWO_WAY = [*READY, "click conf:10", "type paed:0 127.0.0.1", "ok", "wait-fetch",
           "click bidi:10", "wait-fetch"]


class PaneTest(unittest.TestCase):
    def setUp(self):
        # The pane keeps the user's two-way addresses under $HOME.
        self.home = tempfile.TemporaryDirectory()
        self.addCleanup(self.home.cleanup)

    def report(self, *actions, args=(), port=None, ppd=PPD):
        env = dict(os.environ, HOME=self.home.name)
        if port is not None:
            env["TOVRANE_SERVER_PORT"] = str(port)
        command = [PDEHOST, "--bundle", BUNDLE, "--ppd", ppd, "--json", "--timeout", "30",
                   *args, *[a for action in actions for a in ("--do", action)]]
        result = subprocess.run(command, capture_output=True, text=True, timeout=180, env=env)
        return result.returncode, forget_job_ticket(json.loads(result.stdout))

    @staticmethod
    def summary(lines):
        return {line["title"]: line["value"] for line in lines}

    @staticmethod
    def controls(window):
        return {(c["signature"], c["id"]): c for c in window["controls"]}


class Pane(PaneTest):
    def test_choices_reach_the_tickets_and_persist_between_runs(self):
        settings = os.path.join(self.home.name, "printer.settings")
        status, out = self.report(*READY, "click sRd1:303", "choose Cntl:103 6",
                                  args=("--settings", settings))
        self.assertEqual(status, 0, out["errors"])
        self.assertEqual([c["call"] for c in out["status"]], FULL_RUN)
        self.assertEqual([c["status"] for c in out["status"]], [0] * len(FULL_RUN))
        self.assertEqual(out["title"], "Color")
        lines = self.summary(out["summary"])
        self.assertEqual(out["summary"][0], {"title": "Print Mode", "value": "Grayscale"})
        self.assertEqual(lines["Brightness"], "110% Darker")
        self.assertEqual(out["printSettings"]["colorMode"], 3)
        self.assertGreater(out["printSettings"]["archiveSize"], 1000)
        code = [e["data"] for e in out["jobTicketFile"]["entries"] if e["site"] == 81]
        self.assertTrue(any("*QVColorMode Grayscale" in c for c in code), code)
        self.assertTrue(any("*QVBrightness 110" in c for c in code), code)
        # The next run starts from the saved ticket: the model comes back from its archive.
        status, out = self.report("summary", "dump", args=("--settings", settings))
        self.assertEqual(status, 0, out["errors"])
        kept = self.summary(out["actions"][0]["summary"])
        self.assertEqual((kept["Print Mode"], kept["Brightness"]), ("Grayscale", "110% Darker"))
        pane = self.controls(out["actions"][1]["windows"][0])
        self.assertEqual(pane[("sRd1", 303)]["value"], 1)
        self.assertEqual(pane[("Cntl", 103)]["value"], 6)

    def test_load_brings_back_the_last_store_and_restarts_the_summary(self):
        status, out = self.report(*READY, "choose Cntl:103 2", "store", "choose Cntl:103 7",
                                  "summary", "load", "wait-fetch", "summary", "dump")
        self.assertEqual(status, 0, out["errors"])
        before, after = (self.summary(a["summary"]) for a in out["actions"][:2])
        self.assertEqual(before["Brightness"], "115% Darkest")
        self.assertEqual(after["Brightness"], "90% Lighter")
        # A new controller: its summary starts again at the print mode and is complete.
        self.assertEqual(out["actions"][1]["summary"][0]["title"], "Print Mode")
        self.assertEqual(len(out["actions"][1]["summary"]), len(out["actions"][0]["summary"]))
        pane = self.controls(out["actions"][2]["windows"][0])
        self.assertEqual(pane[("Cntl", 103)]["value"], 2, "the reset panel shows the loaded model")
        calls = [c["call"] for c in out["status"]]
        self.assertEqual(calls[6:10], ["sync(store)", "getSummaryText", "sync(load)",
                                       "getSummaryText"])

    def test_a_ppd_the_printer_list_does_not_accept(self):
        with open(PPD, encoding="latin-1") as f:
            text = f.read().replace('*PCFileName: "TRVC5000.PPD"', '*PCFileName: "OTHER.PPD"')
        other = os.path.join(self.home.name, "other.ppd")
        with open(other, "w", encoding="latin-1") as f:
            f.write(text)
        status, out = self.report(ppd=other)
        self.assertEqual(status, 1)
        self.assertEqual([(c["call"], c["status"]) for c in out["status"]][4], ("initialize", 1))
        self.assertIn("initialize answered 1", out["errors"][0])

    def test_the_printed_job_carries_the_feature_code_in_its_setup(self):
        source = os.path.join(self.home.name, "in.ps")
        with open(source, "w") as f:
            f.write("%!PS-Adobe-3.0\n%%EndComments\n%%BeginSetup\n<< >> setpagedevice\n"
                    "%%EndSetup\n%%Page: 1 1\nshowpage\n%%EOF\n")
        target = os.path.join(self.home.name, "out.ps")
        status, out = self.report(*READY, "click sRd1:303",
                                  args=("--print", source, "--output", target))
        self.assertEqual(status, 0, out["errors"])
        code = "".join(e["data"] for e in out["jobTicketFile"]["entries"] if e["site"] == 81)
        with open(target) as f:
            job = f.read()
        head = "%!PS-Adobe-3.0\n%%EndComments\n%%BeginSetup\n"
        self.assertEqual(job, head + code + "<< >> setpagedevice\n%%EndSetup\n"
                         "%%Page: 1 1\nshowpage\n%%EOF\n")
        self.assertIn("%%BeginFeature: *QVColorMode Grayscale\n", code)


class TwoWay(PaneTest):
    def test_the_server_s_features_reach_the_expert_dialog_and_the_job(self):
        with Server() as server:
            status, out = self.report(*TWO_WAY, "click sRd1:302", "click Cntl:108", "dump",
                                      "choose PGSE:203 3", "choose PGSE:204 3", "ok",
                                      port=server.port)
        self.assertEqual(status, 0, out["errors"])
        windows = out["actions"][0]["windows"]
        self.assertEqual([w["title"] for w in windows], ["Color", "Expert Color Settings"])
        pane, expert = (self.controls(w) for w in windows)
        self.assertEqual(pane[("bidi", 10)]["value"], 1)
        # The server's profiles and its black overprint styles (a two-way feature) are shown.
        profiles = [m["title"] for m in expert[("PGSE", 204)]["menu"]]
        self.assertIn("C5000 Plain Paper", profiles)
        self.assertTrue(expert[("BIDI", 209)]["visible"])
        self.assertEqual(expert[("BIDI", 2091)]["title"], "Black Only")
        lines = self.summary(out["summary"])
        self.assertEqual(lines["Print Mode"], "Expert Color")
        self.assertEqual(lines["CMYK Simulation"], "Euroscale")
        self.assertEqual(lines["Output Profile"], "C5000 Plain Paper")
        code = "".join(e["data"] for e in out["jobTicketFile"]["entries"] if e["site"] == 81)
        self.assertIn("(*QVOutProfile) (TRVC5PLAIN) XJXsetDynamicOption", code)
        self.assertIn("(*QVSimulation) (EUROSCALE) XJXsetDynamicOption", code)
        # The two-way list holds the PPD's gamma, white point and phosphors beside the server's:
        # the summary still has one line a feature.
        titles = [line["title"] for line in out["summary"]]
        self.assertEqual(len(titles), len(set(titles)), titles)
        self.assertIn("Gamma", titles)

    def test_cancel_and_a_sheet_left_open_keep_the_expert_settings(self):
        with Server() as server:
            status, out = self.report(*TWO_WAY, "click sRd1:302", "click Cntl:108",
                                      "choose PGSE:203 3", "cancel", "dump", "summary",
                                      "click Cntl:108", "choose PGSE:204 3", port=server.port)
        self.assertEqual(status, 0, out["errors"])
        self.assertEqual([w["title"] for w in out["actions"][0]["windows"]], ["Color"],
                         "cancel closes the expert dialog's sheet")
        after_cancel = self.summary(out["actions"][1]["summary"])
        self.assertEqual(after_cancel["CMYK Simulation"], "Server Default")
        # The sheet still open at the end is cancelled as the print dialog closes.
        lines = self.summary(out["summary"])
        self.assertEqual(lines["Output Profile"], "Server Default")
        self.assertEqual(lines["Print Mode"], "Expert Color")

    def test_progress_is_shown_while_the_server_answers_slowly(self):
        with Server("--latency-ms", "200") as server:
            status, out = self.report(*READY, "click conf:10", "type paed:0 127.0.0.1",
                                      "ok", "wait-fetch", "click bidi:10", "summary", "dump",
                                      "wait-fetch",
                                      "dump", port=server.port)
        self.assertEqual(status, 0, out["errors"])
        during, after = (self.controls(a["windows"][0]) for a in out["actions"][1:])
        texts = [c.get("text") for c in during.values()]
        self.assertFalse(during[("Cntl", 108)]["enabled"], "no expert settings while fetching")
        self.assertTrue(after[("Cntl", 108)]["enabled"])

    def test_a_server_that_is_down_is_reported_and_the_pane_stays_usable(self):
        with Server() as server:
            port = server.port  # nothing listens there once the server has gone
        # OK on the alert; two-way goes off, and the pane fetches its list without the server.
        status, out = self.report(*TWO_WAY, "dump", "ok", "wait-fetch", "click sRd1:303", "dump",
                                  port=port)
        self.assertEqual(status, 0, out["errors"])
        alert = out["actions"][0]["windows"][-1]
        texts = [c.get("text") for c in alert["controls"]]
        self.assertIn("Print Server Error", texts)
        pane = self.controls(out["actions"][1]["windows"][0])
        self.assertEqual(len(out["actions"][1]["windows"]), 1, "the alert has gone")
        self.assertEqual(pane[("bidi", 10)]["value"], 0, "two-way is off again")
        self.assertEqual(pane[("sRd1", 303)]["value"], 1)
        self.assertEqual(out["summary"][0], {"title": "Print Mode", "value": "Grayscale"})


class Demo(unittest.TestCase):
    def test_the_demo_shows_the_whole_job(self):
        env = dict(os.environ, PIGMENTOR_DEMO_NO_BUILD="1",
                   PIGMENTOR_BUILD_DIR=os.environ["PIGMENTOR_BUILD_DIR"])
        result = subprocess.run([os.path.join(SOURCE, "scripts", "demo")], cwd=SOURCE, env=env,
                                capture_output=True, text=True, timeout=300)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        out = result.stdout
        for expected in ("listening on 127.0.0.1:", "  Print Mode: Expert Color",
                         "  CMYK Simulation: Euroscale", "  Output Profile: C5000 Plain Paper",
                         "(*QVSimulation) (EUROSCALE) XJXsetDynamicOption",
                         "== The job-ticket file /tmp/Tarvo.temp", "<plist version=\"1.0\">",
                         "== tovrane-server stopped"):
            self.assertIn(expected, out)


if __name__ == "__main__":
    unittest.main()
