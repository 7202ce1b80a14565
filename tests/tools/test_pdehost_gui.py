"""pde-host on a display (Xvfb): the desktop's print dialog with the pane as its tab, a
screenshot of it, and a person's clicks (xdotool, real X input) on the pane reaching the
pane's model."""
import json
import os
import shutil
import struct
import subprocess
import tempfile
import time
import unittest

PDEHOST = os.environ["PDEHOST"]
BUNDLE = os.environ["HOSTTEST_BUNDLE"]
PPD = os.path.join(os.environ["PIGMENTOR_SOURCE_DIR"], "examples", "Tarvo-C5000.ppd")


def forget_job_ticket(out):
    """Removes the job-ticket file a run left in /tmp for the print filter (none runs here)."""
    path = (out.get("jobTicketFile") or {}).get("path", "")
    if path.startswith("/tmp/Tarvo.temp") and os.path.isfile(path):
        os.remove(path)
    return out


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", head[16:24])


@unittest.skipUnless(shutil.which("Xvfb") and shutil.which("xdotool"), "needs Xvfb and xdotool")
class Desktop(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        read, write = os.pipe()
        cls.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                     "1280x1024x24", "-nolisten", "tcp"], pass_fds=(write,),
                                    stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            cls.env = dict(os.environ, DISPLAY=":" + f.readline().strip())

    @classmethod
    def tearDownClass(cls):
        cls.xvfb.terminate()
        cls.xvfb.wait()

    def host(self, *args):
        return subprocess.Popen([PDEHOST, "--bundle", BUNDLE, "--ppd", PPD, "--json", *args],
                                env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                text=True)

    def test_print_dialog_with_the_pane_and_its_screenshot(self):
        with tempfile.TemporaryDirectory() as tmp:
            for language, title in (("en", "Test Pane"), ("de", "Testbereich")):
                png = os.path.join(tmp, language + ".png")
                self.env["LANGUAGE"] = language
                process = self.host("--gui", "--screenshot", png, "--do", "choose tpop:1 3")
                out, _ = process.communicate(timeout=60)
                report = forget_job_ticket(json.loads(out))
                self.assertEqual(process.returncode, 0, report["errors"])
                self.assertEqual(report["title"], title)
                self.assertEqual(report["printSettings"]["colorMode"], "Draft")
                width, height = png_size(png)
                self.assertGreater(width, 525)
                self.assertGreater(height, 200)
            del self.env["LANGUAGE"]

    def test_a_person_s_clicks_reach_the_pane(self):
        # The run ends when the fetch the person starts has finished.
        process = self.host("--window", "--timeout", "30", "--do", "wait-fetch")
        window = None
        # A host under ASan starting beside other GUI tests on two cores can take long to show.
        deadline = time.monotonic() + 60
        while window is None and time.monotonic() < deadline:
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Test Pane$"],
                                   env=self.env, capture_output=True, text=True).stdout.split()
            window = found[0] if found else None
            time.sleep(0.1)
        self.assertIsNotNone(window, "the pane's window did not appear")
        geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window],
                                  env=self.env, capture_output=True, text=True).stdout
        where = dict(line.split("=") for line in geometry.split())
        x, y = int(where["X"]), int(where["Y"])
        time.sleep(0.5)
        # The pane sits 20 pixels into the window: the check box, then the Fetch button.
        for cx, cy in ((20 + 20, 20 + 49), (20 + 185, 20 + 110)):
            subprocess.run(["xdotool", "mousemove", str(x + cx), str(y + cy), "click", "1"],
                           env=self.env, check=True)
            time.sleep(0.3)
        out, _ = process.communicate(timeout=60)
        report = forget_job_ticket(json.loads(out))
        self.assertEqual(process.returncode, 0, report["errors"])
        self.assertEqual({l["title"]: l["value"] for l in report["summary"]},
                         {"Mode": "Fast", "Smoothing": "On"})


if __name__ == "__main__":
    unittest.main()
