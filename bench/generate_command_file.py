#!/usr/bin/env python3
"""Writes a command file of a given number of commands that uses every kind
of definition the loader handles: Auxiliary Logic fragments put in with
INSERT, calls between commands, tags, hidden commands, comments, Multi
Command Units and Implicit Constructors of all three scopes.

Usage: generate_command_file.py COUNT OUTPUT
The load benchmark and the hostile-input tests import generate()."""
import sys

FRAGMENTS = 100
LEAVES = 10


def generate(count):
    """The text of a command file with `count` commands (leaves included)."""
    out = ["<ZAV CONTROL COMMANDS>\n", "// Generated for load benchmarks.\n"]
    # Implicit Constructor texts are joined to the logic as they stand, so
    # they carry their own blanks (one blank after "=" is not part of them).
    out.append("L.common = -n \n")
    out.append("L.winsuf =  > /dev/null\n")
    out.append("L.tail =  -c 100\n")
    for k in range(FRAGMENTS):
        out.append('L.frag%d = -Y "ip.ttl == %d"\n' % (k, k))
    leaves = min(LEAVES, count)
    for k in range(leaves):
        out.append("ZAV() {\n    NAME = leaf%d\n    LOGIC = -T fields -e ip.src -e leaf.%d\n"
                   "    INFO = Leaf command %d\n}\n" % (k, k, k))
    for i in range(count - leaves):
        kind = "WIN" if i % 10 == 9 else "ZAV"
        hide = " -> hide" if i % 50 == 49 else ""
        if kind == "ZAV":
            logic = '-Y "frame.number == %d" [INSERT(frag%d)] [CALL(leaf%d)]' % (
                i, i % FRAGMENTS, i % LEAVES)
            if i % 7 == 0:
                logic += " -c [%_ARG_%]"
        else:
            logic = "echo command %d" % i
        comment = "    // variant %d\n" % i if i % 5 == 0 else ""
        out.append("%s()%s {\n    NAME = cmd%d\n%s    LOGIC = %s\n    INFO = Generated command %d\n"
                   "    TAG = gen|t%d|k%s\n}\n" % (kind, hide, i, comment, logic, i, i % 20, kind))
        if i % 1000 == 999:
            out.append("MCU(unit%d) {\n    cmd%d\n    cmd%d 5\n};\n" % (i, i - 1, i - 7))
    # Implicit Constructors: one Global per type, a Specific list and an
    # Exclusion list that grow with the file.
    zav = [i for i in range(count - leaves) if i % 10 != 9]
    out.append("Prefix.ZAV = {*} -> [L.common]\n")
    out.append("Suffix.WIN = {*} -> [L.winsuf]\n")
    specific = ["cmd%d" % i for i in zav if i % 100 == 3]
    excluded = ["!cmd%d" % i for i in zav if i % 100 == 4]
    if specific:
        out.append("Suffix.ZAV = {%s} -> [L.tail]\n" % ",\n    ".join(specific))
    if excluded:
        out.append("Prefix.ZAV = {%s}\n" % ", ".join(excluded))
    return "".join(out)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[2], "w", newline="\n") as target:
        target.write(generate(int(sys.argv[1])))


if __name__ == "__main__":
    main()
