#!/usr/bin/env python3
"""Writes the seed inputs of the container_entries fuzz target
(ContainerEntriesFuzzer.cpp describes the layout) into
fuzz/corpus/container_entries/, from the entries of the bundled example
container: all of them with the meta data left to the harness, the record
alone, and all of them with the example's own meta data."""
import pathlib
import struct
import zipfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
OUT = ROOT / "fuzz" / "corpus" / "container_entries"


def entries_input(entries):
    out = bytes([len(entries)])
    for name, content in entries:
        encoded = name.encode("latin-1")
        out += bytes([len(encoded)]) + encoded + struct.pack("<I", len(content)) + content
    return out


def main():
    with zipfile.ZipFile(ROOT / "examples" / "earth_fault_L1.zip") as archive:
        entries = [(info.filename, archive.read(info)) for info in archive.infolist()]
    without_meta = [entry for entry in entries if entry[0] != "MetaData"]
    OUT.mkdir(parents=True, exist_ok=True)
    seeds = {
        "example_entries": without_meta,
        "record_only": [entry for entry in entries if entry[0] == "RecorderData"],
        "example_with_its_meta_data": entries,
    }
    for name, seed in seeds.items():
        (OUT / name).write_bytes(entries_input(seed))


if __name__ == "__main__":
    main()
