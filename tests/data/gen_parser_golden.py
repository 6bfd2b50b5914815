"""Golden tables of the expression compiler for tests/parser: the dictionary's name order (Python's
sorted(key=str.upper)), hexadecimal literals (int(s, 16) wrapped to 32 bits), and random expression trees written
in the parser's syntax with the fewest brackets its precedence needs, valued by Python on the fully bracketed tree.
Run: /usr/bin/python3 tests/data/gen_parser_golden.py   (writes parser_golden.inc)
"""
import random

from golden import lit, write

rng = random.Random(2025)

# ---- Dictionary order -------------------------------------------------------------------------------------------
NAMES = ["pi", "sqrt2pi", "_x", "x_", "a1", "a_", "aa", "a", "z9", "zz", "ln2", "ln10", "log2", "log10", "-@",
         "+@", "^@", "^", ":=", "<=", "<>", ">=", "!", "%", "(", ")", ",", ";", "1abc", "9", "__", "_", "max",
         "min", "xor", "or", "in", "if", "i", "cnan", "nan", "inf", "cinf", "~", "[", "{", "`", "|", "&"]
order_lines = ["static const char* const kDictionaryOrder[] = {"]
order_lines += ['    "%s",' % n for n in sorted(NAMES, key=str.upper)]
order_lines += ["};"]

# ---- Hexadecimal literals ---------------------------------------------------------------------------------------
HEX = ["0", "1", "ff", "7fffffff", "80000000", "ffffffff", "fffffffe", "deadbeef", "000000001", "0000000ff",
       "abc", "10", "123456789", "fffffffff", "100000000"]
hex_lines = ["static const THexCase kHexCases[] = {"]
for h in HEX:
    v = int(h, 16)
    ok = v <= 0xFFFFFFFF
    w = v - (1 << 32) if ok and v >= (1 << 31) else v
    hex_lines.append('    {"%s", %s, %d},' % (h, "true" if ok else "false", w if ok else 0))
hex_lines.append("};")

# ---- Random expression trees ------------------------------------------------------------------------------------
# Precedence numbers of the language (lower binds tighter); all binary operators associate to the left, and the
# unary minus binds tighter than every binary operator.
PREC = {"^": 20, "*": 30, "/": 30, "+": 40, "-": 40}
VARS = {"a": 1.25, "b": -0.75}


def leaf(with_vars):
    r = rng.random()
    if with_vars and r < 0.5:
        name = rng.choice(sorted(VARS))
        return ("var", name)
    return ("num", rng.choice(["1", "2", "3", "0.5", "1.5", "2.25", "4", "0.125"]))


def tree(depth, with_vars):
    if depth == 0 or rng.random() < 0.25:
        return leaf(with_vars)
    r = rng.random()
    if r < 0.12:
        return ("neg", tree(depth - 1, with_vars))
    if r < 0.24:
        # integer powers only, so that every value is real for Python
        return ("^", tree(depth - 1, with_vars), ("num", rng.choice(["1", "2", "3"])))
    return (rng.choice("+-*/"), tree(depth - 1, with_vars), tree(depth - 1, with_vars))


def ours(t):
    """Our syntax with the fewest brackets."""
    kind = t[0]
    if kind in ("num", "var"):
        return t[1]
    if kind == "neg":
        inner = t[1]
        s = ours(inner)
        return "-" + (s if inner[0] in ("num", "var") else "(" + s + ")")
    op, l, r = t
    ls, rs = ours(l), ours(r)
    if l[0] in PREC and PREC[l[0]] > PREC[op]:
        ls = "(" + ls + ")"
    if r[0] in PREC and PREC[r[0]] >= PREC[op]:
        rs = "(" + rs + ")"
    return ls + " " + op + " " + rs


def has_var(t):
    return t[0] == "var" or (t[0] not in ("num", "var") and any(has_var(c) for c in t[1:]))


def python(t):
    """Fully bracketed for Python."""
    kind = t[0]
    if kind == "num":
        return t[1]
    if kind == "var":
        return "(%r)" % VARS[t[1]]
    if kind == "neg":
        return "(-" + python(t[1]) + ")"
    op, l, r = t
    return "(" + python(l) + (" ** " if op == "^" else " " + op + " ") + python(r) + ")"


expr_lines = ["static const TExprCase kExprCases[] = {"]
count = 0
while count < 300:
    with_vars = count % 2 == 0
    t = tree(rng.choice([2, 3, 4, 5]), with_vars)
    if t[0] in ("num", "var"):
        continue
    try:
        v = eval(python(t))
    except (ZeroDivisionError, OverflowError):
        continue
    if abs(v) > 1e12:
        continue
    expr_lines.append('    {"%s", %s, %s},' % (ours(t), "true" if has_var(t) else "false", lit(v)))
    count += 1
expr_lines.append("};")

write("parser_golden.inc", order_lines + hex_lines + expr_lines,
      "kDictionaryOrder; kHexCases { digits, valid, value }; kExprCases { text, uses a and b, value }")
