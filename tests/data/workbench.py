#!/usr/bin/env python3
"""Works out, apart from the program, what vantrel-scan's --table and --match
must give for the shared sweeps; standard library only.

  workbench.py SHARED_DIR            the figures of the first and the lowest-SWR
                                     point of each sweep, as the rows of
                                     WorkbenchTest's table
  workbench.py --check < JSON_LINE   each network of the line's "match", with
                                     its input impedance worked out from its parts
"""
import json
import math
import sys

SWEEPS = ["magloop-20m", "vertical-hf-choke"]


def figures(f, s, r, x):
    rho = (s - 1) / (s + 1) if s >= 1 else None
    rl = -20 * math.log10(rho) if rho else None
    w = 2 * math.pi * f
    return [rl, rho, math.hypot(r, x), math.degrees(math.atan2(x, r)),
            abs(x) / r if r > 0 else None,
            x / w if x > 0 else None, -1 / (w * x) if x < 0 else None]


def rows(shared):
    for name in SWEEPS:
        with open(f"{shared}/antenna-data/{name}.csv") as table:
            points = [[float(v) for v in line.split(",")] for line in table.read().split()[1:]]
        swrs = [p[1] for p in points]
        for i in sorted({0, swrs.index(min(swrs))}):
            values = ", ".join("kNone" if v is None else repr(v) for v in figures(*points[i]))
            print(f'        {{"{name}", {i}, {values}}},')


def input_impedance(network, f):
    w = 2 * math.pi * f
    reactance = {"L": lambda v: w * v, "C": lambda v: -1 / (w * v)}
    susceptance = {"L": lambda v: -1 / (w * v), "C": lambda v: w * v}
    series = network["series"]
    shunt = network["shunt"]
    xs = reactance[series["part"]](series["value"]) if series else 0
    b = susceptance[shunt["part"]](shunt["value"]) if shunt else 0
    return xs, b


def check(line):
    match = json.loads(line)["match"]
    f, z = match["freq_hz"], complex(match["r_ohm"], match["x_ohm"])
    print(f"load {z} ohm at {f} Hz")
    for network in match["networks"]:
        xs, b = input_impedance(network, f)
        if network["next_to_load"] == "series":
            zin = 1 / (1 / (z + 1j * xs) + 1j * b)
        else:
            zin = 1 / (1 / z + 1j * b) + 1j * xs
        parts = {k: network[k] and f'{network[k]["part"]} {network[k]["value"]:.6g}'
                 for k in ("series", "shunt")}
        print(f'  {network["next_to_load"]:6} next to the load, series {parts["series"]},'
              f' shunt {parts["shunt"]}: input {zin.real:.12f} {zin.imag:+.3e}j ohm,'
              f' |Zin - 50| / 50 = {abs(zin - 50) / 50:.1e}')


if __name__ == "__main__":
    if sys.argv[1:] == ["--check"]:
        for line in sys.stdin:
            check(line)
    else:
        rows(sys.argv[1])
