#!/usr/bin/env python3
"""Copies source files into a folder, converted from UTF-8 to code page 1250.

Usage: to_cp1250.py SOURCE_ROOT TARGET_ROOT LIST_FILE
LIST_FILE names one file a line, relative to SOURCE_ROOT. A copy is written
only when its bytes change, so an unchanged file is not compiled again. A
character cp1250 lacks (only in comments: the gcc build refuses such a
literal) becomes "?".
"""
import os
import sys


def main():
    source, target, listing = sys.argv[1:4]
    with open(listing, encoding="utf-8") as f:
        names = [line.strip() for line in f if line.strip()]
    for name in names:
        with open(os.path.join(source, name), encoding="utf-8") as f:
            data = f.read().encode("cp1250", errors="replace")
        out = os.path.join(target, name)
        try:
            with open(out, "rb") as f:
                if f.read() == data:
                    continue
        except FileNotFoundError:
            os.makedirs(os.path.dirname(out), exist_ok=True)
        with open(out, "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
