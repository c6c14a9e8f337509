#!/usr/bin/env python3
"""Builds the release archive from a Windows build tree with scripts/make-dist
and checks it as a user would: the files it must hold and nothing else, the
SHA-256 list matching them, text files with CR LF line ends, and the
command-line program taken out of the archive answering --version under
Wine with the build's version.

usage: dist_check.py SOURCE_DIR BUILD_DIR
"""
import hashlib
import os
import subprocess
import sys
import tempfile
import zipfile

source, build = sys.argv[1], sys.argv[2]
version = open(os.path.join(build, "VERSION")).read().strip()
problems = []

with tempfile.TemporaryDirectory() as out:
    subprocess.run([os.path.join(source, "scripts", "make-dist"), build, out], check=True)
    archive = os.path.join(out, f"tarnwell-{version}-win32.zip")
    with zipfile.ZipFile(archive) as z:
        names = sorted(z.namelist())
        wanted = sorted(["tarnwell.exe", "tarnwell-cli.exe", "README.txt", "LICENSE.txt", "SHA256SUMS.txt"])
        if names != wanted:
            problems.append(f"archive holds {names}, expected {wanted}")
        z.extractall(out)

    sums = {}
    for line in open(os.path.join(out, "SHA256SUMS.txt")).read().splitlines():
        digest, name = line.split(None, 1)
        sums[name.lstrip("*")] = digest
    for name in ["tarnwell.exe", "tarnwell-cli.exe", "README.txt", "LICENSE.txt"]:
        path = os.path.join(out, name)
        if not os.path.exists(path):
            continue
        digest = hashlib.sha256(open(path, "rb").read()).hexdigest()
        if sums.get(name) != digest:
            problems.append(f"SHA256SUMS.txt gives {sums.get(name)} for {name}, the file has {digest}")
    for name in ["README.txt", "LICENSE.txt"]:
        text = open(os.path.join(out, name), "rb").read()
        if text.count(b"\n") == 0 or text.count(b"\r\n") != text.count(b"\n"):
            problems.append(f"{name} does not end every line with CR LF")
    if b"MIT License" not in open(os.path.join(out, "LICENSE.txt"), "rb").read():
        problems.append("LICENSE.txt is not the license")

    # The program as a user takes it out of the archive, away from the build tree.
    run = subprocess.run([os.path.join(source, "scripts", "wine-run"), os.path.join(out, "tarnwell-cli.exe"),
                          "--version"], capture_output=True, text=True,
                         env=dict(os.environ, TW_WINEPREFIX=os.path.join(build, "wineprefix")))
    answer = run.stdout.replace("\r", "").strip()
    if run.returncode != 0 or answer != f"tarnwell-cli {version}":
        problems.append(f"tarnwell-cli.exe --version answered {answer!r} (exit code {run.returncode}), "
                        f"expected 'tarnwell-cli {version}'")
    else:
        print(f"{archive}: tarnwell-cli.exe --version: {answer}")

for p in problems:
    print(p)
sys.exit(1 if problems else 0)
