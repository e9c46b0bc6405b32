// Run-length coding of notepad rows for the undo history: a page of handwriting is mostly paper,
// so its bytes become runs of paper between the few bytes that carry ink.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/platform.h"

// Appends the coded form of `count` bytes to `coded` (which may throw std::bad_alloc).
void EncodeRuns(const BYTE* bytes, std::size_t count, std::vector<BYTE>* coded);
// Writes the `count` bytes that `coded` holds; false, with `bytes` left partly written, when the
// code does not describe exactly `count` bytes.
bool DecodeRuns(const std::vector<BYTE>& coded, BYTE* bytes, std::size_t count);
