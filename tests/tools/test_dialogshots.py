"""dialogshots from the outside: pictures of the small dialogs in English and German (under
Xvfb), each exactly as wide and high as its layout; a text that pushed its window wider or
taller in GTK would change the picture's size."""
import os
import struct
import subprocess
import tempfile
import unittest

DIALOGSHOTS = os.environ["DIALOGSHOTS"]
BUNDLE = os.environ["PIGMENTOR_BUNDLE_DIR"]

# Width and height of each picture's content: the NIB windows (fitted to their wrapped texts in
# the theme metrics: the German title of the address dialog takes two lines, the English note
# two) and the panel's host window.
EXPECTED = {
    "en": {"alert-one-line": (440, 97), "alert-two-line": (440, 136), "two-way-dialog": (580, 227),
           "progress": (380, 97), "two-way-panel": (520, 70)},
    "de": {"alert-one-line": (440, 97), "alert-two-line": (440, 136), "two-way-dialog": (580, 230),
           "progress": (380, 97), "two-way-panel": (520, 70)},
}


class Pictures(unittest.TestCase):
    def test_every_dialog_in_both_languages_keeps_its_size(self):
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        env["NO_AT_BRIDGE"] = "1"
        for language, pictures in EXPECTED.items():
            with tempfile.TemporaryDirectory() as folder:
                result = subprocess.run([DIALOGSHOTS, BUNDLE, language, folder], capture_output=True,
                                        env=env, timeout=120)
                self.assertEqual(result.returncode, 0, result.stderr)
                for name, size in pictures.items():
                    with open(os.path.join(folder, f"{name}-{language}.png"), "rb") as f:
                        header = f.read(24)
                    self.assertEqual(header[:8], b"\x89PNG\r\n\x1a\n")
                    self.assertEqual(struct.unpack(">II", header[16:24]), size, f"{name}-{language}")

    def test_usage_and_a_missing_bundle(self):
        self.assertEqual(subprocess.run([DIALOGSHOTS], capture_output=True).returncode, 2)
        with tempfile.TemporaryDirectory() as folder:
            env = dict(os.environ)
            env.pop("DISPLAY", None)
            result = subprocess.run([DIALOGSHOTS, os.path.join(folder, "none"), "en", folder],
                                    capture_output=True, env=env, timeout=120)
            self.assertEqual(result.returncode, 1)


if __name__ == "__main__":
    unittest.main()
