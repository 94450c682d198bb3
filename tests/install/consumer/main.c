/* Calls the library the way a C host does and checks what comes back. */
#include <stdio.h>
#include <string.h>
#include <zarv/zarv.h>

int main(void) {
  const uint8_t header[] = {0x80, 0x05, 0x00, 0x10};
  const char expected[] = "{\n  \"format_version\": 5,\n  \"byte_order\": \"BE\",\n  \"entry_count\": 16\n}";
  ZarvBuffer b = zarv_graphics_header_json(header, sizeof header);
  int ok = b.error == NULL && b.len == strlen(expected) && memcmp(b.data, expected, b.len) == 0 &&
           strcmp(zarv_version(), "0.2.1") == 0;
  zarv_buffer_free(b);
  puts(ok ? "ok" : "unexpected result");
  return ok ? 0 : 1;
}
