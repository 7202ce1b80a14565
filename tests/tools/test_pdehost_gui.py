"""pde-host on a display (Xvfb): the desktop's print dialog with the pane as its tab, a
screenshot of it, and a person's clicks (xdotool, real X input) on the pane reaching the
pane's model. The host's standard error is kept and shown when a check fails."""
import json
import os
import shutil
import subprocess
import tempfile
import time
import unittest
from tool_support import (Background, click_in_window, close_window, forget_job_ticket, png_size,
                          shown_window, start_xvfb)

PDEHOST = os.environ["PDEHOST"]
BUNDLE = os.environ["HOSTTEST_BUNDLE"]
PPD = os.path.join(os.environ["PIGMENTOR_SOURCE_DIR"], "examples", "Tarvo-C5000.ppd")


@unittest.skipUnless(shutil.which("Xvfb") and shutil.which("xdotool"), "needs Xvfb and xdotool")
class Desktop(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.xvfb, display = start_xvfb()
        cls.env = dict(os.environ, DISPLAY=display)

    @classmethod
    def tearDownClass(cls):
        cls.xvfb.terminate()
        cls.xvfb.wait()

    def host(self, *args):
        process = Background([PDEHOST, "--bundle", BUNDLE, "--ppd", PPD, "--json", *args],
                             self.env)
        self.addCleanup(process.close)
        return process

    def report(self, process, timeout):
        """The host's report once it has ended; its standard error when it failed."""
        out = process.communicate(timeout=timeout)
        report = forget_job_ticket(json.loads(out))
        self.assertEqual(process.returncode, 0, (report["errors"], process.stderr()))
        return report

    def test_print_dialog_with_the_pane_and_its_screenshot(self):
        with tempfile.TemporaryDirectory() as tmp:
            for language, title in (("en", "Test Pane"), ("de", "Testbereich")):
                png = os.path.join(tmp, language + ".png")
                self.env["LANGUAGE"] = language
                process = self.host("--gui", "--screenshot", png, "--do", "choose tpop:1 3")
                report = self.report(process, 60)
                self.assertEqual(report["title"], title)
                self.assertEqual(report["printSettings"]["colorMode"], "Draft")
                width, height = png_size(png)
                self.assertGreater(width, 525)
                self.assertGreater(height, 200)
            del self.env["LANGUAGE"]

    def test_print_works_at_once_and_prints_to_the_output_file(self):
        # With a PPD alone the dialog starts on its print-to-file printer, writing to --output:
        # the person's Print (Alt+P) is answered without a printer picked first.
        with tempfile.TemporaryDirectory() as tmp:
            source, target = os.path.join(tmp, "in.ps"), os.path.join(tmp, "out.ps")
            with open(source, "w") as f:
                f.write("%!PS-Adobe-3.0\n%%EndComments\n%%Page: 1 1\nshowpage\n%%EOF\n")
            process = self.host("--gui", "--do", "choose tpop:1 2", "--print", source,
                                "--output", target)
            window = shown_window(self, self.env, "Print", process, "the print dialog")
            subprocess.run(["xdotool", "mousemove", "--window", window, "40", "40"],
                           env=self.env, check=True)
            # Until GTK has listed its printers Print cannot be pressed: press until it ends.
            for _ in range(60):
                subprocess.run(["xdotool", "key", "alt+p"], env=self.env, check=True)
                try:
                    report = self.report(process, 1)
                    break
                except subprocess.TimeoutExpired:
                    continue
            else:
                self.fail("Print did nothing; the host's standard error:\n" + process.stderr())
            self.assertNotIn("cancelled", report)
            self.assertEqual(report["job"]["output"], target)
            with open(target) as f:
                self.assertIn("%%BeginFeature: *TestMode Fine\n", f.read())

    def test_a_person_s_clicks_reach_the_pane(self):
        # After its actions the host waits for the person, who ends the run by closing the
        # window. Nothing fetches yet: the wait for a fetch does not hold the person up.
        process = self.host("--window", "--timeout", "600", "--do", "wait-fetch")
        window = shown_window(self, self.env, "Test Pane", process)
        time.sleep(0.5)
        # The pane sits 20 pixels into the window: the check box, then the Fetch button.
        click_in_window(self.env, window, ((20 + 20, 20 + 49), (20 + 185, 20 + 110)), 0.3)
        close_window(self.env, window)
        report = self.report(process, 60)
        self.assertEqual({l["title"]: l["value"] for l in report["summary"]},
                         {"Mode": "Fast", "Smoothing": "On"})


if __name__ == "__main__":
    unittest.main()
