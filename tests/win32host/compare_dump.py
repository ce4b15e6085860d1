#!/usr/bin/env python3
"""Compares what msvc_host printed with what `cvdr dump --json` wrote for the
same record, field by field.

    compare_dump.py HOST_OUTPUT CVDR_JSON HOST_PATH CVDR_PATH

The host writes strings as "h:" + hex bytes and non-integral numbers as
"d:" + hex IEEE bits; both are turned back into text and floats here. The
record's file name is the path each host was given, so HOST_PATH and
CVDR_PATH stand for each other. Exit status 0 when everything is equal,
1 with the differing fields listed otherwise.
"""
import json
import math
import struct
import sys

NON_FINITE = {"nan": math.nan, "inf": math.inf, "-inf": -math.inf}


def decode_host(value):
    if isinstance(value, dict):
        return {key: decode_host(item) for key, item in value.items()}
    if isinstance(value, list):
        return [decode_host(item) for item in value]
    if isinstance(value, str) and value.startswith("h:"):
        return bytes.fromhex(value[2:]).decode("utf-8", errors="replace")
    if isinstance(value, str) and value.startswith("d:"):
        return struct.unpack(">d", bytes.fromhex(value[2:]))[0]
    return value


def same(host, cvdr):
    if isinstance(host, float):
        if isinstance(cvdr, str):
            cvdr = NON_FINITE.get(cvdr, cvdr)
        if not isinstance(cvdr, (int, float)) or isinstance(cvdr, bool):
            return False
        return (math.isnan(host) and math.isnan(cvdr)) or host == cvdr
    return type(host) is type(cvdr) and host == cvdr


def differences(host, cvdr, path="$"):
    if isinstance(host, dict) and isinstance(cvdr, dict):
        if list(host) != list(cvdr):
            yield f"{path}: keys {list(host)} != {list(cvdr)}"
            return
        for key in host:
            yield from differences(host[key], cvdr[key], f"{path}.{key}")
    elif isinstance(host, list) and isinstance(cvdr, list):
        if len(host) != len(cvdr):
            yield f"{path}: {len(host)} items != {len(cvdr)}"
            return
        for index, (a, b) in enumerate(zip(host, cvdr)):
            yield from differences(a, b, f"{path}[{index}]")
    elif not same(host, cvdr):
        yield f"{path}: {host!r} != {cvdr!r}"


def main(host_output, cvdr_json, host_path, cvdr_path):
    with open(host_output, encoding="ascii") as stream:
        host = decode_host(json.load(stream))
    with open(cvdr_json, encoding="utf-8") as stream:
        cvdr = json.load(stream)
    if host["file"]["name"] == host_path and cvdr["file"]["name"] == cvdr_path:
        host["file"]["name"] = cvdr_path
    found = list(differences(host, cvdr))
    for line in found[:20]:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
