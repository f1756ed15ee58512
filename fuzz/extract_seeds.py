#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets from the end-to-end
scenarios, the example workspace and a small generated command file.

Usage: extract_seeds.py OUTPUT_DIR
Creates OUTPUT_DIR/configuration, OUTPUT_DIR/command_file and
OUTPUT_DIR/dispatch, one seed per scenario that has something for the
target. Seeds use the fuzz input format (fuzz_input.h), which is the
scenario format itself."""
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
sys.path.insert(0, str(ROOT / "bench"))
from run_scenarios import Scenario  # noqa: E402
from generate_command_file import generate  # noqa: E402

PLACEHOLDERS = {"{DIR}": "/tmp/zav", "{FAKE_TSHARK}": "tshark", "{TSHARK}": "tshark",
                "{TAB}": "\t", "{CR}": "\r", "{VT}": "\v", "{FF}": "\f", "{NUL}": "\0"}


def expand(text):
    for key, value in PLACEHOLDERS.items():
        text = text.replace(key, value)
    return text


def section(header, text):
    return "=== %s\n%s" % (header, text if text.endswith("\n") or not text else text + "\n")


def seeds_of(scenario):
    """(configuration seed, command-file seed, dispatch seed); None where the
    scenario has nothing for that target."""
    files = [(argument, expand(text)) for argument, text, _ in scenario.files()]
    configuration = next((text for name, text in files if name == "ZAV.cfg"), None)
    definitions = [(name, text) for name, text in files if name != "ZAV.cfg"]
    has_main = any(name == "CMD.zav" for name, _ in definitions)
    command_file = "".join(section("file " + name, text) for name, text in definitions)
    stdin = [expand(scenario.typed)] if scenario.typed else []
    dispatch = command_file + (section("stdin", stdin[0]) if stdin else "")
    return configuration, command_file if has_main else None, dispatch if has_main or stdin else None


def write(directory, name, text):
    directory.mkdir(parents=True, exist_ok=True)
    (directory / name).write_bytes(text.encode("utf-8", "surrogateescape"))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = pathlib.Path(sys.argv[1])
    scenarios = ROOT / "tests" / "e2e" / "scenarios"
    count = 0
    for path in sorted(scenarios.rglob("*.test")):
        name = "_".join(path.relative_to(scenarios).with_suffix("").parts)
        configuration, command_file, dispatch = seeds_of(Scenario(path))
        for target, text in (("configuration", configuration), ("command_file", command_file),
                             ("dispatch", dispatch)):
            if text is not None:
                write(out / target, name, text)
                count += 1
    examples = ROOT / "examples"
    write(out / "configuration", "example", (examples / "ZAV.cfg").read_text())
    example = (examples / "CMD.zav").read_text()
    write(out / "command_file", "example", example)
    write(out / "dispatch", "example", section("file CMD.zav", example) + section(
        "stdin", "dns\nport 80\nhttp_hosts x y\n"))
    generated = generate(40)
    write(out / "command_file", "generated", generated)
    write(out / "dispatch", "generated", section("file CMD.zav", generated) + section(
        "stdin", "cmd0 1\ncmd1 cmd2\ncmd9\nleaf3 cmd7 2 3\n"))
    print("%d seeds from scenarios, plus the example and a generated file" % count)


if __name__ == "__main__":
    main()
