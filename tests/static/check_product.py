#!/usr/bin/python3
"""Static check of the shipped 32-bit LumoraRepair.exe: PE type and flags, imports, and every
resource the program relies on (text tables, icons, cursor, manifest, version)."""
import pathlib
import re
import struct
import sys

import pefile

ROOT = pathlib.Path(__file__).resolve().parents[2]
# DLL planting: the loader looks beside the exe first for any imported DLL that is not one
# of the system's known DLLs, before our code runs. Only known DLLs are imported, and
# comctl32, which the manifest's side-by-side assembly names (version.dll and shfolder.dll
# are loaded from the system folder at run time).
KNOWN_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
              "ole32.dll", "comdlg32.dll", "msvcrt.dll"}
SIDE_BY_SIDE = {"comctl32.dll"}
LANGS = {0x0407: "strings_de.rc", 0x0409: "strings_en.rc"}
# The oldest system the program starts on, and the names imports.txt gives systems.
WINDOWS = {"95": (4, 0, 0), "NT4": (4, 0, 0), "2000": (5, 0, 0), "XP": (5, 1, 0), "XP-SP1": (5, 1, 1),
           "XP-SP2": (5, 1, 2), "XP-SP3": (5, 1, 3), "2003": (5, 2, 0), "Vista": (6, 0, 0), "7": (6, 1, 0),
           "8": (6, 2, 0), "10": (10, 0, 0)}
OLDEST = WINDOWS["XP-SP3"]
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


def rc_texts(name):
    """The text table as the .rc source holds it, by id."""
    ids = {}
    for line in (ROOT / "platform/text_ids.h").read_text().splitlines():
        m = re.match(r"#define\s+(IDS_\w+)\s+(\d+)", line)
        if m:
            ids[m.group(1)] = int(m.group(2))
    texts = {}
    for line in (ROOT / "app/resources" / name).read_text(encoding="utf-8").splitlines():
        m = re.match(r'\s+(IDS_\w+),\s+"(.*)"\s*$', line)
        if m:
            texts[ids[m.group(1)]] = m.group(2).replace('""', '"').replace("\\\\", "\\")
    return texts


def allowed_imports():
    """{(dll, function): oldest Windows} as tests/static/imports.txt lists them."""
    allowed = {}
    for line in (ROOT / "tests/static/imports.txt").read_text().splitlines():
        fields = line.split("#")[0].split()
        if fields:
            dll, function, windows = fields
            allowed[(dll.lower(), function)] = windows
    return allowed


def oldest_windows(pe):
    """XP's loader refuses an exe that asks for a newer system or subsystem version; every import
    must be on the list, and on XP SP3 by its documentation."""
    header = pe.OPTIONAL_HEADER
    for what in ("OperatingSystem", "Subsystem"):
        version = (getattr(header, f"Major{what}Version"), getattr(header, f"Minor{what}Version"))
        check(version <= (5, 1), f"{what} version {version[0]}.{version[1]} above 5.1 (XP's loader refuses it)")
    allowed = allowed_imports()
    for entry in pe.DIRECTORY_ENTRY_IMPORT:
        dll = entry.dll.decode().lower()
        for imported in entry.imports:
            if imported.name is None:
                failures.append(f"{dll}: an import by ordinal {imported.ordinal}")
                continue
            name = imported.name.decode()
            windows = allowed.get((dll, name))
            if windows is None:
                failures.append(f"{dll} {name}: not in tests/static/imports.txt")
            elif WINDOWS[windows] > OLDEST:
                failures.append(f"{dll} {name}: from Windows {windows} on, newer than XP SP3")


def resources(pe, type_id):
    """{(name, lang): bytes} of one resource type."""
    out = {}
    for t in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if t.id != type_id:
            continue
        for n in t.directory.entries:
            name = str(n.name) if n.name is not None else n.id
            for lang in n.directory.entries:
                d = lang.data.struct
                out[(name, lang.id)] = pe.get_data(d.OffsetToData, d.Size)
    return out


def string_tables(pe):
    tables = {}
    for (bundle, lang), data in resources(pe, pefile.RESOURCE_TYPE["RT_STRING"]).items():
        pos = 0
        for i in range(16):
            (length,) = struct.unpack_from("<H", data, pos)
            pos += 2
            text = data[pos:pos + 2 * length].decode("utf-16-le")
            pos += 2 * length
            if length:
                tables.setdefault(lang, {})[(bundle - 1) * 16 + i] = text
    return tables


def hardening(pe):
    """Address space randomisation with the relocations it needs, no executable data, and on
    a 64-bit build the high-entropy address space; no section both writable and executable."""
    dll = pe.OPTIONAL_HEADER.DllCharacteristics
    check(dll & 0x40, "DYNAMIC_BASE")
    check(dll & 0x100, "NX_COMPAT")
    if pe.OPTIONAL_HEADER.Magic == 0x20B:
        check(dll & 0x20, "HIGH_ENTROPY_VA")
    relocs = pe.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]]
    check(relocs.Size > 0 and not pe.FILE_HEADER.Characteristics & 0x1, "relocations kept (else no randomisation)")
    for section in pe.sections:
        flags = section.Characteristics
        check(not (flags & 0x80000000 and flags & 0x20000000),
              f"section {section.Name.rstrip(bytes(1)).decode()} not both writable and executable")
    manifests = resources(pe, 24)
    manifest = next(iter(manifests.values()), b"").decode("utf-8", "replace")
    check(re.search(r'<requestedExecutionLevel\s+level="highestAvailable"\s+uiAccess="false"', manifest),
          "manifest: requestedExecutionLevel highestAvailable without uiAccess")


def main(exe):
    pe = pefile.PE(exe)
    size = pathlib.Path(exe).stat().st_size
    print(f"LumoraRepair.exe (i686): {size} bytes")
    check(pe.OPTIONAL_HEADER.Magic == 0x10B, "PE32 (not PE32+)")
    check(pe.FILE_HEADER.Machine == 0x14C, "machine i386")
    check(pe.OPTIONAL_HEADER.Subsystem == 2, "GUI subsystem")
    hardening(pe)
    # Size: the exe is downloaded and mailed by support. The C++ runtime's own per-thread
    # exception state and locks (instead of stand-ins that break once a second thread throws)
    # took it past the 164 KB it was held to; 192 KB (196608 bytes) at most.
    check(size <= 192 * 1024, f"at most 192 KB (196608 bytes), not {size}")
    oldest_windows(pe)

    imports = {e.dll.decode().lower() for e in pe.DIRECTORY_ENTRY_IMPORT}
    allowed = KNOWN_DLLS | SIDE_BY_SIDE
    check(imports <= allowed, f"imports only known DLLs, not {sorted(imports - allowed)}")
    check(not hasattr(pe, "DIRECTORY_ENTRY_DELAY_IMPORT"), "no delay-loaded imports")

    tables = string_tables(pe)
    check(set(tables) == set(LANGS), f"string tables in 0407 and 0409 only, found {sorted(map(hex, tables))}")
    expected_ids = set(range(100, 141)) - {109}
    for lang, rc in LANGS.items():
        table = tables.get(lang, {})
        low = {i for i in table if i < 200}
        check(low == expected_ids, f"{lang:04x}: ids 100..140 without 109, got {sorted(low ^ expected_ids)} off")
        source = rc_texts(rc)
        for i in expected_ids:
            check(table.get(i) == source.get(i), f"{lang:04x} text {i}: {table.get(i)!r} != {source.get(i)!r}")
        high = {i for i in table if i >= 200}
        other = tables.get(0x0407 if lang == 0x0409 else 0x0409, {})
        check(high <= set(other), f"{lang:04x}: texts from 200 on exist in both languages")
    # A few texts spelled out, so a wrong code page in the resource compiler shows.
    de, en = tables.get(0x0407, {}), tables.get(0x0409, {})
    check(de.get(100) == "Analyse und Problembereinigung f\u00fcr Lumora", "German 100 with its umlaut")
    check(en.get(117) == en.get(118) and de.get(117) != de.get(118), "117/118: equal in English, not in German")
    check("'Programme\\Gemeinsame Dateien'" in de.get(140, ""), "German 140 with apostrophes and a backslash")

    groups = resources(pe, pefile.RESOURCE_TYPE["RT_GROUP_ICON"])
    by_name = {name: data for (name, _), data in groups.items()}

    def icon_entries(data):
        _, _, count = struct.unpack_from("<HHH", data, 0)
        return [struct.unpack_from("<BBBBHHIH", data, 6 + 14 * i) for i in range(count)]

    app = [(e[0], e[1], e[5]) for e in icon_entries(by_name.get(1, b"\0" * 6))]
    check(sorted(app) == [(16, 16, 8), (32, 32, 8)], f"icon group 1: 16x16 and 32x32, 256 colours: {app}")
    rep = [(e[0], e[1], e[2], e[5]) for e in icon_entries(by_name.get("ICON_REPAIR_16", b"\0" * 6))]
    check(rep == [(16, 16, 16, 4)], f"ICON_REPAIR_16: one 16x16 image, 16 colours: {rep}")

    cursors = resources(pe, pefile.RESOURCE_TYPE["RT_CURSOR"])
    check(len(cursors) == 1, "one cursor image")
    for data in cursors.values():
        hot_x, hot_y = struct.unpack_from("<HH", data, 0)
        width, height, _, bits = struct.unpack_from("<iiHH", data, 8)
        check((hot_x, hot_y) == (5, 0), f"cursor hot spot (5, 0): {(hot_x, hot_y)}")
        check((width, height, bits) == (32, 64, 1), f"cursor 32x32 monochrome: {(width, height // 2, bits)}")

    manifests = resources(pe, 24)
    manifest = next(iter(manifests.values()), b"").decode("utf-8", "replace")
    check(re.search(r'Microsoft\.Windows\.Common-Controls"\s+version="6\.0\.0\.0"\s+processorArchitecture="x86"',
                    manifest), "manifest: common controls 6.0.0.0 for x86")
    check('level="highestAvailable"' in manifest, "manifest: requestedExecutionLevel highestAvailable")
    check("dpiAware" in manifest, "manifest: DPI aware")
    check("supportedOS" not in manifest, "manifest: no supportedOS list")

    fixed = pe.VS_FIXEDFILEINFO[0]
    check((fixed.FileVersionMS, fixed.FileVersionLS) == (0x0001000A, 0x00000030), "file version 1.10.0.48")
    check((fixed.ProductVersionMS, fixed.ProductVersionLS) == (0x0001000A, 0x00000030), "product version 1.10.0.48")
    strings = {}
    for info in pe.FileInfo[0]:
        for table in getattr(info, "StringTable", []):
            strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    check(strings.get("FileDescription") == "Lumora Component Analysis and Repair", "FileDescription")
    check(strings.get("InternalName") == "LumoraRepair", "InternalName")
    check(strings.get("OriginalFilename") == "LumoraRepair.exe", "OriginalFilename")
    check(strings.get("CompanyName") and strings.get("LegalCopyright"), "company and copyright strings")

    for f in failures:
        print("FAIL:", f)
    print("product check:", "failed" if failures else "passed")
    return 1 if failures else 0


def main_hardening(exe):
    """The 64-bit test build, linked as the product is: its hardening alone."""
    hardening(pefile.PE(exe))
    for f in failures:
        print("FAIL:", f)
    print("hardening check:", "failed" if failures else "passed")
    return 1 if failures else 0


if __name__ == "__main__":
    if sys.argv[1] == "--hardening":
        sys.exit(main_hardening(sys.argv[2]))
    sys.exit(main(sys.argv[1]))
