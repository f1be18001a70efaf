#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Python's re as an independent matcher for the hand-written parsers of fixed text forms.
#   regex_peer.py PATTERN search|whole FILE
# FILE holds one text per line in hex. For each, prints "-" when there is no match, else "+" and each
# group in hex followed by ",", "~" for a group that took no part. Bytes patterns, so \d is ASCII only;
# text that is not UTF-8 never matches, as a pattern compiled for UTF-8 refuses it.
import re
import sys

pattern, mode, path = sys.argv[1:4]
regex = re.compile(pattern.encode())
apply = regex.fullmatch if mode == "whole" else regex.search
with open(path) as lines:
    for line in lines:
        text = bytes.fromhex(line.strip())
        try:
            text.decode("utf-8")
        except UnicodeDecodeError:
            print("-")
            continue
        match = apply(text)
        if match is None:
            print("-")
        else:
            print("+" + "".join(("~" if g is None else g.hex()) + "," for g in match.groups()))
