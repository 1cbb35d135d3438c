#!/usr/bin/env python3
"""zorv-cli with file names that are not UTF-8, and an import larger than its memory.

File names are bytes: a Latin-1 name must reach the very file it names, through every
command that reads or writes one, and must come out as valid UTF-8 wherever it is shown.

usage: filenames.py names CLI SOURCE_DIR WORK_DIR
       filenames.py big-import CLI SOURCE_DIR WORK_DIR
"""
import json
import os
import resource
import shutil
import subprocess
import sys

FAILURES = []


def check(condition, what):
    if not condition:
        FAILURES.append(what)
        print("FAIL:", what)


def run(cli, *args, limit=None):
    def limited():
        if limit:
            resource.setrlimit(resource.RLIMIT_AS, (limit, limit))

    env = dict(os.environ, LC_ALL="C.UTF-8", TZ="UTC", QT_QPA_PLATFORM="offscreen")
    return subprocess.run([cli, *args], capture_output=True, env=env, preexec_fn=limited, timeout=600)


def utf8(data):
    try:
        data.decode("utf-8", errors="strict")
        return True
    except UnicodeDecodeError:
        return False


def names(cli, source, work):
    folder = os.path.join(work, b"latin1-names")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    sample = os.path.join(source, b"examples", b"sample")
    log = os.path.join(folder, b"caf\xe9.log")
    shutil.copy(sample + b".log", log)
    shutil.copy(sample + b".add", os.path.join(folder, b"caf\xe9.add"))
    export = os.path.join(folder, b"plong\xe9e.txt")
    shutil.copy(os.path.join(source, b"examples", b"imports", b"guardian-dive.txt"), export)

    # The existing logbook is found and grows by one dive, in both option forms.
    for into in ([b"--into", log], [b"--into=" + log]):
        result = run(cli, b"import", b"guardian", export, *into)
        check(result.returncode == 0, f"import {into[0]!r} exits {result.returncode}: {result.stderr!r}")
    info = run(cli, b"info", log)
    check("plongées : 42\n".encode() in info.stdout, f"import added to the existing logbook: {info.stdout!r}")
    check(utf8(info.stdout) and b"caf\\xE9.log" in info.stdout, f"info shows the name escaped: {info.stdout!r}")

    # Outputs are written under exactly the names given.
    pdf = os.path.join(folder, b"r\xe9sum\xe9.pdf")
    png = os.path.join(folder, b"profil\xe9.png")
    check(run(cli, b"print", log, pdf, b"--from", b"1", b"--to", b"2").returncode == 0, "print exits 0")
    check(run(cli, b"render-profile", log, b"3", png).returncode == 0, "render-profile exits 0")
    # Two names that differ only in a byte that is not UTF-8 stay two names.
    copy = os.path.join(folder, b"caf\xe8.log")
    check(run(cli, b"resave", log, copy).returncode == 0, "resave exits 0")
    expected = {b"caf\xe9.log", b"caf\xe9.add", b"r\xe9sum\xe9.pdf", b"profil\xe9.png", b"caf\xe8.log"}
    found = set(os.listdir(folder))
    check(expected <= found, f"every output is there: {sorted(expected - found)!r}")
    check(not [n for n in found if b"\xef\xbf\xbd" in n or b"?" in n], f"no name was decoded on the way: {found!r}")
    check(open(pdf, "rb").read(5) == b"%PDF-", "the PDF is a PDF")
    check(open(png, "rb").read(8) == b"\x89PNG\r\n\x1a\n", "the picture is a PNG")

    # JSON stays valid UTF-8, the name escaped.
    out = run(cli, b"json", log)
    check(out.returncode == 0 and utf8(out.stdout), "json output is valid UTF-8")
    if utf8(out.stdout):
        path = json.loads(out.stdout)["path"]
        check(path.endswith("caf\\xE9.log"), f"json names the file escaped: {path!r}")

    # Messages name the file escaped, in valid UTF-8.
    missing = run(cli, b"info", os.path.join(folder, b"absent\xe9.log"))
    check(missing.returncode == 1 and utf8(missing.stderr) and b"absent\\xE9.log" in missing.stderr,
          f"the message of a missing file: {missing.stderr!r}")
    refused = run(cli, b"import", b"citizen", export, b"--into", log)
    check(refused.returncode == 1 and utf8(refused.stderr) and b"plong\\xE9e.txt: Mauvais format" in refused.stderr,
          f"the refusal of a foreign file: {refused.stderr!r}")


def big_import(cli, source, work):
    folder = os.path.join(work, b"big-import")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    big = os.path.join(folder, b"big.txt")
    # About 230 MB: a note line of 40 MB, then points far past what a dive holds, with padding comments.
    with open(big, "wb") as f:
        f.write(b"[GENERAL]\nDiveDate=05-07-2003\nDiveTime=14:07\nNumPoints=32766\nNote=" + b"n" * 40_000_000 + b"\n")
        f.write(b"[POINTS]\n")
        pad = b" ; " + b"x" * 480 + b"\n"
        for block in range(386):
            f.write(b"".join(b"P%d=%d.5%s" % (i, 5 + i % 20, pad) for i in range(block * 1000 + 1, block * 1000 + 1001)))
    size = os.path.getsize(big)
    check(size > 230_000_000, f"the file is as large as meant: {size}")
    log = os.path.join(folder, b"big.log")
    result = run(cli, b"import", b"guardian", big, b"--into", log, limit=2_000_000_000)
    check(result.returncode == 0, f"import exits {result.returncode}: {result.stderr[-400:]!r}")
    check(b"Profil trop long" in result.stderr, f"the user is told the profile was cut: {result.stderr[-400:]!r}")
    info = run(cli, b"info", log)
    check("plongées : 1\n".encode() in info.stdout, f"the dive is in the logbook: {info.stdout!r}")
    os.remove(big)


def main():
    mode, cli, source, work = sys.argv[1], *map(os.fsencode, sys.argv[2:5])
    {"names": names, "big-import": big_import}[mode](cli, source, work)
    if FAILURES:
        sys.exit(1)


if __name__ == "__main__":
    main()
