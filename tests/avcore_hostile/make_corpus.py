#!/usr/bin/env python3
"""Makes the hostile files the engine must refuse or play without holding its caller.

Usage: make_corpus.py OUT_DIR

The folder is made afresh from the clip manifest's set `hostile`, byte surgery on its
good-clip.mp4 (which must play), and noise. Every other file may be refused or played.
"""
import collections
import os
import pathlib
import random
import shutil
import struct
import subprocess
import sys

# Boxes that hold only boxes, and those whose children follow some fixed fields.
CONTAINERS = {b"moov", b"trak", b"mdia", b"minf", b"stbl", b"dinf", b"edts", b"udta", b"mvex"}
FIELDS_BEFORE_CHILDREN = {b"meta": 4, b"stsd": 8, b"dref": 8, b"avc1": 78, b"mp4a": 28}
MAKE_MEDIA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "make-media.sh")


class Box(collections.namedtuple("Box", "path kind offset header size")):
    @property
    def body(self):
        return self.offset + self.header

    @property
    def end(self):
        return self.offset + self.size


def walk(data, start=0, end=None, parent=""):
    """Every box in data[start:end], parents before their children. A repeated
    sibling is numbered from its second on (trak, trak2)."""
    end = len(data) if end is None else end
    seen = {}
    pos = start
    while pos + 8 <= end:
        size, kind = struct.unpack_from(">I4s", data, pos)
        header = 8
        if size == 1:
            size, header = struct.unpack_from(">Q", data, pos + 8)[0], 16
        elif size == 0:
            size = end - pos
        if size < header or pos + size > end:
            return
        name = kind.decode("latin-1").strip()
        seen[name] = seen.get(name, 0) + 1
        if seen[name] > 1:
            name += str(seen[name])
        box = Box(f"{parent}.{name}" if parent else name, kind, pos, header, size)
        yield box
        if kind in CONTAINERS or kind in FIELDS_BEFORE_CHILDREN:
            yield from walk(data, box.body + FIELDS_BEFORE_CHILDREN.get(kind, 0), box.end, box.path)
        pos += size


def video_track(boxes, data):
    """The trak path whose handler is 'vide'."""
    for b in boxes:
        if b.path.endswith(".mdia.hdlr") and data[b.body + 8:b.body + 12] == b"vide":
            return b.path[: -len(".mdia.hdlr")]
    raise SystemExit("no video track in the base clip")


def find(boxes, path):
    return next(b for b in boxes if b.path == path)


def patched(data, edits):
    """A copy of data with (offset, bytes) written over it."""
    out = bytearray(data)
    for offset, value in edits:
        out[offset:offset + len(value)] = value
    return bytes(out)


def timescale_offset(box, data):
    """Where the timescale of an mvhd or mdhd sits (after two 32- or 64-bit dates)."""
    return box.body + 4 + (16 if data[box.body] == 1 else 8)


def table_entries(box, data, entry_size, field=0):
    """Offsets of one 32-bit field of every entry in a table box (stts, stco)."""
    count = struct.unpack_from(">I", data, box.body + 4)[0]
    first = box.body + 8
    return [first + i * entry_size + field for i in range(count)]


def surgery(base, out):
    """Files cut, zeroed and patched from one small faststart MP4."""
    data = open(base, "rb").read()
    boxes = list(walk(data))
    n = len(data)
    moov_end = find(boxes, "moov").end

    write = lambda name, content: pathlib.Path(out, name).write_bytes(content)

    # A download cut short: inside the first box, inside the index, just past it, in the samples.
    for size in (4, 16, 64, 1024, moov_end - 1, moov_end + 16, n // 4, n // 2, 3 * n // 4, n - 1):
        write(f"cut-{size:05d}.mp4", data[:size])

    # Every box length zeroed in turn (0 means "to the end of the file" at the top level).
    for b in boxes:
        write(f"zero-{b.path}.mp4", patched(data, [(b.offset, b"\0\0\0\0")]))

    # The index promises samples that are not there.
    mdat = find(boxes, "mdat")
    write("nosamples-mdat-empty.mp4", data[:mdat.offset] + struct.pack(">I4s", 8, b"mdat"))
    past_end = struct.pack(">I", 0xFFFFFF00)
    stco = [o for b in boxes if b.kind == b"stco" for o in table_entries(b, data, 4)]
    write("nosamples-chunks-past-end.mp4", patched(data, [(o, past_end) for o in stco]))

    # No frame rate: a zero time scale, or samples that last no time at all.
    video = video_track(boxes, data)
    zero = b"\0\0\0\0"
    write("zerofps-movie-timescale.mp4", patched(data, [(timescale_offset(find(boxes, "moov.mvhd"), data), zero)]))
    write("zerofps-track-timescale.mp4",
          patched(data, [(timescale_offset(find(boxes, f"{video}.mdia.mdhd"), data), zero)]))
    stts = find(boxes, f"{video}.mdia.minf.stbl.stts")
    write("zerofps-sample-durations.mp4", patched(data, [(o, zero) for o in table_entries(stts, data, 8, 4)]))


def extras(out):
    """Files a user meets beyond the clip manifest's and the surgery's."""
    folder = pathlib.Path(out)
    # Only the fragmented file's header: what a stream recorder leaves when stopped early.
    frag = (folder / "frag-whole.mp4").read_bytes()
    (folder / "frag-header-only.mp4").write_bytes(frag[:find(list(walk(frag)), "moov").end])

    # Noise under a name that promises a video.
    (folder / "random.mp4").write_bytes(random.Random(9).randbytes(65536))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else sys.exit("usage: make_corpus.py OUT_DIR")
    shutil.rmtree(out, ignore_errors=True)
    # The manifest's clips are encoded once, beside the corpus, and copied into each fresh corpus.
    encodes = out.rstrip("/") + "-encodes"
    subprocess.run([MAKE_MEDIA, encodes, "hostile"], check=True, stdout=subprocess.DEVNULL)
    shutil.copytree(encodes, out, ignore=shutil.ignore_patterns(".making-*"))
    surgery(os.path.join(out, "good-clip.mp4"), out)
    extras(out)
    print(f"{len(os.listdir(out))} hostile files in {out}")


if __name__ == "__main__":
    main()
