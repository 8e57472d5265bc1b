#!/usr/bin/env python3
"""Local HTTP server that plays feed hosts for the retrieval tests and the update benchmark.

Listens on 127.0.0.1 (a free port unless --port is given), writes the port to --port-file once
it accepts connections, and ends on GET /quit, when the process that started it ends, or after
--lifetime seconds.

Routes (every answer has a Content-Length; connections are kept alive):
  /gen/NAME?items=N&start=K&lm=EPOCH&enc=E&delay=MS   an RSS 2.0 feed "Feed NAME" with items
        K..K+N-1 (default 3 from 0). With lm: Last-Modified, and 304 to an If-Modified-Since
        at or after it. enc: gzip, gzip-header (extra field, name, comment and header CRC),
        deflate, gzip-bomb (inflates to 65 MB), gzip-cut (truncated). delay: wait first.
  /r/CODE/PATH      redirect with CODE to the absolute URL of /PATH (query kept)
  /rr/CODE/PATH     the same with a relative Location
  /loop/N           302 to /loop/N+1, forever
  /opml/A,B,...?lm=EPOCH   a feed list whose outlines are /gen/A?lm=1577836800, /gen/B?...
  /text             a body that is not XML
  /status/CODE      an empty answer with that status
  /headers          a feed whose item titles are the request's header lines
  /hang             reads the request and never answers
  /trickle          answers 200 and then sends its body one byte every half second, forever
  /hits?path=P      how many requests came for path P (query ignored), as text
  /quit             ends the server
"""
import argparse
import email.utils
import gzip
import io
import os
import struct
import sys
import threading
import time
import zlib
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit

FIXED_LM = 1577836800  # 2020-01-01T00:00:00Z
stopping = threading.Event()
hits = {}
hits_lock = threading.Lock()


def rss(title, items):
    parts = ['<?xml version="1.0" encoding="utf-8"?>\n<rss version="2.0"><channel>',
             f"<title>{title}</title><link>http://example.invalid/</link>",
             "<description>test feed</description>"]
    for t, link, date, desc in items:
        parts.append(f"<item><title>{t}</title><link>{link}</link>"
                     f"<pubDate>{date}</pubDate><description>{desc}</description></item>")
    parts.append("</channel></rss>")
    return "".join(parts).encode("utf-8")


def escape(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def gen_feed(name, items, start):
    records = []
    for i in range(start, start + items):
        date = email.utils.formatdate(FIXED_LM + i * 3600, usegmt=True)
        records.append((f"{name} item {i}", f"http://example.invalid/{name}/{i}", date,
                        f"Description {i} of {name}. " * 4))
    return rss(f"Feed {name}", records)


def gzip_with_header_fields(body):
    flags = 0x02 | 0x04 | 0x08 | 0x10  # header CRC, extra, name, comment
    header = b"\x1f\x8b\x08" + bytes([flags]) + struct.pack("<I", 0) + b"\x00\xff"
    extra = b"AB\x02\x00xy"
    header += struct.pack("<H", len(extra)) + extra + b"feed.xml\x00" + b"a comment\x00"
    header += struct.pack("<H", zlib.crc32(header) & 0xFFFF)
    raw = zlib.compressobj(9, zlib.DEFLATED, -15)
    data = raw.compress(body) + raw.flush()
    return header + data + struct.pack("<II", zlib.crc32(body), len(body) & 0xFFFFFFFF)


_bomb = None


def gzip_bomb():
    global _bomb
    if _bomb is None:
        out = io.BytesIO()
        with gzip.GzipFile(fileobj=out, mode="wb", compresslevel=9) as f:
            f.write(b'<?xml version="1.0"?><rss version="2.0"><channel><title>')
            chunk = b"A" * (1 << 20)
            for _ in range(65):
                f.write(chunk)
            f.write(b"</title></channel></rss>")
        _bomb = out.getvalue()
    return _bomb


def encode(body, enc):
    if enc == "gzip":
        return gzip.compress(body), "gzip"
    if enc == "gzip-header":
        return gzip_with_header_fields(body), "gzip"
    if enc == "deflate":
        return zlib.compress(body), "deflate"
    if enc == "gzip-bomb":
        return gzip_bomb(), "gzip"
    if enc == "gzip-cut":
        data = gzip.compress(body)
        return data[: len(data) // 2], "gzip"
    return body, None


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "TidewatchTestServer/1"
    # Headers and body go out as separate writes: without this every answer on a kept-alive
    # connection waits for the client's delayed acknowledgement (some 40 ms).
    disable_nagle_algorithm = True

    def log_message(self, *args):
        pass

    def answer(self, status, body=b"", headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        if status != 304:
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if body and status != 304:
            self.wfile.write(body)

    def base(self):
        return f"http://127.0.0.1:{self.server.server_address[1]}"

    def do_GET(self):
        url = urlsplit(self.path)
        path, query = url.path, parse_qs(url.query)
        with hits_lock:
            hits[path] = hits.get(path, 0) + 1
        arg = lambda key, default=None: query.get(key, [default])[0]
        try:
            if path.startswith("/gen/"):
                return self.gen(path[5:], arg)
            if path.startswith("/r/") or path.startswith("/rr/"):
                relative = path.startswith("/rr/")
                code, _, rest = path.split("/", 2)[2].partition("/")
                target = "/" + rest + ("?" + url.query if url.query else "")
                location = target if relative else self.base() + target
                return self.answer(int(code), b"moved", [("Location", location)])
            if path.startswith("/loop/"):
                n = int(path[6:])
                return self.answer(302, b"", [("Location", f"{self.base()}/loop/{n + 1}")])
            if path.startswith("/opml/"):
                return self.opml(path[6:].split(","), arg)
            if path == "/text":
                return self.answer(200, b"this is not XML at all\n",
                                   [("Content-Type", "text/plain")])
            if path.startswith("/status/"):
                return self.answer(int(path[8:]))
            if path == "/headers":
                lines = [(escape(f"{k}: {v}"), "http://example.invalid/h", "", "")
                         for k, v in self.headers.items()]
                return self.answer(200, rss("Headers", lines),
                                   [("Content-Type", "application/rss+xml")])
            if path == "/hang":
                stopping.wait()
                return None
            if path == "/trickle":
                return self.trickle()
            if path == "/hits":
                with hits_lock:
                    count = hits.get(arg("path", ""), 0)
                return self.answer(200, str(count).encode(), [("Content-Type", "text/plain")])
            if path == "/quit":
                self.answer(200, b"bye")
                stopping.set()
                return None
            return self.answer(404, b"not found")
        except (ValueError, IndexError):
            return self.answer(400, b"bad request")

    def trickle(self):
        self.send_response(200)
        self.send_header("Content-Length", str(1 << 30))
        self.end_headers()
        self.wfile.write(b'<?xml version="1.0"?><rss version="2.0"><channel><title>')
        self.wfile.flush()
        while not stopping.wait(0.5):
            try:
                self.wfile.write(b"x")
                self.wfile.flush()
            except OSError:
                break
        self.close_connection = True
        return None

    def not_modified(self, lm):
        since = self.headers.get("If-Modified-Since")
        if not since:
            return False
        try:
            return email.utils.parsedate_to_datetime(since).timestamp() >= lm
        except (TypeError, ValueError):
            return False

    def gen(self, name, arg):
        delay = int(arg("delay", "0"))
        if delay:
            if stopping.wait(delay / 1000.0):
                return None
        lm = arg("lm")
        headers = [("Content-Type", "application/rss+xml")]
        if lm is not None:
            lm = int(lm)
            headers.append(("Last-Modified", email.utils.formatdate(lm, usegmt=True)))
            if self.not_modified(lm):
                return self.answer(304, b"", headers)
        body = gen_feed(escape(name), int(arg("items", "3")), int(arg("start", "0")))
        body, encoding = encode(body, arg("enc", ""))
        if encoding:
            headers.append(("Content-Encoding", encoding))
        return self.answer(200, body, headers)

    def opml(self, names, arg):
        outlines = "".join(
            f'<outline text="{escape(n)}" type="rss" '
            f'xmlUrl="{self.base()}/gen/{escape(n)}?lm={FIXED_LM}"/>' for n in names if n)
        body = ('<?xml version="1.0" encoding="utf-8"?><opml version="1.1"><head>'
                f"<title>List {escape(','.join(names))}</title></head><body>"
                f"{outlines}</body></opml>").encode("utf-8")
        headers = [("Content-Type", "text/x-opml")]
        lm = arg("lm")
        if lm is not None:
            lm = int(lm)
            headers.append(("Last-Modified", email.utils.formatdate(lm, usegmt=True)))
            if self.not_modified(lm):
                return self.answer(304, b"", headers)
        return self.answer(200, body, headers)


def watch(server, lifetime):
    parent = os.getppid()
    deadline = time.monotonic() + lifetime
    while not stopping.wait(0.5):
        if os.getppid() != parent or time.monotonic() > deadline:
            stopping.set()
    server.shutdown()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    parser.add_argument("--lifetime", type=float, default=900)
    args = parser.parse_args()
    ThreadingHTTPServer.daemon_threads = True
    ThreadingHTTPServer.request_queue_size = 256
    server = ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    port = server.server_address[1]
    if args.port_file:
        temp = args.port_file + ".tmp"
        with open(temp, "w") as f:
            f.write(str(port))
        os.replace(temp, args.port_file)
    else:
        print(port, flush=True)
    threading.Thread(target=watch, args=(server, args.lifetime), daemon=True).start()
    server.serve_forever(poll_interval=0.2)
    return 0


if __name__ == "__main__":
    sys.exit(main())
