"""What the tool tests share: a tovrane-server of their own, an Xvfb display, finding a
window and its origin with xdotool, and the size of a PNG."""
import os
import struct
import subprocess
import time


class Server:
    """A tovrane-server with the example description on a free loopback port."""

    def __init__(self, *args):
        self.args = args

    def __enter__(self):
        description = os.path.join(os.environ["PIGMENTOR_SOURCE_DIR"], "examples",
                                   "tovrane-server.json")
        self.process = subprocess.Popen(
            [os.environ["TOVRANE_SERVER"], "--port", "0", *self.args, description],
            stdout=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()
        prefix = "listening on 127.0.0.1:"
        assert line.startswith(prefix), line
        self.port = int(line[len(prefix):])
        return self

    def __exit__(self, *exc):
        self.process.terminate()
        self.process.wait(timeout=5)
        self.process.stdout.close()


def start_xvfb():
    """An Xvfb server on a free display: (its process, the DISPLAY value)."""
    read, write = os.pipe()
    process = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                "1280x1024x24", "-nolisten", "tcp"], pass_fds=(write,),
                               stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as f:
        return process, ":" + f.readline().strip()


def find_window(env, title, seconds):
    """The id of the visible window titled exactly `title`, or None after `seconds`."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title],
                               env=env, capture_output=True, text=True).stdout.split()
        if found:
            return found[0]
        time.sleep(0.1)
    return None


def window_origin(env, window):
    """The screen position (x, y) of a window's top left corner."""
    geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window],
                              env=env, capture_output=True, text=True).stdout
    where = dict(line.split("=") for line in geometry.split())
    return int(where["X"]), int(where["Y"])


def png_size(path):
    """(width, height) of a PNG file, or None when it is no PNG."""
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", head[16:24])


def forget_job_ticket(out):
    """Removes the job-ticket file a run left in /tmp for the print filter (none runs here)."""
    path = (out.get("jobTicketFile") or {}).get("path", "")
    if path.startswith("/tmp/Tarvo.temp") and os.path.isfile(path):
        os.remove(path)
    return out
