#!/usr/bin/env python3
"""Generate the stand-in Steam client's interface tables from Valve's Steamworks SDK headers.

    offline/client/generate_client_tables.py SDK_DIR [SDK_DIR...] > offline/client/interface_tables.h
    offline/client/generate_client_tables.py --check SDK_DIR [SDK_DIR...]
    offline/client/generate_client_tables.py --notes SDK_DIR [SDK_DIR...] > /dev/null

Each SDK_DIR is one SDK release folder holding public/steam/ (Valve's layout), or a folder of
such release folders (named by release: 1.48, 1.48a, 1.49 ...).

The script reads the C++ headers themselves: it runs a small C preprocessor over them for a
32-bit Windows MSVC build, finds each interface class, takes its virtual methods in declaration
order and derives, per interface version string, the MSVC and Itanium slot orders, the bytes a
32-bit thiscall callee pops and the return kind of each method. steam_api.json is only used to
cross-check the parse (it omits private virtual methods that still own a slot) and to name
overloads. The output holds derived facts only: names, slot positions, byte counts, kinds and
version strings, never header text.

Anything it cannot parse or classify stops it with a message and exit status 2; --check exits 1
when the committed header differs from what the SDK folders produce.
Python 3 standard library only.
"""

import argparse
import concurrent.futures
import difflib
import json
import os
import re
import sys
from collections import OrderedDict, namedtuple

# --------------------------------------------------------------------------------------------
# What to serve: every interface a game reaches through ISteamClient, each row (class, header
# declaring it, macro that holds its version string). Every version string any release's
# headers define is served. A header a release lacks (isteamtimeline.h before 1.60) is skipped.
INTERFACES = [
    ("ISteamClient", "isteamclient.h", "STEAMCLIENT_INTERFACE_VERSION"),
    ("ISteamUser", "isteamuser.h", "STEAMUSER_INTERFACE_VERSION"),
    ("ISteamUserStats", "isteamuserstats.h", "STEAMUSERSTATS_INTERFACE_VERSION"),
    ("ISteamUtils", "isteamutils.h", "STEAMUTILS_INTERFACE_VERSION"),
    ("ISteamApps", "isteamapps.h", "STEAMAPPS_INTERFACE_VERSION"),
    ("ISteamFriends", "isteamfriends.h", "STEAMFRIENDS_INTERFACE_VERSION"),
    ("ISteamInput", "isteaminput.h", "STEAMINPUT_INTERFACE_VERSION"),
    ("ISteamController", "isteamcontroller.h", "STEAMCONTROLLER_INTERFACE_VERSION"),
    ("ISteamAppList", "isteamapplist.h", "STEAMAPPLIST_INTERFACE_VERSION"),
    ("ISteamAppTicket", "isteamappticket.h", "STEAMAPPTICKET_INTERFACE_VERSION"),
    ("ISteamGameCoordinator", "isteamgamecoordinator.h", "STEAMGAMECOORDINATOR_INTERFACE_VERSION"),
    ("ISteamGameServer", "isteamgameserver.h", "STEAMGAMESERVER_INTERFACE_VERSION"),
    ("ISteamGameServerStats", "isteamgameserverstats.h", "STEAMGAMESERVERSTATS_INTERFACE_VERSION"),
    ("ISteamHTMLSurface", "isteamhtmlsurface.h", "STEAMHTMLSURFACE_INTERFACE_VERSION"),
    ("ISteamHTTP", "isteamhttp.h", "STEAMHTTP_INTERFACE_VERSION"),
    ("ISteamInventory", "isteaminventory.h", "STEAMINVENTORY_INTERFACE_VERSION"),
    ("ISteamMatchmaking", "isteammatchmaking.h", "STEAMMATCHMAKING_INTERFACE_VERSION"),
    ("ISteamMatchmakingServers", "isteammatchmaking.h",
     "STEAMMATCHMAKINGSERVERS_INTERFACE_VERSION"),
    ("ISteamGameSearch", "isteammatchmaking.h", "STEAMGAMESEARCH_INTERFACE_VERSION"),
    ("ISteamParties", "isteammatchmaking.h", "STEAMPARTIES_INTERFACE_VERSION"),
    ("ISteamMusic", "isteammusic.h", "STEAMMUSIC_INTERFACE_VERSION"),
    ("ISteamMusicRemote", "isteammusicremote.h", "STEAMMUSICREMOTE_INTERFACE_VERSION"),
    ("ISteamNetworking", "isteamnetworking.h", "STEAMNETWORKING_INTERFACE_VERSION"),
    ("ISteamNetworkingMessages", "isteamnetworkingmessages.h",
     "STEAMNETWORKINGMESSAGES_INTERFACE_VERSION"),
    ("ISteamNetworkingSockets", "isteamnetworkingsockets.h",
     "STEAMNETWORKINGSOCKETS_INTERFACE_VERSION"),
    ("ISteamNetworkingUtils", "isteamnetworkingutils.h", "STEAMNETWORKINGUTILS_INTERFACE_VERSION"),
    ("ISteamParentalSettings", "isteamparentalsettings.h",
     "STEAMPARENTALSETTINGS_INTERFACE_VERSION"),
    ("ISteamRemotePlay", "isteamremoteplay.h", "STEAMREMOTEPLAY_INTERFACE_VERSION"),
    ("ISteamRemoteStorage", "isteamremotestorage.h", "STEAMREMOTESTORAGE_INTERFACE_VERSION"),
    ("ISteamScreenshots", "isteamscreenshots.h", "STEAMSCREENSHOTS_INTERFACE_VERSION"),
    ("ISteamTimeline", "isteamtimeline.h", "STEAMTIMELINE_INTERFACE_VERSION"),
    ("ISteamUGC", "isteamugc.h", "STEAMUGC_INTERFACE_VERSION"),
    ("ISteamVideo", "isteamvideo.h", "STEAMVIDEO_INTERFACE_VERSION"),
]

# The build the tables describe: Valve's steam_api.dll is a 32-bit MSVC build. Macros not
# named here are undefined (_PS3, _X360, VALVE_BIG_ENDIAN, STEAM_API_EXPORTS, API_GEN ...).
WIN32_MSVC = {"_WIN32": "1", "_MSC_VER": "1900", "_M_IX86": "600", "__cplusplus": "199711L"}
# Other desktop builds, parsed only to prove the interface declarations do not depend on them.
CROSS_CHECK_TARGETS = {
    "win64-msvc": {"_WIN32": "1", "_WIN64": "1", "_MSC_VER": "1900", "_M_X64": "100",
                   "__cplusplus": "199711L"},
    "linux64-gcc": {"__linux__": "1", "__GNUC__": "12", "__x86_64__": "1", "__LP64__": "1",
                    "POSIX": "1", "__cplusplus": "201703L", "__BYTE_ORDER__": "1234",
                    "__ORDER_LITTLE_ENDIAN__": "1234", "__ORDER_BIG_ENDIAN__": "4321"},
}
# Versions no 1.48..1.63 header defines that Valve's libraries still ask for, served with the
# table of a version that is: every library asks for SteamClient017 first and keeps it as the
# ISteamClient its SteamClient() and SteamInternal_CreateInterface use, through the slots
# every ISteamClient version shares (the pipe and user, GetISteamGenericInterface); a game of
# 1.48..1.57 calls it through its own header's SteamClient020.
ALIASES = {"SteamClient017": "SteamClient020"}

MSVC_DEFAULT_PACK = 8   # /Zp8, MSVC's default
POINTER_SIZE = 4        # 32-bit Windows

# Annotation macros whose argument the script keeps (as an annotation token) instead of
# expanding them away: the flat name Valve gives an overload.
KEPT_ANNOTATIONS = {"STEAM_FLAT_NAME": "flat_name"}

RETURN_KINDS = ("Void", "Int32", "Int64", "Pointer", "Float", "Double", "Object")
HEADER_NAME = "offline/client/interface_tables.h"


class GenError(Exception):
    """A fact the script cannot derive: reported, never guessed around."""


def fail(loc, message):
    raise GenError(f"{loc}: {message}" if loc else message)


# --------------------------------------------------------------------------------------------
# Lexing

Tok = namedtuple("Tok", "kind text loc")  # kind: id num str chr op pragma annot

TOKEN_RE = re.compile(r"""
    (?P<id>[A-Za-z_]\w*)
  | (?P<num>\.?\d(?:[eEpP][+-]|[\w.])*)
  | (?P<str>(?:u8|u|U|L)?"(?:\\.|[^"\\])*")
  | (?P<chr>(?:u8|u|U|L)?'(?:\\.|[^'\\])*')
  | (?P<op>\.\.\.|<<=|>>=|->\*|::|->|\+\+|--|<<|>>|<=|>=|==|!=|&&|\|\||[-+*/%&|^]=|\#\#|\.\*
        |[{}()\[\];:,.<>+\-*/%&|^!~?=\#])
  | (?P<space>\s+)
""", re.X)

COMMENT_RE = re.compile(r"""//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|'(?:\\.|[^'\\\n])*'""", re.S)


def tokenize(text, loc):
    tokens = []
    pos = 0
    while pos < len(text):
        m = TOKEN_RE.match(text, pos)
        if not m:
            fail(loc, f"cannot tokenize {text[pos:pos + 20]!r}")
        if m.lastgroup != "space":
            tokens.append(Tok(m.lastgroup, m.group(), loc))
        pos = m.end()
    return tokens


def strip_comments(text):
    """Blank out comments, keeping string literals and the line count."""
    def blank(m):
        s = m.group()
        if s.startswith("//"):
            return ""
        if s.startswith("/*"):
            return " " + "\n" * s.count("\n")
        return s
    return COMMENT_RE.sub(blank, text)


def logical_lines(text):
    """(line number, text) with backslash-continued lines joined."""
    lines, pending, start = [], "", 0
    for number, line in enumerate(text.split("\n"), 1):
        line = line.rstrip("\r")
        if not pending:
            start = number
        if line.endswith("\\"):
            pending += line[:-1] + " "
            continue
        lines.append((start, pending + line))
        pending = ""
    if pending:
        lines.append((start, pending))
    return lines


_FILE_CACHE = {}


def read_source(path):
    if path not in _FILE_CACHE:
        with open(path, "rb") as f:
            text = f.read().decode("utf-8-sig", errors="replace")
        _FILE_CACHE[path] = logical_lines(strip_comments(text))
    return _FILE_CACHE[path]


# --------------------------------------------------------------------------------------------
# Constant expressions (#if conditions, array bounds, enumerators)

BINARY_PRECEDENCE = {
    "||": 1, "&&": 2, "|": 3, "^": 4, "&": 5, "==": 6, "!=": 6,
    "<": 7, ">": 7, "<=": 7, ">=": 7, "<<": 8, ">>": 8, "+": 9, "-": 9, "*": 10, "/": 10, "%": 10,
}


def parse_int(text, loc):
    digits = text.rstrip("uUlL")
    try:
        if digits.lower().startswith("0x"):
            return int(digits, 16)
        if len(digits) > 1 and digits.startswith("0"):
            return int(digits, 8)
        return int(digits, 10)
    except ValueError:
        fail(loc, f"not an integer constant: {text}")


class ExprParser:
    """Integer constant expressions; identifiers go to `lookup` (name, loc) -> int."""

    def __init__(self, tokens, loc, lookup):
        self.toks, self.pos, self.loc, self.lookup = tokens, 0, loc, lookup

    def value(self):
        if not self.toks:
            fail(self.loc, "empty constant expression")
        v = self.ternary()
        if self.pos != len(self.toks):
            fail(self.loc, f"cannot evaluate {' '.join(t.text for t in self.toks)}")
        return v

    def peek(self):
        return self.toks[self.pos].text if self.pos < len(self.toks) else None

    def take(self, expected=None):
        if self.pos >= len(self.toks):
            fail(self.loc, "constant expression ends early")
        t = self.toks[self.pos]
        if expected and t.text != expected:
            fail(self.loc, f"expected {expected!r} in constant expression, got {t.text!r}")
        self.pos += 1
        return t

    def ternary(self):
        cond = self.binary(1)
        if self.peek() != "?":
            return cond
        self.take("?")
        a = self.ternary()
        self.take(":")
        b = self.ternary()
        return a if cond else b

    def binary(self, min_prec):
        left = self.unary()
        while self.peek() in BINARY_PRECEDENCE and BINARY_PRECEDENCE[self.peek()] >= min_prec:
            op = self.take().text
            right = self.binary(BINARY_PRECEDENCE[op] + 1)
            left = self.apply(op, left, right)
        return left

    def apply(self, op, a, b):
        if op in ("/", "%") and b == 0:
            fail(self.loc, "division by zero in constant expression")
        ops = {
            "||": lambda: int(bool(a) or bool(b)), "&&": lambda: int(bool(a) and bool(b)),
            "|": lambda: a | b, "^": lambda: a ^ b, "&": lambda: a & b,
            "==": lambda: int(a == b), "!=": lambda: int(a != b), "<": lambda: int(a < b),
            ">": lambda: int(a > b), "<=": lambda: int(a <= b), ">=": lambda: int(a >= b),
            "<<": lambda: a << b, ">>": lambda: a >> b, "+": lambda: a + b, "-": lambda: a - b,
            "*": lambda: a * b, "/": lambda: int(a / b), "%": lambda: a - b * int(a / b),
        }
        return ops[op]()

    def unary(self):
        op = self.peek()
        if op in ("!", "~", "-", "+"):
            self.take()
            v = self.unary()
            return {"!": lambda: int(not v), "~": lambda: ~v, "-": lambda: -v, "+": lambda: v}[op]()
        return self.primary()

    def primary(self):
        t = self.take()
        if t.text == "(":
            v = self.ternary()
            self.take(")")
            return v
        if t.kind == "num":
            return parse_int(t.text, t.loc)
        if t.kind == "id":
            return self.lookup(t.text, t.loc)
        fail(t.loc, f"unexpected {t.text!r} in constant expression")


# --------------------------------------------------------------------------------------------
# Preprocessor: conditionals, #define/#undef, #include "..." and macro expansion, for one target

Macro = namedtuple("Macro", "params variadic body")   # params None: object-like


class Preprocessor:
    def __init__(self, include_dir, predefined):
        self.include_dir = include_dir
        self.macros = {name: Macro(None, False, tokenize(value, "<predefined>"))
                       for name, value in predefined.items()}
        self.output = []
        self.conditions = []        # (loc, directive, branch taken) in active code
        self.once = set()
        self.stack = []             # [outer active, branch taken, some branch taken, else seen]

    # -- files and lines
    def run(self, filename):
        path = os.path.join(self.include_dir, filename)
        if not os.path.isfile(path):
            fail(None, f"missing header {path}")
        self.include(path)
        if self.stack:
            fail(filename, "unterminated #if")
        return self.output

    def include(self, path):
        if path in self.once:
            return
        name = os.path.basename(path)
        depth = len(self.stack)
        chunk = []
        for number, line in read_source(path):
            loc = f"{name}:{number}"
            stripped = line.strip()
            if stripped.startswith("#"):
                self.flush(chunk)
                chunk = []
                self.directive(stripped[1:].strip(), loc, path)
            elif self.active() and stripped:
                chunk.extend(tokenize(line, loc))
        self.flush(chunk)
        if len(self.stack) != depth:
            fail(name, "#if without #endif at end of file")

    def flush(self, tokens):
        if tokens:
            self.output.extend(self.expand(tokens))

    def active(self):
        return not self.stack or (self.stack[-1][0] and self.stack[-1][1])

    # -- directives
    def directive(self, text, loc, path):
        m = re.match(r"(\w*)\s*(.*)$", text)
        name, rest = m.group(1), m.group(2).strip()
        if name in ("if", "ifdef", "ifndef", "elif", "else", "endif"):
            self.conditional(name, rest, loc)
        elif not self.active() or name == "":
            return
        elif name == "define":
            self.define(rest, loc)
        elif name == "undef":
            self.macros.pop(rest.split()[0], None)
        elif name == "include":
            self.include_directive(rest, loc, path)
        elif name == "pragma":
            self.pragma(rest, loc, path)
        elif name == "error":
            fail(loc, f"#error in the active branch: {rest}")
        elif name not in ("warning", "line"):
            fail(loc, f"unknown directive #{name}")

    def conditional(self, name, rest, loc):
        if name in ("if", "ifdef", "ifndef"):
            outer = self.active()
            taken = outer and self.test(name, rest, loc)
            self.stack.append([outer, taken, taken, False])
            self.log_condition(outer, f"#{name} {rest}", taken, loc)
            return
        if not self.stack:
            fail(loc, f"#{name} without #if")
        top = self.stack[-1]
        if name == "endif":
            self.stack.pop()
            return
        if top[3]:
            fail(loc, f"#{name} after #else")
        if name == "elif":
            top[1] = top[0] and not top[2] and self.test("if", rest, loc)
        else:
            top[1], top[3] = top[0] and not top[2], True
        top[2] = top[2] or top[1]
        self.log_condition(top[0], f"#{name} {rest}".strip(), top[1], loc)

    def log_condition(self, outer, text, taken, loc):
        if outer:
            self.conditions.append((loc, text, taken))

    def test(self, name, rest, loc):
        if name in ("ifdef", "ifndef"):
            if not rest:
                fail(loc, f"#{name} without a name")
            return (rest.split()[0] in self.macros) == (name == "ifdef")
        tokens = self.expand(self.replace_defined(tokenize(rest, loc), loc))

        def lookup(ident, _loc):   # an identifier left after expansion counts as 0
            return 1 if ident == "true" else 0
        return ExprParser(tokens, loc, lookup).value() != 0

    def replace_defined(self, tokens, loc):
        out, i = [], 0
        while i < len(tokens):
            t = tokens[i]
            if t.text != "defined":
                out.append(t)
                i += 1
                continue
            if i + 1 < len(tokens) and tokens[i + 1].text == "(":
                if i + 3 >= len(tokens) or tokens[i + 3].text != ")":
                    fail(loc, "malformed defined( )")
                name, i = tokens[i + 2].text, i + 4
            elif i + 1 < len(tokens):
                name, i = tokens[i + 1].text, i + 2
            else:
                fail(loc, "defined without a name")
            out.append(Tok("num", "1" if name in self.macros else "0", loc))
        return out

    def define(self, rest, loc):
        m = re.match(r"([A-Za-z_]\w*)(\(([^)]*)\))?\s*(.*)$", rest)
        if not m:
            fail(loc, f"malformed #define {rest}")
        name, params, body = m.group(1), m.group(3), m.group(4)
        if m.group(2) is None:
            self.macros[name] = Macro(None, False, tokenize(body, loc))
            return
        names = [p.strip() for p in params.split(",")] if params.strip() else []
        variadic = bool(names) and names[-1] == "..."
        if variadic:
            names = names[:-1]
        if any(not re.fullmatch(r"[A-Za-z_]\w*", p) for p in names):
            fail(loc, f"unsupported macro parameters in #define {name}({params})")
        self.macros[name] = Macro(names, variadic, tokenize(body, loc))

    def include_directive(self, rest, loc, path):
        if rest.startswith("<"):
            return      # system headers are not read; standard types are known builtins
        m = re.fullmatch(r'"([^"]+)"', rest)
        if not m:
            fail(loc, f"unsupported #include {rest}")
        target = os.path.normpath(os.path.join(os.path.dirname(path), m.group(1)))
        if not os.path.isfile(target):
            fail(loc, f"#include {rest} in the active branch, but {target} is missing")
        self.include(target)

    def pragma(self, rest, loc, path):
        if rest == "once":
            self.once.add(path)
            return
        m = re.fullmatch(r"pack\s*\((.*)\)", rest)
        if m:
            args = [a.strip() for a in m.group(1).split(",") if a.strip()]
            self.output.append(Tok("pragma", " ".join(["pack"] + args), loc))

    # -- macro expansion
    def expand(self, tokens, disabled=frozenset()):
        out, i = [], 0
        while i < len(tokens):
            t = tokens[i]
            macro = self.macros.get(t.text) if t.kind == "id" and t.text not in disabled else None
            if macro is None:
                out.append(t)
                i += 1
            elif macro.params is None:
                body = [Tok(b.kind, b.text, t.loc) for b in macro.body]
                out.extend(self.expand(body, disabled | {t.text}))
                i += 1
            elif i + 1 < len(tokens) and tokens[i + 1].text == "(":
                args, i = self.collect_args(tokens, i + 1, t)
                out.extend(self.call(t, macro, args, disabled))
            else:
                out.append(t)      # a function-like macro name not followed by '('
                i += 1
        return out

    @staticmethod
    def collect_args(tokens, open_index, name_tok):
        args, current, depth, i = [], [], 0, open_index + 1
        while i < len(tokens):
            t = tokens[i]
            if t.text == "(":
                depth += 1
            elif t.text == ")":
                if depth == 0:
                    args.append(current)
                    return args, i + 1
                depth -= 1
            elif t.text == "," and depth == 0:
                args.append(current)
                current = []
                i += 1
                continue
            current.append(t)
            i += 1
        fail(name_tok.loc, f"unterminated call of macro {name_tok.text}")

    def call(self, name_tok, macro, args, disabled):
        name = name_tok.text
        if name in KEPT_ANNOTATIONS:
            text = " ".join(t.text for a in args for t in a)
            return [Tok("annot", f"{KEPT_ANNOTATIONS[name]}={text}", name_tok.loc)]
        if args == [[]] and not macro.params:
            args = []
        count = len(macro.params)
        if len(args) < count or (len(args) > count and not macro.variadic):
            fail(name_tok.loc, f"macro {name} expects {count} arguments, got {len(args)}")
        bound = dict(zip(macro.params, args))
        if macro.variadic:
            rest = []
            for k, a in enumerate(args[count:]):
                rest += ([Tok("op", ",", name_tok.loc)] if k else []) + a
            bound["__VA_ARGS__"] = rest
        body = self.substitute(macro.body, bound, name_tok.loc, disabled)
        return self.expand(body, disabled | {name})

    def substitute(self, body, bound, loc, disabled):
        out, j = [], 0
        while j < len(body):
            b = body[j]
            if b.text == "#" and j + 1 < len(body) and body[j + 1].text in bound:
                text = " ".join(t.text for t in bound[body[j + 1].text])
                out.append(Tok("str", '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"', loc))
                j += 2
            elif b.text == "##":
                if not out or j + 1 >= len(body):
                    fail(loc, "## at the edge of a macro body")
                right = bound.get(body[j + 1].text, [body[j + 1]])
                pasted = tokenize(out.pop().text + (right[0].text if right else ""), loc)
                out.extend(pasted + list(right[1:]))
                j += 2
            elif b.text in bound:
                raw = j + 1 < len(body) and body[j + 1].text == "##"
                out.extend(bound[b.text] if raw else self.expand(bound[b.text], disabled))
                j += 1
            else:
                out.append(Tok(b.kind, b.text, loc))
                j += 1
        return out


# --------------------------------------------------------------------------------------------
# Declarations: statements, declarators, scopes

Stmt = namedtuple("Stmt", "kind head body tail annots loc end")
# kind: decl (head [; or {body} tail;]), function (head {body}), access, pragma; end: loc of
# the closing brace or semicolon

ACCESS = ("public", "protected", "private")
CV = ("const", "volatile")
ELABORATED = ("struct", "class", "union", "enum", "typename")
RECORD_KEYWORDS = ("struct", "class", "union")
BUILTIN_WORDS = {"void", "bool", "char", "short", "int", "long", "signed", "unsigned", "float",
                 "double", "__int8", "__int16", "__int32", "__int64", "wchar_t"}
CALLING_CONVENTIONS = {"__cdecl", "__stdcall", "__thiscall", "__fastcall"}
# <stdint.h>/<stddef.h> are not read; their types on 32-bit Windows:
STANDARD_TYPES = {"int8_t": 1, "uint8_t": 1, "int16_t": 2, "uint16_t": 2, "int32_t": 4,
                  "uint32_t": 4, "int64_t": 8, "uint64_t": 8, "intptr_t": 4, "uintptr_t": 4,
                  "size_t": 4, "ptrdiff_t": 4}


def match_close(tokens, i, open_text, close_text):
    depth = 0
    for j in range(i, len(tokens)):
        if tokens[j].text == open_text:
            depth += 1
        elif tokens[j].text == close_text:
            depth -= 1
            if depth == 0:
                return j
    fail(tokens[i].loc, f"unbalanced {open_text}")


def split_top(tokens, separator=","):
    """Split at separators outside (), [] and {}."""
    parts, current, depth = [], [], 0
    for t in tokens:
        if t.text in ("(", "[", "{"):
            depth += 1
        elif t.text in (")", "]", "}"):
            depth -= 1
        if t.text == separator and depth == 0:
            parts.append(current)
            current = []
        else:
            current.append(t)
    parts.append(current)
    return parts


def strip_template_prefix(head):
    if head and head[0].text == "template" and len(head) > 1 and head[1].text == "<":
        depth = 0
        for j in range(1, len(head)):
            depth += {"<": 1, ">": -1, ">>": -2}.get(head[j].text, 0)
            if depth <= 0:
                return head[j + 1:]
    return head


def is_type_definition(head):
    h = strip_template_prefix(head[1:] if head and head[0].text == "typedef" else head)
    return bool(h) and h[0].text in RECORD_KEYWORDS + ("enum",) and \
        not any(t.text == "(" for t in h)


def split_statements(tokens):
    """Declarations of one scope, in order. Bodies of functions are kept but not parsed."""
    out, i, n = [], 0, len(tokens)
    while i < n:
        t = tokens[i]
        if t.kind == "pragma":
            out.append(Stmt("pragma", [t], None, None, [], t.loc, t.loc))
            i += 1
        elif t.text == ";":
            i += 1
        elif t.text in ACCESS and i + 1 < n and tokens[i + 1].text == ":":
            out.append(Stmt("access", [t], None, None, [], t.loc, t.loc))
            i += 2
        else:
            stmt, i = read_statement(tokens, i)
            out.append(stmt)
    return out


def read_statement(tokens, i):
    head, annots, depth, loc = [], [], 0, tokens[i].loc
    while i < len(tokens):
        t = tokens[i]
        if t.kind == "annot":
            annots.append(t.text)
        elif t.kind == "pragma":
            fail(t.loc, "#pragma inside a declaration")
        elif t.text in ("namespace",) or (t.text == "extern" and i + 2 < len(tokens) and
                                           tokens[i + 1].kind == "str" and tokens[i + 2].text == "{"):
            fail(t.loc, f"unsupported block '{t.text}' (the script does not read into it)")
        elif t.text == ";" and depth == 0:
            return Stmt("decl", head, None, [], annots, loc, t.loc), i + 1
        elif t.text == "{" and depth == 0:
            close = match_close(tokens, i, "{", "}")
            body = tokens[i + 1:close]
            if head and head[-1].text == "=":          # brace initializer
                head.extend(tokens[i:close + 1])
                i = close + 1
                continue
            if is_type_definition(head):
                end = i = close + 1
                while end < len(tokens) and tokens[end].text != ";":
                    end += 1
                if end >= len(tokens):
                    fail(loc, "type definition without ';'")
                return Stmt("decl", head, body, tokens[i:end], annots, loc,
                            tokens[close].loc), end + 1
            return Stmt("function", head, body, None, annots, loc, tokens[close].loc), close + 1
        else:
            depth += {"(": 1, "[": 1, ")": -1, "]": -1}.get(t.text, 0)
            head.append(t)
        i += 1
    fail(loc, "declaration without ';'")


Decl = namedtuple("Decl", "name base pointer funcptr dims bits is_function spelling loc")
# base: type words without cv/elaborated keywords; pointer: has * or &; funcptr: (*name)(...)


def spelling_of(tokens):
    text = " ".join(t.text for t in tokens)
    text = re.sub(r"\s*([*&])", r" \1", text)
    return re.sub(r"\(\s+|\s+\)", lambda m: m.group().strip(), text).strip()


def parse_declarator(tokens, loc):
    """One declarator with its type: 'const char *pchName = NULL', 'void (*)()', 'int x : 4'."""
    tokens = split_top(tokens, "=")[0]                 # default value / initializer
    bits = None
    colon = [k for k, t in enumerate(tokens) if t.text == ":"]
    if colon and not any(t.text == "(" for t in tokens[:colon[0]]):
        bits, tokens = tokens[colon[0] + 1:], tokens[:colon[0]]
    if not tokens:
        fail(loc, "empty declaration")
    paren = next((k for k, t in enumerate(tokens) if t.text == "("), None)
    if paren is not None:
        return function_declarator(tokens, paren, bits, loc)
    dims = []
    while tokens and tokens[-1].text == "]":
        open_ = max(k for k, t in enumerate(tokens) if t.text == "[")
        dims.insert(0, tokens[open_ + 1:-1])
        tokens = tokens[:open_]
    name = None
    words = [t for t in tokens if t.text not in CV + ELABORATED]
    if words and words[-1].kind == "id" and words[-1].text not in BUILTIN_WORDS and \
            any(t.kind == "id" or t.text == "::" for t in words[:-1]):
        name = words[-1].text
        tokens = tokens[:len(tokens) - 1 - tokens[::-1].index(words[-1])]
    pointer = any(t.text in ("*", "&") for t in tokens)
    base = [t.text for t in tokens if t.text not in CV + ELABORATED + ("*", "&")]
    return Decl(name, base, pointer, False, dims, bits, False, spelling_of(tokens), loc)


def function_declarator(tokens, paren, bits, loc):
    close = match_close(tokens, paren, "(", ")")
    inner = [t for t in tokens[paren + 1:close] if t.text not in CALLING_CONVENTIONS]
    is_fp = bool(inner) and inner[0].text == "*" and close + 1 < len(tokens) and \
        tokens[close + 1].text == "("
    if not is_fp:   # a function (or constructor) declaration
        name = tokens[paren - 1].text if paren else None
        return Decl(name, [], False, False, [], bits, True, spelling_of(tokens), loc)
    name = inner[1].text if len(inner) > 1 and inner[1].kind == "id" else None
    shown = tokens[:paren + 1] + [t for t in tokens[paren + 1:close] if t.text != name] + \
        tokens[close:]
    base = [t.text for t in tokens[:paren] if t.text not in CV + ELABORATED]
    return Decl(name, base, True, True, [], bits, False, spelling_of(shown), loc)


def parse_declarators(tokens, loc):
    """'float x, y' -> two Decls sharing the base type of the first."""
    parts = split_top(tokens)
    first = parse_declarator(parts[0], loc)
    decls = [first]
    if len(parts) > 1:
        base_len = next((k for k, t in enumerate(parts[0]) if t.text in ("*", "&") or
                         (t.kind == "id" and t.text == first.name)), len(parts[0]))
        for part in parts[1:]:
            decls.append(parse_declarator(parts[0][:base_len] + part, loc))
    return decls


CType = namedtuple("CType", "kind size align label")   # kind: void int float double pointer record


class Record:
    """A struct, class or union definition; its members are read only when needed."""

    def __init__(self, kind, name, head, body, pack, scope, loc, end):
        self.kind, self.name, self.head, self.body = kind, name, head, body
        self.pack, self.loc, self.end = pack, loc, end
        self.scope = Scope(scope, self)
        colon = [k for k, t in enumerate(head) if t.text == ":"]
        self.bases = head[colon[0] + 1:] if colon else []
        self.data_members = None
        self.layout = None
        self.laying_out = False


class Scope:
    def __init__(self, parent, record=None):
        self.parent, self.record = parent, record
        self.typedefs, self.records, self.enums, self.constants = {}, {}, {}, {}

    def find(self, table, name):
        scope = self
        while scope is not None:
            if name in getattr(scope, table):
                return getattr(scope, table)[name]
            scope = scope.parent
        return None


class Program:
    """The declarations of one preprocessed translation unit, for one target."""

    def __init__(self, tokens):
        self.globals = Scope(None)
        self.pack_stack, self.pack = [], MSVC_DEFAULT_PACK
        for stmt in split_statements(tokens):
            self.declare(stmt, self.globals, at_global=True)

    # -- declarations
    def declare(self, stmt, scope, at_global=False):
        """Record typedefs, records, enums and constants; return True if stmt was one."""
        if stmt.kind == "pragma":
            if not at_global:
                fail(stmt.loc, "#pragma pack inside a record")
            self.apply_pragma(stmt.head[0])
            return True
        if stmt.kind != "decl":
            return False
        head = stmt.head
        if len(head) > 1 and head[0].text == "extern" and head[1].kind == "str":
            head = head[2:]
        if not head:
            return False
        if head[0].text == "template":
            return True                   # templates are not needed and not read
        if head[0].text == "typedef":
            self.declare_typedef(stmt, head[1:], scope)
            return True
        if stmt.body is not None and head[0].text == "enum":
            self.declare_enum(head, stmt.body, scope, stmt.loc)
            return True
        if stmt.body is not None and head[0].text in RECORD_KEYWORDS:
            self.declare_record(head, stmt.body, scope, stmt.loc, stmt.end)
            return True
        if head[0].text in ("const", "static") and any(t.text == "=" for t in head):
            self.declare_constant(head, scope, stmt.loc)
            return True
        return False

    def apply_pragma(self, tok):
        args = tok.text.split()[1:]
        if args[:1] == ["push"]:
            self.pack_stack.append(self.pack)
            if len(args) > 1:
                self.pack = parse_int(args[1], tok.loc)
        elif args[:1] == ["pop"]:
            if not self.pack_stack:
                fail(tok.loc, "#pragma pack(pop) without push")
            self.pack = self.pack_stack.pop()
        elif len(args) == 1 and args[0].isdigit():
            self.pack = int(args[0])
        elif not args:
            self.pack = MSVC_DEFAULT_PACK
        else:
            fail(tok.loc, f"unsupported #pragma {tok.text}")

    def declare_typedef(self, stmt, head, scope):
        if stmt.body is not None:   # typedef struct { ... } Name;
            record = self.declare_record(head, stmt.body, scope, stmt.loc)
            for d in parse_declarators([Tok("id", "__record__", stmt.loc)] + stmt.tail, stmt.loc):
                scope.typedefs[d.name] = (d._replace(base=["@record"]), record)
            return
        for d in parse_declarators(head, stmt.loc):
            if d.name is None:
                fail(stmt.loc, f"typedef without a name: {d.spelling}")
            scope.typedefs[d.name] = (d, scope)

    def declare_record(self, head, body, scope, loc, end=None):
        kind = head[0].text
        name = head[1].text if len(head) > 1 and head[1].kind == "id" else None
        record = Record(kind, name, head, body, self.pack, scope, loc, end or loc)
        if name:
            scope.records[name] = record
        return record

    def declare_enum(self, head, body, scope, loc):
        words = [t for t in head[1:] if t.text not in ("class", "struct")]
        colon = next((k for k, t in enumerate(words) if t.text == ":"), None)
        name_toks = words[:colon] if colon is not None else words
        size = 4    # MSVC: an enum without a fixed underlying type is an int
        if colon is not None:
            size = self.resolve(Decl(None, [t.text for t in words[colon + 1:]], False, False,
                                     [], None, False, "", loc), scope).size
        if name_toks:
            scope.enums[name_toks[0].text] = size
        previous = None
        for part in split_top(body):
            if not part:
                continue
            value = part[2:] if len(part) > 2 and part[1].text == "=" else \
                [Tok("id", previous, loc), Tok("op", "+", loc), Tok("num", "1", loc)] \
                if previous else [Tok("num", "0", loc)]
            scope.constants[part[0].text] = (value, scope)
            previous = part[0].text

    def declare_constant(self, head, scope, loc):
        for part in split_top([t for t in head if t.text != "static"]):
            eq = next((k for k, t in enumerate(part) if t.text == "="), None)
            if eq and part[eq - 1].kind == "id":
                scope.constants[part[eq - 1].text] = (part[eq + 1:], scope)

    def constant(self, tokens, scope, loc, seen=()):
        def lookup(name, where):
            found = scope.find("constants", name)
            if found is None or name in seen:
                fail(where, f"cannot evaluate constant {name}")
            return self.constant(found[0], found[1], where, seen + (name,))
        return ExprParser(tokens, loc, lookup).value()

    # -- types
    def resolve(self, decl, scope):
        """The type a Decl names (a pointer, array or the base type itself)."""
        if decl.pointer or decl.funcptr:
            return CType("pointer", POINTER_SIZE, POINTER_SIZE, decl.spelling)
        base = self.resolve_base(decl.base, scope, decl.loc)
        if decl.dims:
            count = 1
            for dim in decl.dims:
                count *= self.constant(dim, scope, decl.loc)
            return CType("array", base.size * count, base.align, decl.spelling)
        return base

    def resolve_base(self, words, scope, loc):
        if words and all(w in BUILTIN_WORDS for w in words):
            return builtin_type(words, loc)
        if "::" in words:
            return self.resolve_qualified(words, scope, loc)
        if len(words) != 1:
            fail(loc, f"cannot read the type {' '.join(words)!r}")
        return self.resolve_name(words[0], scope, loc)

    def resolve_name(self, name, scope, loc):
        found = scope.find("typedefs", name)
        if found is not None:
            decl, where = found
            if decl.base == ["@record"] and not decl.pointer:
                return self.record_type(where)
            return self.resolve(decl, where)
        record = scope.find("records", name)
        if record is not None:
            return self.record_type(record)
        size = scope.find("enums", name)
        if size is not None:
            return CType("int", size, size, name)
        if name in STANDARD_TYPES:
            size = STANDARD_TYPES[name]
            return CType("int", size, size, name)
        fail(loc, f"unknown type {name!r} (not a builtin, typedef, enum, struct or class "
                  f"of the headers read)")

    def resolve_qualified(self, words, scope, loc):
        names = [w for w in words if w != "::"]
        record = scope.find("records", names[0])
        for inner in names[1:]:
            if record is None:
                break
            self.members(record)        # declares the nested types
            if inner in record.scope.records:
                record = record.scope.records[inner]
            else:
                return self.resolve_name(inner, record.scope, loc)
        if record is None:
            fail(loc, f"unknown type {' '.join(words)!r}")
        return self.record_type(record)

    def record_type(self, record):
        size, align = self.layout(record)
        return CType("record", size, align, record.name or "<anonymous>")

    # -- record layout (32-bit MSVC rules)
    def members(self, record):
        """Data members of a record: [(Decl, CType)]; nested types are declared on the way."""
        if record.data_members is not None:
            return record.data_members
        data = []
        for stmt in split_statements(record.body):
            data.extend(self.member_statement(stmt, record))
        record.data_members = data
        return data

    def member_statement(self, stmt, record):
        if stmt.kind in ("access", "function"):
            return []
        head = stmt.head
        first = head[0].text if head else ""
        if first in ("friend", "static", "using", "template", "typedef", "enum") or \
                (first in RECORD_KEYWORDS and stmt.body is None and len(head) == 2):
            self.declare(stmt, record.scope)
            return []
        if first == "virtual":
            fail(stmt.loc, f"record {record.name} has virtual methods; its layout is not read")
        if stmt.body is not None:           # struct/union definition, maybe with members
            return self.nested_record_members(stmt, record)
        if any(t.text == "operator" for t in head):
            return []
        decls = parse_declarators(head, stmt.loc)
        if any(d.is_function for d in decls):
            return []
        return [(d, self.resolve(d, record.scope)) for d in decls]

    def nested_record_members(self, stmt, record):
        nested = self.declare_record(stmt.head, stmt.body, record.scope, stmt.loc)
        if not stmt.tail:     # a named nested type, or an anonymous union/struct member
            return [] if nested.name else [(None, self.record_type(nested))]
        members = []
        for d in parse_declarators([Tok("id", "@nested", stmt.loc)] + stmt.tail, stmt.loc):
            if d.pointer or d.dims:
                if not nested.name:
                    fail(stmt.loc, "pointer or array of an anonymous record")
                members.append((d, self.resolve(d._replace(base=[nested.name]), record.scope)))
            else:
                members.append((d, self.record_type(nested)))
        return members

    def layout(self, record):
        if record.layout:
            return record.layout
        if record.laying_out:
            fail(record.loc, f"record {record.name} contains itself")
        if record.bases:
            fail(record.loc, f"record {record.name} has base classes; its layout is not read")
        record.laying_out = True
        members = self.members(record)
        if record.kind == "union":
            record.layout = union_layout(members, record.pack)
        else:
            record.layout = struct_layout(members, record.pack, record.loc)
        record.laying_out = False
        return record.layout


def builtin_type(words, loc):
    w = sorted(words)
    if w == ["void"]:
        return CType("void", 0, 1, "void")
    if w == ["float"]:
        return CType("float", 4, 4, "float")
    if w in (["double"], ["double", "long"]):
        return CType("double", 8, 8, "double")
    if "bool" in w:
        return CType("int", 1, 1, "bool")
    core = [x for x in words if x not in ("signed", "unsigned")] or ["int"]
    sizes = {("char",): 1, ("__int8",): 1, ("short",): 2, ("short", "int"): 2, ("__int16",): 2,
             ("int",): 4, ("long",): 4, ("long", "int"): 4, ("__int32",): 4, ("wchar_t",): 2,
             ("long", "long"): 8, ("long", "long", "int"): 8, ("__int64",): 8}
    key = tuple(sorted(core, key=lambda x: (x != "long", x != "short", x)))
    if key not in sizes:
        fail(loc, f"unknown builtin type {' '.join(words)!r}")
    return CType("int", sizes[key], sizes[key], " ".join(words))


def round_up(value, align):
    return (value + align - 1) // align * align


def struct_layout(members, pack, loc):
    offset, align, run = 0, 1, None     # run: [unit size, bits used] of the open bit-field unit
    for decl, ctype in members:
        a = min(ctype.align, pack)
        align = max(align, a)
        if decl is not None and decl.bits is not None:
            bits = parse_int(" ".join(t.text for t in decl.bits), loc)
            if bits <= 0 or bits > ctype.size * 8:
                fail(loc, f"unsupported bit-field width {bits}")
            # MSVC: adjacent bit-fields share one storage unit while their declared types
            # have the same size and the bits still fit; otherwise a new unit starts.
            if run and run[0] == ctype.size and run[1] + bits <= ctype.size * 8:
                run[1] += bits
                continue
            offset = round_up(offset, a) + ctype.size
            run = [ctype.size, bits]
            continue
        run = None
        offset = round_up(offset, a) + ctype.size
    return max(round_up(offset, align), 1), align


def union_layout(members, pack):
    size = max([c.size for _, c in members] or [1])
    align = max([min(c.align, pack) for _, c in members] or [1])
    return round_up(size, align), align


# --------------------------------------------------------------------------------------------
# Interface classes: virtual methods and their ABI facts

Method = namedtuple("Method", "name ret params flat_name loc")


def interface_methods(program, class_name):
    record = program.globals.records.get(class_name)
    if record is None:
        fail(None, f"class {class_name} is not defined in the headers read")
    if record.bases:
        fail(record.loc, f"{class_name} has base classes; their slots would come first")
    methods = []
    for stmt in split_statements(record.body):
        if stmt.kind in ("access",):
            continue
        head = stmt.head
        if head and head[0].text == "virtual":
            if any(t.text == "~" for t in head):
                methods += destructor_methods(stmt)
            else:
                methods.append(parse_method(stmt, class_name))
        elif head and head[0].text == "~":
            continue  # a non-virtual destructor owns no slot

        elif not program.declare(stmt, record.scope):
            if any(t.text == "(" for t in head) and head[0].text not in ("typedef", "static"):
                continue  # a non-virtual member function (an inline helper) owns no slot
            fail(stmt.loc, f"unexpected member in {class_name}: {spelling_of(head)[:80]}")
    if not methods:
        fail(record.loc, f"{class_name} declares no virtual methods")
    return methods


# A virtual destructor owns one MSVC slot (the scalar deleting destructor, which takes a flags
# argument and returns `this`) but two Itanium slots (complete, then deleting). The second
# Itanium slot is put after every MSVC slot, where an MSVC caller never looks.
MSVC_DESTRUCTOR = "Destructor"
ITANIUM_DELETING_DESTRUCTOR = "DeletingDestructor"


def destructor_methods(stmt):
    if any(t.text == "(" for t in stmt.head) and stmt.head[-1].text != ")":
        fail(stmt.loc, "a virtual destructor with a trailer")
    return [Method(MSVC_DESTRUCTOR, None, [], None, stmt.loc),
            Method(ITANIUM_DELETING_DESTRUCTOR, None, [], None, stmt.loc)]


def parse_method(stmt, class_name):
    tokens = stmt.head[1:]
    paren = next((k for k, t in enumerate(tokens) if t.text == "("), None)
    if paren is None or paren == 0 or tokens[paren - 1].kind != "id":
        fail(stmt.loc, f"cannot read virtual method {spelling_of(tokens)[:80]}")
    close = match_close(tokens, paren, "(", ")")
    trailer = [t.text for t in tokens[close + 1:]]
    if trailer not in ([], ["=", "0"], ["const"], ["const", "=", "0"], ["override"],
                       ["const", "override"]):
        fail(stmt.loc, f"unexpected {' '.join(trailer)!r} after the parameters")
    name = tokens[paren - 1].text
    ret = parse_declarator(tokens[:paren - 1], stmt.loc)
    params = split_top(tokens[paren + 1:close])
    if params in ([[]],) or [[t.text for t in p] for p in params] == [["void"]]:
        params = []
    decls = [parse_declarator(p, stmt.loc) for p in params]
    if any(not p for p in params) or any(d.is_function for d in decls + [ret]):
        fail(stmt.loc, f"cannot read the parameters of {class_name}::{name}")
    flat = [a.split("=", 1)[1] for a in stmt.annots if a.startswith("flat_name=")]
    return Method(name, ret, decls, flat[0] if flat else None, stmt.loc)


Slot = namedtuple("Slot", "name itanium arg_bytes kind object_size signature answer_type")


def answer_type(decl):
    """The declared return type a feature-off answer is chosen by: "text" for a char pointer,
    "pointer" for any other, else the type's own name (SteamAPICall_t, bool, EResult)."""
    if decl.pointer or decl.funcptr:
        return "text" if decl.base == ["char"] else "pointer"
    return decl.base[-1] if "::" in decl.base else " ".join(decl.base)


def param_bytes(program, decl, scope):
    # Every stack argument takes a multiple of 4 bytes; arrays decay to pointers.
    if decl.pointer or decl.funcptr or decl.dims:
        return POINTER_SIZE
    t = program.resolve(decl, scope)
    if t.kind == "void":
        fail(decl.loc, "a parameter of type void")
    return round_up(t.size, 4)


def return_kind(program, decl, scope):
    """(kind, object size, hidden-pointer bytes)."""
    if decl.pointer or decl.funcptr:
        return "Pointer", 0, 0
    t = program.resolve(decl, scope)
    if t.kind == "void":
        return "Void", 0, 0
    if t.kind == "pointer":  # a typedef of a pointer (HServerListRequest)
        return "Pointer", 0, 0
    if t.kind == "float":
        return "Float", 0, 0
    if t.kind == "double":
        return "Double", 0, 0
    if t.kind == "int":
        return ("Int64" if t.size == 8 else "Int32"), 0, 0
    if t.kind == "record":
        # MSVC member functions return every class/struct through a hidden pointer pushed
        # as the first stack argument, which the thiscall callee pops too.
        return "Object", t.size, POINTER_SIZE
    fail(decl.loc, f"cannot classify the return type {decl.spelling}")


def method_slot(program, method, index, scope):
    """`scope`: the class's own, so types it declares (EHTMLMouseButton) resolve."""
    if method.ret is None:  # a destructor's slots
        msvc = method.name == MSVC_DESTRUCTOR
        return Slot(method.name, index, 4 if msvc else 0, "Pointer" if msvc else "Void", 0,
                    (method.name, (), "~"), "pointer" if msvc else "void")
    kind, size, hidden = return_kind(program, method.ret, scope)
    arg_bytes = hidden + sum(param_bytes(program, p, scope) for p in method.params)
    return Slot(method.name, index, arg_bytes, kind, size, signature(method),
                answer_type(method.ret))


def signature(method):
    if method.ret is None:
        return (method.name, (), "~")
    return (method.name, tuple(p.spelling for p in method.params), method.ret.spelling)


def msvc_order(slots):
    # MSVC groups overloads of one name at the position of the name's first declaration and
    # lays each group out in reverse declaration order (GetStat(float*) before GetStat(int32*)),
    # even when the overloads are not declared next to each other. Itanium keeps declaration
    # order.
    groups = OrderedDict()
    for slot in slots:
        if slot.name != ITANIUM_DELETING_DESTRUCTOR:
            groups.setdefault(slot.name, []).append(slot)
    itanium_only = [s for s in slots if s.name == ITANIUM_DELETING_DESTRUCTOR]
    return [s for group in groups.values() for s in reversed(group)] + itanium_only


# --------------------------------------------------------------------------------------------
# Releases

RELEASE_RE = re.compile(r"^(\d+)\.(\d+)([a-z]?)$")
Release = namedtuple("Release", "label key steam_dir")


def find_releases(dirs):
    found = []
    for d in dirs:
        d = os.path.abspath(d)
        if os.path.isdir(os.path.join(d, "public", "steam")):
            found.append(d)
            continue
        if not os.path.isdir(d):
            fail(None, f"{d}: no such folder")
        subs = sorted(s for s in (os.path.join(d, e) for e in os.listdir(d))
                      if os.path.isdir(os.path.join(s, "public", "steam")))
        if not subs:
            fail(None, f"{d}: neither an SDK release (public/steam/) nor a folder of them")
        found.extend(subs)
    return order_releases(found)


def order_releases(paths):
    releases = []
    for path in paths:
        label = os.path.basename(path.rstrip(os.sep))
        m = RELEASE_RE.match(label)
        key = (int(m.group(1)), int(m.group(2)), m.group(3)) if m else None
        releases.append(Release(label, key, os.path.join(path, "public", "steam")))
    labels = [r.label for r in releases]
    if len(set(labels)) != len(labels):
        fail(None, f"the same release given twice: {sorted(labels)}")
    if len(releases) > 1 and any(r.key is None for r in releases):
        bad = [r.label for r in releases if r.key is None]
        fail(None, f"cannot order releases by folder name {bad} (expected names like 1.58a)")
    return sorted(releases, key=lambda r: r.key or (0, 0, ""))


def preprocess(release, target):
    pre = Preprocessor(release.steam_dir, target)
    for header in OrderedDict.fromkeys(header for _, header, _ in INTERFACES):
        if os.path.isfile(os.path.join(release.steam_dir, header)):
            pre.run(header)
    return pre


def version_string(pre, macro, release):
    m = pre.macros.get(macro)
    if m is None:
        return None
    if m.params is not None or len(m.body) != 1 or m.body[0].kind != "str":
        fail(release.label, f"{macro} is not a plain string")
    return m.body[0].text[1:-1]


IfaceTable = namedtuple("IfaceTable", "version cls release slots methods")
# What a C++ game of one release asks for at start: the versions its SteamAPI_InitEx hands
# the library (1.58 on), or, before that list existed, the versions its accessors ask for.
ReleaseList = namedtuple("ReleaseList", "label has_start_list versions")
START_LIST_RE = re.compile(r"pszInternalCheckInterfaceVersions\s*=([^;]*);")
# Interfaces no game accessor asks for through the user: a game server's, and those
# reached another way.
NOT_ASKED_BY_GAMES = {"ISteamClient", "ISteamGameServer", "ISteamGameServerStats",
                      "ISteamAppTicket", "ISteamGameCoordinator"}


def read_release(release, notes):
    """{version string: IfaceTable} for one release, parsed for 32-bit MSVC."""
    pre = preprocess(release, WIN32_MSVC)
    program = Program(pre.output)
    tables = {}
    for cls, header, macro in INTERFACES:
        version = version_string(pre, macro, release)
        if version is None:
            notes.append(f"{release.label}: {header} defines no {macro}; {cls} skipped")
            continue
        methods = interface_methods(program, cls)
        scope = program.globals.records[cls].scope
        slots = [method_slot(program, m, k, scope) for k, m in enumerate(methods)]
        tables[version] = IfaceTable(version, cls, release.label, slots, methods)
        note_records(program, tables[version], notes)
    note_conditions(pre, program, release, notes)
    cross_check_targets(release, tables)
    return tables, release_list(release, pre, tables)


def release_list(release, pre, tables):
    path = os.path.join(release.steam_dir, "steam_api.h")
    with open(path, encoding="utf-8", errors="replace") as f:
        found = START_LIST_RE.search(strip_comments(f.read()))
    if found is None:
        versions = [t.version for t in tables.values() if t.cls not in NOT_ASKED_BY_GAMES]
        return ReleaseList(release.label, False, versions)
    versions = []
    for word in re.findall(r'[A-Za-z_]\w*|"(?:\\.|[^"\\])*"', found.group(1)):
        if word.startswith('"'):
            if word not in ('"\\0"', '""'):
                fail(path, f"unexpected text {word} in the start's interface list")
            continue
        version = version_string(pre, word, release)
        if version is None:
            fail(path, f"the start's interface list names {word}, which no header defines")
        versions.append(version)
    return ReleaseList(release.label, True, versions)


def note_records(program, table, notes):
    """Classes and structs passed or returned by value: their size is an ABI fact."""
    scope = program.globals.records[table.cls].scope
    for m in table.methods:
        if m.ret is None:
            continue
        for what, decl in [("returns", m.ret)] + [("takes", p) for p in m.params]:
            if decl.pointer or decl.funcptr or decl.dims:
                continue
            t = program.resolve(decl, scope)
            if t.kind == "record":
                notes.append(f"{table.version}: {m.name} {what} {decl.spelling} by value "
                             f"({t.size} bytes on 32-bit Windows)")


def note_conditions(pre, program, release, notes):
    """Conditionals met inside the served classes' bodies."""
    for cls, header, _ in INTERFACES:
        record = program.globals.records.get(cls)
        if record is None or not record.body:
            continue
        first = int(record.loc.split(":")[1])
        last = int(record.end.split(":")[1])
        for loc, text, taken in pre.conditions:
            f, line = loc.split(":")
            if f == header and first <= int(line) <= last:
                notes.append(f"{release.label}: {loc} inside {cls}: '{text}' "
                             f"{'taken' if taken else 'not taken'}")


def cross_check_targets(release, tables):
    """The declarations must not depend on the desktop platform the headers are read for."""
    for target_name, target in CROSS_CHECK_TARGETS.items():
        program = Program(preprocess(release, target).output)
        for version, table in tables.items():
            theirs = [signature(m) for m in interface_methods(program, table.cls)]
            ours = [signature(m) for m in table.methods]
            if theirs != ours:
                fail(release.label, f"{table.cls} declares different virtual methods for "
                                    f"{target_name} than for 32-bit Windows")


def abi_facts(slots):
    return [(s.arg_bytes, s.kind, s.object_size) for s in slots]


def merge_releases(per_release, notes):
    """Newest table of each version string, after proving older ones are its prefixes."""
    merged = {}
    for tables in per_release:
        for version, table in tables.items():
            older = merged.get(version)
            if older is not None:
                check_append_only(older, table, notes)
            merged[version] = table
    return merged


def check_append_only(older, newer, notes):
    # Within one version string a later SDK may only append methods. The MSVC order is
    # checked too: an appended overload of an existing name would move into its group.
    # A slot may be renamed (Valve marks some _DEPRECATED) as long as its ABI stays.
    for order, name in ((lambda s: s, "declaration"), (msvc_order, "MSVC")):
        a, b = abi_facts(order(older.slots)), abi_facts(order(newer.slots))
        if b[:len(a)] != a:
            k = next(i for i in range(len(a)) if i >= len(b) or a[i] != b[i])
            fail(None, f"{newer.version}: {newer.release} is not {older.release} plus appended "
                       f"methods ({name} slot {k}: {a[k]} vs {b[k] if k < len(b) else 'none'})")
    for old, new in zip(older.slots, newer.slots):
        if old.name != new.name:
            notes.append(f"{newer.version}: slot {old.name} (itanium {old.itanium}) renamed "
                         f"{new.name} in {newer.release}")
    if len(newer.slots) > len(older.slots):
        added = ", ".join(s.name for s in newer.slots[len(older.slots):])
        notes.append(f"{newer.version}: {newer.release} appends {added}")


# --------------------------------------------------------------------------------------------
# steam_api.json: cross-check and flat names of overloads

def normalize_type(text):
    text = re.sub(r"\b(class|struct|enum)\s+", "", text)
    return re.sub(r"\s+", "", text)


def load_json_methods(release):
    path = os.path.join(release.steam_dir, "steam_api.json")
    if not os.path.isfile(path):
        return None
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    out = {}
    for iface in data.get("interfaces", []):
        try:
            out[iface["classname"]] = [
                (m["methodname"], tuple(normalize_type(p["paramtype"]) for p in m["params"]),
                 m["methodname_flat"]) for m in iface["methods"]]
        except KeyError as e:
            fail(path, f"unexpected steam_api.json layout: missing {e}")
    return out


def compare_with_json(release, tables, json_methods, notes):
    if json_methods is None:
        notes.append(f"{release.label}: no steam_api.json; cross-check skipped")
        return
    for table in sorted(tables.values(), key=lambda t: t.cls):
        ours = [(m.name, tuple(normalize_type(p.spelling) for p in m.params)) for m in table.methods]
        theirs = [(n, p) for n, p, _ in json_methods.get(table.cls, [])]
        if ours == theirs:
            continue
        matcher = difflib.SequenceMatcher(a=ours, b=theirs, autojunk=False)
        for op, a0, a1, b0, b1 in matcher.get_opcodes():
            if op == "equal":
                continue
            only_h = ", ".join(f"{n}({','.join(p)})" for n, p in ours[a0:a1])
            only_j = ", ".join(f"{n}({','.join(p)})" for n, p in theirs[b0:b1])
            notes.append(f"{release.label} {table.cls}: header {only_h or '-'} / "
                         f"json {only_j or '-'}")


def slot_names(table, json_methods):
    """Distinct names: overloads take Valve's flat name (header annotation, else json), else a
    suffix from their parameter types."""
    counts = {}
    for m in table.methods:
        counts[m.name] = counts.get(m.name, 0) + 1
    flat_by_sig = {}
    prefix = f"SteamAPI_{table.cls}_"
    for name, params, flat in (json_methods or {}).get(table.cls, []):
        if flat.startswith(prefix):
            flat_by_sig[(name, params)] = flat[len(prefix):]
    names = []
    for m in table.methods:
        names.append(m.name if counts[m.name] == 1 else overload_name(m, flat_by_sig))
    if len(set(names)) != len(names):
        fail(None, f"{table.version}: overload names are not distinct: {names}")
    return names


def overload_name(method, flat_by_sig):
    if method.flat_name and method.flat_name != method.name:
        return method.flat_name
    key = (method.name, tuple(normalize_type(p.spelling) for p in method.params))
    flat = flat_by_sig.get(key)
    if flat and flat != method.name:
        return flat
    words = [re.sub(r"\W+", "", p.spelling.replace("*", "Ptr").replace("&", "Ref").title())
             for p in method.params]
    return method.name + "_" + ("_".join(words) or "Void")


# --------------------------------------------------------------------------------------------
# Output

def c_identifier(version):
    ident = re.sub(r"\W", "_", version)
    if not re.match(r"[A-Za-z_]", ident):
        fail(None, f"version string {version!r} gives no C identifier")
    return ident


def version_sort_key(version):
    return [int(p) if p.isdigit() else p for p in re.split(r"(\d+)", version)]


def render(merged, names, first_seen, releases, release_lists):
    lines = [
        "// clang-format off",
        "// Generated by offline/client/generate_client_tables.py from Valve's Steamworks SDK headers",
        "// (public/steam/*.h of each release). Do not edit; regenerate with",
        f"//   offline/client/generate_client_tables.py SDK_DIR [SDK_DIR...] > {HEADER_NAME}",
        "// and compare with the committed file with",
        "//   offline/client/generate_client_tables.py --check SDK_DIR [SDK_DIR...]",
        f"// Releases read: {' '.join(r.label for r in releases)}",
        "// Derived facts only: method names, slot positions, argument byte counts, return kinds,",
        "// version strings.",
        "//",
        "// SLOT(msvcSlot, itaniumSlot, name, win32ArgBytes, returnKind, objectSize, returnType),",
        "// in MSVC order:",
        "//   msvcSlot     position in the MSVC virtual table (overloads grouped, reversed);",
        "//   itaniumSlot  position in the Itanium (GCC/Clang) virtual table: declaration order;",
        "//   win32ArgBytes  bytes the 32-bit thiscall callee pops, without `this`, with the hidden",
        "//                result pointer of an Object return;",
        f"//   returnKind   {' '.join(RETURN_KINDS)};",
        "//   objectSize   size of an Object result on 32-bit Windows, else 0;",
        "//   returnType   the declared return type's name, \"text\" for a char pointer and",
        "//                \"pointer\" for any other (a feature-off answer is chosen by it).",
        "// IFACE(id, \"version string\", class, slotCount)",
        "// RELEASE(\"label\", hasStartList, \"version\\0version\\0\"): what a C++ game of that release",
        "//   asks for at start: its SteamAPI_InitEx list (hasStartList 1), else every version its",
        "//   accessors ask for.",
        "",
        "#pragma once",
        "",
    ]
    ordered = sorted(merged.values(), key=lambda t: (
        [c for c, _, _ in INTERFACES].index(t.cls), version_sort_key(t.version)))
    for table in ordered:
        lines += render_table(table, names[table.version], first_seen[table.version])
    lines.append("#define STEAM_CLIENT_INTERFACES(IFACE) \\")
    entries = [f'    IFACE({c_identifier(t.version)}, "{t.version}", {t.cls}, {len(t.slots)})'
               for t in ordered]
    lines += [e + " \\" for e in entries[:-1]] + entries[-1:] + [""]
    lines.append("#define STEAM_CLIENT_RELEASES(RELEASE) \\")
    entries = [f'    RELEASE("{r.label}", {int(r.has_start_list)}, '
               f'"{"".join(v + chr(92) + "0" for v in r.versions)}")' for r in release_lists]
    lines += [e + " \\" for e in entries[:-1]] + entries[-1:] + [""]
    lines += ["// clang-format on", ""]
    return "\n".join(lines)


def render_table(table, names, first):
    since = f"releases {first}..{table.release} define it" if first != table.release \
        else f"release {first} defines it"
    if table.version in ALIASES:
        since = f"no release defines it; served as {ALIASES[table.version]}"
    out = [f"// {table.version}: {table.cls}, {len(table.slots)} slots; table of release "
           f"{table.release} ({since})",
           f"#define STEAM_CLIENT_SLOTS_{c_identifier(table.version)}(SLOT) \\"]
    rows = []
    for msvc, slot in enumerate(msvc_order(table.slots)):
        rows.append(f"    SLOT({msvc} /*msvc*/, {slot.itanium} /*itanium*/, "
                    f"{names[slot.itanium]}, {slot.arg_bytes} /*win32ArgBytes*/, "
                    f"{slot.kind}, {slot.object_size} /*objectSize*/, \"{slot.answer_type}\")")
    return out + [r + " \\" for r in rows[:-1]] + rows[-1:] + [""]


# --------------------------------------------------------------------------------------------
# Driver

def read_release_reporting(release):
    """read_release for a worker process: its notes, and its refusal as text."""
    notes = []
    try:
        tables, start = read_release(release, notes)
        return tables, start, notes, None
    except GenError as e:
        return None, None, notes, str(e)


def generate(dirs, notes):
    releases = find_releases(dirs)
    per_release, json_by_release, first_seen, release_lists = [], {}, {}, []
    # Each release is read on its own, so they are read side by side.
    with concurrent.futures.ProcessPoolExecutor() as pool:
        read = list(pool.map(read_release_reporting, releases))
    for release, (tables, start, release_notes, error) in zip(releases, read):
        if error is not None:
            raise GenError(f"release {release.label}: {error}")
        notes += release_notes
        release_lists.append(start)
        json_by_release[release.label] = load_json_methods(release)
        compare_with_json(release, tables, json_by_release[release.label], notes)
        for version in tables:
            first_seen.setdefault(version, release.label)
        per_release.append(tables)
    merged = merge_releases(per_release, notes)
    for alias, version in ALIASES.items():
        if alias in merged or version not in merged:
            fail(None, f"alias {alias}: {version} must be defined and {alias} not")
        merged[alias] = merged[version]._replace(version=alias)
        first_seen[alias] = first_seen[version]
    names = {}
    for version, table in merged.items():
        names[version] = slot_names(table, json_by_release[table.release])
        note_overloads(table, names[version], notes)
    return render(merged, names, first_seen, releases, release_lists)


def note_overloads(table, names, notes):
    seen, positions = {}, {}
    for k, m in enumerate(table.methods):
        seen.setdefault(m.name, []).append(names[k])
        positions.setdefault(m.name, []).append(k)
    for name, chosen in seen.items():
        if len(chosen) > 1:
            spread = positions[name]
            adjacent = spread == list(range(spread[0], spread[0] + len(spread)))
            notes.append(f"{table.version}: overloads of {name} -> {', '.join(chosen)}"
                         f"{'' if adjacent else ' (NOT adjacent in declaration order)'}")


def default_header_path():
    return os.path.join(os.path.dirname(os.path.abspath(__file__)), "interface_tables.h")


def main(argv):
    parser = argparse.ArgumentParser(
        description="Generate the stand-in client's interface tables from Steamworks SDK headers.")
    parser.add_argument("sdk_dirs", nargs="+", metavar="SDK_DIR",
                        help="a release folder holding public/steam/, or a folder of them")
    parser.add_argument("--check", action="store_true",
                        help="compare with the committed header instead of printing it")
    parser.add_argument("--header", default=default_header_path(),
                        help=f"header compared by --check (default: {HEADER_NAME})")
    parser.add_argument("--notes", action="store_true",
                        help="print parse notes (json differences, conditionals, overloads) "
                             "to stderr")
    args = parser.parse_args(argv)
    notes = []
    try:
        text = generate(args.sdk_dirs, notes)
    except GenError as e:
        print(f"generate_client_tables.py: error: {e}", file=sys.stderr)
        return 2
    if args.notes:
        for note in OrderedDict.fromkeys(notes):
            print(f"note: {note}", file=sys.stderr)
    if args.check:
        return check(text, args.header)
    sys.stdout.write(text)
    return 0


def check(text, header):
    try:
        with open(header, encoding="utf-8") as f:
            committed = f.read()
    except OSError as e:
        print(f"generate_client_tables.py: cannot read {header}: {e}", file=sys.stderr)
        return 1
    if committed == text:
        print(f"{os.path.normpath(header)} is up to date", file=sys.stderr)
        return 0
    diff = difflib.unified_diff(committed.splitlines(), text.splitlines(),
                                "committed", "generated", lineterm="", n=1)
    print("\n".join(list(diff)[:60]), file=sys.stderr)
    print(f"generate_client_tables.py: {os.path.normpath(header)} differs from the SDK headers; "
          f"regenerate it", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
