"""Writing and checking the GIF files of the program's pictures.

The program's decoder reads one kind of GIF only: a global colour table, a
single image at (0, 0) of the full size, not interlaced, no local colour
table, LZW codes of at most 12 bits.  `encode` writes exactly that kind;
`check_structure` and `decode` read a file back the way the program does, so
that a picture that passes here also decodes in the program.
"""

import struct

MAX_CODES = 4096


def table_size(colour_count):
    """The size of the global colour table: a power of two from 2 to 256."""
    n = 2
    while n < colour_count:
        n *= 2
    if n > 256:
        raise ValueError("%d colours do not fit a GIF colour table" % colour_count)
    return n


class _BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.bits = 0

    def write(self, code, width):
        self.acc |= code << self.bits
        self.bits += width
        while self.bits >= 8:
            self.out.append(self.acc & 0xFF)
            self.acc >>= 8
            self.bits -= 8

    def finish(self):
        if self.bits:
            self.out.append(self.acc & 0xFF)
        return bytes(self.out)


def lzw_encode(pixels, min_code_size):
    """LZW-code the colour indices; a clear code follows when the table fills.

    The code width grows one code later than the table, as decoders expect:
    the decoder adds each entry one code after the encoder does.
    """
    clear = 1 << min_code_size
    end = clear + 1
    first_free = clear + 2
    writer = _BitWriter()
    width = min_code_size + 1
    writer.write(clear, width)
    if not pixels:
        writer.write(end, width)
        return writer.finish()

    table = {}
    next_code = first_free
    prefix = pixels[0]
    for px in pixels[1:]:
        key = (prefix << 8) | px
        code = table.get(key)
        if code is not None:
            prefix = code
            continue
        writer.write(prefix, width)
        table[key] = next_code
        next_code += 1
        if next_code > (1 << width) and width < 12:
            width += 1
        if next_code == MAX_CODES:
            writer.write(clear, width)
            table.clear()
            next_code = first_free
            width = min_code_size + 1
        prefix = px
    writer.write(prefix, width)
    # Reading the last code the decoder adds one more entry and may widen.
    if next_code != first_free and next_code == (1 << width) and width < 12:
        width += 1
    writer.write(end, width)
    return writer.finish()


def encode(width, height, palette, pixels):
    """A GIF89a file: `palette` is a list of (r, g, b), `pixels` row by row."""
    if len(pixels) != width * height:
        raise ValueError("pixel count does not match the size")
    n = table_size(len(palette))
    if pixels and max(pixels) >= len(palette):
        raise ValueError("a pixel refers to a colour outside the palette")
    k = n.bit_length() - 2  # n == 2 ** (k + 1)
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", width, height, 0x80 | (k << 4) | k, 0, 0)
    for i in range(n):
        r, g, b = palette[i] if i < len(palette) else (0, 0, 0)
        out += bytes((r, g, b))
    min_code_size = max(2, k + 1)
    out += b","
    out += struct.pack("<HHHHB", 0, 0, width, height, 0x00)
    out.append(min_code_size)
    data = lzw_encode(pixels, min_code_size)
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    out += b";"
    return bytes(out)


class GifError(Exception):
    pass


def check_structure(data, width, height):
    """Check the byte layout the program's decoder relies on.

    Returns (palette, offset of the image data) or raises GifError.
    """
    if len(data) < 13 or data[:6] not in (b"GIF87a", b"GIF89a"):
        raise GifError("no GIF87a/GIF89a header")
    sw, sh, flags = struct.unpack("<HHB", data[6:11])
    if (sw, sh) != (width, height):
        raise GifError("screen is %dx%d, not %dx%d" % (sw, sh, width, height))
    if not flags & 0x80:
        raise GifError("no global colour table")
    n = 2 << (flags & 7)
    pos = 13
    if len(data) < pos + 3 * n:
        raise GifError("colour table cut short")
    palette = [tuple(data[pos + 3 * i:pos + 3 * i + 3]) for i in range(n)]
    pos += 3 * n
    images = 0
    image_data = None
    while True:
        if pos >= len(data):
            raise GifError("no trailer")
        intro = data[pos]
        pos += 1
        if intro == 0x3B:
            break
        if intro == 0x21:
            pos += 1
            pos = _skip_sub_blocks(data, pos)
        elif intro == 0x2C:
            if len(data) < pos + 9:
                raise GifError("image descriptor cut short")
            left, top, w, h, iflags = struct.unpack("<HHHHB", data[pos:pos + 9])
            if (left, top, w, h) != (0, 0, width, height):
                raise GifError("image at %d,%d size %dx%d" % (left, top, w, h))
            if iflags != 0:
                raise GifError("image descriptor flags 0x%02x, not 0" % iflags)
            pos += 9
            image_data = pos
            pos += 1  # minimum code size
            pos = _skip_sub_blocks(data, pos)
            images += 1
        else:
            raise GifError("unexpected byte 0x%02x at %d" % (intro, pos - 1))
    if images != 1:
        raise GifError("%d images, not one" % images)
    if pos != len(data):
        raise GifError("bytes after the trailer")
    return palette, image_data


def _skip_sub_blocks(data, pos):
    while True:
        if pos >= len(data):
            raise GifError("sub-blocks cut short")
        length = data[pos]
        pos += 1 + length
        if length == 0:
            return pos


def decode(data, width, height):
    """Decode the single image as the program's decoder does: returns indices.

    Follows the program's rules: the width grows when the next free code
    reaches 2 ** width (up to 12 bits), no entries are added to a full table,
    and a code not yet in the table is the previous string plus its first
    character.
    """
    _, pos = check_structure(data, width, height)
    s = data[pos]
    pos += 1
    if s < 2 or s > 9:
        raise GifError("minimum code size %d" % s)
    stream = bytearray()
    while data[pos]:
        stream += data[pos + 1:pos + 1 + data[pos]]
        pos += 1 + data[pos]
    clear = 1 << s
    end = clear + 1
    first_free = clear + 2
    prefix = [0] * MAX_CODES
    suffix = [0] * MAX_CODES
    for i in range(clear):
        suffix[i] = i
    out = []
    bitpos = 0
    total_bits = len(stream) * 8

    def read(width):
        nonlocal bitpos
        if bitpos + width > total_bits:
            return None
        value = 0
        for i in range(width):
            byte = stream[(bitpos + i) >> 3]
            value |= ((byte >> ((bitpos + i) & 7)) & 1) << i
        bitpos += width
        return value

    def string(code):
        chars = []
        while code >= first_free:
            chars.append(suffix[code])
            code = prefix[code]
        chars.append(code)
        chars.reverse()
        return chars

    width = s + 1
    next_free = first_free
    prev = 0
    first = 0
    while True:
        code = read(width)
        if code is None or code == end:
            break
        if code == clear:
            width = s + 1
            next_free = first_free
            while code == clear:
                code = read(width)
                if code is None:
                    break
            if code is None or code == end:
                break
            if code >= next_free:
                code = 0
            out.append(code)
            prev = code
            first = code
            continue
        if code >= next_free:
            chars = string(prev) + [first]
        else:
            chars = string(code)
        out.extend(chars)
        first = chars[0]
        if next_free < (1 << width):
            prefix[next_free] = prev
            suffix[next_free] = first
            next_free += 1
            prev = code
        if next_free == (1 << width) and width < 12:
            width += 1
    return out
