#!/usr/bin/python3
"""Synthesises src/resources/MenuPop.wav, the soft pop a tap on the tool button plays.

A sine whose pitch falls quickly from 900 Hz to 220 Hz under a short rise and an exponential
decay: 40 ms, 16-bit mono PCM at 22050 Hz, peaking at a third of full scale. The tap waits until
the sound has played, so it stays short. Only the standard library is needed.
"""

import math
import pathlib
import struct
import wave

RATE = 22050
LENGTH_MS = 40
START_HZ, END_HZ = 900.0, 220.0
RISE_MS = 1.5
DECAY_MS = 7.0
PEAK = 0.33


def samples():
    count = RATE * LENGTH_MS // 1000
    phase = 0.0
    for i in range(count):
        t = i / RATE
        progress = i / count
        pitch = START_HZ * (END_HZ / START_HZ) ** progress
        phase += 2 * math.pi * pitch / RATE
        rise = min(1.0, t * 1000 / RISE_MS)
        decay = math.exp(-t * 1000 / DECAY_MS)
        # The last millisecond goes smoothly to silence, so the pop ends without a click.
        tail = min(1.0, (count - 1 - i) / (RATE / 1000))
        yield round(32767 * PEAK * rise * decay * tail * math.sin(phase))


def main():
    path = pathlib.Path(__file__).resolve().parent.parent / "src" / "resources" / "MenuPop.wav"
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", s) for s in samples()))


if __name__ == "__main__":
    main()
