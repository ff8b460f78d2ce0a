#!/usr/bin/env python3
"""Test signal and gain measurement for the real-host check.

  measure.py signal FREQ SECONDS OUT.wav OUT.f32
      A stereo sine at FREQ Hz, 48 kHz, the right channel quieter and phase-shifted so that
      swapped or duplicated channels show up as a gain error. Written as a 32-bit float WAV
      (for plughost) and as raw interleaved little-endian floats (for the session script).

  measure.py compare FREQ EXPECT_DB SIGNAL.wav REFERENCE.wav NAME:LEFT.wav,RIGHT.wav ...
      Measures the gain at FREQ of each channel of the reference output and of every named
      take (two mono files), prints them, and exits 1 unless every take is within TOLERANCE_DB
      of the reference on both channels and the reference is near EXPECT_DB.

Only the standard library: the check must run wherever the host does.
"""
import math
import struct
import sys

RATE = 48000
TOLERANCE_DB = 0.3
# The reference itself must show the band at work; a plug-in that ignored the setting would
# otherwise pass by agreeing with itself.
REFERENCE_SLACK_DB = 1.0
AMPLITUDES = (0.1, 0.04)
PHASES = (0.0, 1.0)
# The measured window skips the filters' settling and the host's fade-in at the start of a take,
# and stops short of the end: the host may start a recording up to a few blocks before the
# signal reaches it.
SETTLE_SECONDS = 0.4
END_MARGIN_SECONDS = 0.2

FORMAT_PCM, FORMAT_FLOAT, FORMAT_EXTENSIBLE = 1, 3, 0xFFFE


def write_signal(freq, seconds, wav_path, raw_path):
    frames = int(round(seconds * RATE))
    samples = []
    for i in range(frames):
        t = 2.0 * math.pi * freq * i / RATE
        samples.extend(a * math.sin(t + p) for a, p in zip(AMPLITUDES, PHASES))
    data = struct.pack("<%df" % len(samples), *samples)
    with open(raw_path, "wb") as raw:
        raw.write(data)
    fmt = struct.pack("<HHIIHH", FORMAT_FLOAT, 2, RATE, RATE * 8, 8, 32)
    with open(wav_path, "wb") as wav:
        wav.write(b"RIFF" + struct.pack("<I", 4 + 8 + len(fmt) + 8 + len(data)) + b"WAVE")
        wav.write(b"fmt " + struct.pack("<I", len(fmt)) + fmt)
        wav.write(b"data" + struct.pack("<I", len(data)) + data)


def read_wav(path):
    """Returns (sample rate, list of channels) of a PCM or float WAV file."""
    with open(path, "rb") as f:
        blob = f.read()
    if blob[:4] != b"RIFF" or blob[8:12] != b"WAVE":
        raise ValueError("%s is not a WAV file" % path)
    pos, fmt, data = 12, None, None
    while pos + 8 <= len(blob):
        chunk, size = blob[pos:pos + 4], struct.unpack("<I", blob[pos + 4:pos + 8])[0]
        body = blob[pos + 8:pos + 8 + size]
        if chunk == b"fmt ":
            fmt = body
        elif chunk == b"data":
            data = body
        pos += 8 + size + (size & 1)
    if fmt is None or data is None:
        raise ValueError("%s has no fmt or data chunk" % path)
    tag, channels, rate, _, _, bits = struct.unpack("<HHIIHH", fmt[:16])
    if tag == FORMAT_EXTENSIBLE:
        tag = struct.unpack("<H", fmt[24:26])[0]
    width = bits // 8
    count = len(data) // width
    if tag == FORMAT_FLOAT and bits in (32, 64):
        values = struct.unpack("<%d%s" % (count, "f" if bits == 32 else "d"), data[:count * width])
    elif tag == FORMAT_PCM and bits in (16, 32):
        scale = float(1 << (bits - 1))
        values = [v / scale for v in struct.unpack("<%d%s" % (count, "h" if bits == 16 else "i"),
                                                    data[:count * width])]
    elif tag == FORMAT_PCM and bits == 24:
        values = [int.from_bytes(data[i:i + 3], "little", signed=True) / 8388608.0
                  for i in range(0, count * 3, 3)]
    else:
        raise ValueError("%s: unsupported sample format %d/%d bits" % (path, tag, bits))
    return rate, [list(values[c::channels]) for c in range(channels)]


def amplitude(samples, freq, start, end):
    """Amplitude of the FREQ component over [start, end), by a least-squares sine fit."""
    ss = sc = cc = xs = xc = 0.0
    w = 2.0 * math.pi * freq / RATE
    for i in range(start, end):
        s, c, x = math.sin(w * i), math.cos(w * i), samples[i]
        ss += s * s
        sc += s * c
        cc += c * c
        xs += x * s
        xc += x * c
    det = ss * cc - sc * sc
    a = (xs * cc - xc * sc) / det
    b = (xc * ss - xs * sc) / det
    return math.hypot(a, b)


def gains_db(signal, output, freq):
    """Per-channel gain in dB of output against signal, over the settled part of the signal."""
    start, end = int(SETTLE_SECONDS * RATE), len(signal[0]) - int(END_MARGIN_SECONDS * RATE)
    if end - start < RATE // 10:
        raise ValueError("signal too short to measure")
    result = []
    for source, recorded in zip(signal, output):
        if len(recorded) < end:
            raise ValueError("output is shorter than the signal (%d < %d frames)" % (len(recorded), end))
        level = amplitude(recorded, freq, start, end)
        if level <= 0.0:
            raise ValueError("output is silent")
        result.append(20.0 * math.log10(level / amplitude(source, freq, start, end)))
    return result


def load_mono_pair(pair):
    paths = pair.split(",")
    if len(paths) != 2:
        raise ValueError("a take is LEFT.wav,RIGHT.wav: %s" % pair)
    channels = []
    for path in paths:
        rate, data = read_wav(path)
        if rate != RATE or len(data) != 1:
            raise ValueError("%s: expected a mono file at %d Hz, got %d channel(s) at %d Hz"
                             % (path, RATE, len(data), rate))
        channels.append(data[0])
    return channels


def compare(freq, expect_db, signal_path, reference_path, takes):
    _, signal = read_wav(signal_path)
    rate, reference = read_wav(reference_path)
    if rate != RATE or len(reference) != 2:
        raise ValueError("%s: expected stereo at %d Hz" % (reference_path, RATE))
    ref = gains_db(signal, reference, freq)
    print("  gain at %g Hz       left      right" % freq)
    print("  %-18s %+8.3f dB %+8.3f dB" % ("plughost", ref[0], ref[1]))
    failures = []
    for channel, value in zip(("left", "right"), ref):
        if abs(value - expect_db) > REFERENCE_SLACK_DB:
            failures.append("plughost %s channel: %+.3f dB, but the band is set to %+g dB"
                            % (channel, value, expect_db))
    for take in takes:
        name, files = take.split(":", 1)
        got = gains_db(signal, load_mono_pair(files), freq)
        print("  %-18s %+8.3f dB %+8.3f dB   (differs by %.4f / %.4f dB)"
              % (name, got[0], got[1], abs(got[0] - ref[0]), abs(got[1] - ref[1])))
        for channel, value, want in zip(("left", "right"), got, ref):
            if abs(value - want) > TOLERANCE_DB:
                failures.append("%s %s channel: %+.3f dB, plughost %+.3f dB (tolerance %.1f dB)"
                                % (name, channel, value, want, TOLERANCE_DB))
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


def main(argv):
    try:
        if len(argv) == 6 and argv[1] == "signal":
            write_signal(float(argv[2]), float(argv[3]), argv[4], argv[5])
            return 0
        if len(argv) >= 7 and argv[1] == "compare":
            return compare(float(argv[2]), float(argv[3]), argv[4], argv[5], argv[6:])
    except (OSError, ValueError) as error:
        print("FAIL: %s" % error)
        return 1
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
