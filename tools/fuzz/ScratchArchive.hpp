#pragma once

// The set-up the archive fuzz targets share: the archive reader works on
// files, so every input is written to one scratch file in a folder of its
// own, removed at exit so a run leaves nothing behind; and a quiet logger
// is held for the whole run, otherwise every archive would start and stop a
// logger thread of its own and the rejection messages of damaged inputs
// would flood the fuzzer's output.

#include <cstddef>
#include <cstdint>
#include <string>

namespace ironmoat::fuzz {

// Makes the scratch folder (under TMPDIR, else /tmp; the tag names it) and
// starts the quiet logger; aborts when the folder cannot be made.
void openScratch(const char* tag, const char* fileName);

// Writes the input as the whole scratch file and returns its path; aborts
// when it cannot be written, since the input would then not be tested.
const std::string& writeScratch(const std::uint8_t* data, std::size_t size);

} // namespace ironmoat::fuzz
