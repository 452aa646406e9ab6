#!/usr/bin/env python3
"""The Debian package: its control fields, its files, its desktop entries, icons and AppStream
metadata, Debian's own checks (lintian), an install and removal into a private dpkg root, and
both installed programs started from their desktop entries under Xvfb. Touches nothing of the
live system. Ends with "N passed, N failed"."""

import glob
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "e2e"))
import e2elib  # noqa: E402
from e2elib import BLUE, Failure, check, run, wait_until  # noqa: E402

PROGRAMS = ("coillab", "caplab")
PICTURES = {"coillab": ("ausschemspule.gif", "einschemspule.gif"),
            "caplab": ("ausschemkond.gif", "einschemkond.gif")}
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
METAINFO = "usr/share/metainfo/org.example.schaltlabor.%s.metainfo.xml"
# Debian 12's packages that the programs cannot run without.
REQUIRED_DEPENDS = ("libqt6core6", "libqt6gui6", "libqt6widgets6", "libcups2",
                    "qt6-qpa-plugins", "fonts-liberation", "libc6", "libstdc++6")


def expected_files():
    files = {"usr/bin/" + p for p in PROGRAMS}
    for p in PROGRAMS:
        files |= {"usr/share/%s/%s" % (p, g) for g in PICTURES[p]}
        files.add("usr/share/applications/%s.desktop" % p)
        files.add("usr/share/icons/hicolor/scalable/apps/%s.svg" % p)
        files |= {"usr/share/icons/hicolor/%dx%d/apps/%s.png" % (s, s, p) for s in ICON_SIZES}
        files.add("usr/share/man/man1/%s.1.gz" % p)
        files.add(METAINFO % p)
    files |= {"usr/share/doc/schaltlabor/copyright", "usr/share/doc/schaltlabor/changelog.Debian.gz",
              "usr/share/lintian/overrides/schaltlabor"}
    return files


class Package:
    def __init__(self, deb):
        self.deb = deb
        self.root = tempfile.mkdtemp(prefix="lab-package-")
        run(["dpkg-deb", "-x", deb, self.root])

    def field(self, name):
        return run(["dpkg-deb", "-f", self.deb, name]).decode().strip()

    def depends(self):
        """Dependency names mapped to their version constraints ("" when none)."""
        result = {}
        for item in self.field("Depends").split(","):
            match = re.fullmatch(r"\s*([a-z0-9.+-]+)(?::any)?\s*(\((.*)\))?\s*", item)
            check(match, "unreadable dependency %r" % item)
            result[match.group(1)] = match.group(3) or ""
        return result

    def path(self, relative):
        return os.path.join(self.root, relative)

    def desktop_entry(self, program):
        entry = {}
        with open(self.path("usr/share/applications/%s.desktop" % program), encoding="utf-8") as f:
            for line in f:
                if "=" in line and not line.startswith("#"):
                    key, value = line.rstrip("\n").split("=", 1)
                    entry[key] = value
        return entry

    def cleanup(self):
        shutil.rmtree(self.root, ignore_errors=True)


# ---------------------------------------------------------------- the checks


def test_control(pkg):
    check(pkg.field("Package") == "schaltlabor", "package name %r" % pkg.field("Package"))
    check(pkg.field("Architecture") == run(["dpkg", "--print-architecture"]).decode().strip(),
          "architecture %r" % pkg.field("Architecture"))
    check(re.fullmatch(r"\d+\.\d+\.\d+-\d+", pkg.field("Version")),
          "version %r" % pkg.field("Version"))
    check(pkg.field("Section") == "science", "section %r" % pkg.field("Section"))
    check(pkg.field("Maintainer") and pkg.field("Description"), "maintainer and description")
    check(os.path.basename(pkg.deb) == "schaltlabor_%s_%s.deb" % (
        pkg.field("Version"), pkg.field("Architecture")), "file name %s" % pkg.deb)


def test_depends(pkg):
    depends = pkg.depends()
    missing = [d for d in REQUIRED_DEPENDS if d not in depends]
    check(not missing, "missing dependencies %s in %r" % (missing, pkg.field("Depends")))
    # Qt 6 of Debian 12 is 6.4; a constraint above it could never be met there.
    for name in ("libqt6core6", "libqt6gui6", "libqt6widgets6"):
        constraint = depends[name]
        if constraint:
            op, version = constraint.split()
            check(op == ">=" and subprocess.run(
                ["dpkg", "--compare-versions", version, "le", "6.4.2"]).returncode == 0,
                "%s (%s) is beyond Debian 12's Qt" % (name, constraint))


def test_apt_resolves(pkg):
    # A simulation only: apt checks that every dependency can be met on this system.
    out = subprocess.run(["apt-get", "install", "--simulate", "--no-install-recommends", pkg.deb],
                         capture_output=True, timeout=120)
    text = out.stdout.decode(errors="replace") + out.stderr.decode(errors="replace")
    check(out.returncode == 0 and re.search(r"^Inst schaltlabor ", text, re.M),
          "apt-get --simulate did not install the package:\n" + text[-1500:])


def test_file_list(pkg):
    found = set()
    for folder, _, files in os.walk(pkg.root):
        for name in files:
            found.add(os.path.relpath(os.path.join(folder, name), pkg.root))
    expected = expected_files()
    check(found == expected, "unexpected %s, missing %s" % (sorted(found - expected),
                                                             sorted(expected - found)))


def test_programs_are_lean(pkg):
    for program in PROGRAMS:
        path = pkg.path("usr/bin/" + program)
        check(os.access(path, os.X_OK), "%s is not executable" % program)
        sections = run(["readelf", "-S", "-W", path]).decode()
        check(".debug_info" not in sections, "%s still carries debug information" % program)
        needed = run(["readelf", "-d", path]).decode()
        # libcups is loaded when the programs print; test_depends requires its package.
        for lib in ("libQt6Widgets.so.6", "libQt6Gui.so.6"):
            check(lib in needed, "%s does not link %s" % (program, lib))
        check("RPATH" not in needed and "RUNPATH" not in needed,
              "%s keeps a build-tree library path" % program)


def test_desktop_files(pkg):
    for program in PROGRAMS:
        path = pkg.path("usr/share/applications/%s.desktop" % program)
        out = subprocess.run(["desktop-file-validate", path], capture_output=True, timeout=30)
        errors = [line for line in out.stdout.decode(errors="replace").splitlines()
                  if "error:" in line or "warning:" in line]
        check(out.returncode == 0 and not errors, "%s: %s" % (program, errors))
        entry = pkg.desktop_entry(program)
        check(entry.get("Type") == "Application", "%s Type" % program)
        check(entry.get("Exec", "").split()[0] == program, "%s Exec %r" % (program,
                                                                         entry.get("Exec")))
        check(entry.get("Icon") == program, "%s Icon" % program)
        categories = entry.get("Categories", "").split(";")
        check("Education" in categories and "Science" in categories,
              "%s categories %r" % (program, categories))
        check(entry.get("Terminal") == "false", "%s runs without a terminal" % program)
        check(entry.get("Name") and entry.get("Comment"), "%s name and comment" % program)


def test_lintian(pkg):
    out = subprocess.run(["lintian", pkg.deb], capture_output=True, timeout=300)
    text = out.stdout.decode(errors="replace") + out.stderr.decode(errors="replace")
    found = [line for line in text.splitlines() if line.startswith(("E:", "W:"))]
    check(not found and out.returncode == 0, "lintian says:\n" + text[-3000:])


def test_appstream(pkg):
    paths = [pkg.path(METAINFO % p) for p in PROGRAMS]
    out = subprocess.run(["appstreamcli", "validate", "--no-net", "--explain"] + paths,
                         capture_output=True, timeout=60)
    check(out.returncode == 0, "appstreamcli validate:\n" +
          out.stdout.decode(errors="replace")[-3000:])
    for program in PROGRAMS:
        with open(pkg.path(METAINFO % program), encoding="utf-8") as f:
            text = f.read()
        entry = pkg.desktop_entry(program)
        check("<launchable type=\"desktop-id\">%s.desktop</launchable>" % program in text,
              "%s metainfo launches another desktop entry" % program)
        check("<name>%s</name>" % entry["Name"] in text, "%s metainfo name" % program)
        for category in ("Education", "Science"):
            check("<category>%s</category>" % category in text, "%s %s" % (program, category))
        for image in re.findall(r"<image>[^<]*/([^/<]+)</image>", text):
            check(os.path.isfile(os.path.join(os.path.dirname(os.path.dirname(HERE)), "docs",
                                              "screenshots", image)),
                  "%s screenshot %s is not among docs/screenshots" % (program, image))


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    check(head[:8] == b"\x89PNG\r\n\x1a\n" and head[12:16] == b"IHDR", "%s is no PNG" % path)
    return struct.unpack(">II", head[16:24])


def test_icons(pkg):
    for program in PROGRAMS:
        for size in ICON_SIZES:
            path = pkg.path("usr/share/icons/hicolor/%dx%d/apps/%s.png" % (size, size, program))
            check(png_size(path) == (size, size), "%s is %r" % (path, png_size(path)))
        with open(pkg.path("usr/share/icons/hicolor/scalable/apps/%s.svg" % program),
                  encoding="utf-8") as f:
            check("<svg" in f.read(), "%s.svg is no SVG" % program)


def test_pictures(pkg):
    for program in PROGRAMS:
        for picture in PICTURES[program]:
            with open(pkg.path("usr/share/%s/%s" % (program, picture)), "rb") as f:
                check(f.read(6) in (b"GIF87a", b"GIF89a"), "%s is no GIF" % picture)


def test_dpkg_root(pkg):
    # dpkg installs and removes the package in a root of its own; dependencies are not there.
    root = tempfile.mkdtemp(prefix="lab-dpkg-root-")
    try:
        os.makedirs(os.path.join(root, "var/lib/dpkg/info"))
        os.makedirs(os.path.join(root, "var/lib/dpkg/updates"))
        open(os.path.join(root, "var/lib/dpkg/status"), "w").close()
        dpkg = ["dpkg", "--root=" + root, "--force-depends", "--force-not-root"]
        run(dpkg + ["-i", pkg.deb], timeout=120)
        status = run(["dpkg-query", "--admindir=" + root + "/var/lib/dpkg", "-W",
                      "-f=${Status}", "schaltlabor"]).decode()
        check(status == "install ok installed", "status after install %r" % status)
        listed = {p.lstrip("/") for p in run(["dpkg-query", "--admindir=" + root +
                                              "/var/lib/dpkg", "-L", "schaltlabor"])
                  .decode().split("\n") if p.strip()}
        check(expected_files() <= listed, "dpkg lists %s" % sorted(expected_files() - listed))
        for relative in expected_files():
            check(os.path.isfile(os.path.join(root, relative)), "%s not installed" % relative)
        run(dpkg + ["-r", "schaltlabor"], timeout=120)
        left = [os.path.relpath(os.path.join(d, f), root) for d, _, files in
                os.walk(os.path.join(root, "usr")) for f in files] if os.path.isdir(
            os.path.join(root, "usr")) else []
        check(not left, "left after removal: %s" % left)
        for folder in ("usr/share/coillab", "usr/share/caplab"):
            check(not os.path.exists(os.path.join(root, folder)), "%s left" % folder)
    finally:
        shutil.rmtree(root, ignore_errors=True)


def picture_shown(p, layout, gif):
    """Whether the window shows the GIF stretched over the screen's panels, sampled on a grid."""
    x0, y0, w, h = layout.sx(4), layout.sy(4), layout.sx(310), layout.sy(192)
    data = run(["convert", gif, "-resize", "%dx%d!" % (w, h), "-depth", "8", "rgb:-"])
    samples = [(x, y) for y in range(h // 20, h, h // 10) for x in range(w // 20, w, w // 10)]

    def shown():
        shot = p.screenshot()
        close = 0
        for x, y in samples:
            i = (y * w + x) * 3
            close += max(abs(a - b) for a, b in zip(p.pixel(shot, x0 + x, y0 + y),
                                                    data[i:i + 3])) < 60
        return close >= len(samples) * 0.8

    try:
        return wait_until(shown, 10, "the picture")
    except Failure:
        return False


def run_installed(pkg, program, env):
    """Starts the program by its desktop entry's Exec line with the unpacked bin on the path,
    goes through the title screen and the keys help, checks the working screen and a picture
    from the data folder, and closes the window like its close button."""
    command = pkg.desktop_entry(program)["Exec"].split()[0]
    bindir = pkg.path("usr/bin")
    env = dict(env, PATH=bindir + os.pathsep + env.get("PATH", ""))
    check(shutil.which(command, path=env["PATH"]) == os.path.join(bindir, command),
          "Exec %s is not the installed program" % command)
    p = e2elib.Program(command, env, bindir)
    try:
        layout = p.through_title_and_help()
        shot = p.screenshot()
        for y in (layout.voltage_zero + 5, layout.current_zero + 5):
            check(p.pixel(shot, layout.sx(80), y) == BLUE, "blue graph panel at y %d" % y)
        check(p.pixel(shot, layout.circuit_left + 3, layout.voltage_top + 3) == BLUE,
              "blue circuit panel")
        # The picture comes from the installed data folder: no box says it is missing.
        p.menu(2, 8)
        check(picture_shown(p, layout, pkg.path("usr/share/%s/%s" % (program,
                                                                    PICTURES[program][1]))),
              "the picture is not shown")
        check(len(p.windows()) == 1, "a message box beside the picture")
        p.focus()
        p.key("space")
        wait_until(lambda: p.pixel(p.screenshot(), layout.sx(80), layout.voltage_zero + 5)
                   == BLUE, 10, "the graph after the picture")
        run(["wmctrl", "-i", "-c", str(p.wid)], env)
        status = p.wait_exit(15)
        check(status == 0, "exit status %d; output:\n%s" % (status, p.output()))
    finally:
        p.stop()


def run_scaled(pkg, program, env):
    """At a screen scale of 2 the title text is drawn in device pixels: a picture drawn at half
    the size and doubled would make every 2 x 2 block of one of the four alignments one colour."""
    bindir = pkg.path("usr/bin")
    p = e2elib.Program(program, dict(env, QT_SCALE_FACTOR="2"), bindir)
    try:
        layout = p.find_drawing_area()
        x1, y1, x2, y2 = layout.sx(30), layout.sy(30), layout.sx(150), layout.sy(60)

        def mixed(dx, dy):
            return sum(1 for y in range(y1 + dy, y2, 2) for x in range(x1 + dx, x2, 2)
                       if len({p.pixel(shot, x + i, y + j) for i in (0, 1) for j in (0, 1)}) > 1)

        def title_drawn():
            return p.count(p.screenshot(), x1, y1, x2, y2, e2elib.WHITE) > 200

        wait_until(title_drawn, 10, "the title text")
        shot = p.screenshot()
        counts = [mixed(dx, dy) for dx in (0, 1) for dy in (0, 1)]
        check(min(counts) > 50, "title text looks pixel-doubled: %s" % counts)
        run(["wmctrl", "-i", "-c", str(p.wid)], p.env)
        status = p.wait_exit(15)
        check(status == 0, "exit status %d; output:\n%s" % (status, p.output()))
    finally:
        p.stop()


def test_no_desktop(pkg):
    """Without a display, and with one that cannot be opened, each program says so in one
    German line and ends with status 1 instead of Qt's abort."""
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    for program in PROGRAMS:
        for display in (None, ":%d" % e2elib.free_display()):
            case_env = dict(env, DISPLAY=display) if display else env
            out = subprocess.run([pkg.path("usr/bin/" + program)], env=case_env,
                                 capture_output=True, timeout=30)
            lines = out.stderr.decode(errors="replace").splitlines()
            check(out.returncode == 1 and len(lines) == 1 and "grafische" in lines[0],
                  "%s with DISPLAY %r: status %d, output %r" % (program, display,
                                                               out.returncode, lines))


def main():
    if len(sys.argv) != 2:
        print("usage: package_test.py PACKAGE.deb")
        return 2
    deb = os.path.abspath(sys.argv[1])
    results = []

    def case(name, function, *args):
        start = time.monotonic()
        try:
            function(*args)
            results.append(True)
            print("PASS %-28s %5.1f s" % (name, time.monotonic() - start))
        except Exception as error:  # every case is reported; the next still runs
            results.append(False)
            print("FAIL %-28s %s" % (name, error))
        sys.stdout.flush()

    pkg = Package(deb)
    try:
        case("control fields", test_control, pkg)
        case("dependencies", test_depends, pkg)
        case("apt resolves", test_apt_resolves, pkg)
        case("file list", test_file_list, pkg)
        case("lean programs", test_programs_are_lean, pkg)
        case("desktop entries", test_desktop_files, pkg)
        case("icons", test_icons, pkg)
        case("pictures", test_pictures, pkg)
        case("lintian", test_lintian, pkg)
        case("appstream metadata", test_appstream, pkg)
        case("dpkg root install/remove", test_dpkg_root, pkg)
        server = e2elib.XServer()
        try:
            for program in PROGRAMS:
                case("installed " + program, run_installed, pkg, program, server.env)
            case("installed coillab, scale 2", run_scaled, pkg, "coillab", server.env)
        finally:
            server.stop()
        case("no graphical desktop", test_no_desktop, pkg)
    finally:
        pkg.cleanup()
    passed = results.count(True)
    failed = results.count(False)
    print("%d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
