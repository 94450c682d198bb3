/*
 * zarv: converters for the data files of a classic dungeon role-playing game
 * and its MS-DOS, Macintosh and FM-Towns releases.
 *
 * Every converting function takes one input file as (data, len) and returns
 * a ZarvBuffer by value:
 *   - success: error == NULL, data points to len output bytes (not
 *     NUL-terminated, also when the output is text); when len == 0, data is
 *     non-NULL but points to no storage and must not be read.
 *   - failure: data == NULL, len == 0, error is a NUL-terminated UTF-8
 *     message.
 * The library owns all three allocations: pass the record to
 * zarv_buffer_free() exactly once. A NULL data pointer is read as an empty
 * input, whatever len says; otherwise data must address len readable bytes,
 * which are only read during the call. No function keeps state between
 * calls, so all may run concurrently on different inputs, and a buffer may
 * be freed from any thread. No failure, not even an internal one, reaches
 * the caller as a crash: it comes back as an error message.
 */
#ifndef ZARV_ZARV_H
#define ZARV_ZARV_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#define ZARV_API __declspec(dllexport)
#else
#define ZARV_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ZarvBuffer {
  uint8_t *data; /* output bytes, or NULL on failure */
  size_t len;    /* number of output bytes; 0 on failure */
  char *error;   /* NUL-terminated message on failure, NULL on success */
} ZarvBuffer;

/* The library version, "0.2.1": a static string, never to be freed. */
ZARV_API const char *zarv_version(void);

/* Releases a result buffer; a record with all fields NULL or 0 does nothing. */
ZARV_API void zarv_buffer_free(ZarvBuffer buf);

/* A dungeon file (either byte order, detected from its header) as the
 * lossless JSON document: every structure in readable form and the tile
 * data block as Base64. */
ZARV_API ZarvBuffer zarv_dungeon_to_json(const uint8_t *data, size_t len);

/* The lossless JSON document back to the dungeon file, byte for byte. The
 * input must be UTF-8 ("input is not valid UTF-8 JSON" otherwise). */
ZARV_API ZarvBuffer zarv_dungeon_from_json(const uint8_t *data, size_t len);

/* A dungeon file (either byte order) as an editor-project JSON document:
 * the party start, each map as a text grid of tile bytes ("tiles", two hex
 * digits per square, column by column) with the position in "objs" of each
 * square's first object ("tileObjRefs", -1 for none) and its named
 * properties, and "objs", every object reachable from a square, decoded and
 * listed depth first with "nextObjRef" and "childObjRef" positions. Besides
 * the dungeon parse errors it fails with "cycle detected in OID chain at oid
 * 0x...." when an object is reached twice, "oid 0x.... (category C, index
 * I) past n_records[C] = N" for a reference past the records, and
 * "dangling tile object at map M (X, Y): column entry is FREE or END". */
ZARV_API ZarvBuffer zarv_dungeon_voproject_json(const uint8_t *data, size_t len);

/* Graphics archive header as JSON: format_version, byte_order ("LE" or
 * "BE") and entry_count, read from the first four bytes only. */
ZARV_API ZarvBuffer zarv_graphics_header_json(const uint8_t *data, size_t len);

/* One image of a graphics archive as a PNG file (8-bit RGB), chosen by its
 * class numbers (cls1, cls2, cls4); only the low 8 bits of each count. The
 * image is drawn over its chain of underlays and coloured with the palette
 * the archive assigns it. Fails with the archive's parse error, with
 * "graphics image decode failed: ..." when a payload does not decode, or
 * with "no image record for the requested (cls1, cls2, cls4) tuple" when
 * there is no such image, its underlay chain is cut off, or no palette fits.
 * An image of zero width or height gives the internal-error message. */
ZARV_API ZarvBuffer zarv_graphics_decode_png(const uint8_t *data, size_t len, uint8_t cls1, uint8_t cls2,
                                             uint8_t cls4);

/* The music container's kind as bare text (no quotes, no newline): "hmp",
 * "mod" (ProTracker, "M.K." at 1080), "modplayer41a" (packed with The
 * Player 4.1A) or "smf" (Standard MIDI File). Fails on fewer than 8 bytes
 * or unknown magic bytes. */
ZARV_API ZarvBuffer zarv_music_detect(const uint8_t *data, size_t len);

/* An HMP song converted to a format-1 Standard MIDI File (60 ticks per
 * quarter note, the song's tempo at the start of the first track). Fails
 * with the reader's message on a damaged or non-HMP input. */
ZARV_API ZarvBuffer zarv_music_hmp_to_smf(const uint8_t *data, size_t len);

/* A hunk executable summarised as JSON: n_hunks, bss_and_jump_mem_size,
 * code_mem_size, data_file_size (from its type-0x10 hunk) and checksums_ok
 * (true when the header, type-0x10, type-0x11 and code checksums all hold).
 * Fails on a bad magic, a truncated header or hunk table, a hunk outside
 * the file, or a missing or short type-0x10 hunk. */
ZARV_API ZarvBuffer zarv_ovn_info_json(const uint8_t *data, size_t len);

/* Whether a hunk executable writes back byte for byte: one output byte, 1
 * when the rewritten module equals the input, 0 when it differs (payloads
 * out of order, overlapping, with gaps or trailing bytes). A module that
 * does not parse is an error, as for zarv_ovn_info_json. */
ZARV_API ZarvBuffer zarv_ovn_roundtrip_ok(const uint8_t *data, size_t len);

#ifdef __cplusplus
}
#endif

#endif /* ZARV_ZARV_H */
