#!/usr/bin/env python3
"""The Debian package, tested as installed.

Builds the package from an already built tree (cpack, no second build),
checks its file list and control fields, runs lintian, desktop-file-validate
and appstreamcli on it, unpacks it into a temporary root and starts the
program from there on a virtual X display with a fresh HOME: the program must
find its Qt libraries on the system, create the user's data folder with an
encrypted cookbook, show its window, close when asked, and write nothing into
the installed files.
"""
import argparse
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

# Tags lintian may report without failing the test, each with the reason.
# (Information tags are shown but never fail it; those seen so far: the
# manual outside /usr/share/doc, where the program reads it and where dpkg
# may leave documentation out, and the .comment section left by strip.)
ACCEPTED_TAGS = {}

EXPECTED_FILES = {
    "usr/bin/krox-gastrid",
    "usr/lib/krox-gastrid/gastrid",
    "usr/share/krox-gastrid/dbRcp.mdb",
    "usr/share/krox-gastrid/Manual/Default.htm",
    "usr/share/krox-gastrid/Manual/gastrid.svg",
    "usr/share/applications/krox-gastrid.desktop",
    "usr/share/metainfo/org.example.KroxGastrid.metainfo.xml",
    "usr/share/mime/packages/krox-gastrid.xml",
    "usr/share/icons/hicolor/scalable/apps/krox-gastrid.svg",
    "usr/share/man/man1/krox-gastrid.1.gz",
    "usr/share/doc/krox-gastrid/copyright",
    "usr/share/doc/krox-gastrid/changelog.gz",
} | {f"usr/share/icons/hicolor/{s}x{s}/apps/krox-gastrid.png" for s in (16, 24, 32, 48, 64, 128, 256)}

failures = []
timings = []


def fail(what):
    failures.append(what)
    print("FAIL:", what, flush=True)


def run(cmd, timeout=300, **kw):
    started = time.monotonic()
    r = subprocess.run(cmd, capture_output=True, text=True, timeout=timeout, **kw)
    timings.append((os.path.basename(cmd[0]), time.monotonic() - started))
    return r


def sha(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def tree(root):
    out = {}
    for d, dirs, files in os.walk(root):
        for name in dirs + files:
            p = os.path.join(d, name)
            rel = os.path.relpath(p, root)
            out[rel] = "link:" + os.readlink(p) if os.path.islink(p) else (
                "dir" if os.path.isdir(p) else sha(p))
    return out


def build(build_dir, out):
    r = run(["cpack", "--config", os.path.join(build_dir, "CPackConfig.cmake"), "-B", out],
            cwd=build_dir, timeout=600)
    debs = [f for f in os.listdir(out) if f.endswith(".deb")]
    if r.returncode != 0 or len(debs) != 1:
        print(r.stdout, r.stderr)
        sys.exit("cpack made no package")
    return os.path.join(out, debs[0])


def check_contents(deb, version):
    name = os.path.basename(deb)
    if name != f"krox-gastrid_{version}_amd64.deb":
        fail(f"package file is {name}")
    listing = run(["dpkg-deb", "-c", deb]).stdout.splitlines()
    files = {}
    for line in listing:
        perms, owner, _size, _date, _time, path = line.split(None, 5)
        path = path.split(" -> ")[0].removeprefix("./")
        if owner != "root/root":
            fail(f"{path} is owned by {owner}")
        if not perms.startswith("d"):
            files[path] = perms
    if set(files) != EXPECTED_FILES:
        fail(f"file list differs: missing {sorted(EXPECTED_FILES - set(files))}, "
             f"unexpected {sorted(set(files) - EXPECTED_FILES)}")
    for path, perms in files.items():
        want = ("lrwxrwxrwx" if path == "usr/bin/krox-gastrid" else
                "-rwxr-xr-x" if path == "usr/lib/krox-gastrid/gastrid" else "-rw-r--r--")
        if perms != want:
            fail(f"{path} has mode {perms}, not {want}")
    fields = run(["dpkg-deb", "-f", deb, "Package", "Version", "Depends", "Maintainer"]).stdout
    print(fields, end="")
    for want in (f"Version: {version}", "libqt6widgets6", "libqt6svg6", "Maintainer: "):
        if want not in fields:
            fail(f"control fields lack {want!r}")


def check_lintian(deb):
    r = run(["lintian", "--tag-display-limit", "0", "--display-info", deb], timeout=600)
    print(r.stdout, end="")
    for line in r.stdout.splitlines():
        m = re.match(r"([EWIPX]): krox-gastrid[^:]*: (\S+)", line)
        if not m:
            continue
        level, tag = m.groups()
        if level in "EW" and tag not in ACCEPTED_TAGS:
            fail(f"lintian: {line}")
    if r.returncode not in (0, 2) or "error" in r.stderr.lower():
        fail(f"lintian ended with {r.returncode}: {r.stderr.strip()}")


def check_metadata(root):
    desktop = os.path.join(root, "usr/share/applications/krox-gastrid.desktop")
    r = run(["desktop-file-validate", desktop])
    if r.returncode != 0 or r.stdout.strip():
        fail(f"desktop-file-validate: {r.stdout.strip()}")
    metainfo = os.path.join(root, "usr/share/metainfo/org.example.KroxGastrid.metainfo.xml")
    r = run(["appstreamcli", "validate", "--no-net", "--pedantic", metainfo])
    print(r.stdout, end="")
    if r.returncode != 0 or re.search(r"^\s*[EW]:", r.stdout, re.M):
        fail(f"appstreamcli validate ended with {r.returncode}")
    # The file types are what a desktop finds for the two extensions (built
    # in a copy: the unpacked root stays as the package has it).
    mime = os.path.join(os.path.dirname(root), "mime")
    shutil.copytree(os.path.join(root, "usr/share/mime"), mime)
    r = run(["update-mime-database", "-n", mime], env=dict(os.environ, XDG_DATA_DIRS=os.path.dirname(mime)))
    if r.returncode != 0 or r.stderr.strip():
        fail(f"update-mime-database: {r.stderr.strip()}")
    with open(os.path.join(mime, "globs2")) as f:
        globs = f.read()
    for line in ("application/x-krox-gastrid-kyl:*.kyl", "application/x-krox-gastrid-rcp:*.rcp"):
        if line not in globs:
            fail(f"no glob {line}")


def check_binary(program):
    dyn = run(["readelf", "-d", program]).stdout
    if "RPATH" in dyn or "RUNPATH" in dyn:
        fail("the program file carries a library search path")
    libs = run(["ldd", program]).stdout
    for line in libs.splitlines():
        if "not found" in line or ("=>" in line and not re.search(r"=> /(usr/)?lib", line)):
            fail(f"library not from the system: {line.strip()}")
    if ".symtab" in run(["readelf", "-S", program]).stdout:
        fail("the program file is not stripped")


class Display:
    """A virtual X display with a window manager, so a window can be closed."""

    def __enter__(self):
        r, w = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", "1280x1024x24",
                                      "-nolisten", "tcp"], pass_fds=[w], stderr=subprocess.DEVNULL)
        os.close(w)
        with os.fdopen(r) as f:
            self.name = ":" + f.readline().strip()
        env = dict(os.environ, DISPLAY=self.name)
        self.wm = subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        return self

    def __exit__(self, *exc):
        for p in (self.wm, self.xvfb):
            p.terminate()
            p.wait(timeout=30)


def window_names(env):
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."], env=env,
                       capture_output=True, text=True)
    return [subprocess.run(["xdotool", "getwindowname", w], env=env, capture_output=True,
                           text=True).stdout.strip() for w in r.stdout.split()]


def sqlcipher(db, script):
    return subprocess.run(["sqlcipher", db], input=script, capture_output=True, text=True, timeout=60)


def start_installed(root, home, title):
    env = {k: v for k, v in os.environ.items() if not k.startswith(("QT_", "XDG_", "LD_"))}
    env.update(HOME=home, LANG="C.UTF-8")
    before = tree(root)
    started = time.monotonic()
    with Display() as display:
        env["DISPLAY"] = display.name
        program = subprocess.Popen([os.path.join(root, "usr/bin/krox-gastrid")], env=env,
                                   stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        try:
            found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                                    "^" + re.escape(title) + "$"],
                                   env=env, capture_output=True, text=True, timeout=180)
            window = found.stdout.split()[0]
        except (subprocess.TimeoutExpired, IndexError):
            fail(f"no window titled {title!r}; on screen: {window_names(env)}")
            program.kill()
            print(program.communicate()[0])
            return
        shown = time.monotonic() - started
        # Closed as a user closes it: the program stores its window size.
        subprocess.run(["wmctrl", "-i", "-c", window], env=env, check=True)
        try:
            output = program.communicate(timeout=120)[0]
        except subprocess.TimeoutExpired:
            program.kill()
            output = program.communicate()[0]
            fail("the program did not end when its window was closed")
        if program.returncode != 0:
            fail(f"the program ended with {program.returncode}: {output}")
    timings.append(("window shown", shown))

    data = os.path.join(home, ".local/share/KROX Gastrid")
    cookbook = os.path.join(data, "dbRcp.mdb")
    if not os.path.isfile(cookbook) or not os.path.isdir(os.path.join(data, "bilder")):
        fail(f"data folder not made: {os.listdir(home)}")
        return
    plain = sqlcipher(cookbook, "SELECT count(*) FROM sqlite_master;\n")
    if plain.returncode == 0:
        fail("the cookbook opens without its key")
    keyed = sqlcipher(cookbook, "PRAGMA key='plumb';\nPRAGMA cipher_page_size=4096;\n"
                                "SELECT count(*) FROM tblRecept;\n"
                                "SELECT value FROM options WHERE name='windowsize';\n")
    rows = keyed.stdout.split()
    if keyed.returncode != 0 or len(rows) < 2 or not rows[-2].isdigit() or int(rows[-2]) == 0 \
            or not re.fullmatch(r"\d+,\d+", rows[-1]):
        fail(f"the cookbook does not open with its key: {keyed.stdout} {keyed.stderr}")
    if tree(root) != before:
        fail("the program changed files under the installed root")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build-dir", required=True)
    ap.add_argument("--version", required=True)
    args = ap.parse_args()
    tools = ["cpack", "dpkg-deb", "dpkg-shlibdeps", "lintian", "desktop-file-validate", "appstreamcli",
             "update-mime-database", "readelf", "Xvfb", "openbox", "xdotool", "wmctrl", "sqlcipher"]
    missing = [t for t in tools if not shutil.which(t)]
    if missing:
        sys.exit(f"missing {', '.join(missing)}: scripts/deps.sh installs them")
    major, minor, rev = (int(x) for x in args.version.split("."))
    title = f"KROX Gastrid {major}.{minor}" + (str(rev) if rev > 0 else "")

    with tempfile.TemporaryDirectory(prefix="gastrid-package-") as tmp:
        deb = build(os.path.abspath(args.build_dir), os.path.join(tmp, "out"))
        check_contents(deb, args.version)
        check_lintian(deb)
        root = os.path.join(tmp, "root")
        run(["dpkg-deb", "-x", deb, root])
        check_metadata(root)
        check_binary(os.path.join(root, "usr/lib/krox-gastrid/gastrid"))
        home = os.path.join(tmp, "home")
        os.mkdir(home)
        start_installed(root, home, title)

    print("seconds:", ", ".join(f"{name} {secs:.1f}" for name, secs in timings))
    if failures:
        sys.exit(f"{len(failures)} check(s) failed")


if __name__ == "__main__":
    main()
