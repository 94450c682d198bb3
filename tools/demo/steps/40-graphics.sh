# Graphics archives: the header summary of each sample archive, one image as
# a PNG, every image of an archive as PNG files, and a contact sheet of all
# the archives, including one whose damaged images show how failures are
# reported.
for f in "$SAMPLES"/graphics-*.dat; do
  echo "\$ zarv graphics header $(basename "$f")"
  "$ZARV" graphics header "$f" -o "$OUT/$(basename "$f" .dat).header.json"
  cat "$OUT/$(basename "$f" .dat).header.json"; echo
done

echo "\$ zarv graphics png graphics-v4-le.dat 3 0 0 -o graphics-overlay.png"
"$ZARV" graphics png "$SAMPLES/graphics-v4-le.dat" 3 0 0 -o "$OUT/graphics-overlay.png"
echo "  $(wc -c < "$OUT/graphics-overlay.png") bytes: an overlay drawn over its underlay"

echo "\$ zarv graphics extract graphics-v5-be.dat -d graphics-v5-be"
"$ZARV" graphics extract "$SAMPLES/graphics-v5-be.dat" -d "$OUT/graphics-v5-be"
(cd "$OUT/graphics-v5-be" && ls -l -- *.png | awk '{print "  " $NF " (" $5 " bytes)"}')

echo "\$ zarv graphics contact-sheet -d graphics-sheet graphics-*.dat"
if "$ZARV" graphics contact-sheet -d "$OUT/graphics-sheet" "$SAMPLES"/graphics-*.dat 2>&1; then
  echo "  every image was extracted"
else
  echo "  (exit status 1: the damaged archive's images failed, as they should)"
fi
echo "  the contact sheet is $OUT/graphics-sheet/index.html"
