#!/usr/bin/env bash
# Builds the Debian package and tests it as a user gets it: apt-get installs it in a clean
# Debian 12 root made by mmdebstrap, talvio converts an amount, the session bus starts the add-in
# manager from /usr/share/dbus-1/services for `talvio addin`, and after apt-get purge nothing of
# the package is left. Where no such root can be made, the same checks run on the tree installed
# with DESTDIR instead, and the script says so.
#
#   scripts/test-deb.sh              build, package and test
#   scripts/test-deb.sh --with-calc  also put LibreOffice Calc in the root (about 300 MB more),
#                                    and check that a new profile's Calc computes a Talvio cell
#   scripts/test-deb.sh --inside DEB [--with-calc]
#                                    the checks, run inside the root (copied there by the above)
set -euo pipefail

# The amount every check converts, and what it must print.
convert_args=(convert 1000 BEF FRF)
convert_expected="162.61 FRF"
addin_expected="name Talvio 1"
calc_formula='=TALVIO.CONVERT(1000;"BEF";"FRF")'
calc_expected="162.61"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

expect_line() { # expect_line WHAT EXPECTED OUTPUT
    grep -qxF "$2" <<<"$3" || fail "$1: expected a line \"$2\", got: $3"
    echo "ok: $1 printed \"$2\""
}

# Everything on the root's file system but what changes by itself (logs, caches, apt's lists,
# dpkg's bookkeeping copies, the folder Calc fills at its first start) and the home the checks
# run in.
file_list() {
    find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /run -o -path /tmp \
        -o -path /var/log -o -path /var/cache -o -path /var/lib/apt -o -path /root \
        -o -path /var/spool/libreoffice \
        -o -path '/var/lib/dpkg/*-old' \) -prune -o -print | sort
}

# A new profile's headless Calc (the bundled extension comes with it) computes one cell.
calc_cell() {
    python3 - "$calc_formula" <<'PY'
import os, subprocess, sys, tempfile, time
import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.connection import NoConnectException

folder = tempfile.mkdtemp(prefix="calc-")
pipe = "talvio_package_test"
office = subprocess.Popen(
    ["/usr/lib/libreoffice/program/soffice", "--headless", "--invisible", "--norestore",
     "--nologo", "--nodefault", "-env:UserInstallation=" + uno.systemPathToFileUrl(folder),
     "--accept=pipe,name=%s;urp;" % pipe], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
local = uno.getComponentContext()
resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
deadline = time.monotonic() + 180
while True:
    try:
        context = resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
        break
    except NoConnectException:
        if office.poll() is not None or time.monotonic() > deadline:
            sys.exit("soffice did not start")
        time.sleep(0.2)
desktop = context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", context)
hidden = PropertyValue()
hidden.Name, hidden.Value = "Hidden", True
document = desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0, (hidden,))
cell = document.Sheets.getByIndex(0).getCellByPosition(0, 0)
cell.setFormula(sys.argv[1])
document.calculateAll()
print(cell.getString())
document.close(True)
try:
    desktop.terminate()
except Exception:  # the bridge goes away with the process
    pass
office.wait(timeout=60)
PY
}

inside() {
    local deb=$1
    export HOME=/tmp/talvio-home PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive
    mkdir -p "$HOME"
    file_list >/tmp/files-before
    apt-get install -y -q "$deb" >/tmp/apt-install.log 2>&1 || { cat /tmp/apt-install.log; fail "apt-get install"; }
    echo "ok: apt-get install $(basename "$deb")"
    dpkg -L talvio >/tmp/talvio-files

    expect_line "talvio ${convert_args[*]}" "$convert_expected" "$(talvio "${convert_args[@]}")"
    local addin
    addin=$(printf 'names\nquit\n' | dbus-run-session -- talvio addin 2>&1) || fail "talvio addin: $addin"
    expect_line "talvio addin" "$addin_expected" "$addin"
    [ "${2:-}" != --with-calc ] || expect_line "Calc's $calc_formula" "$calc_expected" "$(calc_cell)"

    # Also what the installation brought in only because a dependency recommends it.
    apt-get purge -y -q --autoremove -o APT::AutoRemove::RecommendsImportant=false talvio \
        >/tmp/apt-purge.log 2>&1 || { cat /tmp/apt-purge.log; fail "apt-get purge"; }
    echo "ok: apt-get purge --autoremove talvio"
    local left
    left=$(while read -r path; do [ "$path" = /. ] || [ ! -e "$path" ] || [ -d "$path" ] || echo "$path"; done </tmp/talvio-files)
    [ -z "$left" ] || fail "files of the package left after purge: $left"
    file_list >/tmp/files-after
    local changed
    changed=$(diff /tmp/files-before /tmp/files-after || true)
    [ -z "$changed" ] || fail "the root differs from before the installation: $changed"
    echo "ok: after purge the root holds the same files as before"
}

if [ "${1:-}" = --inside ]; then
    inside "$2" "${3:-}"
    exit 0
fi
with_calc=""
[ "${1:-}" != --with-calc ] || with_calc=--with-calc

cd "$(dirname "$0")/.."
# shellcheck source=scripts/lib.sh
source scripts/lib.sh
started=$SECONDS
install_missing "${calc_packages[@]}" mmdebstrap

build=build/release
echo "== building the package"
# The package installs under /usr, and the library looks for its message file where it is installed.
cmake --preset release -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
nice -n 19 cmake --build "$build" -j2 --target talvio_package_contents
rm -f "$build"/talvio_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
# Back to the usual: an install or cpack of this build builds everything first.
cmake -U CMAKE_SKIP_INSTALL_ALL_DEPENDENCY "$build" >/dev/null
deb=$(echo "$build"/talvio_*_amd64.deb)
[ -f "$deb" ] || fail "cpack made no package"
echo "== $deb: $(du -k "$deb" | cut -f1) KiB"
dpkg-deb --field "$deb" Depends

work=$build/package-test
mkdir -p "$work"
echo "== installing it in a clean Debian 12 root"
# The hook marks that the checks ran and whether they failed, so that a failing check is told
# apart from a root that could not be made.
rm -f "$work/checks-ran" "$work/checks-failed"
includes=dbus-daemon
[ -z "$with_calc" ] || includes+=,libreoffice-calc-nogui,python3-uno
mmdebstrap --variant=apt --include="$includes" --quiet \
    --customize-hook="copy-in $deb $0 /tmp" \
    --customize-hook="touch $PWD/$work/checks-ran; chroot \"\$1\" bash /tmp/$(basename "$0") --inside /tmp/$(basename "$deb") $with_calc || touch $PWD/$work/checks-failed" \
    bookworm /dev/null || true
if [ -f "$work/checks-ran" ]; then
    [ ! -f "$work/checks-failed" ] || fail "the checks in the Debian 12 root failed"
    echo "== passed in a clean Debian 12 root in $((SECONDS - started)) s"
    exit 0
fi

echo "== no Debian 12 root could be made here (mmdebstrap failed): checking the DESTDIR tree instead"
root=$work/destdir
rm -rf "$root"
DESTDIR=$PWD/$root cmake --install "$build" >/dev/null
talvio=$root/usr/bin/talvio
lib=$root/usr/$(cd "$build" && cmake -LA -N . 2>/dev/null | sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p')
run_installed() { LD_LIBRARY_PATH=$lib TALVIO_MODULE_DIR=$lib/talvio "$talvio" --messages "$root/usr/share/talvio/talvio.msg" "$@"; }
export HOME=$PWD/$work/home
rm -rf "$HOME" && mkdir -p "$HOME"
expect_line "talvio ${convert_args[*]}" "$convert_expected" "$(run_installed "${convert_args[@]}")"
sed "s|^Exec=/usr|Exec=$PWD/$root/usr|" "$root"/usr/share/dbus-1/services/*.service -i
cat >"$work/session.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>
<servicedir>$PWD/$root/usr/share/dbus-1/services</servicedir>
<policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/><allow own="*"/></policy>
</busconfig>
CONF
addin=$(printf 'names\nquit\n' | dbus-run-session --config-file="$work/session.conf" -- \
    env LD_LIBRARY_PATH="$lib" TALVIO_MODULE_DIR="$lib/talvio" "$talvio" \
    --messages "$root/usr/share/talvio/talvio.msg" addin 2>&1) || fail "talvio addin: $addin"
expect_line "talvio addin" "$addin_expected" "$addin"
echo "== passed on the DESTDIR tree (no package installation, no purge) in $((SECONDS - started)) s"
