#!/usr/bin/env python3
"""A stand-in for the content and tips server, for tests and the demo.

Listens on 127.0.0.1 on a free port (written to --port-file), answers GET from an in-memory
store that tests fill with PUT, and stops by itself after --idle seconds without a connection.

Paths under /bad/<mode>/ serve the stored file of the rest of the path, misbehaving:
  no-length    no Content-Length; the body ends when the connection closes
  short        Content-Length larger than the body, then close
  zero         Content-Length: 0 and no body
  big-header   a header block of about 3 KiB before the body
  huge-header  a header block larger than 64 KiB
  404          404 Not Found with an HTML body
  silent       accept, read the request, never answer
  slow         send the body 1 KiB every 200 ms
  endless      no Content-Length, then the body over and over until the client goes (at most
               60 s or 256 MiB)
  no-content   204 No Content without a length, the connection kept open (60 s at most)

With --media-folder, GET /media/NAME serves that folder's file NAME as media: with ranges
(206 and Content-Range for "Range: bytes=A-" or "A-B"), an ETag and Last-Modified of the file
as it is now (an If-Range that names another version gets the whole file), at --media-rate
kilobytes per second or at the rate a "?rate=N" query asks (0: as fast as it goes). More
query words make it misbehave:
  trickle-range  a range answer sends its head, then one byte every 200 ms (60 s at most)
  endless        no Content-Length, and after the file more bytes without end (at most 60 s
                 or 256 MiB)
  overlong       Content-Length of the file, then the file and 1 MiB more With --catalogue too, the
catalogue's episodes play those files: episode-N.mp4 for episode N (episode-1.mp4 when there
is no such file).

Control paths: GET /__requests returns the raw request heads seen since the last call (and
forgets them); GET /__count returns how many connections were accepted (not counting the
control requests); POST /__reset
clears the store and the counters.
"""
import argparse
import urllib.parse
import os
import socket
import socketserver
import sys
import threading
import time

STORE = {}
CATALOGUE = None  # set by --catalogue: the demo site under /soft/
MEDIA = {"folder": None, "rate": 0}  # --media-folder and --media-rate
LOCK = threading.Lock()
REQUESTS = []
COUNT = [0]
LAST_ACTIVITY = [time.monotonic()]
STOPPING = threading.Event()


def read_head(conn):
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = conn.recv(4096)
        if not chunk:
            return None, b""
        data += chunk
        if len(data) > 1 << 20:
            return None, b""
    head, rest = data.split(b"\r\n\r\n", 1)
    return head + b"\r\n\r\n", rest


def read_body(conn, head, rest):
    length = 0
    for line in head.split(b"\r\n")[1:]:
        name, _, value = line.partition(b":")
        if name.strip().lower() == b"content-length":
            length = int(value.strip() or 0)
    while len(rest) < length:
        chunk = conn.recv(65536)
        if not chunk:
            break
        rest += chunk
    return rest[:length]


def response(status, body, headers=(), length=True):
    lines = ["HTTP/1.1 " + status]
    lines += list(headers)
    if length:
        lines.append("Content-Length: %d" % len(body))
    lines.append("Content-Type: application/octet-stream")
    return ("\r\n".join(lines) + "\r\n\r\n").encode("latin-1") + body


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        conn = self.request
        with LOCK:
            LAST_ACTIVITY[0] = time.monotonic()
        head, rest = read_head(conn)
        if head is None or not head.split(b" ", 2)[1].startswith(b"/__") and not head.startswith(b"PUT "):
            # Every connection counts but the tests' own control requests.
            with LOCK:
                COUNT[0] += 1
        if head is None:
            return
        request_line = head.split(b"\r\n", 1)[0].decode("latin-1")
        method, _, target = request_line.partition(" ")
        target = target.rsplit(" ", 1)[0]
        if method == "PUT":
            body = read_body(conn, head, rest)
            with LOCK:
                STORE[target] = body
            conn.sendall(response("200 OK", b""))
            return
        if target == "/__requests":
            with LOCK:
                seen = b"".join(REQUESTS)
                REQUESTS.clear()
            conn.sendall(response("200 OK", seen))
            return
        if target == "/__count":
            with LOCK:
                count = COUNT[0]
            conn.sendall(response("200 OK", str(count).encode()))
            return
        if target == "/__reset":
            with LOCK:
                STORE.clear()
                REQUESTS.clear()
                COUNT[0] = 0
            conn.sendall(response("200 OK", b""))
            return

        with LOCK:
            REQUESTS.append(head)
        if MEDIA["folder"] and target.startswith("/media/"):
            serve_media(conn, head, target)
            return
        if CATALOGUE is not None and CATALOGUE.answers(target):
            status, body, kind = CATALOGUE.page(target)
            conn.sendall(response(status, body, headers=["Content-Type: " + kind]))
            return
        mode = None
        path = target
        if target.startswith("/bad/"):
            mode, _, path = target[len("/bad/"):].partition("/")
            path = "/" + path
        with LOCK:
            body = STORE.get(path)
        if mode == "silent":
            # Hold the connection open and say nothing until the client gives up.
            hold_open(conn)
            return
        if mode == "404" or body is None:
            page = b"<html><head><title>404 Not Found</title></head><body><h1>Not Found</h1></body></html>"
            conn.sendall(response("404 Not Found", page))
            return
        if mode == "endless":
            conn.sendall(response("200 OK", b"", length=False))
            block = (body or b"x") * max(1, 65536 // max(1, len(body or b"x")))
            sent, started = 0, time.monotonic()
            try:
                while sent < (256 << 20) and time.monotonic() - started < 60 and not STOPPING.is_set():
                    conn.sendall(block)
                    sent += len(block)
            except OSError:
                pass
            return
        if mode == "no-content":
            conn.sendall(b"HTTP/1.1 204 No Content\r\nConnection: keep-alive\r\n\r\n")
            hold_open(conn, limit=60)
            return
        if mode == "no-length":
            conn.sendall(response("200 OK", body, length=False))
        elif mode == "short":
            promised = ["Content-Length: %d" % (len(body) + 100)]
            conn.sendall(response("200 OK", b"", headers=promised, length=False) + body)
        elif mode == "zero":
            conn.sendall(response("200 OK", b""))
        elif mode == "big-header":
            filler = ["X-Filler-%02d: %s" % (i, "f" * 90) for i in range(30)]
            conn.sendall(response("200 OK", body, headers=filler))
        elif mode == "huge-header":
            filler = ["X-Filler-%04d: %s" % (i, "f" * 90) for i in range(800)]
            conn.sendall(response("200 OK", body, headers=filler))
        elif mode == "slow":
            data = response("200 OK", body)
            for i in range(0, len(data), 1024):
                conn.sendall(data[i:i + 1024])
                time.sleep(0.2)
        else:
            conn.sendall(response("200 OK", body))
        with LOCK:
            LAST_ACTIVITY[0] = time.monotonic()


def serve_media(conn, head, target):
    """A media file with ranges, throttled to the rate asked for."""
    parsed = urllib.parse.urlsplit(target)
    name = os.path.basename(urllib.parse.unquote(parsed.path))
    path = os.path.join(MEDIA["folder"], name)
    if not name or not os.path.isfile(path):
        conn.sendall(response("404 Not Found", b"<html><body>Not Found</body></html>"))
        return
    rate = MEDIA["rate"]
    query = urllib.parse.parse_qs(parsed.query, keep_blank_values=True)
    words = set(parsed.query.split("&"))
    if "rate" in query:
        rate = int(query["rate"][0] or 0)
    with open(path, "rb") as f:
        data = f.read()
    stat = os.stat(path)
    etag = '"%x-%x"' % (stat.st_mtime_ns, len(data))
    modified = time.strftime("%a, %d %b %Y %H:%M:%S GMT", time.gmtime(stat.st_mtime))
    first, last = 0, len(data) - 1
    status, headers = "200 OK", ["Accept-Ranges: bytes", "ETag: " + etag, "Last-Modified: " + modified]
    fields = {}
    for line in head.split(b"\r\n")[1:]:
        key, _, value = line.decode("latin-1").partition(":")
        fields[key.strip().lower()] = value.strip()
    if_range = fields.get("if-range")
    for key, value in fields.items():
        if if_range is not None and if_range not in (etag, modified):
            break  # another version than the client has: the whole file
        if key == "range" and value.startswith("bytes="):
            start, _, end = value.strip()[6:].partition("-")
            try:
                first = int(start)
                last = min(int(end), len(data) - 1) if end else len(data) - 1
            except ValueError:
                break
            if first >= len(data) or first > last:
                conn.sendall(response("416 Range Not Satisfiable", b"", ["Content-Range: bytes */%d" % len(data)]))
                return
            status = "206 Partial Content"
            headers.append("Content-Range: bytes %d-%d/%d" % (first, last, len(data)))
    body = data[first:last + 1]
    length = ["Content-Length: %d" % len(body)]
    endless = "endless" in words and status.startswith("200")
    if endless:
        length = []
    elif "overlong" in words:
        body = body + b"\xff" * (1 << 20)
    lines = ["HTTP/1.1 " + status] + headers + length + ["Content-Type: video/mp4", "Connection: close"]
    try:
        conn.sendall(("\r\n".join(lines) + "\r\n\r\n").encode("latin-1"))
        if "trickle-range" in words and status.startswith("206"):
            started = time.monotonic()
            for i in range(len(body)):
                if STOPPING.is_set() or time.monotonic() - started > 60:
                    return
                conn.sendall(body[i:i + 1])
                time.sleep(0.2)
            return
        step = 4096
        started = time.monotonic()
        filler = bytes(range(256)) * (step // 256)
        total = len(body) + ((256 << 20) if endless else 0)
        for sent in range(0, total, step):
            if STOPPING.is_set() or (endless and time.monotonic() - started > 60):
                return
            conn.sendall(body[sent:sent + step] if sent < len(body) else filler)
            if rate > 0:
                # Paced so that the bytes so far take the time the rate allows.
                due = started + (sent + step) / (rate * 1024.0)
                delay = due - time.monotonic()
                if delay > 0:
                    time.sleep(delay)
            with LOCK:
                LAST_ACTIVITY[0] = time.monotonic()
    except OSError:
        pass


def hold_open(conn, limit=None):
    """Keeps a connection open, reading and dropping what comes, until the client closes it,
    the server stops, or `limit` seconds have passed."""
    conn.settimeout(1.0)
    started = time.monotonic()
    while not STOPPING.is_set() and (limit is None or time.monotonic() - started < limit):
        try:
            if not conn.recv(1024):
                return
        except socket.timeout:
            continue
        except OSError:
            return


def js_escape(text):
    """The script function escape(), for names that travel inside links."""
    keep = set("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789@*_+-./")
    out = []
    for unit in text.encode("utf-16-le").decode("utf-16-le"):
        code = ord(unit)
        if unit in keep:
            out.append(unit)
        elif code < 256:
            out.append("%%%02X" % code)
        elif code > 0xFFFF:
            code -= 0x10000
            out.append("%%u%04X%%u%04X" % (0xD800 + (code >> 10), 0xDC00 + (code & 0x3FF)))
        else:
            out.append("%%u%04X" % code)
    return "".join(out)


class Catalogue:
    """A small film and series site: the home page, h.asp, episode pages, the web player page,
    the television list, banners and the statistics page."""

    # id: (title, v, number of episodes, kind)
    ITEMS = {
        101: ("星河彼岸", 1, 1, "vexo"),
        201: ("长安夜行", 2, 3, "vexo"),
        202: ("网络剧场", 1, 2, "web"),
        301: ("暂无资源的影片", 1, 1, "none"),
        302: ("出错的影片", 1, 1, "broken"),
    }

    def __init__(self, episode_seconds, download_seconds, answer_delay=0.0, start_ms=600, upgrade_version="3.3",
                 setup_file=None):
        self.episode_seconds = episode_seconds
        self.setup_file = setup_file
        self.upgrade_version = upgrade_version
        self.start_ms = start_ms
        self.download_seconds = download_seconds
        self.answer_delay = answer_delay

    def answers(self, target):
        return target.startswith("/soft/") or target.startswith("/soft?")

    def media(self, item, episode):
        if MEDIA["folder"]:
            name = "episode-%d.mp4" % episode
            if not os.path.isfile(os.path.join(MEDIA["folder"], name)):
                name = "episode-1.mp4"
            return "http://127.0.0.1:%d/media/%s" % (MEDIA["port"], name)
        return "vexo://demo/%d-%d.rmvb?standin=connect:%d,buffer:%d,duration:%d,download:%d" % (
            item, episode, self.start_ms, self.start_ms, self.episode_seconds, self.download_seconds)

    def link(self, item, episode):
        title, v, _, _ = self.ITEMS[item]
        return "eebovod://%d-%d-%d-%s" % (item, v, episode, js_escape(title))

    def html(self, title, body):
        return ("<html><head><meta charset=\"utf-8\"><title>%s</title></head><body>%s</body></html>" % (
            title, body)).encode("utf-8")

    def page(self, target):
        parsed = urllib.parse.urlsplit(target)
        path, query = parsed.path, parsed.query
        text = "text/html; charset=utf-8"
        if path in ("/soft/", "/soft/index.htm"):
            rows = "".join('<p><a href="%s">%s</a></p>' % (self.link(i, 1), t) for i, (t, _, _, _) in self.ITEMS.items())
            rows += '<p><a href="list/tvlist.html">电视剧列表</a></p>'
            return "200 OK", self.html("绮映片库", "<h1>热门影视</h1>" + rows), text
        if path == "/soft/h.asp":
            time.sleep(self.answer_delay)  # a slow site, for the responsiveness benchmark
            args = urllib.parse.parse_qs(query)
            try:
                item, episode = int(args["id"][0]), int(args["v1"][0])
            except (KeyError, ValueError):
                return "200 OK", b"1", "text/plain"
            title, _, episodes, kind = self.ITEMS.get(item, ("", 1, 0, "none"))
            if kind == "none" or episode < 1 or episode > episodes:
                return "200 OK", b"1", "text/plain"
            if kind == "broken":
                return "200 OK", "服务器繁忙".encode("utf-8"), "text/plain"
            label = "第%d集" % episode if episodes > 1 else "正片"
            if kind == "web":
                media = "http://%s/soft/video%d-%d.htm" % ("127.0.0.1", item, episode)
                return "200 OK", ("%s$%s$web" % (label, media)).encode("utf-8"), "text/plain"
            return "200 OK", ("%s$%s$vexo" % (label, self.media(item, episode))).encode("utf-8"), "text/plain"
        if path == "/soft/pp.htm":
            fields = urllib.parse.unquote(query).split("-")
            try:
                item = int(fields[0])
            except ValueError:
                item = 0
            title, _, episodes, _ = self.ITEMS.get(item, ("", 1, 0, ""))
            rows = "".join('<p><a href="%s">第%d集</a></p>' % (self.link(item, n), n) for n in range(1, episodes + 1))
            return "200 OK", self.html(title + " 剧集", rows), text
        if path == "/soft/play.htm":
            # The web player's end: the page goes to the finish address by itself (in a browser
            # that runs scripts), and offers it as a link too.
            finish = "http://vexo-finish.invalid/finish.htm"
            end = ('<p><a href="%s">播放结束</a></p><script>setTimeout(function(){location.href="%s";}, %d);'
                   '</script>' % (finish, finish, self.episode_seconds * 1000))
            return "200 OK", self.html("网页播放", "<p>网页播放器</p>" + end), text
        if path == "/soft/list/tvlist.html":
            rows = "".join('<p><a href="%s">%s</a></p>' % (self.link(i, 1), t)
                           for i, (t, _, n, _) in self.ITEMS.items() if n > 1)
            return "200 OK", self.html("电视剧", rows), text
        if path in ("/soft/js/ads/softad.html", "/soft/js/ads/vexoad.html"):
            return "200 OK", self.html("广告", '<a href="http://127.0.0.1/">绮映影视盒 新片速递</a>'), text
        if path == "/soft/lib/wen.txt":
            # Five news links (the program shows four), the exit page, and the newest version:
            # the installed one unless --upgrade-version names another.
            titles = ["新片速递：星河彼岸", "热播剧集：长安夜行", "绮映影视盒 3.3 发布", "网络剧场上新", "第五条不显示"]
            news = "@@@@@".join("%s****http://127.0.0.1/soft/news%d.htm" % (t, i) for i, t in enumerate(titles))
            body = news + "====0****http://127.0.0.1/soft/bye.htm====%s\r\n" % self.upgrade_version
            return "200 OK", body.encode("gbk"), "text/plain"
        if path == "/soft/update/setup.exe":
            # The built setup program when --setup-file names it; a stub program otherwise.
            if self.setup_file:
                with open(self.setup_file, "rb") as setup:
                    return "200 OK", setup.read(), "application/octet-stream"
            return "200 OK", b"MZ" + b"\0" * 62, "application/octet-stream"
        if path == "/soft/tj/tj.asp":
            return "200 OK", b"ok", "text/plain"
        return "404 Not Found", self.html("404", "Not Found"), text


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--idle", type=float, default=600.0, help="stop after this many idle seconds")
    parser.add_argument("--catalogue", action="store_true", help="serve the demo catalogue under /soft/")
    parser.add_argument("--episode-seconds", type=int, default=20)
    parser.add_argument("--download-seconds", type=int, default=6)
    parser.add_argument("--answer-delay", type=float, default=0.0, help="seconds h.asp takes to answer")
    parser.add_argument("--start-ms", type=int, default=600,
                        help="milliseconds the stand-in player spends connecting, and again buffering")
    parser.add_argument("--upgrade-version", default="3.3",
                        help="the newest version lib/wen.txt names (3.3 is the program's own: no upgrade)")
    parser.add_argument("--setup-file", help="the setup program served as update/setup.exe")
    parser.add_argument("--media-folder", help="media files served under /media/ (and played by the catalogue)")
    parser.add_argument("--media-rate", type=int, default=0, help="kilobytes per second for media (0: no limit)")
    args = parser.parse_args()
    global CATALOGUE
    if args.catalogue:
        CATALOGUE = Catalogue(args.episode_seconds, args.download_seconds, args.answer_delay, args.start_ms,
                              args.upgrade_version, args.setup_file)
    server = Server(("127.0.0.1", 0), Handler)
    MEDIA.update(folder=args.media_folder, rate=args.media_rate, port=server.server_address[1])
    tmp = args.port_file + ".tmp"
    with open(tmp, "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(tmp, args.port_file)

    def watchdog():
        while True:
            time.sleep(0.5)
            with LOCK:
                idle = time.monotonic() - LAST_ACTIVITY[0]
            if idle > args.idle:
                STOPPING.set()
                server.shutdown()
                return

    threading.Thread(target=watchdog, daemon=True).start()
    try:
        server.serve_forever(poll_interval=0.2)
    finally:
        STOPPING.set()
        server.server_close()


if __name__ == "__main__":
    sys.exit(main())
