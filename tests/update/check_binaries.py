#!/usr/bin/env python3
"""Checks the built DLLs: Halyard.dll and Quillon32.dll import only Windows
system libraries, Halyard reaches Quillon32.dll only through its delay-load
table, both are built for the expected machine (32-bit x86 for the DLLs users
get), and the test signing key is compiled into a test build of
Quillon32.dll only, never into one made without HALYARD_TEST_UPDATE_KEY."""
import argparse
import re
import subprocess
import sys

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "comdlg32.dll",
               "ole32.dll", "version.dll", "msvcrt.dll", "winhttp.dll", "bcrypt.dll", "comctl32.dll"}


def imports(objdump, path):
    out = subprocess.run([objdump, "-p", path], capture_output=True, text=True, check=True).stdout
    return {name.lower() for name in re.findall(r"DLL Name: (\S+)", out)}


def file_format(objdump, path):
    out = subprocess.run([objdump, "-f", path], capture_output=True, text=True, check=True).stdout
    found = re.search(r"file format (\S+)", out)
    return found.group(1) if found else "unknown"


def public_key(pem):
    der = subprocess.run(["openssl", "pkey", "-in", pem, "-pubout", "-outform", "DER"],
                         capture_output=True, check=True).stdout
    return der[-64:]   # X then Y, after the uncompressed-point marker


def main():
    parser = argparse.ArgumentParser()
    for name in ("--objdump", "--format", "--halyard", "--quillon", "--release", "--test-key",
                 "--quillon-has-test-key"):
        parser.add_argument(name, required=True)
    args = parser.parse_args()
    failures = []

    for path in (args.halyard, args.quillon, args.release):
        machine = file_format(args.objdump, path)
        if machine != args.format:
            failures.append("%s is %s, not %s" % (path, machine, args.format))
        foreign = imports(args.objdump, path) - SYSTEM_DLLS
        if foreign:
            failures.append("%s imports %s" % (path, ", ".join(sorted(foreign))))
    halyard = open(args.halyard, "rb").read()
    if b"Quillon32.dll" not in halyard or b"QuillonCheckForUpdate" not in halyard:
        failures.append("Halyard.dll has no delay-load import of Quillon32.dll")

    key = public_key(args.test_key)
    x, y = key[:32], key[32:]
    for path, expected in ((args.release, False), (args.quillon, args.quillon_has_test_key in ("1", "ON"))):
        data = open(path, "rb").read()
        found = x in data or y in data
        if found != expected:
            failures.append("%s %s the test key" % (path, "holds" if found else "lacks"))

    for failure in failures:
        print("FAIL " + failure)
    if not failures:
        print("machine, imports and keys as expected")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
