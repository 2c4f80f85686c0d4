#!/usr/bin/env python3
"""Makes the eight key sounds of Palcomir as 16-bit mono wave files.

    python3 tools/sounds/make_sounds.py resources/sounds

Clips 1-4 are the typewriter set, 5-8 the electronic set; in each set the
first clip is a key strike, the second and third the carriage return (the
same sound twice) and the fourth the error sound. Everything is synthesised
here from a fixed random seed, so the files come out the same every time.
"""

import math
import random
import struct
import sys
import wave
from pathlib import Path

RATE = 22050


def envelope(n, attack, decay):
    """Fast attack, exponential decay; attack and decay in samples."""
    out = []
    for i in range(n):
        a = min(1.0, i / attack) if attack else 1.0
        out.append(a * math.exp(-i / decay))
    return out


def mix(*tracks):
    n = max(len(t) for t in tracks)
    return [sum(t[i] for t in tracks if i < len(t)) for i in range(n)]


def silence(seconds):
    return [0.0] * int(RATE * seconds)


def noise_burst(rng, seconds, decay_s, lowpass=0.5):
    n = int(RATE * seconds)
    env = envelope(n, int(RATE * 0.0004), RATE * decay_s)
    out, prev = [], 0.0
    for i in range(n):
        prev = lowpass * prev + (1 - lowpass) * rng.uniform(-1, 1)
        out.append(prev * env[i])
    return out


def tone(freq, seconds, decay_s, shape="sine", attack_s=0.002):
    n = int(RATE * seconds)
    env = envelope(n, int(RATE * attack_s), RATE * decay_s)
    out = []
    for i in range(n):
        phase = 2 * math.pi * freq * i / RATE
        if shape == "square":
            v = 1.0 if math.sin(phase) >= 0 else -1.0
            v *= 0.5
        else:
            v = math.sin(phase)
        out.append(v * env[i])
    return out


def typewriter_key(rng):
    # A sharp type-bar strike on the platen with a dull thump under it.
    strike = noise_burst(rng, 0.06, 0.008, lowpass=0.2)
    thump = tone(180, 0.06, 0.015)
    return mix([s * 0.9 for s in strike], [t * 0.5 for t in thump])


def typewriter_return(rng):
    # The margin bell, then the carriage ratchet sliding back.
    bell = mix(tone(2093, 0.45, 0.18), [v * 0.4 for v in tone(4186, 0.45, 0.09)])
    ratchet = []
    for _ in range(6):
        ratchet += noise_burst(rng, 0.012, 0.003, lowpass=0.3) + silence(0.014)
    return mix([b * 0.5 for b in bell], silence(0.05) + [r * 0.6 for r in ratchet])


def typewriter_error(rng):
    # A jammed key: two dull knocks.
    knock = mix(noise_burst(rng, 0.05, 0.012, lowpass=0.7), tone(110, 0.05, 0.02))
    return knock + silence(0.04) + knock


def electronic_key(_rng):
    return tone(1800, 0.035, 0.010, attack_s=0.0005)


def electronic_return(_rng):
    return mix(tone(880, 0.09, 0.05), silence(0.08) + tone(1320, 0.12, 0.05))


def electronic_error(_rng):
    return tone(220, 0.18, 0.12, shape="square", attack_s=0.001)


def write_wave(path, samples, peak=0.8):
    top = max(abs(s) for s in samples) or 1.0
    frames = b"".join(struct.pack("<h", int(round(s / top * peak * 32767))) for s in samples)
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


def main():
    target = Path(sys.argv[1] if len(sys.argv) > 1 else "resources/sounds")
    target.mkdir(parents=True, exist_ok=True)
    rng = random.Random(1201)
    sets = [
        (typewriter_key, typewriter_return, typewriter_error),
        (electronic_key, electronic_return, electronic_error),
    ]
    number = 1
    for key, carriage, error in sets:
        ret = carriage(rng)
        for samples in (key(rng), ret, ret, error(rng)):
            write_wave(target / f"wave{number}.wav", samples)
            number += 1


if __name__ == "__main__":
    main()
