#!/usr/bin/env python3
"""A time-stamping service on localhost for the signing tests, with no network beyond it: answers
each RFC 3161 query POSTed to it with `openssl ts -reply`, signed by the given TSA certificate.
  timestamp_responder.py <tsa certificate> <tsa key> <openssl ts config> <port file>
Listens on a free port of 127.0.0.1, writes the port into <port file> once it listens, and serves
until it is killed."""
import http.server
import os
import subprocess
import sys
import tempfile

certificate, key, config, port_file = sys.argv[1:5]


class Responder(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0"))
        if length <= 0 or length > 65536:
            self.send_error(400)
            return
        query = self.rfile.read(length)
        with tempfile.TemporaryDirectory() as folder:
            query_file = os.path.join(folder, "query.tsq")
            reply_file = os.path.join(folder, "reply.tsr")
            with open(query_file, "wb") as out:
                out.write(query)
            made = subprocess.run(["openssl", "ts", "-reply", "-config", config, "-queryfile", query_file,
                                   "-signer", certificate, "-inkey", key, "-out", reply_file],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
            if made.returncode != 0:
                sys.stderr.write(made.stderr.decode(errors="replace"))
                self.send_error(500)
                return
            with open(reply_file, "rb") as reply:
                body = reply.read()
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *_):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Responder)
with open(port_file + ".partial", "w") as out:
    out.write(str(server.server_address[1]))
os.replace(port_file + ".partial", port_file)
server.serve_forever()
