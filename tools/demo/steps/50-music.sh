# Music: name the container of the sample song, convert the HMP song to a
# Standard MIDI File, name the result's container too, and list what the
# MIDI file holds (with the system's MIDI reader when it is there).
echo "\$ zarv music detect song.hmp"
"$ZARV" music detect "$SAMPLES/song.hmp"; echo
echo "\$ zarv music hmp-to-mid song.hmp -o song.mid"
"$ZARV" music hmp-to-mid "$SAMPLES/song.hmp" -o "$OUT/song.mid"
echo "\$ zarv music detect song.hmp song.mid"
"$ZARV" music detect "$SAMPLES/song.hmp" "$OUT/song.mid"
if /usr/bin/python3 -c 'import mido' 2>/dev/null; then
  /usr/bin/python3 - "$OUT/song.mid" <<'PY'
import sys, mido
midi = mido.MidiFile(sys.argv[1])
print("song.mid: format {}, {} ticks per quarter note, {} tracks, {:.1f} s".format(
    midi.type, midi.ticks_per_beat, len(midi.tracks), midi.length))
for i, track in enumerate(midi.tracks):
    kinds = {}
    for msg in track:
        kinds[msg.type] = kinds.get(msg.type, 0) + 1
    print("  track {}: {} events ({})".format(
        i, len(track), ", ".join("{} {}".format(n, k) for k, n in kinds.items())))
PY
else
  echo "song.mid: $(wc -c < "$OUT/song.mid") bytes"
  od -A d -t x1 -N 64 "$OUT/song.mid"
fi
# A song cut short: the reader names where it ran out, and nothing is written.
head -c 1000 "$SAMPLES/song.hmp" > "$OUT/song-cut.hmp"
echo "\$ zarv music hmp-to-mid song-cut.hmp   # the first 1000 bytes of song.hmp"
status=0
"$ZARV" music hmp-to-mid "$OUT/song-cut.hmp" -o "$OUT/song-cut.mid" || status=$?
echo "  (exit status $status)"
