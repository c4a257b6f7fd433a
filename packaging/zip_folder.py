#!/usr/bin/env python3
"""Zips a folder the same way every time, so that a rebuild gives the same zip.

    zip_folder.py OUTPUT.zip FOLDER TOP EPOCH

Every file and folder under FOLDER goes into OUTPUT.zip under the one folder
TOP/, in sorted order, dated EPOCH (seconds since 1970, UTC; zip dates start
in 1980), with mode 755 for folders and programs and 644 for the rest, and no
owner, no extra time fields, nothing of the machine it was made on.
"""
import os
import sys
import time
import zipfile

ZIP_EPOCH = 315532800  # 1980-01-01T00:00:00Z


def main(output, folder, top, epoch):
    date_time = time.gmtime(max(int(epoch), ZIP_EPOCH))[:6]
    paths = []
    for root, dirs, files in os.walk(folder):
        for name in dirs + files:
            paths.append(os.path.relpath(os.path.join(root, name), folder))
    paths.sort(key=lambda path: path.split(os.sep))

    def entry(name, mode):
        info = zipfile.ZipInfo(name, date_time)
        info.create_system = 3  # Unix, so that the mode bits are read
        info.external_attr = mode << 16
        return info

    with zipfile.ZipFile(output, "w") as archive:
        archive.writestr(entry(top + "/", 0o40755), b"")
        for path in paths:
            full = os.path.join(folder, path)
            name = top + "/" + path.replace(os.sep, "/")
            if os.path.isdir(full):
                archive.writestr(entry(name + "/", 0o40755), b"")
                continue
            mode = 0o100755 if os.access(full, os.X_OK) else 0o100644
            with open(full, "rb") as data:
                archive.writestr(entry(name, mode), data.read(),
                                 compress_type=zipfile.ZIP_DEFLATED,
                                 compresslevel=9)


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
