#!/bin/sh
# Rebuilds cabs/cabdp<id>.cab and cabs/cabemo<id>.cab from catalogue.json.
#
# Needs gcab (`apt-get install gcab`) and python3. Each package holds the
# item's picture and a content.xml describing it:
#
#   <?xml version="1.0" encoding="UTF-8"?>
#   <package kind="emoticon" id="501">
#     <title>Smile</title>
#     <category id="5">Smileys</category>
#     <picture type="gif">emo501.gif</picture>
#     <shortcut>:)</shortcut>            (emoticons only)
#   </package>
#
# The packages are committed; run this after changing catalogue.json or a
# picture. Files are stamped with a fixed date so an unchanged item gives
# the same bytes.
set -eu

cd "$(dirname "$0")"
command -v gcab >/dev/null || { echo "make_cabs.sh: gcab is not installed" >&2; exit 1; }

TZ=UTC python3 - <<'PY'
import json, os, shutil, subprocess, tempfile
from xml.sax.saxutils import escape, quoteattr

STAMP = 1704067200  # 2024-01-01 00:00 UTC
PREFIX = {"display": "cabdp", "emoticon": "cabemo"}

with open("catalogue.json", encoding="utf-8") as f:
    catalogue = json.load(f)

os.makedirs("cabs", exist_ok=True)
wanted = set()
for kind, prefix in PREFIX.items():
    for cat in catalogue[kind]["categories"]:
        for item in cat["items"]:
            picture = os.path.basename(item["thumb"])
            ext = os.path.splitext(picture)[1][1:].lower()
            lines = [
                '<?xml version="1.0" encoding="UTF-8"?>',
                '<package kind=%s id="%d">' % (quoteattr(kind), item["id"]),
                "  <title>%s</title>" % escape(item["title"]),
                '  <category id="%d">%s</category>' % (cat["id"], escape(cat["name"])),
                '  <picture type="%s">%s</picture>' % ("jpg" if ext == "jpeg" else ext, escape(picture)),
            ]
            if "shortcut" in item:
                lines.append("  <shortcut>%s</shortcut>" % escape(item["shortcut"]))
            lines.append("</package>")
            out = "cabs/%s%d.cab" % (prefix, item["id"])
            wanted.add(os.path.basename(out))
            with tempfile.TemporaryDirectory() as tmp:
                xml_path = os.path.join(tmp, "content.xml")
                with open(xml_path, "w", encoding="utf-8", newline="\r\n") as f:
                    f.write("\n".join(lines) + "\n")
                pic_path = os.path.join(tmp, picture)
                shutil.copyfile(item["thumb"], pic_path)
                for p in (xml_path, pic_path):
                    os.utime(p, (STAMP, STAMP))
                if os.path.exists(out):
                    os.remove(out)
                subprocess.run(["gcab", "-c", "-z", "-n", out, xml_path, pic_path], check=True)

# Drop packages of items that left the catalogue.
for name in os.listdir("cabs"):
    if name.endswith(".cab") and name not in wanted:
        os.remove(os.path.join("cabs", name))
print("%d packages written to %s" % (len(wanted), os.path.abspath("cabs")))
PY
