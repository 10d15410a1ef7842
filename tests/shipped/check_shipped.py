#!/usr/bin/env python3
"""Checks the shipped 32-bit binaries without running them: architecture, the programs' GUI
subsystem, no MinGW runtime DLL among the imports and no import that Windows XP SP3 lacks,
the version resource, the icon, the plug-in's embedded 32-bit type library, and no manifest
that asks the program for an execution level.

usage: check_shipped.py --program EXE VERSION --plugin DLL VERSION [--setup EXE VERSION]
VERSION: the file version the resource must carry, as a.b.c.d."""
import argparse
import os
import sys

from pe import (MACHINE_I386, RT_GROUP_ICON, RT_VERSION, SUBSYSTEM_GUI, PeFile,
                fixed_file_version)

# DLLs of the MinGW toolchain: a bare Windows has none of them.
MINGW_RUNTIME = ("libgcc", "libstdc++", "libwinpthread", "libssp", "libatomic")
SYS_WIN32 = 1
RT_MANIFEST = 24
XP_IMPORTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "winxp-imports.txt")


def xp_imports():
    with open(XP_IMPORTS, encoding="utf-8") as f:
        return {tuple(line.rstrip("\n").lower().split("\t")) for line in f if line.strip() and line[0] != "#"}


def check(path, version, on_xp, dll=False, typelib=False, icon=True, writes_cache=False):
    errors = []
    pe = PeFile(path)
    if pe.machine != MACHINE_I386 or pe.pe32_plus:
        errors.append(f"machine {pe.machine:#x} (PE32+: {pe.pe32_plus}), not 32-bit x86")
    # Windows ignores a DLL's subsystem.
    if not dll and pe.subsystem != SUBSYSTEM_GUI:
        errors.append(f"subsystem {pe.subsystem}, not Windows GUI")
    if pe.is_dll != dll:
        errors.append("is a DLL" if pe.is_dll else "is not a DLL")
    imports = pe.imports()
    runtime = [name for name in imports if name.startswith(MINGW_RUNTIME)]
    if runtime:
        errors.append("imports the MinGW runtime: " + ", ".join(runtime))
    for name, functions in sorted(imports.items()):
        for function in functions:
            if (name, function.lower()) not in on_xp:
                errors.append(f"imports {name} {function}, not on the list of Windows XP SP3's functions "
                              f"({os.path.basename(XP_IMPORTS)})")
    resources = pe.resources()
    versions = [data for (rtype, _), items in resources.items() if rtype == RT_VERSION for data in items]
    if not versions:
        errors.append("no version resource")
    elif fixed_file_version(versions[0]) != version:
        errors.append(f"file version {fixed_file_version(versions[0])}, not {version}")
    if icon and not any(rtype == RT_GROUP_ICON for rtype, _ in resources):
        errors.append("no icon")
    # A 32-bit program whose manifest names no execution level has its writes below Program
    # Files redirected for a standard user (VirtualStore): the thumbnail cache stays writable.
    # (The setup asks to run as an administrator, as it must.)
    manifests = [data for (rtype, _), items in resources.items() if rtype == RT_MANIFEST for data in items]
    if writes_cache and any(b"requestedExecutionLevel" in m for m in manifests):
        errors.append("embeds a manifest with requestedExecutionLevel: the cache below Program Files "
                      "would not be writable for a standard user")
    if typelib:
        libs = [data for (rtype, _), items in resources.items() if rtype == "TYPELIB" for data in items]
        if not libs:
            errors.append("no embedded type library")
        elif libs[0][:4] != b"MSFT" or libs[0][20] & 0xF != SYS_WIN32:
            errors.append("the embedded type library is not a 32-bit (SYS_WIN32) one")
    return [f"{path}: {e}" for e in errors]


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    for kind in ("--program", "--plugin", "--setup"):
        parser.add_argument(kind, nargs=2, metavar=("FILE", "VERSION"), required=kind != "--setup")
    args = parser.parse_args()
    on_xp = xp_imports()
    errors = check(*args.program, on_xp, writes_cache=True) + check(*args.plugin, on_xp, dll=True, typelib=True, icon=False)
    if args.setup:
        errors += check(*args.setup, on_xp)
    for e in errors:
        print(e)
    print(f"{3 if args.setup else 2} shipped files checked, {len(errors)} problems")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
