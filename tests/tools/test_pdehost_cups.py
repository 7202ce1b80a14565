"""pde-host against a real CUPS server: the test starts its own cupsd on a private socket and
spool directory, adds a queue from the example PPD with a file device, reads the queue's PPD
through pde-host and prints a job that must land in the spool with the pane's feature code.
Skipped, with the reason, only where cupsd cannot run at all."""
import json
import os
import shutil
import socket
import subprocess
import tempfile
import time
import unittest
from tool_support import forget_job_ticket

PDEHOST = os.environ["PDEHOST"]
BUNDLE = os.environ["HOSTTEST_BUNDLE"]
PIGMENTOR_BUNDLE = os.environ["PIGMENTOR_BUNDLE"]
PPD = os.path.join(os.environ["PIGMENTOR_SOURCE_DIR"], "examples", "Tarvo-C5000.ppd")
CUPSD = shutil.which("cupsd", path=os.environ.get("PATH", "") + ":/usr/sbin:/sbin")
LPADMIN = shutil.which("lpadmin", path=os.environ.get("PATH", "") + ":/usr/sbin:/sbin")

CUPSD_CONF = """Listen {socket}
LogLevel warn
WebInterface No
Browsing No
DefaultAuthType None
PreserveJobFiles Yes
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
"""
FILES_CONF = """ServerRoot {root}/etc
RequestRoot {root}/spool
CacheDir {root}/cache
StateDir {root}/state
TempDir {root}/tmp
ErrorLog {root}/log/error_log
AccessLog {root}/log/access_log
PageLog {root}/log/page_log
FileDevice Yes
"""


class CupsServer:
    """A cupsd of the test's own, in a scratch folder, listening on a socket there only."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="pigmentor-cups-")
        self.socket = os.path.join(self.root, "cups.sock")
        for sub in ("etc", "spool", "cache", "state", "tmp", "log"):
            os.mkdir(os.path.join(self.root, sub))
        with open(os.path.join(self.root, "etc", "cupsd.conf"), "w") as f:
            f.write(CUPSD_CONF.format(socket=self.socket))
        with open(os.path.join(self.root, "etc", "cups-files.conf"), "w") as f:
            f.write(FILES_CONF.format(root=self.root))
        self.process = None
        self.env = dict(os.environ, CUPS_SERVER=self.socket)

    def start(self):
        """None when the server answers, else why it cannot run here."""
        self.process = subprocess.Popen(
            [CUPSD, "-f", "-c", os.path.join(self.root, "etc", "cupsd.conf"),
             "-s", os.path.join(self.root, "etc", "cups-files.conf")],
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                return "cupsd ended at once: " + self.log()
            try:
                with socket.socket(socket.AF_UNIX) as s:
                    s.connect(self.socket)
                return None
            except OSError:
                time.sleep(0.05)
        return "cupsd did not listen within 15 s: " + self.log()

    def log(self):
        text = ""
        if self.process and self.process.poll() is not None:
            text += self.process.stdout.read().decode(errors="replace")
        try:
            with open(os.path.join(self.root, "log", "error_log"), errors="replace") as f:
                text += f.read()
        except OSError:
            pass
        return text.strip()[-2000:]

    def run(self, *command, env_home=None):
        env = dict(self.env, HOME=env_home) if env_home else self.env
        return subprocess.run(command, env=env, capture_output=True, text=True, timeout=60)

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        if self.process:
            self.process.stdout.close()
        shutil.rmtree(self.root, ignore_errors=True)


class CupsQueue(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if CUPSD is None or LPADMIN is None:
            raise unittest.SkipTest("cupsd or lpadmin is not installed (package cups)")
        cls.server = CupsServer()
        why = cls.server.start()
        if why:
            cls.server.stop()
            raise unittest.SkipTest("cupsd cannot run here: " + why)
        # A disabled queue keeps its jobs in the spool, where the test reads them.
        for command in ([LPADMIN, "-p", "tarvo", "-E", "-v", "file:///dev/null", "-P", PPD],
                        ["cupsdisable", "tarvo"]):
            result = cls.server.run(*command)
            if result.returncode != 0:
                cls.server.stop()
                raise AssertionError(" ".join(command) + ": " + result.stderr)

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()

    def host(self, *args):
        result = self.server.run(PDEHOST, "--bundle", BUNDLE, "--json", *args)
        return result.returncode, forget_job_ticket(json.loads(result.stdout))

    def test_the_queue_s_ppd_builds_the_pane_and_the_job_lands_in_the_spool(self):
        with tempfile.TemporaryDirectory() as tmp:
            source = os.path.join(tmp, "in.ps")
            with open(source, "w") as f:
                f.write("%!PS-Adobe-3.0\n%%EndComments\n%%Page: 1 1\nshowpage\n%%EOF\n")
            status, out = self.host("--queue", "tarvo", "--print", source,
                                    "--do", "choose tpop:1 3")
        self.assertEqual(status, 0, out["errors"])
        self.assertEqual(out["printer"], "tarvo")
        self.assertEqual(out["ppd"]["modelName"], "Tarvo C5000 Color Server")
        self.assertEqual([c["status"] for c in out["status"]], [0] * len(out["status"]))
        job = out["job"]["jobID"]
        self.assertGreater(job, 0)
        spooled = os.path.join(self.server.root, "spool", "d%05d-001" % job)
        with open(spooled) as f:
            self.assertEqual(f.read(), "%!PS-Adobe-3.0\n%%EndComments\n%%BeginSetup\n"
                                       "%%BeginFeature: *TestMode Draft\n/TestMode (Draft) def\n"
                                       "%%EndFeature\n%%EndSetup\n%%Page: 1 1\nshowpage\n%%EOF\n")
        self.assertFalse(os.path.exists(out["ppd"]["path"]), "the fetched PPD is cleaned up")

    def test_the_colour_pane_from_the_queue_s_ppd(self):
        with tempfile.TemporaryDirectory() as tmp:
            source = os.path.join(tmp, "in.ps")
            with open(source, "w") as f:
                f.write("%!PS-Adobe-3.0\n%%EndComments\n%%Page: 1 1\nshowpage\n%%EOF\n")
            result = self.server.run(PDEHOST, "--bundle", PIGMENTOR_BUNDLE, "--json", "--queue",
                                     "tarvo", "--print", source, "--do", "wait-fetch",
                                     "--do", "click sRd1:303", env_home=tmp)
            out = forget_job_ticket(json.loads(result.stdout))
        self.assertEqual(result.returncode, 0, out["errors"])
        self.assertEqual([c["status"] for c in out["status"]], [0] * len(out["status"]))
        self.assertEqual(out["summary"][0], {"title": "Print Mode", "value": "Grayscale"})
        spooled = os.path.join(self.server.root, "spool", "d%05d-001" % out["job"]["jobID"])
        with open(spooled) as f:
            job = f.read()
        setup = job.index("%%BeginSetup\n")
        self.assertLess(setup, job.index("%%BeginFeature: *QVColorMode Grayscale\n"))
        self.assertLess(job.index("%%EndSetup\n"), job.index("%%Page: 1 1\n"))

    def test_a_queue_the_server_lacks_is_reported(self):
        status, out = self.host("--queue", "nowhere")
        self.assertEqual(status, 1)
        self.assertIn("cannot read the CUPS queue nowhere", out["errors"][0])


if __name__ == "__main__":
    unittest.main()
