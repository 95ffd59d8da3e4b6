#!/usr/bin/env python3
"""Writes tools/fit-reference/FitReferences.h: data sets with exact decimal inputs and their exact
least-squares results, computed in rational arithmetic (square roots to 50 digits); and for the
York fit (errors in x and y), Pearson's data with York's weights, as published, and the same data
moved 10^6 along x, with the solution iterated in 50-digit decimal arithmetic.

Run from the repository root:  python3 tools/fit-reference/make_fit_references.py
"""
from decimal import Decimal, getcontext, localcontext
from fractions import Fraction
import sys

getcontext().prec = 60


def base_rows():
    """41 points, x from 0 to 1000, slope near 1, scattered y, errors of y from 0.5 to 1.25."""
    rows = []
    for i in range(41):
        x = Decimal(25 * i)
        noise = Decimal((i * 37) % 19 - 9) / 10
        y = x * Decimal("1.0003") + Decimal("2.5") + noise
        e = Decimal("0.5") + Decimal(i % 4) * Decimal("0.25")
        rows.append((x, y, e))
    return rows


def data_sets():
    sets = []
    for name, shift in (("unshifted", 0), ("shift_1e6", 10**6), ("shift_1e8", 10**8)):
        sets.append((name, [(x + shift, y, e) for x, y, e in base_rows()]))
    return sets


def sqrt(q):
    return (Decimal(q.numerator) / Decimal(q.denominator)).sqrt()


def simple(rows):
    xs = [Fraction(x) for x, _, _ in rows]
    ys = [Fraction(y) for _, y, _ in rows]
    n = len(rows)
    sx, sy = sum(xs), sum(ys)
    sxx = sum(x * x for x in xs)
    syy = sum(y * y for y in ys)
    sxy = sum(x * y for x, y in zip(xs, ys))
    delta = n * sxx - sx * sx
    a = (n * sxy - sx * sy) / delta
    b = (sy * sxx - sx * sxy) / delta
    s = sum((a * x + b - y) ** 2 for x, y in zip(xs, ys))
    var_y = s / (n - 2)
    return {
        "A": Decimal(a.numerator) / Decimal(a.denominator),
        "B": Decimal(b.numerator) / Decimal(b.denominator),
        "ErrorY": sqrt(var_y),
        "ErrorA": sqrt(n * var_y / delta),
        "ErrorB": sqrt(sxx * var_y / delta),
        "r": sqrt((n * sxy - sx * sy) ** 2 / ((n * syy - sy * sy) * delta)),
    }


def weighted(rows):
    xs = [Fraction(x) for x, _, _ in rows]
    ys = [Fraction(y) for _, y, _ in rows]
    es = [Fraction(e) for _, _, e in rows]
    ps = [1 / (e * e) for e in es]
    n = len(rows)
    sw = sum(ps)
    swx = sum(p * x for p, x in zip(ps, xs))
    swy = sum(p * y for p, y in zip(ps, ys))
    swxy = sum(p * x * y for p, x, y in zip(ps, xs, ys))
    swxx = sum(p * x * x for p, x in zip(ps, xs))
    delta = sw * swxx - swx * swx
    a = (sw * swxy - swx * swy) / delta
    b = (swy * swxx - swx * swxy) / delta
    s = sum(((a * x + b - y) / e) ** 2 for x, y, e in zip(xs, ys, es))
    return {
        "A": Decimal(a.numerator) / Decimal(a.denominator),
        "B": Decimal(b.numerator) / Decimal(b.denominator),
        "ErrorA": sqrt(sw / delta),
        "ErrorB": sqrt(swxx / delta),
        "Xi": Decimal((s / (n - 2)).numerator) / Decimal((s / (n - 2)).denominator),
    }


# Pearson's data with York's weights (York 1966; York et al., Am. J. Phys. 72 (2004) 367).
PEARSON_X = ["0.0", "0.9", "1.8", "2.6", "3.3", "4.4", "5.2", "6.1", "6.5", "7.4"]
PEARSON_Y = ["5.9", "5.4", "4.4", "4.6", "3.5", "3.7", "2.8", "2.8", "2.4", "1.5"]
PEARSON_WX = ["1000", "1000", "500", "800", "200", "80", "60", "20", "1.8", "1"]
PEARSON_WY = ["1", "1.8", "4", "8", "20", "20", "70", "70", "100", "500"]


def york_sets():
    """The errors are 1/sqrt(weight). Every input is written as the exact value of the double
    nearest to it, so that the program reads what the reference computes with, and the digits
    measured are those the fit keeps, not those a decimal input loses in binary."""
    def exact(d):
        return Decimal(float(d))

    with localcontext() as ctx:
        ctx.prec = 30
        ex = [1 / Decimal(w).sqrt() for w in PEARSON_WX]
        ey = [1 / Decimal(w).sqrt() for w in PEARSON_WY]
    sets = []
    for name, shift in (("pearson_york", 0), ("pearson_york_shift_1e6", 10**6)):
        rows = [(exact(Decimal(x) + shift), exact(e1), exact(Decimal(y)), exact(e2))
                for x, e1, y, e2 in zip(PEARSON_X, ex, PEARSON_Y, ey)]
        sets.append((name, rows))
    return sets


def york(rows):
    """York et al. 2004, section III, in 50-digit decimal arithmetic, from the simple fit's slope
    until the slope changes by less than 1e-45."""
    with localcontext() as ctx:
        ctx.prec = 50
        xs = [r[0] for r in rows]
        ys = [r[2] for r in rows]
        vx = [r[1] * r[1] for r in rows]
        vy = [r[3] * r[3] for r in rows]
        n = len(rows)
        mx, my = sum(xs) / n, sum(ys) / n
        b = sum((x - mx) * (y - my) for x, y in zip(xs, ys)) / sum((x - mx) ** 2 for x in xs)

        def centre(b):
            w = [1 / (v2 + b * b * v1) for v1, v2 in zip(vx, vy)]
            sw = sum(w)
            return w, sw, sum(wi * x for wi, x in zip(w, xs)) / sw, sum(wi * y for wi, y in zip(w, ys)) / sw

        def betas(b):
            w, sw, cx, cy = centre(b)
            u = [x - cx for x in xs]
            v = [y - cy for y in ys]
            beta = [wi * (ui * v2 + b * vi * v1) for wi, ui, vi, v1, v2 in zip(w, u, v, vx, vy)]
            return w, sw, cx, cy, u, v, beta

        for _ in range(10000):
            w, sw, cx, cy, u, v, beta = betas(b)
            nb = sum(wi * bi * vi for wi, bi, vi in zip(w, beta, v)) / sum(wi * bi * ui for wi, bi, ui in zip(w, beta, u))
            done = abs(nb - b) < Decimal("1e-45")
            b = nb
            if done:
                break
        else:
            raise SystemExit("York reference did not converge")

        w, sw, cx, cy, u, v, beta = betas(b)
        a = cy - b * cx
        mean_x = cx + sum(wi * bi for wi, bi in zip(w, beta)) / sw
        adjusted_u = [cx + bi - mean_x for bi in beta]
        var_b = 1 / sum(wi * ui * ui for wi, ui in zip(w, adjusted_u))
        var_a = 1 / sw + mean_x * mean_x * var_b

        def chi2(b):
            w, sw, cx, cy = centre(b)
            return sum(wi * ((y - cy) - b * (x - cx)) ** 2 for wi, x, y in zip(w, xs, ys))

        # The slope found must minimise the χ² over the line, a check apart from the iteration.
        delta = Decimal("1e-12")
        assert chi2(b - delta) > chi2(b) < chi2(b + delta)
        return {
            "A": +b,
            "B": +a,
            "ErrorA": var_b.sqrt(),
            "ErrorB": var_a.sqrt(),
            "CovAB": -mean_x * var_b,
            "Chi2": chi2(b),
        }


def check_published(result):
    """The solution York et al. (2004) tabulate for these data."""
    assert abs(result["A"] - Decimal("-0.4805334")) < Decimal("1e-7"), result["A"]
    assert abs(result["B"] - Decimal("5.4799102")) < Decimal("1e-7"), result["B"]
    assert abs(result["ErrorA"] - Decimal("0.0580")) < Decimal("1e-4"), result["ErrorA"]
    assert abs(result["ErrorB"] - Decimal("0.2950")) < Decimal("1e-4"), result["ErrorB"]


def c_text(d):
    return '"' + format(+d, ".40E") + '"'


def main(out_path):
    lines = [
        "// Generated by tools/fit-reference/make_fit_references.py; do not edit.",
        "// Data sets with exact decimal inputs and their exact least-squares results; York fits",
        "// iterated in 50-digit arithmetic.",
        "#pragma once",
        "",
        "struct FitReferenceRow {",
        "    const char* x;",
        "    const char* y;",
        "    const char* errorY;",
        "};",
        "",
        "struct FitReference {",
        "    const char* name;",
        "    FitReferenceRow rows[41];",
        "    const char* simpleA;",
        "    const char* simpleB;",
        "    const char* simpleErrorY;",
        "    const char* simpleErrorA;",
        "    const char* simpleErrorB;",
        "    const char* simpleR;",
        "    const char* weightedA;",
        "    const char* weightedB;",
        "    const char* weightedErrorA;",
        "    const char* weightedErrorB;",
        "    const char* weightedXi;",
        "};",
        "",
        "inline const FitReference FitReferences[] = {",
    ]
    for name, rows in data_sets():
        s, w = simple(rows), weighted(rows)
        lines.append("    {")
        lines.append(f'        "{name}",')
        lines.append("        {")
        for x, y, e in rows:
            lines.append(f'            {{"{x}", "{y}", "{e}"}},')
        lines.append("        },")
        for key in ("A", "B", "ErrorY", "ErrorA", "ErrorB", "r"):
            lines.append(f"        {c_text(s[key])},")
        for key in ("A", "B", "ErrorA", "ErrorB", "Xi"):
            lines.append(f"        {c_text(w[key])},")
        lines.append("    },")
    lines.append("};")
    lines += [
        "",
        "struct YorkReferenceRow {",
        "    const char* x;",
        "    const char* errorX;",
        "    const char* y;",
        "    const char* errorY;",
        "};",
        "",
        "// The York fit: A the slope, B the intercept, their errors and covariance, and the χ².",
        "struct YorkReference {",
        "    const char* name;",
        "    YorkReferenceRow rows[10];",
        "    const char* a;",
        "    const char* b;",
        "    const char* errorA;",
        "    const char* errorB;",
        "    const char* covAB;",
        "    const char* chi2;",
        "};",
        "",
        "inline const YorkReference YorkReferences[] = {",
    ]
    for name, rows in york_sets():
        r = york(rows)
        if name == "pearson_york":
            check_published(r)
        lines.append("    {")
        lines.append(f'        "{name}",')
        lines.append("        {")
        for x, e1, y, e2 in rows:
            lines.append(f'            {{"{x}", "{e1}", "{y}", "{e2}"}},')
        lines.append("        },")
        for key in ("A", "B", "ErrorA", "ErrorB", "CovAB", "Chi2"):
            lines.append(f"        {c_text(r[key])},")
        lines.append("    },")
    lines.append("};")
    with open(out_path, "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "tools/fit-reference/FitReferences.h")
