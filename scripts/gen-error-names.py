#!/usr/bin/env python3
"""Writes core/ErrorNames.cpp: the published names of result codes, from winerror.h.

Run it again when the header changes; its output is committed, so building the
program needs neither this script nor the header. The header comes from
Debian's mingw-w64-common package (apt-get install mingw-w64-common).

    scripts/gen-error-names.py [--header PATH] [--output PATH]

How the header's defines become table entries:

- Win32 system codes (ERROR_*, RPC_S_*, WSA*, ... written as plain numbers)
  are stored as HRESULTs the way HRESULT_FROM_WIN32 maps them: 0x8007xxxx,
  except 0, which stays 0.
- Codes written as HRESULTs (_HRESULT_TYPEDEF_, (HRESULT) casts,
  HRESULT_FROM_WIN32(...)) are stored as they are.
- Range markers (*_FIRST, *_LAST, *_BASE, WSABASEERR, masks, facilities,
  severities) are not codes and are left out.
- When several names share a code, a name written as an HRESULT wins over a
  Win32 number that lands on the same code only through the mapping (so
  0x80070005 is E_ACCESSDENIED, not ERROR_ACCESS_DENIED); otherwise the name
  the header defines first wins.
- Descriptions come from "MessageText:" comment blocks where the header has
  them: one line, whitespace folded, at most 400 characters. A code whose
  chosen name has none takes the first one another of its names has.
"""

import argparse
import ast
import os
import re
import subprocess
import sys

PACKAGE = "mingw-w64-common"
MAX_DESCRIPTION = 400
MAX_OUTPUT_BYTES = 1024 * 1024

# Defines that are not result codes.
EXCLUDED_NAMES = re.compile(
    r"^(_WINERROR_|__IN__WINERROR_|_HRESULT_DEFINED|WSABASEERR|DNS_ERROR_MASK"
    r"|FACILITY_\w+|SEVERITY_\w+|\w+_BASE|\w+_FIRST|\w+_LAST)$")

DEFINE = re.compile(r"^\s*#\s*define\s+([A-Za-z_]\w*)(\(?)\s*(.*?)\s*$")
INT_LITERAL = re.compile(r"\b(0[xX][0-9A-Fa-f]+|\d+)[uUlL]*\b")
TYPEDEF_WRAPPER = re.compile(r"\b_\w*TYPEDEF_\s*\(")
MSABI_WRAPPER = re.compile(r"\b__MSABI_LONG\s*\(")
HRESULT_CAST = re.compile(r"\(\s*HRESULT\s*\)")
FROM_WIN32 = re.compile(r"\bHRESULT_FROM_WIN32\s*\(")

ALLOWED_NODES = (ast.Expression, ast.BinOp, ast.UnaryOp, ast.Constant, ast.Name, ast.Load,
                 ast.Call, ast.Add, ast.Sub, ast.BitOr, ast.BitAnd, ast.LShift, ast.RShift,
                 ast.USub, ast.Invert)


def hresult_from_win32(x):
    x &= 0xFFFFFFFF
    if x == 0 or x & 0x80000000:
        return x
    return (x & 0xFFFF) | (7 << 16) | 0x80000000


def find_header():
    try:
        files = subprocess.run(["dpkg", "-L", PACKAGE], check=True, capture_output=True,
                               text=True).stdout.split("\n")
    except (OSError, subprocess.CalledProcessError):
        files = []
    for f in files:
        if os.path.basename(f).lower() == "winerror.h":
            return f
    sys.exit(f"winerror.h not found; install {PACKAGE} or pass --header")


def package_version():
    try:
        return subprocess.run(["dpkg-query", "-W", "-f=${Version}", PACKAGE], check=True,
                              capture_output=True, text=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        return ""


def strip_comments(line, in_block):
    """Removes /* */ and // comments; answers (code, comment text, still in block)."""
    code, comment, i = [], [], 0
    while i < len(line):
        if in_block:
            end = line.find("*/", i)
            if end < 0:
                comment.append(line[i:])
                return "".join(code), "".join(comment), True
            comment.append(line[i:end])
            i, in_block = end + 2, False
        elif line.startswith("/*", i):
            in_block, i = True, i + 2
        elif line.startswith("//", i):
            comment.append(line[i + 2:])
            break
        else:
            code.append(line[i])
            i += 1
    return "".join(code), "".join(comment), in_block


class Evaluator:
    """Evaluates define bodies: integer literals, earlier names, + - | << and casts."""

    def __init__(self):
        self.values = {}  # name -> (value as written, written as HRESULT)

    def evaluate(self, body):
        """Answers (uint32 code, written as HRESULT) or None when not a code."""
        as_hresult = bool(TYPEDEF_WRAPPER.search(body) or HRESULT_CAST.search(body)
                          or FROM_WIN32.search(body))
        expr = TYPEDEF_WRAPPER.sub("(", body)
        expr = MSABI_WRAPPER.sub("(", expr)
        expr = HRESULT_CAST.sub("", expr)
        expr = re.sub(r"\(\s*(unsigned\s+)?(__LONG32|long|LONG|SCODE|DWORD)\s*\)", "", expr)
        expr = FROM_WIN32.sub("hresult_from_win32(", expr)
        expr = INT_LITERAL.sub(lambda m: str(int(m.group(1), 0)), expr)
        try:
            tree = ast.parse(expr, mode="eval")
        except SyntaxError:
            return None
        names = {}
        for node in ast.walk(tree):
            if not isinstance(node, ALLOWED_NODES):
                return None
            if isinstance(node, ast.Call) and not (
                    isinstance(node.func, ast.Name) and node.func.id == "hresult_from_win32"):
                return None
            if isinstance(node, ast.Name) and node.id != "hresult_from_win32":
                if node.id not in self.values:
                    return None
                value, hres = self.values[node.id]
                names[node.id] = value
                as_hresult = as_hresult or hres
        names["hresult_from_win32"] = hresult_from_win32
        value = eval(compile(tree, "<define>", "eval"), {"__builtins__": {}}, names)  # noqa: S307
        if not isinstance(value, int):
            return None
        value &= 0xFFFFFFFF
        # A bare literal beyond 16 bits can only be an HRESULT.
        return value, as_hresult or value > 0xFFFF

    def remember(self, name, value, as_hresult):
        self.values[name] = (value, as_hresult)


def fold(text):
    return " ".join(text.split())


def parse(header_text):
    """Answers the defines in header order as (name, code, mapped from Win32, description)."""
    evaluator = Evaluator()
    entries, skipped = [], []
    in_block = False
    message_id, message_text, collecting = None, [], False
    for raw in header_text.splitlines():
        code, comment, in_block = strip_comments(raw, in_block)
        stripped_comment = comment.strip()
        if not code.strip():
            if stripped_comment.startswith("MessageId:"):
                message_id = stripped_comment.split(":", 1)[1].strip()
                message_text, collecting = [], False
            elif stripped_comment.startswith("MessageText:"):
                collecting = True
            elif collecting:
                message_text.append(stripped_comment)
            continue
        m = DEFINE.match(code)
        if not m:
            continue
        name, function_like, body = m.groups()
        description = ""
        if collecting and (message_id in (None, name)):
            description = fold(" ".join(message_text))[:MAX_DESCRIPTION]
        message_id, message_text, collecting = None, [], False
        if function_like or not body:
            continue
        result = evaluator.evaluate(body)
        if result is None:
            skipped.append(name)
            continue
        value, as_hresult = result
        evaluator.remember(name, value, as_hresult)
        if EXCLUDED_NAMES.match(name):
            continue
        if as_hresult:
            entries.append((name, value, False, description))
        else:
            mapped = hresult_from_win32(value)
            entries.append((name, mapped, mapped != value, description))
    return entries, skipped


def choose(entries):
    """One (code, name, description) per code, sorted by code."""
    by_code = {}
    for order, (name, code, mapped, description) in enumerate(entries):
        by_code.setdefault(code, []).append(((mapped, order), name, description))
    table = []
    for code in sorted(by_code):
        candidates = sorted(by_code[code])
        _, name, description = candidates[0]
        if not description:
            description = next((d for _, _, d in candidates if d), "")
        table.append([code, name, description])
    return table


def c_string(text):
    out = []
    for ch in text:
        if ch in '"\\':
            out.append("\\" + ch)
        elif 32 <= ord(ch) < 127 and ch != "?":
            out.append(ch)
        else:
            # Octal escapes of the UTF-8 bytes; "?" too, so no trigraph can form.
            out.extend(f"\\{b:03o}" for b in ch.encode("utf-8"))
    return '"' + "".join(out) + '"'


def render(table, header, version):
    package = f"{PACKAGE} {version}" if version else "a local copy"
    lines = [
        f"// Generated by scripts/gen-error-names.py from {header}",
        f"// ({package}); do not edit, run the script again instead.",
        '#include "core/ErrorNames.h"',
        "",
        "#include <algorithm>",
        "#include <iterator>",
        "",
        "namespace {",
        "",
        "// Sorted by code, one name per code.",
        "// clang-format off",
        "constexpr ErrorName kErrorNames[] = {",
    ]
    for code, name, description in table:
        lines.append(f"    {{0x{code:08X}u, {c_string(name)}, {c_string(description)}}},")
    lines += [
        "};",
        "// clang-format on",
        "",
        "constexpr bool StrictlyAscending() {",
        "  return std::adjacent_find(std::begin(kErrorNames), std::end(kErrorNames),",
        "                            [](const ErrorName& a, const ErrorName& b) { return a.code >= b.code; }) ==",
        "         std::end(kErrorNames);",
        "}",
        'static_assert(StrictlyAscending(), "codes must be unique and in ascending order");',
        "",
        "}  // namespace",
        "",
        "const ErrorName* findErrorName(uint32_t code) {",
        "  const auto* it = std::lower_bound(std::begin(kErrorNames), std::end(kErrorNames), code,",
        "                                    [](const ErrorName& e, uint32_t wanted) { return e.code < wanted; });",
        "  return (it != std::end(kErrorNames) && it->code == code) ? it : nullptr;",
        "}",
        "",
    ]
    return "\n".join(lines)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--header", help="winerror.h to read (default: from " + PACKAGE + ")")
    parser.add_argument("--output", default=os.path.join(root, "core", "ErrorNames.cpp"))
    args = parser.parse_args()

    header = args.header or find_header()
    with open(header, encoding="utf-8", errors="replace") as f:
        entries, skipped = parse(f.read())
    table = choose(entries)
    version = package_version() if not args.header else ""
    text = render(table, header, version)
    # Keep every code; give up the longest descriptions first if the file grows too big.
    while len(text.encode("utf-8")) > MAX_OUTPUT_BYTES:
        longest = max(table, key=lambda row: len(row[2]))
        if not longest[2]:
            break
        longest[2] = ""
        text = render(table, header, version)

    with open(args.output, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    described = sum(1 for row in table if row[2])
    print(f"{args.output}: {len(table)} codes, {described} with descriptions, "
          f"{len(text.encode('utf-8'))} bytes", file=sys.stderr)
    if skipped:
        print(f"not codes (left out): {', '.join(skipped)}", file=sys.stderr)


if __name__ == "__main__":
    main()
