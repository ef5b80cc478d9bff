#!/usr/bin/env python3
"""Checks the installer's package data: the standard package and a product's.

What the installer loads at run time must be right the first time it is
built: a misspelt key shows "<Localized Text: ...>" on a page, a misspelt
attribute is silently ignored and leaves a control at its default size, a
geometry reference to a sibling that does not exist leaves a control at 32
pixels, a picture that the picture script does not make fails its control's
description. This script finds those faults in the files themselves:

- every XML file parses, is UTF-8 with a byte-order mark and has a
  "Resources" root;
- the string files: four languages per family, the root's language matches
  the file name, no key twice, the same keys and the same placeholders in
  every language, placeholders well-formed, no raw line breaks;
- every "#Key" that the descriptions and the configuration use, and every
  key that the installer itself asks for, exists in every language, with the
  placeholders the installer fills in, and none where nothing fills them;
- the window descriptions: the top-level elements and IDs the installer
  looks up, the named controls of every page with their element types, only
  element names of the window-type table, only attributes that the class
  reads, valid enumerations, booleans, colours, fonts and geometry
  expressions whose references name an existing sibling, no reference
  cycles, no duplicated IDs among siblings;
- pictures: every picture a description names is made by
  scripts/make-pictures, as an 8-bit RGBA PNG of the listed size; tab
  strips hold one image per tab;
- the message boxes: a known type and a supported button set;
- the configuration: required attributes and elements, two distinct UUIDs,
  shortcut targets that exist and shortcut names that are valid file names;
- the licence: formatted text made only of the renderer's elements, with no
  white space that the parser would drop between two words.

usage: check_package_data.py --standard DIR --product DIR --make-pictures SCRIPT [--no-pictures]
Prints each fault and ends with "N passed, N failed" over the checks.
"""

import argparse
import os
import re
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

import page_layout

LANGUAGES = ("en", "fr", "it", "zh")
BOM = b"\xef\xbb\xbf"
NBSP = "\u00a0"

# Texts of the framework's own string files, which another part of the
# package provides; used when those files are not in the folders checked.
FRAMEWORK_KEYS = {
    "OKButton", "CancelButton", "YesButton", "NoButton", "CloseButton", "QuitButton",
    "TimeRemainingAboutXMinutes", "TimeRemainingAboutAMinute", "TimeRemainingLessThanMinute",
    "TimeRemainingAbout10Seconds", "TimeRemainingAbout5Seconds", "TimeRemaining0Second",
    "NotInstalled", "CloseBeforeUninstall", "UninstallConfirmation", "UninstallSucceed",
}

# Keys the installer's code looks up itself (not through a description),
# with the placeholders it fills in.
CODE_KEYS = {
    "InstallTitle": {"0"},
    "InstallLabel": {"0"},
    "WelcomeTitle": {"0"},
    "WelcomeInfoURL": {"0"},
    "InstallFolderLabel": {"0"},
    "SpaceRequired": {"0"},
    "SuccessMessage": {"0"},
    "RunButton": {"0"},
    "ProgressionText": {"0"},
    "TimeRemaining": set(),
    "CancelConfirmation": {"0"},
    "LicenseText": set(),
}

# Top-level descriptions the installer looks up, by file and element name.
REQUIRED_TOP = {
    "Windows.xml": {"Window": {"MainWindow"}},
    "Dialogs.xml": {
        "DialogBox": {"MainPage", "WelcomePage", "LicensePage", "OptionsPage", "FileTransferPage",
                      "CanceledPage", "FailurePage", "SuccessPage"},
        "BrowseFolderDialog": {"BrowseInstallFolderDialog"},
        "MessageBox": {"CancelConfirmation"},
    },
}

# Named controls the installer finds on each page, with their element name.
REQUIRED_CONTROLS = {
    "MainWindow": {"Header": "Static", "Icon": "Picture", "Text": "Static", "Separator": "Separator"},
    "MainPage": {"Tabs": "TabCtrl", "BottomSeparator": "Separator", "InstallCmd": "Button",
                 "QuitCmd": "Button"},
    "WelcomePage": {"Title": "Static", "Intro": "Static", "Instructions": "URL",
                    "NoticePublicProduct": "Window", "InfoPublicDistribution": "URL",
                    "NoticeOpenBeta": "Window", "InfoProtectedDistribution": "URL",
                    "NoticeClosedBeta": "Window"},
    "LicensePage": {},
    "OptionsPage": {"FoldersGroup": "GroupBox", "InstallFolderLabel": "Static", "InstallFolder": "EditBox",
                    "BrowseFolder": "Button", "SpaceRequired": "Static", "ProgramGroupLabel": "Static",
                    "ProgramGroup": "ComboBox", "ShortcutsGroup": "GroupBox",
                    "CreateDesktopShortcut": "CheckBox", "CreateQuickLaunchShortcut": "CheckBox"},
    "FileTransferPage": {"CancelCmd": "Button", "ProgressBar": "ProgressBar", "OperationTitle": "Static",
                         "ProgressionLabel": "Static", "ProgressionTime": "Static"},
    "CanceledPage": {"QuitCmd": "Button", "Icon": "Picture", "Message": "Static"},
    "FailurePage": {"QuitCmd": "Button", "Icon": "Picture", "Message": "Static", "WebSite": "URL"},
    "SuccessPage": {"RunCmd": "Button", "QuitCmd": "Button", "Icon": "Picture", "Message": "Static",
                    "WebSite": "URL"},
}
# The button that Enter presses on each page.
DEFAULT_BUTTONS = {"MainPage": "InstallCmd", "FileTransferPage": "CancelCmd", "CanceledPage": "QuitCmd",
                   "FailurePage": "QuitCmd", "SuccessPage": "RunCmd"}
# The notices of the welcome tab start hidden; the page shows one of them.
HIDDEN_CONTROLS = {"WelcomePage": {"NoticePublicProduct", "NoticeOpenBeta", "NoticeClosedBeta"}}
TAB_PAGES = ("WelcomePage", "LicensePage", "OptionsPage")

WINDOW_TYPES = ("Static", "List", "Slider", "Button", "ToolBar", "StatusBar", "ControlBar", "Window",
                "DockWindow", "ProgressBar", "Picture", "GroupBox", "ComboBox", "URL", "CheckBox",
                "RichEdit", "EditBox", "HintCtrl", "TabCtrl", "Separator", "PropertySheet")

GEOMETRY = ("Top", "Left", "Width", "ClientWidth", "Height", "ClientHeight", "Bottom", "Right")
BASE_ATTRIBUTES = {"ID", "Type", "Title", "Tooltip", "BackgroundColor", "HorizontalGradientColor",
                   "VerticalGradientColor", "Border", "Visible", "ClipChildren", "ClipSiblings",
                   "AcceptFiles", "SystemMenu", "FirstOfGroup", "Enabled", "CloseButton", "Caption",
                   "DoubleBuffered", "Font", "Redraw", "HorizontalRedraw", "VerticalRedraw", "EnableFocus",
                   "MouseCursor", "ShortcutKeys", "Position"} | set(GEOMETRY) | \
    {p + g for p in ("Min", "Max") for g in GEOMETRY}
TEXT_ATTRIBUTES = {"TextColor", "HorizontalAlign", "VerticalAlign", "WordEllipsis", "PathEllipsis"}
BUTTON_ATTRIBUTES = TEXT_ATTRIBUTES | {"Picture"}
EDIT_ATTRIBUTES = TEXT_ATTRIBUTES | {"ReadOnly", "WantReturn", "Case", "OnReturn", "Password"}
CLASS_ATTRIBUTES = {
    "Window": set(),
    "DialogBox": {"WantOK", "WantCancel"},
    "Static": TEXT_ATTRIBUTES,
    "Separator": TEXT_ATTRIBUTES,
    "Button": BUTTON_ATTRIBUTES,
    "CheckBox": BUTTON_ATTRIBUTES,
    "GroupBox": BUTTON_ATTRIBUTES,
    "EditBox": EDIT_ATTRIBUTES,
    "RichEdit": EDIT_ATTRIBUTES | {"BottomLess", "TextMode", "AutoDetectURL"},
    "ProgressBar": TEXT_ATTRIBUTES,
    "URL": TEXT_ATTRIBUTES | {"Address"},
    "Picture": TEXT_ATTRIBUTES | {"Name"},
    "TabCtrl": TEXT_ATTRIBUTES | {"Pictures", "PictureItemWidth"},
    "ComboBox": TEXT_ATTRIBUTES | {"Pictures", "PictureItemWidth"},
}
# "Type" values each class accepts (absent: the class has no type reader
# worth using here, and a Type is refused).
TYPE_VALUES = {
    "Window": {"MainWindow", "MainDialogBox", "ClientWindow"},
    "DialogBox": {"Popup", "StatusPopup", "SimplePopup", "ThinPopup"},
    "Button": {"PushCheckButton", "DefaultButton"},
    "ComboBox": {"List", "Editable", "DropDown"},
}
ENUMS = {
    "Border": {"None", "Solid", "StaticEdge", "ClientEdge"},
    "Redraw": {"Both", "Horizontal", "Vertical"},
    "MouseCursor": {"{Hand}"},
    "HorizontalAlign": {"Left", "Center", "Right"},
    "VerticalAlign": {"Center"},
    "TextMode": {"Default", "Plain", "HTML"},
    "Case": {"Upper", "Lower"},
}
BOOLEANS = {"Visible", "ClipChildren", "ClipSiblings", "AcceptFiles", "SystemMenu", "FirstOfGroup", "Enabled",
            "CloseButton", "Caption", "DoubleBuffered", "EnableFocus", "WordEllipsis", "PathEllipsis",
            "ReadOnly", "WantReturn", "Password", "BottomLess", "AutoDetectURL", "WantOK", "WantCancel",
            "NewFolderButton", "DefaultButton", "Selected", "CommandLinks"}
COLOUR_ATTRIBUTES = {"BackgroundColor", "HorizontalGradientColor", "VerticalGradientColor", "TextColor"}
SYSTEM_COLOURS = {"DesktopBackground", "DialogBoxBackground", "GUIHighlight", "GUIFace", "GUIShadow",
                  "GUIDarkShadow", "Hyperlink", "SelectedItemBackground", "ToolbarBackground", "TooltipText",
                  "TooltipBackground", "WindowActiveTitleBackgroundLeft", "WindowActiveTitleBackgroundRight",
                  "WindowActiveTitleText", "WindowBackground", "WindowInactiveTitleBackgroundLeft",
                  "WindowInactiveTitleBackgroundRight", "WindowInactiveTitleText", "WindowGrayText",
                  "WindowText"}
NAMED_COLOURS = {"Black", "Blue", "Gray", "Green", "Orange", "Pink", "Red", "Transparent", "White", "Yellow",
                 "LightGray", "LightOrange", "LightYellow", "DarkBlue"}
LOCALIZED_ATTRIBUTES = {"Title", "Tooltip"}
PICTURE_ATTRIBUTES = {"Picture": "Name", "Button": "Picture", "CheckBox": "Picture", "GroupBox": "Picture",
                      "TabCtrl": "Pictures", "ComboBox": "Pictures"}
PROPERTIES = ("Width", "Height", "Top", "Bottom", "Left", "Right")
HORIZONTAL = {"Left", "Right", "Width", "ClientWidth"}
MESSAGE_BOX_TYPES = {"Simple", "Information", "Warning", "Error"}
MESSAGE_BOX_BUTTONS = ("Yes", "No", "OK", "Cancel", "Retry", "Abort", "Ignore")
BUTTON_SETS = [{"Yes", "No"}, {"OK"}, {"Yes", "No", "Cancel"}, {"OK", "Cancel"}, {"Retry", "Cancel"},
               {"Abort", "Retry", "Ignore"}]
LICENCE_ELEMENTS = {"p", "b", "a", "ul", "li", "br"}
INLINE_ELEMENTS = {"b", "a", "br"}
FILE_NAME_FORBIDDEN = set('\\/:*?"<>|')
PLACEHOLDER = re.compile(r"\{(\d+)(,-?0?\d*(?:\.\d+)?)?(:[A-Za-z])?\}")


class Report:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, name, faults):
        if faults:
            self.failed += 1
            print(f"FAIL {name}")
            for fault in faults:
                print(f"  - {fault}")
        else:
            self.passed += 1
            print(f"ok   {name}")


def read_xml(path, faults):
    """The parsed root, or None with a fault. Shipped files carry a BOM."""
    with open(path, "rb") as f:
        data = f.read()
    name = os.path.basename(path)
    if not data.startswith(BOM):
        faults.append(f"{name}: no UTF-8 byte-order mark")
    try:
        data.decode("utf-8")
    except UnicodeDecodeError as error:
        faults.append(f"{name}: not UTF-8 ({error})")
        return None
    try:
        root = ET.fromstring(data)
    except ET.ParseError as error:
        faults.append(f"{name}: does not parse: {error}")
        return None
    if root.tag != "Resources":
        faults.append(f"{name}: root is <{root.tag}>, not <Resources>")
    return root


def text_of(element):
    return "".join(element.itertext()) if len(element) else (element.text or "")


# ---------------------------------------------------------------- strings

class Strings:
    """Every string file of the standard and the product package."""

    def __init__(self):
        self.by_language = {lang: {} for lang in LANGUAGES}   # key -> (text, family, element)
        self.framework_files = False


def load_strings(xml_dirs, report):
    strings = Strings()
    families = ("VornSetup-Strings", "VornSetup-Custom-Strings", "VornSetup-License", "VornLib-Strings")
    faults = []
    family_keys = {}
    for family in families:
        for lang in LANGUAGES:
            paths = [os.path.join(d, f"{family}-{lang}.xml") for d in xml_dirs]
            paths = [p for p in paths if os.path.exists(p)]
            if not paths:
                if family != "VornLib-Strings":
                    faults.append(f"{family}-{lang}.xml is missing")
                continue
            if len(paths) > 1:
                faults.append(f"{family}-{lang}.xml is in more than one folder: {paths}")
            if family == "VornLib-Strings":
                strings.framework_files = True
            root = read_xml(paths[0], faults)
            if root is None:
                continue
            name = os.path.basename(paths[0])
            if root.get("Language") != lang:
                faults.append(f"{name}: root Language is {root.get('Language')!r}, not {lang!r}")
            keys = set()
            for element in root:
                if element.tag != "String":
                    faults.append(f"{name}: <{element.tag}> where only <String> belongs")
                    continue
                key = element.get("ID")
                if not key:
                    faults.append(f"{name}: a String without ID")
                    continue
                if key in keys:
                    faults.append(f"{name}: key {key} given twice")
                keys.add(key)
                text = text_of(element)
                if not text.strip():
                    faults.append(f"{name}: {key} is empty")
                # Later files (custom strings) override earlier ones, as the
                # resource manager does.
                strings.by_language[lang][key] = (text, family, element)
            family_keys.setdefault(family, {})[lang] = keys
    for family, per_language in family_keys.items():
        union = set().union(*per_language.values())
        for lang, keys in sorted(per_language.items()):
            missing = union - keys
            if missing:
                faults.append(f"{family}-{lang}.xml lacks {sorted(missing)}")
    report.check("string files: four languages, matching roots, unique keys, same key sets", faults)
    return strings


def placeholders(text):
    return {m.group(1) for m in PLACEHOLDER.finditer(text)}


def check_string_texts(strings, report):
    faults = []
    for lang in LANGUAGES:
        for key, (text, family, element) in sorted(strings.by_language[lang].items()):
            if len(element):
                continue  # formatted text: checked with the licence
            if "\n" in text or "\r" in text or "\t" in text:
                faults.append(f"{lang} {key}: raw line break or tab (write &#10; only where a break is meant)")
            # Every brace must belong to a well-formed placeholder, or the
            # formatter gives the empty text.
            rest = PLACEHOLDER.sub("", text)
            if "{" in rest or "}" in rest:
                faults.append(f"{lang} {key}: malformed placeholder in {text!r}")
            if text.count("&") > 1:
                faults.append(f"{lang} {key}: more than one keyboard-shortcut marker")
            if text != text.strip():
                faults.append(f"{lang} {key}: leading or trailing blanks")
            if lang == "fr":
                plain = PLACEHOLDER.sub("", text)
                for mark in ":;?!":
                    for m in re.finditer(re.escape(mark), plain):
                        before = plain[m.start() - 1] if m.start() else ""
                        if before == " ":
                            faults.append(f"fr {key}: ordinary space before '{mark}' (use a no-break space)")
                        elif before and before not in (NBSP, "\u202f") and mark in ":;" and \
                                not plain[m.start() + 1:m.start() + 3].startswith("//"):
                            faults.append(f"fr {key}: no no-break space before '{mark}'")
    # Same placeholders in every language.
    for key in sorted(strings.by_language["en"]):
        sets = {lang: placeholders(strings.by_language[lang][key][0])
                for lang in LANGUAGES if key in strings.by_language[lang]}
        if len({frozenset(s) for s in sets.values()}) > 1:
            faults.append(f"{key}: placeholders differ between languages: {sets}")
    report.check("string texts: placeholders, line breaks, shortcut markers, French typography", faults)


def resolve(strings, key, lang):
    if key in strings.by_language[lang]:
        return strings.by_language[lang][key][0]
    if not strings.framework_files and key in FRAMEWORK_KEYS:
        return ""
    return None


def check_keys(strings, used, report):
    """`used`: key -> (where, placeholders filled in or None when formatted
    at run time with unknown arguments)."""
    faults = []
    for key, (where, filled) in sorted(used.items()):
        for lang in LANGUAGES:
            text = resolve(strings, key, lang)
            if text is None:
                faults.append(f"#{key} ({where}) is missing in {lang}")
                continue
            if key in strings.by_language[lang] and len(strings.by_language[lang][key][2]):
                continue
            found = placeholders(text)
            if filled is not None and found - filled:
                faults.append(f"#{key} ({where}) in {lang} has {sorted(found - filled)}, which nothing fills in")
            if filled and key in CODE_KEYS and text and not CODE_KEYS[key] <= found:
                faults.append(f"#{key} in {lang} lacks {sorted(CODE_KEYS[key] - found)}")
    report.check(f"localized keys: {len(used)} keys resolve in {', '.join(LANGUAGES)}", faults)


# ------------------------------------------------------ window descriptions

def window_id(name):
    """The identifier a window, its control and its command get from its
    name: CRC-16/CCITT-FALSE over the name's UTF-16LE bytes."""
    crc = 0xFFFF
    for byte in name.encode("utf-16-le"):
        crc ^= byte << 8
        for _ in range(8):
            crc = ((crc << 1) ^ 0x1021) if crc & 0x8000 else crc << 1
            crc &= 0xFFFF
    return crc


RESERVED_IDS = {window_id(n): n for n in ("Self", "Parent", "OK", "Cancel")}


def check_window_ids(top, where, faults):
    """Within one description, different names must not share an identifier
    (a lookup or a command would reach the wrong control), and no name may
    take the identifier of the platform's OK (1) and Cancel (2) commands,
    no window (0xFFFF) or a reserved name."""
    by_id = {}
    for element in top.iter():
        name = element.get("ID")
        if element is top or not name or element.tag == "Item":
            continue
        value = window_id(name)
        if value in (1, 2, 0xFFFF):
            faults.append(f"{where}: {name!r} has the identifier {value}, which means OK, Cancel or no window")
        if value in RESERVED_IDS and RESERVED_IDS[value] != name:
            faults.append(f"{where}: {name!r} shares its identifier with {RESERVED_IDS[value]!r}")
        other = by_id.setdefault(value, name)
        if other != name:
            faults.append(f"{where}: {name!r} and {other!r} share the identifier 0x{value:04X}")


def parse_bool(value):
    v = value.lstrip()
    return v.startswith("1") or v.lower().startswith("true") or v.startswith("0") or \
        v.lower().startswith("false")


def colour_fault(value):
    if value in SYSTEM_COLOURS or value in NAMED_COLOURS:
        return None
    if value.startswith("#"):
        digits = value[1:]
        if len(digits) in (3, 6, 8) and all(c in "0123456789abcdefABCDEF" for c in digits):
            return None
    return f"colour {value!r} is not a system colour, #RGB, #RRGGBB, #RRGGBBAA or a named colour"


def font_fault(value):
    for token in value.split(","):
        token = token.strip()
        if not token:
            return f"empty token in font {value!r}"
        if token in ("Bold", "Italic", "Underline", "Strikeout", "FixedPitch"):
            continue
        if token.startswith("*"):
            try:
                if float(token[1:]) <= 0:
                    return f"scale {token!r} is not above 0"
            except ValueError:
                return f"bad scale {token!r} in font {value!r}"
            continue
        if re.fullmatch(r"[+-]?\d+", token):
            continue
        if token.startswith("{") and token not in ("{Default}", "{Caption}", "{SmallCaption}", "{Menu}",
                                                   "{Status}"):
            return f"unknown system font {token!r}"
    return None


LENGTH = r"\s*[+-]?\d+(?:dlu)?"


def geometry_reference(value):
    """(name, property) for a reference expression, None for a constant; a
    string for a malformed expression."""
    head = re.split(r"[+\-*/]", value, maxsplit=1)[0]
    if "." not in head:
        # A constant: up to two lengths.
        if value.strip() == "":
            return None
        if not re.fullmatch(rf"(?:{LENGTH})(?:{LENGTH})?\s*", value):
            return f"constant {value!r} is not one or two lengths (such as 8dlu+2)"
        return None
    m = re.fullmatch(rf"([A-Za-z0-9_]+)\.([A-Za-z]+)((?:\*|/)\d*\.?\d+)?((?:{LENGTH}){{0,2}})\s*", value)
    if not m:
        return f"reference {value!r} is not Name.Property[*n|/n][+length[+length]]"
    name, prop = m.group(1), m.group(2)
    if prop not in PROPERTIES:
        return f"property {prop!r} in {value!r} is none of {', '.join(PROPERTIES)}"
    return (name, prop)


def check_descriptions(xml_dir, manifest, report):
    """Checks Windows.xml and Dialogs.xml; returns the keys they use and the
    picture paths they name."""
    faults = []
    used = {}
    pictures = {}
    tops = {}

    def use_key(value, where):
        if value.startswith("#") and not value.startswith("##"):
            used.setdefault(value[1:], (where, None))

    def check_geometry(element, where, siblings):
        """One window's geometry attributes; returns its references as
        (axis, sibling name) pairs."""
        references = []
        for attribute in GEOMETRY + tuple("Min" + g for g in GEOMETRY) + tuple("Max" + g for g in GEOMETRY):
            if attribute not in element.attrib:
                continue
            value = element.attrib[attribute]
            if attribute.startswith(("Min", "Max")):
                if not re.fullmatch(rf"{LENGTH}\s*", value):
                    faults.append(f"{where} {attribute}: {value!r} is not one length")
                continue
            reference = geometry_reference(value)
            if isinstance(reference, str):
                faults.append(f"{where} {attribute}: {reference}")
                continue
            if reference is None:
                continue
            name, prop = reference
            if name in ("Parent", "Self"):
                continue
            if name not in siblings:
                faults.append(f"{where} {attribute}: {name!r} is no sibling")
                continue
            axis = "h" if attribute in HORIZONTAL else "v"
            if (prop in ("Left", "Right", "Width")) != (axis == "h"):
                faults.append(f"{where} {attribute}: refers to {name}.{prop} across axes")
            references.append((axis, name))
        return references

    def check_window(element, where):
        kind = element.tag
        if kind not in CLASS_ATTRIBUTES and kind not in ("BrowseFolderDialog",):
            faults.append(f"{where}: element <{kind}> has no attribute table here")
        allowed = BASE_ATTRIBUTES | CLASS_ATTRIBUTES.get(kind, set())
        if kind == "BrowseFolderDialog":
            allowed = BASE_ATTRIBUTES | CLASS_ATTRIBUTES["DialogBox"] | {"NewFolderButton"}
        for attribute, value in element.attrib.items():
            at = f"{where} {attribute}"
            if attribute not in allowed:
                faults.append(f"{at}: <{kind}> reads no attribute {attribute!r}")
                continue
            if attribute == "Type":
                accepted = TYPE_VALUES.get(kind if kind != "BrowseFolderDialog" else "DialogBox", set())
                if value not in accepted:
                    faults.append(f"{at}: {value!r} is not a Type of <{kind}>")
            if attribute in ENUMS and value not in ENUMS[attribute]:
                faults.append(f"{at}: {value!r} is none of {sorted(ENUMS[attribute])}")
            if attribute in BOOLEANS and not parse_bool(value):
                faults.append(f"{at}: {value!r} is not a boolean")
            if attribute in COLOUR_ATTRIBUTES:
                fault = colour_fault(value)
                if fault:
                    faults.append(f"{at}: {fault}")
            if attribute == "Font":
                fault = font_fault(value)
                if fault:
                    faults.append(f"{at}: {fault}")
            if attribute in LOCALIZED_ATTRIBUTES:
                use_key(value, at)
            if attribute == "PictureItemWidth" and not re.fullmatch(r"\d+", value):
                faults.append(f"{at}: {value!r} is not a number of pixels")
        if kind in PICTURE_ATTRIBUTES and PICTURE_ATTRIBUTES[kind] in element.attrib:
            pictures[element.attrib[PICTURE_ATTRIBUTES[kind]]] = (where, element)
        if kind == "Picture" and "Name" not in element.attrib:
            faults.append(f"{where}: a Picture without Name")
        if kind == "URL" and "Address" not in element.attrib:
            faults.append(f"{where}: a URL without Address fails its description")
        text = (element.text or "").strip()
        if text:
            if len(element):
                faults.append(f"{where}: both a text and child windows")
            use_key(text, f"{where} text")
        children = list(element)
        ids = {}
        for child in children:
            if kind == "ComboBox":
                if child.tag != "Item":
                    faults.append(f"{where}: <{child.tag}> in a combo box, where only <Item> belongs")
                continue
            if child.tag not in WINDOW_TYPES:
                faults.append(f"{where}: <{child.tag}> is not a window type")
                continue
            child_id = child.get("ID")
            if child_id is not None:
                if child_id in ("Self", "Parent", "OK", "Cancel", ""):
                    faults.append(f"{where}: child ID {child_id!r} collides with a reserved name")
                if child_id in ids:
                    faults.append(f"{where}: two children with ID {child_id!r}")
                ids[child_id] = child
            check_window(child, f"{where}/{child_id or '<' + child.tag + '>'}")
        # Geometry references name a sibling (or Self / Parent), and siblings
        # do not depend on each other in a circle along one axis.
        depends = {}
        for child in children:
            if kind == "ComboBox":
                continue
            child_where = f"{where}/{child.get('ID') or '<' + child.tag + '>'}"
            for axis, name in check_geometry(child, child_where, ids):
                depends.setdefault((child.get("ID"), axis), set()).add((name, axis))
        for start in depends:
            seen, stack = set(), [start]
            while stack:
                node = stack.pop()
                for nxt in depends.get(node, ()):
                    if nxt == start:
                        faults.append(f"{where}: geometry of {start[0]} depends on itself through siblings")
                        stack = []
                        break
                    if nxt not in seen:
                        seen.add(nxt)
                        stack.append(nxt)
        # Pages: at most one default button.
        defaults = [c.get("ID") for c in children if c.tag == "Button" and c.get("Type") == "DefaultButton"]
        if len(defaults) > 1:
            faults.append(f"{where}: more than one default button: {defaults}")

    def check_message_box(element, where):
        if element.get("Type") not in MESSAGE_BOX_TYPES:
            faults.append(f"{where}: Type {element.get('Type')!r} is none of {sorted(MESSAGE_BOX_TYPES)}")
        buttons = set()
        for child in element:
            text = (child.text or "").strip()
            if child.tag in MESSAGE_BOX_BUTTONS:
                buttons.add(child.tag)
                if not text:
                    faults.append(f"{where}: button {child.tag} without text")
            elif child.tag not in ("Header", "Body", "Details", "Footer", "Message"):
                faults.append(f"{where}: <{child.tag}> is ignored by message boxes")
            for attribute, value in child.attrib.items():
                if attribute not in ("DefaultButton", "Icon", "FooterIcon"):
                    faults.append(f"{where}/{child.tag}: no attribute {attribute!r}")
                elif attribute == "DefaultButton" and not parse_bool(value):
                    faults.append(f"{where}/{child.tag}: DefaultButton {value!r} is not a boolean")
            if text:
                use_key(text, f"{where}/{child.tag}")
        if buttons not in BUTTON_SETS:
            faults.append(f"{where}: buttons {sorted(buttons)} are no supported set")
        for attribute in element.attrib:
            if attribute not in ("ID", "Type", "CommandLinks", "Title"):
                faults.append(f"{where}: no attribute {attribute!r}")
        if "Title" in element.attrib:
            use_key(element.attrib["Title"], f"{where} Title")

    roots = {}
    for file_name, required in REQUIRED_TOP.items():
        root = read_xml(os.path.join(xml_dir, file_name), faults)
        roots[file_name] = root
        if root is None:
            continue
        seen = set()
        for element in root:
            element_id = element.get("ID")
            where = f"{file_name}:{element_id}"
            if element.tag not in required:
                faults.append(f"{file_name}: top-level <{element.tag}> is not looked up in this file")
                continue
            if not element_id:
                faults.append(f"{file_name}: <{element.tag}> without ID")
                continue
            if (element.tag, element_id) in seen:
                faults.append(f"{file_name}: {element.tag} {element_id} described twice")
            seen.add((element.tag, element_id))
            tops[element_id] = element
            check_window_ids(element, where, faults)
            if element.tag == "MessageBox":
                check_message_box(element, where)
            else:
                check_window(element, where)
        for tag, ids in required.items():
            for missing in sorted(ids - {i for t, i in seen if t == tag}):
                faults.append(f"{file_name}: no {tag} {missing!r}")

    # The pages of the main window are attached to it: their geometry may
    # refer to its other children (the header band). Tab pages and the
    # dialogs that are not children give no geometry to check here.
    main_children = {c.get("ID") for c in tops["MainWindow"]} if "MainWindow" in tops else set()
    for element_id, element in tops.items():
        if element.tag in ("Window", "DialogBox"):
            check_geometry(element, element_id, main_children if element.tag == "DialogBox" else set())

    # Named controls of every page, found by the installer in the page's
    # whole subtree, with the element type it expects.
    for page, controls in REQUIRED_CONTROLS.items():
        element = tops.get(page)
        if element is None:
            continue
        found = {}
        for descendant in element.iter():
            if descendant is not element and descendant.get("ID"):
                found.setdefault(descendant.get("ID"), descendant)
        for name, tag in controls.items():
            if name not in found:
                faults.append(f"{page}: no control {name!r}")
            elif found[name].tag != tag:
                faults.append(f"{page}: {name!r} is <{found[name].tag}>, the installer expects <{tag}>")
        default = DEFAULT_BUTTONS.get(page)
        if default and found.get(default) is not None and found[default].get("Type") != "DefaultButton":
            faults.append(f"{page}: {default} is not the default button")
        for name in HIDDEN_CONTROLS.get(page, ()):
            if name in found and found[name].get("Visible", "true").lower() not in ("false", "0"):
                faults.append(f"{page}: {name} must start hidden")
    for page in TAB_PAGES:
        element = tops.get(page)
        if element is None:
            continue
        if not element.get("Title"):
            faults.append(f"{page}: a tab page needs a Title (its tab's label)")
        if any(a in element.attrib for a in GEOMETRY):
            faults.append(f"{page}: a tab page's geometry belongs to its tab control")
    licence = tops.get("LicensePage")
    if licence is not None:
        edits = [e for e in licence.iter("RichEdit")]
        if len(edits) != 1:
            faults.append("LicensePage: needs exactly one RichEdit")
        else:
            edit = edits[0]
            if edit.get("TextMode") != "HTML" or not parse_bool(edit.get("ReadOnly", "")) or \
                    not edit.get("ReadOnly", "").lower().startswith(("1", "true")):
                faults.append("LicensePage: the RichEdit must be read-only with TextMode HTML")
            if (edit.text or "").strip() != "#LicenseText":
                faults.append("LicensePage: the RichEdit's text must be #LicenseText")
            if not edit.get("AutoDetectURL", "").lower().startswith(("1", "true")):
                faults.append("LicensePage: URL detection must be on (HTML mode turns it off)")
    combo = tops.get("OptionsPage")
    if combo is not None:
        for e in combo.iter("ComboBox"):
            if e.get("ID") == "ProgramGroup" and e.get("Type") != "Editable":
                faults.append("OptionsPage: ProgramGroup must be an editable combo box")

    # Pictures: under Data/Pictures/, listed in the picture manifest; tab
    # strips hold one image per tab.
    for path, (where, element) in sorted(pictures.items()):
        if not path.startswith("Data/Pictures/"):
            faults.append(f"{where}: picture {path!r} is not under Data/Pictures/")
            continue
        name = path[len("Data/Pictures/"):]
        if name not in manifest:
            faults.append(f"{where}: {path} is not made by the picture script")
            continue
        size, icons = manifest[name]
        if element.tag == "TabCtrl":
            width = int(element.get("PictureItemWidth", size))
            if width != size:
                faults.append(f"{where}: PictureItemWidth {width} cuts a strip of {size}-pixel images")
            tabs = 3
            if len(icons) < tabs:
                faults.append(f"{where}: {path} holds {len(icons)} images for {tabs} tabs")

    report.check("window descriptions: elements, attributes, values, geometry, named controls", faults)
    return used, pictures, tops


# ------------------------------------------------------------- pictures

def read_manifest(path):
    manifest = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            name, size, *icons = line.split()
            manifest[name] = (int(size), icons)
    return manifest


def png_header(path):
    with open(path, "rb") as f:
        data = f.read(33)
    if len(data) < 33 or data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        return None
    width, height, depth, colour = struct.unpack(">IIBB", data[16:26])
    return width, height, depth, colour


def check_pictures(script, manifest_path, manifest, report):
    faults = []
    with tempfile.TemporaryDirectory() as out:
        run = subprocess.run([script, out, manifest_path], capture_output=True, text=True)
        if run.returncode != 0:
            faults.append(f"{script} failed: {run.stderr.strip()}")
        else:
            for name, (size, icons) in sorted(manifest.items()):
                path = os.path.join(out, "Data", "Pictures", name)
                if not os.path.exists(path):
                    faults.append(f"{name} was not made")
                    continue
                header = png_header(path)
                if header is None:
                    faults.append(f"{name} is not a PNG")
                    continue
                width, height, depth, colour = header
                if (width, height) != (size * len(icons), size):
                    faults.append(f"{name} is {width}x{height}, expected {size * len(icons)}x{size}")
                if (depth, colour) != (8, 6):
                    faults.append(f"{name} is not 8-bit RGBA (depth {depth}, colour type {colour})")
            extra = set(os.listdir(os.path.join(out, "Data", "Pictures"))) - set(manifest)
            if extra:
                faults.append(f"pictures made but not listed: {sorted(extra)}")
        # A bad manifest line is refused, not skipped.
        bad = os.path.join(out, "bad.txt")
        with open(bad, "w") as f:
            f.write("Broken.png 16 no/such-icon\n")
        run = subprocess.run([script, os.path.join(out, "bad"), bad], capture_output=True, text=True)
        if run.returncode == 0 or os.path.exists(os.path.join(out, "bad", "Data", "Pictures", "Broken.png")):
            faults.append("a manifest naming a missing icon was not refused")
    report.check(f"pictures: {len(manifest)} made by the picture script, 8-bit RGBA, listed sizes", faults)


# -------------------------------------------------------- configuration

def check_configuration(xml_dir, product_dir, strings, used, report):
    faults = []
    root = read_xml(os.path.join(xml_dir, "Configuration.xml"), faults)
    if root is None:
        report.check("configuration", faults)
        return
    uuids = []

    def uuid_of(element, where):
        value = element.get("UUID", "")
        digits = re.sub(r"[^0-9A-Fa-f]", "", value)
        if len(digits) != 32:
            faults.append(f"{where}: UUID {value!r} does not hold 16 bytes")
        uuids.append(digits.upper())

    application = root.find("Application")
    if application is None:
        faults.append("Configuration.xml: no installer Application")
    else:
        for attribute in ("UUID", "Name", "Version", "Company", "MultipleInstancesAllowed"):
            if not application.get(attribute):
                faults.append(f"Application: {attribute} is required")
        if application.get("MultipleInstancesAllowed") and not parse_bool(application.get("MultipleInstancesAllowed")):
            faults.append("Application: MultipleInstancesAllowed is not a boolean")
        uuid_of(application, "Application")
    settings = root.find("InstallationSettings")
    if settings is None:
        faults.append("Configuration.xml: no InstallationSettings")
    else:
        product = settings.find("Application")
        if product is None:
            faults.append("InstallationSettings: no Application")
        else:
            for attribute in ("UUID", "Name", "Version", "Company"):
                if not product.get(attribute):
                    faults.append(f"InstallationSettings/Application: {attribute} is required")
            uuid_of(product, "InstallationSettings/Application")
        for name in ("Description", "Executable", "WebSite", "Register", "TechnicalSupport", "Updates", "Contact"):
            if settings.find(name) is None or not (settings.find(name).text or "").strip():
                faults.append(f"InstallationSettings: {name} is required")
        distribution = settings.find("Distribution")
        if distribution is not None and distribution.text not in ("Public", "OpenBeta", "ClosedBeta"):
            faults.append(f"Distribution {distribution.text!r} is none of Public, OpenBeta, ClosedBeta")
        description = settings.find("Description")
        if description is not None and (description.text or "").startswith("#"):
            used.setdefault(description.text[1:], ("Description", set()))
        for name in ("WebSite", "Register", "TechnicalSupport", "Updates"):
            e = settings.find(name)
            if e is not None and not re.match(r"https?://", (e.text or "").strip()):
                faults.append(f"{name} {e.text!r} is not a web address")
        shortcuts = settings.find("Shortcuts")
        for shortcut in (shortcuts if shortcuts is not None else []):
            if shortcut.tag != "Shortcut":
                continue
            target = (shortcut.text or "").strip()
            where = f"Shortcut {target!r}"
            if not target or not shortcut.get("Help"):
                faults.append(f"{where}: needs a target and Help, or the installer drops it")
            if not shortcut.get("Text"):
                faults.append(f"{where}: without Text the program group step fails")
            if product_dir and target and not os.path.exists(os.path.join(product_dir, *re.split(r"[\\/]", target))):
                executable = (settings.findtext("Executable") or "").strip()
                if target != executable:
                    faults.append(f"{where}: no such product file under {product_dir}")
            for attribute in ("Text", "Help"):
                value = shortcut.get(attribute, "")
                if value.startswith("#"):
                    used.setdefault(value[1:], (f"{where} {attribute}", set()))
            text = shortcut.get("Text", "")
            display_name = product.get("Name") if product is not None else None
            for lang in LANGUAGES:
                name = resolve(strings, text[1:], lang) if text.startswith("#") else text
                if name and (FILE_NAME_FORBIDDEN & set(name) or name != name.strip() or name.endswith(".")):
                    faults.append(f"{where}: {lang} name {name!r} is no valid file name")
                # The product's own shortcut, in the same folder, is named
                # after the product: another one of that name replaces it.
                if name and display_name and name.lower() == display_name.lower():
                    faults.append(f"{where}: {lang} name {name!r} is the product's own shortcut's")
    if len(uuids) == 2 and uuids[0] == uuids[1]:
        faults.append("the installer and the product share one UUID: the installer would always "
                      "find the product running")
    report.check("configuration: identities, settings, shortcuts", faults)


def check_preferences(xml_dir, report):
    faults = []
    root = read_xml(os.path.join(xml_dir, "Preferences.xml"), faults)
    if root is not None:
        preferences = root.find("Preferences")
        expected = {"User/Global/InstallOptions/CreateDesktopShortcut": "true",
                    "User/Global/InstallOptions/CreateQuickLaunchShortcut": "false"}
        if preferences is None:
            faults.append("Preferences.xml: no Preferences element")
        else:
            for path, value in expected.items():
                e = preferences.find(path)
                if e is None or (e.text or "").strip() != value:
                    faults.append(f"/{path} should default to {value}")
    report.check("default preferences", faults)


def check_licence(strings, report):
    faults = []
    for lang in LANGUAGES:
        entry = strings.by_language[lang].get("LicenseText")
        if entry is None:
            continue  # reported as a missing key
        element = entry[2]
        if not len(element):
            faults.append(f"{lang}: the licence is plain text, not formatted text")
            continue
        links = 0
        for node in element.iter():
            if node is element:
                continue
            if node.tag not in LICENCE_ELEMENTS:
                faults.append(f"{lang}: <{node.tag}> is no formatted-text element")
            if node.tag == "a":
                links += 1
                if not node.get("href"):
                    faults.append(f"{lang}: a link without href")
            if node.tag == "p" and node.get("align") not in (None, "left", "right", "center"):
                faults.append(f"{lang}: paragraph align {node.get('align')!r}")
            for piece in (node.text, node.tail):
                if piece and piece.strip() and ("\n" in piece.strip() or "\t" in piece):
                    faults.append(f"{lang}: line break inside the text {piece.strip()[:40]!r}")
            # White space alone between two inline elements is dropped by the
            # parser, which would glue the two words together.
            if node.tag in INLINE_ELEMENTS and node.tail is not None and node.tail != "" \
                    and not node.tail.strip():
                faults.append(f"{lang}: only white space after <{node.tag}>; the words would run together")
        if links == 0:
            faults.append(f"{lang}: the licence has no link")
        if not any(n.tag == "b" for n in element.iter()) or not any(n.tag == "li" for n in element.iter()):
            faults.append(f"{lang}: the licence should use bold and bullets")
    report.check("licence: formatted text in four languages", faults)


# ------------------------------------------------------------- layout

MAIN_WINDOW_PAGES = ("MainPage", "FileTransferPage", "CanceledPage", "FailurePage", "SuccessPage")
# Texts the installer puts into controls that the descriptions leave empty.
RUNTIME_TEXTS = {"ProgressionLabel": "#ProgressionText", "ProgressionTime": "#TimeRemaining"}
# What the placeholders hold at run time, long enough to be a fair test.
SAMPLE_ARGUMENTS = {"InstallLabel": "Vorn Demo 1.0", "SpaceRequired": "1234", "ProgressionText": "100"}
SAMPLE_NAME = "Vorn Demo"
# The longest time-remaining phrase that follows "#TimeRemaining".
SAMPLE_TIME = {"en": "about 10 minutes", "fr": "environ 10 minutes", "it": "circa 10 minuti",
               "zh": "大约 10 分钟"}


def sample_text(strings, value, lang):
    if not value.startswith("#") or value.startswith("##"):
        return value
    key = value[1:]
    text = resolve(strings, key, lang)
    if text is None or key not in strings.by_language[lang]:
        return None  # missing keys are reported elsewhere; framework texts are unknown here
    if len(strings.by_language[lang][key][2]):
        return None  # formatted text
    text = PLACEHOLDER.sub(SAMPLE_ARGUMENTS.get(key, SAMPLE_NAME), text)
    if key == "TimeRemaining":
        text += " " + SAMPLE_TIME[lang]
    text = text.replace("\u00a4", "\n")
    # The keyboard-shortcut marker is not drawn; "(&S)" shows as "(S)".
    return text.replace("&", "")


def mnemonic(text):
    """The letter after a single '&', lower-cased, or None."""
    m = re.search(r"&([^&])", text.replace("&&", ""))
    return m.group(1).lower() if m else None


def check_mnemonics(tops, strings, report):
    """Keyboard shortcuts of one dialog must differ: the main page's buttons
    with each tab's controls, and each other page on its own."""
    faults = []
    groups = [("MainPage", tab) for tab in TAB_PAGES] + [(page,) for page in MAIN_WINDOW_PAGES[1:]]
    for group in groups:
        if not all(name in tops for name in group):
            continue
        for lang in LANGUAGES:
            seen = {}
            for name in group:
                for element in tops[name].iter():
                    value = (element.text or "").strip()
                    if element.tag not in ("Button", "CheckBox") or not value.startswith("#"):
                        continue
                    if value[1:] not in strings.by_language[lang]:
                        continue  # framework texts are checked with the framework
                    letter = mnemonic(strings.by_language[lang][value[1:]][0])
                    if letter is None:
                        continue
                    if letter in seen:
                        faults.append(f"{lang}: {'+'.join(group)}: {element.get('ID')} and {seen[letter]} "
                                      f"share the shortcut key {letter!r}")
                    seen[letter] = element.get("ID")
    report.check("keyboard shortcuts differ within each page", faults)


def check_layout(tops, strings, manifest, report):
    faults = []
    if not all(name in tops for name in ("MainWindow",) + MAIN_WINDOW_PAGES + TAB_PAGES):
        report.check("layout", ["descriptions missing; see above"])
        return
    sizes = {"Data/Pictures/" + name: (size * len(icons), size) for name, (size, icons) in manifest.items()}
    for font, bx, by in page_layout.FONTS:
        layout = page_layout.Layout(bx, by, sizes)
        main = tops["MainWindow"]
        main_box = layout.lay_out(main, (0, 0))
        client = (main_box.width, main_box.height)
        main_children = {c.get("ID"): c for c in main if c.get("ID")}
        containers = [("MainWindow", main)]
        for page in MAIN_WINDOW_PAGES:
            layout.lay_out(tops[page], client, main_children)
            containers.append((page, tops[page]))
        # The tab pages cover the tab control's display area: below the row
        # of tabs (a 16-pixel picture or a line of text), inside its frame.
        tabs = next(e for e in tops["MainPage"].iter("TabCtrl"))
        tabs_box = layout.boxes[tabs]
        row = max(16, by) + 7
        area = page_layout.Box(tabs_box.left + 2, tabs_box.top + row, tabs_box.width - 4,
                               tabs_box.height - row - 3)
        for page in TAB_PAGES:
            layout.boxes[tops[page]] = area
            layout.lay_out_children(tops[page], (area.width, area.height))
            containers.append((page, tops[page]))

        def walk(name, element, inherited):
            box = layout.boxes[element]
            children = [c for c in element if c.tag != "Item"]
            for child in children:
                child_box = layout.boxes[child]
                label = f"{font}: {name}/{child.get('ID') or '<' + child.tag + '>'}"
                if child_box.width <= 0 or child_box.height <= 0:
                    faults.append(f"{label}: no room ({child_box})")
                if child_box.left < 0 or child_box.top < 0 or child_box.right >= box.width or \
                        child_box.bottom >= box.height:
                    faults.append(f"{label}: {child_box} sticks out of its parent ({box.width}x{box.height})")
            for i, a in enumerate(children):
                for b in children[i + 1:]:
                    box_a, box_b = layout.boxes[a], layout.boxes[b]
                    if not box_a.intersects(box_b):
                        continue
                    if (a.tag == "GroupBox" and box_a.contains(box_b)) or \
                            (b.tag == "GroupBox" and box_b.contains(box_a)):
                        continue
                    hidden = lambda e: e.get("Visible", "true").lower() in ("false", "0")
                    if hidden(a) and hidden(b):
                        continue  # alternatives: one at most is shown
                    faults.append(f"{font}: {name}: {a.get('ID') or a.tag} {box_a} and "
                                  f"{b.get('ID') or b.tag} {box_b} overlap")
            for child in children:
                scale, bold = page_layout.font_scale(child, inherited)
                check_text(name, child, scale, bold)
                walk(name, child, scale)

        def check_text(name, element, scale, bold):
            value = (element.text or "").strip() or RUNTIME_TEXTS.get(element.get("ID"), "")
            if not value or element.tag in ("RichEdit", "Picture"):
                return
            box = layout.boxes[element]
            for lang in LANGUAGES:
                text = sample_text(strings, value, lang)
                if text is None:
                    continue
                label = f"{font}, {lang}: {name}/{element.get('ID') or element.tag}"
                single = element.tag in ("Button", "CheckBox", "GroupBox") or \
                    element.get("VerticalAlign") == "Center"
                available = box.width
                if element.tag == "Button":
                    available -= 10 + (20 if element.get("Picture") else 0)
                elif element.tag == "CheckBox":
                    available -= 18
                elif element.tag == "GroupBox":
                    available -= 16
                if single:
                    width = page_layout.text_width(text, bx, by, scale, bold)
                    if width > available:
                        faults.append(f"{label}: {text!r} needs about {width:.0f} px, has {available}")
                    continue
                lines = page_layout.lines_needed(text, available, bx, by, scale, bold)
                height = page_layout.line_height(by, scale)
                if lines is None:
                    faults.append(f"{label}: a word of {text!r} is wider than {available} px")
                elif lines * height > box.height:
                    faults.append(f"{label}: {text!r} needs {lines} lines ({lines * height} px), "
                                  f"has {box.height} px")

        for name, element in containers:
            walk(name, element, page_layout.font_scale(element)[0])
    report.check(f"layout: inside the pages, no overlaps, texts fit ({len(page_layout.FONTS)} font sizes, "
                 f"{len(LANGUAGES)} languages)", sorted(set(faults)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--standard", required=True, help="the standard package folder (package root)")
    parser.add_argument("--product", required=True, help="a product's package folder (package root)")
    parser.add_argument("--make-pictures", required=True, help="the picture script")
    parser.add_argument("--no-pictures", action="store_true",
                        help="do not run the picture script (the names are still checked)")
    args = parser.parse_args()

    report = Report()
    standard_xml = os.path.join(args.standard, "Data", "Xml")
    product_xml = os.path.join(args.product, "Data", "Xml")
    manifest_path = os.path.join(args.standard, "pictures.txt")
    manifest = read_manifest(manifest_path)

    strings = load_strings([standard_xml, product_xml], report)
    check_string_texts(strings, report)
    used, _, tops = check_descriptions(standard_xml, manifest, report)
    # Keys the code formats get their placeholders checked; keys used only
    # by descriptions are shown unformatted unless the code sets them.
    for key, filled in CODE_KEYS.items():
        used[key] = ("asked for by the installer", filled)
    for key, (where, filled) in list(used.items()):
        if filled is None:
            used[key] = (where, set())
    check_configuration(product_xml, os.path.join(args.product, "Product"), strings, used, report)
    check_keys(strings, used, report)
    check_licence(strings, report)
    check_layout(tops, strings, manifest, report)
    check_mnemonics(tops, strings, report)
    check_preferences(standard_xml, report)
    if not args.no_pictures:
        check_pictures(args.make_pictures, manifest_path, manifest, report)

    print(f"{report.passed} passed, {report.failed} failed")
    return 1 if report.failed else 0


if __name__ == "__main__":
    sys.exit(main())
