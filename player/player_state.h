// The player's whole changeable state: 17 typed-number fields shared by the loop and the handlers.
#pragma once

#include "player/typed_number.h"

namespace vk {

// Plain public data, read and written by name by the playback loop and the input handlers; they
// talk to each other through these fields and in no other way. Every field starts empty.
struct PlayerState {
  TypedNumber k;     // length of the counted wait at the end of each cycle, in count steps
  TypedNumber l;     // index of the current slide in the frame store
  TypedNumber m;     // backward flag: 1 while running backward
  TypedNumber mm;    // forward flag: 1 while running forward after a forward command
  TypedNumber n;     // run flag (1 running, 0 stopped) or a command waiting for the next cycle
  TypedNumber nn;    // unused
  TypedNumber m1;    // m as it was when mouse mode was switched on
  TypedNumber mm1;   // mm as it was when mouse mode was switched on
  TypedNumber n1;    // n as it was when mouse mode was switched on
  TypedNumber st;    // unused
  TypedNumber ke;    // unused
  TypedNumber ke1;   // unused
  TypedNumber nm;    // mouse mode: 1 on, empty or 0 off
  TypedNumber nmm;   // unused
  TypedNumber yyy;   // pointer Y of the last mouse move in mouse mode
  TypedNumber hl;    // slide bank: the picture shown is frame store entry l + 24 × hl
  TypedNumber updo;  // assigned once at activation, never read
};

}  // namespace vk
