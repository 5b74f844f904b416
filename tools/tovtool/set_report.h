// Judging the set in the model as the check before output judges it, with
// the line of the file each finding belongs to.
#pragma once

#include "tools/tovtool/loaded_set.h"
#include "tools/tovtool/problem.h"

#include <cstdint>

// Appends the set's problems: a header cut short, the set ended by an empty
// slot, questions the check would offer to delete (one per missing field),
// a format, genre or answer out of range, genres without a quota (47) or
// short of questions (49). Returns the check's own code (0, 47, 49 or 50). The
// model's quotas may be derived afterwards, as the check derives them.
// The first part of it alone: a question line that ends the set early.
void reportSetEnd(const LoadedFile& loaded, Problems& problems);

std::uint8_t reportSet(const LoadedFile& loaded, Problems& problems);
