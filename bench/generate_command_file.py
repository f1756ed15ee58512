#!/usr/bin/env python3
"""Writes command files for the load benchmark, in three shapes:

- "generated": every kind of definition the loader handles: Auxiliary Logic
  fragments put in with INSERT, calls between commands, tags, hidden
  commands, comments, Multi Command Units and Implicit Constructors of all
  three scopes;
- "commentsN" (N a number, e.g. comments10): the same commands with N
  comment lines inside every block, spread over the places in a block where
  a comment may stand;
- "plain": the generated shape's ZAV blocks (name, logic, info, tags) and
  nothing else: no fragments, calls, comments, units or Implicit
  Constructors.

Usage: generate_command_file.py COUNT OUTPUT [SHAPE]
The load benchmark and the hostile-input tests import generate()."""
import sys

FRAGMENTS = 100
LEAVES = 10


def spread(lines, places):
    """`lines` comment lines dealt out over `places` places, front first."""
    return [lines // places + (1 if k < lines % places else 0) for k in range(places)]


def comments(count, i):
    return "".join("    // note %d of command %d\n" % (k, i) for k in range(count))


def generate(count, comment_lines=0):
    """The text of a command file with `count` commands (leaves included);
    `comment_lines` comment lines inside every block of a command."""
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
    # Before NAME, LOGIC, INFO, TAG and the closing brace.
    share = spread(comment_lines, 5)
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
        first = "    // variant %d\n" % i if i % 5 == 0 and not comment_lines else ""
        c = [comments(n, i) for n in share]
        out.append("%s()%s {\n%s%s    NAME = cmd%d\n%s    LOGIC = %s\n%s    INFO = Generated command %d\n"
                   "%s    TAG = gen|t%d|k%s\n%s}\n" % (kind, hide, first, c[0], i, c[1], logic, c[2],
                                                     i, c[3], i % 20, kind, c[4]))
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


def generate_plain(count):
    """`count` ZAV blocks and nothing else."""
    out = ["<ZAV CONTROL COMMANDS>\n"]
    for i in range(count):
        out.append('ZAV() {\n    NAME = cmd%d\n    LOGIC = -Y "frame.number == %d"\n'
                   '    INFO = Generated command %d\n    TAG = gen|t%d\n}\n' % (i, i, i, i % 20))
    return "".join(out)


def generate_shape(shape, count):
    """The text of a command file of one shape (see the module's text)."""
    if shape == "generated":
        return generate(count)
    if shape == "plain":
        return generate_plain(count)
    if shape.startswith("comments") and shape[len("comments"):].isdigit():
        return generate(count, int(shape[len("comments"):]))
    raise ValueError("unknown shape: " + shape)


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    shape = sys.argv[3] if len(sys.argv) == 4 else "generated"
    with open(sys.argv[2], "w", newline="\n") as target:
        target.write(generate_shape(shape, int(sys.argv[1])))


if __name__ == "__main__":
    main()
