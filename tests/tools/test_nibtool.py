"""nibtool from the outside: list, dump, screenshots (under Xvfb) and exit statuses."""
import json
import os
import struct
import subprocess
import tempfile
import unittest

NIBTOOL = os.environ["NIBTOOL"]
NIB = os.path.join(os.environ["PIGMENTOR_SOURCE_DIR"], "examples", "nib", "AllControls.nib")


def run(*args, env=None):
    return subprocess.run([NIBTOOL, *args], capture_output=True, env=env, timeout=120)


class Read(unittest.TestCase):
    def test_list_names_every_window(self):
        result = run("list", NIB)
        self.assertEqual(result.returncode, 0)
        self.assertEqual(result.stdout.decode().split(), ["Pane", "Address"])

    def test_dump_gives_every_control_with_its_parent(self):
        result = run("dump", NIB, "Pane")
        self.assertEqual(result.returncode, 0)
        window = json.loads(result.stdout)
        self.assertEqual(window["class"], "document")
        kinds = {c["kind"] for c in window["controls"]}
        self.assertEqual(kinds, {"grpb", "rgrp", "rdio", "push", "stxt", "popb", "cbox", "sepa",
                                 "upan", "eutx", "carr"})
        by_id = {(c["signature"], c["id"]): c for c in window["controls"]}
        self.assertEqual(by_id[("sRd1", 302)]["parent"], by_id[("sRdG", 300)]["index"])
        self.assertEqual(by_id[("Cntl", 103)]["menu"][4], {"title": "Darkest", "enabled": False})

    def test_errors_and_usage(self):
        self.assertEqual(run("dump", NIB, "Nothing").returncode, 1)
        with tempfile.NamedTemporaryFile(suffix=".nib") as bad:
            bad.write(b'<nib version="1"><window name="W" bounds="0 0 10"/></nib>')
            bad.flush()
            result = run("dump", bad.name, "W")
            self.assertEqual(result.returncode, 1)
            self.assertIn(b"bounds", result.stderr)
        self.assertEqual(run("dump", "/nonexistent.nib", "W").returncode, 1)
        self.assertEqual(run("dump", NIB).returncode, 2)
        self.assertEqual(run("show", NIB, "Pane", "--picture", "x.png").returncode, 2)


class Screenshot(unittest.TestCase):
    def test_a_picture_of_the_window_without_a_display(self):
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        env["NO_AT_BRIDGE"] = "1"
        with tempfile.TemporaryDirectory() as folder:
            png = os.path.join(folder, "sheet.png")
            result = run("show", NIB, "Address", "--screenshot", png, env=env)
            self.assertEqual(result.returncode, 0, result.stderr)
            with open(png, "rb") as f:
                header = f.read(24)
            self.assertEqual(header[:8], b"\x89PNG\r\n\x1a\n")
            self.assertEqual(struct.unpack(">II", header[16:24]), (360, 130))


if __name__ == "__main__":
    unittest.main()
