#!/usr/bin/env python3
"""The package-data check must see the faults it is there for.

Copies the standard package and the demo's package to a temporary folder,
checks that the copy passes, then makes one fault at a time (each a mistake
that would show on a page or break an installation) and checks that the
check fails on it and names it.

usage: check_package_data_test.py --check SCRIPT --standard DIR --product DIR --make-pictures SCRIPT
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

NBSP = "\u00a0"

# (what goes wrong, file relative to the copy's root, text replaced, new
# text, a word the check's report must contain)
MUTATIONS = [
    ("a key missing in one language", "standard/Data/Xml/VornSetup-Strings-fr.xml",
     '  <String ID="ShortcutsGroup">Raccourcis</String>\n', "", "ShortcutsGroup"),
    ("a description naming a key nobody defines", "standard/Data/Xml/Dialogs.xml",
     "#InstallFolders<", "#InstallFolder<", "#InstallFolder "),
    ("a misspelt attribute", "standard/Data/Xml/Dialogs.xml",
     '<Button ID="QuitCmd" Width="60dlu" Height="14dlu"\n            Right="Parent.Width-9dlu" Bottom="Parent.Height-8dlu">#QuitButton',
     '<Button ID="QuitCmd" Widht="60dlu" Height="14dlu"\n            Right="Parent.Width-9dlu" Bottom="Parent.Height-8dlu">#QuitButton',
     "Widht"),
    ("an element that is no window type", "standard/Data/Xml/Windows.xml",
     '<Separator ID="Separator"', '<Seperator ID="Separator"', "Seperator"),
    ("a reference to a sibling that does not exist", "standard/Data/Xml/Dialogs.xml",
     'Right="BrowseFolder.Left-4dlu"', 'Right="Browse.Left-4dlu"', "'Browse'"),
    ("a malformed geometry expression", "standard/Data/Xml/Dialogs.xml",
     'Top="FoldersGroup.Top+11dlu"', 'Top="FoldersGroup.Top+11 dlu"', "FoldersGroup.Top"),
    ("a reference across axes", "standard/Data/Xml/Dialogs.xml",
     'Top="FoldersGroup.Top+22dlu"', 'Top="FoldersGroup.Left+22dlu"', "across axes"),
    ("two siblings depending on each other", "standard/Data/Xml/Dialogs.xml",
     '<Button ID="QuitCmd" Width="60dlu" Height="14dlu"\n            Right="Parent.Width-9dlu" Bottom="Parent.Height-8dlu">#QuitButton',
     '<Button ID="QuitCmd" Width="60dlu" Height="14dlu"\n            Right="InstallCmd.Left-4dlu" Bottom="Parent.Height-8dlu">#QuitButton',
     "depends on itself"),
    ("two siblings with one ID", "standard/Data/Xml/Dialogs.xml",
     '<Static ID="ProgramGroupLabel"', '<Static ID="SpaceRequired"', "two children with ID"),
    # Names whose identifiers collide: "CmdaKzg" hashes like "ProgressionTime",
    # "CmdajRt" like the platform's Cancel command (2).
    ("two names with one identifier", "standard/Data/Xml/Dialogs.xml",
     '<Static ID="OperationHint"', '<Static ID="CmdaKzg"', "share the identifier"),
    ("a name with the identifier of Cancel", "standard/Data/Xml/Dialogs.xml",
     '<Static ID="OperationHint"', '<Static ID="CmdajRt"', "means OK, Cancel"),
    ("a control the installer looks for, renamed", "standard/Data/Xml/Dialogs.xml",
     '<EditBox ID="InstallFolder"', '<EditBox ID="InstallFolderEdit"', "'InstallFolder'"),
    ("a control of the wrong type", "standard/Data/Xml/Dialogs.xml",
     '<ProgressBar ID="ProgressBar"', '<Static ID="ProgressBar"', "expects <ProgressBar>"),
    ("a notice that does not start hidden", "standard/Data/Xml/Dialogs.xml",
     '<Window ID="NoticeOpenBeta" BackgroundColor="Transparent" Visible="false"',
     '<Window ID="NoticeOpenBeta" BackgroundColor="Transparent"', "start hidden"),
    ("a picture the script does not make", "standard/Data/Xml/Dialogs.xml",
     "Data/Pictures/PageFailure.png", "Data/Pictures/PageError.png", "PageError.png"),
    ("a tab strip cut at the wrong width", "standard/Data/Xml/Dialogs.xml",
     'PictureItemWidth="16"', 'PictureItemWidth="32"', "PictureItemWidth"),
    ("a bad colour", "standard/Data/Xml/Windows.xml",
     'BackgroundColor="WindowBackground"', 'BackgroundColor="#FFFFF"', "#FFFFF"),
    ("a bad enumeration", "standard/Data/Xml/Windows.xml",
     'VerticalAlign="Center"', 'VerticalAlign="Middle"', "Middle"),
    ("an unsupported message-box button set", "standard/Data/Xml/Dialogs.xml",
     "<Yes>#YesButton</Yes>", "<OK>#OKButton</OK>", "no supported set"),
    ("a run-time text losing its placeholder", "standard/Data/Xml/VornSetup-Strings-it.xml",
     "&amp;Avvia {0}", "&amp;Avvia", "RunButton"),
    ("a placeholder in a text nothing formats", "product/Data/Xml/VornSetup-Custom-Strings-en.xml",
     "Vorn Demo is a small program", "{0} is a small program", "WelcomeText"),
    ("a malformed placeholder", "standard/Data/Xml/VornSetup-Strings-zh.xml",
     "{0,.0} MB", "{0,.0 MB", "malformed placeholder"),
    ("a raw line break in a text", "standard/Data/Xml/VornSetup-Strings-en.xml",
     "Please wait while Setup copies", "Please wait\nwhile Setup copies", "line break"),
    ("an ordinary space before a French colon", "standard/Data/Xml/VornSetup-Strings-fr.xml",
     "Temps restant" + NBSP + ":", "Temps restant :", "TimeRemaining"),
    ("a string file whose root names another language", "standard/Data/Xml/VornSetup-Strings-it.xml",
     '<Resources Language="it">', '<Resources Language="fr">', "root Language"),
    ("a file that does not parse", "product/Data/Xml/VornSetup-Custom-Strings-zh.xml",
     "</Resources>", "</Resource>", "does not parse"),
    ("a file without its byte-order mark", "standard/Data/Xml/Preferences.xml",
     "\ufeff", "", "byte-order mark"),
    ("a wrong default preference", "standard/Data/Xml/Preferences.xml",
     "<CreateQuickLaunchShortcut>false", "<CreateQuickLaunchShortcut>true", "CreateQuickLaunchShortcut"),
    ("the installer and the product sharing a UUID", "product/Data/Xml/Configuration.xml",
     'UUID="E68B2541-2F4C-4D1C-A029-3DC9E288D3E8"', 'UUID="A3F7E25B-8DDD-4295-AABA-AA8422105818"',
     "share one UUID"),
    ("a shortcut without Help, which the installer drops", "product/Data/Xml/Configuration.xml",
     ' Help="#DemoGuideShortcutHelp"', "", "needs a target and Help"),
    ("a shortcut to a file that is not installed", "product/Data/Xml/Configuration.xml",
     ">ReadMe.txt<", ">ReadMe.md<", "no such product file"),
    ("a shortcut name that is no file name", "product/Data/Xml/VornSetup-Custom-Strings-it.xml",
     ">Leggimi<", ">Leggimi: note<", "no valid file name"),
    ("a shortcut named like the product's own", "product/Data/Xml/VornSetup-Custom-Strings-fr.xml",
     ">Lisez-moi<", ">Vorn Demo<", "the product's own shortcut"),
    ("two controls of one page with one shortcut key", "standard/Data/Xml/VornSetup-Strings-en.xml",
     "Create a shortcut on the &amp;desktop", "Create a shortcut on the desktop (&amp;R)", "shortcut key"),
    ("words glued together in the licence", "product/Data/Xml/VornSetup-License-en.xml",
     "<b>Vorn Demo</b> (the", "<b>Vorn Demo</b> <b>(the</b>", "white space"),
    ("an element the licence renderer does not know", "product/Data/Xml/VornSetup-License-fr.xml",
     "<b>4. Vie privée.</b>", "<i>4. Vie privée.</i>", "<i>"),
    ("a missing picture source icon", "standard/pictures.txt",
     "places/folder\n", "places/no-such-folder\n", "picture script"),
]


def run_check(args, root, pictures=True):
    # Making the pictures takes most of a run: only the runs whose fault is
    # in the picture list make them.
    return subprocess.run(
        [sys.executable, args.check, "--standard", os.path.join(root, "standard"),
         "--product", os.path.join(root, "product"), "--make-pictures", args.make_pictures]
        + ([] if pictures else ["--no-pictures"]),
        capture_output=True, text=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--check", required=True)
    parser.add_argument("--standard", required=True)
    parser.add_argument("--product", required=True)
    parser.add_argument("--make-pictures", required=True)
    args = parser.parse_args()

    passed = failed = 0
    with tempfile.TemporaryDirectory() as work:
        clean = os.path.join(work, "clean")
        shutil.copytree(args.standard, os.path.join(clean, "standard"))
        shutil.copytree(args.product, os.path.join(clean, "product"))
        result = run_check(args, clean)
        if result.returncode == 0:
            passed += 1
            print("ok   the packages as they are pass")
        else:
            failed += 1
            print("FAIL the packages as they are do not pass:\n" + result.stdout + result.stderr)

        for index, (what, path, old, new, word) in enumerate(MUTATIONS):
            root = os.path.join(work, f"m{index}")
            shutil.copytree(clean, root)
            target = os.path.join(root, path)
            with open(target, encoding="utf-8") as f:
                text = f.read()
            if old not in text:
                failed += 1
                print(f"FAIL {what}: the text to change is no longer in {path}: {old!r}")
                continue
            with open(target, "w", encoding="utf-8") as f:
                f.write(text.replace(old, new, 1))
            result = run_check(args, root, pictures=path.endswith("pictures.txt"))
            report = result.stdout + result.stderr
            if result.returncode != 0 and word in report:
                passed += 1
                print(f"ok   {what}")
            else:
                failed += 1
                print(f"FAIL {what}: exit {result.returncode}, report does not name {word!r}:\n{report}")
            shutil.rmtree(root)

    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
