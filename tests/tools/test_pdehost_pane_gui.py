"""The colour pane on a display (Xvfb): the desktop's print dialog with the pane as its tab in
English and German (screenshots checked), and a person's clicks (xdotool, real X input) on the
pane reaching its model: a print-mode button and the two-way address dialog (answered with
Return), which makes the pane fetch its colour list again."""
import json
import os
import shutil
import subprocess
import tempfile
import time
import unittest

from test_pdehost_pane import PDEHOST, PPD, BUNDLE
from tool_support import (Background, Server, click_in_window, close_window, forget_job_ticket,
                          png_size, shown_window, start_xvfb)


@unittest.skipUnless(shutil.which("Xvfb") and shutil.which("xdotool"), "needs Xvfb and xdotool")
class Desktop(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.xvfb, cls.display = start_xvfb()

    @classmethod
    def tearDownClass(cls):
        cls.xvfb.terminate()
        cls.xvfb.wait()

    def setUp(self):
        self.home = tempfile.TemporaryDirectory()
        self.addCleanup(self.home.cleanup)
        self.env = dict(os.environ, DISPLAY=self.display, HOME=self.home.name)

    def host(self, *args):
        process = Background([PDEHOST, "--bundle", BUNDLE, "--ppd", PPD, "--json", *args],
                             self.env)
        self.addCleanup(process.close)
        return process

    def test_print_dialog_with_the_pane_in_english_and_german(self):
        for language, title, mode in (("en", "Color", "Grayscale"), ("de", "Farbe", "Graustufen")):
            png = os.path.join(self.home.name, language + ".png")
            self.env["LANGUAGE"] = language
            process = self.host("--gui", "--screenshot", png, "--do", "click sRd1:303")
            out = process.communicate(timeout=120)
            report = forget_job_ticket(json.loads(out))
            self.assertEqual(process.returncode, 0, (report["errors"], process.stderr()))
            self.assertEqual(report["title"], title)
            self.assertEqual(report["summary"][0]["value"], mode)
            width, height = png_size(png)
            # The whole pane (grown to what it holds) and the dialog's buttons below it.
            self.assertGreater(width, 525)
            self.assertGreater(height, 360)

    def test_a_person_s_clicks_reach_the_pane(self):
        with Server() as server:
            self.env["TOVRANE_SERVER_PORT"] = str(server.port)
            # The server's address is known for the printer, two-way still off.
            store = self.host("--do", "wait-fetch", "--do", "click conf:10",
                              "--do", "type paed:0 127.0.0.1", "--do", "ok")
            out = store.communicate(timeout=120)
            self.assertEqual(store.returncode, 0, (out, store.stderr()))
            forget_job_ticket(json.loads(out))
            # The pane's first list is waited for; then the window is the person's, who ends
            # the run by closing it.
            process = self.host("--window", "--timeout", "60", "--do", "wait-fetch")
            window = shown_window(self, self.env, "Color", process)
            time.sleep(1)
            # The Grayscale radio button, then Configure... and Return (OK) in its dialog: the
            # address is taken again, which makes the pane fetch its list.
            click_in_window(self.env, window, ((44 + 8, 94 + 9), (393 + 70, 345 + 10)), 1)
            subprocess.run(["xdotool", "key", "Return"], env=self.env, check=True)
            time.sleep(1)
            close_window(self.env, window)
            out = process.communicate(timeout=120)
        report = forget_job_ticket(json.loads(out))
        self.assertEqual(process.returncode, 0,
                         (report["errors"], report.get("summary"), process.stderr()))
        lines = {l["title"]: l["value"] for l in report["summary"]}
        self.assertEqual(lines["Print Mode"], "Grayscale")
        self.assertEqual(report["printSettings"]["colorMode"], 3)


if __name__ == "__main__":
    unittest.main()
