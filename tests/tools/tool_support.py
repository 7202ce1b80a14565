"""What the tool tests share: a tovrane-server of their own, an Xvfb display, a host run in
the background with its standard error kept, finding, closing and placing a window, and the
size of a PNG."""
import ctypes
import ctypes.util
import os
import struct
import subprocess
import tempfile
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
    """An Xvfb server on a free display: (its process, the DISPLAY value). It serves one
    client after another: without -noreset it resets when its last client leaves, and a host
    connecting during that reset is refused ("cannot open a display")."""
    read, write = os.pipe()
    process = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                "1280x1024x24", "-nolisten", "tcp", "-noreset"],
                               pass_fds=(write,), stderr=subprocess.DEVNULL)
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


def shown_window(test, env, title, process, what="the pane's window", seconds=60):
    """The window titled `title` that the background `process` shows; fails `test` with the
    process's standard error when it does not appear within `seconds` (a host under ASan
    starting beside other GUI tests on two cores can take long to show)."""
    window = find_window(env, title, seconds)
    if window is None:
        test.fail("%s did not appear; the host's standard error:\n%s" % (what, process.stderr()))
    return window


def click_in_window(env, window, points, pause):
    """A person's left clicks at `points`, (x, y) relative to the window's top left corner,
    each followed by `pause` seconds."""
    x, y = window_origin(env, window)
    for cx, cy in points:
        subprocess.run(["xdotool", "mousemove", str(x + cx), str(y + cy), "click", "1"],
                       env=env, check=True)
        time.sleep(pause)


class Background:
    """A program run in the background (standard output piped, text), its standard error kept
    in a file so that a failing check can show what the program said."""

    def __init__(self, command, env):
        self.errors = tempfile.TemporaryFile(mode="w+")
        self.process = subprocess.Popen(command, env=env, stdout=subprocess.PIPE,
                                        stderr=self.errors, text=True)

    def communicate(self, timeout):
        """Its standard output, once it has ended within `timeout` seconds."""
        out, _ = self.process.communicate(timeout=timeout)
        return out

    @property
    def returncode(self):
        return self.process.returncode

    def stderr(self):
        """Its standard error; a program still running is ended first."""
        if self.process.poll() is None:
            self.process.kill()
            self.process.communicate()
        self.errors.seek(0)
        return self.errors.read()

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.communicate()
        if self.process.stdout:
            self.process.stdout.close()
        self.errors.close()


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]


def close_window(env, window):
    """Asks a window to close as the close button of its title bar does (the X client message
    WM_DELETE_WINDOW); there is no window manager on the test's display to do it."""
    x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(_XEvent)]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(env["DISPLAY"].encode())
    assert display, "cannot open the display " + env["DISPLAY"]
    event = _XEvent()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = int(window)
    event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.xclient.format = 32
    event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    x11.XSendEvent(display, int(window), 0, 0, ctypes.byref(event))
    x11.XFlush(display)
    x11.XCloseDisplay(display)


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
