"""pde-host from the outside, driving the host test bundle's pane: the order of the table
calls, actions reaching modal dialogs, the background fetch, choices kept across runs, the job
with its feature code, and refusals of bad input."""
import json
import os
import subprocess
import tempfile
import unittest
from tool_support import forget_job_ticket

PDEHOST = os.environ["PDEHOST"]
BUNDLE = os.environ["HOSTTEST_BUNDLE"]
PPD = os.path.join(os.environ["PIGMENTOR_SOURCE_DIR"], "examples", "Tarvo-C5000.ppd")
FULL_RUN = ["queryInterface", "retain", "getAPIVersion", "prologue", "initialize", "open",
            "close", "sync(store)", "getSummaryText", "terminate", "release"]


def host(*args, bundle=BUNDLE, ppd=PPD):
    command = [PDEHOST, "--bundle", bundle, *(["--ppd", ppd] if ppd else []), *args]
    return subprocess.run(command, capture_output=True, text=True, timeout=120)


def report(*args, **kw):
    result = host("--json", *args, **kw)
    return result.returncode, forget_job_ticket(json.loads(result.stdout))


def actions(*lines):
    return [arg for line in lines for arg in ("--do", line)]


def summary(out):
    return {line["title"]: line["value"] for line in out["summary"]}


def sites(out):
    return [(e["site"], e["data"]) for e in out["jobTicketFile"]["entries"]]


class Pane(unittest.TestCase):
    def test_a_person_s_choices_reach_tickets_and_persist_between_runs(self):
        with tempfile.TemporaryDirectory() as tmp:
            settings = os.path.join(tmp, "printer.settings")
            status, out = report("--settings", settings,
                                 *actions("choose tpop:1 2", "click tchk:1", "click note:1",
                                          "type ttxt:1 draft for Anna", "ok"))
            self.assertEqual(status, 0, out["errors"])
            self.assertEqual([c["call"] for c in out["status"]], FULL_RUN)
            self.assertTrue(all(c["status"] == 0 for c in out["status"]), out["status"])
            self.assertEqual(out["title"], "Test Pane")
            self.assertEqual(out["ppd"]["modelName"], "Tarvo C5000 Color Server")
            self.assertEqual(summary(out), {"Mode": "Fine", "Smoothing": "On"})
            self.assertEqual(out["printSettings"]["colorMode"], "Fine")
            self.assertGreater(out["printSettings"]["archiveSize"], 0)
            path = out["jobTicketFile"]["path"]
            self.assertTrue(path.startswith("/tmp/Tarvo.temp"), path)
            self.assertEqual(sites(out), [
                (81, "%%BeginFeature: *TestMode Fine\n/TestMode (Fine) def\n%%EndFeature\n"),
                (-9, "draft for Anna")])
            self.assertTrue(os.path.isfile(settings))

            # The next run starts from the saved ticket.
            status, out = report("--settings", settings, *actions("summary"))
            self.assertEqual(status, 0, out["errors"])
            kept = {line["title"]: line["value"] for line in out["actions"][0]["summary"]}
            self.assertEqual(kept, {"Mode": "Fine", "Smoothing": "On"})
            self.assertEqual(sites(out)[1], (-9, "draft for Anna"))

    def test_load_brings_back_the_last_store(self):
        status, out = report(*actions("choose tpop:1 3", "store", "choose tpop:1 1", "summary",
                                      "load", "summary"))
        self.assertEqual(status, 0, out["errors"])
        modes = [entry["summary"][0]["value"] for entry in out["actions"]]
        self.assertEqual(modes, ["Fast", "Draft"])
        calls = [c["call"] for c in out["status"]]
        self.assertEqual(calls[6:10], ["sync(store)", "getSummaryText", "sync(load)",
                                       "getSummaryText"])

    def test_cancel_and_dialogs_left_open(self):
        status, out = report(*actions("click note:1", "type ttxt:1 thrown away", "cancel"))
        self.assertEqual(status, 0, out["errors"])
        self.assertEqual([site for site, _ in sites(out)], [81], "a cancelled note is no note")
        # A dialog still open at the end is cancelled, as closing the print dialog would.
        status, out = report(*actions("click note:1", "type ttxt:1 left open"))
        self.assertEqual(status, 0, out["errors"])
        self.assertEqual([site for site, _ in sites(out)], [81])
        # ok with no dialog open is a mistake of the script.
        status, out = report(*actions("ok"))
        self.assertEqual(status, 1)
        self.assertIn("ok: no dialog is open", out["errors"])

    def test_wait_fetch_waits_for_the_background_fetch(self):
        status, out = report(*actions("click ftch:1", "wait-fetch", "dump"))
        self.assertEqual(status, 0, out["errors"])
        windows = out["actions"][0]["windows"]
        texts = [c.get("text") for w in windows for c in w["controls"] if c["signature"] == "stat"]
        self.assertEqual(texts, ["Fetched"])
        # With no fetch running there is nothing to wait for: the run goes on at once (a wait
        # for the time-out would outlast the subprocess's limit).
        status, out = report("--timeout", "3600", *actions("wait-fetch", "choose tpop:1 3"))
        self.assertEqual(status, 0, out["errors"])
        self.assertEqual(summary(out)["Mode"], "Draft")
        # A fetch that has ended before the wait is not waited for either.
        status, out = report("--timeout", "3600",
                             *actions("click ftch:1", "wait-fetch", "wait-fetch", "dump"))
        self.assertEqual(status, 0, out["errors"])
        texts = [c.get("text") for w in out["actions"][0]["windows"] for c in w["controls"]
                 if c["signature"] == "stat"]
        self.assertEqual(texts, ["Fetched"])

    def test_an_action_without_its_control_ends_the_run(self):
        status, out = report(*actions("click nope:7", "choose tpop:1 2"))
        self.assertEqual(status, 1)
        self.assertEqual(out["errors"], ["click nope:7: no such window or control"])
        self.assertEqual(summary(out)["Mode"], "Fast")

    def test_readable_text_without_json(self):
        result = host(*actions("choose tpop:1 3"))
        self.assertEqual(result.returncode, 0, result.stdout)
        for line in result.stdout.splitlines():
            if line.startswith("Job-ticket file: "):
                forget_job_ticket({"jobTicketFile": {"path": line.split(": ", 1)[1]}})
        self.assertIn("Summary:\n  Mode: Draft\n  Smoothing: Off\n", result.stdout)
        self.assertIn("  site 81:\n    %%BeginFeature: *TestMode Draft\n", result.stdout)


class Job(unittest.TestCase):
    def test_feature_code_goes_into_the_setup_section(self):
        with tempfile.TemporaryDirectory() as tmp:
            source = os.path.join(tmp, "in.ps")
            with open(source, "w") as f:
                f.write("%!PS-Adobe-3.0\n%%EndComments\n%%BeginSetup\n<< >> setpagedevice\n"
                        "%%EndSetup\n%%Page: 1 1\nshowpage\n%%EOF\n")
            target = os.path.join(tmp, "out.ps")
            status, out = report("--print", source, "--output", target, *actions("choose tpop:1 2"))
            self.assertEqual(status, 0, out["errors"])
            with open(target) as f:
                job = f.read()
            self.assertEqual(job, "%!PS-Adobe-3.0\n%%EndComments\n%%BeginSetup\n"
                                  "%%BeginFeature: *TestMode Fine\n/TestMode (Fine) def\n"
                                  "%%EndFeature\n<< >> setpagedevice\n%%EndSetup\n"
                                  "%%Page: 1 1\nshowpage\n%%EOF\n")


class Refusals(unittest.TestCase):
    def test_usage_errors_exit_2_and_say_why(self):
        cases = [
            (actions("choose tpop:1 0"), "--do: choose needs an item number from 1 to 32767"),
            (actions("fly away"), "--do: unknown action \"fly\""),
            (["--print", "x.ps"], "--print needs --output OUT.ps or --queue NAME"),
            (["--queue", "q"], "give either --ppd FILE or --queue NAME"),
        ]
        for args, message in cases:
            result = host(*args)
            self.assertEqual(result.returncode, 2, args)
            self.assertIn(message, result.stderr)
        with tempfile.NamedTemporaryFile("w", suffix=".txt") as script:
            script.write("# two-way\nclick bidi:10\nchoose Cntl:103\n")
            script.flush()
            result = host("--script", script.name)
            self.assertEqual(result.returncode, 2)
            self.assertIn("line 3: choose needs an item number", result.stderr)

    def test_bad_settings_bundles_and_printers_are_reported_not_crashed_on(self):
        with tempfile.TemporaryDirectory() as tmp:
            settings = os.path.join(tmp, "settings")
            with open(settings, "w") as f:
                f.write("<plist><dict><key>x</key>")
            status, out = report("--settings", settings)
            self.assertEqual(status, 1)
            self.assertIn("is not a print settings ticket", out["errors"][0])
            with open(settings) as f:
                self.assertEqual(f.read(), "<plist><dict><key>x</key>", "left as it was")
            status, out = report(bundle=os.path.join(tmp, "None.plugin"))
            self.assertEqual(status, 1)
            self.assertIn("None.plugin is no bundle directory", out["errors"][0])
            status, out = report(ppd=os.path.join(tmp, "missing.ppd"))
            self.assertEqual(status, 1)
            self.assertIn("cannot read the PPD", out["errors"][0])


if __name__ == "__main__":
    unittest.main()
