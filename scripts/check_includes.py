#!/usr/bin/python3
"""Checks the folder layers of src/ from the #include lines.

Each folder may include only the folders below it; the core folders
(model, view, media, export, edit, settings, device, cli) never include a Qt Widgets header.
Usage: check_includes.py SRC_DIR [QT_WIDGETS_INCLUDE_DIR]
Prints every offending line and exits 1 when there is one.
"""
import os
import re
import sys

# Which folders each folder may include (besides itself).
ALLOWED = {
    "model": set(),
    "view": {"model"},
    "media": set(),
    "export": {"model", "view"},
    "edit": {"model"},
    "settings": {"model", "view", "edit"},
    "device": {"model"},
    "cli": {"model", "view", "media", "export", "device", "settings"},
    "toolkit": {"model", "view"},
    "app": {"model", "view", "media", "export", "edit", "settings", "device", "toolkit"},
}
CORE = {"model", "view", "media", "export", "edit", "settings", "device", "cli"}
# Used when the Qt Widgets headers cannot be listed.
KNOWN_WIDGETS = {"QApplication", "QWidget", "QMainWindow", "QDialog", "QLabel", "QGroupBox",
                 "QComboBox", "QLineEdit", "QPushButton", "QMenu", "QMenuBar", "QAction"}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def widget_headers(folder):
    if folder and os.path.isdir(folder):
        return {name for name in os.listdir(folder) if name.startswith("Q")}
    return KNOWN_WIDGETS


def main():
    src = sys.argv[1]
    widgets = widget_headers(sys.argv[2] if len(sys.argv) > 2 else "")
    faults = []
    folders = sorted(d for d in os.listdir(src) if os.path.isdir(os.path.join(src, d)))
    for folder in folders:
        if folder not in ALLOWED:
            faults.append(f"{folder}: a folder the layer table does not know")
            continue
        for root, _, files in os.walk(os.path.join(src, folder)):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(root, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        header = m.group(2)
                        where = f"{os.path.relpath(path, src)}:{number}: {header}"
                        top = header.split("/")[0]
                        if m.group(1) == '"' and "/" in header and top in ALLOWED:
                            if top != folder and top not in ALLOWED[folder]:
                                faults.append(f"{where}: {folder} may not include {top}")
                        base = header.split("/")[-1]
                        if folder in CORE and (header.startswith("QtWidgets") or base in widgets):
                            faults.append(f"{where}: a Qt Widgets header in a core folder")
    for fault in faults:
        print(fault)
    print(f"{len(faults)} faults in {len(folders)} folders")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
