#!/usr/bin/env python3
"""Writes the seed inputs of the model_folder fuzz target (ModelFolderFuzzer.cpp
describes the layout) into fuzz/corpus/model_folder/, built from the bundled
example model and its language files."""
import hashlib
import io
import pathlib
import struct
import zipfile
import zlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
MODELS = ROOT / "examples" / "models"
OUT = ROOT / "fuzz" / "corpus" / "model_folder"

MODEL = (MODELS / "CVR87_V04.10.02.dm").read_bytes()
ENG = (MODELS / "CVR87_V04.10.02.dm_L_ENG").read_bytes()
DEU = (MODELS / "CVR87_V04.10.02.dm_L_DEU").read_bytes()


def short(text):
    data = text.encode("latin-1")
    return bytes([len(data)]) + data


def folder_input(name, version, language, files):
    out = short(name) + short(version) + short(language) + bytes([len(files)])
    for file_name, content in files:
        encoded = file_name.encode("latin-1")
        if content is None:  # a folder
            out += bytes([0x80 | len(encoded)]) + encoded
        else:
            out += bytes([len(encoded)]) + encoded + struct.pack("<I", len(content)) + content
    return out


def self_checksummed(root):
    body = b'<?xml version="1.0" encoding="UTF-8"?>\n' + root + b"\n"
    digest = hashlib.md5(body).hexdigest().encode()
    return body + b"<!--CHECKSUM:" + digest + b" LENGTH:" + b"%08d" % len(body) + b"-->\n"


def device_container(model, languages):
    """A device container whose meta data checksum covers the model, the
    companion entries and the language entries in archive order."""
    entries = [("DeviceModel", model), ("SLVP", b"<SLVP/>"), ("MasterICD", b"<ICD/>"),
               ("AccessControlConfig", b"<Access/>")]
    entries += [("DeviceModel_l_" + code, text) for code, text in languages]
    digest = hashlib.md5(b"".join(text for _, text in entries)).hexdigest()
    meta = self_checksummed(('<MetaData checksumContainerData="%s" versionSyntax="1" generator="seed"/>'
                             % digest).encode())
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, text in [("MetaData", meta)] + entries:
            archive.writestr(name, text)
    return buffer.getvalue()


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    container = device_container(MODEL, [("ENG", ENG), ("DEU", DEU)])
    seeds = {
        "plain_model_and_languages": folder_input("CVR87", "04.10.02", "DEU", [
            ("CVR87_V04.10.02.dm", MODEL), ("CVR87_V04.10.02.dm_L_ENG", ENG),
            ("CVR87_V04.10.02.dm_L_DEU", DEU)]),
        "compressed_model": folder_input("CVR87", "04.10.02", "ENG", [
            ("CVR87_V04.10.02.dm_c", zlib.compress(MODEL)),
            ("cvr87_v04.10.02.DM_L_ENG_c", zlib.compress(ENG))]),
        "device_container": folder_input("CVR87", "04.10.02", "DEU", [
            ("CVR87_V04.10.02.DeCon", container), ("CVR87_V04.10.02.dm", MODEL)]),
        "new_style_line": folder_input("M87", "0100.0200", "ENG", [
            ("M87_V0100.0200.1.DeCon", container), ("M87_V0100.0200.7_Download.DeCon", container),
            ("X87_V0100.0200.7.DeCon", container)]),
        "folder_and_strays": folder_input("CVR87", "04.10.02", "ENG", [
            ("CVR87_V04.10.02.dm", None), ("CVR87_V04.10(remark).dm", MODEL),
            ("CVR87.dm", MODEL), ("CVR87_V04.10.02.dm_L_ENG", ENG), ("notes.txt", b"x")]),
    }
    for name, data in seeds.items():
        (OUT / name).write_bytes(data)


if __name__ == "__main__":
    main()
