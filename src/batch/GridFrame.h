#pragma once
// The benchmark's model as data files: a regular grid frame of bays of 600 cm
// both ways and storeys of 350 cm, fixed supports on the ground floor, a
// horizontal load of 10 kN (X) and 5 kN (Y) at every floor node and a uniform
// load of 20 kN/m downward on every beam, in SI units. Nodes and members are
// numbered as the grid generation form numbers them (model/Grid.h), and the
// analysis benchmark builds the same frame in memory, in the model or, past
// the model's tables, in FrameTables.

#include "platform/Clock.h"

#include <memory>
#include <string>
#include <vector>

namespace rahmen {

struct Model;
struct FrameTables;
class Files;

// Nodes and members of a grid of bx × by bays and `storeys` storeys.
long gridNodeCount(long bx, long by, long storeys);
long gridMemberCount(long bx, long by, long storeys);

// The grid with its member types, supports and loads. The caller has checked
// the counts against the program's limits. A non-zero `shuffleSeed` numbers
// the same frame's nodes in a random order drawn from that seed (members keep
// their order and their direction, so a member may start at the higher number).
std::unique_ptr<Model> gridFrame(int bx, int by, int storeys, unsigned shuffleSeed = 0);

// The same frame, numbered naturally, in tables of its own size: any size
// whose nodes the 16-bit node numbers hold (throws std::length_error beyond).
void gridFrameTables(FrameTables& tables, int bx, int by, int storeys);

// The node numbers of a shuffled grid: newNumber[n] is the number that node n
// of the natural numbering gets (index 0 unused). The same seed gives the same
// numbers on every platform.
std::vector<int> shuffledNodeNumbers(int nodes, unsigned seed);

// Writes NAME.fdt (the frame) and NAME_loads.adt (its loads, in a report with
// no results) into the folder of `files`. Empty when done, else the message.
std::string writeGridFiles(Files& files, const std::string& name, int bx, int by, int storeys,
                           const DateTime& when, unsigned shuffleSeed = 0);

} // namespace rahmen
