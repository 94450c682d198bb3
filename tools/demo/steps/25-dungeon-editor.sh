# Dungeons for editors and modders: each sample as an editor-project
# document (both byte orders must give the same document), then a picture
# of every map of the little-endian sample.
for f in "$SAMPLES"/dungeon-*.dat; do
  name=$(basename "$f" .dat)
  echo "\$ zarv dungeon voproject $name.dat -o $name.voproject.json"
  "$ZARV" dungeon voproject "$f" -o "$OUT/$name.voproject.json"
  echo "  $name: $(wc -c < "$OUT/$name.voproject.json") bytes of JSON," \
    "$(grep -c '"type":' "$OUT/$name.voproject.json") objects"
done
if ! cmp -s "$OUT/dungeon-le.voproject.json" "$OUT/dungeon-be.voproject.json"; then
  echo "  the two byte orders gave different editor-project documents" >&2
  exit 1
fi
echo "  both byte orders give the same document"
grep -m 6 -E '"(randomGraphicsSeed|startX|startY|startDir|tiles)"' "$OUT/dungeon-le.voproject.json"
echo "  ..."
grep -A 12 '"objs": \[' "$OUT/dungeon-le.voproject.json"
echo "  ..."

echo "\$ zarv dungeon draw dungeon-le.dat -o maps"
"$ZARV" dungeon draw "$SAMPLES/dungeon-le.dat" -o "$OUT/maps"
