"""Writes the uncompressed kernel (an ELF that QEMU boots by its PVH entry, much faster than
the compressed image) out of a Debian bzImage, whose payload is XZ-compressed."""
import lzma
import sys

image = open(sys.argv[1], 'rb').read()
start = image.find(b'\xfd7zXZ\x00')
if start < 0:
    sys.exit('%s: no XZ payload' % sys.argv[1])
# The payload is followed by the decompressor's trailer; decompress only the stream.
kernel = lzma.LZMADecompressor(format=lzma.FORMAT_XZ).decompress(image[start:])
if kernel[:4] != b'\x7fELF':
    sys.exit('%s: the payload is not an ELF kernel' % sys.argv[1])
open(sys.argv[2], 'wb').write(kernel)
