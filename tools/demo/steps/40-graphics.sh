# Graphics archives: the header summary of each sample archive.
for f in "$SAMPLES"/graphics-*.dat; do
  echo "\$ zarv graphics header $(basename "$f")"
  "$ZARV" graphics header "$f" -o "$OUT/$(basename "$f" .dat).header.json"
  cat "$OUT/$(basename "$f" .dat).header.json"; echo
done
