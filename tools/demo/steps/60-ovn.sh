# Hunk executables: the summary of a module whose checksums all hold and of
# one with a damaged type-0x11 hunk, then the byte-exact round trip of each.
for name in ovn-valid ovn-broken-checksum; do
  f="$SAMPLES/$name.ovn"
  echo "\$ zarv ovn info $name.ovn"
  "$ZARV" ovn info "$f" -o "$OUT/$name.info.json"
  cat "$OUT/$name.info.json"; echo
done
for name in ovn-valid ovn-broken-checksum; do
  echo "\$ zarv ovn roundtrip $name.ovn"
  "$ZARV" ovn roundtrip "$SAMPLES/$name.ovn"
done
# Three stray bytes after the last payload: the module still reads, but it
# cannot be written back identically, and the exit status says so.
cat "$SAMPLES/ovn-valid.ovn" > "$OUT/ovn-trailing.ovn"
printf 'xyz' >> "$OUT/ovn-trailing.ovn"
echo "\$ zarv ovn roundtrip ovn-trailing.ovn   # ovn-valid.ovn plus 3 bytes"
status=0
"$ZARV" ovn roundtrip "$OUT/ovn-trailing.ovn" || status=$?
echo "  (exit status $status)"
