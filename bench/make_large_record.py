#!/usr/bin/env python3
"""Writes a long record for timing `cvdr view`: CHANNELS analog channels of
SAMPLES samples each (default 48 x 400000, about 100 MB), 50 Hz sines at
5 kHz in groups of three phases with a fault from the trigger on, scaled
by 0.1, with two digital signals.

    make_large_record.py OUT.xml [CHANNELS] [SAMPLES]
"""
import math
import sys

out_path = sys.argv[1]
channels = int(sys.argv[2]) if len(sys.argv) > 2 else 48
samples = int(sys.argv[3]) if len(sys.argv) > 3 else 400000
first = 100000
trigger = first + samples // 10
per_cycle = 100  # 5 kHz
cycle = [math.cos(2 * math.pi * k / per_cycle) for k in range(per_cycle)]

with open(out_path, "w", encoding="ascii") as out:
    out.write('<?xml version="1.0" encoding="UTF-8"?>\n<DistFile>\n  <DistHeader>\n    <Common>\n')
    out.write('      <Device Name="CVR87" Version="04.10.02" />\n')
    out.write('      <Timing sampleDuration="0.0002" timeAdjust1="1" timeAdjust2="1000000" />\n    </Common>\n')
    out.write('    <AnalogHeader viewExtension="withModuleNode">\n')
    for c in range(channels):
        out.write(f'      <Analog id="{1000 + c}" _key="Measurements/Bay{c // 3 + 1}/IL{c % 3 + 1}" unitId="1925001550" _unit="A">\n')
        out.write('        <Scale scaleFactor="0.1" scaleOffset="0" />\n      </Analog>\n')
    out.write('    </AnalogHeader>\n    <DigitalHeader>\n')
    out.write('      <Digital id="7001" _key="Protection/Overcurrent/Pickup" normalState="0" />\n')
    out.write('      <Digital id="7002" _key="Protection/Overcurrent/Trip" normalState="0" />\n')
    out.write('    </DigitalHeader>\n  </DistHeader>\n  <DistData>\n    <Common>\n')
    out.write(f'      <Trigger timeCount="1773480413000000" timeOffset="250000" timeSample="{trigger}" timezoneOffset="3600" dstOffset="0" />\n')
    out.write('      <EventLost noOfLosts="0" />\n    </Common>\n    <Traces>\n')
    for c in range(channels):
        shift = (c % 3) * per_cycle // 3
        out.write(f'      <Trace>\n        <TGeneral id="{1000 + c}" numberOfSample="{samples}" />\n')
        out.write(f'        <Data sampleCount="{first}" values="')
        values = []
        for k in range(samples):
            amplitude = 6000 if (c % 3 == 0 and first + k >= trigger) else 1500
            values.append(str(round(amplitude * cycle[(k + shift + c) % per_cycle])))
        out.write(" ".join(values))
        out.write('" />\n      </Trace>\n')
    out.write('    </Traces>\n    <Events>\n')
    out.write(f'      <EventSet>\n        <EGeneral timeSample="{trigger}" />\n')
    out.write('        <Event id="7001" no="1" value="1" previousValue="0" />\n      </EventSet>\n')
    out.write(f'      <EventSet>\n        <EGeneral timeSample="{trigger + 500}" />\n')
    out.write('        <Event id="7002" no="1" value="1" previousValue="0" />\n      </EventSet>\n')
    out.write('    </Events>\n    <StateImage>\n    </StateImage>\n  </DistData>\n</DistFile>\n')
