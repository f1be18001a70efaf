#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Python's zipfile as an independent reader of the archives under test.
#   zip_peer.py test ZIP PASSWORD       read every entry (CRC checked); exit 1 on any error
#   zip_peer.py names ZIP               entry names, one per line (UTF-8)
#   zip_peer.py cat ZIP PASSWORD NAME   the entry's data on stdout
#   zip_peer.py info ZIP NAME           date_time tuple, external attributes, flag bits
import sys
import zipfile


def open_zip(path, password=None):
    archive = zipfile.ZipFile(path)
    if password:
        archive.setpassword(password.encode("cp1252"))
    return archive


def main(argv):
    command, path = argv[1], argv[2]
    if command == "test":
        archive = open_zip(path, argv[3])
        try:
            for name in archive.namelist():
                archive.read(name)
        except Exception as error:  # wrong password, bad CRC, corrupt data
            print(error)
            return 1
        return 0
    if command == "names":
        for name in open_zip(path).namelist():
            sys.stdout.buffer.write((name + "\n").encode("utf-8"))
        return 0
    if command == "cat":
        sys.stdout.buffer.write(open_zip(path, argv[3]).read(argv[4]))
        return 0
    if command == "info":
        info = open_zip(path).getinfo(argv[3])
        print(info.date_time, hex(info.external_attr), hex(info.flag_bits))
        return 0
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
