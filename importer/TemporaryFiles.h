#pragma once

#include <cstddef>
#include <filesystem>

namespace importer::temporaries {

// The temporary files of the imports under way, kept where a signal handler
// can remove them: a fixed table of names, changed with atomic flags only.
// Returns the slot, or -1 when the table is full (the file is then left to
// the next import's clean-up).
int add(const std::filesystem::path& path);
void remove(int slot);

// Removes every file in the table; safe in a signal handler.
void removeAll();

} // namespace importer::temporaries
