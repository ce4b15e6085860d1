"""Times loading a large record in Python against `cvdr info` on it.

    /usr/bin/python3 bench/python_load.py [BUILD_FOLDER] [SAMPLES]

Writes a record of 7 analog channels with SAMPLES samples each (default one
million) and events every 500 samples to a temporary folder, then prints the
best of three runs of `cvdr info` (which decodes the whole record but reads no
samples) and of dr_mvq4.load (which also reads every sample into arrays), and
their ratio. The package should stay within 1.3 times cvdr.
"""
import math
import os
import pathlib
import subprocess
import sys
import tempfile
import time

ROOT = pathlib.Path(__file__).resolve().parents[1]
BUILD = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ROOT / "build").resolve()
SAMPLES = int(sys.argv[2]) if len(sys.argv) > 2 else 1_000_000
sys.path.insert(0, str(BUILD / "python"))
import dr_mvq4  # noqa: E402

FIRST = 52000
CHANNELS = [(1000 + i, f"Measurements/Bench/A{i}") for i in range(7)]
SIGNALS = [(2000 + i, f"Protection/Bench/S{i}") for i in range(4)]


def write_record(path):
    with open(path, "w", encoding="utf-8") as out:
        out.write('<?xml version="1.0" encoding="UTF-8"?>\n<DistFile>\n<DistHeader>\n<Common>\n'
                  '<Device Name="BNC01" Version="01.00.00" />\n'
                  '<Timing sampleDuration="0.001" timeAdjust1="1" timeAdjust2="1000000" />\n'
                  '</Common>\n<AnalogHeader viewExtension="withModuleNode">\n')
        for channel_id, key in CHANNELS:
            out.write(f'<Analog id="{channel_id}" _key="{key}" unitId="1" _unit="A">'
                      '<Scale scaleFactor="0.1" scaleOffset="0" /></Analog>\n')
        out.write("</AnalogHeader>\n<DigitalHeader>\n")
        for signal_id, key in SIGNALS:
            out.write(f'<Digital id="{signal_id}" _key="{key}" normalState="0" />\n')
        out.write("</DigitalHeader>\n</DistHeader>\n<DistData>\n<Common>\n"
                  f'<Trigger timeCount="1773480413000000" timeOffset="125000" timeSample="{FIRST + SAMPLES // 4}" '
                  'timezoneOffset="3600" dstOffset="0" />\n<EventLost noOfLosts="0" />\n</Common>\n<Traces>\n')
        period = " ".join(str(round(30000 * math.sin(2 * math.pi * i / 20))) for i in range(20))
        values = " ".join([period] * (SAMPLES // 20))
        for channel_id, _ in CHANNELS:
            out.write(f'<Trace><TGeneral id="{channel_id}" numberOfSample="{SAMPLES // 20 * 20}" />'
                      f'<Data sampleCount="{FIRST}" values="{values}" /></Trace>\n')
        out.write("</Traces>\n<Events>\n")
        for number, sample in enumerate(range(500, SAMPLES, 500)):
            out.write(f'<EventSet><EGeneral timeSample="{FIRST + sample}" />')
            for signal_id, _ in SIGNALS:
                out.write(f'<Event id="{signal_id}" no="1" value="{(number + 1) % 2}" previousValue="{number % 2}" />')
            out.write("</EventSet>\n")
        out.write("</Events>\n<StateImage>\n")
        for signal_id, _ in SIGNALS:
            out.write(f'<Data id="{signal_id}" value="0" />\n')
        out.write("</StateImage>\n</DistData>\n</DistFile>\n")


def best_of_three(run):
    times = []
    for _ in range(3):
        start = time.perf_counter()
        run()
        times.append(time.perf_counter() - start)
    return min(times)


with tempfile.TemporaryDirectory() as folder:
    record = os.path.join(folder, "bench.xml")
    write_record(record)
    cvdr = best_of_three(lambda: subprocess.run([str(BUILD / "bin" / "cvdr"), "info", record], check=True,
                                                stdout=subprocess.DEVNULL))
    package = best_of_three(lambda: dr_mvq4.load(record))
    loaded = dr_mvq4.load(record)
    print(f"record: {loaded.sample_count} samples, {len(loaded.analog)} analog, {len(loaded.digital)} digital,"
          f" {os.path.getsize(record) // 1000000} MB")
    print(f"cvdr info:     {cvdr:.3f} s")
    print(f"dr_mvq4.load:  {package:.3f} s  ({package / cvdr:.2f} x cvdr info)")
