#!/usr/bin/python3
"""Loads every .mid file in a directory with mido, an independent MIDI
reader, and compares what it finds with the listing kept beside the file
(NAME.expected): the track count, then per track each message with its
absolute tick. Exits 1 on the first file that fails to load or differs."""
import pathlib
import sys

import mido


def message_bytes(msg):
    if msg.is_meta:
        raw = bytes(msg.bytes())  # ff, kind, variable-length size, body
        i = 2
        while raw[i] & 0x80:
            i += 1
        return raw[:2] + raw[i + 1:]
    if msg.type == "sysex":
        return bytes([0xF0]) + bytes(msg.data)
    return bytes(msg.bytes())


def listing(midi):
    lines = ["tracks {}".format(len(midi.tracks))]
    for track in midi.tracks:
        lines.append("track")
        tick = 0
        for msg in track:
            tick += msg.time
            lines.append("{} {}".format(tick, message_bytes(msg).hex()))
    return "\n".join(lines) + "\n"


def check(path):
    midi = mido.MidiFile(str(path))
    if midi.type != 1 or midi.ticks_per_beat != 60:
        return "format {} division {}, expected 1 and 60".format(midi.type, midi.ticks_per_beat)
    expected_path = path.with_suffix(".expected")
    if not expected_path.exists():
        return None  # a file kept without a listing only has to load
    found = listing(midi)
    expected = expected_path.read_text()
    if found != expected:
        return "reader found:\n{}expected:\n{}".format(found, expected)
    return None


def main():
    files = sorted(pathlib.Path(sys.argv[1]).glob("*.mid"))
    if not files:
        print("no .mid files in", sys.argv[1])
        return 1
    for path in files:
        try:
            problem = check(path)
        except Exception as error:  # any reader failure is a failed file
            problem = "does not load: {!r}".format(error)
        if problem:
            print("{}: {}".format(path.name, problem))
            return 1
    print("{} MIDI files load in mido and match their listings".format(len(files)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
