#!/usr/bin/env python3
"""The update server of the tests: announcements for every case of the
update check, signed with tests/update/test-key.pem (or a key made for the
run, for the "unknown key" case), and the test installer.

    server.py --installer EXE --port-file FILE [--lifetime SECONDS]

Listens on 127.0.0.1 on a free port, and on 127.0.0.2 at the same port as a
witness: the update check must never connect there (plain http to an
address other than 127.0.0.1 and localhost), so every request it receives
is logged and /log on the main address lists them. Writes the port to FILE
once both listen, and stops by itself after --lifetime seconds.
"""
import argparse
import hashlib
import http.server
import os
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
SIGN = os.path.join(REPO, "tools", "sign-update")
TEST_KEY = os.path.join(HERE, "test-key.pem")
NEWER = "4.1.10.0"
CURRENT = "4.1.3.0"
TRICKLE_BYTES = 1024
TRICKLE_PAUSE = 0.1


def signed(key, text):
    with tempfile.NamedTemporaryFile(delete=False) as f:
        f.write(text.encode("utf-8"))
        name = f.name
    try:
        return subprocess.run([SIGN, key, name], capture_output=True, check=True).stdout
    finally:
        os.unlink(name)


def announcement(version, installer, size, digest, notes="Faster address lookup.", eol="\n",
                 notes_ja=None):
    lines = ["Halyard-Update: 1", "Version: " + version, "Installer: " + installer,
             "Size: %d" % size, "SHA-256: " + digest]
    if notes is not None:
        lines.append("Notes: " + notes)
    if notes_ja is not None:
        lines.append("Notes-ja: " + notes_ja)
    return eol.join(lines) + eol


def fixtures(base, witness, installer, other_key):
    size = len(installer)
    digest = hashlib.sha256(installer).hexdigest()
    exe = base + "/files/HalyardSetup.exe"
    k = TEST_KEY
    good = announcement(NEWER, exe, size, digest)
    files = {
        "/files/HalyardSetup.exe": installer,
        "/slow/HalyardSetup.exe": installer,
        "/current/update.txt": signed(k, announcement(CURRENT, exe, size, digest)),
        "/newer/update.txt": signed(k, good),
        "/newer-crlf/update.txt": signed(k, announcement(NEWER, exe, size, digest, eol="\r\n")),
        "/newer-ja/update.txt": signed(k, announcement(NEWER, exe, size, digest,
                                                       notes="アドレス検索が速くなりました。")),
        "/newer-both/update.txt": signed(k, announcement(NEWER, exe, size, digest,
                                                         notes_ja="アドレス帳の検索が速くなりました。")),
        "/baddigest/update.txt": signed(k, announcement(NEWER, exe, size, "0" * 64)),
        "/badsize/update.txt": signed(k, announcement(NEWER, exe, size + 1, digest)),
        "/shortsize/update.txt": signed(k, announcement(NEWER, exe, size - 1, digest)),
        "/nosig/update.txt": good.encode("utf-8"),
        "/unknownkey/update.txt": signed(other_key, good),
        "/malformed/update.txt": signed(k, announcement(NEWER, exe, size, digest[:63])),
        "/slow-newer/update.txt": signed(k, announcement(NEWER, base + "/slow/HalyardSetup.exe",
                                                         size, digest)),
        "/http-installer/update.txt": signed(k, announcement(
            NEWER, witness + "/files/HalyardSetup.exe", size, digest)),
    }
    # Signed, then changed: the note no longer matches the signature.
    files["/badsig/update.txt"] = files["/newer/update.txt"].replace(
        b"Faster address lookup.", b"Faster address lookup!")
    redirects = {
        "/moved/update.txt": "/newer/update.txt",
        "/to-http/update.txt": witness + "/witness/update.txt",
        "/loop/update.txt": "/loop/update.txt",
    }
    return files, redirects


class State:
    def __init__(self):
        self.files = {}
        self.redirects = {}
        self.log = []
        self.lock = threading.Lock()


def handler_for(state, witness):
    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, *args):
            pass

        def send_body(self, status, body, content_type="application/octet-stream"):
            self.send_response(status)
            self.send_header("Content-Type", content_type)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def do_GET(self):
            path = self.path.split("?")[0]
            with state.lock:
                state.log.append(("witness " if witness else "") + path)
                log = "\n".join(state.log).encode() + b"\n"
            if witness:
                return self.send_body(404, b"")
            if path == "/log":
                return self.send_body(200, log, "text/plain")
            if path in state.redirects:
                self.send_response(302)
                self.send_header("Location", state.redirects[path])
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            body = state.files.get(path)
            if body is None:
                return self.send_body(404, b"not found\n", "text/plain")
            if not path.startswith("/slow/"):
                return self.send_body(200, body)
            # A slow download: a transfer that a test can cancel midway.
            self.send_response(200)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            try:
                for pos in range(0, len(body), TRICKLE_BYTES):
                    self.wfile.write(body[pos:pos + TRICKLE_BYTES])
                    self.wfile.flush()
                    time.sleep(TRICKLE_PAUSE)
            except (BrokenPipeError, ConnectionResetError):
                pass

    return Handler


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--installer", required=True)
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--lifetime", type=float, default=900)
    args = parser.parse_args()

    state = State()
    main_server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler_for(state, False))
    port = main_server.server_address[1]
    witness_server = http.server.ThreadingHTTPServer(("127.0.0.2", port), handler_for(state, True))
    for server in (main_server, witness_server):
        server.daemon_threads = True
        threading.Thread(target=server.serve_forever, daemon=True).start()

    with open(args.installer, "rb") as f:
        installer = f.read()
    with tempfile.TemporaryDirectory() as tmp:
        other_key = os.path.join(tmp, "other-key.pem")
        subprocess.run(["openssl", "genpkey", "-algorithm", "EC", "-pkeyopt",
                        "ec_paramgen_curve:P-256", "-out", other_key],
                       check=True, capture_output=True)
        state.files, state.redirects = fixtures("http://127.0.0.1:%d" % port,
                                                "http://127.0.0.2:%d" % port, installer, other_key)
    with open(args.port_file + ".tmp", "w") as f:
        f.write("%d\n" % port)
    os.rename(args.port_file + ".tmp", args.port_file)
    time.sleep(args.lifetime)
    return 0


if __name__ == "__main__":
    sys.exit(main())
