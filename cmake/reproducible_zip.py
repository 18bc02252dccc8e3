#!/usr/bin/env python3
"""Writes the portable zip so that two builds of one commit give the same bytes.

    reproducible_zip.py ZIP FOLDER EPOCH

Every file under FOLDER goes in, in name order, dated EPOCH (seconds since
1970, UTC; the zip's DOS times are written in UTC too). The entries carry no
extra fields: CMake's and CPack's zips add the file's access and change times
and the building user's ids, which differ from build to build.
"""
import os
import sys
import time
import zipfile

ZIP_EARLIEST = 315532800  # 1980-01-01, the first time a zip can hold


def main():
    out, folder, epoch = sys.argv[1], sys.argv[2], int(sys.argv[3])
    stamp = time.gmtime(max(epoch, ZIP_EARLIEST))[:6]
    names = []
    for parent, _, files in os.walk(folder):
        for file in files:
            path = os.path.relpath(os.path.join(parent, file), folder)
            names.append(path.replace(os.sep, "/"))
    with zipfile.ZipFile(out, "w") as archive:
        for name in sorted(names):
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # MS-DOS attributes: none
            with open(os.path.join(folder, name), "rb") as file:
                archive.writestr(info, file.read(), compresslevel=9)


if __name__ == "__main__":
    main()
