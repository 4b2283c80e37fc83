#!/usr/bin/env python3
"""Lists every setup.ini section and key that the code under src/ passes to the script reader,
one "section<TAB>key" line each, sorted; "*" stands for keys that are the script's own data (key
lists, keys taken from variables). Names given as string ids come from src/resources/strings.rc,
named constants from their definitions, and a name that a function passes on from its caller
from every call of that function. A call whose section cannot be told is listed as
"?<TAB>file:line", so that a check can fail on it.
    scripts/script-keys.py [source folder]"""
import pathlib, re, sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent / "src")
# The reader's operations: (argument of the section, argument of the key; None: the key list).
readers = {"GetScriptValue": (1, 2), "GetScriptValueSize": (1, 2), "GetScriptKeyList": (1, None),
           "GetExpandedScriptValue": (1, 2), "SetScriptValue": (1, 2), "SetScriptNumber": (1, 2),
           "SectionHasKeyLike": (1, None), "BuildSectionIndex": (1, None)}
strings = {m[1]: m[2].replace('""', '"') for m in re.finditer(r'^\s*(IDS_\w+)\s+"((?:[^"]|"")*)"\s*$',
           (root / "resources/strings.rc").read_text(), re.M)}
ANY, NONE = "*", None


def split_args(text):
    args, depth, current, quoted = [], 0, "", False
    for i, c in enumerate(text):
        if c == '"' and (i == 0 or text[i - 1] != "\\"): quoted = not quoted
        if not quoted and c in "([{": depth += 1
        if not quoted and c in ")]}": depth -= 1
        if c == "," and depth == 0 and not quoted: args.append(current.strip()); current = ""
        else: current += c
    return args + [current.strip()] if current.strip() else args


def closing(text, start, open_char, close_char):
    depth, quoted = 0, False
    for i in range(start, len(text)):
        c = text[i]
        if c == '"' and text[i - 1] != "\\": quoted = not quoted
        elif not quoted and c == open_char: depth += 1
        elif not quoted and c == close_char:
            depth -= 1
            if depth == 0: return i
    return len(text)


functions, constants = [], {}  # (file, name, parameters, body, body offset, text)
for path in sorted(root.rglob("*.cpp")):
    if path.parent.name == "mediacheck" or (path.parent.name == "core" and path.name.startswith("script")):
        continue  # the reader itself, and the checker that reads any script
    text = re.sub(r"//[^\n]*", "", path.read_text())
    file_constants = dict(re.findall(r'(?:static\s+)?const\s+char\s*(?:\*\s*(?:const\s+)?)?(\w+)\s*(?:\[\])?\s*=\s*([^;]+);', text))
    file_constants.update(re.findall(r"static\s+const\s+char\s*\*\s*(\w+)\(\)\s*\{\s*return\s+([^;]+);", text))
    constants[path] = file_constants
    for m in re.finditer(r"^[\w][\w\s\*&:<>,]*?\b(\w+)\s*\(([^;{}]*)\)\s*(?:const\s*)?\{", text, re.M):
        end = closing(text, m.end() - 1, "{", "}")
        names = [re.sub(r"=.*", "", p).strip().split()[-1].strip("*&") if p.strip() else "" for p in split_args(m[2])]
        functions.append((path, m[1], names, text[m.end():end], m.end(), text))


def resolve(expr, path, params, depth=0):
    """A text, NONE, ("param", i), or ANY."""
    expr = re.sub(r"^\((?:const\s+)?char\s*\*\)\s*", "", expr.strip())
    if expr in ("NULL", "0", "nullptr"): return NONE
    if re.fullmatch(r'("(?:[^"\\]|\\.)*"\s*)+', expr):
        return "".join(re.findall(r'"((?:[^"\\]|\\.)*)"', expr)).replace("\\\\", "\\")
    m = re.fullmatch(r"MAKEINTRESOURCEA\((IDS_\w+)\)", expr)
    if m: return strings.get(m[1], ANY)
    name = re.sub(r"\(\)$", "", expr)
    if name in params: return ("param", params.index(name))
    if name in constants[path] and depth < 4: return resolve(constants[path][name], path, [], depth + 1)
    return ANY


reads, derived = set(), {name: {places} for name, places in readers.items()}
for _ in range(6):  # wrappers of wrappers, until nothing new turns up
    for path, function, params, body, offset, text in functions:
        for call in re.finditer(r"\b(\w+)\s*\(", body):
            args = split_args(body[call.end():closing(body, call.end() - 1, "(", ")")])
            for places in list(derived.get(call[1], ())):
                if len(args) <= max([i for i in places if isinstance(i, int)], default=0): continue
                section, key = (resolve(args[i], path, params) if isinstance(i, int) else i for i in places)
                if call[1] == "SectionHasKeyLike": key = ANY  # a part of a key, not a key
                if isinstance(section, tuple) or isinstance(key, tuple):
                    derived.setdefault(function, set()).add(
                        tuple(x[1] if isinstance(x, tuple) else x for x in (section, key)))
                    continue
                line = text.count("\n", 0, offset + call.start()) + 1
                if section is ANY: reads.add(("?", f"{path.relative_to(root)}:{line}"))
                elif section is not NONE: reads.add((section, ANY if key in (ANY, NONE) else key))
for section, key in sorted(reads, key=lambda r: (r[0].lower(), r[1].lower())):
    print(f"{section}\t{key}")
