# Dungeons: each sample to its lossless JSON document and back, then a byte
# comparison with the original.
for f in "$SAMPLES"/dungeon-*.dat; do
  name=$(basename "$f" .dat)
  echo "\$ zarv dungeon to-json $name.dat -o $name.json"
  "$ZARV" dungeon to-json "$f" -o "$OUT/$name.json"
  echo "\$ zarv dungeon from-json $name.json -o $name.rebuilt.dat"
  "$ZARV" dungeon from-json "$OUT/$name.json" -o "$OUT/$name.rebuilt.dat"
  if cmp -s "$f" "$OUT/$name.rebuilt.dat"; then
    echo "  $name: $(wc -c < "$f") bytes -> $(wc -c < "$OUT/$name.json") bytes of JSON -> identical bytes"
  else
    echo "  $name: the rebuilt file differs" >&2
    exit 1
  fi
done
head -c 400 "$OUT/dungeon-le.json"; echo; echo "  ..."
