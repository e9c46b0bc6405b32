"""The install rules: a staged system-wide install (PREFIX, DESTDIR) and its removal, a user's install
whose symlinks reach the programs and whose removal leaves the notepad, the launcher as desktops
check it, and an install cut short by a full disk that leaves the old programs working."""

import argparse
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from harness import expect, passes, run  # noqa: E402  (found through the path above)


def files_under(folder):
    """Every file and symlink below `folder`, as paths relative to it."""
    return {os.path.relpath(os.path.join(place, name), folder) for place, _, names in os.walk(folder) for name in names}


class Installer:
    def __init__(self, source, build):
        self.script = os.path.join(source, "tools", "install.sh")
        self.build = build
        icons = os.listdir(os.path.join(source, "src", "resources", "icons"))
        self.sizes = sorted(int(name[len("scrivo-"):-len(".png")]) for name in icons
                            if name.startswith("scrivo-") and name.endswith(".png"))

    def __call__(self, action, layout, prefix, destdir=""):
        env = dict(os.environ, PREFIX=prefix, DESTDIR=destdir, BUILD=self.build)
        run(["sh", self.script, action, layout], env=env, timeout=120)


def check_launcher(path, exec_line):
    validation = run(["desktop-file-validate", path], check=False)
    expect(validation.returncode == 0 and not validation.stdout.strip(),
           f"desktop-file-validate does not accept the launcher: {validation.stdout}{validation.stderr}")
    with open(path, encoding="utf-8") as launcher:
        keys = dict(line.rstrip("\n").split("=", 1) for line in launcher if "=" in line)
    for key, value in (("Exec", exec_line), ("Name", "Scrivo"), ("Icon", "scrivo"), ("StartupWMClass", "Scrivo")):
        expect(keys.get(key) == value, f"the launcher's {key} is {keys.get(key)}, not {value}")
    for key in ("Comment", "Categories"):
        expect(keys.get(key), f"the launcher has no {key}")


def check_stripped_program(path):
    expect(os.stat(path).st_mode & 0o777 == 0o755, f"{path} is not mode 755")
    sections = run(["readelf", "-S", "-W", path]).stdout
    expect(".symtab" not in sections and ".debug_info" not in sections, f"{path} is not stripped")


def install_and_remove(install, folder, layout):
    """Installed twice, the second install replacing the first: a system-wide one staged with PREFIX
    and DESTDIR, or a user's whose symlinks on the PATH reach the programs. Its removal leaves
    nothing but, in a user's install, the notepad."""
    if layout == "system":
        root = destdir = os.path.join(folder, "stage")
        prefix, share, programs, bin_dir, sound = "/usr", "usr/share", "usr/bin", "usr/bin", "usr/share/scrivo"
        exec_line = "/usr/bin/scrivo"
    else:
        root = prefix = os.path.join(folder, "home", ".local")
        destdir, share, programs, bin_dir, sound = "", "share", "lib/scrivo", "bin", "lib/scrivo"
        exec_line = os.path.join(root, programs, "scrivo")
    for _ in range(2):
        install("install", layout, prefix, destdir)
    names = ("scrivo", "scrivo-send")
    icons = {f"{share}/icons/hicolor/{size}x{size}/apps/scrivo.png" for size in install.sizes}
    expected = {f"{place}/{name}" for place in (programs, bin_dir) for name in names} | icons
    expected |= {f"{share}/applications/scrivo.desktop", f"{sound}/MenuPop.wav"}
    found = files_under(root)
    expect(found == expected, f"a {layout} install holds {sorted(found ^ expected)} other than expected")
    for name in names:
        program = os.path.join(root, programs, name)
        check_stripped_program(program)
        link = os.path.join(root, bin_dir, name)
        expect(link == program or os.path.islink(link) and os.path.realpath(link) == program,
               f"{link} is no symlink to the installed {name}")
    check_launcher(os.path.join(root, share, "applications/scrivo.desktop"), exec_line)
    helped = run([os.path.join(root, bin_dir, "scrivo-send"), "--help"])
    expect(helped.stdout.startswith("usage: scrivo-send"), "the installed scrivo-send gives no usage")

    kept = set()
    if layout == "user":
        kept.add(f"{programs}/Scrivo.bmp")
        with open(os.path.join(root, programs, "Scrivo.bmp"), "wb") as notes:
            notes.write(b"BM written by hand")
    install("uninstall", layout, prefix, destdir)
    expect(files_under(root) == kept, f"uninstall left {sorted(files_under(root))}, not {sorted(kept)}")


def full_disk(install, folder):
    """On a file system too small for the new programs, the install fails and the old one stays."""
    disk = os.path.join(folder, "disk")
    os.mkdir(disk)
    old = b"#!/bin/sh\necho old scrivo\n"
    script = f"""
        mount -t tmpfs -o size=64k tmpfs {disk} || exit 77
        mkdir -p {disk}/bin && printf '%s' '{old.decode()}' > {disk}/bin/scrivo && chmod 755 {disk}/bin/scrivo
        PREFIX=/ DESTDIR={disk} BUILD={install.build} sh {install.script} install system
        echo "install: $?"
        {disk}/bin/scrivo
        echo "left: $(ls -A {disk}/bin | tr '\\n' ' ')"
    """
    done = run(["unshare", "--mount", "--map-root-user", "sh", "-c", script], check=False, timeout=120)
    if done.returncode == 77 or "unshare" in done.stderr[:200] and done.returncode != 0:
        print(f"full disk: skipped, no file system of its own here: {done.stderr.strip()}")
        return
    lines = done.stdout.split()
    expect("install:" in lines and lines[lines.index("install:") + 1] != "0",
           f"an install onto a full disk reported success:\n{done.stdout}{done.stderr}")
    expect("old scrivo" in done.stdout, f"the old scrivo no longer runs:\n{done.stdout}")
    expect("left: scrivo \n" in done.stdout, f"the full disk kept more than the old scrivo:\n{done.stdout}")


def all_installs(install):
    for layout in ("system", "user"):
        with tempfile.TemporaryDirectory(prefix="scrivo-install-") as folder:
            install_and_remove(install, folder, layout)
    with tempfile.TemporaryDirectory(prefix="scrivo-install-") as folder:
        full_disk(install, folder)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", required=True)
    parser.add_argument("--build", required=True)
    arguments = parser.parse_args()
    install = Installer(arguments.source, arguments.build)
    passes(lambda: all_installs(install))


if __name__ == "__main__":
    main()
