#!/usr/bin/python3
"""Reads the settings file that tests/components/test_mtx_com_ctrls.cpp (SettingsOfE1) left behind with Python's
configparser and checks the number edit "E1"'s five values: the key "\\Software\\Brisolt\\Tarnel\\E1" is the INI
section "Software" with entries "Brisolt\\Tarnel\\E1\\<name>"; a text holding ";" or "," is written in double quotes.
The value and the increment must read back as the complex numbers the test set. Prints one line per failure and
exits with 1 if there is any.

Run: /usr/bin/python3 tests/data/check_float_edit_settings.py SETTINGS_FILE
"""
import configparser
import sys

EXPECTED = {
    "Value": "1.5-2.25i",
    "Scientific": "1",
    "ReFormat": "0.000;-0.000",
    "ImFormat": "+0.000i;-0.000i",
    "Increment": "0.5+0.25i",
}
NUMBERS = {"Value": 1.5 - 2.25j, "Increment": 0.5 + 0.25j}


def unquote(text):
    if len(text) >= 2 and text[0] == text[-1] == '"':
        text = text[1:-1].replace('\\"', '"').replace("\\\\", "\\")
    return text


def main():
    ini = configparser.RawConfigParser(interpolation=None, comment_prefixes=(), inline_comment_prefixes=())
    ini.optionxform = str  # names keep their case
    ini.read(sys.argv[1])
    failures = []
    prefix = "Brisolt\\Tarnel\\E1\\"
    if not ini.has_section("Software"):
        failures.append("no section Software")
    else:
        section = ini["Software"]
        for name, want in EXPECTED.items():
            if prefix + name not in section:
                failures.append(f"{name}: missing")
                continue
            got = unquote(section[prefix + name])
            if got != want:
                failures.append(f"{name}: {got!r}, expected {want!r}")
            elif name in NUMBERS and complex(got.replace("i", "j")) != NUMBERS[name]:
                failures.append(f"{name}: {got!r} does not read as {NUMBERS[name]}")
        extra = [k for k in section if k.startswith(prefix) and k[len(prefix):] not in EXPECTED]
        if extra:
            failures.append(f"unexpected entries {extra}")
    for f in failures:
        print(f)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
