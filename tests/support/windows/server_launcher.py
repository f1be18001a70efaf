#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Starts the test servers that Windows test programs ask for, on the loopback interface.

A Windows test under Wine cannot run a Linux program and wait for it, so the tests' servers run here.
A test connects to this launcher and sends one line: the server script and its arguments, separated by
tabs. The launcher runs `python3 <script> --port 0 <arguments>`, sends back the port the server prints as
its first line, and stops the server when the test closes the connection (or ends). Arguments that are
Windows paths (C:\\...) are turned into paths of this system with winepath when it is there.

On start it prints the port it listens on as its first line, for CALVORIN_TEST_LAUNCHER.
"""

import argparse
import re
import shutil
import socket
import subprocess
import sys
import threading

WINDOWS_PATH = re.compile(r"^[A-Za-z]:[\\/]")


def local_path(argument):
    if WINDOWS_PATH.match(argument) and shutil.which("winepath"):
        done = subprocess.run(["winepath", "-u", argument], capture_output=True, text=True)
        if done.returncode == 0 and done.stdout.strip():
            return done.stdout.strip()
    return argument


def serve(connection):
    with connection:
        request = b""
        while not request.endswith(b"\n"):
            chunk = connection.recv(4096)
            if not chunk or len(request) > 65536:
                return
            request += chunk
        words = [local_path(w) for w in request.decode("utf-8").rstrip("\n").split("\t")]
        server = subprocess.Popen([sys.executable, words[0], "--port", "0"] + words[1:],
                                  stdout=subprocess.PIPE, stdin=subprocess.DEVNULL)
        try:
            connection.sendall(server.stdout.readline() or b"0\n")
            while connection.recv(4096):
                pass  # the test holds the connection for as long as it needs the server
        except OSError:
            pass
        finally:
            server.terminate()
            server.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--port", type=int, default=0, help="port on 127.0.0.1 (0: any free port)")
    args = parser.parse_args()
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", args.port))
    listener.listen(16)
    print(listener.getsockname()[1], flush=True)
    try:
        while True:
            connection, _ = listener.accept()
            threading.Thread(target=serve, args=(connection,), daemon=True).start()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
