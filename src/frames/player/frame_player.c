#include "frame_player.h"

#define FRAME_END 0x00u
#define TABLE_END_LOOP 0xFEu
#define TABLE_END 0xFFu
#define SET_PAGE 0xB8u

/* Writes the segment at p (a "set column" byte, the length, the data); returns what follows. */
static const uint8_t* play_segment(const uint8_t* p, uint8_t chip, lumigrid_bus_write command,
                                   lumigrid_bus_write data) {
  uint8_t length;
  command(chip, p[0]); /* the record byte is the "set column" command itself */
  length = p[1];
  p += 2;
  while (length-- > 0) data(chip, *p++);
  return p;
}

/* The start of the frame after the one at p, without playing it. */
static const uint8_t* skip_frame(const uint8_t* p) {
  while (*p != FRAME_END) {
    if (*p & 0x80u) ++p; /* page byte; its segment follows */
    p += 2u + p[1];
  }
  return p + 1;
}

const uint8_t* lumigrid_play_frame(const uint8_t* table, const uint8_t* frame,
                                   lumigrid_bus_write command, lumigrid_bus_write data) {
  const uint8_t* p = frame;
  uint8_t chip = 1;
  for (;;) {
    const uint8_t b = *p;
    if (b == FRAME_END) break;
    if ((b & 0xF0u) == 0x80u) {
      chip = (uint8_t)(((b >> 3) & 1u) + 1u);
      command(chip, (uint8_t)(SET_PAGE | (b & 0x07u)));
      p = play_segment(p + 1, chip, command, data);
    } else if ((b & 0xC0u) == 0x40u) {
      p = play_segment(p, chip, command, data);
    } else {
      return 0;
    }
  }
  ++p;
  if (*p == TABLE_END_LOOP) return skip_frame(table);
  if (*p == TABLE_END) return 0;
  return p;
}
