#!/usr/bin/env python3
"""Writes the notes part of docs/rc25.xsd from the writer's notes table (xmlout/NoteTable.cpp).

Each entry's element may hold its Line elements and then any entry of its subtree, because an
entry that is not displayed leaves its displayed descendants in its place.
Usage: scripts/schema-notes.py   (rewrites the parts between the markers in place)
"""
import pathlib
import re

root = pathlib.Path(__file__).resolve().parent.parent
table = (root / "xmlout/NoteTable.cpp").read_text(encoding="utf-8")
entries = [(int(level), name) for level, name in re.findall(r'\{\d+, \d+, (\d+), "([^"]+)"\}', table)]


def subtree(index):
    level = entries[index][0]
    out = []
    for lv, name in entries[index + 1:]:
        if lv <= level:
            break
        out.append(name)
    return out


top = [name for level, name in entries]  # a list of entries none of whose ancestors is shown
choice = "\n".join(f'      <xs:element ref="{name}"/>' for name in top)
decls = []
for i, (level, name) in enumerate(entries):
    below = subtree(i)
    refs = "".join(f'\n            <xs:element ref="{n}"/>' for n in below)
    inner = (f'\n          <xs:choice minOccurs="0" maxOccurs="unbounded">{refs}\n          </xs:choice>'
             if below else "")
    decls.append(
        f'  <xs:element name="{name}">\n    <xs:complexType>\n      <xs:sequence>\n'
        f'        <xs:element name="Line" type="xs:string" minOccurs="0" maxOccurs="unbounded"/>'
        + (f'\n        <xs:sequence>{inner}\n        </xs:sequence>' if below else "")
        + "\n      </xs:sequence>\n    </xs:complexType>\n  </xs:element>")

xsd_path = root / "docs/rc25.xsd"
xsd = xsd_path.read_text(encoding="utf-8")
xsd = re.sub(r"(      <!-- notes: begin -->\n).*?(      <!-- notes: end -->)",
             lambda m: m.group(1) + choice + "\n" + m.group(2), xsd, flags=re.S)
xsd = re.sub(r"(  <!-- note entries: begin -->\n).*?(  <!-- note entries: end -->)",
             lambda m: m.group(1) + "\n".join(decls) + "\n" + m.group(2), xsd, flags=re.S)
xsd_path.write_text(xsd, encoding="utf-8")
print(f"{len(entries)} note entries")
