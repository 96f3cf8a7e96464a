"""What every end-to-end script shares, whatever it drives: failures with a message, bounded
waits, processes in their own process groups that are always ended, the tools a test needs,
and the files the build makes for the scripts.

Every wait here has a deadline and every process started is ended, so a test that goes wrong
fails with a message instead of hanging.
"""
import os
import queue
import shutil
import signal
import subprocess
import sys
import threading
import time


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


# The exit code by which a test tells CTest that it did not run, and why it printed.
SKIPPED = 77

# The default preset's build, where a script run by hand finds what the build made for it.
SOURCE_ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..",
                                            ".."))
DEFAULT_SUPPORT_DIR = os.path.join(SOURCE_ROOT, "build", "default", "tests", "support")


def require_tools(*tools):
    """Fails naming every one of the programs that is not installed. The harness modules call
    it for the programs they drive, so a script names only the tools it runs itself."""
    missing = [tool for tool in tools if not shutil.which(tool)]
    check(not missing, f"{', '.join(missing)} not installed "
                       "(tools/install-deps.sh all installs what the tests need)")


def built_file(name):
    """A file the build makes for the scripts (the screen's layout, the PE summary tool): in
    $KZ_TEST_SUPPORT_DIR, which CTest sets, else in the default preset's build."""
    folder = os.environ.get("KZ_TEST_SUPPORT_DIR") or DEFAULT_SUPPORT_DIR
    path = os.path.join(folder, name)
    check(os.path.exists(path), f"{path} is missing (cmake --build --preset default makes it)")
    return path


def wait_until(condition, timeout, what, step=0.1):
    """Polls condition() until it returns something true; fails naming what after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"{what} within {timeout:.0f} s")
        time.sleep(step)


def time_limit(seconds):
    """A last guard against hanging: the whole test fails after seconds."""
    def expire(*_):
        raise Failure("the test timed out")
    signal.signal(signal.SIGALRM, expire)
    signal.alarm(seconds)


def stop_process(proc, grace=3.0):
    """Ends a process started in its own session, with its whole process group."""
    if proc is None or proc.poll() is not None:
        return
    try:
        os.killpg(proc.pid, signal.SIGTERM)
    except ProcessLookupError:
        return
    try:
        proc.wait(grace)
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.wait(5)


def run(cmd, env, timeout=10, **kw):
    return subprocess.run(cmd, env=env, timeout=timeout, check=True, **kw)


class Service:
    """A process a test starts beside the program and ends with it, also at the end of a with
    block."""

    def stop(self):
        stop_process(self.proc)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


class Process:
    """A program under test in its own process group, its output read line by line."""

    def __init__(self, command, env, cwd=None):
        self.env = env
        self.proc = subprocess.Popen(command, env=env, cwd=cwd, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, text=True, start_new_session=True)
        self.lines = queue.Queue()
        self.output = []  # every line of standard output, also those already waited for
        self.stderr = []
        threading.Thread(target=self._read, args=(self.proc.stdout, self._output_line),
                         daemon=True).start()
        threading.Thread(target=self._read, args=(self.proc.stderr, self.stderr.append),
                         daemon=True).start()

    @staticmethod
    def _read(stream, sink):
        for line in stream:
            sink(line.rstrip("\n"))

    def _output_line(self, line):
        self.output.append(line)
        self.lines.put(line)

    def last_errors(self, count=5):
        return " | ".join(self.stderr[-count:])

    def windows(self):
        """The ids of the windows the process has made, shown or not, as far as the X server
        of its environment answers."""
        try:
            found = subprocess.run(["xdotool", "search", "--pid", str(self.proc.pid)],
                                   env=self.env, timeout=10, stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL, text=True)
        except (subprocess.SubprocessError, OSError) as e:
            return f"unknown ({e})"
        return found.stdout.split()

    def describe(self, count=5):
        """What the program was doing: running or its exit status, its last lines of output
        and of errors, and its windows."""
        code = self.proc.poll()
        status = "still running" if code is None else f"ended with code {code}"
        if code is not None and code < 0:
            status = f"killed by signal {-code}"
        return (f"the program {status}; output: {' | '.join(self.output[-count:]) or 'none'}; "
                f"errors: {self.last_errors(count) or 'none'}; windows: {self.windows() or 'none'}")

    def wait_line(self, prefix, timeout):
        """The next line of standard output that starts with prefix and a space."""
        deadline = time.monotonic() + timeout
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                raise Failure(f"the program printed no '{prefix}' line within {timeout:.0f} s; "
                              f"{self.describe()}")
            try:
                line = self.lines.get(timeout=min(left, 0.5))
            except queue.Empty:
                if self.proc.poll() is not None and self.lines.empty():
                    time.sleep(0.2)  # the last lines of its errors
                    raise Failure(f"no '{prefix}' line: {self.describe()}")
                continue
            if line.startswith(prefix + " "):
                return line

    def wait_exit(self, timeout):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program did not end within {timeout:.0f} s; {self.describe()}")

    def running(self):
        return self.proc.poll() is None

    def stop(self):
        stop_process(self.proc)


def report_failure(failure, processes):
    """Prints what each process of a failed run was doing and the failure; returns 1."""
    for process in processes:
        print(process.describe(), file=sys.stderr)
    print(f"FAIL: {failure}", file=sys.stderr)
    return 1


def tear_down(processes, services, workdir):
    """Stops the processes, then the services (None for one never started), and removes the
    working folder, which KZ_E2E_KEEP keeps to look at."""
    if os.environ.get("KZ_E2E_KEEP"):
        print(f"kept: {workdir}", file=sys.stderr)
    for process in processes:
        process.stop()
    for service in services:
        if service:
            service.stop()
    if not os.environ.get("KZ_E2E_KEEP"):
        shutil.rmtree(workdir, ignore_errors=True)
