#!/usr/bin/env python3
"""A stand-in for the maker's web site, for the update-check tests.

  product-server.py start STATE_DIR   serve on 127.0.0.1, write the site's
                                      address to STATE_DIR/site and return
  product-server.py stop STATE_DIR    end the server

GET /list/HEX/products.txt answers the bytes HEX spells out, so each test
names the product list it wants in the address; /slow/HEX/products.txt the
same after half a second, so that two checks overlap. Nothing is cached.
"""
import os
import signal
import sys
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer


class Site(BaseHTTPRequestHandler):
    def do_GET(self):
        parts = self.path.split("/")
        if len(parts) != 4 or parts[1] not in ("list", "slow") or parts[3] != "products.txt":
            self.send_error(404)
            return
        try:
            body = bytes.fromhex(parts[2])
        except ValueError:
            self.send_error(400)
            return
        if parts[1] == "slow":
            time.sleep(0.5)
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def start(state):
    os.makedirs(state, exist_ok=True)
    site_file = os.path.join(state, "site")
    if os.path.exists(site_file):
        os.remove(site_file)
    server = ThreadingHTTPServer(("127.0.0.1", 0), Site)
    if os.fork():
        for _ in range(100):
            if os.path.exists(site_file):
                return 0
            time.sleep(0.05)
        return 1
    os.setsid()
    devnull = os.open(os.devnull, os.O_RDWR)
    for fd in (0, 1, 2):
        os.dup2(devnull, fd)
    with open(os.path.join(state, "pid"), "w") as f:
        f.write(str(os.getpid()))
    with open(site_file + ".new", "w") as f:
        f.write("http://127.0.0.1:%d" % server.server_address[1])
    os.rename(site_file + ".new", site_file)
    server.serve_forever()
    return 0


def stop(state):
    try:
        with open(os.path.join(state, "pid")) as f:
            os.kill(int(f.read()), signal.SIGTERM)
    except (OSError, ValueError):
        pass
    return 0


if __name__ == "__main__":
    sys.exit({"start": start, "stop": stop}[sys.argv[1]](sys.argv[2]))
