#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A small stand-in for the Serie A start-time service, on the loopback interface only.

It answers GET <any path>?servizio=orariseriea&anno=<year> with the file orari-<year>.json of its data
folder (this folder unless --data-dir says otherwise), plus a member "richiesta" that echoes what it
received, so that tests can check the User-Agent, the headers and the query.

The first path segment selects a fault instead:

  /errore404/...              404 Not Found
  /stato/<code>/...           that status with an empty reason phrase, as HTTP/2 answers have none
  /motivo/<code>/<reason>/... that status with the reason phrase given (percent-encoded)
  /nonjson/...                200 with an HTML page
  /lento/...                  waits --slow-seconds, then the normal answer
  /enorme/...                 200 with a valid JSON answer longer than 1 MiB
  /array/...                  200 with a JSON array at the top level
  /scenario/<file>/...        200 with <data dir>/<file> sent as it is (no echo)
  /lungo/<code>/<bytes>/...   that status with a reason phrase of <bytes> letters (at most 1 MiB)
  /righe/<n>/<bytes>/...      200 after <n> extra header lines of <bytes> letters each (at most 10000
                              lines of 10000 letters)
  /goccia/<part>/<ms>/<n>/... the normal answer after <n> extra header lines (<part> "intestazioni") or
                              with its first <n> body bytes (<part> "corpo"), sent one at a time, <ms>
                              milliseconds apart (n at most 1000, ms at most 10000)
  /rimanda/<code>/<n>/...     <code> to the same path with <n> one less, until <n> is 0; then the rest
  /cerchio/...                302 to itself
  /verso/<url>/...            302 to <url> (percent-encoded)

With --tls-cert and --tls-key it speaks https instead; with --tls-self-signed it makes a certificate of
its own for 127.0.0.1 with the openssl command (for tests that cannot run openssl themselves). On start it prints the port it listens on as its first line of standard output.
"""

import argparse
import json
import os
import re
import ssl
import subprocess
import tempfile
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

SAFE_FILE = re.compile(r"^[A-Za-z0-9_][A-Za-z0-9_.-]*$")
ONE_MIB = 1024 * 1024


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "orari-server"
    sys_version = ""

    def version_string(self):
        return self.server_version

    def log_message(self, format, *args):
        if self.server.verbose:
            super().log_message(format, *args)

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        segments = [urllib.parse.unquote(s) for s in url.path.split("/") if s]
        selector = segments[0] if segments else ""
        try:
            if selector == "errore404":
                self.send_body(404, b"<html><body>Not Found</body></html>", "text/html")
            elif selector == "stato":
                self.send_status(segments[1:2] + [""])
            elif selector == "motivo":
                self.send_status(segments[1:3])
            elif selector == "nonjson":
                self.send_body(200, b"<html><body>Servizio in manutenzione</body></html>", "text/html")
            elif selector == "lento":
                time.sleep(self.server.slow_seconds)
                self.send_answer(url.query)
            elif selector == "enorme":
                self.send_oversized(url.query)
            elif selector == "array":
                self.send_json(200, [self.echo(url.query)])
            elif selector == "scenario" and len(segments) > 1:
                self.send_file(segments[1])
            elif selector == "lungo":
                self.send_status([segments[1], "A" * min(int(segments[2]), ONE_MIB)])
            elif selector == "righe":
                self.send_many_lines(min(int(segments[1]), 10000), min(int(segments[2]), 10000))
            elif selector == "goccia":
                self.send_trickle(segments[1], int(segments[2]), int(segments[3]), url.query)
            elif selector == "rimanda":
                self.send_hop(segments, url)
            elif selector == "cerchio":
                self.send_redirect(302, self.path)
            elif selector == "verso":
                self.send_redirect(302, segments[1])
            else:
                self.send_answer(url.query)
        except (BrokenPipeError, ConnectionResetError):
            pass  # the client gave up (time-out or body too large)

    def echo(self, query):
        return {
            "user_agent": self.headers.get("User-Agent"),
            "intestazioni": [name for name in self.headers.keys()],
            "query": query,
            "parametri": urllib.parse.parse_qsl(query, keep_blank_values=True),
        }

    def answer(self, query):
        """The service's answer to the query, or None with the error already sent."""
        params = dict(urllib.parse.parse_qsl(query, keep_blank_values=True))
        if params.get("servizio") != "orariseriea" or not params.get("anno", "").isdigit():
            self.send_body(400, b"Richiesta non valida", "text/plain")
            return None
        path = os.path.join(self.server.data_dir, "orari-%s.json" % params["anno"])
        if not os.path.isfile(path):
            self.send_body(404, b"Stagione sconosciuta", "text/plain")
            return None
        with open(path, encoding="utf-8") as f:
            answer = json.load(f)
        answer["richiesta"] = self.echo(query)
        return answer

    def send_answer(self, query):
        answer = self.answer(query)
        if answer is not None:
            self.send_json(200, answer)

    def send_status(self, rest):
        code = int(rest[0]) if rest and rest[0].isdigit() else 500
        reason = rest[1] if len(rest) > 1 else "Errore"
        body = b"stato di prova"
        self.send_response(code, reason)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def send_many_lines(self, count, length):
        body = b"molte righe"
        self.send_response(200)
        for i in range(count):
            self.send_header("X-Riga-%d" % i, "A" * length)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def send_oversized(self, query):
        with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "orari-2025.json"), encoding="utf-8") as f:
            answer = json.load(f)
        answer["riempitivo"] = "x" * (ONE_MIB + 1024)
        answer["richiesta"] = self.echo(query)
        self.send_json(200, answer)

    def send_file(self, name):
        path = os.path.join(self.server.data_dir, name)
        if not SAFE_FILE.match(name) or not os.path.isfile(path):
            self.send_body(404, b"Scenario sconosciuto", "text/plain")
            return
        with open(path, "rb") as f:
            self.send_body(200, f.read(), "application/json; charset=utf-8")

    def send_trickle(self, part, ms, count, query):
        answer = self.answer(query)
        if answer is None:
            return
        body = json.dumps(answer, ensure_ascii=False).encode("utf-8")
        head = ("HTTP/1.1 200 OK\r\nContent-Type: application/json; charset=utf-8\r\n"
                "Content-Length: %d\r\n" % len(body)).encode("ascii")
        count = min(count, 1000)
        if part == "corpo":
            pieces = [body[i:i + 1] for i in range(min(count, len(body)))]
            head, body = head + b"\r\n", body[len(pieces):]
        else:
            pieces = [b"X-Goccia: %d\r\n" % i for i in range(count)]
            body = b"\r\n" + body
        self.wfile.write(head)
        self.wfile.flush()
        for piece in pieces:
            time.sleep(min(ms, 10000) / 1000.0)
            self.wfile.write(piece)
            self.wfile.flush()
        self.wfile.write(body)
        self.close_connection = True

    def send_hop(self, segments, url):
        code, hops, rest = int(segments[1]), int(segments[2]), "/" + "/".join(segments[3:])
        if hops <= 0:
            self.path = rest + ("?" + url.query if url.query else "")
            self.do_GET()
            return
        target = "/rimanda/%d/%d%s" % (code, hops - 1, rest) + ("?" + url.query if url.query else "")
        self.send_redirect(code, target)

    def send_redirect(self, code, location):
        body = b"Spostato"
        self.send_response(code)
        self.send_header("Location", location)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def send_json(self, code, value):
        body = json.dumps(value, ensure_ascii=False).encode("utf-8")
        self.send_body(code, body, "application/json; charset=utf-8")

    def send_body(self, code, body, content_type):
        self.send_response(code)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--port", type=int, default=0, help="port on 127.0.0.1 (0: any free port)")
    parser.add_argument("--data-dir", default=os.path.dirname(os.path.abspath(__file__)),
                        help="folder of orari-<year>.json and of the scenario files")
    parser.add_argument("--slow-seconds", type=float, default=60.0, help="wait of /lento/ before answering")
    parser.add_argument("--tls-cert", help="serve https with this PEM certificate (needs --tls-key)")
    parser.add_argument("--tls-key", help="PEM private key of --tls-cert")
    parser.add_argument("--tls-self-signed", action="store_true",
                        help="serve https with a self-signed certificate made with the openssl command")
    parser.add_argument("--verbose", action="store_true", help="log every request to standard error")
    args = parser.parse_args()

    server = ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    if args.tls_cert or args.tls_self_signed:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        if args.tls_self_signed:
            with tempfile.TemporaryDirectory() as folder:
                cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
                subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
                                "-subj", "/CN=127.0.0.1", "-keyout", key, "-out", cert],
                               check=True, capture_output=True)
                context.load_cert_chain(cert, key)
        else:
            context.load_cert_chain(args.tls_cert, args.tls_key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    server.data_dir = args.data_dir
    server.slow_seconds = args.slow_seconds
    server.verbose = args.verbose
    print(server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()


if __name__ == "__main__":
    main()
