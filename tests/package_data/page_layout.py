"""Where the window descriptions put every control, worked out the way the
window toolkit lays windows out, for a given font size and a given language.

Used by check_package_data.py to find controls that stick out of their page,
overlap a sibling, or are too small for their text once the system font
grows (120 DPI) or a language's text is longer (French and Italian), before
any window is ever shown.

Text widths are estimates: a Latin character is about one horizontal dialog
base unit wide (the base unit is the average width of the alphabet), a
Chinese character about nine tenths of the font's cell height. A margin on
top keeps the estimates on the safe side.
"""

import math
import re

# Font sizes to check: (name, horizontal base unit, vertical base unit), as
# measured from the message font: Tahoma 8 pt (Windows XP, Wine), Segoe UI
# 9 pt (Windows Vista to 10), and both at 120 DPI.
FONTS = (
    ("Tahoma 8 pt, 96 DPI", 6, 13),
    ("Segoe UI 9 pt, 96 DPI", 6, 16),
    ("Tahoma 8 pt, 120 DPI", 7, 16),
    ("Segoe UI 9 pt, 120 DPI", 8, 20),
)
TEXT_MARGIN = 1.12        # estimated widths are taken this much wider
UNDEFINED = None

GEOMETRY_RE = re.compile(r"\s*([+-]?)\s*(\d+)(dlu)?")


class Box:
    def __init__(self, left, top, width, height):
        self.left, self.top, self.width, self.height = left, top, width, height

    @property
    def right(self):
        return self.left + self.width - 1

    @property
    def bottom(self):
        return self.top + self.height - 1

    def value(self, prop):
        return {"Left": self.left, "Top": self.top, "Width": self.width, "Height": self.height,
                "Right": self.right, "Bottom": self.bottom}[prop]

    def intersects(self, other):
        return not (self.right < other.left or other.right < self.left or
                    self.bottom < other.top or other.bottom < self.top)

    def contains(self, other):
        return (self.left <= other.left and self.top <= other.top and
                other.right <= self.right and other.bottom <= self.bottom)

    def __repr__(self):
        return f"({self.left},{self.top} {self.width}x{self.height})"


def dlu_to_pixels(dlu, base, divisor):
    value = divisor // 2 - 1 + base * dlu
    return int(value / divisor)  # truncates toward zero


def parse_lengths(text):
    """(pixels, dialog units) of up to two lengths; the second of one unit
    replaces the first."""
    pixels = dlus = 0
    for sign, digits, unit in GEOMETRY_RE.findall(text)[:2]:
        number = int(digits) * (-1 if sign == "-" else 1)
        if unit:
            dlus = number
        else:
            pixels = number
    return pixels, dlus


def parse_expression(value):
    """("const", px, dlu) or ("ref", name, prop, factor, px, dlu)."""
    head = re.split(r"[+\-*/]", value, maxsplit=1)[0]
    if "." not in head:
        px, dlu = parse_lengths(value)
        return ("const", px, dlu)
    m = re.match(r"([A-Za-z0-9_]+)\.([A-Za-z]+)(?:([*/])(\d*\.?\d+))?(.*)$", value)
    name, prop, op, number, rest = m.groups()
    factor = 1.0
    if op == "*":
        factor = float(number)
    elif op == "/" and float(number) != 0:
        factor = 1.0 / float(number)
    px, dlu = parse_lengths(rest)
    return ("ref", name, prop, factor, px, dlu)


class Layout:
    """Boxes of one description's windows, by element, for base units
    (bx, by) and the picture sizes of the manifest."""

    def __init__(self, bx, by, picture_sizes):
        self.bx, self.by = bx, by
        self.pictures = picture_sizes   # package path -> (width, height)
        self.boxes = {}                 # element -> Box, relative to its parent's client area

    def convert(self, dlu, horizontal):
        return dlu_to_pixels(dlu, self.bx, 4) if horizontal else dlu_to_pixels(dlu, self.by, 8)

    def evaluate(self, element, attribute, parent_size, siblings):
        value = element.get(attribute)
        if value is None:
            return UNDEFINED
        horizontal = attribute in ("Left", "Right", "Width", "ClientWidth")
        expression = parse_expression(value)
        if expression[0] == "const":
            return self.convert(expression[2], horizontal) + expression[1]
        _, name, prop, factor, px, dlu = expression
        if name == "Parent":
            if prop == "Width":
                quantity = parent_size[0]
            elif prop == "Height":
                quantity = parent_size[1]
            else:
                quantity = 0
        elif name == "Self":
            box = self.boxes.get(element)
            quantity = box.value(prop) if box else None
        else:
            sibling = siblings.get(name)
            box = self.boxes.get(sibling) if sibling is not None else None
            quantity = box.value(prop) if box else None
        if quantity is None:
            return 32
        return self.convert(dlu, horizontal) + int(quantity * factor + px)

    def default_size(self, element):
        """(width, height) in pixels when the description leaves them open."""
        tag = element.tag
        if tag == "Picture":
            return self.pictures.get(element.get("Name"), (32, 32))
        if tag in ("Button", "CheckBox", "GroupBox"):
            return self.convert(50, True), self.convert(14, False)
        if tag in ("EditBox", "ComboBox"):
            return 32, self.convert(14, False)
        if tag in ("Static", "URL", "ProgressBar"):
            return 32, self.convert(10, False)
        return 32, 32

    def axis(self, element, parent_size, siblings, start, end, size, client, default):
        first = self.evaluate(element, start, parent_size, siblings)
        first = 0 if first is None else first
        last = self.evaluate(element, end, parent_size, siblings)
        length = self.evaluate(element, size, parent_size, siblings)
        if length is None:
            length = self.evaluate(element, client, parent_size, siblings)
        if last is not None:
            if length is not None:
                first = last - length + 1
            else:
                length = last - first + 1 if last >= first else 0
        elif length is None:
            length = default
        return first, length

    def place(self, element, parent_size, siblings):
        default_width, default_height = self.default_size(element)
        if element.tag == "Separator":
            horizontal = element.get("Width") is not None or (
                element.get("Left") is not None and element.get("Right") is not None)
            default_width, default_height = (default_width, 2) if horizontal else (2, default_height)
        left, width = self.axis(element, parent_size, siblings, "Left", "Right", "Width", "ClientWidth",
                                default_width)
        top, height = self.axis(element, parent_size, siblings, "Top", "Bottom", "Height", "ClientHeight",
                                default_height)
        if element.tag == "Picture":
            # A picture is as large as its image, whatever else is said.
            width, height = default_width, default_height
        if element.tag == "Separator":
            if element.get("Height") is None and element.get("Bottom") is None and width != 2:
                height = 2
        self.boxes[element] = Box(left, top, width, height)

    def lay_out_children(self, element, client_size):
        children = [c for c in element if c.tag != "Item"]
        siblings = {c.get("ID"): c for c in children if c.get("ID")}
        # Two passes, as the toolkit does, and one more for references to
        # siblings that come later in the list.
        for _ in range(3):
            for child in children:
                self.place(child, client_size, siblings)
        for child in children:
            box = self.boxes[child]
            self.lay_out_children(child, (box.width, box.height))

    def lay_out(self, element, parent_size, siblings=None):
        """Places a top-level element (a page) in a parent of parent_size and
        lays out its subtree."""
        siblings = siblings or {}
        for _ in range(2):
            self.place(element, parent_size, siblings)
        box = self.boxes[element]
        if element.get("ClientWidth") is not None:
            box.width = self.evaluate(element, "ClientWidth", parent_size, siblings)
        if element.get("ClientHeight") is not None:
            box.height = self.evaluate(element, "ClientHeight", parent_size, siblings)
        self.lay_out_children(element, (box.width, box.height))
        return box


def font_scale(element, inherited=1.0):
    font = element.get("Font")
    scale, bold = inherited, False
    if font:
        for token in font.split(","):
            token = token.strip()
            if token.startswith("*"):
                scale = float(token[1:])
            elif token == "Bold":
                bold = True
    return scale, bold


def is_wide(character):
    code = ord(character)
    return (0x1100 <= code <= 0x115F or 0x2E80 <= code <= 0xA4CF or 0xAC00 <= code <= 0xD7A3 or
            0xF900 <= code <= 0xFAFF or 0xFE30 <= code <= 0xFE4F or 0xFF00 <= code <= 0xFF60 or
            0xFFE0 <= code <= 0xFFE6)


def text_width(text, bx, by, scale=1.0, bold=False):
    """Estimated width in pixels of one line of text."""
    width = 0.0
    for character in text:
        width += by * 0.9 if is_wide(character) else bx
    return width * scale * (1.1 if bold else 1.0) * TEXT_MARGIN


def lines_needed(text, available, bx, by, scale=1.0, bold=False):
    """Lines that word wrapping needs; a word wider than the line counts as
    not fitting at all (None)."""
    if available <= 0:
        return None
    lines = 0
    for paragraph in text.split("\n"):
        lines += 1
        used = 0.0
        # Chinese wraps between any two characters; other scripts at blanks.
        tokens = re.findall(r"[^\s]+\s*", paragraph) if not any(is_wide(c) for c in paragraph) else \
            list(paragraph)
        for token in tokens:
            width = text_width(token.rstrip(), bx, by, scale, bold)
            if width > available:
                return None
            if used and used + width > available:
                lines += 1
                used = 0.0
            used += text_width(token, bx, by, scale, bold)
    return lines


def line_height(by, scale=1.0):
    return math.ceil(by * scale)
