"""A headless LibreOffice with Talvio's extension, on a profile, extension cache and settings
database of its own, driven through Python-UNO."""

import os
import subprocess
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.connection import NoConnectException

SOFFICE = "/usr/lib/libreoffice/program/soffice"
UNOPKG = "/usr/lib/libreoffice/program/unopkg"
OXT = os.environ.get("TALVIO_OXT", "")
TALVIO = os.environ.get("TALVIO_BINARY", "")


def prop(name, value):
    p = PropertyValue()
    p.Name = name
    p.Value = value
    return p


def wait_until(condition, seconds=60, what="the condition"):
    """Waits for an event seen through its effect: polls condition until it holds."""
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.05)


class Office:
    """One soffice process. Root may not install an extension for a user, so the extension
    goes into a shared-extension folder of this office's own, which works for everybody."""

    def __init__(self, env=None):
        self.folder = tempfile.mkdtemp(prefix="talvio-calc-")
        self.pipe = "talvio_%d_%s" % (os.getpid(), os.path.basename(self.folder))
        self.settings = os.path.join(self.folder, "settings.db")
        self.env = dict(os.environ, TALVIO_SETTINGS=self.settings)
        self.env.update(env or {})
        self.bootstrap = [
            "-env:UserInstallation=" + uno.systemPathToFileUrl(self.folder + "/profile"),
            "-env:UNO_SHARED_PACKAGES_CACHE=" + uno.systemPathToFileUrl(self.folder + "/shared"),
        ]
        self.process = self.context = self.desktop = None

    def talvio(self, *arguments):
        """Talvio's command-line program on this office's settings: what it printed."""
        return subprocess.run([TALVIO] + list(arguments), env=self.env, check=True,
                              capture_output=True, text=True).stdout

    def install(self):
        subprocess.run([UNOPKG, "add", "--shared", "--suppress-license"] + self.bootstrap + [OXT],
                       env=self.env, check=True, capture_output=True)
        return self

    def start(self, headless=True):
        mode = ["--headless", "--invisible"] if headless else []
        with open(os.path.join(self.folder, "soffice.log"), "ab") as log:
            self.process = subprocess.Popen(
                [SOFFICE] + mode + ["--norestore", "--nologo", "--nodefault"]
                + self.bootstrap + ["--accept=pipe,name=%s;urp;" % self.pipe],
                env=self.env, stdout=log, stderr=log)
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext(
            "com.sun.star.bridge.UnoUrlResolver", local)
        deadline = time.monotonic() + 120
        while self.context is None:
            try:
                self.context = resolver.resolve(
                    "uno:pipe,name=%s;urp;StarOffice.ComponentContext" % self.pipe)
            except NoConnectException:
                if self.process.poll() is not None or time.monotonic() > deadline:
                    raise RuntimeError("soffice did not start: see " + self.folder)
                time.sleep(0.1)
        self.desktop = self.create("com.sun.star.frame.Desktop")
        return self

    def create(self, service):
        return self.context.ServiceManager.createInstanceWithContext(service, self.context)

    def stop(self):
        if self.desktop is not None:
            try:
                self.desktop.terminate()
            except Exception:  # the bridge goes away with the process
                pass
        if self.process is not None:
            try:
                self.process.wait(timeout=60)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.desktop = self.context = self.process = None

    def new_sheet(self, hidden=True):
        return self.desktop.loadComponentFromURL(
            "private:factory/scalc", "_blank", 0, (prop("Hidden", hidden),))

    def dispatch(self, document, command):
        helper = self.create("com.sun.star.frame.DispatchHelper")
        helper.executeDispatch(document.CurrentController.Frame,
                               "org.talvio.calc:" + command, "", 0, ())

    def loaded_libraries(self):
        """The shared libraries mapped into soffice's own process (soffice.bin)."""
        for pid in os.listdir("/proc"):
            if not pid.isdigit():
                continue
            try:
                with open("/proc/%s/cmdline" % pid, "rb") as f:
                    command = f.read().decode(errors="replace")
                if "soffice.bin" not in command or self.pipe not in command:
                    continue
                with open("/proc/%s/maps" % pid) as f:
                    return {line.split()[-1].rsplit("/", 1)[-1] for line in f
                            if "/" in line}
            except OSError:
                continue
        raise RuntimeError("soffice.bin is not running")


def formulas(sheet, cells):
    """Puts formulas into column A from row 1 and gives back the cells."""
    result = []
    for row, formula in enumerate(cells):
        cell = sheet.getCellByPosition(0, row)
        cell.setFormula(formula)
        result.append(cell)
    return result
