/* Plays a frame table made by Lumigrid (see docs/frame_scripts.md) on a display with two
 * KS0107/KS0108 controllers. Portable C99, no allocation, no library calls.
 *
 * The firmware supplies two bus writes, both given the chip (1: left half, 2: right half):
 * one with the data/instruction line low (a command) and one with it high (a data byte).
 * Initialise the controllers (display on, start line 0) before the first frame, and play the
 * frames in order: a frame may rely on the page, column and start line the one before left. */
#ifndef LUMIGRID_FRAME_PLAYER_H
#define LUMIGRID_FRAME_PLAYER_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void (*lumigrid_bus_write)(uint8_t chip, uint8_t value);

/* Plays the frame that starts at `frame` (the first frame is `table` itself) and returns
 * where the next frame starts: pass it back to play that frame after the pause you want.
 * Returns 0 after the last frame of a table that does not loop; a looping table continues
 * with its second frame. A byte the format does not know also ends the playback. */
const uint8_t* lumigrid_play_frame(const uint8_t* table, const uint8_t* frame,
                                   lumigrid_bus_write command, lumigrid_bus_write data);

#ifdef __cplusplus
}
#endif

#endif
