/* Runs the C frame player and prints every bus write, for the frame table tests.
 * Usage: harness FRAMES [TABLE.bin]. Plays up to FRAMES frames of the compiled-in table (or
 * of the file), printing "c CHIP VALUE" per command, "d CHIP VALUE" per data byte, "f" after
 * each frame and finally "stop" when the player ended the table or "more" otherwise. */
#include <stdio.h>
#include <stdlib.h>

#include "frame_player.h"

extern const uint8_t frame_table[];

static uint8_t file_table[1 << 20];

static void command(uint8_t chip, uint8_t value) { printf("c %u %u\n", chip, value); }
static void data(uint8_t chip, uint8_t value) { printf("d %u %u\n", chip, value); }

int main(int argc, char** argv) {
  const uint8_t* table = frame_table;
  const uint8_t* frame;
  long frames, i;
  if (argc < 2) return 2;
  frames = strtol(argv[1], 0, 10);
  if (argc > 2) {
    FILE* f = fopen(argv[2], "rb");
    if (f == 0) return 3;
    if (fread(file_table, 1, sizeof file_table, f) == 0) return 4;
    fclose(f);
    table = file_table;
  }
  frame = table;
  for (i = 0; i < frames && frame != 0; ++i) {
    frame = lumigrid_play_frame(table, frame, command, data);
    printf("f\n");
  }
  printf(frame == 0 ? "stop\n" : "more\n");
  return 0;
}
