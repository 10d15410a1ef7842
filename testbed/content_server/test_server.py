"""Tests for the testbed content server and the committed sample catalogue.

Run: python3 -m unittest discover -s testbed/content_server
"""

import http.client
import json
import os
import re
import select
import signal
import socket
import struct
import subprocess
import sys
import time
import unittest
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
SERVER = os.path.join(HERE, "server.py")
CATALOGUE = os.path.join(HERE, "..", "catalogue")

sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # keep __pycache__ out of the tree
import server  # noqa: E402  (for the catalogue loader)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def call(port, method, path, body=None, headers=None):
    # http.client rather than urllib: urllib would honour a proxy from the environment.
    conn = http.client.HTTPConnection("127.0.0.1", port, timeout=10)
    try:
        conn.request(method, path, body=body, headers=headers or {})
        resp = conn.getresponse()
        return resp.status, resp.getheader("Content-Type", ""), resp.read()
    finally:
        conn.close()


def image_info(data):
    """(type, width, height) of a PNG, GIF or JPEG file."""
    if data.startswith(b"\x89PNG\r\n\x1a\n"):
        return ("png",) + struct.unpack(">II", data[16:24])
    if data[:6] in (b"GIF87a", b"GIF89a"):
        return ("gif",) + struct.unpack("<HH", data[6:10])
    if data.startswith(b"\xff\xd8"):
        i = 2
        while i < len(data):
            marker, length = data[i + 1], struct.unpack(">H", data[i + 2:i + 4])[0]
            if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
                height, width = struct.unpack(">HH", data[i + 5:i + 9])
                return ("jpg", width, height)
            i += 2 + length
    return (None, 0, 0)


class CatalogueFilesTest(unittest.TestCase):
    """The committed files must agree with catalogue.json: CI cannot regenerate them."""

    def test_catalogue_is_complete_and_consistent(self):
        cat = server.Catalogue.load(CATALOGUE)
        for kind, sizes, min_big in (("display", {96}, 9), ("emoticon", {19, 24}, 13)):
            cats = cat.categories[kind]
            self.assertGreaterEqual(len(cats), 3)
            self.assertGreaterEqual(max(len(items) for _, _, items in cats), min_big)
            types = set()
            for item in cat.items[kind].values():
                with open(cat.path(item["thumb"]), "rb") as f:
                    ftype, width, height = image_info(f.read())
                self.assertEqual(ftype, item["type"], item["thumb"])
                self.assertIn(width, sizes, item["thumb"])
                self.assertEqual(width, height, item["thumb"])
                types.add(ftype)
                with open(cat.path(item["cab"]), "rb") as f:
                    cab = f.read()
                self.assertEqual(cab[:4], b"MSCF", item["cab"])
                self.assertIn(b"content.xml", cab, item["cab"])
            self.assertEqual(types, {"png", "gif", "jpg"}, kind)
        display_cats = {c for c, _, _ in cat.categories["display"]}
        emoticon_cats = {c for c, _, _ in cat.categories["emoticon"]}
        self.assertFalse(display_cats & emoticon_cats, "category ids should not be shared by the kinds")


class ServerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.port, cls.cport = free_port(), free_port()
        cls.proc = subprocess.Popen(
            [sys.executable, SERVER, "--port", str(cls.port), "--control-port", str(cls.cport)],
            stdout=subprocess.PIPE, text=True)
        # Bounded wait: a server that never gets ready must fail the run, not hang it.
        ready, _, _ = select.select([cls.proc.stdout], [], [], 10)
        cls.ready = cls.proc.stdout.readline().strip() if ready else "(no READY line in 10 s)"

    @classmethod
    def tearDownClass(cls):
        cls.proc.send_signal(signal.SIGTERM)
        try:
            cls.rc = cls.proc.wait(timeout=5)
        finally:
            if cls.proc.poll() is None:
                cls.proc.kill()
            cls.proc.stdout.close()
        assert cls.rc == 0, "server exit status on SIGTERM: %r" % cls.rc

    def setUp(self):
        self.assertEqual(self.ready, "READY %d %d" % (self.port, self.cport))
        self.assertEqual(self.control("POST", "/reset"), b"ok")

    def control(self, method, path, payload=None):
        body = json.dumps(payload).encode() if payload is not None else None
        status, _, data = call(self.cport, method, path, body)
        self.assertEqual(status, 200, data)
        return data

    def post(self, path):
        return call(self.port, "POST", path)

    def test_documents_and_files(self):
        status, ctype, body = self.post("/appgetdispcats.php")
        self.assertEqual((status, ctype), (200, "text/xml; charset=utf-8"))
        self.assertTrue(body.startswith(b'<?xml version="1.0" encoding="UTF-8"?>'))
        root = ET.fromstring(body)
        self.assertEqual(root.tag, "cats")
        self.assertEqual([c.get("id") for c in root], ["12", "3", "7"])
        self.assertEqual(root[2].text, "Space & Stars")

        self.assertEqual([c.get("id") for c in ET.fromstring(self.post("/appgetemocats.php")[2])],
                         ["5", "21", "9"])

        body = self.post("/appgetdisps.php?id=12")[2]
        self.assertEqual(ET.fromstring(body).tag, "displaypictures")
        # The client reads attributes by position, so check the raw text.
        entries = re.findall(rb'<display id="(\d+)" type="(\w+)">', body)
        self.assertEqual(len(entries), 10)
        self.assertEqual(entries[0], (b"101", b"jpg"))
        self.assertIn("Fjörd at Dawn".encode("utf-8"), body)

        emos = ET.fromstring(self.post("/appgetemos.php?id=5")[2])
        self.assertEqual((emos.tag, len(emos), list(emos[0].attrib)), ("emoticons", 14, ["id", "type"]))
        for path, tag in (("/appgetemos.php?id=12", "emoticons"), ("/appgetdisps.php?id=012", "displaypictures")):
            empty = ET.fromstring(self.post(path)[2])
            self.assertEqual((empty.tag, len(empty)), (tag, 0), path)

        self.assertEqual(ET.fromstring(self.post("/appgetlatestdisp.php")[2])[0].get("id"), "32767")
        self.assertEqual(ET.fromstring(self.post("/appgetlatestemo.php")[2])[0].get("id"), "703")

        status, ctype, data = call(self.port, "GET", "/getdisplay.php?emoid=101")
        self.assertEqual((status, ctype, image_info(data)), (200, "image/jpeg", ("jpg", 96, 96)))
        status, ctype, data = call(self.port, "GET", "/getemoticon.php?emoid=1")
        self.assertEqual((status, ctype, image_info(data)), (200, "image/png", ("png", 19, 19)))
        for path in ("/cabs/cabdp32767.cab", "/cabs/cabemo703.cab"):
            status, _, data = call(self.port, "GET", path)
            self.assertEqual((status, data[:4]), (200, b"MSCF"), path)
        for path in ("/", "/adddisplay.php", "/addemoticon.php"):
            status, ctype, _ = call(self.port, "GET", path)
            self.assertEqual((status, ctype), (200, "text/html; charset=utf-8"), path)
        # Wrong kind, non-canonical id and unknown path all miss.
        for path in ("/getemoticon.php?emoid=101", "/getdisplay.php?emoid=0101",
                     "/cabs/cabemo101.cab", "/nothing.php"):
            status, ctype, _ = call(self.port, "GET", path)
            self.assertEqual((status, ctype), (404, "text/html; charset=utf-8"), path)

    def test_log_records_requests_as_sent(self):
        self.post("/appgetdisps.php?id=3&x=%41")
        call(self.port, "GET", "/getdisplay.php?emoid=9", headers={"X-Mivo-Probe": "yes"})
        log = json.loads(self.control("GET", "/log"))
        self.assertEqual([(e["method"], e["path"], e["body_length"]) for e in log],
                         [("POST", "/appgetdisps.php?id=3&x=%41", 0), ("GET", "/getdisplay.php?emoid=9", 0)])
        self.assertEqual(log[1]["headers"].get("X-Mivo-Probe"), "yes")

    def test_override_delay_and_reset(self):
        self.control("POST", "/override", {"path": "/appgetdisps.php", "status": 500,
                                           "body": "<html>down</html>", "content_type": "text/html"})
        self.control("POST", "/override", {"path": "/appgetdisps.php?id=3", "body": "<cats/>"})
        self.control("POST", "/override", {"path": "/getemoticon.php", "body_b64": "AAEC"})
        self.control("POST", "/delay", {"path": "/appgetemocats.php", "seconds": 0.4})
        self.assertEqual(self.post("/appgetdisps.php?id=12")[:2], (500, "text/html"))
        self.assertEqual(self.post("/appgetdisps.php?id=3")[2], b"<cats/>")
        self.assertEqual(call(self.port, "GET", "/getemoticon.php?emoid=1")[2], b"\0\1\2")
        start = time.monotonic()
        self.assertEqual(self.post("/appgetemocats.php")[0], 200)
        self.assertGreaterEqual(time.monotonic() - start, 0.35)

        self.control("POST", "/reset")
        self.assertEqual(json.loads(self.control("GET", "/log")), [])
        self.assertEqual(len(ET.fromstring(self.post("/appgetdisps.php?id=3")[2])), 4)
        start = time.monotonic()
        self.post("/appgetemocats.php")
        self.assertLess(time.monotonic() - start, 0.3)

    def test_thumbnail_answers_per_item(self):
        for answer in ("404", "500", "html", "cut"):
            self.control("POST", "/thumbnail", {"kind": "display", "id": 102, "answer": answer})
        self.control("POST", "/thumbnail", {"kind": "emoticon", "id": 501, "answer": "500"})
        self.control("POST", "/thumbnail", {"kind": "emoticon", "id": 502, "answer": "404"})
        self.control("POST", "/thumbnail", {"kind": "emoticon", "id": 503, "answer": "html"})
        for path, status in (("/getemoticon.php?emoid=501", 500), ("/getemoticon.php?emoid=502", 404),
                             ("/getemoticon.php?emoid=503", 200)):
            got, ctype, body = call(self.port, "GET", path)
            self.assertEqual((got, ctype), (status, "text/html; charset=utf-8"), path)
            self.assertTrue(body.startswith(b"<!DOCTYPE html>"), path)
        # The last knob for an item wins: 102 is the real picture, cut off halfway.
        with open(os.path.join(CATALOGUE, "thumbs", "dp102.png"), "rb") as f:
            whole = f.read()
        with socket.create_connection(("127.0.0.1", self.port), timeout=10) as s:
            s.sendall(b"GET /getdisplay.php?emoid=102 HTTP/1.0\r\n\r\n")
            raw = b""
            while True:
                chunk = s.recv(65536)
                if not chunk:
                    break
                raw += chunk
        head, body = raw.split(b"\r\n\r\n", 1)
        self.assertIn(b"Content-Length: %d" % len(whole), head)
        self.assertEqual(body, whole[:len(whole) // 2])
        # Other items, and the same item after a reset, answer as usual.
        self.assertEqual(call(self.port, "GET", "/getdisplay.php?emoid=103")[0], 200)
        self.control("POST", "/reset")
        self.assertEqual(call(self.port, "GET", "/getdisplay.php?emoid=102")[2], whole)
        status, _, data = call(self.cport, "POST", "/thumbnail", json.dumps({"kind": "display", "id": 1,
                                                                              "answer": "teapot"}))
        self.assertEqual(status, 400, data)

    def test_stop_refuses_connections_and_start_restores(self):
        self.control("POST", "/stop")
        with self.assertRaises(ConnectionRefusedError):
            socket.create_connection(("127.0.0.1", self.port), timeout=2).close()
        self.control("POST", "/start")
        self.assertEqual(self.post("/appgetemocats.php")[0], 200)
        self.control("POST", "/stop")
        self.control("POST", "/reset")  # also listens again
        self.assertEqual(self.post("/appgetemocats.php")[0], 200)


if __name__ == "__main__":
    unittest.main()
