"""Reference encodings for the encoder tests: for every <name>.bin in the folder given, writes
<name>.b64 and <name>.uu with the lines of Python's base64 and binascii for 45-byte blocks, each
line ended by CR LF (the UU text ends with the line for a zero-length block)."""
import base64
import binascii
import pathlib
import sys

folder = pathlib.Path(sys.argv[1])
for source in sorted(folder.glob("*.bin")):
    data = source.read_bytes()
    blocks = [data[i:i + 45] for i in range(0, len(data), 45)]
    b64 = b"".join(base64.b64encode(block) + b"\r\n" for block in blocks)
    uu = b"".join(binascii.b2a_uu(block, backtick=True)[:-1] + b"\r\n" for block in blocks + [b""])
    source.with_suffix(".b64").write_bytes(b64)
    source.with_suffix(".uu").write_bytes(uu)
