#!/usr/bin/env python3
"""The summary, dips, band coverage and trim advice of the shared antenna
sweeps, worked out apart from the C++ code, for the table of
tests/TrimAnalysisTest.cpp.

    python3 tests/data/trim_figures.py ../shared/antenna-data

Standard library only. Reads each NAME.csv (freq_hz,swr,r_ohm,x_ohm) and
prints one line per figure in the compact form the test's table quotes:
frequencies in Hz to 3 decimals, SWR to 4, percent to 6, metres to 6.
"""

import csv
import os
import sys

SETS = ["efhw-8band-hf", "efhw-untuned-hf", "vertical-hf-choke",
        "lwa-dipole-ns", "magloop-20m", "slimjim-2m"]

# The amateur bands of the analyzer's band list (name, start, end in Hz).
HAM_BANDS = [("10 Mtrs", 28.0e6, 29.7e6), ("12 Mtrs", 24.89e6, 24.99e6),
             ("15 Mtrs", 21.0e6, 21.45e6), ("17 Mtrs", 18.068e6, 18.168e6),
             ("20 Mtrs", 14.0e6, 14.35e6), ("30 Mtrs", 10.1e6, 10.15e6),
             ("40 Mtrs", 7.0e6, 7.3e6), ("60 Mtrs", 5.3305e6, 5.4035e6),
             ("80 Mtrs", 3.5e6, 4.0e6), ("160 Mtrs", 1.8e6, 2.0e6),
             ("6 Mtrs", 50.0e6, 54.0e6)]


def load(path):
    with open(path, newline="") as f:
        rows = list(csv.DictReader(f))
    return [(float(r["freq_hz"]), float(r["swr"]), float(r["x_ohm"])) for r in rows]


def zero_crossings(pts):
    out = []
    for i, (f, _, x) in enumerate(pts):
        if x == 0:
            out.append(f)
        if i + 1 < len(pts):
            f2, _, x2 = pts[i + 1]
            if x * x2 < 0:
                out.append(f + (0 - x) / (x2 - x) * (f2 - f))
    return out


def nearest(candidates, hz):
    best = None
    for c in candidates:
        if best is None or abs(c - hz) < abs(best - hz) or (abs(c - hz) == abs(best - hz) and c < best):
            best = c
    return best


def run_edges(pts, i, j, t):
    """The edges of the run of points i..j at or below t: each interpolated
    to t where the run stops short of the sweep's end."""
    low = pts[i][0] if i == 0 else crossing_at(pts[i - 1], pts[i], t)
    high = pts[j][0] if j == len(pts) - 1 else crossing_at(pts[j], pts[j + 1], t)
    return min(low, high), max(low, high)


def summary(pts):
    """The lowest SWR (the first of equals), the resonance nearest it, and the
    runs at or below 2 and 1.5 around it."""
    k = min(range(len(pts)), key=lambda n: (pts[n][1], n))
    runs = []
    for t in (2.0, 1.5):
        if pts[k][1] > t:
            runs.append(None)
            continue
        i = j = k
        while i > 0 and pts[i - 1][1] <= t:
            i -= 1
        while j + 1 < len(pts) and pts[j + 1][1] <= t:
            j += 1
        runs.append(run_edges(pts, i, j, t))
    return pts[k][1], pts[k][0], nearest(zero_crossings(pts), pts[k][0]), runs


def dips(pts, t):
    """Maximal runs with swr <= t: (min_swr, its Hz, low, high, resonance)."""
    found = []
    i = 0
    while i < len(pts):
        if pts[i][1] > t:
            i += 1
            continue
        j = i
        while j + 1 < len(pts) and pts[j + 1][1] <= t:
            j += 1
        low, high = run_edges(pts, i, j, t)
        k = min(range(i, j + 1), key=lambda n: (pts[n][1], n))
        inside = [c for c in zero_crossings(pts) if low <= c <= high]
        found.append((pts[k][1], pts[k][0], low, high, nearest(inside, pts[k][0])))
        i = j + 1
    return sorted(found, key=lambda d: d[2])


def crossing_at(a, b, t):
    # where the straight line between two points (f, swr) takes swr == t
    return a[0] + (b[0] - a[0]) * (t - a[1]) / (b[1] - a[1])


def swr_at(pts, hz):
    for a, b in zip(pts, pts[1:]):
        if min(a[0], b[0]) <= hz <= max(a[0], b[0]):
            if hz == a[0]:
                return a[1]
            if hz == b[0]:
                return b[1]
            return a[1] + (b[1] - a[1]) * (hz - a[0]) / (b[0] - a[0])
    return pts[0][1] if hz == pts[0][0] else None


def bands(pts):
    lo = min(pts[0][0], pts[-1][0])
    hi = max(pts[0][0], pts[-1][0])
    out = []
    for name, start, end in sorted(HAM_BANDS, key=lambda b: b[1]):
        if start < lo or end > hi:
            continue
        centre = (start + end) / 2
        edges = [(start, swr_at(pts, start)), (centre, swr_at(pts, centre)), (end, swr_at(pts, end))]
        cands = edges + [(f, s) for f, s, _ in pts if start <= f <= end]
        best = min(cands, key=lambda c: (c[1], c[0]))
        out.append((name, start, end, edges[0][1], edges[1][1], edges[2][1], best[1], best[0],
                    all(s <= 2.0 for _, s in cands)))
    return out


def trim_from(pts, target):
    """The resonance nearest the target among those inside a dip of 2:1, a
    dip without one counting by its lowest point; without any such dip, the
    nearest resonance, else the lowest point."""
    crossings = zero_crossings(pts)
    own = []
    for d in dips(pts, 2.0):
        inside = [c for c in crossings if d[2] <= c <= d[3]]
        own += inside if inside else [d[1]]
    if own:
        return nearest(own, target)
    res = nearest(crossings, target)
    if res is not None:
        return res
    return min(pts, key=lambda p: p[1])[0]


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "../shared/antenna-data"
    for name in SETS:
        pts = load(os.path.join(folder, name + ".csv"))
        swr, hz, res, runs = summary(pts)
        print("%s summary: %d points, %.4f@%.3f res %s 2:1 %s 1.5:1 %s" %
              (name, len(pts), swr, hz, "null" if res is None else "%.3f" % res,
               *("null" if r is None else "%.3f-%.3f" % r for r in runs)))
        for d in dips(pts, 3.0):
            res = "null" if d[4] is None else "%.3f" % d[4]
            print("%s dips 3: %.4f@%.3f %.3f-%.3f res %s" % ((name,) + d[:4] + (res,)))
        for b in bands(pts):
            print("%s band %s: %.4f %.4f %.4f min %.4f@%.3f %s" %
                  ((name, b[0]) + b[3:8] + ("within" if b[8] else "above",)))
        target, length = 14.175e6, 20.3
        f = trim_from(pts, target)
        factor = f / target - 1
        print("%s trim %.3f: from %.3f percent %.6f change %.6f" %
              (name, target, f, 100 * factor, length * factor))


if __name__ == "__main__":
    main()
