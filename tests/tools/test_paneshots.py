"""paneshots from the outside: pictures of the colour pane over the C5000's PPD in English and
German (under Xvfb), each exactly as large as the print dialog's pane; a text that pushed a
control out of its place in GTK would change the picture's size; also with two-way communication
switched on against a tovrane-server. Usage and failures."""
import os
import struct
import subprocess
import tempfile
import unittest

from tool_support import Server

PANESHOTS = os.environ["PANESHOTS"]
BUNDLE = os.environ["PIGMENTOR_BUNDLE_DIR"]
EXAMPLES = os.path.join(os.environ["PIGMENTOR_SOURCE_DIR"], "examples")


def environment():
    env = dict(os.environ)
    env.pop("DISPLAY", None)
    env["NO_AT_BRIDGE"] = "1"
    return env


class Pictures(unittest.TestCase):
    def test_the_pane_in_both_languages_keeps_its_size(self):
        cases = [("en", "Tarvo-C5000.ppd", []), ("de", "Tarvo-C5000-de.ppd", ["grayscale"])]
        with tempfile.TemporaryDirectory() as folder:
            for language, ppd, mode in cases:
                picture = os.path.join(folder, f"pane-{language}.png")
                result = subprocess.run([PANESHOTS, BUNDLE, language, os.path.join(EXAMPLES, ppd),
                                         picture] + mode, capture_output=True, env=environment(),
                                        timeout=180)
                self.assertEqual(result.returncode, 0, result.stderr)
                with open(picture, "rb") as f:
                    header = f.read(24)
                self.assertEqual(header[:8], b"\x89PNG\r\n\x1a\n")
                self.assertEqual(struct.unpack(">II", header[16:24]), (525, 372), language)

    def test_the_pane_with_two_way_on_shows_its_address(self):
        with Server() as server, tempfile.TemporaryDirectory() as folder, \
                tempfile.TemporaryDirectory() as home:
            env = environment()
            env["HOME"] = home
            env["TOVRANE_SERVER_PORT"] = str(server.port)
            picture = os.path.join(folder, "pane-two-way.png")
            result = subprocess.run([PANESHOTS, BUNDLE, "en", os.path.join(EXAMPLES, "Tarvo-C5000.ppd"),
                                     picture, "two-way:127.0.0.1"], capture_output=True, env=env,
                                    timeout=180)
            self.assertEqual(result.returncode, 0, result.stderr)
            with open(picture, "rb") as f:
                header = f.read(24)
            self.assertEqual(struct.unpack(">II", header[16:24]), (525, 372))
        self.assertEqual(subprocess.run([PANESHOTS, BUNDLE, "en", "x.ppd", "x.png", "two-way:"],
                                        capture_output=True).returncode, 2)

    def test_usage_and_what_cannot_be_shown(self):
        self.assertEqual(subprocess.run([PANESHOTS], capture_output=True).returncode, 2)
        ppd = os.path.join(EXAMPLES, "Tarvo-C5000.ppd")
        with tempfile.TemporaryDirectory() as folder:
            picture = os.path.join(folder, "pane.png")
            self.assertEqual(subprocess.run([PANESHOTS, BUNDLE, "en", ppd, picture, "sepia"],
                                            capture_output=True).returncode, 2)
            for bundle, document in ((os.path.join(folder, "none"), ppd),
                                     (BUNDLE, os.path.join(folder, "missing.ppd"))):
                result = subprocess.run([PANESHOTS, bundle, "en", document, picture],
                                        capture_output=True, env=environment(), timeout=180)
                self.assertEqual(result.returncode, 1, result.stderr)
            self.assertFalse(os.path.exists(picture))


if __name__ == "__main__":
    unittest.main()
