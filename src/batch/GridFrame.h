#pragma once
// The benchmark's model as data files: a regular grid frame of bays of 600 cm
// both ways and storeys of 350 cm, fixed supports on the ground floor, a
// horizontal load of 10 kN (X) and 5 kN (Y) at every floor node and a uniform
// load of 20 kN/m downward on every beam, in SI units. Nodes and members are
// numbered as the grid generation form numbers them (model/Grid.h), and the
// analysis benchmark builds the same frame in memory.

#include "platform/Clock.h"

#include <memory>
#include <string>

namespace rahmen {

struct Model;
class Files;

// Nodes and members of a grid of bx × by bays and `storeys` storeys.
long gridNodeCount(long bx, long by, long storeys);
long gridMemberCount(long bx, long by, long storeys);

// The grid with its member types, supports and loads. The caller has checked
// the counts against the program's limits.
std::unique_ptr<Model> gridFrame(int bx, int by, int storeys);

// Writes NAME.fdt (the frame) and NAME_loads.adt (its loads, in a report with
// no results) into the folder of `files`. Empty when done, else the message.
std::string writeGridFiles(Files& files, const std::string& name, int bx, int by, int storeys,
                           const DateTime& when);

} // namespace rahmen
