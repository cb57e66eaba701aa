"""Readers for the resources as built, straight from the executable's bytes."""
import struct

RT_ICON, RT_DIALOG, RT_STRING, RT_GROUP_ICON, RT_VERSION = 3, 5, 6, 14, 16


def resource_tree(pe):
    """{type id: {name id: {language id: bytes}}} of every resource."""
    tree = {}
    for t in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for n in t.directory.entries:
            for lang in n.directory.entries:
                d = lang.data.struct
                data = pe.get_data(d.OffsetToData, d.Size)
                tree.setdefault(t.id, {}).setdefault(n.id, {})[lang.id] = data
    return tree


class Reader:
    def __init__(self, data):
        self.data, self.pos = data, 0

    def take(self, fmt):
        values = struct.unpack_from('<' + fmt, self.data, self.pos)
        self.pos += struct.calcsize('<' + fmt)
        return values if len(values) > 1 else values[0]

    def text(self):
        end = self.pos
        while self.data[end:end + 2] != b'\0\0':
            end += 2
        s = self.data[self.pos:end].decode('utf-16-le')
        self.pos = end + 2
        return s

    def text_or_ordinal(self):
        if self.data[self.pos:self.pos + 2] == b'\xff\xff':
            self.pos += 2
            return self.take('H')
        return self.text()

    def align(self, n):
        self.pos = (self.pos + n - 1) // n * n


def parse_dialog(data):
    """A classic (not extended) dialog template."""
    r = Reader(data)
    style, exstyle, count, x, y, cx, cy = r.take('IIHhhhh')
    d = dict(style=style, exstyle=exstyle, rect=(x, y, cx, cy), menu=r.text_or_ordinal(),
             cls=r.text_or_ordinal(), caption=r.text(), items=[])
    if style & 0x40:  # DS_SETFONT
        d['font'] = (r.take('H'), r.text())
    for _ in range(count):
        r.align(4)
        style, exstyle, x, y, cx, cy, ident = r.take('IIhhhhH')
        item = dict(style=style, exstyle=exstyle, rect=(x, y, cx, cy), id=ident,
                    cls=r.text_or_ordinal(), text=r.text_or_ordinal())
        item['extra'] = r.take('H')
        r.pos += item['extra']
        d['items'].append(item)
    return d


def parse_string_block(block_id, data):
    """{string id: text} of one string table block (16 counted UTF-16 strings)."""
    r, out = Reader(data), {}
    for i in range(16):
        n = r.take('H')
        if n:
            out[(block_id - 1) * 16 + i] = data[r.pos:r.pos + 2 * n].decode('utf-16-le')
        r.pos += 2 * n
    return out
