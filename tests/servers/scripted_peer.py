#!/usr/bin/python3
"""Scripted peers for the download tests: an HTTP server, an FTP server and
a SOCKS 4/4A proxy that do on request what real servers will not (early
close, odd heads, refused REST, multi-line replies split across segments,
silence). The HTTP path or the FTP user name picks the behaviour.

usage: scripted_peer.py PORTS_FILE [TLS_FOLDER]   writes "http=N ftp=N socks=N stuck=N ..."
and serves until GET /quit or five minutes have passed. With a folder holding
good.pem and leaf.key it also serves HTTPS that goes wrong after the
handshake (tlsbodycut, tlsbodyhuge) and, through openssl s_server, a TLS 1.2
server that asks to renegotiate after the reply head (tlsreneg)."""
import os
import re
import socket
import socketserver
import ssl
import struct
import subprocess
import sys
import threading
import time

BODY = bytes((i * 7 + i // 251) & 0xFF for i in range(5000))
BIG = bytes((i * 13 + i // 509) & 0xFF for i in range(200000))
counters = {}
children = []
lock = threading.Lock()
ports = {}


def count(key):
    with lock:
        counters[key] = counters.get(key, 0) + 1
        return counters[key]


def send_slowly(sock, data, piece=3, pause=0.002):
    for i in range(0, len(data), piece):
        sock.sendall(data[i:i + piece])
        time.sleep(pause)


class Http(socketserver.BaseRequestHandler):
    def handle(self):
        s = self.request
        head = b""
        while b"\r\n\r\n" not in head:
            chunk = s.recv(4096)
            if not chunk:
                return
            head += chunk
        text = head.decode("latin-1")
        path = text.split(" ")[1].split("?")[0]
        m = re.search(r"Range: bytes=(\d+)-", text)
        start = int(m.group(1)) if m else 0
        me = "http://127.0.0.1:%d" % ports["http"]

        def reply(status, headers, body=b""):
            s.sendall(("HTTP/1.0 %s\r\n" % status + "".join(h + "\r\n" for h in headers) + "\r\n").encode()
                      + body)

        if path == "/quit":
            reply("200 OK", ["Content-Length: 0"])
            quit_now()
        elif path == "/echo":
            reply("200 OK", ["Content-Length: %d" % len(head)], head)
        elif path == "/resume206":
            part = BODY[start:]
            reply("206 Partial Content", ["Content-Range: bytes %d-4999/5000" % start,
                                          "Content-Length: %d" % len(part)], part)
        elif path == "/shifted-range":
            # Whatever was asked, the range starts at 0.
            reply("206 Partial Content", ["Content-Range: bytes 0-4999/5000", "Content-Length: 5000"], BODY)
        elif path == "/redirect-ctl":
            s.sendall(("HTTP/1.0 302 Found\r\nLocation: %s/echo\x0bX-Injected: 1\r\n\r\n" % me).encode())
        elif path == "/lying-range":
            reply("206 Partial Content", ["Content-Range: bytes 1000-1999/0", "Content-Length: 0"])
        elif path.lower().endswith((".dll", ".zip")):
            reply("200 OK", ["Content-Length: 5000"], BODY)
        elif path == "/resume200":
            reply("200 OK", ["Content-Length: 5000", "Content-Type: application/zip"], BODY)
        elif path == "/redirect":
            reply("302 Found", ["Location: %s/resume200" % me])
        elif path == "/redirect-noloc":
            if count(path) <= 2:
                reply("302 Found", ["Content-Length: 0"])
            else:
                reply("200 OK", ["Content-Length: 5000"], BODY)
        elif path == "/missing":
            reply("404 Not Found", ["Content-Type: text/html"], b"<h1>no</h1>")
        elif path == "/early-close":
            reply("200 OK", ["Content-Length: 5000"], BODY[:2000])
        elif path == "/split-head":
            send_slowly(s, b"HTTP/1.0 200 OK\r\nContent-Length: 5000\r\n\r\n")
            s.sendall(BODY)
        elif path == "/no-length":
            reply("200 OK", [], BODY[:3000])
        elif path == "/silent":
            time.sleep(60)
        elif path == "/garbage":
            s.sendall(b"SSH-2.0-OpenSSH\r\n\r\n")
        elif path == "/endless":
            s.sendall(b"HTTP/1.0 200 OK\r\n")
            try:
                while True:
                    s.sendall(b"X-Filler: " + b"a" * 1000 + b"\r\n")
            except OSError:
                pass
        elif path == "/huge-length":
            reply("200 OK", ["Content-Length: 99999999999"], BODY)
        elif path == "/big":
            reply("200 OK", ["Content-Length: %d" % len(BIG)], BIG)
        elif path.endswith("/"):
            reply("200 OK", ["Content-Type: text/html", "Content-Length: 5000"], BODY)
        elif path.lower().endswith(".gif"):
            reply("200 OK", ["Content-Type: image/gif", "Content-Length: 5000"], BODY)
        else:
            reply("404 Not Found", [])


class Ftp(socketserver.BaseRequestHandler):
    """User names: "multi" (multi-line replies split across segments, 125
    reply to RETR), "norest" (REST refused), "early" (data closes early),
    "reset" and "early-reset" (data ends with a reset after all bytes or
    after 1500), "elsewhere" (PASV names 127.0.0.2, where a decoy serves
    other bytes on the same port), anything else behaves plainly."""

    def handle(self):
        s = self.request
        f = s.makefile("rb")
        user = ""
        rest = 0
        probe_refused = False
        data_listener = None
        self.say("220-Scripted\r\n220-second line\r\n220 ready\r\n", True)
        while True:
            try:
                line = f.readline()
            except OSError:  # the client closed with a reply unread
                return
            if not line:
                return
            cmd, _, arg = line.decode("latin-1").strip().partition(" ")
            cmd = cmd.upper()
            multi = user == "multi"
            if cmd == "USER":
                user = arg
                self.say("331 Password please\r\n")
            elif cmd == "PASS":
                self.say("230-Welcome\r\n230 logged in\r\n" if user == "multi" else "230 logged in\r\n", multi)
            elif cmd == "TYPE":
                self.say("200 Type set\r\n")
            elif cmd == "REST":
                if user == "norest":
                    if probe_refused:
                        self.say("503 REST after refusal\r\n")
                        return
                    probe_refused = True
                    self.say("502 Not implemented\r\n")
                else:
                    rest = int(arg)
                    self.say("350 Restarting at %d\r\n" % rest, multi)
            elif cmd == "SIZE":
                self.say("213 %d\r\n" % len(BODY), multi)
            elif cmd == "PASV":
                data_listener = socket.socket()
                data_listener.bind(("127.0.0.1", 0))
                data_listener.listen(1)
                p = data_listener.getsockname()[1]
                host = "127,0,0,1"
                if user == "elsewhere":
                    host = "127,0,0,2"
                    decoy(p)
                self.say("227 Entering Passive Mode (%s,%d,%d).\r\n" % (host, p // 256, p % 256), multi)
            elif cmd == "RETR":
                if user == "multi":
                    self.say("125-Data connection open\r\n125-more\r\n125 transfer starting\r\n", True)
                else:
                    self.say("150 Opening BINARY mode data connection\r\n")
                conn, _ = data_listener.accept()
                payload = BODY[rest:]
                if user in ("early", "early-reset"):
                    payload = payload[:1500]
                if multi:
                    send_slowly(conn, payload, 997, 0)
                else:
                    conn.sendall(payload)
                if user.endswith("reset"):
                    time.sleep(0.2)  # the bytes are there before the reset
                    conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                conn.close()
                self.say("226 Transfer complete\r\n")
            elif cmd == "QUIT":
                self.say("221 Bye\r\n")
                return
            else:
                self.say("502 Unknown\r\n")

    def say(self, text, split=False):
        if split:
            send_slowly(self.request, text.encode(), 5)
        else:
            self.request.sendall(text.encode())


def decoy(port):
    """Serves other bytes on 127.0.0.2 at the port of a data connection."""
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.2", port))
    listener.listen(1)

    def serve():
        listener.settimeout(30)
        try:
            conn, _ = listener.accept()
            conn.sendall(b"D" * len(BODY))
            conn.close()
        except OSError:
            pass
        listener.close()

    threading.Thread(target=serve, daemon=True).start()


class Socks4(socketserver.BaseRequestHandler):
    """SOCKS 4 and 4A; anything else ends the connection."""

    def handle(self):
        s = self.request
        f = s.makefile("rb")
        head = f.read(1)
        if head != b"\x04":
            return
        head += f.read(7)
        if len(head) < 8:
            return
        port = head[2] * 256 + head[3]
        userid = b""
        while (c := f.read(1)) not in (b"\0", b""):
            userid += c
        addr = ".".join(str(b) for b in head[4:8])
        if head[4:7] == b"\0\0\0" and head[7] != 0:
            name = b""
            while (c := f.read(1)) not in (b"\0", b""):
                name += c
            addr = socket.gethostbyname(name.decode())
        try:
            up = socket.create_connection((addr, port), timeout=10)
        except OSError:
            send_slowly(s, bytes([0, 91, 0, 0, 0, 0, 0, 0]), 3)
            return
        send_slowly(s, bytes([0, 90, 0, 0, 0, 0, 0, 0]), 3)  # in pieces, on purpose
        up.settimeout(None)

        def pump(a, b):
            try:
                while (d := a.recv(65536)):
                    b.sendall(d)
            except OSError:
                pass
            for x in (a, b):
                try:
                    x.shutdown(socket.SHUT_RDWR)
                except OSError:
                    pass

        t = threading.Thread(target=pump, args=(up, s), daemon=True)
        t.start()
        pump(s, up)
        t.join()


class TlsPeer(socketserver.BaseRequestHandler):
    """Takes a ClientHello and answers it badly; the port picks how."""

    def handle(self):
        s = self.request
        s.recv(65536)
        how = self.server.how
        if how == "garbage":
            s.sendall(b"HTTP/1.0 400 Bad Request\r\n\r\n")
        elif how == "cut":  # a handshake record announcing 200 bytes, with 20
            s.sendall(bytes([22, 3, 3, 0, 200]) + bytes(20))
        elif how == "huge":  # a record longer than any peer may send, then silence
            s.sendall(bytes([22, 3, 3, 0x50, 0]) + bytes(1000))
            time.sleep(60)
        elif how == "silent":
            time.sleep(60)


class TlsBodyPeer(socketserver.BaseRequestHandler):
    """A sound handshake and reply head, then a body that breaks: cut in
    the middle of a record, or followed by a record longer than allowed."""

    def handle(self):
        s = self.request
        inc, out = ssl.MemoryBIO(), ssl.MemoryBIO()
        tls = self.server.context.wrap_bio(inc, out, server_side=True)

        def flush():
            data = out.read()
            if data:
                s.sendall(data)

        def step(call):
            while True:
                try:
                    result = call()
                    flush()
                    return result
                except ssl.SSLWantReadError:
                    flush()
                    data = s.recv(65536)
                    if not data:
                        raise OSError("closed")
                    inc.write(data)

        try:
            step(tls.do_handshake)
            request = b""
            while b"\r\n\r\n" not in request:
                request += step(lambda: tls.read(65536))
        except (OSError, ssl.SSLError):
            return
        tls.write(b"HTTP/1.0 200 OK\r\nContent-Length: %d\r\n\r\n" % len(BIG))
        flush()
        tls.write(BIG[:3000])
        flush()
        if self.server.how == "cut":
            tls.write(BIG[3000:6000])
            s.sendall(out.read()[:-7])
        else:
            s.sendall(bytes([23, 3, 3, 0x50, 0]) + bytes(1000))
            time.sleep(60)


def quit_now():
    for child in children:
        child.kill()
    os._exit(0)


def renegotiating_server(folder):
    """openssl s_server for one connection: after the request it sends a
    reply head and a line, then asks for a renegotiation. Its port, or 0."""
    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
    probe.close()
    server = subprocess.Popen(["openssl", "s_server", "-accept", "127.0.0.1:%d" % port, "-naccept", "1", "-tls1_2",
                               "-cert", os.path.join(folder, "good.pem"),
                               "-key", os.path.join(folder, "leaf.key")],
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    children.append(server)
    for line in server.stdout:
        if line.startswith(b"ACCEPT"):
            break
    else:
        return 0

    def drive():
        for line in server.stdout:
            if line.startswith(b"GET"):
                server.stdin.write(b"HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\nfirst line\n")
                server.stdin.flush()
                time.sleep(0.2)
                server.stdin.write(b"r\n")  # s_server's command to renegotiate
                server.stdin.flush()
                break
        for _ in server.stdout:
            pass

    threading.Thread(target=drive, daemon=True).start()
    return port


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    servers = {name: Server(("127.0.0.1", 0), handler)
               for name, handler in (("http", Http), ("ftp", Ftp), ("socks", Socks4))}
    for how in ("garbage", "cut", "huge", "silent"):
        servers["tls" + how] = Server(("127.0.0.1", 0), TlsPeer)
        servers["tls" + how].how = how
    folder = sys.argv[2] if len(sys.argv) > 2 else ""
    if folder and os.path.exists(os.path.join(folder, "good.pem")):
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(os.path.join(folder, "good.pem"), os.path.join(folder, "leaf.key"))
        for how in ("cut", "huge"):
            servers["tlsbody" + how] = Server(("127.0.0.1", 0), TlsBodyPeer)
            servers["tlsbody" + how].how = how
            servers["tlsbody" + how].context = context
        ports["tlsreneg"] = renegotiating_server(folder)
    for name, srv in servers.items():
        ports[name] = srv.server_address[1]
        threading.Thread(target=srv.serve_forever, daemon=True).start()
    # A port whose connects never complete: its accept queue is kept full,
    # so further handshakes go unanswered.
    stuck = socket.socket()
    stuck.bind(("127.0.0.1", 0))
    stuck.listen(0)
    fillers = []
    for _ in range(3):
        c = socket.socket()
        c.setblocking(False)
        c.connect_ex(stuck.getsockname())
        fillers.append(c)
    time.sleep(0.1)
    ports["stuck"] = stuck.getsockname()[1]
    tmp = sys.argv[1] + ".tmp"
    with open(tmp, "w") as out:
        out.write(" ".join("%s=%d" % kv for kv in ports.items()) + "\n")
    os.rename(tmp, sys.argv[1])
    time.sleep(300)
    quit_now()


if __name__ == "__main__":
    main()
