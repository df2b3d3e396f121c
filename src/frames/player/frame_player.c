#include "frame_player.h"

#define FRAME_END 0x00u
#define START_LINE 0xB0u
#define TABLE_END_LOOP 0xFEu
#define TABLE_END 0xFFu
#define SET_PAGE 0xB8u

/* Writes `length` data bytes from p; returns what follows. */
static const uint8_t* play_data(const uint8_t* p, uint8_t length, uint8_t chip,
                                lumigrid_bus_write data) {
  while (length-- > 0) data(chip, *p++);
  return p;
}

/* The start of the frame after the one at p, without playing it. */
static const uint8_t* skip_frame(const uint8_t* p) {
  while (*p != FRAME_END) {
    if (*p == START_LINE) {
      p += 2;
    } else if (*p & 0x80u) {
      ++p; /* chip and page; a segment follows */
    } else if (*p & 0x40u) {
      p += 2u + p[1];
    } else {
      p += 1u + *p;
    }
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
    if ((b & 0xF0u) == 0x80u) { /* chip, "set page" */
      chip = (uint8_t)(((b >> 3) & 1u) + 1u);
      command(chip, (uint8_t)(SET_PAGE | (b & 0x07u)));
      ++p;
    } else if ((b & 0xF7u) == 0xA0u) { /* chip; its page register stays */
      chip = (uint8_t)(((b >> 3) & 1u) + 1u);
      ++p;
    } else if (b == START_LINE) { /* the next byte is the command, for both chips */
      command(1, p[1]);
      command(2, p[1]);
      p += 2;
    } else if ((b & 0xC0u) == 0x40u) { /* "set column", length, data */
      command(chip, b);
      p = play_data(p + 2, p[1], chip, data);
    } else if (b < 0x40u) { /* length, data where the column counter stands */
      p = play_data(p + 1, b, chip, data);
    } else {
      return 0;
    }
  }
  ++p;
  if (*p == TABLE_END_LOOP) return skip_frame(table);
  if (*p == TABLE_END) return 0;
  return p;
}
