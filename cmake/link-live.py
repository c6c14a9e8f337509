#!/usr/bin/env python3
"""Links an i686 MinGW program so that --gc-sections drops what nothing calls.

    link-live.py COMPILER ARGS...     (CMake's linker launcher)

GNU ld's script for PE keeps every .eh_frame input section, and GCC puts the
unwind records of all the non-inline functions of an object in one such
section, so each function of each object the link takes stays in the program
whether anything calls it or not: one call of std::to_chars brought in its
every table and format, 180 KB. The first link runs without that KEEP and
lists what the collection removes; the second, the real one, discards those
code and constant-data sections and keeps every unwind record, so exceptions
unwind as before. The records of discarded functions are left pointing at
themselves, outside the code, where no return address can fall; the result is
checked for exactly that before it is accepted.
"""
import os
import re
import struct
import subprocess
import sys
import tempfile

EH_KEEP = "KEEP(*(.eh_frame*))"
# The personality routines are reached only through the unwind records; they
# and what they call must count as live in the first link.
PERSONALITIES = ("___gxx_personality_v0", "___gcc_personality_v0")
# Never discarded: vtables, type information and their names (reached through
# the exception tables), the unwinder and the personality routines.
KEPT_SECTION = re.compile(r"^\.rdata\$(_ZT|zzz)")
KEPT_OBJECT = re.compile(r"(eh_personality|unwind-[a-z0-9-]+)\.o$")


def default_script(compiler):
    ld = subprocess.run([compiler, "-print-prog-name=ld"], capture_output=True, text=True, check=True).stdout.strip()
    text = subprocess.run([ld, "--verbose"], capture_output=True, text=True, check=True).stdout
    parts = re.split(r"^=+$", text, flags=re.M)
    return parts[1] if len(parts) >= 3 else ""


def output_of(args):
    for i, a in enumerate(args[:-1]):
        if a == "-o":
            return i + 1
    return None


def removed_sections(log):
    """{file spec: [section, ...]} of what the first link's collection removed."""
    found = {}
    for m in re.finditer(r"removing unused section '([^']+)' in file '([^']+)'", log):
        section = re.sub(r"\[.*\]$", "", m.group(1))  # a COMDAT section's name carries its symbol
        path = m.group(2)
        if not section.startswith((".text", ".rdata")) or KEPT_SECTION.match(section):
            continue
        member = re.match(r"^(.*)\(([^()]+)\)$", path)
        if member:
            if KEPT_OBJECT.search(member.group(2)):
                continue
            spec = "*" + os.path.basename(member.group(1)) + ":" + member.group(2)
        else:
            spec = "*" + os.path.basename(path)
        if re.search(r"[\s()\[\]?*\"]", spec[1:] + section):
            continue  # not expressible as a plain script pattern: keep it
        found.setdefault(spec, []).append(section)
    return found


def discard_script(found):
    lines = ["SECTIONS", "{", "  /DISCARD/ :", "  {"]
    for spec, sections in found.items():
        lines.append("    %s(%s)" % (spec, " ".join(sections)))
    lines += ["  }", "}", "INSERT BEFORE .text;", ""]
    return "\n".join(lines)


def check_unwind_records(path):
    """An error text, or None when every unwind record of the program at path
    covers its code or points at itself, and every personality is in the code."""
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    count = struct.unpack_from("<H", data, pe + 6)[0]
    optional = struct.unpack_from("<H", data, pe + 20)[0]
    sections = {}
    at = pe + 24 + optional
    for _ in range(count):
        name = data[at : at + 8].rstrip(b"\0").decode("latin-1")
        vsize, va, rsize, raw = struct.unpack_from("<IIII", data, at + 8)
        sections[name] = (va, vsize, raw, rsize)
        at += 40
    if ".eh_fram" not in sections or ".text" not in sections:
        return None
    va, size, raw, rsize = sections[".eh_fram"]
    eh = data[raw : raw + min(size, rsize)]
    text_va, text_size = sections[".text"][:2]

    def in_text(rva):
        return text_va <= rva < text_va + text_size

    def rva_data(rva, n):
        for s_va, s_size, s_raw, s_rsize in sections.values():
            if s_va <= rva and rva + n <= s_va + min(s_size, s_rsize):
                return data[s_raw + rva - s_va : s_raw + rva - s_va + n]
        return None

    def uleb(i):
        value = shift = 0
        while True:
            b = eh[i]
            i += 1
            value |= (b & 0x7F) << shift
            shift += 7
            if b < 0x80:
                return value, i

    base = struct.unpack_from("<I", data, pe + 24 + 28)[0]
    encodings = {}
    i = 0
    while i + 8 <= len(eh):
        length, ident = struct.unpack_from("<II", eh, i)
        if length == 0:
            break
        if ident == 0:  # a CIE: find the encoding of its FDEs' addresses
            j = i + 9
            aug = eh[j : eh.index(b"\0", j)].decode("latin-1")
            j += len(aug) + 1
            _, j = uleb(j)
            _, j = uleb(j)
            j += 1
            encoding = 0
            if aug.startswith("z"):
                _, j = uleb(j)
                for ch in aug[1:]:
                    if ch == "P":
                        kind = eh[j]
                        field = va + j + 1
                        value = struct.unpack_from("<i", eh, j + 1)[0]
                        target = (field + value) if kind & 0x70 == 0x10 else value - base
                        if kind & 0x80:  # indirect: the word there holds the address
                            word = rva_data(target, 4)
                            target = struct.unpack("<I", word)[0] - base if word else -1
                        if not in_text(target):
                            return "a personality routine is outside the code (CIE at +%#x)" % i
                        j += 5
                    elif ch == "L":
                        j += 1
                    elif ch == "R":
                        encoding = eh[j]
                        j += 1
            encodings[i] = encoding
        else:
            encoding = encodings.get(i + 4 - ident)
            if encoding is None:
                return "an unwind record names no known CIE (+%#x)" % i
            field = va + i + 8
            value = struct.unpack_from("<i", eh, i + 8)[0]
            begin = (field + value) if encoding & 0x70 == 0x10 else value - base
            if not in_text(begin) and begin != field and value != 0:
                return "an unwind record points at %#x, neither code nor itself (+%#x)" % (begin, i)
        i += length + 4
    return None


def main(argv):
    if len(argv) < 2:
        print("usage: link-live.py COMPILER ARGS...", file=sys.stderr)
        return 2
    compiler, args = argv[1], argv[2:]
    out = output_of(args)
    script = default_script(compiler) if out is not None else ""

    if EH_KEEP not in script or not any(a.startswith("-Wl,--gc-sections") for a in args):
        return subprocess.call([compiler] + args)
    with tempfile.TemporaryDirectory(prefix="link-live.") as tmp:
        first = os.path.join(tmp, "first.x")
        with open(first, "w") as f:
            f.write(script.replace(EH_KEEP, "*(.eh_frame*)"))
        trial = list(args)
        trial[out] = os.path.join(tmp, "first.exe")
        trial += ["-Wl,-T," + first, "-Wl,--print-gc-sections"] + ["-Wl,-u," + p for p in PERSONALITIES]
        run = subprocess.run([compiler] + trial, capture_output=True, text=True)
        if run.returncode != 0:
            sys.stderr.write(run.stderr)
            return run.returncode
        second = os.path.join(tmp, "discard.x")
        with open(second, "w") as f:
            f.write(discard_script(removed_sections(run.stderr)))
        rc = subprocess.call([compiler] + args + ["-Wl,-T," + second])
        if rc != 0:
            return rc
    problem = check_unwind_records(args[out])
    if problem:
        print("link-live.py: %s: %s" % (args[out], problem), file=sys.stderr)
        os.remove(args[out])
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
