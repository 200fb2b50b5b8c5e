// Filter questions: for each filter column the user says whether it is
// categorical or scalar and which of its values remove a data line.
#pragma once

#include "data/loaded_data.h"

// Asks the questions for one filter column and returns its keep map: every
// distinct cell text, asked once in order of first appearance, 0 when
// answered y (remove), 1 otherwise. A scalar filter's cells are relabelled in
// place first.
FilterMap askFilter(Column& column);
