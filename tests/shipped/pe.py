"""A small reader of Windows PE files: header fields, imported functions and resources.

Enough to check the shipped binaries without running them (no Wine, any host)."""
import struct

MACHINE_I386 = 0x14C
MACHINE_AMD64 = 0x8664
SUBSYSTEM_GUI = 2
FILE_DLL = 0x2000
RT_ICON, RT_GROUP_ICON, RT_VERSION = 3, 14, 16


class PeFile:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        d = self.data
        if d[:2] != b"MZ":
            raise ValueError(f"{path}: no MZ header")
        pe = struct.unpack_from("<I", d, 0x3C)[0]
        if d[pe:pe + 4] != b"PE\0\0":
            raise ValueError(f"{path}: no PE signature")
        (self.machine, sections, _, _, _, opt_size,
         self.characteristics) = struct.unpack_from("<HHIIIHH", d, pe + 4)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", d, opt)[0]
        self.pe32_plus = self.magic == 0x20B
        self.subsystem = struct.unpack_from("<H", d, opt + 68)[0]
        dirs = opt + (112 if self.pe32_plus else 96)
        count = struct.unpack_from("<I", d, dirs - 4)[0]
        self.directories = [struct.unpack_from("<II", d, dirs + 8 * i) for i in range(count)]
        self.sections = []
        for i in range(sections):
            s = opt + opt_size + 40 * i
            vsize, va, raw_size, raw = struct.unpack_from("<IIII", d, s + 8)
            self.sections.append((va, max(vsize, raw_size), raw))

    @property
    def is_dll(self):
        return bool(self.characteristics & FILE_DLL)

    def offset(self, rva):
        for va, size, raw in self.sections:
            if va <= rva < va + size:
                return raw + rva - va
        raise ValueError(f"RVA {rva:#x} is in no section")

    def cstring(self, rva):
        o = self.offset(rva)
        return self.data[o:self.data.index(b"\0", o)].decode("ascii")

    def imports(self):
        """{dll name (lower case): [function name or "#ordinal", ...]}"""
        rva, size = self.directories[1]
        result = {}
        if not size:
            return result
        o = self.offset(rva)
        thunk_size, ordinal_flag = (8, 1 << 63) if self.pe32_plus else (4, 1 << 31)
        while True:
            lookup, _, _, name, first = struct.unpack_from("<IIIII", self.data, o)
            if not name:
                return result
            names = result.setdefault(self.cstring(name).lower(), [])
            t = self.offset(lookup or first)
            while True:
                value = int.from_bytes(self.data[t:t + thunk_size], "little")
                if not value:
                    break
                names.append(f"#{value & 0xFFFF}" if value & ordinal_flag else self.cstring(value + 2))
                t += thunk_size
            o += 20

    def resources(self):
        """{(type, name): [data, ...] per language}; ids are ints, names strings."""
        rva, size = self.directories[2] if len(self.directories) > 2 else (0, 0)
        if not size:
            return {}
        base = self.offset(rva)
        d = self.data

        def entries(at):
            named, ids = struct.unpack_from("<HH", d, base + at + 12)
            for i in range(named + ids):
                key, target = struct.unpack_from("<II", d, base + at + 16 + 8 * i)
                if key & 0x80000000:
                    o = base + (key & 0x7FFFFFFF)
                    n = struct.unpack_from("<H", d, o)[0]
                    key = d[o + 2:o + 2 + 2 * n].decode("utf-16-le")
                yield key, target

        result = {}
        for rtype, t in entries(0):
            for name, n in entries(t & 0x7FFFFFFF):
                for _, leaf in entries(n & 0x7FFFFFFF):
                    data_rva, data_size = struct.unpack_from("<II", d, base + leaf)
                    o = self.offset(data_rva)
                    result.setdefault((rtype, name), []).append(d[o:o + data_size])
        return result


def fixed_file_version(version_resource):
    """The FileVersion of a VS_VERSIONINFO as "a.b.c.d", or None without VS_FIXEDFILEINFO."""
    at = version_resource.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        return None
    ms, ls = struct.unpack_from("<II", version_resource, at + 8)
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
