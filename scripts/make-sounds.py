#!/usr/bin/env python3
"""Writes the program's two short sounds into res/sounds/ (mono, 16 bit, 22050 Hz).

table-ready.wav: two rising chime notes, played when both seats of a watched Yahoo! Games table
are taken. message.wav: one soft blip, played when a chat message arrives. The output is the same
on every run, so the files in the repository can be checked against this script.
"""
import math
import os
import struct
import wave

RATE = 22050


def tone(frequency, seconds, volume):
    samples = []
    count = int(RATE * seconds)
    attack = int(RATE * 0.005)
    for i in range(count):
        # A short attack and an exponential decay keep the notes free of clicks.
        envelope = min(1.0, i / attack) * math.exp(-5.0 * i / count)
        value = math.sin(2 * math.pi * frequency * i / RATE)
        value += 0.3 * math.sin(4 * math.pi * frequency * i / RATE)
        samples.append(volume * envelope * value / 1.3)
    return samples


def write(path, samples):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(round(s * 32767))) for s in samples))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = os.path.join(here, "..", "res", "sounds")
    os.makedirs(target, exist_ok=True)
    write(os.path.join(target, "table-ready.wav"), tone(784.0, 0.18, 0.6) + tone(1046.5, 0.30, 0.6))
    write(os.path.join(target, "message.wav"), tone(1318.5, 0.12, 0.45))


if __name__ == "__main__":
    main()
