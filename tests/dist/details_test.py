#!/usr/bin/python3
"""What Windows shows of the packaged programs, read back from the files:
details_test.py VERSION FILE_VERSION COPYRIGHT ICON (FILE BLOCK DESCRIPTION)...
The version in one Japanese string block (makensis gives its own code page
932), and the first icon group is ICON, every size and image."""
import os, struct, sys

import pefile

version, file_version, copyright_line, icon = sys.argv[1:5]
failures = []


def images(data, entry_size, image):  # an icon file's or an icon group's entries, each with its image
    return sorted((data[at] or 256, data[at + 1] or 256, struct.unpack_from("<H", data, at + 6)[0], image(data, at))
                  for at in range(6, 6 + entry_size * data[4], entry_size))


def resources(pe, kind):
    found = next(e for e in pe.DIRECTORY_ENTRY_RESOURCE.entries if e.id == pefile.RESOURCE_TYPE[kind])
    return [(e.id, pe.get_data(e.directory.entries[0].data.struct.OffsetToData,
                               e.directory.entries[0].data.struct.Size)) for e in found.directory.entries]


def check(path, block, description):
    name, pe = os.path.basename(path), pefile.PE(path)
    for kind in ("File", "Product"):
        ms, ls = (getattr(pe.VS_FIXEDFILEINFO[0], kind + "Version" + half) for half in ("MS", "LS"))
        if f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}" != file_version:
            failures.append(f"{name}: {kind} version {ms:#x} {ls:#x}, not {file_version}")
    tables = [t for info in pe.FileInfo[0] if info.Key == b"StringFileInfo" for t in info.StringTable]
    if [t.LangID.decode().upper() for t in tables] != [block]:
        failures.append(f"{name}: string blocks {[t.LangID for t in tables]}, not {block} alone")
    strings = {k.decode(): v.decode() for t in tables for k, v in t.entries.items()}
    for key, value in {"FileDescription": description, "FileVersion": version, "ProductVersion": version,
                       "ProductName": "tov", "OriginalFilename": name, "LegalCopyright": copyright_line}.items():
        if strings.get(key) != value:
            failures.append(f"{name}: {key} is {strings.get(key)!r}, not {value!r}")
    icons = dict(resources(pe, "RT_ICON"))
    group = images(resources(pe, "RT_GROUP_ICON")[0][1], 14, lambda d, at: icons[struct.unpack_from("<H", d, at + 12)[0]])
    in_file = lambda d, at: (lambda size, offset: d[offset:offset + size])(*struct.unpack_from("<II", d, at + 8))
    wanted = images(open(icon, "rb").read(), 16, in_file)
    if [i[0] for i in group] != [16, 32, 48, 256] or group != wanted:
        failures.append(f"{name}: first icon group {[i[:3] for i in group]} is not {icon}")


files = list(zip(sys.argv[5::3], sys.argv[6::3], sys.argv[7::3]))
for path, block, description in files:
    check(path, block, description)
print("\n".join("FAIL: " + f for f in failures) or f"details: {len(files)} files, version {version}, icon in 4 sizes")
sys.exit(1 if failures else 0)
