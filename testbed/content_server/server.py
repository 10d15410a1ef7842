#!/usr/bin/env python3
"""Testbed content server for the Mivo client.

Serves the category and item documents, thumbnails and cabinet packages the
client downloads, from a catalogue folder (see README.md). A second, control
port lets tests read the request log, script odd answers, add delays and make
the content port refuse connections. Optionally the same content is served over
TLS on a third port.

Python 3.11 standard library only.
"""

import argparse
import base64
import html
import json
import os
import re
import signal
import socketserver
import ssl
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit
from xml.sax.saxutils import escape, quoteattr

KINDS = ("display", "emoticon")
MAX_ID = 32767
LATEST_COUNT = 5  # the newest item first, then a few more

IMAGE_TYPES = {"png": "image/png", "gif": "image/gif", "jpg": "image/jpeg"}
XML_TYPE = "text/xml; charset=utf-8"
HTML_TYPE = "text/html; charset=utf-8"
CAB_TYPE = "application/vnd.ms-cab-compressed"

# Broken thumbnail answers a test can ask for, per item: an error page, the real picture
# cut off halfway through its announced Content-Length, a 200 page that is no picture, the real
# picture as a 404's body (a server's placeholder), or the real picture sent whole under a
# longer announced Content-Length (a body cut short whose bytes still decode); "validated"
# is no fault: the real picture with Last-Modified and an ETag, and 304 Not Modified without a
# body to a request that asks whether it changed.
THUMBNAIL_ANSWERS = ("404", "500", "cut", "html", "404-picture", "announced-longer", "validated")

DEFAULT_CATALOGUE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "catalogue")


# --------------------------------------------------------------------------
# Catalogue


class CatalogueError(ValueError):
    pass


def _check_id(value, what):
    # bool is an int subclass; true/false in the JSON is a mistake, not 1/0.
    if not isinstance(value, int) or isinstance(value, bool) or not 1 <= value <= MAX_ID:
        raise CatalogueError("%s must be a whole number in 1..%d, not %r" % (what, MAX_ID, value))
    return value


class Catalogue:
    """Immutable view of catalogue.json; file paths resolve against base_dir."""

    def __init__(self, data, base_dir):
        self.base_dir = os.path.abspath(base_dir)
        self.categories = {}  # kind -> [(id, name, [item, ...])] in file order
        self.items = {}       # kind -> {canonical id text: item}
        self.newest = {}      # kind -> item
        if not isinstance(data, dict):
            raise CatalogueError("catalogue must be a JSON object")
        for kind in KINDS:
            section = data.get(kind)
            if not isinstance(section, dict) or not isinstance(section.get("categories"), list):
                raise CatalogueError('"%s" needs a "categories" list' % kind)
            cats, items, cat_ids = [], {}, set()
            for cat in section["categories"]:
                cid = _check_id(cat.get("id"), "%s category id" % kind)
                if cid in cat_ids:
                    raise CatalogueError("%s category id %d used twice" % (kind, cid))
                cat_ids.add(cid)
                cat_items = []
                for raw in cat.get("items", []):
                    item = self._item(kind, raw, cid, cat.get("name", ""))
                    if item["key"] in items:
                        raise CatalogueError("%s item id %s used twice" % (kind, item["key"]))
                    items[item["key"]] = item
                    cat_items.append(item)
                cats.append((cid, str(cat.get("name", "")), cat_items))
            self.categories[kind] = cats
            self.items[kind] = items
            newest = section.get("newest")
            if newest is None:
                self.newest[kind] = max(items.values(), key=lambda i: i["id"], default=None)
            else:
                key = str(_check_id(newest, "%s newest" % kind))
                if key not in items:
                    raise CatalogueError("%s newest id %s is not in the catalogue" % (kind, key))
                self.newest[kind] = items[key]

    def _item(self, kind, raw, cid, cat_name):
        iid = _check_id(raw.get("id"), "%s item id" % kind)
        thumb = raw.get("thumb")
        if not isinstance(thumb, str) or not thumb:
            raise CatalogueError("%s item %d needs a thumb path" % (kind, iid))
        ext = os.path.splitext(thumb)[1][1:].lower()
        ftype = str(raw.get("type") or ("jpg" if ext == "jpeg" else ext))
        prefix = "cabdp" if kind == "display" else "cabemo"
        return {
            "id": iid,
            "key": str(iid),
            "title": str(raw.get("title", "")),
            "type": ftype,
            "thumb": thumb,
            "cab": raw.get("cab") or "cabs/%s%d.cab" % (prefix, iid),
            "shortcut": raw.get("shortcut"),
            "category": cid,
            "category_name": str(cat_name),
        }

    @classmethod
    def load(cls, folder):
        path = os.path.join(folder, "catalogue.json")
        with open(path, encoding="utf-8") as f:
            try:
                data = json.load(f)
            except ValueError as e:
                raise CatalogueError("%s: %s" % (path, e)) from None
        return cls(data, folder)

    def path(self, relative):
        return os.path.join(self.base_dir, relative)

    def category_items(self, kind, id_text):
        for cid, _name, items in self.categories[kind]:
            if str(cid) == id_text:
                return items
        return []

    def latest(self, kind):
        newest = self.newest[kind]
        if newest is None:
            return []
        rest = sorted((i for i in self.items[kind].values() if i is not newest),
                      key=lambda i: i["id"], reverse=True)
        return [newest] + rest[:LATEST_COUNT - 1]


# --------------------------------------------------------------------------
# Documents and pages

XML_HEAD = '<?xml version="1.0" encoding="UTF-8"?>\n'
LIST_TAGS = {"display": ("displaypictures", "display"), "emoticon": ("emoticons", "emoticon")}


def categories_document(cat):
    lines = ['<cat id="%d">%s</cat>' % (cid, escape(name)) for cid, name, _ in cat]
    return XML_HEAD + "<cats>\n" + "".join("  %s\n" % l for l in lines) + "</cats>\n"


def items_document(kind, items):
    root, tag = LIST_TAGS[kind]
    # The client reads attributes by position: id first, type second.
    lines = ['<%s id="%d" type=%s>%s</%s>' % (tag, i["id"], quoteattr(i["type"]), escape(i["title"]), tag)
             for i in items]
    return XML_HEAD + "<%s>\n" % root + "".join("  %s\n" % l for l in lines) + "</%s>\n" % root


PAGE_STYLE = """
body { font-family: Tahoma, Verdana, sans-serif; background: #eef3fa; color: #223; margin: 0; }
.top { background: #3b6fc4; color: #fff; padding: 14px 24px; }
.top h1 { margin: 0; font-size: 22px; }
.top a { color: #dfe9ff; margin-right: 14px; font-size: 13px; }
.main { padding: 12px 24px 24px; }
h2 { font-size: 16px; color: #2a4f8f; border-bottom: 1px solid #c5d3ea; padding-bottom: 3px; }
.item { display: inline-block; width: 104px; margin: 4px; text-align: center; font-size: 11px;
        vertical-align: top; background: #fff; border: 1px solid #d3deef; padding: 6px 2px; }
.emo { width: 72px; }
.box { background: #fff; border: 1px solid #c5d3ea; padding: 16px 20px; max-width: 460px; }
label { display: block; margin: 10px 0 3px; font-weight: bold; font-size: 13px; }
.note { background: #fff8d6; border: 1px solid #e6d37a; padding: 8px 12px; margin-bottom: 12px; }
.small { color: #667; font-size: 12px; }
"""


def page(title, body):
    return ("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%s</title>"
            "<style>%s</style></head><body>\n<div class=\"top\"><h1>%s</h1>"
            "<a href=\"/\">Home</a><a href=\"/adddisplay.php\">Upload a display picture</a>"
            "<a href=\"/addemoticon.php\">Upload an emoticon</a></div>\n"
            "<div class=\"main\">%s</div>\n</body></html>\n"
            % (html.escape(title), PAGE_STYLE, html.escape(title), body))


def home_page(cat):
    parts = ['<p class="small">Mivo testbed content server: display pictures and emoticons '
             'for the Mivo client.</p>']
    for kind, heading, getter, css in (("display", "Display pictures", "getdisplay.php", "item"),
                                       ("emoticon", "Emoticons", "getemoticon.php", "item emo")):
        parts.append("<h2>%s</h2>" % heading)
        for cid, name, items in cat.categories[kind]:
            parts.append("<h3>%s <span class=\"small\">(category %d, %d items)</span></h3>"
                         % (html.escape(name), cid, len(items)))
            for i in items:
                extra = " &nbsp;<code>%s</code>" % html.escape(i["shortcut"]) if i.get("shortcut") else ""
                parts.append('<div class="%s"><img src="/%s?emoid=%d" alt=""><br>%s<br>'
                             '<span class="small">#%d%s</span></div>'
                             % (css, getter, i["id"], html.escape(i["title"]), i["id"], extra))
    return page("Mivo content", "\n".join(parts))


def upload_page(kind, cat, posted):
    what = "a display picture" if kind == "display" else "an emoticon"
    size = "96 x 96 pixels" if kind == "display" else "19 x 19 or 24 x 24 pixels"
    options = "".join('<option value="%d">%s</option>' % (cid, html.escape(name))
                      for cid, name, _ in cat.categories[kind])
    shortcut = ('<label for="shortcut">Shortcut</label><input id="shortcut" name="shortcut" '
                'size="12" value=":)">' if kind == "emoticon" else "")
    note = ('<div class="note">Thanks! This is a test server, so your upload was not kept.</div>'
            if posted else "")
    body = ("%s<div class=\"box\"><p>Share %s of your own with other Mivo users. "
            "PNG, GIF or JPEG, %s.</p>"
            "<form method=\"post\" enctype=\"multipart/form-data\">"
            "<label for=\"title\">Title</label><input id=\"title\" name=\"title\" size=\"32\">"
            "<label for=\"cat\">Category</label><select id=\"cat\" name=\"cat\">%s</select>%s"
            "<label for=\"file\">Picture</label><input id=\"file\" name=\"file\" type=\"file\">"
            "<p><input type=\"submit\" value=\"Upload\"></p></form></div>"
            % (note, what, size, options, shortcut))
    return page("Upload %s" % what, body)


def error_page(status, message):
    return ("<!DOCTYPE html>\n<html><head><title>%d</title></head><body>"
            "<h1>%d</h1><p>%s</p></body></html>\n" % (status, status, html.escape(message)))


# --------------------------------------------------------------------------
# Shared state: log, overrides, delays, catalogue, content listener


def split_target(target):
    """Returns (path, path-with-query) of a request target, origin form."""
    if not target.startswith("/"):  # absolute form, as sent to proxies
        parts = urlsplit(target)
        target = (parts.path or "/") + ("?" + parts.query if "?" in target else "")
    return target.split("?", 1)[0], target


def rule_key(path):
    if not isinstance(path, str) or not path.startswith("/"):
        raise ValueError('"path" must be a string starting with "/"')
    return ("exact", path) if "?" in path else ("path", path)


class State:
    def __init__(self, catalogue, host, port, verbose, tls=None):
        self.lock = threading.Lock()
        self.log = []
        self.rules = {}       # rule_key -> override dict
        self.delays = {}      # rule_key -> seconds
        self.thumbnails = {}  # (kind, item id text) -> answer in THUMBNAIL_ANSWERS
        self.original_catalogue = catalogue
        self.catalogue = catalogue
        self.host, self.port, self.verbose = host, port, verbose
        self.listener_lock = threading.Lock()  # serialises stop/start
        self.listeners = []   # (server, thread) of the content ports
        # TLS: port and the server contexts, "trusted" (the test CA's certificate) and
        # "untrusted" (a certificate no one vouches for); None without TLS.
        self.tls = tls
        self.tls_certificate = "trusted"

    def record(self, method, target, headers, body_length):
        with self.lock:
            self.log.append({"method": method, "path": target, "headers": headers,
                             "body_length": body_length})

    def _lookup(self, table, target):
        path, full = split_target(target)
        with self.lock:
            hit = table.get(("exact", full))
            return hit if hit is not None else table.get(("path", path))

    def override_for(self, target):
        return self._lookup(self.rules, target)

    def delay_for(self, target):
        return self._lookup(self.delays, target) or 0

    def add_override(self, fields):
        if not isinstance(fields, dict):
            raise ValueError("expected a JSON object")
        key = rule_key(fields.get("path"))
        status = fields.get("status", 200)
        if not isinstance(status, int) or not 100 <= status <= 999:
            raise ValueError('"status" must be an HTTP status number')
        if "body_b64" in fields:
            body = base64.b64decode(fields["body_b64"], validate=True)
            ctype = fields.get("content_type", "application/octet-stream")
        else:
            body = str(fields.get("body", "")).encode("utf-8")
            ctype = fields.get("content_type", XML_TYPE)
        headers = fields.get("headers", {})
        if not isinstance(headers, dict):
            raise ValueError('"headers" must be an object')
        rule = {"status": status, "body": body, "content_type": ctype,
                "headers": {str(k): str(v) for k, v in headers.items()},
                "drop": bool(fields.get("drop", False))}
        with self.lock:
            self.rules[key] = rule

    def add_delay(self, fields):
        if not isinstance(fields, dict):
            raise ValueError("expected a JSON object")
        key = rule_key(fields.get("path"))
        seconds = fields.get("seconds")
        if not isinstance(seconds, (int, float)) or isinstance(seconds, bool) or not 0 <= seconds <= 600:
            raise ValueError('"seconds" must be a number in 0..600')
        with self.lock:
            self.delays[key] = float(seconds)

    def add_thumbnail_answer(self, fields):
        if not isinstance(fields, dict):
            raise ValueError("expected a JSON object")
        kind, answer = fields.get("kind"), fields.get("answer")
        if kind not in KINDS:
            raise ValueError('"kind" must be "display" or "emoticon"')
        key = str(_check_id(fields.get("id"), "item id"))
        if answer not in THUMBNAIL_ANSWERS:
            raise ValueError('"answer" must be one of %s' % ", ".join(THUMBNAIL_ANSWERS))
        with self.lock:
            self.thumbnails[(kind, key)] = answer

    def thumbnail_answer(self, kind, id_text):
        with self.lock:
            return self.thumbnails.get((kind, id_text))

    def replace_catalogue(self, data):
        new = Catalogue(data, self.original_catalogue.base_dir)
        with self.lock:
            self.catalogue = new

    def reset(self):
        with self.lock:
            self.log.clear()
            self.rules.clear()
            self.delays.clear()
            self.thumbnails.clear()
            self.catalogue = self.original_catalogue
            self.tls_certificate = "trusted"
        self.start()

    def set_tls_certificate(self, fields):
        if self.tls is None:
            raise ValueError("the server was started without TLS")
        which = fields.get("certificate") if isinstance(fields, dict) else None
        if which not in self.tls["contexts"]:
            raise ValueError('"certificate" must be "trusted" or "untrusted"')
        with self.lock:
            self.tls_certificate = which

    def tls_context(self):
        with self.lock:
            return self.tls["contexts"][self.tls_certificate]

    def _listen(self, server_class, port):
        server = server_class((self.host, port), ContentHandler)
        server.state = self
        thread = threading.Thread(target=server.serve_forever, kwargs={"poll_interval": 0.05},
                                  name="content", daemon=True)
        thread.start()
        self.listeners.append((server, thread))
        return server.server_address[1]

    def start(self):
        with self.listener_lock:
            if self.listeners:
                return
            try:
                self.port = self._listen(QuietServer, self.port)  # so --port 0 comes back on the same port
                if self.tls is not None:
                    self.tls["port"] = self._listen(TlsServer, self.tls["port"])
            except OSError:
                self._close_listeners()
                raise

    def stop(self):
        with self.listener_lock:
            self._close_listeners()

    def _close_listeners(self):
        listeners, self.listeners = self.listeners, []
        for server, thread in listeners:
            server.shutdown()
            # Closing the listening socket makes new connections fail at
            # once (refused) rather than queue up unanswered.
            server.server_close()
            thread.join()


class QuietServer(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def server_bind(self):
        # HTTPServer.server_bind looks up the host's FQDN, which can stall for
        # seconds on a machine without DNS; the name is not needed here.
        socketserver.TCPServer.server_bind(self)
        self.server_name, self.server_port = self.server_address[:2]


class TlsServer(QuietServer):
    def get_request(self):
        sock, addr = super().get_request()
        # The handshake happens in the request's own thread, on its first read: a
        # client that stalls or refuses the certificate holds up no one else.
        return self.state.tls_context().wrap_socket(
            sock, server_side=True, do_handshake_on_connect=False), addr

    def handle_error(self, request, client_address):
        if isinstance(sys.exc_info()[1], (ssl.SSLError, ConnectionError)):
            return  # a client that refused the certificate: nothing to report
        super().handle_error(request, client_address)


# --------------------------------------------------------------------------
# Request handlers


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"  # one request per connection: simple for raw-socket clients
    cut_to = None  # bytes of the body actually sent, when an answer is to be cut short

    def version_string(self):
        return "MivoTestbed/1.0"

    def log_message(self, fmt, *args):
        if self.server.state.verbose:
            sys.stderr.write("%s %s\n" % (type(self).__name__, fmt % args))

    def read_body(self):
        """Reads the request body; returns the bytes, or None if the framing is bad."""
        if "chunked" in self.headers.get("Transfer-Encoding", "").lower():
            data = bytearray()
            while True:
                line = self.rfile.readline(1024)
                try:
                    size = int(line.split(b";")[0].strip(), 16)
                except ValueError:
                    return None
                if size == 0:
                    while self.rfile.readline(1024) not in (b"\r\n", b"\n", b""):
                        pass
                    return bytes(data)
                data += self.rfile.read(size)
                self.rfile.readline(1024)
        length = self.headers.get("Content-Length")
        if length is None:
            return b""
        try:
            n = int(length)
        except ValueError:
            return None
        if n < 0:
            return None
        return self.rfile.read(n)

    def reply(self, status, ctype, body, headers=None):
        try:
            self.send_response(status)
            self.send_header("Content-Type", ctype)
            self.send_header("Content-Length", str(len(body)))
            for name, value in (headers or {}).items():
                self.send_header(name, value)
            self.send_header("Connection", "close")
            self.end_headers()
            if self.command != "HEAD":
                self.wfile.write(body if self.cut_to is None else body[:self.cut_to])
        except (BrokenPipeError, ConnectionResetError):
            pass  # the client went away; nothing to tell it
        self.close_connection = True

    def do_GET(self):
        self.handle_request()

    do_POST = do_HEAD = do_PUT = do_DELETE = do_OPTIONS = do_PATCH = do_GET


class ContentHandler(Handler):
    def handle_request(self):
        state = self.server.state
        body = self.read_body()
        headers = {}
        for name, value in self.headers.items():
            headers[name] = headers[name] + ", " + value if name in headers else value
        # Logged before answering, so a test that has its answer can already see the entry.
        state.record(self.command, self.path, headers, 0 if body is None else len(body))
        if body is None:
            self.reply(400, HTML_TYPE, error_page(400, "Bad request body framing.").encode())
            return
        delay = state.delay_for(self.path)
        if delay:
            time.sleep(delay)
        rule = state.override_for(self.path)
        if rule is not None:
            if rule["drop"]:
                self.close_connection = True  # hang up without an answer
                return
            self.reply(rule["status"], rule["content_type"], rule["body"], rule["headers"])
            return
        with state.lock:
            cat = state.catalogue
        self.validators = None
        status, ctype, payload = self.route(cat, body)
        if self.validators is not None:
            # Cacheable, revalidated on every use.
            self.reply(status, ctype, payload, dict(self.validators, **{"Cache-Control": "no-cache"}))
            return
        # No caching: tests change answers between requests to the same URL.
        self.reply(status, ctype, payload, {"Cache-Control": "no-cache, no-store"})

    def route(self, cat, body):
        path, full = split_target(self.path)
        query = parse_qs(full.split("?", 1)[1] if "?" in full else "", keep_blank_values=True)

        def arg(name):
            values = query.get(name)
            return values[0] if values else ""

        def xml(text):
            return 200, XML_TYPE, text.encode("utf-8")

        if path == "/appgetdispcats.php":
            return xml(categories_document(cat.categories["display"]))
        if path == "/appgetemocats.php":
            return xml(categories_document(cat.categories["emoticon"]))
        # Ids must be canonical decimal text ("3", not "03"): a client that
        # mangles ids should see it fail here rather than in production.
        if path == "/appgetdisps.php":
            return xml(items_document("display", cat.category_items("display", arg("id"))))
        if path == "/appgetemos.php":
            return xml(items_document("emoticon", cat.category_items("emoticon", arg("id"))))
        if path == "/appgetlatestdisp.php":
            return xml(items_document("display", cat.latest("display")))
        if path == "/appgetlatestemo.php":
            return xml(items_document("emoticon", cat.latest("emoticon")))
        if path in ("/getdisplay.php", "/getemoticon.php"):
            kind = "display" if path == "/getdisplay.php" else "emoticon"
            answer = self.server.state.thumbnail_answer(kind, arg("emoid"))
            if answer in ("404", "500"):
                return int(answer), HTML_TYPE, error_page(int(answer), "Thumbnail unavailable.").encode()
            if answer == "html":
                return 200, HTML_TYPE, page("Sign in", "<p>Sign in to use this network.</p>").encode()
            item = cat.items[kind].get(arg("emoid"))
            if item is not None:
                ctype = IMAGE_TYPES.get(item["type"], "application/octet-stream")
                status, ctype, data = self.file(cat.path(item["thumb"]), ctype)
                if answer == "cut" and status == 200:
                    self.cut_to = len(data) // 2
                if answer == "404-picture" and status == 200:
                    status = 404
                if answer == "announced-longer" and status == 200:
                    self.cut_to = len(data)
                    data += bytes(1024)
                if answer == "validated" and status == 200:
                    self.validators = {"Last-Modified": "Mon, 07 Dec 2026 10:00:00 GMT",
                                       "ETag": '"%s-%d"' % (arg("emoid"), len(data))}
                    if self.headers.get("If-None-Match") or self.headers.get("If-Modified-Since"):
                        return 304, ctype, b""
                return status, ctype, data
        m = re.fullmatch(r"/cabs/cab(dp|emo)([0-9]+)\.cab", path)
        if m:
            kind = "display" if m.group(1) == "dp" else "emoticon"
            item = cat.items[kind].get(m.group(2))
            if item is not None:
                return self.file(cat.path(item["cab"]), CAB_TYPE)
        if path in ("/", "/index.php", "/index.html"):
            return 200, HTML_TYPE, home_page(cat).encode("utf-8")
        if path in ("/adddisplay.php", "/addemoticon.php"):
            kind = "display" if path == "/adddisplay.php" else "emoticon"
            return 200, HTML_TYPE, upload_page(kind, cat, bool(body)).encode("utf-8")
        return self.not_found()

    def file(self, filename, ctype):
        try:
            with open(filename, "rb") as f:
                return 200, ctype, f.read()
        except OSError:
            return self.not_found()

    @staticmethod
    def not_found():
        return 404, HTML_TYPE, error_page(404, "Nothing here by that name.").encode()


class ControlHandler(Handler):
    def handle_request(self):
        state = self.server.state
        body = self.read_body()
        if body is None:
            self.text(400, "bad request body framing")
            return
        path = split_target(self.path)[0]
        try:
            if path == "/ping":
                self.text(200, "pong")
            elif path == "/log":
                with state.lock:
                    data = json.dumps(state.log, ensure_ascii=False)
                self.reply(200, "application/json; charset=utf-8", data.encode("utf-8"))
            elif path == "/reset":
                state.reset()
                self.text(200, "ok")
            elif path == "/override":
                state.add_override(json.loads(body or b"null"))
                self.text(200, "ok")
            elif path == "/delay":
                state.add_delay(json.loads(body or b"null"))
                self.text(200, "ok")
            elif path == "/thumbnail":
                state.add_thumbnail_answer(json.loads(body or b"null"))
                self.text(200, "ok")
            elif path == "/stop":
                state.stop()
                self.text(200, "ok")
            elif path == "/start":
                state.start()
                self.text(200, "ok")
            elif path == "/tls":
                state.set_tls_certificate(json.loads(body or b"null"))
                self.text(200, "ok")
            elif path == "/catalogue":
                state.replace_catalogue(json.loads(body or b"null"))
                self.text(200, "ok")
            else:
                self.text(404, "unknown control path")
        except (ValueError, TypeError, AttributeError) as e:  # bad JSON or bad fields
            self.text(400, "error: %s" % e)
        except OSError as e:  # e.g. the content port was taken while stopped
            self.text(500, "error: %s" % e)

    def text(self, status, message):
        self.reply(status, "text/plain; charset=utf-8", message.encode("utf-8"))


# --------------------------------------------------------------------------


def main(argv=None):
    ap = argparse.ArgumentParser(description="Mivo testbed content server")
    ap.add_argument("--port", type=int, required=True, help="content port (0: any free port)")
    ap.add_argument("--control-port", type=int, required=True, help="control port (0: any free port)")
    ap.add_argument("--catalogue", default=DEFAULT_CATALOGUE, help="catalogue folder")
    ap.add_argument("--host", default="127.0.0.1", help="address to bind (default 127.0.0.1)")
    ap.add_argument("--pid-file", help="write the process id to this file")
    ap.add_argument("--verbose", action="store_true", help="log each request to stderr")
    ap.add_argument("--tls-port", type=int, help="also serve the content over TLS on this port")
    ap.add_argument("--tls-cert", help="PEM file with the TLS certificate chain and its key")
    ap.add_argument("--tls-untrusted-cert", help="PEM file with a certificate and key that "
                    "the control port can switch to (see /tls)")
    args = ap.parse_args(argv)
    if (args.tls_port is None) != (args.tls_cert is None) or \
            (args.tls_untrusted_cert and args.tls_port is None):
        ap.error("--tls-port and --tls-cert go together (--tls-untrusted-cert needs both)")

    try:
        catalogue = Catalogue.load(args.catalogue)
    except (OSError, CatalogueError) as e:
        print("server.py: cannot load catalogue: %s" % e, file=sys.stderr)
        return 2

    stopping = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stopping.set())
    signal.signal(signal.SIGINT, lambda *_: stopping.set())

    tls = None
    if args.tls_port is not None:
        try:
            contexts = {}
            for name, pem in (("trusted", args.tls_cert), ("untrusted", args.tls_untrusted_cert)):
                if pem:
                    contexts[name] = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
                    contexts[name].load_cert_chain(pem)
        except (OSError, ssl.SSLError) as e:
            print("server.py: cannot load the TLS certificate: %s" % e, file=sys.stderr)
            return 2
        tls = {"port": args.tls_port, "contexts": contexts}

    state = State(catalogue, args.host, args.port, args.verbose, tls)
    try:
        state.start()
        control = QuietServer((args.host, args.control_port), ControlHandler)
    except OSError as e:
        print("server.py: cannot listen: %s" % e, file=sys.stderr)
        state.stop()
        return 2
    control.state = state
    threading.Thread(target=control.serve_forever, kwargs={"poll_interval": 0.05},
                     name="control", daemon=True).start()

    if args.pid_file:
        with open(args.pid_file, "w") as f:
            f.write("%d\n" % os.getpid())
    ready = "READY %d %d" % (state.port, control.server_address[1])
    if tls is not None:
        ready += " %d" % tls["port"]
    print(ready, flush=True)

    while not stopping.wait(0.2):
        pass
    control.shutdown()
    control.server_close()
    state.stop()
    if args.pid_file:
        try:
            os.remove(args.pid_file)
        except OSError:
            pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
